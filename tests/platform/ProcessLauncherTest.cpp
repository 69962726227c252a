#include "platform/ProcessLauncher.h"

#include "support/TestSupport.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <thread>

namespace velmo::platform {
namespace {

using test::TempDir;

// Waits for a file a started program writes; the program runs on its own, so it may take a moment.
bool appears(const std::string& path) {
    for (int i = 0; i < 500; ++i) {
        if (std::filesystem::exists(path) && std::filesystem::file_size(path) > 0) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

TEST(DetachedProcessLauncher, RunsTheProgramWithItsWordsInTheWorkingFolderAndLeavesNoChild) {
    TempDir dir;
    DetachedProcessLauncher launcher;
    // A word with blanks and a ";" stays one argument: no shell reads it.
    const std::optional<std::string> failure =
        launcher.start("cp", {"--", "/etc/hostname", "copy of; hostname"}, dir.path());
    ASSERT_FALSE(failure) << *failure;
    EXPECT_TRUE(appears(dir.file("copy of; hostname")));
    // The started program is not this process's child, so nothing is left to reap.
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
}

TEST(DetachedProcessLauncher, ReportsWhyAProgramCouldNotStart) {
    TempDir dir;
    DetachedProcessLauncher launcher;
    EXPECT_EQ(launcher.start("velmo-no-such-program", {}, ""),
              "Cannot start \"velmo-no-such-program\". No such file or directory");
    EXPECT_EQ(launcher.start(dir.file("missing"), {}, ""),
              "Cannot start \"" + dir.file("missing") + "\". No such file or directory");
    test::writeFile(dir.file("not-executable"), "#!/bin/true\n");
    EXPECT_EQ(launcher.start(dir.file("not-executable"), {}, ""),
              "Cannot start \"" + dir.file("not-executable") + "\". Permission denied");
    EXPECT_EQ(launcher.start("/bin/true", {}, dir.file("gone")),
              "Cannot start \"/bin/true\" in the folder \"" + dir.file("gone") + "\". No such file or directory");
    EXPECT_FALSE(launcher.start("/bin/true", {}, dir.path()));
}

} // namespace
} // namespace velmo::platform
