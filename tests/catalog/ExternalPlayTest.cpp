// Handing songs to other programs: the list file and the starts of an external player, and the
// shell command on a song, a folder or a disk.
#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

#include "CatalogTestUtil.h"
#include "app/ExternalPlay.h"
#include "platform/Drives.h"
#include "util/TextLines.h"

namespace velmo::test {
namespace {

namespace fs = std::filesystem;
using Start = RecordingProcessLauncher::Start;
using Args = std::vector<std::string>;

// Two CDs (POP01 in the drive E:, ROCK02 nowhere) and the local drive C:.
struct PlayFixture : CatalogFixture {
    PlayFixture() {
        services.drives = platform::DriveTable({{'C', platform::DriveKind::Fixed, dir.file("hd"), "DATA"},
                                                {'E', platform::DriveKind::CdRom, dir.file("cd"), std::nullopt}},
                                               dir.path());
        file("cd/Rock/r.mp3");
        add({{"E:\\", false}}, "Rock CD", "ROCK02");
        fs::remove_all(dir.file("cd"));
        file("cd/Pop/p.mp3");
        file("cd/Pop/q.mp3");
        add({{"E:\\", false}}, "Pop CD", "POP01");
        writeFile(dir.file("cd/.volume-label"), "POP01\n");
        file("hd/My Music/h.mp3");
        add({{"C:\\My Music\\", false}}, "Drive <C>", "DATA");
        session->DetectCDDrives();
        session->settings.PlayerConfigIndex = 3;
        session->settings.ConfirmOpts[ConfirmSkip] = false;
        session->settings.ConfirmOpts[AutoSkipDisk] = true;
    }
    TPlayerConfig& player() { return session->PlayerConfigs[3]; }
    TDataRec* song(const std::string& caption) { return db().findSong(caption); }
    std::string list() { return dir.file("Profiles/Default/PlayList.m3u"); }
    const std::vector<Start>& starts() { return services.launcher.starts; }
};

TEST(ExternalPlayTest, LocalSongsAndTheFirstAvailableCdReachTheListFileAndThePlayer) {
    PlayFixture f;
    f.player().ApplicationPath = "/opt/player/bin/play";
    f.player().FirstLine = "#EXTM3U";
    f.player().ParameterBefore = "--enqueue";
    f.player().ParameterAfter = " --volume=50";
    ExternalPlayNow(*f.session, {f.song("Rock CD /ROCK02/\\Rock\\r.mp3"), f.song("Pop CD /POP01/\\Pop\\p.mp3"),
                                 f.song("Rock CD /ROCK02/\\Rock\\r.mp3"), f.song("Drive <C> /DATA/\\My Music\\h.mp3"),
                                 f.song("Pop CD /POP01/\\Pop\\q.mp3")});
    // The Rock CD is in no drive: asked for once, given up, its songs left out.
    int prompts = 0;
    for (const auto& s : f.ui.shown) prompts += s.kind == "insert";
    EXPECT_EQ(prompts, 1);
    EXPECT_EQ(readFile(f.list()), "#EXTM3U\r\n" + f.dir.file("cd/Pop/p.mp3") + "\r\n" +
                                      f.dir.file("hd/My Music/h.mp3") + "\r\n" + f.dir.file("cd/Pop/q.mp3") + "\r\n");
    EXPECT_EQ(f.starts(), (std::vector<Start>{{"/opt/player/bin/play", {"--enqueue", f.list(), "--volume=50"},
                                               "/opt/player/bin"}}));
}

TEST(ExternalPlayTest, TheThreeWaysToPassTheParametersAndTheSeparateFirstCall) {
    PlayFixture f;
    f.player().ApplicationPath = "vlc";
    f.player().ParameterBefore = "-b \"two words\"";
    f.player().ParameterAfter = " -a";
    const std::vector<TDataRec*> one{f.song("Drive <C> /DATA/\\My Music\\h.mp3")};

    f.player().PassLastBeforeFile = true;
    ExternalPlayNow(*f.session, one);
    EXPECT_EQ(f.starts().back().arguments, (Args{"-b", "two words", "-a", f.list()}));

    f.player().PassLastSeparately = true;
    f.services.launcher.starts.clear();
    ExternalPlayNow(*f.session, one);
    EXPECT_EQ(f.starts(), (std::vector<Start>{{"vlc", {"-b", "two words", f.list()}, ""}, {"vlc", {"-a"}, ""}}));

    f.player().PassFirstSeparately = true;
    f.player().PassLastSeparately = false;
    f.player().PassLastBeforeFile = false;
    f.services.launcher.starts.clear();
    ExternalPlayNow(*f.session, one);
    EXPECT_EQ(f.starts(), (std::vector<Start>{{"vlc", {"-b", "two words"}, ""}, {"vlc", {f.list(), "-a"}, ""}}));
    EXPECT_EQ(f.services.clock.waits, (std::vector<int64_t>{1000}));

    // A player that cannot start is told in the status bar, never in an error box.
    f.services.launcher.results = {std::string("No such file or directory"), std::nullopt};
    f.ui.shown.clear();
    ExternalPlayNow(*f.session, one);
    EXPECT_TRUE(f.ui.errors().empty());
}

TEST(ExternalPlayTest, OnlyTheFirstVariableIsExpandedAndWholeValuesAreRead) {
    const std::string longValue(1000, 'v');
    setenv("VELMO_TEST_DIR", longValue.c_str(), 1);
    EXPECT_EQ(expandVariable("%VELMO_TEST_DIR%/%Name%/x"), longValue + "/%Name%/x");
    EXPECT_EQ(expandVariable("%VELMO_TEST_DIR%:%VELMO_TEST_DIR%"), longValue + ":" + longValue);
    EXPECT_EQ(expandVariable("%VELMO_UNSET_VARIABLE%x"), "x");
    EXPECT_EQ(expandVariable("50% off"), "50% off");
    unsetenv("VELMO_TEST_DIR");
}

TEST(ExternalPlayTest, ShellOpenOfASongAFolderAndADiskWithEachFolderSetting) {
    PlayFixture f;
    f.session->settings.ShellCommand = "xdg-open>--x %file%";
    const TreeNode* song = f.song("Drive <C> /DATA/\\My Music\\h.mp3")->MusicNode;
    const TreeNode* folder = song->parent();
    const TreeNode* disk = folder->parent();
    const std::string hd = f.dir.file("hd");
    struct Case {
        bool PassDir, OnlyIfFile;
        std::string song, folder, disk;
    };
    for (const Case& c : {Case{true, true, hd + "/My Music", hd + "/My Music", hd + "/"},
                          Case{true, false, hd + "/My Music", hd + "/", hd + "/"},
                          Case{false, true, hd + "/My Music/h.mp3", hd + "/My Music", hd + "/"},
                          Case{false, false, hd + "/My Music/h.mp3", hd + "/My Music", hd + "/"}}) {
        f.session->settings.PassDir = c.PassDir;
        f.session->settings.OnlyIfFile = c.OnlyIfFile;
        f.services.launcher.starts.clear();
        OpenInShell(*f.session, song);
        OpenInShell(*f.session, folder);
        OpenInShell(*f.session, disk);
        // The path, blanks and all, stays one argument.
        EXPECT_EQ(f.starts(), (std::vector<Start>{{"xdg-open", {"--x", c.song}, ""},
                                                  {"xdg-open", {"--x", c.folder}, ""},
                                                  {"xdg-open", {"--x", c.disk}, ""}}))
            << c.PassDir << c.OnlyIfFile;
    }
    // A CD song: from the drive that holds it; a command without ">" starts nothing.
    f.session->settings.PassDir = false;
    f.services.launcher.starts.clear();
    OpenInShell(*f.session, f.song("Pop CD /POP01/\\Pop\\p.mp3")->MusicNode);
    ASSERT_EQ(f.starts().size(), 1u);
    EXPECT_EQ(f.starts()[0].arguments, (Args{"--x", f.dir.file("cd/Pop/p.mp3")}));
    f.session->settings.ShellCommand = "xdg-open %file%";
    OpenInShell(*f.session, song);
    EXPECT_EQ(f.starts().size(), 1u);
}

} // namespace
} // namespace velmo::test
