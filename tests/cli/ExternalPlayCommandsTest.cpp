// play and open from the command line: the player and the shell command are a script that
// records how it was started.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "CliRun.h"
#include "support/TestSupport.h"

namespace velmo::test {
namespace {

namespace fs = std::filesystem;

class ExternalPlayCli : public Cli {
protected:
    void SetUp() override {
        writeFile(music("Pop/a.mp3"), std::string(3000, 'a'));
        writeFile(music("Pop/Sun; $(touch pwned) it's.mp3"), std::string(2000, 'b'));
        writeFile(music("Rock/c.mp3"), std::string(1000, 'c'));
        writeFile(app.file("Drives.ini"), "C=fixed;" + world.file("music") + ";MUSIC\r\n");
        ASSERT_EQ(run({"add", "C:\\"}).status, 0);
        writeFile(recorder(), "#!/bin/sh\n{ echo \"pwd=$(pwd)\"; for a in \"$@\"; do echo \"arg=$a\"; done; } > '" +
                                  record() + ".tmp' && mv '" + record() + ".tmp' '" + record() + "'\n");
        fs::permissions(recorder(), fs::perms::owner_all);
        // One configuration: the recorder with parameters before and after the list.
        writeFile(app.file("Profiles/Default/PlayerConfig.ini"),
                  "[Recorder]\r\n" + recorder() + "\r\n--enqueue \"two words\"\r\n --after\r\nm3u\r\n#EXTM3U\r\n"
                  "DoNotPassFirstParamSeparately\r\nDoNotPassLastParamSeparately\r\n"
                  "DoNotPassLastParamBeforeLastFile\r\n");
        ASSERT_EQ(run({"set", "PlayerConfigIndex=0"}).status, 0);
    }
    std::string music(const std::string& path) const { return world.file("music/" + path); }
    std::string recorder() const { return world.file("bin/record.sh"); }
    std::string record() const { return world.file("record"); }
    std::string listFile() const { return app.file("Profiles/Default/PlayList.m3u"); }

    // What the recorder wrote; it runs detached, so it may still be on its way.
    std::string recorded() {
        for (int i = 0; i < 400 && !fs::exists(record()); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(25));
        std::string text = readFile(record());
        fs::remove(record());
        return text;
    }

    TempDir world;
};

const std::string kDisk = "Drive <C> /MUSIC/";

TEST_F(ExternalPlayCli, PlayHandsTheSongsInArgumentOrderToThePlayerInItsFolder) {
    Result r = run({"play", kDisk + "\\Rock\\c.mp3", kDisk + "\\Pop"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(recorded(), "pwd=" + world.file("bin") + "\narg=--enqueue\narg=two words\narg=" + listFile() +
                              "\narg=--after\n");
    EXPECT_EQ(readFile(listFile()), "#EXTM3U\r\n" + music("Rock/c.mp3") + "\r\n" + music("Pop/a.mp3") + "\r\n" +
                                        music("Pop/Sun; $(touch pwned) it's.mp3") + "\r\n");

    // An unknown caption: nothing is written or started.
    fs::remove(listFile());
    Result unknown = run({"play", kDisk + "\\Pop\\a.mp3", "Nowhere"});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_EQ(unknown.err, "VelmoMusicDB v2.07: No song, folder or disk has the caption \"Nowhere\". -> OK\n");
    EXPECT_FALSE(fs::exists(listFile()));
}

TEST_F(ExternalPlayCli, OpenPassesThePathAsOneArgumentAndReportsAProgramThatCannotStart) {
    ASSERT_EQ(run({"set", "ShellCommand=" + recorder() + ">--open \"at %file%\"", "PassDir=false"}).status, 0);
    const std::string song = "Sun; $(touch pwned) it's.mp3";
    Result r = run({"open", kDisk + "\\Pop\\" + song});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(recorded(), "pwd=" + fs::current_path().string() + "\narg=--open\narg=at " + music("Pop/" + song) + "\n");
    EXPECT_FALSE(fs::exists(fs::current_path() / "pwned"));
    EXPECT_FALSE(fs::exists(music("Pop/pwned")));

    // A disk is its drive's folder with a trailing "/"; with PassDir a song gives its folder.
    ASSERT_EQ(run({"open", kDisk}).status, 0);
    EXPECT_EQ(recorded(), "pwd=" + fs::current_path().string() + "\narg=--open\narg=at " + world.file("music") + "/\n");
    ASSERT_EQ(run({"set", "PassDir=true", "+", "open", kDisk + "\\Rock\\c.mp3"}).status, 0);
    EXPECT_EQ(recorded(), "pwd=" + fs::current_path().string() + "\narg=--open\narg=at " + music("Rock") + "\n");

    ASSERT_EQ(run({"set", "ShellCommand=" + world.file("missing") + ">%file%"}).status, 0);
    Result missing = run({"open", kDisk});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "Cannot start \"" + world.file("missing") + "\". No such file or directory\n");
}

} // namespace
} // namespace velmo::test
