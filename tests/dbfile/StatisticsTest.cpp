// The statistics line, the tab captions and the window caption built from the counters.
#include <gtest/gtest.h>

#include "DbFileTestUtil.h"
#include "base/MessageTable.h"
#include "musicdb/Statistics.h"

namespace velmo::test {
namespace {

constexpr int32_t kMB = 1048576;

TEST(Statistics, SizesRoundToWholeMegabytesWithHalvesToEven) {
    EXPECT_EQ(roundedMegabytes(0.0), "0");
    EXPECT_EQ(roundedMegabytes(0.5), "0");
    EXPECT_EQ(roundedMegabytes(1.5), "2");
    EXPECT_EQ(roundedMegabytes(2.5), "2");
    EXPECT_EQ(roundedMegabytes(3.5), "4");
    EXPECT_EQ(roundedMegabytes(2.4999), "2");
    EXPECT_EQ(roundedMegabytes(2.5001), "3");
    EXPECT_EQ(roundedMegabytes(123456789.5), "123456790");
    EXPECT_EQ(roundedMegabytes(1e12 + 0.5), "1000000000000");
    // Sums that went a hair below zero through adding and removing must not show "-0".
    EXPECT_EQ(roundedMegabytes(-1e-12), "0");
    EXPECT_EQ(roundedMegabytes(-0.4), "0");
    EXPECT_EQ(roundedMegabytes(-1.5), "-2");
}

TEST(Statistics, EmptyDatabaseOnTheMusicListTab) {
    MessageTable messages;
    StatCounters none;
    EXPECT_EQ(statisticsLine(none, messages, 1),
              "[0 total (0 MB)] - [0 unused (0 MB), 0 used (0 MB), 0 in playlist (0 MB)]");
    EXPECT_EQ(tabCaption(1, none, messages), "Music List (0)");
    EXPECT_EQ(tabCaption(5, none, messages), "Just Good (0/0)");
    EXPECT_EQ(tabCaption(0, none, messages), "");
}

StatCounters distinctCounters() {
    // Every key a different count and size, so a placeholder replaced by the wrong key shows.
    StatCounters c;
    c.a = {100, 1000.0};
    const Counter keys[] = {cN, cU, cP, cB, cF, cGN, cGU, cGP, cG};
    for (int i = 0; i < 9; ++i) c[keys[i]] = {11 + i, 20.0 + 10.0 * i};
    return c;
}

TEST(Statistics, EachTabUsesItsTemplate) {
    MessageTable messages;
    const StatCounters c = distinctCounters();
    // n 11/20, u 12/30, p 13/40, b 14/50, f 15/60, _gn 16/70, _gu 17/80, _gp 18/90, g 19/100
    const std::string music = "[100 total (1000 MB)] - [11 unused (20 MB), 12 used (30 MB), 13 in playlist (40 MB)]";
    EXPECT_EQ(statisticsLine(c, messages, 0), music);
    EXPECT_EQ(statisticsLine(c, messages, 1), music);
    EXPECT_EQ(statisticsLine(c, messages, 2),
              "[100 total (1000 MB)] - [13 in playlist (40 MB), 18 Just Good among them (90 MB)]");
    EXPECT_EQ(statisticsLine(c, messages, 3), "[100 total (1000 MB)] - [14 BlackListed (50 MB)]");
    EXPECT_EQ(statisticsLine(c, messages, 4), "[100 total (1000 MB)] - [15 in Favorites (60 MB)]");
    EXPECT_EQ(statisticsLine(c, messages, 5),
              "[19 Just Good total (100 MB)] - [16 unused (70 MB), 17 used (80 MB), 18 in playlist (90 MB)]");

    EXPECT_EQ(tabCaption(1, c, messages), "Music List (100)");
    EXPECT_EQ(tabCaption(2, c, messages), "Playlist (13)");
    EXPECT_EQ(tabCaption(3, c, messages), "Black List (14)");
    EXPECT_EQ(tabCaption(4, c, messages), "Favorites (15)");
    EXPECT_EQ(tabCaption(5, c, messages), "Just Good (16/19)");
}

TEST(Statistics, TemplateMayUseAnyPlaceholderEveryTimeItOccurs) {
    const StatCounters c = distinctCounters();
    EXPECT_EQ(fillStatisticsTemplate("%na %sa %nn %sn %nu %su %np %sp %nb %sb %nf %sf "
                                     "%n_gn %s_gn %n_gu %s_gu %n_gp %s_gp %ng %sg | %nb %nb %n_gp%np",
                                     c),
              "100 1000 11 20 12 30 13 40 14 50 15 60 16 70 17 80 18 90 19 100 | 14 14 1813");
    // Unknown or case-changed placeholders stay as they are.
    EXPECT_EQ(fillStatisticsTemplate("%NA %nx %s", c), "%NA %nx %s");

    // A translated table rewords the line and the captions.
    MessageTable messages;
    std::vector<std::string> translated = messages.all();
    translated[62] = "Gesamt %na, gesperrt %nb (%sb MB)";
    translated[67] = "Musikliste";
    translated[40] = "Ge\xC3\xA4ndert";
    ASSERT_TRUE(messages.replaceAll(translated));
    EXPECT_EQ(statisticsLine(c, messages, 0), "Gesamt 100, gesperrt 14 (50 MB)");
    EXPECT_EQ(tabCaption(1, c, messages), "Musikliste (100)");
    EXPECT_EQ(windowCaption("x.vmdb", true, messages), "VelmoMusicDataBase v2.07 - [x.vmdb]  ***Ge\xC3\xA4ndert");
}

TEST(Statistics, WindowCaptionShowsTheFileNameAsStoredAndTheModifiedMark) {
    MessageTable messages;
    EXPECT_EQ(windowCaption("Profiles\\Default\\Default.vmdb", false, messages),
              "VelmoMusicDataBase v2.07 - [Profiles\\Default\\Default.vmdb]");
    EXPECT_EQ(windowCaption("Profiles\\Default\\Default.vmdb", true, messages),
              "VelmoMusicDataBase v2.07 - [Profiles\\Default\\Default.vmdb]  ***Modified");
    EXPECT_EQ(windowCaption("", false, messages), "VelmoMusicDataBase v2.07 - []");
}

std::string songs(int count, int32_t size, int icon = 6) {
    std::string text = "D /L/:1:0\r\n";
    for (int i = 0; i < count; ++i) text += songLine(1, "s" + std::to_string(10 + i) + ".mp3", icon, size);
    return text;
}

TEST(Statistics, SizeSumsOfLoadedSongsRoundHalvesToEven) {
    MessageTable messages;
    auto twoAndAHalf = makeDatabase();
    loadText(*twoAndAHalf, songs(2, kMB + kMB / 4)); // 2.5 MB
    EXPECT_EQ(statisticsLine(twoAndAHalf->counters(), messages, 0),
              "[2 total (2 MB)] - [2 unused (2 MB), 0 used (0 MB), 0 in playlist (0 MB)]");

    auto threeAndAHalf = makeDatabase();
    loadText(*threeAndAHalf, songs(2, kMB + 3 * kMB / 4), false); // 3.5 MB
    EXPECT_EQ(statisticsLine(threeAndAHalf->counters(), messages, 0),
              "[2 total (4 MB)] - [2 unused (4 MB), 0 used (0 MB), 0 in playlist (0 MB)]");
}

TEST(Statistics, PlaylistAndJustGoodCaptionsFollowStatusChanges) {
    MessageTable messages;
    auto db = makeDatabase();
    loadText(*db, songs(12, kMB));
    auto items = db->musicList().items();
    for (int i = 0; i < 7; ++i) db->SetStatus(items[i]->data(), ssPlayList);
    for (int i = 7; i < 10; ++i) db->SetStatus(items[i]->data(), ssGoodPlayList);
    EXPECT_EQ(tabCaption(2, db->counters(), messages), "Playlist (10)");
    EXPECT_EQ(statisticsLine(db->counters(), messages, 2),
              "[12 total (12 MB)] - [10 in playlist (10 MB), 3 Just Good among them (3 MB)]");

    // Five Just Good songs, two of them unused.
    db->SetStatus(items[10]->data(), ssGoodUnused);
    db->SetStatus(items[11]->data(), ssJustGood);
    EXPECT_EQ(tabCaption(5, db->counters(), messages), "Just Good (2/5)");
    EXPECT_EQ(statisticsLine(db->counters(), messages, 5),
              "[5 Just Good total (5 MB)] - [2 unused (2 MB), 0 used (0 MB), 3 in playlist (3 MB)]");

    // Back and forth leaves sums that must still show as zero.
    for (auto* item : items) db->SetStatus(item->data(), ssUnused);
    EXPECT_EQ(statisticsLine(db->counters(), messages, 5),
              "[0 Just Good total (0 MB)] - [0 unused (0 MB), 0 used (0 MB), 0 in playlist (0 MB)]");
}

} // namespace
} // namespace velmo::test
