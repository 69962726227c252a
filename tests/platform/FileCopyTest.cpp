// Copying one song's file: whole or not at all under its name, never over an existing file, never
// through a link, and never hanging on something that is not a file.
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/FileCopy.h"
#include "platform/Folders.h"
#include "support/TestSupport.h"

namespace velmo::test {
namespace {

namespace fs = std::filesystem;
using platform::copyFileWithProgress;
using platform::FileCopyOutcome;

TEST(FileCopy, CopiesWholeWithProgressAndLeavesAWholeEarlierCopyAlone) {
    TempDir dir;
    const std::string content(3 * 1048576 + 17, 'q');
    writeFile(dir.file("a.mp3"), content);
    std::vector<uint64_t> reports;
    auto result = copyFileWithProgress(dir.file("a.mp3"), dir.file("b.mp3"), [&](uint64_t done) {
        reports.push_back(done);
        // While the copy runs only the partial name exists.
        EXPECT_FALSE(fs::exists(dir.file("b.mp3")));
        EXPECT_TRUE(fs::exists(dir.file(platform::partialCopyName("b.mp3"))));
        return true;
    });
    EXPECT_EQ(result.outcome, FileCopyOutcome::Copied);
    EXPECT_EQ(readFile(dir.file("b.mp3")), content);
    EXPECT_FALSE(fs::exists(dir.file(platform::partialCopyName("b.mp3"))));
    ASSERT_GE(reports.size(), 4u); // in blocks, not at once
    EXPECT_EQ(reports.back(), content.size());

    // A file of the source's size is a whole earlier copy; one of another size never became whole.
    const std::string earlier(content.size(), 'e');
    writeFile(dir.file("kept.mp3"), earlier);
    result = copyFileWithProgress(dir.file("a.mp3"), dir.file("kept.mp3"), nullptr);
    EXPECT_EQ(result.outcome, FileCopyOutcome::DestinationExists);
    EXPECT_EQ(readFile(dir.file("kept.mp3")), earlier);
    writeFile(dir.file("cut.mp3"), "cut short");
    result = copyFileWithProgress(dir.file("a.mp3"), dir.file("cut.mp3"), nullptr);
    EXPECT_EQ(result.outcome, FileCopyOutcome::Copied);
    EXPECT_EQ(readFile(dir.file("cut.mp3")), content);
}

TEST(FileCopy, ACancelledCopyLeavesNothingAndALinkAtThePartialNameIsNotFollowed) {
    TempDir dir;
    writeFile(dir.file("a.mp3"), std::string(3 * 1048576, 'q'));
    writeFile(dir.file("victim"), "outside");
    fs::create_symlink(dir.file("victim"), dir.file(platform::partialCopyName("b.mp3")));
    auto result = copyFileWithProgress(dir.file("a.mp3"), dir.file("b.mp3"), [](uint64_t) { return false; });
    EXPECT_EQ(result.outcome, FileCopyOutcome::Cancelled);
    EXPECT_FALSE(fs::exists(fs::symlink_status(dir.file("b.mp3"))));
    EXPECT_FALSE(fs::exists(fs::symlink_status(dir.file(platform::partialCopyName("b.mp3")))));
    EXPECT_EQ(readFile(dir.file("victim")), "outside");
}

TEST(FileCopy, FailuresGiveTheSystemsReasonAndSpecialFilesDoNotHang) {
    TempDir dir;
    auto result = copyFileWithProgress(dir.file("missing.mp3"), dir.file("b.mp3"), nullptr);
    EXPECT_EQ(result.outcome, FileCopyOutcome::Failed);
    EXPECT_EQ(result.reason, "No such file or directory");

    ASSERT_EQ(mkfifo(dir.file("fifo.mp3").c_str(), 0600), 0);
    result = copyFileWithProgress(dir.file("fifo.mp3"), dir.file("b.mp3"), nullptr);
    EXPECT_EQ(result.outcome, FileCopyOutcome::Failed);
    EXPECT_FALSE(fs::exists(dir.file("b.mp3")));

    writeFile(dir.file("a.mp3"), "x");
    result = copyFileWithProgress(dir.file("a.mp3"), dir.file("no/such/folder/b.mp3"), nullptr);
    EXPECT_EQ(result.outcome, FileCopyOutcome::Failed);
    EXPECT_EQ(result.reason, "No such file or directory");
}

} // namespace
} // namespace velmo::test
