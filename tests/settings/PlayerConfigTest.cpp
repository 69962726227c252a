// PlayerConfig.ini: the nine-line blocks, the default players, and which files a profile
// read keeps, replaces, and what that does to the chosen configuration.
#include <gtest/gtest.h>

#include "SettingsTestUtil.h"
#include "external/PlayerConfig.h"
#include "app/Profiles.h"

namespace velmo::test {
namespace {

std::vector<std::string> names(const std::vector<TPlayerConfig>& configs) {
    std::vector<std::string> out;
    for (const auto& c : configs) out.push_back(c.Name);
    return out;
}

// --- Blocks ------------------------------------------------------------------------------

TEST(PlayerConfigLines, DefaultsAreTheFourLinuxPlayers) {
    const auto& configs = defaultPlayerConfigs();
    EXPECT_EQ(names(configs), (std::vector<std::string>{"Audacious", "VLC", "mpv", "User's"}));
    EXPECT_EQ(joinLinesCrLf(playerConfigLines(configs)), defaultPlayerConfigIni());
    EXPECT_EQ(playerConfigLines(configs).size(), 36u);
}

TEST(PlayerConfigLines, WrittenBlocksReadBackToTheSameConfigurations) {
    std::vector<TPlayerConfig> configs = {
        {"W M P", "%HOME%/bin/player", " -vpl", "--quit ", "vpl", "#VUPlayer playlist", true, false, true},
        {"Second", "", "", "", "", "", false, true, false},
        {"Third", "/usr/bin/x", "a", "b", "pls", "[playlist]", true, true, true},
    };
    const auto lines = playerConfigLines(configs);
    ASSERT_EQ(lines.size(), 27u);
    EXPECT_EQ(lines[0], "[W M P]");
    EXPECT_EQ(lines[2], " -vpl");
    EXPECT_EQ(lines[6], "DoPassFirstParamSeparately");
    EXPECT_EQ(lines[7], "DoNotPassLastParamSeparately");
    EXPECT_EQ(lines[8], "DoPassLastParamBeforeLastFile");
    auto read = parsePlayerConfigLines(lines);
    ASSERT_TRUE(read);
    EXPECT_EQ(*read, configs);
}

TEST(PlayerConfigLines, NameLineLosesItsFirstAndLastCharacterWhateverTheyAre) {
    auto lines = playerConfigLines({{"x", "", "", "", "m3u", "", false, false, false},
                                    {"y", "", "", "", "m3u", "", false, false, false},
                                    {"z", "", "", "", "m3u", "", false, false, false}});
    lines[0] = "(My Player)";
    lines[9] = "NoBrackets";
    lines[18] = "[";
    auto read = parsePlayerConfigLines(lines);
    ASSERT_TRUE(read);
    EXPECT_EQ(names(*read), (std::vector<std::string>{"My Player", "oBracket", ""}));
}

TEST(PlayerConfigLines, FlagsAreSetOnlyByTheirExactWord) {
    auto lines = playerConfigLines({{"p", "", "", "", "m3u", "", true, true, true}});
    lines[6] = "dopassfirstparamseparately";
    lines[7] = "DoPassLastParamSeparately ";
    auto read = parsePlayerConfigLines(lines);
    ASSERT_TRUE(read);
    EXPECT_FALSE((*read)[0].PassFirstSeparately);
    EXPECT_FALSE((*read)[0].PassLastSeparately);
    EXPECT_TRUE((*read)[0].PassLastBeforeFile);
}

TEST(PlayerConfigLines, LineCountMustBeANonZeroMultipleOfNine) {
    const auto nine = playerConfigLines({defaultPlayerConfigs()[0]});
    EXPECT_FALSE(parsePlayerConfigLines({}));
    for (size_t count : {1u, 8u, 10u, 17u}) {
        std::vector<std::string> lines(count, "x");
        EXPECT_FALSE(parsePlayerConfigLines(lines)) << count;
    }
    EXPECT_TRUE(parsePlayerConfigLines(nine));
}

TEST(PlayerConfigLines, AtMostTwoHundredFiftyFiveConfigurationsAreRead) {
    std::vector<TPlayerConfig> many;
    for (int i = 0; i < 257; ++i) many.push_back({"P" + std::to_string(i), "", "", "", "m3u", "", false, false, false});
    auto read = parsePlayerConfigLines(playerConfigLines(many));
    ASSERT_TRUE(read);
    ASSERT_EQ(read->size(), kMaxPlayerConfigs);
    EXPECT_EQ(read->back().Name, "P254");
}

// --- The profile's file --------------------------------------------------------------------

class PlayerConfigFile : public SessionTest {
protected:
    std::string file() const { return profileFile("Default", "PlayerConfig.ini"); }
};

TEST_F(PlayerConfigFile, SavedFileHoldsTheBlocksByteForByte) {
    session.PlayerConfigs = {{"W M P", "wmp", " -vpl", "", "vpl", "#list", false, true, false}};
    SavePlayerConfig(session);
    EXPECT_EQ(readFile(file()),
              "[W M P]\r\nwmp\r\n -vpl\r\n\r\nvpl\r\n#list\r\nDoNotPassFirstParamSeparately\r\n"
              "DoPassLastParamSeparately\r\nDoNotPassLastParamBeforeLastFile\r\n");
}

TEST_F(PlayerConfigFile, WellFormedFileIsReadAsItStands) {
    writeFile(file(), playerBlock("W M P", "wmp") + playerBlock("Two", "two") + playerBlock("Three", "3") +
                          playerBlock("Four", "4"));
    const std::string before = readFile(file());
    session.settings.PlayerConfigIndex = 3;
    ReadPlayerConfig(session);
    EXPECT_EQ(names(session.PlayerConfigs), (std::vector<std::string>{"W M P", "Two", "Three", "Four"}));
    EXPECT_EQ(session.settings.PlayerConfigIndex, 3);
    EXPECT_EQ(readFile(file()), before);
}

TEST_F(PlayerConfigFile, LeadingBlankOfAParameterSurvivesASaveAndARead) {
    session.PlayerConfigs = {{"VU", "vu", " -vpl", " -x", "vpl", "", false, false, false}};
    SavePlayerConfig(session);
    session.PlayerConfigs.clear();
    ReadPlayerConfig(session);
    ASSERT_EQ(session.PlayerConfigs.size(), 1u);
    EXPECT_EQ(session.PlayerConfigs[0].ParameterBefore, " -vpl");
    EXPECT_EQ(session.PlayerConfigs[0].ParameterAfter, " -x");
}

TEST_F(PlayerConfigFile, EighteenLinesGiveTwoConfigurationsAndAnIndexBeyondThemBecomesZero) {
    writeFile(file(), playerBlock("One", "1") + playerBlock("Two", "2"));
    session.settings.PlayerConfigIndex = 3;
    ReadPlayerConfig(session);
    EXPECT_EQ(names(session.PlayerConfigs), (std::vector<std::string>{"One", "Two"}));
    EXPECT_EQ(session.settings.PlayerConfigIndex, 0);

    session.settings.PlayerConfigIndex = 1;
    ReadPlayerConfig(session);
    EXPECT_EQ(session.settings.PlayerConfigIndex, 1);
}

TEST_F(PlayerConfigFile, BrokenFileIsReplacedByTheDefaults) {
    // The index is checked against the file as it was found: 35 and 37 lines hold 3 and 4
    // whole blocks, so index 3 survives 37 lines but not 35.
    for (size_t count : {35u, 37u}) {
        SCOPED_TRACE(std::to_string(count) + " lines");
        std::vector<std::string> lines(count, "x");
        writeFile(file(), joinLinesCrLf(lines));
        session.settings.PlayerConfigIndex = 3;
        ReadPlayerConfig(session);
        EXPECT_EQ(session.PlayerConfigs, defaultPlayerConfigs());
        EXPECT_EQ(readFile(file()), defaultPlayerConfigIni());
        EXPECT_EQ(session.settings.PlayerConfigIndex, count == 35 ? 0 : 3);
    }
}

TEST_F(PlayerConfigFile, EmptyOrMissingFileGivesTheDefaultsAndIndexZero) {
    writeFile(file(), "");
    session.settings.PlayerConfigIndex = 1;
    ReadPlayerConfig(session);
    EXPECT_EQ(session.PlayerConfigs, defaultPlayerConfigs());
    EXPECT_EQ(session.settings.PlayerConfigIndex, 0);

    std::filesystem::remove(file());
    session.settings.PlayerConfigIndex = 1;
    ReadPlayerConfig(session);
    EXPECT_EQ(readFile(file()), defaultPlayerConfigIni());
    EXPECT_EQ(session.settings.PlayerConfigIndex, 0);
}

TEST_F(PlayerConfigFile, LineFeedOnlyFileIsRead) {
    writeFile(file(), "[LF]\nlf\n\n\nm3u\n\nDoPassFirstParamSeparately\nx\ny\n");
    ReadPlayerConfig(session);
    ASSERT_EQ(session.PlayerConfigs.size(), 1u);
    EXPECT_EQ(session.PlayerConfigs[0].Name, "LF");
    EXPECT_TRUE(session.PlayerConfigs[0].PassFirstSeparately);
}

} // namespace
} // namespace velmo::test
