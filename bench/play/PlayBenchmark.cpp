// velmo-bench-play: the core's part of "Play now !" on a loaded database of SONGS songs
// (default 1,000,000): external play of 10,000 hard-disk songs (the list file written and the
// player started, here /bin/true), the built-in player's Play now on single songs (finding
// the file to play; the media framework is left out), and Next from anywhere in the Music List.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

#include "DatabaseGenerator.h"
#include "app/ExternalPlay.h"
#include "app/PlayNow.h"
#include "app/Session.h"
#include "base/UserInterface.h"
#include "musicdb/DatabaseLoader.h"
#include "musicdb/ItemList.h"
#include "platform/Clock.h"
#include "platform/Drives.h"
#include "platform/FileIO.h"
#include "platform/ProcessLauncher.h"
#include "playlist/DestinationFolder.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct SilentUi : velmo::UserInterface {
    bool askYesNo(const std::string&, const std::string&, bool yes) override { return yes; }
    bool askInsertDisk(const InsertDiskPrompt&) override { return false; }
    void showNotice(const std::string&, const std::string&) override {}
    void showError(const std::string& text) override { std::fprintf(stderr, "error: %s\n", text.c_str()); }
    std::optional<std::string> chooseFileToOpen(const FileDialog&) override { return std::nullopt; }
    std::optional<std::string> chooseFileToSave(const FileDialog&) override { return std::nullopt; }
    bool answersWithoutPerson() const override { return true; }
};

// Opens anything at once: what is timed is the program's own work before the framework starts.
struct InstantPlayer : velmo::MediaPlayer {
    Mode current = Mode::NotReady;
    bool open(const std::string&) override { return (current = Mode::Stopped), true; }
    void close() override { current = Mode::NotReady; }
    void play() override { current = Mode::Playing; }
    void pause() override { current = Mode::Paused; }
    void stop() override { current = Mode::Stopped; }
    void rewind() override {}
    Mode mode() const override { return current; }
    int64_t lengthMs() const override { return 200000; }
    int64_t positionMs() const override { return 0; }
    void setPositionMs(int64_t) override {}
    std::string lastError() const override { return {}; }
};

// The Music List tab with one selected row.
struct ListView : velmo::PlayerView {
    velmo::MusicDatabase* db = nullptr;
    size_t row = 0;
    int activeTab() const override { return 1; }
    bool musicTreeVisible() const override { return true; }
    std::vector<velmo::TDataRec*> selection() const override { return {db->musicList().at(row)->data()}; }
    const velmo::TreeNode* selectedTreeNode(bool) const override { return nullptr; }
    void selectTreeNode(bool, const velmo::TreeNode*) override {}
    const velmo::ListItem* selectedListItem(int) const override { return db->musicList().at(row); }
    void selectListItem(int, size_t index) override { row = index; }
    void focusActiveView() override {}
    void showPanel(const Panel&) override {}
    void setPlayNowEnabled(bool) override {}
};

} // namespace

int main(int argc, char** argv) {
    velmo::bench::Shape shape = velmo::bench::Shape::Collection;
    const bool shapeOk = velmo::bench::takeShapeOption(argc, argv, shape);
    uint64_t songs = 1000000;
    if (!shapeOk || (argc > 1 && !velmo::bench::parseNumber(argv[1], songs))) {
        std::fprintf(stderr, "usage: velmo-bench-play [SONGS] [--shape collection|merged]\n");
        return 2;
    }
    try {
        const fs::path dir = fs::temp_directory_path() / ("velmo-bench-play-" + std::to_string(::getpid()));
        fs::create_directories(dir / "hd");
        const std::string file = (dir / "db.vmdb").string();
        velmo::bench::generateDatabase(songs, file, 1, shape);

        // Every drive letter of the generated hard disks is a local folder.
        std::vector<velmo::platform::DriveEntry> drives;
        for (char letter = 'C'; letter <= 'Z'; ++letter) {
            fs::create_directories(dir / "hd" / std::string(1, letter));
            drives.push_back({letter, velmo::platform::DriveKind::Fixed, (dir / "hd" / std::string(1, letter)).string(),
                              std::nullopt});
        }
        SilentUi ui;
        velmo::platform::DetachedProcessLauncher launcher;
        velmo::platform::SteadyClock clock;
        velmo::SessionServices services{ui, launcher, clock, {}};
        services.loadDrives = [&](const std::string& appDir) { return velmo::platform::DriveTable(drives, appDir); };
        velmo::Session s(dir.string(), services);
        s.DetectCDDrives();
        {
            std::optional<std::string> bytes = velmo::platform::readWholeFile(file);
            if (!bytes) throw std::runtime_error("cannot read " + file);
            velmo::LoadTree tree = velmo::LoadTree::parse(std::move(*bytes));
            velmo::DatabaseLoader(s.db, {}).AnalyzeTree(tree);
        }
        velmo::ItemList& list = s.db.musicList();
        std::vector<size_t> hardDiskRows;
        size_t row = 0;
        for (velmo::ListItem* i = list.first(); i; i = list.next(i), ++row)
            if (i->caption().rfind("Drive <", 0) == 0) hardDiskRows.push_back(row);
        std::mt19937 rng(5);
        std::shuffle(hardDiskRows.begin(), hardDiskRows.end(), rng);
        // The merged shape has CDs alone: their songs play from copies in the destination folder,
        // and external play (of hard-disk songs) is left out.
        const bool hardDisks = !hardDiskRows.empty();
        std::vector<size_t> cdRows;
        for (size_t i = 0; i < 200 && !hardDisks && list.size() > 0; ++i) cdRows.push_back(rng() % list.size());

        // External play of 10,000 songs.
        s.settings.BuiltInPlayer = false;
        velmo::TPlayerConfig config;
        config.ApplicationPath = "/bin/true";
        config.FileListExt = "m3u";
        s.PlayerConfigs = {config};
        s.settings.PlayerConfigIndex = 0;
        std::vector<velmo::TDataRec*> selection;
        for (size_t i = 0; i < std::min<size_t>(10000, hardDiskRows.size()); ++i)
            selection.push_back(list.at(hardDiskRows[i])->data());
        std::vector<double> external;
        for (int rep = 0; rep < 5 && hardDisks; ++rep) {
            const auto start = Clock::now();
            velmo::ExternalPlayNow(s, selection);
            external.push_back(secondsSince(start));
        }

        // Play now of single songs (no copy in the destination folder: the local file plays).
        s.settings.BuiltInPlayer = true;
        s.settings.PathToDB = (dir / "out").string();
        fs::create_directories(dir / "out");
        InstantPlayer media;
        ListView view;
        view.db = &s.db;
        velmo::BuiltInPlayer player(s, media, view);
        const std::vector<size_t> rows =
            hardDisks ? std::vector<size_t>(hardDiskRows.begin(),
                                            hardDiskRows.begin() + std::min<std::ptrdiff_t>(
                                                                       200, static_cast<std::ptrdiff_t>(hardDiskRows.size())))
                      : cdRows;
        const auto destination = velmo::DestinationFolder::resolve(s.settings.PathToDB, s.AppDir, s.drives());
        // Play now checks that the file is there; the files are made beforehand.
        for (size_t r : rows) {
            const std::string caption = velmo::musicTreePath(list.at(r)->data()->MusicNode);
            std::optional<std::string> native;
            if (hardDisks) {
                const std::string catalog = std::string(1, caption[caption.find('<') + 1]) + ":" +
                                            caption.substr(caption.find('\\'));
                native = s.drives().catalogToNative(catalog);
            } else if (destination) {
                std::string copyName = caption;
                std::replace(copyName.begin(), copyName.end(), '/', '-');
                native = destination->nativePath(copyName);
            }
            if (!native) throw std::runtime_error("no native path for " + caption);
            fs::create_directories(fs::path(*native).parent_path());
            velmo::platform::createEmptyFile(*native);
        }
        std::vector<double> playNow;
        for (size_t r : rows) {
            view.row = r;
            const auto start = Clock::now();
            player.ButtonPlayNowClick();
            playNow.push_back(secondsSince(start));
            if (media.mode() != velmo::MediaPlayer::Mode::Playing) throw std::runtime_error("a song did not play");
        }
        // Next from anywhere in the list: the step itself, whatever plays.
        std::vector<double> next;
        for (size_t r : rows) {
            view.row = r;
            const auto start = Clock::now();
            player.MPlayerPostClick(velmo::BuiltInPlayer::Button::Next);
            next.push_back(secondsSince(start));
        }
        fs::remove_all(dir);

        std::printf("songs %zu\n", list.size());
        if (hardDisks) {
            std::printf("external play of %zu songs  %8.3f s (median of 5)\n", selection.size(), median(external));
        } else {
            std::printf("no hard-disk songs: external play not timed; CD songs play from the destination folder\n");
        }
        std::printf("play now, one song         %8.3f ms (median of %zu, max %.3f ms)\n", median(playNow) * 1e3,
                    playNow.size(), *std::max_element(playNow.begin(), playNow.end()) * 1e3);
        std::printf("next, one song             %8.4f ms (median of %zu)\n", median(next) * 1e3, next.size());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "velmo-bench-play: %s\n", e.what());
        return 1;
    }
    return 0;
}
