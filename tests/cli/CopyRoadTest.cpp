// The whole road from the command line: two CDs and a local folder catalogued, a playlist made
// and copied in one run, the disks "inserted" by a script the prompt runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "CliRun.h"
#include "support/TestSupport.h"

namespace velmo::test {
namespace {

namespace fs = std::filesystem;

class CopyRoad : public Cli {
protected:
    void SetUp() override {
        addDisk("POP01", {{"Pop/a.mp3", std::string(3000, 'a')}, {"Pop/b.mp3", std::string(2000, 'b')}});
        addDisk("JAZZ02", {{"Jazz/c.mp3", std::string(4000, 'c')}});
        writeFile(world.file("music/Rock/d.mp3"), std::string(1000, 'd'));
        writeFile(app.file("Drives.ini"), "C=fixed;/\r\nD=cdrom;" + drive() + "\r\nM=fixed;" + world.file("music") +
                                              ";MUSIC\r\n");
        insert("POP01");
        ASSERT_EQ(run({"add", "D:\\", "--description", "Pop Hits"}).status, 0);
        insert("JAZZ02");
        ASSERT_EQ(run({"add", "D:\\", "--description", "Jazz"}).status, 0);
        fs::remove_all(drive());
        fs::create_directories(drive());
        ASSERT_EQ(run({"add", "M:\\"}).status, 0);
        ASSERT_EQ(run({"list"}).out, "6\tDrive <M> /MUSIC/\\Rock\\d.mp3\n6\tJazz /JAZZ02/\\Jazz\\c.mp3\n"
                                     "6\tPop Hits /POP01/\\Pop\\a.mp3\n6\tPop Hits /POP01/\\Pop\\b.mp3\n");
        fs::remove(app.file("Drives.log"));
    }

    std::string drive() const { return world.file("drive"); }
    std::string destination() const { return app.file("Profiles/Default/MusicBase"); }
    std::string m3u() const { return destination() + "/Default.m3u"; }

    void addDisk(const std::string& label, const std::vector<std::pair<std::string, std::string>>& files) {
        writeFile(world.file("disks/" + label + "/.volume-label"), label + "\n");
        for (const auto& [path, bytes] : files) writeFile(world.file("disks/" + label + "/" + path), bytes);
    }

    void insert(const std::string& label) {
        fs::remove_all(drive());
        fs::copy(world.file("disks/" + label), drive(), fs::copy_options::recursive);
    }

    // The inserting script: notes each request, puts the disk into the drive when it has it and
    // runs `extra` afterwards.
    std::string script(const std::string& extra = "") {
        const std::string path = world.file("insert.sh");
        writeFile(path, "#!/bin/sh\necho \"$1|$2\" >> '" + world.file("asked") + "'\n"
                        "[ -d '" + world.file("disks") + "/'\"$1\" ] || exit 1\n"
                        "rm -rf '" + drive() + "' && cp -r '" + world.file("disks") + "/'\"$1\" '" + drive() + "'\n" +
                        extra);
        fs::permissions(path, fs::perms::owner_all);
        return path;
    }

    std::vector<std::string> m3uLines() {
        const std::string text = readFile(m3u());
        std::vector<std::string> lines;
        size_t begin = 0;
        for (size_t end; (end = text.find("\r\n", begin)) != std::string::npos; begin = end + 2)
            lines.push_back(text.substr(begin, end - begin));
        EXPECT_EQ(begin, text.size()) << "every line ends with CR LF";
        return lines;
    }

    // The files below the destination other than the playlist file, as "Disk -L-/path".
    std::set<std::string> copiedFiles() {
        std::set<std::string> files;
        for (const auto& entry : fs::recursive_directory_iterator(destination()))
            if (entry.is_regular_file() && entry.path() != m3u())
                files.insert(entry.path().lexically_relative(destination()).string());
        return files;
    }

    TempDir world;
};

TEST_F(CopyRoad, MakePlaylistAndCopyInOneRunAsksForEachCdAndWritesTheResultPlaylist) {
    Result r = run({"--yes", "--seed", "7", "--insert", script(), "make-playlist", "+", "copy"});
    EXPECT_EQ(r.status, 0) << r.err;
    // The playlist is listed, then copied: every song, the local one too (answered Yes).
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 4) << r.out;
    EXPECT_NE(r.err.find("CD insertion: Please, insert CD POP01 (\"Pop Hits\"). -> OK\n"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("CD insertion: Please, insert CD JAZZ02 (\"Jazz\"). -> OK\n"), std::string::npos) << r.err;
    EXPECT_EQ(readFile(world.file("asked")).size(), std::string("POP01|Pop Hits\nJAZZ02|Jazz\n").size());
    // Not a terminal: no progress line.
    EXPECT_EQ(r.err.find('\r'), std::string::npos) << r.err;

    EXPECT_EQ(copiedFiles(), (std::set<std::string>{"Drive [M] -MUSIC-/Rock/d.mp3", "Jazz -JAZZ02-/Jazz/c.mp3",
                                                    "Pop Hits -POP01-/Pop/a.mp3", "Pop Hits -POP01-/Pop/b.mp3"}));
    EXPECT_EQ(readFile(destination() + "/Pop Hits -POP01-/Pop/a.mp3"), std::string(3000, 'a'));
    EXPECT_EQ(readFile(destination() + "/Jazz -JAZZ02-/Jazz/c.mp3"), std::string(4000, 'c'));
    const std::vector<std::string> lines = m3uLines();
    EXPECT_EQ(std::set<std::string>(lines.begin(), lines.end()), copiedFiles());
    EXPECT_EQ(lines.size(), 4u);
    // The first prompt opens the tray, OK closes it; so for each disk.
    EXPECT_EQ(readFile(app.file("Drives.log")), "EjectCD D:\r\nCloseCD D:\r\nEjectCD D:\r\nCloseCD D:\r\n");
    // The playlist was saved: the copied songs are heard from now on.
    const std::string db = readFile(dbPath());
    EXPECT_EQ(std::count(db.begin(), db.end(), '\n'), 10);
    EXPECT_NE(db.find("a.mp3:8:3000:"), std::string::npos) << db;
    EXPECT_NE(db.find("d.mp3:8:1000:"), std::string::npos) << db;
}

TEST_F(CopyRoad, LocalSongsLeftInPlaceAndADiskNeverInsertedAreHandledWithoutAPerson) {
    fs::remove_all(world.file("disks/JAZZ02"));
    // No to every question: the local drive is not copied, a Cancel is not skipped at once.
    Result r = run({"--no", "--insert", script(), "make-playlist", "+", "copy"});
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string cancelled = "CD insertion: Please, insert CD JAZZ02 (\"Jazz\"). -> Cancel\n";
    size_t prompts = 0;
    for (size_t at = r.err.find(cancelled); at != std::string::npos; at = r.err.find(cancelled, at + 1)) ++prompts;
    EXPECT_EQ(prompts, 3u) << r.err;
    EXPECT_NE(r.err.find("CD insertion: The disk Jazz (JAZZ02) was not inserted after 3 prompts; it is skipped. -> OK\n"),
              std::string::npos)
        << r.err;

    EXPECT_EQ(copiedFiles(), (std::set<std::string>{"Pop Hits -POP01-/Pop/a.mp3", "Pop Hits -POP01-/Pop/b.mp3"}));
    const std::vector<std::string> lines = m3uLines();
    EXPECT_EQ(std::set<std::string>(lines.begin(), lines.end()),
              (std::set<std::string>{"Pop Hits -POP01-/Pop/a.mp3", "Pop Hits -POP01-/Pop/b.mp3",
                                     world.file("music/Rock/d.mp3")}));
}

TEST_F(CopyRoad, InterruptDuringTheCopyStopsItWritesThePlaylistAndSavesTheDatabase) {
    // The second disk goes in, and the program is interrupted as Ctrl-C would.
    const std::string interrupt = "[ $(wc -l < '" + world.file("asked") + "') -ge 2 ] && kill -INT $PPID\nexit 0\n";
    Result r = run({"--yes", "--insert", script(interrupt), "make-playlist", "+", "copy", "+", "stats"});
    EXPECT_EQ(r.status, 130) << r.err;
    // The chain stopped: no statistics after the copy.
    EXPECT_EQ(r.out.find("VelmoMusicDataBase"), std::string::npos) << r.out;

    const std::string asked = readFile(world.file("asked"));
    const std::string second = asked.substr(asked.find('\n') + 1);
    ASSERT_FALSE(second.empty());
    const std::string secondFolder = second.starts_with("POP01") ? "Pop Hits -POP01-/" : "Jazz -JAZZ02-/";
    const std::set<std::string> copied = copiedFiles();
    EXPECT_FALSE(copied.empty());
    for (const std::string& file : copied) EXPECT_FALSE(file.starts_with(secondFolder)) << file;
    const std::vector<std::string> lines = m3uLines();
    EXPECT_EQ(std::set<std::string>(lines.begin(), lines.end()), copied);
    EXPECT_NE(readFile(dbPath()).find(":8:"), std::string::npos);
}

} // namespace
} // namespace velmo::test
