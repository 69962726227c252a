// Profile.ini lines: what is written for each setting, what is read back, and how headers,
// empty lines, short files and bad numbers change what a read takes.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "SettingsTestUtil.h"
#include "settings/ProfileFile.h"
#include "util/IntConversion.h"

namespace velmo::test {
namespace {

// Every setting as text, so two settings records can be compared and overlaid by field.
std::map<std::string, std::string> fields(const ProfileSettings& s) {
    auto list = [](const std::vector<std::string>& v) {
        std::string out = std::to_string(v.size()) + ":";
        for (const auto& e : v) out += "<" + e + ">";
        return out;
    };
    auto b = [](bool v) { return std::string(v ? "1" : "0"); };
    std::map<std::string, std::string> f{
        {"PathToDB", s.PathToDB},
        {"SizeOfDB", std::to_string(s.SizeOfDB)},
        {"Language", s.Language},
        {"StdExtensions", list(s.StdExtensions)},
        {"UserExtensions", list(s.UserExtensions)},
        {"DBName", s.DBName},
        {"GoodCycle", b(s.GoodCycle)},
        {"GoodFixed", b(s.GoodFixed)},
        {"GoodPercent", std::to_string(s.GoodPercent)},
        {"GoodOfPlayList", b(s.GoodOfPlayList)},
        {"FocusAfterDrag", b(s.FocusAfterDrag)},
        {"SaveLastTab", b(s.SaveLastTab)},
        {"SaveLastTree", b(s.SaveLastTree)},
        {"AutoCloseAddDiskForm", b(s.AutoCloseAddDiskForm)},
        {"OnlyAfterDnD", b(s.OnlyAfterDnD)},
        {"SilentAddingMode", b(s.SilentAddingMode)},
        {"OnlyForHDDs", b(s.OnlyForHDDs)},
        {"BuiltInPlayer", b(s.BuiltInPlayer)},
        {"PlayerConfigIndex", std::to_string(s.PlayerConfigIndex)},
        {"ShellCommand", s.ShellCommand},
        {"PassDir", b(s.PassDir)},
        {"OnlyIfFile", b(s.OnlyIfFile)},
        {"ShowHints", b(s.ShowHints)},
        {"ShowTag", b(s.ShowTag)},
        {"MusicTreeVisible", b(s.MusicTreeVisible)},
        {"AutoExpand", b(s.AutoExpand)},
        {"ActiveTab", std::to_string(s.ActiveTab)},
    };
    for (size_t i = 0; i < ConfirmFlagCount; ++i) f["Confirm" + std::to_string(i)] = b(s.ConfirmOpts[i]);
    return f;
}

std::string confirm(int i) { return "Confirm" + std::to_string(i); }

// The settings each value line of the file carries.
const std::map<size_t, std::vector<std::string>>& valueLines() {
    static const std::map<size_t, std::vector<std::string>> lines{
        {2, {"PathToDB"}},
        {4, {"SizeOfDB"}},
        {6, {"Language"}},
        {8, {"StdExtensions"}},
        {10, {"UserExtensions"}},
        {12, {"DBName"}},
        {14, {"GoodCycle"}},
        {16, {"MusicTreeVisible"}},
        {18, {confirm(0)}},
        {19, {confirm(1)}},
        {20, {confirm(2), confirm(3), confirm(4)}},
        {21, {confirm(5)}},
        {22, {confirm(6)}},
        {23, {confirm(7), confirm(8), confirm(9)}},
        {24, {confirm(10)}},
        {25, {confirm(11), confirm(12), confirm(13)}},
        {26, {confirm(14)}},
        {27, {confirm(15)}},
        {28, {confirm(16)}},
        {29, {confirm(17)}},
        {31, {"GoodFixed"}},
        {32, {"GoodPercent"}},
        {33, {"GoodOfPlayList"}},
        {35, {"FocusAfterDrag"}},
        {36, {"SaveLastTab"}},
        {37, {"ActiveTab"}},
        {38, {"SaveLastTree"}},
        {39, {"AutoExpand"}},
        {40, {"AutoCloseAddDiskForm"}},
        {41, {"OnlyAfterDnD"}},
        {42, {"SilentAddingMode"}},
        {43, {"OnlyForHDDs"}},
        {45, {"BuiltInPlayer"}},
        {46, {"PlayerConfigIndex"}},
        {48, {"ShellCommand"}},
        {49, {"PassDir"}},
        {50, {"OnlyIfFile"}},
        {51, {"ShowHints"}},
        {52, {"ShowTag"}},
    };
    return lines;
}

// A hand-written file in which every value differs from its default.
std::vector<std::string> customFile() {
    return {"[Path to DB]",
            "D:\\Music\\Base\\",
            "[Size of DB]",
            "750",
            "[Language]",
            "Deutsch",
            "[Extensions]",
            "OGG;WAV;",
            "[User extensions]",
            "aif;mp2;",
            "[DBName]",
            "Data\\mine.vmdb",
            "[GoodBehavior]",
            "Cycle",
            "[TreeView]",
            "Folders",
            "[Confirmations]",
            "DoNotConfirmClose",
            "DoNotConfirmSavingOnExit",
            "AutoSaveAs",
            "DoNotConfirmLargePL",
            "DoNotConfirmCopyFromHDD",
            "AskForEach",
            "DoNotConfirmSkip",
            "AutoSkipDiskAndFile",
            "DoNotShowResultWnd",
            "DoNotShowNoFilesWarn",
            "DoNotConfirmDel",
            "DoNotConfirmDiskDel",
            "[GoodFixed]",
            "IsNotFixed",
            "35",
            "OfAllGood",
            "[Other]",
            "DoNotFocusAfterDrag",
            "DoSaveLastTab",
            "3",
            "DoNotSaveLastTree",
            "DoAutoExpand",
            "DoNotAutoCloseAddDiskForm",
            "NotOnlyAfterDnD",
            "DoUseSilentAddingMode",
            "NotOnlyForHDDs",
            "[Player]",
            "External",
            "2",
            "[ShellExecute]",
            "mimeopen -n>%file%",
            "DoNotPassDir",
            "NotOnlyIfFile",
            "DoNotShowHints",
            "DoNotShowTag"};
}

// What customFile() says, built by hand.
ProfileSettings customSettings() {
    ProfileSettings s = SetDefopts("Default");
    s.PathToDB = "D:\\Music\\Base";
    s.SizeOfDB = 750;
    s.Language = "Deutsch";
    s.StdExtensions = {"OGG", "WAV"};
    s.UserExtensions = {"aif", "mp2"};
    s.DBName = "Data\\mine.vmdb";
    s.GoodCycle = true;
    s.MusicTreeVisible = false;
    s.ConfirmOpts = ConfirmOptions{};
    s.ConfirmOpts[AutoSaveAs] = true;
    s.ConfirmOpts[AskForEach] = true;
    s.ConfirmOpts[AutoSkipDiskAndFile] = true;
    s.GoodFixed = false;
    s.GoodPercent = 35;
    s.GoodOfPlayList = false;
    s.FocusAfterDrag = false;
    s.SaveLastTab = true;
    s.ActiveTab = 3;
    s.SaveLastTree = false;
    s.AutoExpand = true;
    s.AutoCloseAddDiskForm = false;
    s.OnlyAfterDnD = false;
    s.SilentAddingMode = true;
    s.OnlyForHDDs = false;
    s.BuiltInPlayer = false;
    s.PlayerConfigIndex = 2;
    s.ShellCommand = "mimeopen -n>%file%";
    s.PassDir = false;
    s.OnlyIfFile = false;
    s.ShowHints = false;
    s.ShowTag = false;
    return s;
}

ProfileSettings readOverDefaults(const std::vector<std::string>& lines) {
    ProfileSettings s = SetDefopts("Default");
    readProfileFileLines(s, lines);
    return s;
}

// The defaults, with the settings of the given value lines taken from customSettings().
std::map<std::string, std::string> defaultsWithCustomLines(const std::set<size_t>& lines) {
    auto expected = fields(SetDefopts("Default"));
    const auto custom = fields(customSettings());
    for (size_t line : lines)
        for (const auto& name : valueLines().at(line)) expected[name] = custom.at(name);
    return expected;
}

// customSettings() with the settings of the given value lines back at their defaults.
std::map<std::string, std::string> customWithDefaultLines(const std::set<size_t>& lines) {
    auto expected = fields(customSettings());
    const auto defaults = fields(SetDefopts("Default"));
    for (size_t line : lines)
        for (const auto& name : valueLines().at(line)) expected[name] = defaults.at(name);
    return expected;
}

std::set<size_t> allValueLines() {
    std::set<size_t> out;
    for (const auto& [line, names] : valueLines()) out.insert(line);
    return out;
}

// --- Writing -----------------------------------------------------------------------------

TEST(ProfileFileWriting, DefaultsOfProfileDefaultGiveTheFiftyTwoKnownLines) {
    const auto lines = profileFileLines(SetDefopts("Default"));
    ASSERT_EQ(lines.size(), kProfileFileLines);
    EXPECT_EQ(joinLinesCrLf(lines), defaultProfileIni("Default"));
}

TEST(ProfileFileWriting, DefaultPathsFollowTheProfileName) {
    const ProfileSettings s = SetDefopts("Rock Night");
    EXPECT_EQ(s.PathToDB, "Profiles\\Rock Night\\MusicBase");
    EXPECT_EQ(s.DBName, "Profiles\\Rock Night\\Rock Night.vmdb");
    EXPECT_EQ(joinLinesCrLf(profileFileLines(s)), defaultProfileIni("Rock Night"));
}

TEST(ProfileFileWriting, EveryValueLandsOnItsLine) {
    // The hand-written file differs only where the writer normalises: the trailing backslash
    // of the path is gone, and line 16 says "Standard" because SaveLastTree is off.
    auto expected = customFile();
    expected[1] = "D:\\Music\\Base";
    expected[15] = "Standard";
    EXPECT_EQ(profileFileLines(customSettings()), expected);
}

TEST(ProfileFileWriting, TreeLineShowsFoldersOnlyWhenTheLastTreeIsKept) {
    ProfileSettings s = SetDefopts("Default");
    s.MusicTreeVisible = false;
    s.SaveLastTree = true;
    EXPECT_EQ(profileFileLines(s)[15], "Folders");
    s.SaveLastTree = false;
    EXPECT_EQ(profileFileLines(s)[15], "Standard");
    s.MusicTreeVisible = true;
    s.SaveLastTree = true;
    EXPECT_EQ(profileFileLines(s)[15], "Standard");
}

TEST(ProfileFileWriting, ActiveTabIsWrittenEvenWhenItIsNotKept) {
    ProfileSettings s = SetDefopts("Default");
    s.SaveLastTab = false;
    s.ActiveTab = 4;
    EXPECT_EQ(profileFileLines(s)[36], "4");
}

TEST(ProfileFileWriting, UserExtensionsAloneOrEachFollowedBySemicolon) {
    ProfileSettings s = SetDefopts("Default");
    EXPECT_EQ(profileFileLines(s)[9], "");
    s.UserExtensions = {"aif"};
    EXPECT_EQ(profileFileLines(s)[9], "aif");
    s.UserExtensions = {"aif", "mp2"};
    EXPECT_EQ(profileFileLines(s)[9], "aif;mp2;");
    s.StdExtensions = {"OGG"};
    EXPECT_EQ(profileFileLines(s)[7], "OGG;");
    s.StdExtensions.clear();
    EXPECT_EQ(profileFileLines(s)[7], ";");
}

TEST(ProfileFileWriting, FirstSetFlagOfAGroupDecidesItsWord) {
    ProfileSettings s = SetDefopts("Default");
    s.ConfirmOpts[AutoSave] = true;
    s.ConfirmOpts[AutoSaveAs] = true;
    EXPECT_EQ(profileFileLines(s)[19], "AutoSave");
    s.ConfirmOpts[AutoSave] = false;
    EXPECT_EQ(profileFileLines(s)[19], "AutoSaveAs");
    s.ConfirmOpts[AutoSaveAs] = false;
    EXPECT_EQ(profileFileLines(s)[19], "AutoDontSave");
}

// --- Reading and round trips -----------------------------------------------------------------

TEST(ProfileFileReading, EverySettingIsTakenFromItsLine) {
    EXPECT_EQ(fields(readOverDefaults(customFile())), fields(customSettings()));
}

TEST(ProfileFileReading, WrittenFileReadsBackToTheSameSettings) {
    ProfileSettings s = customSettings();
    s.SaveLastTree = true; // the folder tree is only kept with SaveLastTree
    EXPECT_EQ(fields(readOverDefaults(profileFileLines(s))), fields(s));

    const ProfileSettings defaults = SetDefopts("Other");
    ProfileSettings read = SetDefopts("Default");
    readProfileFileLines(read, profileFileLines(defaults));
    EXPECT_EQ(fields(read), fields(defaults));
}

TEST(ProfileFileReading, EachWordOfTheThreeWayGroupsRoundTrips) {
    struct GroupCase {
        ConfirmFlag first;
        size_t line;
        std::array<const char*, 3> words;
    };
    const GroupCase groups[] = {{AutoSave, 20, {"AutoSave", "AutoSaveAs", "AutoDontSave"}},
                                {AutoCopy, 23, {"AutoCopy", "AutoDontCopy", "AskForEach"}},
                                {AutoSkipDisk, 25, {"AutoSkipDisk", "AutoSkipFile", "AutoSkipDiskAndFile"}}};
    for (const auto& g : groups) {
        for (int chosen = 0; chosen < 3; ++chosen) {
            SCOPED_TRACE(g.words[chosen]);
            ProfileSettings s = SetDefopts("Default");
            for (int i = 0; i < 3; ++i) s.ConfirmOpts[g.first + i] = i == chosen;
            const auto lines = profileFileLines(s);
            EXPECT_EQ(lines[g.line - 1], g.words[chosen]);
            const ProfileSettings read = readOverDefaults(lines);
            EXPECT_EQ(read.ConfirmOpts, s.ConfirmOpts);
        }
    }
}

TEST(ProfileFileReading, ExtensionListsReadBack) {
    ProfileSettings s = SetDefopts("Default");
    s.UserExtensions = {"aif"};
    EXPECT_EQ(readOverDefaults(profileFileLines(s)).UserExtensions, std::vector<std::string>{"aif"});
    s.UserExtensions = {"aif", "mp2"};
    EXPECT_EQ(readOverDefaults(profileFileLines(s)).UserExtensions, (std::vector<std::string>{"aif", "mp2"}));
    s.StdExtensions.clear();
    EXPECT_TRUE(readOverDefaults(profileFileLines(s)).StdExtensions.empty());
}

TEST(ProfileFileReading, HandEditedListLinesAreSplitAtEverySemicolon) {
    auto lines = customFile();
    lines[7] = "aif;mp2";
    lines[9] = "a;;b;";
    const ProfileSettings s = readOverDefaults(lines);
    EXPECT_EQ(s.StdExtensions, (std::vector<std::string>{"aif", "mp2"}));
    EXPECT_EQ(s.UserExtensions, (std::vector<std::string>{"a", "", "b"}));
}

TEST(ProfileFileReading, UnknownWordsClearBooleansAndGroups) {
    ProfileSettings base = SetDefopts("Default");
    auto lines = profileFileLines(base);
    lines[17] = "doconfirmclose"; // case matters
    lines[19] = "autosave";
    lines[22] = "Copy";
    lines[30] = "Fixed";
    lines[44] = "builtin";
    const ProfileSettings s = readOverDefaults(lines);
    EXPECT_FALSE(s.ConfirmOpts[ConfirmClose]);
    EXPECT_FALSE(s.ConfirmOpts[AutoSave] || s.ConfirmOpts[AutoSaveAs] || s.ConfirmOpts[AutoDontSave]);
    EXPECT_FALSE(s.ConfirmOpts[AutoCopy] || s.ConfirmOpts[AutoDontCopy] || s.ConfirmOpts[AskForEach]);
    EXPECT_TRUE(s.ConfirmOpts[AutoSkipDisk]);
    EXPECT_FALSE(s.GoodFixed);
    EXPECT_FALSE(s.BuiltInPlayer);
}

TEST(ProfileFileReading, TrailingBackslashOfThePathIsRemovedOnce) {
    auto lines = customFile();
    lines[1] = "/srv/music\\\\";
    EXPECT_EQ(readOverDefaults(lines).PathToDB, "/srv/music\\");
    // Such a path is written so that it reads back whole.
    ProfileSettings s = readOverDefaults(lines);
    ProfileSettings again = SetDefopts("Default");
    EXPECT_TRUE(readProfileFileLines(again, profileFileLines(s)).empty());
    EXPECT_EQ(again.PathToDB, "/srv/music\\");
}

TEST(ProfileFileReading, SavedTabIsIgnoredUnlessSaveLastTabIsSet) {
    auto lines = customFile();
    lines[35] = "DoNotSaveLastTab";
    lines[36] = "3";
    const ProfileSettings s = readOverDefaults(lines);
    EXPECT_FALSE(s.SaveLastTab);
    EXPECT_EQ(s.ActiveTab, 0);
    // Not even a bad number there matters then.
    lines[36] = "tab";
    EXPECT_NO_THROW(readOverDefaults(lines));
}

// --- Headers, empty lines, short files ----------------------------------------------------------

TEST(ProfileFileReading, WrongHeaderKeepsOnlyTheValuesItGuards) {
    const std::map<size_t, std::set<size_t>> guards{
        {1, {2}},   {3, {4}},   {5, {6}},   {7, {8}},   {9, {10}},  {11, {12}},  {13, {14}},
        {15, {16}}, {30, {31}}, {34, {35}}, {44, {45}}, {47, {48}},
        {17, {18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29}},
    };
    for (const auto& [header, guarded] : guards) {
        auto lines = customFile();
        std::string& text = lines[header - 1];
        for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        SCOPED_TRACE("header line " + std::to_string(header) + " " + text);
        EXPECT_EQ(fields(readOverDefaults(lines)), customWithDefaultLines(guarded));
    }
}

TEST(ProfileFileReading, EmptyValueLineKeepsTheDefault) {
    for (size_t line : allValueLines()) {
        if (line == 2) continue;
        SCOPED_TRACE("empty line " + std::to_string(line));
        auto lines = customFile();
        lines[line - 1].clear();
        // Without SaveLastTab the tab of line 37 is not read either.
        const std::set<size_t> kept = line == 36 ? std::set<size_t>{36, 37} : std::set<size_t>{line};
        EXPECT_EQ(fields(readOverDefaults(lines)), customWithDefaultLines(kept));
    }
}

TEST(ProfileFileReading, EmptyPathLineEmptiesThePath) {
    auto lines = customFile();
    lines[1].clear();
    const ProfileSettings s = readOverDefaults(lines);
    EXPECT_EQ(s.PathToDB, "");
    EXPECT_EQ(s.SizeOfDB, 750);
}

TEST(ProfileFileReading, ShortFileTakesTheLinesItHas) {
    for (size_t count = 0; count <= kProfileFileLines; ++count) {
        SCOPED_TRACE(std::to_string(count) + " lines");
        auto lines = customFile();
        lines.resize(count);
        std::set<size_t> present;
        for (size_t line : allValueLines())
            if (line <= count) present.insert(line);
        EXPECT_EQ(fields(readOverDefaults(lines)), defaultsWithCustomLines(present));
    }
}

// --- Numbers ------------------------------------------------------------------------------

TEST(ProfileFileReading, BadNumberKeepsOnlyItsOwnDefaultAndIsNamedByItsLine) {
    for (size_t numberLine : {4, 32, 37, 46}) {
        SCOPED_TRACE("bad number in line " + std::to_string(numberLine));
        auto lines = customFile();
        lines[numberLine - 1] = "12a";
        ProfileSettings s = SetDefopts("Default");
        const auto bad = readProfileFileLines(s, lines);
        ASSERT_EQ(bad.size(), 1u);
        EXPECT_EQ(bad[0].line, numberLine);
        EXPECT_EQ(bad[0].error, "'12a' is not a valid integer value");
        std::set<size_t> others;
        for (size_t line : allValueLines())
            if (line != numberLine) others.insert(line);
        EXPECT_EQ(fields(s), defaultsWithCustomLines(others));
    }
    // Two bad lines: both named, in file order.
    auto lines = customFile();
    lines[3] = "x";
    lines[45] = "";
    lines[31] = "1.5";
    ProfileSettings s = SetDefopts("Default");
    const auto bad = readProfileFileLines(s, lines);
    ASSERT_EQ(bad.size(), 2u);
    EXPECT_EQ(bad[0].line, 4u);
    EXPECT_EQ(bad[1].line, 32u);
}

TEST(ProfileFileReading, NumbersOutsideThirtyTwoBitsAreRefused) {
    auto lines = customFile();
    lines[3] = "-2147483648";
    EXPECT_EQ(readOverDefaults(lines).SizeOfDB, INT32_MIN);
    lines[3] = "2147483648";
    ProfileSettings s = SetDefopts("Default");
    const auto bad = readProfileFileLines(s, lines);
    ASSERT_EQ(bad.size(), 1u);
    EXPECT_EQ(bad[0].error, "'2147483648' is not a valid integer value");
    EXPECT_EQ(s.SizeOfDB, SetDefopts("Default").SizeOfDB);
}

} // namespace
} // namespace velmo::test
