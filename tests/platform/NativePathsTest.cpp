// Stored file names (relative to the program folder, "\" separators) and paths on this
// machine, both ways.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/NativePaths.h"
#include "support/TestSupport.h"

namespace velmo::platform {
namespace {

const std::string kApp = "/home/me/VelmoMusicDB";

// Runs `f` with `folder` as the working folder.
template <class F> auto inFolder(const std::string& folder, F f) {
    const std::filesystem::path old = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    auto result = f();
    std::filesystem::current_path(old);
    return result;
}

TEST(NativePaths, StoredNamesBelowTheProgramFolderBecomeNativeAndBack) {
    const std::string stored = "Profiles\\Default\\Default.vmdb";
    const std::string native = storedToNative(kApp, stored);
    EXPECT_EQ(native, kApp + "/Profiles/Default/Default.vmdb");
    EXPECT_EQ(nativeToStored(kApp, native), stored);
}

TEST(NativePaths, AbsoluteStoredNamesStayAsTheyAre) {
    EXPECT_EQ(storedToNative(kApp, "/srv/music/db.vmdb"), "/srv/music/db.vmdb");
    EXPECT_EQ(nativeToStored(kApp, "/srv/music/db.vmdb"), "/srv/music/db.vmdb");
}

TEST(NativePaths, APathBesideTheProgramFolderIsNotBelowIt) {
    // "/home/me/VelmoMusicDB2" shares the folder's name as a prefix but is another folder.
    EXPECT_EQ(nativeToStored(kApp, kApp + "2/x.vmdb"), kApp + "2/x.vmdb");
    EXPECT_EQ(nativeToStored(kApp, "/home/me/x.vmdb"), "/home/me/x.vmdb");
}

TEST(NativePaths, DotsAndDoubledSeparatorsAreResolvedBeforeComparing) {
    EXPECT_EQ(nativeToStored(kApp, kApp + "/Profiles/../Profiles//A/./a.vmdb"), "Profiles\\A\\a.vmdb");
    EXPECT_EQ(nativeToStored(kApp + "/", kApp + "/Profiles/A/a.vmdb"), "Profiles\\A\\a.vmdb");
    EXPECT_EQ(nativeToStored(kApp, kApp + "/../elsewhere/a.vmdb"), "/home/me/elsewhere/a.vmdb");
    EXPECT_EQ(storedToNative(kApp, "Profiles\\\\A\\.\\a.vmdb"), kApp + "/Profiles/A/a.vmdb");
    // A stored name climbing out of the program folder lands beside it, never inside.
    EXPECT_EQ(storedToNative(kApp, "..\\other\\a.vmdb"), "/home/me/other/a.vmdb");
}

TEST(NativePaths, ARelativeNativePathIsTakenFromTheWorkingFolder) {
    test::TempDir dir;
    EXPECT_EQ(inFolder(dir.path(), [&] { return nativeToStored(dir.path(), "Profiles/A/a.vmdb"); }),
              "Profiles\\A\\a.vmdb");
    EXPECT_EQ(inFolder(dir.path(), [&] { return nativeToStored(dir.path() + "/Profiles", "a.vmdb"); }),
              dir.path() + "/a.vmdb");
}

TEST(NativePaths, StoredFolderIsThePartBeforeTheLastSeparator) {
    EXPECT_EQ(storedFolder("Profiles\\Default\\Default.vmdb"), "Profiles\\Default");
    EXPECT_EQ(storedFolder("/srv/music/db.vmdb"), "/srv/music");
    EXPECT_EQ(storedFolder("db.vmdb"), "");
    EXPECT_EQ(storedFolder(""), "");
}

TEST(NativePaths, AnExplicitProgramFolderIsMadeAbsoluteWithoutATrailingSlash) {
    EXPECT_EQ(resolveAppDir("/srv/velmo/"), "/srv/velmo");
    EXPECT_EQ(resolveAppDir("/srv//velmo/./db/.."), "/srv/velmo");
    EXPECT_EQ(resolveAppDir("/"), "/");
    test::TempDir dir;
    EXPECT_EQ(inFolder(dir.path(), [] { return resolveAppDir("music"); }), dir.path() + "/music");
}

} // namespace
} // namespace velmo::platform
