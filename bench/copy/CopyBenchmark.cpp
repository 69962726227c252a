// velmo-bench-copy: the preparation of a copy and the result playlist, on a collection with a
// playlist of a twentieth of its songs (50,000 of 1,000,000) and a destination that still holds
// the previous copy.
//
// The collection (not timed) is a database file written by the generator in the shape asked for
// and loaded as the program loads it at start-up, every hard disk's letter a local folder; the
// merged shape has CDs alone, which the plan takes without a question. "synthetic" builds the
// former in-memory collection instead: one hard disk of artist folders with 1,000 songs each and
// as many songs again on CDs of 10 folders with 100 songs each. The previous copy is a twentieth
// of the songs, now heard, whose files (empty: only names count here) lie in the destination with
// a few files of the user's own; the new playlist is another random twentieth, so about one in
// twenty of them was in the previous copy too. Each repetition rebuilds the destination (not
// timed) and times:
//   clean-up   DeleteOldSongs, MakeDirLists, DeleteOldDirs, CreateNewDirs
//   plan       PrepareCopyData (at most one local-drive question, answered Yes)
//   m3u        FormPlayList over the destination after a complete copy (the files of the new
//              playlist present), written atomically with fsync.
#include <sys/resource.h>

#include <algorithm>
#include <ctime>
#include <chrono>
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
#include <vector>

#include "DatabaseGenerator.h"
#include "app/Session.h"
#include "base/UserInterface.h"
#include "musicdb/DatabaseLoader.h"
#include "musicdb/ItemList.h"
#include "musicdb/MusicDatabase.h"
#include "platform/Clock.h"
#include "platform/Drives.h"
#include "platform/FileIO.h"
#include "platform/ProcessLauncher.h"
#include "playlist/CopyPlan.h"
#include "playlist/DestinationCleanUp.h"
#include "playlist/DestinationFolder.h"
#include "playlist/ResultPlaylist.h"

namespace {

using namespace velmo;
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

constexpr int32_t kMB = 1048576;

class YesUi : public UserInterface {
public:
    bool askInsertDisk(const InsertDiskPrompt&) override { return false; }
    bool askYesNo(const std::string&, const std::string&, bool) override { return true; }
    void showNotice(const std::string&, const std::string&) override {}
    void showError(const std::string& text) override { std::fprintf(stderr, "error: %s\n", text.c_str()); }
    std::optional<std::string> chooseFileToOpen(const FileDialog&) override { return std::nullopt; }
    std::optional<std::string> chooseFileToSave(const FileDialog&) override { return std::nullopt; }
};

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

double cpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
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

std::vector<TDataRec*> buildSynthetic(MusicDatabase& db, int hardFolders, int cds) {
    BulkUpdate bulk(db);
    std::vector<TDataRec*> songs;
    std::mt19937 rng(20240611);
    std::uniform_int_distribution<int32_t> size(kMB, 15 * kMB);
    char name[64];
    auto addSong = [&](TreeNode* folder, int k) {
        std::snprintf(name, sizeof name, "%04d - Some Track Title.mp3", k);
        const int32_t bytes = size(rng);
        songs.push_back(db.addSong(folder, name, bytes));
    };
    auto addFolder = [&](TreeNode* parent, const char* text) {
        return db.addContainer(parent, text, iiFolder);
    };
    TreeNode* disk = db.addContainer(nullptr, "Drive <C> /Music/", iiHardDisk);
    for (int f = 0; f < hardFolders; ++f) {
        std::snprintf(name, sizeof name, "Artist %04d", f);
        TreeNode* folder = addFolder(disk, name);
        for (int k = 0; k < 1000; ++k) addSong(folder, k);
    }
    for (int c = 0; c < cds; ++c) {
        std::snprintf(name, sizeof name, "Rock Collection %04d /ROCK_%04d/", c, c);
        TreeNode* cd = db.addContainer(nullptr, name, iiCDDisk);
        for (int f = 0; f < 10; ++f) {
            std::snprintf(name, sizeof name, "Album %02d", f);
            TreeNode* folder = addFolder(cd, name);
            for (int k = 0; k < 100; ++k) addSong(folder, k);
        }
    }
    return songs;
}

// The previous copy: the files of `previous` and a few of the user's own.
void buildDestination(const DestinationFolder& dest, const std::vector<TDataRec*>& previous) {
    std::error_code ec;
    fs::remove_all(dest.folder, ec);
    for (TDataRec* rec : previous) {
        const std::string path = dest.nativePath(DestName(musicTreePath(rec->MusicNode)));
        fs::create_directories(fs::path(path).parent_path(), ec);
        platform::createEmptyFile(path);
    }
    for (int i = 0; i < 20; ++i) platform::createEmptyFile(dest.folder + "/own file " + std::to_string(i) + ".txt");
}

// Loads a generated database of `songs` songs. Its own playlist and its Favorites (which every
// playlist carries) are put back among the unheard, so that the playlist is the one drawn here.
std::vector<TDataRec*> loadGenerated(MusicDatabase& db, uint64_t songs, const Source& source, const std::string& dir) {
    const std::string file = dir + "/generated.vmdb";
    bench::generateDatabase(songs, file, source.seed, source.shape);
    std::optional<std::string> bytes = platform::readWholeFile(file);
    fs::remove(file);
    if (!bytes) throw std::runtime_error("cannot read " + file);
    {
        LoadTree tree = LoadTree::parse(std::move(*bytes));
        DatabaseLoader(db, {}).AnalyzeTree(tree);
    }
    std::vector<TDataRec*> all;
    StatisticsBatch batch(db);
    const ItemList& list = db.musicList();
    for (const ListItem* item = list.first(); item; item = list.next(item)) {
        TDataRec* rec = item->data();
        const int status = MusicDatabase::statusOf(rec);
        if (status == ssPlayList || status == ssFavorites) db.SetStatus(rec, ssUnused);
        else if (status == ssGoodPlayList) db.SetStatus(rec, ssGoodUnused);
        all.push_back(rec);
    }
    return all;
}

struct Step {
    const char* name;
    std::vector<double> wall, cpu;
};

// One collection of `songs` songs in a fresh program folder.
void run(uint64_t songs, const Source& source, int reps) {
    char tmpl[] = "/tmp/velmo-bench-copy-XXXXXX";
    if (!mkdtemp(tmpl)) throw std::runtime_error(std::string("mkdtemp: ") + std::strerror(errno));
    const std::string appDir = tmpl;
    // Every letter a generated hard disk may have is a local folder.
    std::vector<platform::DriveEntry> drives;
    for (char letter = 'C'; letter <= 'Z'; ++letter) {
        drives.push_back({letter, platform::DriveKind::Fixed, appDir + "/hd/" + letter, std::nullopt});
        fs::create_directories(drives.back().path);
    }
    YesUi ui;
    platform::DetachedProcessLauncher launcher;
    platform::SteadyClock clock;
    SessionServices services{ui, launcher, clock,
                             [&drives](const std::string& dir) { return platform::DriveTable(drives, dir); }};
    Session s(appDir, services, std::make_unique<Mt19937Random>(7));
    s.settings.PathToDB = "Profiles\\Default\\MusicBase";

    auto start = Clock::now();
    const int playlist = static_cast<int>(songs / 20);
    const std::vector<TDataRec*> all =
        source.synthetic ? buildSynthetic(s.db, static_cast<int>(songs / 2000), static_cast<int>(songs / 2000))
                         : loadGenerated(s.db, songs, source, appDir);
    std::vector<TDataRec*> shuffled = all;
    std::mt19937 rng(99);
    std::shuffle(shuffled.begin(), shuffled.end(), rng);
    std::vector<TDataRec*> previous(shuffled.begin(), shuffled.begin() + playlist);
    std::shuffle(shuffled.begin(), shuffled.end(), rng);
    {
        StatisticsBatch batch(s.db);
        for (TDataRec* rec : previous) s.db.SetStatus(rec, ssUsed);
        for (int i = 0; i < playlist; ++i) s.db.SetStatus(shuffled[i], ssPlayList);
    }
    int overlap = 0;
    for (TDataRec* rec : previous) overlap += MusicDatabase::statusOf(rec) == ssPlayList;
    std::printf("\n%s: %zu songs, playlist %d (%d of them in the previous copy of %d); %s in %.2f s\n", source.name,
                all.size(), s.db.counters()[cP].count, overlap, playlist,
                source.synthetic ? "built" : "generated and loaded", secondsSince(start));

    const CopyContext context = s.copyContext();
    const DestinationFolder dest = *DestinationFolder::resolve(s.settings.PathToDB, appDir, s.drives());
    // Wall time and the process's CPU time (user and system) of each step: on a machine shared
    // with other work the CPU time is the steadier figure.
    Step steps[] = {{"DeleteOldSongs", {}, {}}, {"MakeDirLists", {}, {}},    {"DeleteOldDirs", {}, {}},
                    {"CreateNewDirs", {}, {}},  {"PrepareCopyData", {}, {}}, {"M3U lines", {}, {}},
                    {"FormPlayList", {}, {}}};
    auto timed = [](Step& step, const auto& work) {
        const auto wall = Clock::now();
        const double cpu = cpuSeconds();
        work();
        step.cpu.push_back(cpuSeconds() - cpu);
        step.wall.push_back(secondsSince(wall));
    };
    std::vector<double> prepWall, prepCpu;
    size_t bytes = 0;
    for (int r = 0; r < reps; ++r) {
        start = Clock::now();
        buildDestination(dest, previous);
        const double setup = secondsSince(start);

        DestinationCleanUp cleanUp(context);
        CopyPlan copyPlan;
        timed(steps[0], [&] { cleanUp.DeleteOldSongs(); });
        timed(steps[1], [&] { cleanUp.MakeDirLists(); });
        const size_t oldDirs = cleanUp.OldDirs.size(), newDirs = cleanUp.NewDirs.size();
        timed(steps[2], [&] { cleanUp.DeleteOldDirs(); });
        timed(steps[3], [&] { cleanUp.CreateNewDirs(); });
        timed(steps[4], [&] { copyPlan = PrepareCopyData(context); });
        double wall = 0, cpu = 0;
        for (int k = 0; k < 5; ++k) {
            wall += steps[k].wall.back();
            cpu += steps[k].cpu.back();
        }
        prepWall.push_back(wall);
        prepCpu.push_back(cpu);

        // A complete copy of every disk (the local drives too: the question was answered Yes),
        // then its playlist file.
        for (const CopyItem& item : copyPlan.CopyList) platform::createEmptyFile(dest.nativePath(item.DestName));
        DriveFlags copyFromDrive{};
        for (const PlannedDisk& disk : copyPlan.DiskPlan)
            if (disk.driveLetter) copyFromDrive[static_cast<size_t>(disk.driveLetter - 'A')] = disk.doCopy;
        size_t count = 0;
        timed(steps[5], [&] { count = PlayListLines(context, copyFromDrive).size(); });
        timed(steps[6], [&] { FormPlayList(context, copyFromDrive); });
        if (count != copyPlan.CopyList.size()) std::fprintf(stderr, "only %zu songs listed\n", count);
        bytes = platform::readWholeFile(playlistFilePath(context)).value_or("").size();
        std::printf("rep %d: destination of %d files made in %.1f s; OldDirs %zu, NewDirs %zu, CopyList %zu, disks %d"
                    " (%d local)\n",
                    r + 1, playlist + 20, setup, oldDirs, newDirs, copyPlan.CopyList.size(), copyPlan.DisksTotal(),
                    copyPlan.HardDiskCount);
        std::fflush(stdout);
    }
    std::printf("median of %d, ms          wall      cpu\n", reps);
    for (const Step& step : steps)
        std::printf("  %-16s %9.1f %8.1f\n", step.name, 1000 * median(step.wall), 1000 * median(step.cpu));
    std::printf("  preparation      %9.1f %8.1f   (target <= 1500 at 1,000,000 songs)\n", 1000 * median(prepWall),
                1000 * median(prepCpu));
    std::printf("  (FormPlayList: target <= 200 at 1,000,000 songs; the file has %zu bytes, written with fsync)\n",
                bytes);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak RSS %.0f MB\n", static_cast<double>(usage.ru_maxrss) / 1024.0);

    std::error_code ec;
    fs::remove_all(appDir, ec);
}

int usage() {
    std::fprintf(stderr, "usage: velmo-bench-copy [--shape collection|merged|synthetic] [--large] [--songs N]...\n"
                         "                        [--reps N] [--seed S]\n"
                         "  default: the generator's collection shape of 10,000 and 100,000 songs (--large: also\n"
                         "  1,000,000); 3 runs each\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    int reps = 3;
    bool large = false;
    std::vector<uint64_t> sizes;
    Source source;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        uint64_t number = 0;
        if (!std::strcmp(argv[i], "--reps") && hasValue) reps = std::max(1, std::atoi(argv[++i]));
        else if (!std::strcmp(argv[i], "--large")) large = true;
        else if (!std::strcmp(argv[i], "--songs") && hasValue && bench::parseNumber(argv[++i], number) && number >= 2000)
            sizes.push_back(number);
        else if (!std::strcmp(argv[i], "--seed") && hasValue && bench::parseNumber(argv[++i], number))
            source.seed = number;
        else if (!std::strcmp(argv[i], "--shape") && hasValue) {
            const std::string_view name = argv[++i];
            source.synthetic = name == "synthetic";
            if (!source.synthetic && !bench::parseShape(name, source.shape)) return usage();
            source.name = argv[i];
        } else {
            return usage();
        }
    }
    if (sizes.empty()) sizes = {10000, 100000};
    if (large) sizes.push_back(1000000);
    try {
        for (uint64_t songs : sizes) run(songs, source, reps);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "velmo-bench-copy: %s\n", e.what());
        return 1;
    }
    return 0;
}
