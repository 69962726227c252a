// The one-line tag string of the database file: its layout, escaping, three-digit tracks and
// the reading of damaged strings.
#include <gtest/gtest.h>

#include "musicdb/TDataRec.h"
#include "musicdb/TIDTag.h"
#include "util/IntConversion.h"

namespace velmo {
namespace {

const std::string S = "\x01";

TIDTag makeTag(std::string title, std::string artist, std::string album, std::string year, std::string comment,
               int track, int genre) {
    TIDTag tag;
    tag.title = std::move(title);
    tag.artist = std::move(artist);
    tag.album = std::move(album);
    tag.year = std::move(year);
    tag.comment = std::move(comment);
    tag.track = static_cast<uint8_t>(track);
    tag.genre = static_cast<uint8_t>(genre);
    return tag;
}

TIDTag extracted(std::string_view s) {
    TIDTag tag;
    ExtractTag(tag, s);
    return tag;
}

TEST(TagString, FieldsSeparatedByByteOneThenTwoTrackAndThreeGenreDigits) {
    EXPECT_EQ(MakeTagStr(makeTag("Song", "Band", "", "1999", "", 3, 17)), "Song" + S + "Band" + S + S + "1999" + S + "03017");
    EXPECT_EQ(MakeTagStr(makeTag("T", "A", "L", "2001", "C", 12, 0)), "T" + S + "A" + S + "L" + S + "2001" + S + "C12000");
    EXPECT_EQ(MakeTagStr(TIDTag{}), S + S + S + S + "00255");
    EXPECT_EQ(MakeTagStr(TIDTag{}), kEmptyTagString);

    EXPECT_EQ(extracted("Song" + S + "Band" + S + S + "1999" + S + "Live take03017"),
              makeTag("Song", "Band", "", "1999", "Live take", 3, 17));
}

TEST(TagString, EmptyStringGivesTheEmptyTagWhateverWasThere) {
    TIDTag tag = makeTag("x", "y", "z", "1", "c", 5, 6);
    ExtractTag(tag, "");
    EXPECT_EQ(tag, TIDTag{});
    EXPECT_EQ(tag.genre, 255);
}

TEST(TagString, LineBreaksAreEscapedEverywhereButUnescapedOnlyInTheComment) {
    const TIDTag tag = makeTag("Two\nLines", "CR\rhere", "Al\r\nbum", "19\n9", "one\ntwo\rthree\r\n", 7, 1);
    const std::string s = MakeTagStr(tag);
    EXPECT_EQ(s, "Two%nLines" + S + "CR%rhere" + S + "Al%r%nbum" + S + "19%n9" + S + "one%ntwo%rthree%r%n07001");

    const TIDTag back = extracted(s);
    EXPECT_EQ(back.comment, "one\ntwo\rthree\r\n");
    EXPECT_EQ(back.title, "Two%nLines");
    EXPECT_EQ(back.artist, "CR%rhere");
    EXPECT_EQ(back.album, "Al%r%nbum");
    EXPECT_EQ(back.year, "19%n9");
    EXPECT_EQ(back.track, 7);
    EXPECT_EQ(back.genre, 1);
}

TEST(TagString, ThreeDigitTrackPutsItsHundredsAfterAPercentAtTheEndOfTheComment) {
    EXPECT_EQ(MakeTagStr(makeTag("", "", "", "", "Live", 123, 17)), S + S + S + S + "Live%123017");
    EXPECT_EQ(MakeTagStr(makeTag("", "", "", "", "", 255, 255)), S + S + S + S + "%255255");
    EXPECT_EQ(extracted(S + S + S + S + "Live%123017").track, 123);
    EXPECT_EQ(extracted(S + S + S + S + "Live%123017").comment, "Live");
    // A comment that itself ends like a marker gets the marker of hundreds 0.
    EXPECT_EQ(MakeTagStr(makeTag("", "", "", "", "up 100%5", 7, 1)), S + S + S + S + "up 100%5%007001");
}

TEST(TagString, EveryTrackAndGenreRoundTripsWhateverTheComment) {
    const std::vector<std::string> comments = {"",      "Live",  "%",    "50%",    "%1",       "ends %9",
                                               "100%5%0", "a\nb", "%\n",    "%%1",      "99"};
    for (const std::string& comment : comments) {
        for (int track = 0; track <= 255; ++track) {
            const TIDTag tag = makeTag("t", "a", "l", "y", comment, track, (track * 7) % 256);
            const std::string s = MakeTagStr(tag);
            ASSERT_EQ(s.find_first_of("\r\n"), std::string::npos);
            ASSERT_EQ(extracted(s), tag) << "comment \"" << comment << "\" track " << track;
            ASSERT_EQ(canonicalTagString(s), s);
        }
    }
    for (int genre = 0; genre <= 255; ++genre) {
        const TIDTag tag = makeTag("", "", "", "", "", 1, genre);
        ASSERT_EQ(extracted(MakeTagStr(tag)), tag) << genre;
    }
}

TEST(TagString, MissingSeparatorStopsWithTheFieldsSoFar) {
    const TIDTag before = makeTag("t0", "a0", "l0", "y0", "c0", 9, 9);
    TIDTag tag = before;
    ExtractTag(tag, "no separators03017");
    EXPECT_EQ(tag, before);

    tag = before;
    ExtractTag(tag, "Title" + S + "Artist" + S + "rest");
    EXPECT_EQ(tag, makeTag("Title", "Artist", "l0", "y0", "c0", 9, 9));
}

TEST(TagString, NonDigitTrackOrGenreIsAConversionError) {
    auto error = [](const std::string& s) -> std::string {
        try {
            TIDTag tag;
            ExtractTag(tag, s);
        } catch (const ConversionError& e) {
            return e.what();
        }
        return "no error";
    };
    EXPECT_EQ(error(S + S + S + S + "comment0x255"), "'0x' is not a valid integer value");
    EXPECT_EQ(error(S + S + S + S + "comment0325a"), "'25a' is not a valid integer value");
}

TEST(TagString, RecordKeepsTheTagInItsStringForm) {
    TDataRec rec;
    EXPECT_EQ(rec.IDTag(), TIDTag{});
    const TIDTag tag = makeTag("T", "A", "L", "2020", "multi\nline", 150, 80);
    rec.SetIDTag(tag);
    EXPECT_EQ(rec.TagStr, MakeTagStr(tag));
    EXPECT_EQ(rec.IDTag(), tag);
}

} // namespace
} // namespace velmo
