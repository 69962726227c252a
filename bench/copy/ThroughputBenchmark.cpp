// velmo-bench-copy-throughput: the copy of a playlist's files against cp on the same files in the
// same run.
//
// Two sets, made once in a temporary folder and read once so the page cache holds them:
// 200 files of 5 MiB and 2,000 files of 100 KiB. For each set and repetition the destination is
// removed and the machine synced (not timed); then either `cp -r` of the set's folder or the
// program's copy engine over a plan of the same files (one local drive, copied) runs, with the
// progress display on (the dialog's texts computed whenever the engine shows them). Reports the
// median seconds and MB/s of each and the ratio of the two throughputs, and then the time the
// file system takes to write the copies to disk (the program waits for that before it writes
// the playlist file; cp leaves it to the system), measured after each copy as `flush s`.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <spawn.h>
#include <string>
#include <vector>

#include "base/MessageTable.h"
#include "base/UserInterface.h"
#include "catalog/DiskPrompt.h"
#include "platform/Clock.h"
#include "platform/Drives.h"
#include "platform/FileIO.h"
#include "playlist/CopyEngine.h"
#include "playlist/CopyProgress.h"
#include "playlist/CopyView.h"
#include "settings/ProfileSettings.h"

extern char** environ;

namespace {

using namespace velmo;
namespace fs = std::filesystem;
using SteadyTime = std::chrono::steady_clock;

class QuietUi : public UserInterface {
public:
    bool askInsertDisk(const InsertDiskPrompt&) override { return false; }
    bool askYesNo(const std::string&, const std::string&, bool yesIsDefault) override { return yesIsDefault; }
    void showNotice(const std::string&, const std::string&) override {}
    void showError(const std::string& text) override { std::fprintf(stderr, "error: %s\n", text.c_str()); }
    std::optional<std::string> chooseFileToOpen(const FileDialog&) override { return std::nullopt; }
    std::optional<std::string> chooseFileToSave(const FileDialog&) override { return std::nullopt; }
};

// The progress display: the dialog's texts as the window would set them.
class TextView : public CopyView {
public:
    explicit TextView(const MessageTable& messages) : messages_(messages) {}
    void showCopyDialog(const std::string&) override {}
    void showCopyProgress(const CopyCounters& counters, uint64_t bytes) override {
        const CopyProgressTexts t = UpDateCopyForm(counters, bytes, messages_);
        chars_ += t.PanelNowCopying.size() + t.PanelGenProgressPercent.size();
        ++shown_;
    }
    void closeCopyDialog() override {}
    size_t shown() const { return shown_; }

private:
    const MessageTable& messages_;
    size_t chars_ = 0;
    size_t shown_ = 0;
};

struct FileSet {
    std::string name;
    int files;
    size_t size;
};

double since(SteadyTime::time_point start) { return std::chrono::duration<double>(SteadyTime::now() - start).count(); }

void makeSet(const std::string& folder, const FileSet& set) {
    fs::create_directories(folder);
    std::string content(set.size, '\0');
    for (size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>((i * 2654435761u) >> 13);
    for (int i = 0; i < set.files; ++i) {
        const std::string path = folder + "/song" + std::to_string(i) + ".mp3";
        FILE* f = std::fopen(path.c_str(), "wb");
        std::fwrite(content.data(), 1, content.size(), f);
        std::fclose(f);
    }
}

void readAll(const std::string& folder) {
    std::vector<char> buffer(1 << 20);
    for (const auto& e : fs::directory_iterator(folder)) {
        FILE* f = std::fopen(e.path().c_str(), "rb");
        while (std::fread(buffer.data(), 1, buffer.size(), f) > 0) {
        }
        std::fclose(f);
    }
}

double runCp(const std::string& from, const std::string& to) {
    const auto start = SteadyTime::now();
    pid_t pid;
    const char* argv[] = {"cp", "-r", from.c_str(), to.c_str(), nullptr};
    if (posix_spawnp(&pid, "cp", nullptr, nullptr, const_cast<char**>(argv), environ) != 0) std::exit(1);
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) std::exit(1);
    return since(start);
}

// The set as one local drive C: (the set's parent folder) copied by the engine into `destination`.
double runEngine(const std::string& root, const FileSet& set, const std::string& destination, size_t* shown) {
    QuietUi ui;
    MessageTable messages;
    ProfileSettings settings = SetDefopts("Default");
    platform::SteadyClock clock;
    platform::DriveTable table({{'C', platform::DriveKind::Fixed, root, std::string("SRC")}}, root);
    DiskPrompt prompt({ui, messages, settings.ConfirmOpts, [&]() -> platform::DriveTable& { return table; }});
    TextView view(messages);
    DriveFlags copyFromDrive{};

    CopyPlan plan;
    PlannedDisk disk;
    disk.name = "Drive <C> (SRC)";
    disk.driveLetter = 'C';
    disk.songCount = set.files;
    disk.sizeMB = static_cast<double>(set.size) * set.files / 1048576.0;
    plan.DiskPlan.push_back(disk);
    for (int i = 0; i < set.files; ++i)
        plan.CopyList.push_back(
            {"Drive [C] -SRC-\\" + set.name + "\\song" + std::to_string(i) + ".mp3", static_cast<int32_t>(set.size)});
    DestinationFolder dest{destination, {destination}};

    const auto start = SteadyTime::now();
    fs::create_directories(destination + "/Drive [C] -SRC-/" + set.name);
    CopyEngine engine({ui, messages, settings, clock, prompt, view, copyFromDrive}, plan, dest, set.files,
                      disk.sizeMB);
    engine.CopyFiles();
    const double seconds = since(start);
    if (engine.copiedFiles() != set.files) {
        std::fprintf(stderr, "only %d of %d files copied\n", engine.copiedFiles(), set.files);
        std::exit(1);
    }
    *shown = view.shown();
    return seconds;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    int reps = 5;
    std::string base = (fs::temp_directory_path() / "velmo-bench-copy-throughput").string();
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--reps" && i + 1 < argc) reps = std::atoi(argv[++i]);
        else if (arg == "--dir" && i + 1 < argc) base = argv[++i];
        else {
            std::fprintf(stderr, "usage: velmo-bench-copy-throughput [--reps R] [--dir DIR]\n");
            return 2;
        }
    }
    fs::remove_all(base);
    const std::vector<FileSet> sets = {{"big", 200, 5u << 20}, {"small", 2000, 100u << 10}};
    std::printf("%-6s %8s %8s %10s %10s %7s %6s %8s\n", "set", "cp s", "velmo s", "cp MB/s", "velmo MB/s", "ratio",
                "shown", "flush s");
    for (const FileSet& set : sets) {
        const std::string source = base + "/src/" + set.name;
        makeSet(source, set);
        readAll(source);
        std::vector<double> cp, velmo, flush;
        size_t shown = 0;
        for (int r = 0; r < reps; ++r) {
            fs::remove_all(base + "/out");
            fs::create_directories(base + "/out");
            sync();
            cp.push_back(runCp(source, base + "/out/cp"));
            fs::remove_all(base + "/out");
            fs::create_directories(base + "/out");
            sync();
            velmo.push_back(runEngine(base + "/src", set, base + "/out/velmo", &shown));
            const auto start = SteadyTime::now();
            platform::flushFileSystem(base + "/out");
            flush.push_back(since(start));
        }
        const double mb = static_cast<double>(set.size) * set.files / 1048576.0;
        const double cpRate = mb / median(cp), velmoRate = mb / median(velmo);
        std::printf("%-6s %8.3f %8.3f %10.0f %10.0f %7.2f %6zu %8.3f\n", set.name.c_str(), median(cp), median(velmo),
                    cpRate, velmoRate, velmoRate / cpRate, shown, median(flush));
    }
    fs::remove_all(base);
    return 0;
}
