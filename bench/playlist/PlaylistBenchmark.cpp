// velmo-bench-playlist: times "Make playlist" on collections of 10,000 and 100,000 songs (with
// --large also 1,000,000).
//
// The collection (not timed) is a database file written by the generator in the shape asked for
// and loaded as the program loads it at start-up; "synthetic" builds the former in-memory
// collection instead: 1,000 folders, song sizes spread evenly over 1 to 15 MB, a quarter of the
// songs Just Good, all unheard. Each generation starts from an empty playlist: the songs of the
// previous one are put back before it (not timed), and so are the generated file's own playlist
// and its Favorites, which every playlist carries.
// SizeOfDB is the target number of songs times the mean song size, so a generation takes about
// that many songs; the table shows how many it took. A target above the unheard songs of the
// collection cannot be drawn and is skipped. Times cover the whole button handler: drawing and
// every status change. The database keeps its unheard songs known, so no generation walks the
// Music List; the first generation after the load also builds the trees it draws with, so the
// 'first ms' of the first row is what a fresh process pays.
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

#include "DatabaseGenerator.h"
#include "app/Session.h"
#include "base/UserInterface.h"
#include "platform/Clock.h"
#include "platform/ProcessLauncher.h"
#include "musicdb/DatabaseLoader.h"
#include "musicdb/MusicDatabase.h"
#include "platform/FileIO.h"
#include "app/PlaylistCommands.h"

namespace {

using namespace velmo;
using Clock = std::chrono::steady_clock;

constexpr uint64_t kSeed = 20240611;
constexpr int32_t kMB = 1048576;

// Nobody to ask: the benchmark never copies a playlist, so no question comes up.
class SilentUi : public UserInterface {
public:
    bool askInsertDisk(const InsertDiskPrompt&) override { return false; }
    bool askYesNo(const std::string&, const std::string&, bool) override { return false; }
    void showNotice(const std::string&, const std::string&) override {}
    void showError(const std::string& text) override { std::fprintf(stderr, "error: %s\n", text.c_str()); }
    std::optional<std::string> chooseFileToOpen(const FileDialog&) override { return std::nullopt; }
    std::optional<std::string> chooseFileToSave(const FileDialog&) override { return std::nullopt; }
};

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

double peakRssMB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2.0;
}

// Where the songs come from: a generated database file of one of the generator's shapes, or
// the in-memory collection of earlier runs.
struct Source {
    bool synthetic = false;
    bench::Shape shape = bench::Shape::Collection;
    const char* name = "collection";
    uint64_t seed = 1;
};

void buildSynthetic(Session& s, int songs) {
    MusicDatabase& db = s.db;
    BulkUpdate bulk(db);
    std::mt19937 rng(static_cast<uint32_t>(songs) ^ 0x9e3779b9u);
    std::uniform_int_distribution<int32_t> size(kMB, 15 * kMB);
    TreeNode* disk = db.addContainer(nullptr, "Drive <C> /Music/", iiHardDisk);
    const int folders = 1000;
    char name[48];
    for (int f = 0; f < folders; ++f) {
        std::snprintf(name, sizeof name, "Artist %04d", f);
        TreeNode* folder = db.addContainer(disk, name, iiFolder);
        const int inFolder = songs / folders + (f < songs % folders ? 1 : 0);
        for (int k = 0; k < inFolder; ++k) {
            std::snprintf(name, sizeof name, "%05d - Track.mp3", k);
            const int32_t bytes = size(rng);
            TDataRec* rec = db.addSong(folder, name, bytes);
            if (rng() % 4 == 0) db.SetStatus(rec, ssGoodUnused);
        }
    }
}

void loadGenerated(Session& s, int songs, const Source& source) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("velmo-bench-playlist-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string file = (dir / "db.vmdb").string();
    bench::generateDatabase(static_cast<uint64_t>(songs), file, source.seed, source.shape);
    std::optional<std::string> bytes = platform::readWholeFile(file);
    std::filesystem::remove_all(dir);
    if (!bytes) throw std::runtime_error("cannot read " + file);
    LoadTree tree = LoadTree::parse(std::move(*bytes));
    DatabaseLoader(s.db, {}).AnalyzeTree(tree);
}

// Songs a generation may take.
int unheardSongs(Session& s) {
    int n = 0;
    const ItemList& list = s.db.musicList();
    for (const ListItem* item = list.first(); item; item = list.next(item))
        n += item->imageIndex() == imageOfStatus(ssUnused) || item->imageIndex() == imageOfStatus(ssGoodUnused);
    return n;
}

// Puts the songs of the playlist back to their unheard statuses.
void emptyPlaylist(Session& s) {
    MusicDatabase& db = s.db;
    BulkUpdate bulk(db);
    ItemList& playList = db.playList();
    for (ListItem* item = playList.first(); item;) {
        ListItem* next = playList.next(item);
        db.SetStatus(item->data(), item->imageIndex() == imageOfStatus(ssGoodPlayList) ? ssGoodUnused : ssUnused);
        item = next;
    }
}

struct Row {
    int target = 0;
    bool fixed = false;
    int taken = 0;
    double goodShare = 0;
    double medianSeconds = 0;
    double minSeconds = 0;
    double firstSeconds = 0;
};

void runCollection(int songs, int reps, const std::vector<int>& targets, const Source& source) {
    SilentUi ui;
    velmo::platform::DetachedProcessLauncher launcher;
    velmo::platform::SteadyClock clock;
    auto s = std::make_unique<Session>("/nonexistent-velmo-appdir", SessionServices{ui, launcher, clock, {}},
                                       std::make_unique<Mt19937Random>(kSeed));
    s->fixedSeed = kSeed;
    const auto buildStart = Clock::now();
    if (source.synthetic) buildSynthetic(*s, songs);
    else loadGenerated(*s, songs, source);
    emptyPlaylist(*s);
    const double buildSeconds = secondsSince(buildStart);
    const StatCounters& c = s->db.counters();
    const double meanMB = c.a.sizeMB / c.a.count;
    const int unheard = unheardSongs(*s);

    std::printf("\n%s: %d songs (%d Just Good, %d unheard), %.0f MB, mean %.2f MB/song; %s in %.2f s; "
                "peak RSS %.0f MB\n",
                source.name, c.a.count, c[cG].count, unheard, c.a.sizeMB, meanMB,
                source.synthetic ? "built" : "generated and loaded", buildSeconds, peakRssMB());
    std::printf("%8s %6s %10s | %8s %10s | %10s %10s %10s | %8s\n", "target", "fixed", "SizeOfDB", "songs",
                "JG share", "median ms", "min ms", "first ms", "us/song");

    for (int target : targets) {
        if (target > unheard) {
            std::printf("%8d  skipped: more than the %d unheard songs\n", target, unheard);
            continue;
        }
        for (bool fixed : {false, true}) {
            Row row{target, fixed, 0, 0, 0, 0, 0};
            s->settings.GoodFixed = fixed;
            s->settings.GoodPercent = 20;
            s->settings.GoodOfPlayList = true;
            s->settings.SizeOfDB = static_cast<int32_t>(std::lround(target * meanMB));
            std::vector<double> times;
            for (int r = 0; r < reps; ++r) {
                emptyPlaylist(*s);
                const auto start = Clock::now();
                MakeNextPlayList(*s);
                times.push_back(secondsSince(start));
                if (c[cP].sizeMB > s->settings.SizeOfDB) {
                    std::fprintf(stderr, "playlist larger than SizeOfDB\n");
                    std::exit(1);
                }
                row.taken = c[cP].count;
                row.goodShare = c[cP].sizeMB > 0 ? c[cGP].sizeMB / c[cP].sizeMB : 0;
            }
            row.medianSeconds = median(times);
            row.minSeconds = *std::min_element(times.begin(), times.end());
            row.firstSeconds = times.front();
            std::printf("%8d %6s %10d | %8d %9.1f%% | %10.2f %10.2f %10.2f | %8.2f\n", row.target,
                        fixed ? "on" : "off", s->settings.SizeOfDB, row.taken, 100.0 * row.goodShare,
                        1000.0 * row.medianSeconds, 1000.0 * row.minSeconds, 1000.0 * row.firstSeconds,
                        1e6 * row.medianSeconds / std::max(row.taken, 1));
            std::fflush(stdout);
        }
    }
    emptyPlaylist(*s);
}

void usage() {
    std::fprintf(stderr,
                 "usage: velmo-bench-playlist [--shape collection|merged|synthetic] [--large] [--songs N]...\n"
                 "                            [--reps N] [--target N]... [--seed S]\n"
                 "  default: the generator's collection shape of 10,000 and 100,000 songs (--large: also\n"
                 "  1,000,000); targets 100, 10,000 and 50,000; 5 runs each\n");
}

} // namespace

int main(int argc, char** argv) {
    std::vector<int> sizes;
    std::vector<int> targets;
    int reps = 5;
    bool large = false;
    Source source;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (!std::strcmp(argv[i], "--songs") && hasValue) sizes.push_back(std::atoi(argv[++i]));
        else if (!std::strcmp(argv[i], "--large")) large = true;
        else if (!std::strcmp(argv[i], "--seed") && hasValue) source.seed = std::strtoull(argv[++i], nullptr, 10);
        else if (!std::strcmp(argv[i], "--shape") && hasValue) {
            const std::string_view name = argv[++i];
            source.synthetic = name == "synthetic";
            if (!source.synthetic && !bench::parseShape(name, source.shape)) {
                usage();
                return 2;
            }
            source.name = argv[i];
        }
        else if (!std::strcmp(argv[i], "--reps") && hasValue) reps = std::max(1, std::atoi(argv[++i]));
        else if (!std::strcmp(argv[i], "--target") && hasValue) targets.push_back(std::atoi(argv[++i]));
        else {
            usage();
            return 2;
        }
    }
    if (sizes.empty()) sizes = {10000, 100000};
    if (large) sizes.push_back(1000000);
    if (targets.empty()) targets = {100, 10000, 50000};

    std::printf("Make playlist: GoodPercent 20 of the playlist's size when the share is fixed; median and\n"
                "fastest of %d runs, each on an empty playlist; 'songs' is what the generation took.\n",
                reps);
    for (int songs : sizes) {
        if (songs <= 0) {
            usage();
            return 2;
        }
        try {
            runCollection(songs, reps, targets, source);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "velmo-bench-playlist: %s\n", e.what());
            return 1;
        }
    }
    return 0;
}
