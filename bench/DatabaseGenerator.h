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

// Writes a database file of `songs` songs with the shapes of a real collection: hard disks
// ("Drive <D> /Music/") with artist and album folders, a few big unsorted folders and some
// deeply nested collections, and many CDs ("Rock Collection 3 /ROCK03/") of one to a few
// hundred songs. Names and tags mix ASCII with accented Latin, Cyrillic and Japanese
// text; sizes run from 1 to 15 MB and every stored status appears. The same seed gives the
// same bytes. Throws std::runtime_error when the file cannot be written.
GeneratedDatabase generateDatabase(uint64_t songs, const std::string& path, uint64_t seed);

// A decimal number of a command line; false for anything else or an overflow.
bool parseNumber(std::string_view text, uint64_t& value);

} // namespace velmo::bench
