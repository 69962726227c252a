// The playlist file written after a copy: what it lists, in which form, and where.
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "CopyTestUtil.h"
#include "playlist/ResultPlaylist.h"

namespace velmo::test {
namespace {

namespace fs = std::filesystem;

// In playlist order: an optical disk's song that was copied and one that was not, a song of the
// copied drive C: that arrived and one that did not, a song of D: (not copied) whose file is
// there and one whose file has gone.
struct ResultFixture : CopyFixture {
    DriveFlags copyFromDrive{};

    ResultFixture() {
        file("cd/Pop/a.mp3");
        file("cd/Pop/b.mp3");
        add({{"E:\\", false}}, "Pop CD", "POP01");
        file("hd/Music/h1.mp3");
        file("hd/Music/h2.mp3");
        add({{"C:\\Music\\", false}}, "Drive <C>", "DATA");
        file("hd2/Live/d1.mp3");
        file("hd2/Live/d2.mp3");
        add({{"D:\\", false}}, "Drive <D>", "MORE");
        setStatus({"Drive <D> /MORE/\\Live\\d2.mp3", "Pop CD /POP01/\\Pop\\b.mp3", "Drive <C> /DATA/\\Music\\h1.mp3",
                   "Drive <D> /MORE/\\Live\\d1.mp3", "Pop CD /POP01/\\Pop\\a.mp3", "Drive <C> /DATA/\\Music\\h2.mp3"},
                  ssPlayList);
        destFile("Pop CD -POP01-/Pop/b.mp3");
        destFile("Drive [C] -DATA-/Music/h1.mp3");
        fs::remove(dir.file("hd2/Live/d1.mp3"));
        copyFromDrive['C' - 'A'] = true;
    }
};

TEST(FormPlayListTest, CopiedAndUncopiedLocalSongsInPlaylistOrderByteForByte) {
    ResultFixture f;
    f.session->settings.ConfirmOpts[ShowResultWnd] = true;

    ASSERT_TRUE(FormPlayList(f.context(), f.copyFromDrive));

    const std::string path = f.dest("Default.m3u");
    EXPECT_EQ(readFile(path), f.dir.file("hd2/Live/d2.mp3") + "\r\n" +
                                  "Pop CD -POP01-/Pop/b.mp3\r\n"
                                  "Drive [C] -DATA-/Music/h1.mp3\r\n");
    ASSERT_EQ(f.ui.shown.size(), 1u);
    EXPECT_EQ(f.ui.shown[0].kind, "notice");
    EXPECT_EQ(f.ui.shown[0].caption, "All operations completed.");
    EXPECT_EQ(f.ui.shown[0].text, "Your playlist was saved to " + path + ".");
}

// A copy counts as it would for a look-up of its path, whether its folder holds many songs of
// the playlist (listed once) or few (asked file by file): a file or a link to one, not a
// dangling link, a folder of the song's name or nothing.
TEST(FormPlayListTest, CopiesCountTheSameInFoldersOfManySongsAndOfFew) {
    CopyFixture f;
    for (const char* name : {"a", "b", "c", "d", "e", "f", "g", "h"}) f.file(std::string("cd/Many/") + name + ".mp3");
    for (const char* name : {"x", "y"}) f.file(std::string("cd/Few/") + name + ".mp3");
    f.add({{"E:\\", false}}, "Mix", "MIX1");
    std::vector<std::string> captions;
    for (const char* name : {"a", "b", "c", "d", "e", "f", "g", "h"})
        captions.push_back(std::string("Mix /MIX1/\\Many\\") + name + ".mp3");
    captions.push_back("Mix /MIX1/\\Few\\x.mp3");
    captions.push_back("Mix /MIX1/\\Few\\y.mp3");
    f.setStatus(captions, ssPlayList);
    f.destFile("Mix -MIX1-/Many/a.mp3");
    f.destFile("elsewhere.bin");
    fs::create_symlink(f.dest("elsewhere.bin"), f.dest("Mix -MIX1-/Many/b.mp3"));
    fs::create_symlink(f.dest("gone.bin"), f.dest("Mix -MIX1-/Many/c.mp3"));
    fs::create_directories(f.dest("Mix -MIX1-/Many/d.mp3"));
    f.destFile("Mix -MIX1-/Many/e.mp3");
    fs::create_directories(f.dest("Mix -MIX1-/Few"));
    fs::create_symlink(f.dest("elsewhere.bin"), f.dest("Mix -MIX1-/Few/x.mp3"));
    fs::create_directories(f.dest("Mix -MIX1-/Few/y.mp3"));

    ASSERT_TRUE(FormPlayList(f.context(), DriveFlags{}));
    EXPECT_EQ(readFile(f.dest("Default.m3u")), "Mix -MIX1-/Many/a.mp3\r\n"
                                               "Mix -MIX1-/Many/b.mp3\r\n"
                                               "Mix -MIX1-/Many/e.mp3\r\n"
                                               "Mix -MIX1-/Few/x.mp3\r\n");
}

TEST(FormPlayListTest, NamedAfterTheProfileSilentWithoutTheNoticeAndAFailedWriteIsReported) {
    ResultFixture f;
    f.session->settings.ConfirmOpts[ShowResultWnd] = false;
    f.session->CurrentProfile = "Rock";
    f.copyFromDrive['D' - 'A'] = true; // nothing of D: arrived: none of its songs is listed
    // A name a player would take for a comment line.
    fs::remove_all(f.dir.file("cd"));
    f.file("cd/x.mp3");
    f.add({{"E:\\", false}}, "#1 Hits", "HITS");
    f.setStatus({"#1 Hits /HITS/\\x.mp3"}, ssPlayList);
    f.destFile("#1 Hits -HITS-/x.mp3");

    ASSERT_TRUE(FormPlayList(f.context(), f.copyFromDrive));
    EXPECT_EQ(readFile(f.dest("Rock.m3u")),
              "Pop CD -POP01-/Pop/b.mp3\r\nDrive [C] -DATA-/Music/h1.mp3\r\n./#1 Hits -HITS-/x.mp3\r\n");
    EXPECT_TRUE(f.ui.shown.empty());

    // A destination below a plain file cannot take the playlist: the user is told why.
    writeFile(f.dir.file("plain"), "");
    f.session->settings.PathToDB = "plain\\Music";
    EXPECT_FALSE(FormPlayList(f.context(), f.copyFromDrive));
    ASSERT_EQ(f.ui.errors().size(), 1u);
    EXPECT_NE(f.ui.errors()[0].find(f.dir.file("plain/Music/Rock.m3u")), std::string::npos);
    EXPECT_NE(f.ui.errors()[0].find("Not a directory"), std::string::npos);
}

} // namespace
} // namespace velmo::test
