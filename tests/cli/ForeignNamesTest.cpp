// File and folder names that are not UTF-8 (a Latin-1 name from an old disk): the database file
// stays UTF-8, and every way back to the file reaches the same bytes on the disk.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <set>
#include <thread>

#include "CliRun.h"
#include "support/TestSupport.h"
#include "util/TextEncoding.h"

namespace velmo::test {
namespace {

namespace fs = std::filesystem;

const std::string kLatin1Folder = "Alt\xE9";    // "Alté" in Latin-1
const std::string kLatin1Song = "caf\xE9.mp3";  // "café.mp3" in Latin-1
const std::string kUtf8Song = "\xC3\x84rger.mp3"; // "Ärger.mp3"
const std::string kDisk = "Drive <M> /MUSIC/";

class ForeignNames : public Cli {
protected:
    void SetUp() override {
        writeFile(music(kLatin1Folder + "/" + kLatin1Song), std::string(3000, 'a'));
        writeFile(music("Neu/" + kUtf8Song), std::string(2000, 'b'));
        writeFile(app.file("Drives.ini"), "M=fixed;" + world.file("music") + ";MUSIC\r\n");
        ASSERT_EQ(run({"add", "M:\\"}).status, 0);
    }
    std::string music(const std::string& path) const { return world.file("music/" + path); }
    std::string latin1Caption() const {
        return kDisk + "\\" + fileNameToText(kLatin1Folder) + "\\" + fileNameToText(kLatin1Song);
    }

    TempDir world;
};

TEST_F(ForeignNames, TheDatabaseStaysUtf8AndASecondAddFindsTheSameSongs) {
    const std::string db = readFile(dbPath());
    EXPECT_TRUE(isValidUtf8(db));
    EXPECT_NE(db.find("\t\t" + kUtf8Song + ":6:2000:"), std::string::npos) << db;
    EXPECT_NE(db.find("\t\t" + fileNameToText(kLatin1Song) + ":6:3000:"), std::string::npos) << db;

    // Read back, the other names keep their letters (the file is not taken as Windows-1252),
    // and adding the folder again adds nothing.
    const std::string expected = "6\t" + latin1Caption() + "\n6\t" + kDisk + "\\Neu\\" + kUtf8Song + "\n";
    ASSERT_EQ(run({"add", "M:\\"}).status, 0);
    EXPECT_EQ(run({"list"}).out, expected);
    EXPECT_EQ(readFile(dbPath()), db);

    // Saved under another name and loaded again: the same songs.
    ASSERT_EQ(run({"save", world.file("other.vmdb")}).status, 0);
    ASSERT_EQ(run({"load", world.file("other.vmdb")}).status, 0);
    EXPECT_EQ(run({"list"}).out, expected);
}

TEST_F(ForeignNames, PlayCopyAndRenameReachTheFileUnderItsOwnBytes) {
    // Played from where it is: the player's list holds the name as the disk has it.
    const std::string recorder = world.file("record.sh");
    writeFile(recorder, "#!/bin/sh\ncp \"$1\" '" + world.file("list") + ".tmp' && mv '" + world.file("list") +
                            ".tmp' '" + world.file("list") + "'\n");
    fs::permissions(recorder, fs::perms::owner_all);
    writeFile(app.file("Profiles/Default/PlayerConfig.ini"),
              "[Recorder]\r\n" + recorder + "\r\n\r\n\r\nm3u\r\n\r\nDoNotPassFirstParamSeparately\r\n"
              "DoNotPassLastParamSeparately\r\nDoNotPassLastParamBeforeLastFile\r\n");
    ASSERT_EQ(run({"set", "PlayerConfigIndex=0"}).status, 0);
    Result played = run({"play", latin1Caption()});
    ASSERT_EQ(played.status, 0) << played.err;
    for (int i = 0; i < 400 && !fs::exists(world.file("list")); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    EXPECT_EQ(readFile(world.file("list")), music(kLatin1Folder + "/" + kLatin1Song) + "\r\n");

    // Copied: the file is read under its own bytes and arrives whole under a UTF-8 name, which
    // the result playlist names.
    Result copied = run({"--yes", "make-playlist", "+", "copy"});
    ASSERT_EQ(copied.status, 0) << copied.err;
    const std::string destination = app.file("Profiles/Default/MusicBase");
    const std::string copy = "Drive [M] -MUSIC-/" + fileNameToText(kLatin1Folder) + "/" + fileNameToText(kLatin1Song);
    EXPECT_EQ(readFile(destination + "/" + copy), std::string(3000, 'a'));
    const std::string m3u = readFile(destination + "/Default.m3u");
    EXPECT_NE(m3u.find(copy + "\r\n"), std::string::npos) << m3u;
    EXPECT_TRUE(isValidUtf8(m3u));

    // Renamed to a UTF-8 name: the file on the disk is the one renamed.
    Result renamed = run({"rename", latin1Caption(), "caf\xC3\xA9.mp3"});
    ASSERT_EQ(renamed.status, 0) << renamed.err;
    EXPECT_FALSE(fs::exists(music(kLatin1Folder + "/" + kLatin1Song)));
    EXPECT_EQ(readFile(music(kLatin1Folder + "/caf\xC3\xA9.mp3")), std::string(3000, 'a'));
    // And back to its Latin-1 bytes, as typed at a terminal in that code page.
    renamed = run({"rename", kDisk + "\\" + fileNameToText(kLatin1Folder) + "\\caf\xC3\xA9.mp3", kLatin1Song});
    ASSERT_EQ(renamed.status, 0) << renamed.err;
    EXPECT_EQ(readFile(music(kLatin1Folder + "/" + kLatin1Song)), std::string(3000, 'a'));
    EXPECT_TRUE(isValidUtf8(readFile(dbPath())));
}

} // namespace
} // namespace velmo::test
