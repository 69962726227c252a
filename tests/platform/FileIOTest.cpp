// File operations on real temporary folders: whole-file reads, atomic replacement, copies,
// listings, appended lines, and the system's reason when an operation fails.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <stdexcept>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/FileIO.h"
#include "support/TestSupport.h"

namespace velmo::platform {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::TempDir;
using test::writeFile;

std::optional<std::string> writeText(const std::string& path, const std::string& text) {
    return writeFileAtomically(path, [&](const auto& sink) { sink(text); });
}

// Every name in a folder, sorted: what a failed step may have left behind.
std::vector<std::string> namesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(FileIO, ReadWholeFileReturnsEveryByte) {
    TempDir dir;
    std::string bytes(200000, '\0');
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7);
    writeFile(dir.file("a.bin"), bytes);
    writeFile(dir.file("empty"), "");
    EXPECT_EQ(readWholeFile(dir.file("a.bin")), bytes);
    EXPECT_EQ(readWholeFile(dir.file("empty")), std::string());
    EXPECT_EQ(readWholeFile(dir.file("missing")), std::nullopt);
    EXPECT_EQ(readWholeFile(dir.path()), std::nullopt); // a folder is not a file
}

TEST(FileIO, ReadWholeFileRefusesWhatIsNoRegularFileOrTooLargeWithoutWaiting) {
    test::HangGuard guard(30);
    TempDir dir;
    ASSERT_EQ(mkfifo(dir.file("fifo").c_str(), 0600), 0);
    errno = 0;
    EXPECT_EQ(readWholeFile(dir.file("fifo")), std::nullopt);
    EXPECT_EQ(errno, EINVAL);
    // A device behind a link: refused before the first byte, not read until memory runs out.
    fs::create_symlink("/dev/zero", dir.file("zero"));
    EXPECT_EQ(readWholeFile(dir.file("zero")), std::nullopt);
    EXPECT_EQ(errno, EINVAL);

    writeFile(dir.file("big"), std::string(1000, 'x'));
    EXPECT_EQ(readWholeFile(dir.file("big"), 999), std::nullopt);
    EXPECT_EQ(errno, EFBIG);
    EXPECT_EQ(readWholeFile(dir.file("big"), 1000), std::string(1000, 'x'));
    // Files of /proc report no size: read whole, and still held to the limit.
    auto mounts = readWholeFile("/proc/self/mountinfo");
    ASSERT_TRUE(mounts);
    EXPECT_FALSE(mounts->empty());
    EXPECT_EQ(readWholeFile("/proc/self/mountinfo", 10), std::nullopt);
    EXPECT_EQ(errno, EFBIG);
}

TEST(FileIO, AtomicWriteReplacesTheFileAndLeavesNothingElse) {
    TempDir dir;
    writeFile(dir.file("db.vmdb"), "old content that is longer");
    const auto error = writeFileAtomically(dir.file("db.vmdb"), [](const auto& sink) {
        sink("first ");
        sink("");
        sink("second");
    });
    EXPECT_EQ(error, std::nullopt);
    EXPECT_EQ(readFile(dir.file("db.vmdb")), "first second");
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"db.vmdb"});
}

TEST(FileIO, AtomicWriteRemovesTemporaryFilesOfInterruptedSavesThatNoOneWrites) {
    TempDir dir;
    auto makeOld = [&](const std::string& name) {
        writeFile(dir.file(name), "half a database");
        const timespec times[2] = {{time(nullptr) - 120, 0}, {time(nullptr) - 120, 0}};
        ASSERT_EQ(utimensat(AT_FDCWD, dir.file(name).c_str(), times, 0), 0);
    };
    makeOld("Default.vmdb.tmp-aB3xY9");
    makeOld("Default.vmdb.tmp-Qq0000");
    makeOld("Other.vmdb.tmp-aB3xY9");       // another file's
    makeOld("Default.vmdb.tmp-aB3xY9.bak"); // not the pattern
    makeOld("Default.vmdb.tmp-locked");     // a save still at work holds its lock
    writeFile(dir.file("Default.vmdb.tmp-fresh1"), "just begun"); // changed within the minute
    const int held = open(dir.file("Default.vmdb.tmp-locked").c_str(), O_RDONLY);
    ASSERT_GE(held, 0);
    ASSERT_EQ(flock(held, LOCK_EX), 0);

    EXPECT_EQ(writeText(dir.file("Default.vmdb"), "new"), std::nullopt);
    EXPECT_EQ(namesIn(dir.path()),
              (std::vector<std::string>{"Default.vmdb", "Default.vmdb.tmp-aB3xY9.bak", "Default.vmdb.tmp-fresh1",
                                        "Default.vmdb.tmp-locked", "Other.vmdb.tmp-aB3xY9"}));
    close(held);
    EXPECT_EQ(removeStaleTemporaryFiles(dir.file("Default.vmdb")), 1u);
    EXPECT_FALSE(fs::exists(dir.file("Default.vmdb.tmp-locked")));
    EXPECT_EQ(readFile(dir.file("Default.vmdb")), "new");
}

TEST(FileIO, AtomicWriteKeepsTheModeOfTheFileItReplaces) {
    TempDir dir;
    writeFile(dir.file("a"), "x");
    fs::permissions(dir.file("a"), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_EQ(writeText(dir.file("a"), "y"), std::nullopt);
    EXPECT_EQ(fs::status(dir.file("a")).permissions() & fs::perms::mask,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST(FileIO, AtomicWriteCreatesMissingParentFolders) {
    TempDir dir;
    EXPECT_EQ(writeText(dir.file("Profiles/New/New.vmdb"), "z"), std::nullopt);
    EXPECT_EQ(readFile(dir.file("Profiles/New/New.vmdb")), "z");
}

TEST(FileIO, AtomicWriteBelowAFileFailsWithTheReason) {
    TempDir dir;
    writeFile(dir.file("Profiles"), "a file where a folder is expected");
    EXPECT_EQ(writeText(dir.file("Profiles/Default/Default.vmdb"), "z"), "Not a directory");
    EXPECT_EQ(readFile(dir.file("Profiles")), "a file where a folder is expected");
}

TEST(FileIO, AtomicWriteOverAFolderFailsAndLeavesNoTemporaryFile) {
    TempDir dir;
    fs::create_directories(dir.file("db.vmdb/inside"));
    EXPECT_EQ(writeText(dir.file("db.vmdb"), "z"), "Is a directory");
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"db.vmdb"});
    EXPECT_TRUE(fs::is_directory(dir.file("db.vmdb/inside")));
}

TEST(FileIO, CopyFileCopiesOverAnExistingFile) {
    TempDir dir;
    writeFile(dir.file("from.mp3"), std::string(70000, 'a') + "end");
    writeFile(dir.file("to/to.mp3"), "older");
    EXPECT_EQ(copyFile(dir.file("from.mp3"), dir.file("to/to.mp3")), std::nullopt);
    EXPECT_EQ(readFile(dir.file("to/to.mp3")), std::string(70000, 'a') + "end");
    EXPECT_EQ(namesIn(dir.file("to")), std::vector<std::string>{"to.mp3"});
}

TEST(FileIO, CopyFailuresNameTheReasonAndLeaveTheTargetAlone) {
    TempDir dir;
    writeFile(dir.file("to.mp3"), "kept");
    EXPECT_EQ(copyFile(dir.file("missing.mp3"), dir.file("to.mp3")), "No such file or directory");
    EXPECT_EQ(readFile(dir.file("to.mp3")), "kept");
    writeFile(dir.file("from.mp3"), "data");
    writeFile(dir.file("file"), "");
    EXPECT_EQ(copyFile(dir.file("from.mp3"), dir.file("file/to.mp3")), "Not a directory");
}

TEST(FileIO, ListingGivesFilesAndFoldersWithSizesAndSkipsDanglingLinks) {
    TempDir dir;
    writeFile(dir.file("d/a.mp3"), "12345");
    writeFile(dir.file("d/.hidden"), "");
    fs::create_directories(dir.file("d/Sub"));
    fs::create_symlink(dir.file("d/Sub"), dir.file("d/LinkToSub"));
    fs::create_symlink(dir.file("d/gone"), dir.file("d/dangling"));
    auto entries = listDirectory(dir.file("d"));
    ASSERT_TRUE(entries);
    std::sort(entries->begin(), entries->end(), [](const DirEntry& a, const DirEntry& b) { return a.name < b.name; });
    ASSERT_EQ(entries->size(), 4u);
    EXPECT_EQ((*entries)[0].name, ".hidden");
    EXPECT_EQ((*entries)[1].name, "LinkToSub");
    EXPECT_TRUE((*entries)[1].isDirectory);
    EXPECT_EQ((*entries)[2].name, "Sub");
    EXPECT_EQ((*entries)[3].name, "a.mp3");
    EXPECT_FALSE((*entries)[3].isDirectory);
    EXPECT_EQ((*entries)[3].size, 5);
    // A link and its target are one folder.
    EXPECT_EQ(std::pair((*entries)[1].device, (*entries)[1].inode), std::pair((*entries)[2].device, (*entries)[2].inode));
    EXPECT_EQ(folderIdentity(dir.file("d/LinkToSub")), folderIdentity(dir.file("d/Sub")));

    EXPECT_EQ(listDirectory(dir.file("missing")), std::nullopt);
    EXPECT_EQ(listDirectory(dir.file("d/a.mp3")), std::nullopt);
    EXPECT_EQ(folderIdentity(dir.file("d/a.mp3")), std::nullopt);
}

TEST(FileIO, AppendLineAddsCrLfLinesToTheEnd) {
    TempDir dir;
    EXPECT_EQ(appendLine(dir.file("FileList.txt"), "one"), std::nullopt);
    EXPECT_EQ(appendLine(dir.file("FileList.txt"), ""), std::nullopt);
    EXPECT_EQ(appendLine(dir.file("FileList.txt"), "three"), std::nullopt);
    EXPECT_EQ(readFile(dir.file("FileList.txt")), "one\r\n\r\nthree\r\n");
}

TEST(FileIO, AppendAndCreateFailuresNameTheReason) {
    TempDir dir;
    EXPECT_EQ(appendLine(dir.file("missing/FileList.txt"), "x"), "No such file or directory");
    EXPECT_EQ(appendLine(dir.path(), "x"), "Is a directory");
    EXPECT_EQ(createEmptyFile(dir.file("missing/FileList.txt")), "No such file or directory");
    EXPECT_EQ(createEmptyFile(dir.path()), "Is a directory");
}

TEST(FileIO, CreateEmptyFileEmptiesAnExistingFile) {
    TempDir dir;
    writeFile(dir.file("FileList.txt"), "old lines\r\n");
    EXPECT_EQ(createEmptyFile(dir.file("FileList.txt")), std::nullopt);
    EXPECT_EQ(readFile(dir.file("FileList.txt")), "");
}

TEST(FileIO, FileExistsAndRemoveFileSeeOnlyFiles) {
    TempDir dir;
    writeFile(dir.file("a"), "x");
    fs::create_directories(dir.file("folder"));
    EXPECT_TRUE(fileExists(dir.file("a")));
    EXPECT_FALSE(fileExists(dir.file("folder")));
    EXPECT_FALSE(fileExists(dir.file("missing")));
    EXPECT_TRUE(folderExists(dir.file("folder")));
    EXPECT_FALSE(folderExists(dir.file("a")));
    EXPECT_EQ(removeFile(dir.file("a")), std::nullopt);
    EXPECT_FALSE(fs::exists(dir.file("a")));
    EXPECT_EQ(removeFile(dir.file("missing")), std::nullopt); // already gone
    EXPECT_EQ(removeFile(dir.file("folder")), "Is a directory");
    EXPECT_TRUE(fs::is_directory(dir.file("folder")));
}

TEST(FileIO, RenameNeverReplacesAndSaysWhy) {
    TempDir dir;
    writeFile(dir.file("Old/a.vmdb"), "old");
    fs::create_directories(dir.file("Taken"));
    writeFile(dir.file("taken.txt"), "kept");
    EXPECT_EQ(renamePath(dir.file("Old"), dir.file("Taken")), "File exists");
    EXPECT_EQ(renamePath(dir.file("Old/a.vmdb"), dir.file("taken.txt")), "File exists");
    EXPECT_EQ(readFile(dir.file("taken.txt")), "kept");
    EXPECT_EQ(renamePath(dir.file("Missing"), dir.file("New")), "No such file or directory");
    EXPECT_EQ(renamePath(dir.file("Old"), dir.file("no/such/parent/New")), "No such file or directory");
    EXPECT_EQ(readFile(dir.file("Old/a.vmdb")), "old");
    EXPECT_EQ(renamePath(dir.file("Old"), dir.file("New")), std::nullopt);
    EXPECT_EQ(readFile(dir.file("New/a.vmdb")), "old");
    EXPECT_FALSE(fs::exists(dir.file("Old")));
}

TEST(FileIO, CreateFoldersMakesTheWholeChainOrSaysWhy) {
    TempDir dir;
    EXPECT_EQ(createFolders(dir.file("a/b/c")), std::nullopt);
    EXPECT_TRUE(fs::is_directory(dir.file("a/b/c")));
    EXPECT_EQ(createFolders(dir.file("a/b/c")), std::nullopt); // already there
    writeFile(dir.file("file"), "");
    EXPECT_EQ(createFolders(dir.file("file")), "Not a directory");
    EXPECT_EQ(createFolders(dir.file("file/sub")), "Not a directory");
    EXPECT_TRUE(fs::is_regular_file(dir.file("file")));
}

} // namespace
} // namespace velmo::platform
