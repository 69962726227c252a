// The session's services: the drive table of the run and the listeners of profile and
// settings changes.
#include <gtest/gtest.h>

#include "SettingsTestUtil.h"
#include "app/Lifecycle.h"
#include "app/SessionListener.h"
#include "app/Profiles.h"

namespace velmo::test {
namespace {

using Names = std::vector<std::string>;

class DrivesOfTheRun : public SessionTest {};

TEST_F(DrivesOfTheRun, AreReadOnceAndAgainAtEachDetection) {
    writeFile(path("Drives.ini"), "C=fixed;/\r\nE=cdrom;" + path("cd") + "\r\n");
    EXPECT_EQ(session.CDDrives(), Names{"E:"});
    EXPECT_EQ(session.HardDrives(), Names{"C:"});

    // An edit of the file counts from the next detection on, not before.
    writeFile(path("Drives.ini"), "C=fixed;/\r\nF=cdrom;" + path("cd2") + "\r\nE=cdrom;" + path("cd") +
                                      "\r\nM=removable;" + path("m") + "\r\n");
    EXPECT_EQ(session.CDDrives(), Names{"E:"});
    session.DetectCDDrives();
    EXPECT_EQ(session.CDDrives(), (Names{"E:", "F:"}));
    EXPECT_EQ(session.HardDrives(), (Names{"C:", "M:"}));
    EXPECT_EQ(session.drives().kind('F'), platform::DriveKind::CdRom);
}

// Counts what it hears.
struct CountingListener : SessionListener {
    int profiles = 0, settings = 0, language = 0;
    void profilesChanged() override { ++profiles; }
    void settingsChanged() override { ++settings; }
    void languageChanged() override { ++language; }
};

class SessionListeners : public SessionTest {
protected:
    SessionListeners() { session.addListener(&heard); }
    ~SessionListeners() override { session.removeListener(&heard); }
    CountingListener heard;
};

TEST_F(SessionListeners, HearStartUpAndEveryProfileCommandThatChangedSomething) {
    ASSERT_TRUE(Startup(session, {}));
    EXPECT_EQ(heard.profiles, 1);
    EXPECT_EQ(heard.settings, 1);

    EXPECT_TRUE(NewProfile(session, "Party"));
    EXPECT_EQ(heard.profiles, 2);
    EXPECT_EQ(heard.settings, 2);
    EXPECT_FALSE(NewProfile(session, "party")); // refused: nothing to hear
    EXPECT_EQ(heard.profiles, 2);

    EXPECT_TRUE(RenameProfile(session, "Dance"));
    EXPECT_EQ(heard.profiles, 3);
    SwitchProfile(session, "Default");
    EXPECT_EQ(heard.profiles, 4);
    EXPECT_EQ(heard.settings, 4);
    SwitchProfile(session, "Dance");
    EXPECT_TRUE(DeleteProfile(session));
    EXPECT_EQ(session.Profiles, Names{"Default"});
    EXPECT_GE(heard.profiles, 6);
    EXPECT_EQ(heard.language, 1); // once, when the start applied the language

    session.removeListener(&heard);
    session.notifyLanguageChanged();
    EXPECT_EQ(heard.language, 1);
}

} // namespace
} // namespace velmo::test
