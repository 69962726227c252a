// The table of every caption and hint: the language file's line order, the twins, the texts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/TextTable.h"

namespace velmo {
namespace {

constexpr TextRole C = TextRole::Caption;
constexpr TextRole H = TextRole::Hint;

struct Line {
    size_t number;
    const char* window;
    const char* component;
    TextRole role;
};

TEST(TextTable, LanguageFileLinesComeInTheWindowsLayoutOrder) {
    const TextTable& t = TextTable::english();
    ASSERT_EQ(t.languageLines().size(), 200u);
    const Line lines[] = {
        {1, "TMainForm", "TabSheetMusicDB", C},
        {2, "TMainForm", "ButtonMakePlayList", C},
        {3, "TMainForm", "ButtonMakePlayList", H},
        {12, "TMainForm", "BitBtnUsed", H},
        {14, "TMainForm", "BitBtnFav", H},
        {24, "TMainForm", "BitBtnJustGood5", H},
        {25, "TMainForm", "ComboBoxProfiles", H},
        {45, "TMainForm", "EditSearch", H},
        {67, "TMainForm", "MenuItemUnUsed", H},
        {72, "TMainForm", "ContextMenuItemReloadTag", H},
        {78, "TMainForm", "ContextMenuItemJustGood", C},
        {79, "TAddCDForm", "PanelCDLabel", C},
        {89, "TAddCDForm", "ButtonChooseFolder", C},
        {92, "TAddCDForm", "CheckBoxRooted", H},
        {93, "TCopyCDForm", "PanelNowCopyingCF", C},
        {102, "TCopyCDForm", "ButtonAbort", H},
        {103, "TCopyCDForm", "PanelDiskProgressCF", C},
        {104, "TOptionsForm", "ButtonOK", C},
        {107, "TOptionsForm", "ButtonCancel", H},
        {130, "TOptionsForm", "TabSheetConfirmOpts", C},
        {143, "TOptionsForm", "ComboBoxSkip", H},
        {169, "TOptionsForm", "PanelShellCommand", C},
        {177, "TOptionsForm", "TabSheetPlayNow", C},
        {196, "TOptionsForm", "ComboBoxPlayNowConfig", H},
        {197, "TOpenFolderForm", "ButtonChoose", C},
        {200, "TOpenFolderForm", "ButtonCancel", H},
    };
    for (const Line& l : lines) {
        const size_t at = t.entryOfLine(l.number);
        ASSERT_NE(at, TextEntry::npos) << l.number;
        const TextEntry& e = t.entries()[at];
        EXPECT_EQ(e.window, l.window) << l.number;
        EXPECT_EQ(e.component, l.component) << l.number;
        EXPECT_EQ(e.role, l.role) << l.number;
        EXPECT_TRUE(e.translatable) << l.number;
        EXPECT_EQ(t.find(l.window, l.component, l.role), at) << l.number;
    }
    EXPECT_EQ(t.entryOfLine(0), TextEntry::npos);
    EXPECT_EQ(t.entryOfLine(201), TextEntry::npos);

    // Each window's lines are one block, in the file's window order; no other entry is a line.
    size_t translatable = 0;
    for (const TextEntry& e : t.entries()) translatable += e.translatable;
    EXPECT_EQ(translatable, 200u);
    const size_t firsts[] = {1, 79, 93, 104, 197, 201};
    for (size_t w = 0; w < TextTable::kLanguageWindows.size(); ++w)
        for (size_t line = firsts[w]; line < firsts[w + 1]; ++line)
            EXPECT_EQ(t.entries()[t.entryOfLine(line)].window, TextTable::kLanguageWindows[w]) << line;
}

TEST(TextTable, EveryTwinShowsATextTheLanguageFileHolds) {
    const TextTable& t = TextTable::english();
    size_t twins = 0;
    for (size_t i = 0; i < t.entries().size(); ++i) {
        const TextEntry& e = t.entries()[i];
        if (e.twinOf == TextEntry::npos) continue;
        ++twins;
        ASSERT_LT(e.twinOf, t.entries().size()) << e.component;
        const TextEntry& source = t.entries()[e.twinOf];
        EXPECT_TRUE(source.translatable) << e.component;
        EXPECT_EQ(source.window, e.window) << e.component;
        EXPECT_FALSE(e.translatable) << e.component;
        EXPECT_EQ(&t.text(i), &source.text) << e.component;
    }
    // Per tab: five hints (four Just Good ones), Select All and Delete; the context menu and the
    // Just Good menus.
    EXPECT_EQ(twins, 5u * 5 + 4 + 4 * 2 + 5 * 2 + 2 * 2 + 6 + 1 + 4 + 3 * 2);

    auto sourceOf = [&](const char* component, TextRole role) {
        const size_t at = t.find("TMainForm", component, role);
        EXPECT_NE(at, TextEntry::npos) << component;
        return at == TextEntry::npos ? std::string() : t.entries()[t.entries()[at].twinOf].component;
    };
    EXPECT_EQ(sourceOf("BitBtnFav5", H), "BitBtnFav");
    EXPECT_EQ(sourceOf("BitBtnJustGood4", H), "BitBtnJustGood");
    EXPECT_EQ(sourceOf("ButtonSelectAll5", C), "ButtonSelectAll1");
    EXPECT_EQ(sourceOf("ButtonDelete1", H), "ButtonDelete");
    EXPECT_EQ(sourceOf("ContextMenuItemPlayNow", H), "ButtonPlayNow");
    EXPECT_EQ(sourceOf("ContextMenuItemBlack", H), "BitBtnBlack");
    EXPECT_EQ(sourceOf("ContextMenuRootItemJustGood", C), "ContextMenuItemJustGood");
    // A twin of a twin ends at the held text.
    EXPECT_EQ(sourceOf("ContextMenuItemGoodUsed", C), "ContextMenuItemUsed");
    EXPECT_EQ(sourceOf("ContextMenuItemGoodUsed", H), "MenuItemUsed");
    EXPECT_EQ(sourceOf("ContextMenuItemGoodPlayList", H), "BitBtnPlayList");
    // The Just Good menu button of tab 5 and Select All of tab 1 hold texts of their own.
    EXPECT_TRUE(t.entries()[t.find("TMainForm", "BitBtnJustGood5", H)].translatable);
    EXPECT_EQ(t.find("TMainForm", "BitBtnJustGood5", C), TextEntry::npos);
}

TEST(TextTable, ATranslatedLineReachesEveryTwin) {
    TextTable t;
    ASSERT_TRUE(t.setLanguageLine(12, "Als gehoert markieren"));
    for (const char* c : {"BitBtnUsed", "BitBtnUsed1", "BitBtnUsed5", "ContextMenuItemUsed"})
        EXPECT_EQ(*t.textOf("TMainForm", c, H), "Als gehoert markieren") << c;
    ASSERT_TRUE(t.setLanguageLine(73, "Gehoert"));
    for (const char* c : {"ContextMenuItemUsed", "MenuItemUsed", "ContextMenuItemGoodUsed"})
        EXPECT_EQ(*t.textOf("TMainForm", c, C), "Gehoert") << c;
    EXPECT_EQ(t.languageLines()[11], "Als gehoert markieren");
    EXPECT_EQ(*TextTable::english().textOf("TMainForm", "BitBtnUsed3", H), "Mark selected file(s) as used");
    EXPECT_FALSE(t.setLanguageLine(201, "x"));

    // Only held texts change by name.
    EXPECT_TRUE(t.setText("TOptionsForm", "LabelPercent", C, "v. H."));
    EXPECT_EQ(*t.textOf("TOptionsForm", "LabelPercent", C), "v. H.");
    EXPECT_FALSE(t.setText("TMainForm", "ButtonDelete3", C, "x"));
    EXPECT_FALSE(t.setText("TOptionsForm", "GroupBoxExPlayerConfig", C, "x"));
    EXPECT_FALSE(t.setText("TMainForm", "NoSuchButton", C, "x"));
}

TEST(TextTable, WindowCaptionsAndGroupBoxesFollowTheirMessages) {
    TextTable t;
    EXPECT_EQ(*t.textOf("TOptionsForm", "TOptionsForm", C), "Options");
    EXPECT_EQ(*t.textOf("TOptionsForm", "GroupBoxShellExConfig", C), "Shell execute configuration");
    std::vector<std::string> messages(93);
    for (size_t i = 0; i < messages.size(); ++i) messages[i] = "m" + std::to_string(i);
    t.copyMessages(messages);
    EXPECT_EQ(*t.textOf("TAddCDForm", "TAddCDForm", C), "m5");
    EXPECT_EQ(*t.textOf("TOpenFolderForm", "TOpenFolderForm", C), "m8");
    EXPECT_EQ(*t.textOf("TOptionsForm", "TOptionsForm", C), "m9");
    EXPECT_EQ(*t.textOf("TCopyCDForm", "TCopyCDForm", C), "m14");
    EXPECT_EQ(*t.textOf("TOptionsForm", "GroupBoxExPlayerConfig", C), "m61");
    EXPECT_EQ(*t.textOf("TOptionsForm", "GroupBoxShellExConfig", C), "m77");
    EXPECT_EQ(*t.textOf("TOptionsForm", "CheckBoxMP3", C), "mp3");
}

TEST(TextTable, BuiltInTextsAsTheProgramHasAlwaysShownThem) {
    const TextTable& t = TextTable::english();
    auto text = [&](const char* window, const char* component, TextRole role) {
        const std::string* s = t.textOf(window, component, role);
        return s ? *s : std::string("<none>");
    };
    EXPECT_EQ(text("TMainForm", "ButtonSwitchView", H), "Switch to another three (Ctrl+~)");
    EXPECT_EQ(text("TMainForm", "ButtonSearch", H), "Tries to to find the entered text in file names (Enter)");
    EXPECT_EQ(text("TMainForm", "ButtonPlayNow", C), "Play now !");
    EXPECT_EQ(text("TMainForm", "ButtonManageDB", C), "Manage DB >>");
    EXPECT_EQ(text("TAddCDForm", "ButtonChooseFolder", C), "Choose  folder");
    EXPECT_EQ(text("TAddCDForm", "CheckBoxRooted", H),
              "If checked, the added  folder/disk will be marked as root one. Otherwise, all first-level child "
              "folders will.");
    EXPECT_EQ(text("TCopyCDForm", "ButtonSkipTrack", H), "Don't include this track to your playlist");
    EXPECT_EQ(text("TOptionsForm", "ComboBoxConfirmSaving", H), "Choose if the program will save the databse on exit");
    EXPECT_EQ(text("TOptionsForm", "CheckBoxAutoCloseAddCDForm", C),
              "Automatically close the \"Add disk\" window when I press \"Add\" button");
    EXPECT_EQ(text("TOptionsForm", "ButtonBrowseForTheApp", H), text("TOptionsForm", "EditApplicationPath", H));
    // One name in two windows: two texts.
    EXPECT_EQ(text("TOptionsForm", "ButtonCancel", H), "Don't apply changes (Esc)");
    EXPECT_EQ(text("TOpenFolderForm", "ButtonCancel", H), "Close the window without choosing a folder (Esc)");
    EXPECT_EQ(t.textOf("TMainForm", "ButtonCancel", H), nullptr);
    EXPECT_EQ(t.textOf("TMainForm", "EditSearch", C), nullptr);
    for (const std::string& line : t.languageLines()) EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos);
}

} // namespace
} // namespace velmo
