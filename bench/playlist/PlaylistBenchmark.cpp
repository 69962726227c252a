// velmo-bench-playlist: times "Make playlist" on collections of 100,000 and 1,000,000 songs.
//
// A collection is built in memory (not timed): 1,000 folders, song sizes spread evenly over
// 1 to 15 MB, a quarter of the songs Just Good, all unheard. Each generation starts from an
// empty playlist: the songs of the previous one are put back before it (not timed). SizeOfDB
// is the target number of songs times the mean song size, so a generation takes about that
// many songs; the table shows how many it took. Times cover the whole button handler:
// collecting the candidates from the Music List, drawing, and every status change.
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "app/Session.h"
#include "base/UserInterface.h"
#include "platform/Clock.h"
#include "platform/ProcessLauncher.h"
#include "musicdb/MusicDatabase.h"
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

void buildCollection(Session& s, int songs) {
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
};

void runCollection(int songs, int reps, const std::vector<int>& targets) {
    SilentUi ui;
    velmo::platform::DetachedProcessLauncher launcher;
    velmo::platform::SteadyClock clock;
    auto s = std::make_unique<Session>("/nonexistent-velmo-appdir", SessionServices{ui, launcher, clock, {}},
                                       std::make_unique<Mt19937Random>(kSeed));
    s->fixedSeed = kSeed;
    const auto buildStart = Clock::now();
    buildCollection(*s, songs);
    const double buildSeconds = secondsSince(buildStart);
    const StatCounters& c = s->db.counters();
    const double meanMB = c.a.sizeMB / c.a.count;

    std::printf("\n%d songs (%d Just Good), %.0f MB, mean %.2f MB/song; built in %.2f s; peak RSS %.0f MB\n",
                c.a.count, c[cG].count, c.a.sizeMB, meanMB, buildSeconds, peakRssMB());
    std::printf("%8s %6s %10s | %8s %10s | %10s %10s | %8s\n", "target", "fixed", "SizeOfDB", "songs", "JG share",
                "median ms", "min ms", "us/song");

    for (int target : targets) {
        for (bool fixed : {false, true}) {
            Row row{target, fixed, 0, 0, 0, 0};
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
            std::printf("%8d %6s %10d | %8d %9.1f%% | %10.2f %10.2f | %8.2f\n", row.target, fixed ? "on" : "off",
                        s->settings.SizeOfDB, row.taken, 100.0 * row.goodShare, 1000.0 * row.medianSeconds,
                        1000.0 * row.minSeconds, 1e6 * row.medianSeconds / std::max(row.taken, 1));
            std::fflush(stdout);
        }
    }
    emptyPlaylist(*s);
}

void usage() {
    std::fprintf(stderr,
                 "usage: velmo-bench-playlist [--songs N] [--reps N] [--target N]...\n"
                 "  default: 100,000 and 1,000,000 songs; targets 100, 10,000 and 50,000; 5 runs each\n");
}

} // namespace

int main(int argc, char** argv) {
    std::vector<int> sizes;
    std::vector<int> targets;
    int reps = 5;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (!std::strcmp(argv[i], "--songs") && hasValue) sizes.push_back(std::atoi(argv[++i]));
        else if (!std::strcmp(argv[i], "--reps") && hasValue) reps = std::max(1, std::atoi(argv[++i]));
        else if (!std::strcmp(argv[i], "--target") && hasValue) targets.push_back(std::atoi(argv[++i]));
        else {
            usage();
            return 2;
        }
    }
    if (sizes.empty()) sizes = {100000, 1000000};
    if (targets.empty()) targets = {100, 10000, 50000};

    std::printf("Make playlist: GoodPercent 20 of the playlist's size when the share is fixed; median and\n"
                "fastest of %d runs, each on an empty playlist; 'songs' is what the generation took.\n",
                reps);
    for (int songs : sizes) {
        if (songs <= 0) {
            usage();
            return 2;
        }
        runCollection(songs, reps, targets);
    }
    return 0;
}
