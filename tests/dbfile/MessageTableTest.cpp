// The built-in English message table and its replacement by a translation.
#include <gtest/gtest.h>

#include "base/MessageTable.h"

namespace velmo {
namespace {

size_t trailingBlanks(const std::string& s) {
    size_t n = 0;
    while (n < s.size() && s[s.size() - 1 - n] == ' ') ++n;
    return n;
}

TEST(MessageTable, HoldsNinetyThreeSingleLineMessages) {
    MessageTable messages;
    ASSERT_EQ(MessageTable::kCount, 93u);
    ASSERT_EQ(messages.all().size(), 93u);
    for (size_t i = 0; i < messages.all().size(); ++i) {
        EXPECT_FALSE(messages[i].empty()) << i;
        EXPECT_EQ(messages[i].find_first_of("\r\n"), std::string::npos) << i;
        EXPECT_EQ(messages[i], MessageTable::english()[i]) << i;
    }
    EXPECT_EQ(messages[93], "");
    EXPECT_EQ(messages[static_cast<size_t>(-1)], "");
}

TEST(MessageTable, TextsThatOtherPartsOfTheProgramQuoteByNumber) {
    MessageTable m;
    EXPECT_EQ(m[0], "Save music data base as...");
    EXPECT_EQ(m[1], "Load music data base");
    EXPECT_EQ(m[2], "Adding an existing music data base to the current one");
    EXPECT_EQ(m[13], "Error");
    EXPECT_EQ(m[19], "Please, insert CD %name.");
    EXPECT_EQ(m[25], "Do you want to save your music data base ?");
    EXPECT_EQ(m[28], "First you have to create a playlist. Press \"Make playlist\" button to do it.");
    EXPECT_EQ(m[40], "Modified");
    EXPECT_EQ(m[41], "Do you want to copy files from local drives to the music DB directory ? If you press \"No\", "
                     "playlist will point to the original paths of the files.");
    EXPECT_EQ(m[50], "Do you want to copy fles from the local drive %name ?");
    EXPECT_EQ(m[58], "Music data base files (*.vmdb)|*.vmdb");
    EXPECT_EQ(m[62], "[%na total (%sa MB)] - [%nn unused (%sn MB), %nu used (%su MB), %np in playlist (%sp MB)]");
    EXPECT_EQ(m[63], "[%na total (%sa MB)] - [%nb BlackListed (%sb MB)]");
    EXPECT_EQ(m[64], "[%na total (%sa MB)] - [%np in playlist (%sp MB), %n_gp Just Good among them (%s_gp MB)]");
    EXPECT_EQ(m[65], "[%na total (%sa MB)] - [%nf in Favorites (%sf MB)]");
    EXPECT_EQ(m[66], "[%ng Just Good total (%sg MB)] - [%n_gn unused (%s_gn MB), %n_gu used (%s_gu MB), "
                     "%n_gp in playlist (%s_gp MB)]");
    EXPECT_EQ(m[67], "Music List");
    EXPECT_EQ(m[71], "Just Good");
    EXPECT_EQ(m[92], "File not found. It must has been replaced.");
}

TEST(MessageTable, TwoConfirmationEntriesAreSeparate) {
    MessageTable m;
    EXPECT_EQ(m[22], "Confirmation");
    EXPECT_EQ(m[26], "Confirmation");
    std::vector<std::string> translated = m.all();
    translated[22] = "Best\xC3\xA4tigung";
    translated[26] = "Frage";
    ASSERT_TRUE(m.replaceAll(translated));
    EXPECT_EQ(m[22], "Best\xC3\xA4tigung");
    EXPECT_EQ(m[26], "Frage");
}

TEST(MessageTable, HintLabelsKeepTheirBlanks) {
    MessageTable m;
    const size_t expected[] = {7, 9, 6, 8, 7, 6, 0, 3, 2};
    for (size_t i = 0; i < 9; ++i) EXPECT_EQ(trailingBlanks(m[81 + i]), expected[i]) << "message " << 81 + i;
    EXPECT_EQ(m[81], "Artist:       ");
    EXPECT_EQ(m[89], "Comment:  ");
    EXPECT_EQ(m[56], " [Refreshing Just Good files, please, wait...]");
    EXPECT_EQ(m[56].find_first_not_of(' '), 1u);
}

TEST(MessageTable, ReplacementMustBeWhole) {
    MessageTable m;
    std::vector<std::string> shorter(92, "x");
    EXPECT_FALSE(m.replaceAll(shorter));
    std::vector<std::string> longer(94, "x");
    EXPECT_FALSE(m.replaceAll(longer));
    EXPECT_EQ(m[0], "Save music data base as...");

    std::vector<std::string> full(93);
    for (size_t i = 0; i < full.size(); ++i) full[i] = "m" + std::to_string(i) + "  ";
    EXPECT_TRUE(m.replaceAll(full));
    EXPECT_EQ(m[92], "m92  ");
    // The built-in table is untouched by a translation.
    EXPECT_EQ(MessageTable::english()[92], "File not found. It must has been replaced.");
}

} // namespace
} // namespace velmo
