// velmo-gen-db: writes a database file of a given number of songs with realistic shapes,
// for benchmarks and for trying the program on a large collection.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <string_view>

#include "DatabaseGenerator.h"

using velmo::bench::parseNumber;

namespace {

int usage() {
    std::fprintf(stderr, "usage: velmo-gen-db SONGS OUTFILE [--seed N] [--shape collection|merged]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    uint64_t songs = 0, seed = 1;
    velmo::bench::Shape shape = velmo::bench::Shape::Collection;
    std::string path;
    int positional = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--seed") {
            if (++i >= argc || !parseNumber(argv[i], seed)) return usage();
        } else if (arg == "--shape") {
            if (++i >= argc || !velmo::bench::parseShape(argv[i], shape)) return usage();
        } else if (positional == 0) {
            if (!parseNumber(arg, songs)) return usage();
            ++positional;
        } else if (positional == 1) {
            path = arg;
            ++positional;
        } else {
            return usage();
        }
    }
    if (positional != 2) return usage();
    try {
        const auto start = std::chrono::steady_clock::now();
        const velmo::bench::GeneratedDatabase db = velmo::bench::generateDatabase(songs, path, seed, shape);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf("%s: %llu songs, %llu folders, %llu disks, %llu lines, %.1f MB in %.2f s\n", path.c_str(),
                    static_cast<unsigned long long>(db.songs), static_cast<unsigned long long>(db.folders),
                    static_cast<unsigned long long>(db.disks), static_cast<unsigned long long>(db.lines),
                    static_cast<double>(db.bytes) / 1048576.0, seconds);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "velmo-gen-db: %s\n", e.what());
        return 1;
    }
}
