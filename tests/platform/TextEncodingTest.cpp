// Reading text files of either origin: UTF-8 as ours are written, Windows-1252 as the Windows
// program wrote them.
#include <gtest/gtest.h>

#include "util/TextEncoding.h"

namespace velmo {
namespace {

TEST(TextEncoding, Utf8ValidityFollowsTheStandard) {
    EXPECT_TRUE(isValidUtf8(""));
    EXPECT_TRUE(isValidUtf8("plain ASCII, long enough to be skipped eight bytes at a time"));
    EXPECT_TRUE(isValidUtf8("Caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x8E\xB5")); // é, €, a four-byte note
    EXPECT_TRUE(isValidUtf8("\xF4\x8F\xBF\xBF"));                           // U+10FFFF, the last one
    EXPECT_TRUE(isValidUtf8(std::string("a\0b", 3)));

    EXPECT_FALSE(isValidUtf8("Caf\xE9"));                // Windows-1252 é
    EXPECT_FALSE(isValidUtf8("\xC0\xAF"));               // overlong "/"
    EXPECT_FALSE(isValidUtf8("\xE0\x80\xAF"));           // overlong "/" in three bytes
    EXPECT_FALSE(isValidUtf8("\xED\xA0\x80"));           // a surrogate
    EXPECT_FALSE(isValidUtf8("\xF4\x90\x80\x80"));       // above U+10FFFF
    EXPECT_FALSE(isValidUtf8("\x80"));                   // a continuation byte alone
    EXPECT_FALSE(isValidUtf8("abcdefgh\xE2\x82"));       // cut off at the end, after a fast block
    EXPECT_FALSE(isValidUtf8("\xE2\x82" "abc"));         // cut off in the middle
    EXPECT_FALSE(isValidUtf8("\xFF\xFE"));
}

TEST(TextEncoding, Windows1252BytesBecomeTheirCharacters) {
    EXPECT_EQ(windows1252ToUtf8("Caf\xE9"), "Caf\xC3\xA9");
    EXPECT_EQ(windows1252ToUtf8("\x80"), "\xE2\x82\xAC");      // €
    EXPECT_EQ(windows1252ToUtf8("\x9F"), "\xC5\xB8");          // Ÿ
    EXPECT_EQ(windows1252ToUtf8("\x93x\x94"), "\xE2\x80\x9Cx\xE2\x80\x9D"); // curly quotes
    EXPECT_EQ(windows1252ToUtf8("\xA0\xFF"), "\xC2\xA0\xC3\xBF");
    EXPECT_EQ(windows1252ToUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));
}

TEST(TextEncoding, EveryWindows1252ByteSurvivesAndTheResultIsValidUtf8) {
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    const std::string utf8 = windows1252ToUtf8(all);
    EXPECT_TRUE(isValidUtf8(utf8));
    // The five bytes the code page leaves undefined keep their value as C1 controls.
    for (const char* undefined : {"\x81", "\x8D", "\x8F", "\x90", "\x9D"})
        EXPECT_EQ(windows1252ToUtf8(undefined), std::string("\xC2") + undefined);
    // Decoding already valid UTF-8 does not re-encode it.
    EXPECT_EQ(decodeTextFile(utf8), utf8);
}

TEST(TextEncoding, DecodeTextFileTakesUtf8AsItIsAndAnythingElseAsWindows1252) {
    EXPECT_EQ(decodeTextFile("Caf\xC3\xA9\r\n"), "Caf\xC3\xA9\r\n");
    EXPECT_EQ(decodeTextFile("Caf\xE9\r\n"), "Caf\xC3\xA9\r\n");
    // One bad byte anywhere makes the whole file Windows-1252, even its UTF-8-looking parts.
    EXPECT_EQ(decodeTextFile("\xC3\xA9 and \xE9"), "\xC3\x83\xC2\xA9 and \xC3\xA9");
    EXPECT_EQ(decodeTextFile(""), "");
}

TEST(TextEncoding, DecodeTextFileDropsOneByteOrderMark) {
    EXPECT_EQ(decodeTextFile("\xEF\xBB\xBF[Profile]\r\n"), "[Profile]\r\n");
    EXPECT_EQ(decodeTextFile("\xEF\xBB\xBF"), "");
    // Only the first one is a mark; a second is text.
    EXPECT_EQ(decodeTextFile("\xEF\xBB\xBF\xEF\xBB\xBFx"), "\xEF\xBB\xBFx");
    // A mark before Windows-1252 text goes too, and the rest is read as Windows-1252.
    EXPECT_EQ(decodeTextFile("\xEF\xBB\xBF" "Caf\xE9"), "Caf\xC3\xA9");
}

TEST(FileNameText, NamesInOtherBytesBecomeValidUtf8ThatGivesTheSameBytesBack) {
    // UTF-8 names, the usual case, are their own text.
    for (const std::string name : {"a.mp3", "Caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x8E\xB5.mp3", ""})
        EXPECT_EQ(fileNameToText(name), name);
    // A stray byte becomes U+F700 + byte; the bytes around it stay as they are. The database
    // file holds this form, so it must not change.
    EXPECT_EQ(fileNameToText("caf\xE9.mp3"), "caf\xEF\x9F\xA9.mp3");
    EXPECT_EQ(fileNameToText("\x80\xC3\xA9\xFF"), "\xEF\x9E\x80\xC3\xA9\xEF\x9F\xBF");
    EXPECT_EQ(fileNameToText("\xE2\x82x"), "\xEF\x9F\xA2\xEF\x9E\x82x"); // a sequence cut short
    // A name that itself holds a character of that range keeps it as three escapes, so that a
    // text never stands for two different names.
    EXPECT_EQ(fileNameToText("\xEF\x9F\xA9"), "\xEF\x9F\xAF\xEF\x9E\x9F\xEF\x9E\xA9");
    EXPECT_EQ(fileNameToText("\xEF\x9E\x7F"), "\xEF\x9F\xAF\xEF\x9E\x9E\x7F"); // no character: bytes alone

    // Every byte pair and triple (and a few longer names) goes there and back exactly.
    std::string name(3, '\0');
    for (int a = 0; a < 256; ++a)
        for (int b = 0; b < 256; ++b)
            for (int c : {0x41, 0x80, 0x9E, 0x9F, 0xA9, 0xBF, 0xEF}) {
                name[0] = static_cast<char>(a), name[1] = static_cast<char>(b), name[2] = static_cast<char>(c);
                const std::string text = fileNameToText(name);
                ASSERT_TRUE(isValidUtf8(text)) << a << " " << b << " " << c;
                ASSERT_EQ(textToFileName(text), name) << a << " " << b << " " << c;
            }
    // A text typed by hand keeps what is not an escape.
    EXPECT_EQ(textToFileName("\xEF\x9F"), "\xEF\x9F");
    EXPECT_EQ(textToFileName("Caf\xC3\xA9"), "Caf\xC3\xA9");
}

} // namespace
} // namespace velmo
