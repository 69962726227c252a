// The characters refused in disk descriptions and profile names.
#include <gtest/gtest.h>

#include <string>

#include "base/RefusedCharacters.h"

namespace velmo {
namespace {

TEST(RefusedCharacters, TypingRefusesTheNineCharactersAndAnythingAfterAPastedOne) {
    for (const char c : std::string("\\/:*?\"<>|")) EXPECT_TRUE(refusesTypedText("Mix", std::string(1, c))) << c;
    for (const char* typed : {"a", "Z", "5", " ", "-", ".", "(", "\xC3\xA9"})
        EXPECT_FALSE(refusesTypedText("Mix", typed)) << typed;
    EXPECT_TRUE(refusesTypedText("Mi<x", "a"));
}

TEST(RefusedCharacters, EditingKeysPassSoAPastedCharacterCanBeDeleted) {
    for (const char* key : {"", "\b", "\x7f", "\r", "\t"}) EXPECT_FALSE(refusesTypedText("Mi<x", key)) << int(key[0]);
    EXPECT_TRUE(holdsRefusedCharacter("a|b"));
    // Pasted control characters: a NUL would cut a database line, a line break split it.
    EXPECT_TRUE(holdsRefusedCharacter(std::string_view("a\0b", 3)));
    EXPECT_TRUE(holdsRefusedCharacter("a\nb"));
    EXPECT_TRUE(holdsRefusedCharacter("a\tb"));
    EXPECT_FALSE(holdsRefusedCharacter("Rock & Roll (1999) - \xC3\xA9t\xC3\xA9"));
}

} // namespace
} // namespace velmo
