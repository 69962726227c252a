// velmo-bench-scan: times adding a folder tree to the catalogue against a bare walk of it.
//
// A tree of N files (default 100,000) is generated in a temporary folder (not timed), or once
// in a folder given with --tree and reused by later runs of the same shape, size and seed.
// The collection shape: Artist\Album folders, collections nested three to five folders deep, a
// few big unsorted folders of thousands of files, album art subfolders without any music. The
// merged shape is a data disc of an MP3 archive: root folders A to Z, each with its artists'
// album folders and the two big folders Compilations and Singles (the biggest about 30,000
// files at a million). About a fifth of the files are pictures and texts (few in the big
// folders); the music files (.mp3, .MP3, .wma) are 200 to 2000 bytes and most end in an ID3v1
// block. Names mix ASCII, accented Latin, Cyrillic and Japanese.
//
// Then, in the same process:
//   (a) walk   - a bare recursive walk: openat/readdir of every folder, the type of each entry
//                from the listing, and for every music file openat, fstat, pread of its last
//                128 bytes, close. What any scan must pay.
//       listing - the same walk with a size (fstatat) instead of the read for every music file:
//                the least a re-add can cost. Shown for reference.
//   (b) add    - the Add button of the add-disk dialog on a fresh session: drive D: is the
//                generated folder, the whole drive is added (FolderScan::ButtonAddFolderClick).
//   (c) re-add - the same add run again in the same session; nothing is new.
// The walk runs once before anything is timed, so every measurement sees a warm page cache.
// Each repetition times (a), then (b) and (c) on a new session; the table shows medians.
#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "DatabaseGenerator.h"
#include "app/Session.h"
#include "base/UserInterface.h"
#include "platform/Clock.h"
#include "platform/ProcessLauncher.h"
#include "catalog/Disks.h"
#include "catalog/FolderScan.h"
#include "musicdb/MusicDatabase.h"
#include "musicdb/TDataRec.h"
#include "platform/Drives.h"

namespace {

using namespace velmo;
using Clock = std::chrono::steady_clock;

// Takes the default answer of every question and lets notices pass.
class BenchUi : public UserInterface {
public:
    bool askInsertDisk(const InsertDiskPrompt&) override { return false; }
    bool askYesNo(const std::string&, const std::string&, bool yesIsDefault) override { return yesIsDefault; }
    void showNotice(const std::string&, const std::string&) override {}
    void showError(const std::string& text) override { std::fprintf(stderr, "error: %s\n", text.c_str()); }
    std::optional<std::string> chooseFileToOpen(const FileDialog&) override { return std::nullopt; }
    std::optional<std::string> chooseFileToSave(const FileDialog&) override { return std::nullopt; }
};

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2.0;
}

double peakRssMB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// ---------------------------------------------------------------------------------------------
// The generated tree.

struct TreeStats {
    long files = 0;
    long folders = 0;
    long music = 0;
    long tagged = 0;
};

const char* const kArtists[] = {"The Blue Notes", "Édith Marceau", "Кино и Вино",  "東京スカ楽団", "Mañana Club",
                                "Northern Lights", "Zoë & the Owls", "Døgnvill",     "Aurora Fields", "Белая Река",
                                "Kaze no Oto 風",  "Los Olvidados",  "Café Tacvba", "Mötley Mice",   "Sigur Sand"};
const char* const kWords[] = {"Night", "River", "Ça va", "Любовь", "夢",    "Summer", "Road",  "Electric", "Señor",
                              "Rain",  "Город", "Blue",  "Sky",    "Fire", "Ghost",  "Dance", "Über",     "海"};
const char* const kGenres[] = {"Jazz", "Rock", "Klassik", "Électro", "Поп", "J-Pop", "Folk", "Ambient"};

class TreeGenerator {
public:
    TreeGenerator(std::string root, long files, uint32_t seed) : root_(std::move(root)), target_(files), rng_(seed) {
        filler_.assign(2000, 'U');
    }

    TreeStats generate(bench::Shape shape) {
        std::filesystem::create_directories(root_);
        if (shape == bench::Shape::MergedRoots) return generateMerged();
        folder("", 2); // a few loose files in the drive root
        // Big unsorted folders of a few thousand files (fewer in a small tree).
        const double scale = std::min(1.0, static_cast<double>(target_) / 100000.0);
        const char* const big[] = {"Unsorted", "Downloads/New music", "Mixes/All in one 2003"};
        const long bigSizes[] = {5000, 3000, 2000};
        for (size_t i = 0; i < 3; ++i) folder(big[i], std::max(1L, static_cast<long>(static_cast<double>(bigSizes[i]) * scale)));
        // Collections three to five folders deep: about 15% of the files.
        const long deepUntil = stats_.files + target_ * 15 / 100;
        for (int n = 0; stats_.files < deepUntil && stats_.files < target_; ++n) {
            char path[256];
            const int depth = 3 + n % 3;
            const char* genre = kGenres[n % std::size(kGenres)];
            if (depth == 3)
                std::snprintf(path, sizeof path, "Compilations/%s hits/Vol. %03d", genre, n);
            else if (depth == 4)
                std::snprintf(path, sizeof path, "Collections/%s/%s/Album %d", genre, artist(n / 7).c_str(), n);
            else
                std::snprintf(path, sizeof path, "Collections/%s/%d0s/%s/Album %d", genre, 196 + n % 6,
                              artist(n / 5).c_str(), n);
            album(path);
        }
        // Everything else: Artist\Album with one to six albums per artist.
        for (int a = 0; stats_.files < target_; ++a) {
            const std::string name = artist(a);
            const int albums = 1 + static_cast<int>(rng_() % 6);
            for (int k = 0; k < albums && stats_.files < target_; ++k) album(name + "/" + albumName(k));
        }
        return stats_;
    }

private:
    // How often each first letter starts an artist's name, per mille.
    static constexpr int kLetterWeights[26] = {50, 65, 60, 55, 25, 35, 40, 40, 15, 35, 30, 45, 70,
                                               25, 20, 50, 4,  45, 90, 85, 8,  15, 30, 4,  10, 8};

    TreeStats generateMerged() {
        long total = 0;
        for (int w : kLetterWeights) total += w;
        int artists = 0;
        for (int letter = 0; letter < 26 && stats_.files < target_; ++letter) {
            const long share = letter == 25 ? target_ - stats_.files : target_ * kLetterWeights[letter] / total;
            until_ = stats_.files + share;
            const std::string root(1, static_cast<char>('A' + letter));
            folder(root + "/Compilations", share * 20 / 100, false, 2);
            folder(root + "/Singles", share * 33 / 100, false, 2);
            while (stats_.files < until_) {
                const std::string name = root + "/" + artist(artists++);
                const int albums = 1 + static_cast<int>(rng_() % 6);
                for (int k = 0; k < albums && stats_.files < until_; ++k) album(name + "/" + albumName(k));
            }
        }
        return stats_;
    }

    std::string albumName(int k) {
        char path[160];
        std::snprintf(path, sizeof path, "%d. %s %s (%d)", k + 1, kWords[rng_() % std::size(kWords)],
                      kWords[rng_() % std::size(kWords)], 1970 + static_cast<int>(rng_() % 50));
        return path;
    }

    std::string artist(int n) const {
        char buf[128];
        std::snprintf(buf, sizeof buf, "%s %04d", kArtists[n % std::size(kArtists)], n);
        return buf;
    }

    // An album folder of 8 to 20 files; now and then with a subfolder of scans only.
    void album(const std::string& path) {
        folder(path, 8 + static_cast<long>(rng_() % 13));
        if (rng_() % 20 == 0) folder(path + "/Scans", 2 + static_cast<long>(rng_() % 3), true);
    }

    // `count` files (fewer when the tree is full) in a folder below the root, `otherPercent` of
    // them pictures and texts.
    void folder(const std::string& relative, long count, bool picturesOnly = false, unsigned otherPercent = 20) {
        count = std::min(count, until_ - stats_.files);
        if (count <= 0) return;
        const std::string dir = relative.empty() ? root_ : root_ + "/" + relative;
        if (!relative.empty()) std::filesystem::create_directories(dir);
        for (long i = 0; i < count; ++i) {
            const auto kind = rng_() % 100;
            if (picturesOnly || kind < otherPercent) {
                static const char* const other[] = {"cover %ld.jpg", "notes %ld.txt", "release %ld.nfo"};
                char name[64];
                std::snprintf(name, sizeof name, other[rng_() % 3], i);
                writeFile(dir + "/" + name, 200 + rng_() % 1801, nullptr);
            } else {
                const auto music = (kind - otherPercent) * 80 / (100 - otherPercent);
                const char* ext = music < 64 ? "mp3" : music < 72 ? "MP3" : "wma";
                char name[160];
                std::snprintf(name, sizeof name, "%02ld - %s %s.%s", i + 1, kWords[rng_() % std::size(kWords)],
                              kWords[rng_() % std::size(kWords)], ext);
                const bool tagged = rng_() % 100 < 85;
                char tag[128];
                if (tagged) makeTag(tag, name, relative, static_cast<int>(i + 1));
                writeFile(dir + "/" + name, 200 + rng_() % 1801, tagged ? tag : nullptr);
                ++stats_.music;
                if (tagged) ++stats_.tagged;
            }
            ++stats_.files;
        }
    }

    void makeTag(char* tag, const std::string& title, const std::string& folderPath, int track) {
        std::memset(tag, 0, 128);
        std::memcpy(tag, "TAG", 3);
        auto put = [&](size_t at, size_t len, const std::string& text) {
            std::memcpy(tag + at, text.data(), std::min(len, text.size()));
        };
        const size_t slash = folderPath.rfind('/');
        put(3, 30, title);
        put(33, 30, kArtists[rng_() % std::size(kArtists)]);
        put(63, 30, slash == std::string::npos ? folderPath : folderPath.substr(slash + 1));
        put(93, 4, std::to_string(1960 + rng_() % 60));
        put(97, 28, "ripped for the benchmark");
        tag[126] = static_cast<char>(track);
        tag[127] = static_cast<char>(rng_() % 80);
    }

    void writeFile(const std::string& path, size_t size, const char* tag) {
        const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0) {
            std::fprintf(stderr, "cannot create %s: %s\n", path.c_str(), std::strerror(errno));
            std::exit(2);
        }
        const size_t body = tag ? size - 128 : size;
        bool ok = write(fd, filler_.data(), body) == static_cast<ssize_t>(body);
        if (tag) ok = ok && write(fd, tag, 128) == 128;
        if (close(fd) != 0 || !ok) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            std::exit(2);
        }
    }

    std::string root_;
    long target_;
    long until_ = target_; // where the part being made ends
    std::mt19937 rng_;
    std::string filler_;
    TreeStats stats_;
};

// ---------------------------------------------------------------------------------------------
// (a) The bare walk.

bool isMusicName(const char* name) {
    const char* dot = std::strrchr(name, '.');
    return dot && (strcasecmp(dot, ".mp3") == 0 || strcasecmp(dot, ".wma") == 0);
}

// The type comes from the listing; only an entry the listing cannot type (a link, a file system
// without types) is asked for it. A music file is opened and its size taken from the open file
// for the read (`readTags`), or only asked for its size (what a re-add needs to know).
void walk(int parentFd, const char* name, bool readTags, TreeStats& out) {
    const int fd = openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    DIR* dir = fdopendir(fd);
    if (!dir) {
        close(fd);
        return;
    }
    ++out.folders;
    while (const dirent* e = readdir(dir)) {
        if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0) continue;
        unsigned char type = e->d_type;
        if (type == DT_UNKNOWN || type == DT_LNK) {
            struct stat st {};
            if (fstatat(fd, e->d_name, &st, 0) != 0) continue;
            type = S_ISDIR(st.st_mode) ? DT_DIR : S_ISREG(st.st_mode) ? DT_REG : DT_UNKNOWN;
        }
        if (type == DT_DIR) {
            walk(fd, e->d_name, readTags, out);
            continue;
        }
        ++out.files;
        if (type != DT_REG || !isMusicName(e->d_name)) continue;
        ++out.music;
        struct stat st {};
        if (!readTags) {
            fstatat(fd, e->d_name, &st, 0);
            continue;
        }
        const int file = openat(fd, e->d_name, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (file < 0) continue;
        char block[128];
        if (fstat(file, &st) == 0 && st.st_size >= 128 && pread(file, block, 128, st.st_size - 128) == 128 &&
            std::memcmp(block, "TAG", 3) == 0)
            ++out.tagged;
        close(file);
    }
    closedir(dir);
}

TreeStats walkTree(const std::string& root, bool readTags = true) {
    TreeStats stats;
    walk(AT_FDCWD, root.c_str(), readTags, stats);
    --stats.folders; // the root itself
    return stats;
}

// ---------------------------------------------------------------------------------------------
// (b) and (c) The add run.

void addDrive(Session& session, const ScanDrives& drives) {
    FolderScan(session.scanContext(), drives).ButtonAddFolderClick({{"D:\\", false}}, "Drive <D>", "BENCH");
}

long taggedSongs(const MusicDatabase& db) {
    long n = 0;
    for (const auto& rec : db.dataList())
        if (rec->MusicListItem && !rec->IDTag().title.empty()) ++n;
    return n;
}

struct Options {
    long files = 100000;
    int reps = 3;
    uint32_t seed = 20240611;
    std::string dir;
    bool keep = false;
    std::string tree; // where the generated tree is kept for later runs
    bench::Shape shape = bench::Shape::Collection;
    std::string shapeName = "collection";
};

void usage() {
    std::fprintf(stderr, "usage: velmo-bench-scan [--shape collection|merged] [--files N] [--reps R] [--seed S]\n"
                         "                        [--dir DIR] [--keep] [--tree DIR]\n");
}

std::optional<Options> parseOptions(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--files" && hasValue) o.files = std::atol(argv[++i]);
        else if (arg == "--reps" && hasValue) o.reps = std::atoi(argv[++i]);
        else if (arg == "--seed" && hasValue) o.seed = static_cast<uint32_t>(std::strtoul(argv[++i], nullptr, 10));
        else if (arg == "--dir" && hasValue) o.dir = argv[++i];
        else if (arg == "--keep") o.keep = true;
        else if (arg == "--tree" && hasValue) o.tree = argv[++i];
        else if (arg == "--shape" && hasValue) {
            o.shapeName = argv[++i];
            if (!bench::parseShape(o.shapeName, o.shape)) return std::nullopt;
        }
        else return std::nullopt;
    }
    if (o.files < 1 || o.reps < 1) return std::nullopt;
    return o;
}

// A tree kept by an earlier run: its description line must match this run's.
std::string treeDescription(const Options& o) {
    return o.shapeName + " " + std::to_string(o.files) + " " + std::to_string(o.seed);
}

std::optional<TreeStats> keptTree(const std::string& stamp, const Options& o) {
    std::ifstream in(stamp);
    std::string description;
    TreeStats t;
    if (!std::getline(in, description) || description != treeDescription(o) ||
        !(in >> t.files >> t.folders >> t.music >> t.tagged))
        return std::nullopt;
    return t;
}

} // namespace

int main(int argc, char** argv) {
    const std::optional<Options> options = parseOptions(argc, argv);
    if (!options) {
        usage();
        return 2;
    }
    std::string work;
    if (!options->tree.empty()) {
        work = options->tree;
    } else {
        std::string base = options->dir;
        if (base.empty()) {
            const char* tmp = std::getenv("TMPDIR");
            base = tmp && *tmp ? tmp : "/tmp";
        }
        std::string pattern = base + "/velmo-bench-scan-XXXXXX";
        if (!mkdtemp(pattern.data())) {
            std::fprintf(stderr, "cannot make a folder in %s: %s\n", base.c_str(), std::strerror(errno));
            return 2;
        }
        work = pattern;
    }
    const std::string root = work + "/drive";
    const std::string appDir = work + "/app";
    const std::string stamp = work + "/tree.txt";

    std::optional<TreeStats> kept = options->tree.empty() ? std::nullopt : keptTree(stamp, *options);
    TreeStats made;
    Clock::time_point start = Clock::now();
    if (kept) {
        made = *kept;
        std::printf("%s shape: reusing the tree of %ld files in %s\n", options->shapeName.c_str(), made.files,
                    root.c_str());
    } else {
        std::error_code ec;
        std::filesystem::remove_all(root, ec);
        std::filesystem::remove(stamp, ec);
        std::printf("%s shape: generating %ld files in %s ...\n", options->shapeName.c_str(), options->files,
                    root.c_str());
        std::fflush(stdout);
        made = TreeGenerator(root, options->files, options->seed).generate(options->shape);
        std::printf("generated in %.1f s: %ld files, %ld music (%ld with a tag)\n", secondsSince(start), made.files,
                    made.music, made.tagged);
    }
    std::error_code appError;
    std::filesystem::remove_all(appDir, appError);
    std::filesystem::create_directories(appDir);

    const TreeStats warm = walkTree(root); // fills the page cache for everything below
    bool ok = warm.files == made.files && warm.music == made.music && warm.tagged == made.tagged;
    if (!options->tree.empty() && !kept && ok) {
        std::ofstream out(stamp);
        out << treeDescription(*options) << "\n" << made.files << " " << warm.folders << " " << made.music << " "
            << made.tagged << "\n";
    }

    BenchUi ui;
    platform::DetachedProcessLauncher launcher;
    platform::SteadyClock clock;
    const platform::DriveTable table({{'D', platform::DriveKind::Fixed, root, std::string("BENCH")}}, appDir);
    const DriveTableScanDrives drives(table);

    std::vector<double> walkTimes, listTimes, addTimes, readdTimes;
    size_t songsAfterAdd = 0, songsAfterReadd = 0;
    long taggedAfterAdd = 0;
    for (int rep = 0; rep < options->reps; ++rep) {
        start = Clock::now();
        const TreeStats walked = walkTree(root);
        walkTimes.push_back(secondsSince(start));
        ok = ok && walked.music == made.music;

        start = Clock::now();
        const TreeStats listed = walkTree(root, false);
        listTimes.push_back(secondsSince(start));
        ok = ok && listed.music == made.music;

        auto session = std::make_unique<Session>(appDir, SessionServices{ui, launcher, clock, {}});
        start = Clock::now();
        addDrive(*session, drives);
        addTimes.push_back(secondsSince(start));
        songsAfterAdd = session->db.musicList().size();
        taggedAfterAdd = taggedSongs(session->db);
        const int32_t counted = session->db.counters().a.count;

        start = Clock::now();
        addDrive(*session, drives);
        readdTimes.push_back(secondsSince(start));
        songsAfterReadd = session->db.musicList().size();

        ok = ok && songsAfterAdd == static_cast<size_t>(made.music) && songsAfterReadd == songsAfterAdd &&
             taggedAfterAdd == made.tagged && counted == made.music && session->db.counters().a.count == counted;
        std::printf("rep %d: walk %.3f s, listing %.3f s, add %.3f s, re-add %.3f s\n", rep + 1, walkTimes.back(),
                    listTimes.back(), addTimes.back(), readdTimes.back());
        std::fflush(stdout);
    }

    const double a = median(walkTimes), b = median(addTimes), c = median(readdTimes);
    std::printf("\n");
    std::printf("%-28s %12ld\n", "files", made.files);
    std::printf("%-28s %12ld\n", "folders", warm.folders);
    std::printf("%-28s %12ld generated, %ld walked, %zu added, %zu after re-add\n", "music files", made.music,
                warm.music, songsAfterAdd, songsAfterReadd);
    std::printf("%-28s %12ld generated, %ld walked, %ld added\n", "music files with a tag", made.tagged, warm.tagged,
                taggedAfterAdd);
    std::printf("%-28s %12.3f s  (%.2f us/file)\n", "(a) walk", a, a * 1e6 / static_cast<double>(made.files));
    const double listing = median(listTimes);
    std::printf("%-28s %12.3f s  (%.2f us/file)\n", "    listing only (no reads)", listing,
                listing * 1e6 / static_cast<double>(made.files));
    std::printf("%-28s %12.3f s  (%.2f us/file)\n", "(b) add", b, b * 1e6 / static_cast<double>(made.files));
    std::printf("%-28s %12.3f s  (%.2f us/file)\n", "(c) re-add", c, c * 1e6 / static_cast<double>(made.files));
    std::printf("%-28s %12.2f     target <= 1.5  %s\n", "b/a", b / a, b / a <= 1.5 ? "met" : "MISSED");
    std::printf("%-28s %12.2f     target <= 1.2  %s\n", "c/a", c / a, c / a <= 1.2 ? "met" : "MISSED");
    std::printf("%-28s %12.2f\n", "c/b", c / b);
    std::printf("%-28s %12.2f\n", "listing/b", listing / b);
    std::printf("%-28s %12.0f MB\n", "peak RSS", peakRssMB());
    std::printf("(medians of %d repetitions)\n", options->reps);
    if (!ok) std::printf("\nCOUNT MISMATCH: the scan did not find exactly the generated music files\n");

    if (!options->tree.empty()) {
        std::printf("the tree stays in %s for the next run\n", work.c_str());
    } else if (options->keep) {
        std::printf("kept %s\n", work.c_str());
    } else {
        std::error_code ec;
        std::filesystem::remove_all(work, ec);
    }
    return ok ? 0 : 1;
}
