// The options dialog's decisions: what it shows of the settings, which controls are usable, the
// preview of the player's calls, and OK applying every value or none.
#include <gtest/gtest.h>

#include "SettingsTestUtil.h"
#include "app/Lifecycle.h"
#include "app/OptionsDialog.h"

namespace velmo::test {
namespace {

using Lines = std::vector<std::string>;

class OptionsDialog : public SessionTest {
protected:
    void SetUp() override { ASSERT_TRUE(Startup(session, {})); }
};

TEST_F(OptionsDialog, TheDefaultsAndAChosenSaveActionReachTheProfileFile) {
    OptionsValues v = LoadOpts(session);
    EXPECT_EQ(LoadOptsCombos(session.messages)[1][static_cast<size_t>(v.ComboBoxConfirmSaving)], "Save");
    EXPECT_EQ(v.EditMDBPath, path("Profiles/Default/MusicBase"));
    EXPECT_EQ(v.EditMDBSize, "500");
    EXPECT_TRUE(v.CheckBoxExtensions[0] && v.CheckBoxExtensions[1] && !v.CheckBoxExtensions[2]);

    v.ComboBoxConfirmSaving = 1;
    ASSERT_EQ(ApplyOpts(session, v), std::nullopt);
    const ConfirmOptions& o = session.settings.ConfirmOpts;
    EXPECT_TRUE(!o[AutoSave] && o[AutoSaveAs] && !o[AutoDontSave]);
    EXPECT_NE(readFile(profileFile("Default", "Profile.ini")).find("AutoSaveAs\r\n"), std::string::npos);
    // A destination inside the program folder stays relative.
    EXPECT_EQ(session.settings.PathToDB, "Profiles\\Default\\MusicBase");
}

TEST_F(OptionsDialog, EnablingRulesWithTheirOppositeSenses) {
    OptionsValues v = LoadOpts(session);
    v.CheckBoxConfirmSaving = true;
    v.CheckBoxSkip = false;
    EXPECT_FALSE(enablingRules(v).ComboBoxConfirmSaving);
    EXPECT_FALSE(enablingRules(v).ComboBoxSkip);
    v.CheckBoxConfirmSaving = false;
    v.CheckBoxSkip = true;
    EXPECT_TRUE(enablingRules(v).ComboBoxConfirmSaving);
    EXPECT_TRUE(enablingRules(v).ComboBoxSkip);

    v.RadioButtonBuiltIn = true;
    EXPECT_FALSE(enablingRules(v).GroupBoxExPlayerConfig);
    EXPECT_FALSE(enablingRules(v).CheckBoxPassLastBeforeFile);
    v.RadioButtonBuiltIn = false;
    EXPECT_TRUE(enablingRules(v).CheckBoxPassLastBeforeFile);
    v.PlayerConfigs[static_cast<size_t>(v.ComboBoxPlayNowConfig)].PassLastSeparately = true;
    EXPECT_FALSE(enablingRules(v).CheckBoxPassLastBeforeFile);
}

TEST_F(OptionsDialog, ThePreviewShowsEveryCallTheExternalPlayWouldMakeWithTheRealListFile) {
    TPlayerConfig c{"P", "/usr/bin/player", " -b", " -a", "m3u", "", false, false, false};
    const std::string list = "\"" + path("Profiles/Default/PlayList.m3u") + "\"";
    EXPECT_EQ(ReloadPreView(c, session), (Lines{"/usr/bin/player -b " + list + " -a"}));
    c.PassLastBeforeFile = true;
    EXPECT_EQ(ReloadPreView(c, session), (Lines{"/usr/bin/player -b -a " + list}));
    c.PassLastSeparately = true;
    c.PassFirstSeparately = true;
    EXPECT_EQ(ReloadPreView(c, session), (Lines{"/usr/bin/player -b", "/usr/bin/player " + list, "/usr/bin/player -a"}));

    // The list of the profile in use, named by the message table.
    session.CurrentProfile = "Party";
    session.messages.replaceAll([&] {
        std::vector<std::string> m = session.messages.all();
        m[msgPlayListName] = "Liste";
        return m;
    }());
    c = {"P", "/usr/bin/player", "", "", "xspf", "", false, false, false};
    EXPECT_EQ(ReloadPreView(c, session), (Lines{"/usr/bin/player \"" + path("Profiles/Party/Liste.xspf") + "\""}));
}

TEST_F(OptionsDialog, OkAppliesEveryValueOrNoneAndPathsAndExtensionsAreStoredAsTheFileWants) {
    OptionsValues v = LoadOpts(session);
    v.EditMDBSize = "700";
    v.EditFixGoodSize = "x1";
    EXPECT_EQ(ApplyOpts(session, v), std::string("'x1' is not a valid integer value"));
    EXPECT_EQ(session.settings.SizeOfDB, 500); // nothing applied
    // The dialog puts the focus on the field that holds the bad number, the first one first.
    EXPECT_EQ(checkOpts(v)->control, "EditFixGoodSize");
    v.EditMDBSize = "";
    EXPECT_EQ(checkOpts(v)->control, "EditMDBSize");
    v.EditMDBSize = "700";

    v.EditFixGoodSize = "30";
    v.EditWithExts = "aif";
    v.CheckBoxExtensions = {false, false, true, false, false, true};
    v.EditMDBPath = path("Elsewhere/Music/");
    ASSERT_EQ(ApplyOpts(session, v), std::nullopt);
    EXPECT_EQ(session.settings.SizeOfDB, 700);
    EXPECT_EQ(session.settings.GoodPercent, 30);
    EXPECT_EQ(session.settings.UserExtensions, (Lines{"aif"}));
    EXPECT_EQ(session.settings.StdExtensions, (Lines{"OGG", "MID"}));
    EXPECT_EQ(session.settings.PathToDB, "Elsewhere\\Music");

    v.EditWithExts = "aif;mp2;";
    v.EditMDBPath = path("../outside");
    ASSERT_EQ(ApplyOpts(session, v), std::nullopt);
    EXPECT_EQ(session.settings.UserExtensions, (Lines{"aif", "mp2"}));
    EXPECT_EQ(session.settings.PathToDB.rfind("..\\", 0), 0u);

    // Another file system: the absolute path.
    v.EditMDBPath = "/proc/velmo-nowhere";
    ASSERT_EQ(ApplyOpts(session, v), std::nullopt);
    EXPECT_EQ(session.settings.PathToDB, "/proc/velmo-nowhere");
}

} // namespace
} // namespace velmo::test
