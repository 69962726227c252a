#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace velmo::bench {

// What a generated database holds, for the report of the generator and the benchmark.
struct GeneratedDatabase {
    uint64_t songs = 0;
    uint64_t disks = 0;
    uint64_t folders = 0;
    uint64_t lines = 0;
    uint64_t bytes = 0;
};

enum class Shape {
    // Hard disks and CDs of every kind, as described below.
    Collection,
    // Data discs of about 4,000 songs, each with the root folders "A" to "Z" (marked as roots)
    // holding artist folders and two big folders, "Singles" and "Compilations". The folder tree
    // merges them into 26 roots whose big folders hold 10,000 to 30,000 songs each, the songs of
    // every disc interleaved with those of the others. Siblings are written in the program's
    // order as far as numbered names give it.
    MergedRoots,
};
bool parseShape(std::string_view text, Shape& shape);
// Takes "--shape collection|merged" out of a command line (argc and argv shrink); false when
// the value is neither.
bool takeShapeOption(int& argc, char** argv, Shape& shape);

// Writes a database file of `songs` songs with the shapes of a real collection: hard disks
// ("Drive <D> /Music/") with artist and album folders, a few big unsorted folders and some
// deeply nested collections, and many CDs ("Rock Collection 3 /ROCK03/") of one to a few
// hundred songs. Names and tags mix ASCII with accented Latin, Cyrillic and Japanese
// text; sizes run from 1 to 15 MB and every stored status appears. The same seed gives the
// same bytes. Throws std::runtime_error when the file cannot be written.
GeneratedDatabase generateDatabase(uint64_t songs, const std::string& path, uint64_t seed,
                                   Shape shape = Shape::Collection);

// A decimal number of a command line; false for anything else or an overflow.
bool parseNumber(std::string_view text, uint64_t& value);

} // namespace velmo::bench
