// velmo-bench-db: times loading and saving the database file for collections of 10,000,
// 100,000 and (with --large) 1,000,000 songs, and reports the peak memory of each size.
//
// Each size runs in a fresh process of its own, so that the peak resident size is that of
// one database. A run generates its file (not timed), then repeats: load it into a fresh
// database as the program does at start-up (read, parse into the load tree, merge), save it
// atomically, load the saved (sorted) file again, free the database.
#include <sys/resource.h>
#include <sys/wait.h>
#include <spawn.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "DatabaseGenerator.h"
#include "musicdb/DatabaseFile.h"
#include "musicdb/DatabaseLoader.h"
#include "musicdb/MusicDatabase.h"
#include "platform/FileIO.h"

extern char** environ;

using velmo::bench::parseNumber;

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double peakRssMB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
}

double currentRssMB() {
    std::FILE* f = std::fopen("/proc/self/statm", "r");
    if (!f) return 0;
    unsigned long total = 0, resident = 0;
    const int read = std::fscanf(f, "%lu %lu", &total, &resident);
    std::fclose(f);
    if (read != 2) return 0;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1048576.0;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

struct Options {
    std::vector<uint64_t> sizes;
    bool sizesGiven = false;
    bool large = false;
    bool headerless = false; // a child run prints only its row
    int reps = 0;            // 0: chosen by size
    uint64_t seed = 1;
    std::string dir;
    std::string file; // an existing database file to time instead of a generated one
    bool keep = false;
    velmo::bench::Shape shape = velmo::bench::Shape::Collection;
    std::string shapeName = "collection";
};

struct LoadTimes {
    double read = 0, parse = 0, analyze = 0, total = 0;
};

// Loads `path` into `db` as the program's start-up does: read the file, parse it into the
// load tree, merge the load tree, drop it.
LoadTimes load(velmo::MusicDatabase& db, const std::string& path) {
    LoadTimes t;
    const auto start = Clock::now();
    std::optional<std::string> bytes = velmo::platform::readWholeFile(path);
    if (!bytes) throw std::runtime_error("cannot read " + path);
    t.read = secondsSince(start);
    auto step = Clock::now();
    {
        velmo::LoadTree tree = velmo::LoadTree::parse(std::move(*bytes));
        t.parse = secondsSince(step);
        step = Clock::now();
        velmo::DatabaseLoader::Options options;
        unsigned long pumps = 0;
        options.processMessages = [&pumps] { ++pumps; };
        velmo::DatabaseLoader(db, options).AnalyzeTree(tree);
        t.analyze = secondsSince(step);
    }
    t.total = secondsSince(start);
    return t;
}

struct Row {
    uint64_t songs = 0;
    uint64_t lines = 0;
    double fileMB = 0;
    int reps = 0;
    std::vector<double> read, parse, analyze, load, format, save, reload, free;
    double rssLoadedMB = 0, peakAfterLoadMB = 0, peakMB = 0;
};

void printHeader(int reps) {
    std::printf("Times in seconds, median of %s runs; RSS in MB (peak = getrusage ru_maxrss of the process).\n",
                reps > 0 ? std::to_string(reps).c_str() : "5 (1,000,000 songs: 3)");
    std::printf("'load 1st' is the first load of the process (fresh memory, as at start-up); 'reload' loads\n"
                "the saved file, whose siblings are in the program's order.\n");
    std::printf("%9s %9s %7s | %6s %6s %7s %7s %8s | %7s %7s | %7s %6s | %9s %9s %9s\n", "songs", "lines",
                "file MB", "read", "parse", "analyze", "LOAD", "load 1st", "format", "SAVE", "reload", "free",
                "RSS load", "peak load", "peak all");
    std::fflush(stdout);
}

void printRow(const Row& r) {
    std::printf("%9llu %9llu %7.1f | %6.3f %6.3f %7.3f %7.3f %8.3f | %7.3f %7.3f | %7.3f %6.3f | %9.0f %9.0f %9.0f\n",
                static_cast<unsigned long long>(r.songs), static_cast<unsigned long long>(r.lines), r.fileMB,
                median(r.read), median(r.parse), median(r.analyze), median(r.load), r.load.front(), median(r.format),
                median(r.save), median(r.reload), median(r.free), r.rssLoadedMB, r.peakAfterLoadMB, r.peakMB);
    std::fflush(stdout);
}

std::string makeWorkDir(const Options& o) {
    if (!o.dir.empty()) {
        std::filesystem::create_directories(o.dir);
        return o.dir;
    }
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/velmo-bench-XXXXXX";
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary folder: " + std::string(std::strerror(errno)));
    return pattern;
}

// Counts the songs and lines of an existing file: songs are the lines with a song's icon (an
// empty folder has no children either).
velmo::bench::GeneratedDatabase describeFile(const std::string& path) {
    std::optional<std::string> bytes = velmo::platform::readWholeFile(path);
    if (!bytes) throw std::runtime_error("cannot read " + path);
    velmo::bench::GeneratedDatabase d;
    d.bytes = bytes->size();
    const velmo::LoadTree tree = velmo::LoadTree::parse(std::move(*bytes));
    d.lines = tree.size();
    for (size_t i = 0; i < tree.size(); ++i)
        if (velmo::isSongImage(velmo::GetNodeInfo(tree.line(i).text).icon)) ++d.songs;
    return d;
}

Row runSize(uint64_t songs, const Options& o) {
    const std::string dir = makeWorkDir(o);
    const std::string generated = o.file.empty() ? dir + "/generated-" + std::to_string(songs) + ".vmdb" : o.file;
    const std::string saved = dir + "/saved-" + std::to_string(songs) + ".vmdb";

    Row row;
    const velmo::bench::GeneratedDatabase gen =
        o.file.empty() ? velmo::bench::generateDatabase(songs, generated, o.seed, o.shape) : describeFile(o.file);
    row.songs = gen.songs;
    row.reps = o.reps > 0 ? o.reps : (gen.songs >= 1000000 ? 3 : 5);
    row.lines = gen.lines;
    row.fileMB = static_cast<double>(gen.bytes) / 1048576.0;

    for (int rep = 0; rep < row.reps; ++rep) {
        auto db = std::make_unique<velmo::MusicDatabase>(std::make_unique<velmo::Mt19937Random>(o.seed));
        const LoadTimes t = load(*db, generated);
        if (db->musicList().size() != gen.songs)
            throw std::runtime_error("loaded " + std::to_string(db->musicList().size()) + " songs of " +
                                     std::to_string(gen.songs));
        row.read.push_back(t.read);
        row.parse.push_back(t.parse);
        row.analyze.push_back(t.analyze);
        row.load.push_back(t.total);
        if (rep == 0) {
            row.rssLoadedMB = currentRssMB();
            row.peakAfterLoadMB = peakRssMB();
        }

        // Writing the text alone, into a sink that drops it.
        auto start = Clock::now();
        size_t formatted = 0;
        velmo::writeDatabase(db->musicTree(), [&formatted](std::string_view piece) { formatted += piece.size(); });
        row.format.push_back(secondsSince(start));

        // What "Save base" does: temporary file, flush to disk, rename.
        start = Clock::now();
        auto failure = velmo::platform::writeFileAtomically(
            saved, [&](const auto& sink) { velmo::writeDatabase(db->musicTree(), sink); });
        row.save.push_back(secondsSince(start));
        if (failure) throw std::runtime_error("cannot save " + saved + ": " + *failure);
        if (std::filesystem::file_size(saved) != formatted) throw std::runtime_error("saved file has the wrong size");

        start = Clock::now();
        db.reset();
        row.free.push_back(secondsSince(start));

        // The saved file has its siblings in the program's order, as every file but the
        // generated one will.
        db = std::make_unique<velmo::MusicDatabase>(std::make_unique<velmo::Mt19937Random>(o.seed));
        row.reload.push_back(load(*db, saved).total);
        if (db->musicList().size() != gen.songs) throw std::runtime_error("the saved file lost songs");
        db.reset();
    }
    row.peakMB = peakRssMB();

    if (!o.keep) {
        if (o.file.empty()) std::filesystem::remove(generated);
        std::filesystem::remove(saved);
        if (o.dir.empty()) std::filesystem::remove(dir);
    } else {
        std::fprintf(stderr, "kept %s and %s\n", generated.c_str(), saved.c_str());
    }
    return row;
}

// Runs one size in a fresh process of this program, so its peak memory is its own.
int runChild(const char* self, uint64_t songs, const Options& o) {
    std::vector<std::string> args = {self, "--songs", std::to_string(songs), "--row", "--seed", std::to_string(o.seed)};
    if (o.reps > 0) args.insert(args.end(), {"--reps", std::to_string(o.reps)});
    if (!o.dir.empty()) args.insert(args.end(), {"--dir", o.dir});
    if (o.keep) args.emplace_back("--keep");
    args.insert(args.end(), {"--shape", o.shapeName});
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, "/proc/self/exe", nullptr, nullptr, argv.data(), environ) != 0) return 1;
    int status = 0;
    if (waitpid(pid, &status, 0) < 0) return 1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

int usage() {
    std::fprintf(stderr,
                 "usage: velmo-bench-db [--large] [--songs N] [--reps R] [--seed S] [--dir DIR] [--keep]\n"
                 "                     [--shape collection|merged]\n"
                 "  default: 10,000 and 100,000 songs, each in a fresh process\n"
                 "  --large      also 1,000,000 songs\n"
                 "  --songs N    only N songs, in this process (repeatable)\n"
                 "  --file F     time the existing database file F instead, in this process\n"
                 "  --reps R     runs per size (default 5; 3 for 1,000,000 songs)\n"
                 "  --dir DIR    put the generated and saved files in DIR (default: a new folder in $TMPDIR or /tmp)\n"
                 "  --keep       keep those files\n"
                 "  --shape S    the generator's shape: collection (default) or merged\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        uint64_t n = 0;
        if (arg == "--large") {
            o.large = true;
        } else if (arg == "--row") {
            o.headerless = true;
        } else if (arg == "--keep") {
            o.keep = true;
        } else if (arg == "--songs" && i + 1 < argc && parseNumber(argv[i + 1], n) && n > 0) {
            o.sizes.push_back(n);
            o.sizesGiven = true;
            ++i;
        } else if (arg == "--reps" && i + 1 < argc && parseNumber(argv[i + 1], n) && n > 0 && n < 1000) {
            o.reps = static_cast<int>(n);
            ++i;
        } else if (arg == "--seed" && i + 1 < argc && parseNumber(argv[i + 1], n)) {
            o.seed = n;
            ++i;
        } else if (arg == "--file" && i + 1 < argc) {
            o.file = argv[++i];
        } else if (arg == "--dir" && i + 1 < argc) {
            o.dir = argv[++i];
        } else if (arg == "--shape" && i + 1 < argc && velmo::bench::parseShape(argv[i + 1], o.shape)) {
            o.shapeName = argv[++i];
        } else {
            return usage();
        }
    }
    try {
        if (!o.headerless) printHeader(o.reps);
        if (!o.file.empty()) {
            printRow(runSize(0, o));
            return 0;
        }
        if (o.sizesGiven) {
            for (uint64_t songs : o.sizes) printRow(runSize(songs, o));
            return 0;
        }
        std::vector<uint64_t> sizes = {10000, 100000};
        if (o.large) sizes.push_back(1000000);
        int result = 0;
        for (uint64_t songs : sizes) {
            if (runChild(argv[0], songs, o) != 0) {
                std::fprintf(stderr, "velmo-bench-db: the run of %llu songs failed\n",
                             static_cast<unsigned long long>(songs));
                result = 1;
            }
        }
        return result;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "velmo-bench-db: %s\n", e.what());
        return 1;
    }
}
