#include <gtest/gtest.h>

#include "base/Mnemonics.h"

namespace velmo {
namespace {

TEST(Mnemonics, WordInitialsFirstThenAnyFreeLetterNoneTwiceAndAmpersandsKept) {
    std::string taken = "e"; // "Exit" beside the group
    EXPECT_EQ(withMnemonics({"Options", "Open", "Play now !", "Rock & Roll", "Erase", "!!", "ooo"}, taken),
              (std::vector<std::string>{"&Options", "O&pen", "Play &now !", "&Rock && Roll", "Er&ase", "!!", "ooo"}));
    EXPECT_EQ(taken, "eopnra");
    // Letters given before stay given; a translation's own mnemonic stays and takes its letter.
    EXPECT_EQ(withMnemonics({"&Save", "Apply", "Such"}, taken), (std::vector<std::string>{"&Save", "App&ly", "S&uch"}));
}

} // namespace
} // namespace velmo
