#include <gtest/gtest.h>
#include <sys/stat.h>

#include "CatalogTestUtil.h"
#include "base/MessageTable.h"
#include "catalog/ID3v1.h"
#include "musicdb/TDataRec.h"

namespace velmo::test {
namespace {

TEST(ID3v1, VersionOneOneCarriesATrackAndAShorterComment) {
    TIDTag tag;
    std::string block = id3Block("Title", "Artist", "Album", "1999", std::string(30, 'c'), 7, 17);
    ASSERT_TRUE(parseId3v1Block(block, tag));
    EXPECT_EQ(tag.track, 7);
    EXPECT_EQ(tag.comment, std::string(28, 'c'));
    EXPECT_EQ(tag.genre, 17);
    // Byte 125 zero and byte 126 zero: no track, still 28 comment bytes.
    block[126] = '\0';
    ASSERT_TRUE(parseId3v1Block(block, tag));
    EXPECT_EQ(tag.track, 0);
    EXPECT_EQ(tag.comment, std::string(28, 'c'));
    // Byte 125 not zero: a version 1.0 block with a 30-byte comment.
    block[125] = 'x';
    block[126] = 'y';
    ASSERT_TRUE(parseId3v1Block(block, tag));
    EXPECT_EQ(tag.track, 0);
    EXPECT_EQ(tag.comment, std::string(28, 'c') + "xy");
}

TEST(ID3v1, FieldsAreTrimmedAndLatin1IsDecoded) {
    TIDTag tag;
    std::string block = id3Block("  Title  ", "Caf\xE9", "", "99  ");
    block.replace(3 + 9, 3, "\t\x01 ");
    ASSERT_TRUE(parseId3v1Block(block, tag));
    EXPECT_EQ(tag.title, "Title");
    EXPECT_EQ(tag.artist, "Caf\xC3\xA9");
    EXPECT_EQ(tag.year, "99");
    // UTF-8 text stays as it is.
    ASSERT_TRUE(parseId3v1Block(id3Block("\xC3\xBC" "ber"), tag));
    EXPECT_EQ(tag.title, "\xC3\xBC" "ber");
}

TEST(ID3v1, ControlCharactersBecomeBlanksSoTheTagReadsBackFieldForField) {
    TIDTag tag;
    // Byte 1 separates the fields of a database line; a TAB and an escape are no text either.
    ASSERT_TRUE(parseId3v1Block(id3Block("A\x01" "B", "C\tD", "E\x1b" "F", "19\x01" "9", "x\ny\x01z", 3, 17), tag));
    EXPECT_EQ(tag.title, "A B");
    EXPECT_EQ(tag.artist, "C D");
    EXPECT_EQ(tag.album, "E F");
    EXPECT_EQ(tag.year, "19 9");
    EXPECT_EQ(tag.comment, "x\ny z");
    TIDTag again;
    ExtractTag(again, MakeTagStr(tag));
    EXPECT_EQ(again, tag);
    // Only the comment keeps its line breaks: the line gives them back to no other field.
    ASSERT_TRUE(parseId3v1Block(id3Block("a\nb", "c\r\nd", "", "", "e\r\nf"), tag));
    EXPECT_EQ(tag.title, "a b");
    EXPECT_EQ(tag.artist, "c  d");
    EXPECT_EQ(tag.comment, "e\r\nf");
    ExtractTag(again, MakeTagStr(tag));
    EXPECT_EQ(again, tag);
    // Latin-1 text is cleaned the same way.
    ASSERT_TRUE(parseId3v1Block(id3Block("\xe9\x01\xe9", "a"), tag));
    EXPECT_EQ(tag.title, "\xc3\xa9 \xc3\xa9");
    // A tag that holds a separator anyway still makes a line of five fields.
    TIDTag made;
    made.title = "p\x01q";
    made.artist = "r";
    ExtractTag(again, MakeTagStr(made));
    EXPECT_EQ(again.title, "p q");
    EXPECT_EQ(again.artist, "r");
}

TEST(ID3v1, GenresBeyondTheTableAreNone) {
    TIDTag tag;
    ASSERT_TRUE(parseId3v1Block(id3Block("t", "", "", "", "", 0, 79), tag));
    EXPECT_EQ(tag.genre, 79);
    EXPECT_EQ(GenreNames[79], "Hard Rock");
    EXPECT_EQ(GenreNames[40], "AlternRock");
    EXPECT_EQ(GenreNames[67], "Psychadelic");
    ASSERT_TRUE(parseId3v1Block(id3Block("t", "", "", "", "", 0, 80), tag));
    EXPECT_EQ(tag.genre, 255);
    ASSERT_TRUE(parseId3v1Block(id3Block("t", "", "", "", "", 0, 255), tag));
    EXPECT_EQ(tag.genre, 255);
}

TEST(ID3v1, ReadingAFileTakesItsLastBlockOrLeavesTheTagAlone) {
    CatalogFixture f;
    f.file("cd/tagged.mp3", 1000, id3Block("Song", "Band"));
    f.file("cd/plain.mp3", 1000);
    f.file("cd/short.mp3", 100);
    TIDTag tag;
    tag.title = "unchanged";
    EXPECT_FALSE(ReadTag(f.dir.file("cd/missing.mp3"), tag));
    EXPECT_FALSE(ReadTag(f.dir.file("cd/short.mp3"), tag));
    {
        // A song that became a FIFO after the listing: no wait for a writer, no tag.
        HangGuard guard(30);
        ASSERT_EQ(mkfifo(f.dir.file("cd/fifo.mp3").c_str(), 0600), 0);
        EXPECT_FALSE(ReadTag(f.dir.file("cd/fifo.mp3"), tag));
    }
    EXPECT_EQ(tag.title, "unchanged");
    EXPECT_TRUE(ReadTag(f.dir.file("cd/plain.mp3"), tag));
    EXPECT_EQ(tag, TIDTag{});
    EXPECT_TRUE(ReadTag(f.dir.file("cd/tagged.mp3"), tag));
    EXPECT_EQ(tag.title, "Song");
    // What was read goes into the database line and comes back the same.
    TIDTag again;
    ExtractTag(again, MakeTagStr(tag));
    EXPECT_EQ(again, tag);
}

TEST(TagHint, ShowsThePresentFieldsThenTheSize) {
    MessageTable messages;
    TDataRec rec;
    TIDTag tag;
    tag.artist = "Band";
    tag.title = "Song";
    tag.track = 3;
    tag.genre = 79;
    tag.comment = "one\ntwo";
    rec.SetIDTag(tag);
    rec.Size = 3 * 1048576 + 524288;
    EXPECT_EQ(BuildTagHint(rec, messages, true), "Artist:       Band\nTitle:         Song\nTrack:       3\n"
                                                 "Genre:      Hard Rock\nComment:  one\n" +
                                                     std::string(20, ' ') + "two\nFile size:   3.5 MB");
    EXPECT_EQ(BuildTagHint(rec, messages, false), "File size:   3.5 MB");
    TDataRec untagged;
    untagged.Size = 1000;
    EXPECT_EQ(BuildTagHint(untagged, messages, true), "File size:   1 KB");
}

TEST(TagHint, SizesAroundOneMegabyte) {
    MessageTable m;
    EXPECT_EQ(sizeText(1048576, m), "1024 KB");
    EXPECT_EQ(sizeText(1048577, m), "1 MB");
    EXPECT_EQ(sizeText(4 * 1048576, m), "4 MB");
    EXPECT_EQ(sizeText(831795, m), "812.3 KB");
    EXPECT_EQ(sizeText(0, m), "0 KB");
}

} // namespace
} // namespace velmo::test
