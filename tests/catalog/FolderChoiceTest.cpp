// The folders the add-disk dialog's chooser offers: what a scan would enter, nothing else.
#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

#include "catalog/FolderChoice.h"
#include "support/TestSupport.h"

namespace velmo::test {
namespace {

namespace fs = std::filesystem;

TEST(FolderChoice, OffersFoldersAndLinksToFoldersOfAnyBytesButNoFileFifoOrDanglingLink) {
    TempDir dir;
    fs::create_directories(dir.file("Pop/Old"));
    fs::create_directories(dir.file("apple"));
    fs::create_directories(dir.file("Caf\xe9"));     // Latin-1, not UTF-8
    fs::create_directories(dir.file("Bad:Name"));     // the catalogue cannot hold it: nor can a scan
    fs::create_directory_symlink(dir.file("Pop"), dir.file("ToPop"));
    fs::create_symlink(dir.file("nowhere"), dir.file("gone"));
    writeFile(dir.file("a.mp3"), "x");
    fs::create_symlink(dir.file("a.mp3"), dir.file("b.mp3"));
    ASSERT_EQ(mkfifo(dir.file("pipe").c_str(), 0600), 0);

    EXPECT_EQ(chooserFolders(dir.path()), (std::vector<std::string>{"apple", "Caf\xe9", "Pop", "ToPop"}));
    EXPECT_EQ(chooserFolders(dir.file("ToPop")), std::vector<std::string>{"Old"});
    EXPECT_TRUE(chooserFolders(dir.file("a.mp3")).empty());
    EXPECT_TRUE(chooserFolders(dir.file("pipe")).empty());
}

} // namespace
} // namespace velmo::test
