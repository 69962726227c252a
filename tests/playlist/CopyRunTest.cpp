// A whole copy: "Press to start" over simulated optical disks and local drives, the disk
// prompts, skip and abort while a file is copied, failures, and the playlist file at the end.
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CopyTestUtil.h"
#include "app/CopyCommands.h"
#include "app/ExternalPlay.h"
#include "base/MessageTable.h"
#include "playlist/CopyEngine.h"
#include "playlist/CopyProgress.h"
#include "playlist/CopyView.h"

namespace velmo::test {
namespace {

namespace fs = std::filesystem;

// Records what the copy dialog was told.
struct RecordingView : CopyView {
    Session* session = nullptr;
    std::vector<std::string> events;
    std::vector<CopyCounters> progress;
    bool runningWhileShown = true;
    void showCopyDialog(const std::string& caption) override { events.push_back("show " + caption); }
    void showCopyProgress(const CopyCounters& counters, uint64_t) override {
        progress.push_back(counters);
        if (session && !session->copyRunning()) runningWhileShown = false;
    }
    void setAbortEnabled(bool enabled) override { events.push_back(enabled ? "abort on" : "abort off"); }
    void closeCopyDialog() override { events.push_back("close"); }
};

// Two optical disks kept on a shelf beside the drive E: (whose folder is "cd"), inserted by the
// user when prompted, and a local drive C:.
struct CopyRunFixture : CopyFixture {
    RecordingView view;

    CopyRunFixture() {
        view.session = session.get();
        session->settings.ConfirmOpts[ShowResultWnd] = false;
        session->settings.ConfirmOpts[ConfirmCopyFromHDD] = false;
        session->settings.ConfirmOpts[AutoCopy] = true;
        session->settings.SizeOfDB = 500;
        file("cd/Pop/a.mp3", 1000);
        file("cd/Pop/b.mp3", 3000);
        add({{"E:\\", false}}, "Pop CD", "POP01");
        shelve("POP01");
        file("cd/Rock/r.mp3", 2000);
        add({{"E:\\", false}}, "Rock CD", "ROCK02");
        shelve("ROCK02");
        file("hd/Music/h.mp3", 500);
        add({{"C:\\Music\\", false}}, "Drive <C>", "DATA");
        // Prompted for a disk, the user takes it from the shelf and puts it in.
        ui.onInsertPrompt = [this](const UserInterface::InsertDiskPrompt& p) { insertDisk(p.label); };
    }
    void shelve(const std::string& label) {
        writeFile(dir.file("cd/" + std::string(platform::kVolumeLabelFile)), label + "\n");
        fs::create_directories(dir.file("shelf"));
        fs::rename(dir.file("cd"), dir.file("shelf/" + label));
        fs::create_directories(dir.file("cd"));
    }
    void insertDisk(const std::string& label) {
        if (!fs::exists(dir.file("shelf/" + label))) return;
        fs::remove_all(dir.file("cd"));
        fs::rename(dir.file("shelf/" + label), dir.file("cd"));
    }
    void playAll() {
        setStatus({"Rock CD /ROCK02/\\Rock\\r.mp3", "Pop CD /POP01/\\Pop\\b.mp3", "Drive <C> /DATA/\\Music\\h.mp3",
                   "Pop CD /POP01/\\Pop\\a.mp3"},
                  ssPlayList);
    }
    CopyRunResult press() {
        ui.answers.assign(8, true); // OK in every prompt
        return ButtonPressToStartClick(*session, view);
    }
    std::string m3u() { return readFile(dest("Default.m3u")); }
    std::string trayLog() { return fs::exists(dir.file("Drives.log")) ? readFile(dir.file("Drives.log")) : ""; }
    std::vector<std::string> shownKinds() const {
        std::vector<std::string> kinds;
        for (const auto& s : ui.shown) kinds.push_back(s.kind + " " + s.text);
        return kinds;
    }
};

TEST(CopyRun, EveryDiskIsPromptedForAndCopiedIntoTheDestinationWithThePlaylistFile) {
    CopyRunFixture f;
    f.playAll();
    // Time passes between two looks at the window, so every file gets shown as it starts.
    f.ui.onProcessMessages = [&] { f.services.clock.now += 100; };
    const CopyRunResult r = f.press();

    EXPECT_TRUE(r.started);
    EXPECT_FALSE(r.aborted);
    EXPECT_EQ(r.notCopied, 0u);
    EXPECT_TRUE(r.playlistWritten);
    EXPECT_TRUE(f.session->PlaylistCopied);
    EXPECT_FALSE(f.session->copyRunning());
    EXPECT_TRUE(f.view.runningWhileShown);
    EXPECT_EQ(f.view.events, (std::vector<std::string>{"show Copying files...", "abort on", "abort off", "close"}));

    EXPECT_EQ(readFile(f.dest("Pop CD -POP01-/Pop/b.mp3")), std::string(3000, 'x'));
    EXPECT_EQ(readFile(f.dest("Rock CD -ROCK02-/Rock/r.mp3")).size(), 2000u);
    EXPECT_EQ(readFile(f.dest("Drive [C] -DATA-/Music/h.mp3")).size(), 500u);
    // Playlist order, copied songs relative to the playlist file.
    EXPECT_EQ(f.m3u(), "Rock CD -ROCK02-/Rock/r.mp3\r\nPop CD -POP01-/Pop/b.mp3\r\nDrive [C] -DATA-/Music/h.mp3\r\n"
                       "Pop CD -POP01-/Pop/a.mp3\r\n");

    // The local drive needs no prompt; each CD one, in tree order; the first prompt of the copy
    // opens every tray (here the one), every OK closes them.
    ASSERT_EQ(f.ui.shown.size(), 2u);
    EXPECT_EQ(f.ui.shown[0].text, "Please, insert CD POP01 (\"Pop CD\").");
    EXPECT_EQ(f.ui.shown[1].text, "Please, insert CD ROCK02 (\"Rock CD\").");
    EXPECT_EQ(f.trayLog(), "EjectCD E:\r\nCloseCD E:\r\nEjectCD E:\r\nCloseCD E:\r\n");

    // The last progress: the last song of the last disk, everything before it done.
    ASSERT_FALSE(f.view.progress.empty());
    const CopyCounters& last = f.view.progress.back();
    EXPECT_EQ(last.CurDisk, 3);
    EXPECT_EQ(last.DisksTotal, 3);
    EXPECT_EQ(last.SongIndex, 4);
    EXPECT_EQ(last.TotalSongs, 4);
    EXPECT_EQ(last.SourcePath, f.dir.file("cd/Rock/r.mp3"));
    EXPECT_EQ(last.WantedDisk, "Rock CD (ROCK02)");
}

TEST(CopyRun, AWholeCopyThatStaysIsKeptAndALocalDriveNotCopiedIsListedWhereItIs) {
    CopyRunFixture f;
    f.session->settings.ConfirmOpts[AutoCopy] = false;
    f.session->settings.ConfirmOpts[AutoDontCopy] = true;
    f.playAll();
    // A whole copy of a.mp3 from the last copy stays; b.mp3's copy never became whole (the
    // machine lost power) and is made again.
    f.destFile("Pop CD -POP01-/Pop/a.mp3", std::string(1000, 'k'));
    f.destFile("Pop CD -POP01-/Pop/b.mp3", "");
    f.press();

    EXPECT_EQ(readFile(f.dest("Pop CD -POP01-/Pop/a.mp3")), std::string(1000, 'k'));
    EXPECT_EQ(readFile(f.dest("Pop CD -POP01-/Pop/b.mp3")), std::string(3000, 'x'));
    EXPECT_FALSE(f.exists(f.dest("Drive [C] -DATA-/Music/h.mp3")));
    EXPECT_FALSE(f.session->CopyFromDrive['C' - 'A']);
    EXPECT_EQ(f.m3u(), "Rock CD -ROCK02-/Rock/r.mp3\r\nPop CD -POP01-/Pop/b.mp3\r\n" + f.dir.file("hd/Music/h.mp3") +
                           "\r\nPop CD -POP01-/Pop/a.mp3\r\n");
    // Nothing is left under a partial name.
    for (const auto& e : fs::recursive_directory_iterator(f.dest("")))
        EXPECT_EQ(e.path().filename().string().find(".velmo-partial-"), std::string::npos) << e.path();
}

TEST(CopyRun, SkipDiskDuringTheLastSongOfADiskDropsThatFileAndGoesOnWithTheNextDisk) {
    CopyRunFixture f;
    f.session->settings.ConfirmOpts[ConfirmSkip] = false;
    f.playAll();
    f.ui.onProcessMessages = [&] {
        CopyEngine* copy = f.session->activeCopy;
        if (copy && copy->counters().SourcePath == f.dir.file("cd/Pop/b.mp3")) copy->ButtonSkipDiskClick();
    };
    f.press();

    EXPECT_TRUE(f.exists(f.dest("Pop CD -POP01-/Pop/a.mp3")));
    EXPECT_FALSE(f.exists(f.dest("Pop CD -POP01-/Pop/b.mp3")));
    EXPECT_TRUE(f.exists(f.dest("Rock CD -ROCK02-/Rock/r.mp3")));
    EXPECT_EQ(f.m3u(), "Rock CD -ROCK02-/Rock/r.mp3\r\nDrive [C] -DATA-/Music/h.mp3\r\nPop CD -POP01-/Pop/a.mp3\r\n");
}

TEST(CopyRun, AbortDuringASongDropsItCopiesNothingMoreAndStillWritesThePlaylist) {
    CopyRunFixture f;
    f.playAll();
    int asked = 0;
    f.ui.onProcessMessages = [&] {
        CopyEngine* copy = f.session->activeCopy;
        if (copy && copy->counters().SourcePath == f.dir.file("cd/Pop/a.mp3") && asked++ == 0) {
            f.ui.answers = {false}; // No: the copy goes on
            copy->ButtonAbortClick();
            f.ui.answers = {true};
            copy->ButtonAbortClick();
        }
    };
    const CopyRunResult r = f.press();

    EXPECT_TRUE(r.aborted);
    EXPECT_TRUE(r.playlistWritten);
    EXPECT_FALSE(f.exists(f.dest("Pop CD -POP01-/Pop/a.mp3")));
    EXPECT_FALSE(f.exists(f.dest("Pop CD -POP01-/Pop/b.mp3")));
    EXPECT_FALSE(f.exists(f.dest("Rock CD -ROCK02-/Rock/r.mp3")));
    EXPECT_EQ(f.m3u(), "Drive [C] -DATA-/Music/h.mp3\r\n"); // the local drive came first
    EXPECT_EQ(f.ui.shown[1].text, "Are you sure you want to abort ?");
    EXPECT_EQ(f.ui.shown[2].text, "Are you sure you want to abort ?");
    EXPECT_EQ(f.ui.shown.size(), 3u); // no prompt for the Rock CD
}

TEST(CopyRun, AFileThatCannotBeCopiedIsReportedAndLeftOutOfThePlaylist) {
    CopyRunFixture f;
    f.playAll();
    // Where the Rock CD's folder should be, a file stands: its song cannot be written.
    writeFile(f.dest("Rock CD -ROCK02-"), "in the way");
    fs::remove(f.dir.file("hd/Music/h.mp3")); // and a local source has gone
    const CopyRunResult r = f.press();

    EXPECT_EQ(r.notCopied, 2u);
    EXPECT_EQ(f.m3u(), "Pop CD -POP01-/Pop/b.mp3\r\nPop CD -POP01-/Pop/a.mp3\r\n");
    ASSERT_FALSE(f.ui.errors().empty());
    EXPECT_EQ(f.ui.errors().back(), "2 files were not copied and left out of the playlist. The first: " +
                                        f.dir.file("hd/Music/h.mp3") + " (No such file or directory).");
}

TEST(CopyRun, PlayingACdDuringACopyNeverPromptsOrMovesTheTrays) {
    CopyRunFixture f;
    f.playAll();
    bool played = false;
    f.ui.onProcessMessages = [&] {
        CopyEngine* copy = f.session->activeCopy;
        if (!copy || played || copy->counters().SourcePath != f.dir.file("cd/Pop/a.mp3")) return;
        played = true;
        const size_t shown = f.ui.shown.size();
        const std::string trays = f.trayLog();
        // The Rock CD is on the shelf, the Pop CD being copied in the drive.
        ExternalPlayNow(*f.session, {f.song("Rock CD /ROCK02/\\Rock\\r.mp3"), f.song("Pop CD /POP01/\\Pop\\b.mp3")});
        EXPECT_EQ(f.ui.shown.size(), shown);
        EXPECT_EQ(f.trayLog(), trays);
    };
    f.session->settings.BuiltInPlayer = false;
    f.press();
    EXPECT_TRUE(played);
    EXPECT_EQ(f.services.launcher.starts.size(), 1u); // the Pop CD's song was playable
    EXPECT_TRUE(f.exists(f.dest("Rock CD -ROCK02-/Rock/r.mp3")));
}

TEST(CopyRun, PressToStartRefusesWithoutAPlaylistAndAsksWhenItIsTooLarge) {
    CopyRunFixture f;
    CopyRunResult r = ButtonPressToStartClick(*f.session, f.view);
    EXPECT_FALSE(r.started);
    EXPECT_TRUE(r.focusMakePlaylist);
    ASSERT_EQ(f.ui.shown.size(), 1u);
    EXPECT_EQ(f.ui.shown[0].caption, "Information");

    f.playAll();
    f.session->settings.SizeOfDB = 0;
    f.ui.shown.clear();
    f.ui.answers = {false};
    r = ButtonPressToStartClick(*f.session, f.view);
    EXPECT_FALSE(r.started);
    EXPECT_FALSE(f.session->PlaylistCopied);
    ASSERT_EQ(f.ui.shown.size(), 1u);
    EXPECT_EQ(f.ui.shown[0].caption, "Notice");

    f.session->settings.ConfirmOpts[ConfirmLargePL] = false; // then it starts without a question
    f.ui.shown.clear();
    EXPECT_TRUE(f.press().started);
    EXPECT_EQ(f.ui.shown[0].kind, "insert");
}

TEST(CopyProgressTexts, AKnownCopyAndTheEdgesThatWouldDivideByZero) {
    MessageTable messages;
    CopyCounters c;
    c.CurDisk = 2;
    c.DisksTotal = 3;
    c.DiskSongs = 12;
    c.SongOnDisk = 2;
    c.SongIndex = 7;
    c.TotalSongs = 40;
    c.CurSongSize = 5678 * 1024;
    c.DiskSizeMB = 45.67;
    c.DiskDoneMB = 10.8;
    c.TotalSizeMB = 200.004;
    c.TotalDoneMB = 100;
    c.WantedDisk = "Pop CD (POP01)";
    c.SourcePath = "/cd/Pop/a.mp3";
    const uint64_t bytes = 1234 * 1024 + 300; // 1234.3 KB of the file, 1.205 MB
    CopyProgressTexts t = UpDateCopyForm(c, bytes, messages);
    EXPECT_EQ(t.PanelCurDisk, "Pop CD (POP01)");
    EXPECT_EQ(t.PanelNowCopying, "/cd/Pop/a.mp3");
    EXPECT_EQ(t.PanelDiskProgressSongs, "Song 3 of 12");
    EXPECT_EQ(t.PanelSongProgress, "1234 of 5678 KB");
    EXPECT_EQ(t.PanelSongProgressPercent, "22 %");
    EXPECT_EQ(t.PanelDiskProgressSize, "12 of 45.67 MB");
    EXPECT_EQ(t.PanelDiskProgressPercent, "26.3 %");
    EXPECT_EQ(t.PanelGenProgressSongs, "Song 7 of 40");
    EXPECT_EQ(t.PanelGenProgressSize, "101 of 200 MB");
    EXPECT_EQ(t.PanelGenProgressDisks, "Disk 2 of 3");
    EXPECT_EQ(t.PanelGenProgressPercent, "50.6 %");
    EXPECT_EQ(t.ProgressBarSong, 109);
    EXPECT_EQ(t.ProgressBarDisk, 131);
    EXPECT_EQ(t.ProgressBarGengeral, 253);

    // An empty file on a disk of 0 MB in a copy of 0 MB: all complete.
    c = CopyCounters{};
    t = UpDateCopyForm(c, 0, messages);
    EXPECT_EQ(t.PanelSongProgressPercent, "100 %");
    EXPECT_EQ(t.PanelDiskProgressPercent, "100 %");
    EXPECT_EQ(t.PanelGenProgressPercent, "100 %");
    EXPECT_EQ(t.ProgressBarSong, CopyProgressTexts::kBarMaximum);
    EXPECT_EQ(t.PanelSongProgress, "0 of 0 KB");
}

} // namespace
} // namespace velmo::test
