// Loading and merging a database file into the music database: statuses after loading,
// counters and lists, partial loads on bad lines, names that are refused, encodings.
#include <gtest/gtest.h>

#include <algorithm>

#include "DbFileTestUtil.h"
#include "musicdb/RootFolders.h"
#include "util/IntConversion.h"

namespace velmo::test {
namespace {

constexpr int32_t kMB = 1048576;

// One song per stored icon 6..13, each of 1 MB, in one folder.
std::string oneSongPerIcon() {
    std::string text = "Drive <C> /DATA/:3:0\r\n\tMusic:4:0\r\n";
    for (int icon = 6; icon <= 13; ++icon) text += songLine(2, "s" + std::to_string(icon) + ".mp3", icon, kMB);
    return text;
}

std::string captionOfIcon(int icon) { return "Drive <C> /DATA/\\Music\\s" + std::to_string(icon) + ".mp3"; }

void expectListsMirrorCounters(MusicDatabase& db) {
    const StatCounters& c = db.counters();
    EXPECT_EQ(static_cast<size_t>(c.a.count), db.musicList().size());
    EXPECT_EQ(static_cast<size_t>(c[cP].count), db.playList().size());
    EXPECT_EQ(static_cast<size_t>(c[cB].count), db.blackList().size());
    EXPECT_EQ(static_cast<size_t>(c[cF].count), db.favorites().size());
    EXPECT_EQ(static_cast<size_t>(c[cG].count), db.justGood().size());
}

struct StatusAfterLoadCase {
    bool goodCycle;
    int expected[8]; // statuses of the songs stored with icons 6..13
};

void PrintTo(const StatusAfterLoadCase& c, std::ostream* os) { *os << (c.goodCycle ? "Cycle" : "Remain unused"); }

class StatusAfterLoad : public ::testing::TestWithParam<StatusAfterLoadCase> {};

TEST_P(StatusAfterLoad, EachStoredIconGivesItsStatusAndTheNodesAgree) {
    const auto& param = GetParam();
    auto db = makeDatabase();
    loadText(*db, oneSongPerIcon(), param.goodCycle);
    for (int icon = 6; icon <= 13; ++icon) {
        TDataRec* rec = songByCaption(*db, captionOfIcon(icon));
        ASSERT_NE(rec, nullptr) << icon;
        const int status = param.expected[icon - 6];
        EXPECT_EQ(MusicDatabase::statusOf(rec), status) << "stored icon " << icon;
        EXPECT_EQ(rec->MusicNode->imageIndex(), imageOfStatus(status)) << "stored icon " << icon;
        ASSERT_NE(rec->FolderNode, nullptr);
        EXPECT_EQ(rec->FolderNode->imageIndex(), imageOfStatus(status)) << "stored icon " << icon;
    }
    expectListsMirrorCounters(*db);
}

INSTANTIATE_TEST_SUITE_P(
    GoodCycle, StatusAfterLoad,
    ::testing::Values(
        StatusAfterLoadCase{false, {ssUnused, ssUsed, ssUsed, ssBlack, ssFavorites, ssGoodUnused, ssGoodUnused,
                                    ssGoodUnused}},
        StatusAfterLoadCase{true, {ssUnused, ssUsed, ssUsed, ssBlack, ssFavorites, ssGoodUnused, ssGoodUsed,
                                   ssGoodPlayList}}),
    [](const auto& testInfo) { return testInfo.param.goodCycle ? std::string("Cycle") : std::string("RemainUnused"); });

TEST(DatabaseLoad, PlaylistIsDissolvedApartFromFavorites) {
    auto db = makeDatabase();
    loadText(*db, oneSongPerIcon(), false);
    EXPECT_EQ(captionsOf(db->playList()), std::vector<std::string>{captionOfIcon(10)});
    EXPECT_EQ(captionsOf(db->favorites()), std::vector<std::string>{captionOfIcon(10)});
    EXPECT_EQ(captionsOf(db->blackList()), std::vector<std::string>{captionOfIcon(9)});
    EXPECT_EQ(captionsOf(db->justGood()),
              (std::vector<std::string>{captionOfIcon(11), captionOfIcon(12), captionOfIcon(13)}));

    const StatCounters& c = db->counters();
    EXPECT_EQ(c.a.count, 8);
    EXPECT_DOUBLE_EQ(c.a.sizeMB, 8.0);
    EXPECT_EQ(c[cN].count, 5); // unused, favourite and three Just Good unused
    EXPECT_DOUBLE_EQ(c[cN].sizeMB, 5.0);
    EXPECT_EQ(c[cU].count, 3); // two used and the black one
    EXPECT_DOUBLE_EQ(c[cU].sizeMB, 3.0);
    EXPECT_EQ(c[cP].count, 1);
    EXPECT_EQ(c[cGN].count, 3);
    EXPECT_EQ(c[cGU].count, 0);
    EXPECT_EQ(c[cGP].count, 0);
    EXPECT_EQ(c[cG].count, 3);
}

TEST(DatabaseLoad, WithCycleJustGoodPlaylistSongsReturnToThePlaylist) {
    auto db = makeDatabase();
    loadText(*db, oneSongPerIcon(), true);
    auto playlist = captionsOf(db->playList());
    std::sort(playlist.begin(), playlist.end());
    EXPECT_EQ(playlist, (std::vector<std::string>{captionOfIcon(10), captionOfIcon(13)}));
    const StatCounters& c = db->counters();
    EXPECT_EQ(c[cN].count, 3);
    EXPECT_EQ(c[cU].count, 4);
    EXPECT_EQ(c[cP].count, 2);
    EXPECT_EQ(c[cGN].count, 1);
    EXPECT_EQ(c[cGU].count, 1);
    EXPECT_EQ(c[cGP].count, 1);
    EXPECT_EQ(c[cG].count, 3);
}

TEST(DatabaseLoad, SongCaptionsAreTheirPathsInTheMusicTreeInTreeOrder) {
    auto db = makeDatabase();
    // Written out of order: the music tree sorts hard disks before CDs and folders before songs.
    loadText(*db, "Zeta /Z/:1:0\r\n" + songLine(1, "b.mp3", 6, 1) + songLine(1, "a.mp3", 6, 1) +
                      "\tSub:5:0\r\n" + songLine(2, "c.mp3", 6, 1) + "Drive <D> /X/:3:0\r\n" +
                      songLine(1, "d.mp3", 6, 1));
    std::vector<std::string> order;
    db->musicTree().forEach([&](TreeNode* node, int level) {
        order.push_back(std::string(static_cast<size_t>(level), '>') + node->text());
    });
    EXPECT_EQ(order, (std::vector<std::string>{"Drive <D> /X/", ">d.mp3", "Zeta /Z/", ">Sub", ">>c.mp3", ">a.mp3",
                                               ">b.mp3"}));
    auto list = captionsOf(db->musicList());
    std::sort(list.begin(), list.end());
    EXPECT_EQ(list, (std::vector<std::string>{"Drive <D> /X/\\d.mp3", "Zeta /Z/\\Sub\\c.mp3", "Zeta /Z/\\a.mp3",
                                              "Zeta /Z/\\b.mp3"}));
}

TEST(DatabaseLoad, DiskAndFolderLineSizesAddToTheTotalSizeOnly) {
    auto db = makeDatabase();
    loadText(*db, "Disk /L/:1:" + std::to_string(3 * kMB) + "\r\n\tF:5:" + std::to_string(kMB) + "\r\n" +
                      songLine(2, "s.mp3", 6, kMB / 2));
    const StatCounters& c = db->counters();
    EXPECT_EQ(c.a.count, 1);
    EXPECT_DOUBLE_EQ(c.a.sizeMB, 4.5);
    EXPECT_DOUBLE_EQ(c[cN].sizeMB, 0.5);
    // Written back, disks and folders end in ":0" again.
    EXPECT_EQ(formatDatabase(db->musicTree()), "Disk /L/:1:0\r\n\tF:4:0\r\n" + songLine(2, "s.mp3", 6, kMB / 2));
}

TEST(DatabaseLoad, ChildlessDiskOrFolderLineStaysAnEmptyNode) {
    auto db = makeDatabase();
    loadText(*db, "Empty /E/:1:0\r\nDisk /L/:1:0\r\n\tHollow:5:0\r\n" + songLine(1, "s.mp3", 6, 10));
    EXPECT_EQ(db->musicList().size(), 1u);
    EXPECT_EQ(db->counters().a.count, 1);
    EXPECT_EQ(formatDatabase(db->musicTree()),
              "Disk /L/:0:0\r\n\tHollow:5:0\r\n" + songLine(1, "s.mp3", 6, 10) + "Empty /E/:1:0\r\n");
}

// A root folder holding an empty root of the same name shares one folder-tree entry with it;
// the entry goes only once neither needs it, and both lose their marks.
TEST(DatabaseLoad, EmptyRootInsideARootOfTheSameNameLoadsAndMerges) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"Disk /L/:1:0\r\n\tA:4:0\r\n\t\tA:4:0\r\n", "Disk /L/:1:0\r\n\tA:5:0\r\n\t\tA:5:0\r\n"},
        {"Disk /L/:1:0\r\n\tA:4:0\r\n\t\tA:4:0\r\n\t\t\tB:5:0\r\n",
         "Disk /L/:1:0\r\n\tA:5:0\r\n\t\tA:5:0\r\n\t\t\tB:5:0\r\n"},
        {"D /L/:0:0\r\n\tD:4:0\r\n", "D /L/:1:0\r\n\tD:5:0\r\n"},
        // The same folder entry reached twice through the nested root.
        {"Disk /L/:1:0\r\n\tA:4:0\r\n\t\tX:5:0\r\n\t\t\tA:4:0\r\n\t\t\t\tX:5:0\r\n",
         "Disk /L/:1:0\r\n\tA:5:0\r\n\t\tX:5:0\r\n\t\t\tA:5:0\r\n\t\t\t\tX:5:0\r\n"},
    };
    for (const auto& [text, saved] : cases) {
        auto db = makeDatabase();
        loadText(*db, text);
        EXPECT_EQ(formatDatabase(db->musicTree()), saved) << text;
        EXPECT_TRUE(db->folderTree().empty()) << text;

        auto merged = makeDatabase();
        loadText(*merged, "Other /O/:1:0\r\n\tA:4:0\r\n" + songLine(2, "s.mp3", 6, 10));
        loadText(*merged, text, false, true);
        ASSERT_EQ(merged->folderTree().topLevelCount(), 1u) << text;
        EXPECT_EQ(merged->folderTree().topLevel(0)->text(), "A") << text;
        EXPECT_EQ(merged->folderTree().topLevel(0)->childCount(), 1u) << text;
        EXPECT_EQ(merged->musicList().size(), 1u) << text;
    }
    // Songs below the nested root land in the shared entry.
    auto db = makeDatabase();
    loadText(*db, "Disk /L/:1:0\r\n\tA:4:0\r\n\t\tA:4:0\r\n" + songLine(3, "s.mp3", 6, 10) +
                      songLine(2, "t.mp3", 6, 10));
    ASSERT_EQ(db->folderTree().topLevelCount(), 1u);
    EXPECT_EQ(db->folderTree().topLevel(0)->childCount(), 2u);
    for (ListItem* item = db->musicList().first(); item; item = db->musicList().next(item))
        EXPECT_NE(item->data()->FolderNode, nullptr) << item->caption();
}

// The folder tree as lines "level text image size", sizes telling same-named songs apart.
std::vector<std::string> folderTreeLines(MusicDatabase& db) {
    std::vector<std::string> out;
    db.folderTree().forEach([&](TreeNode* n, int level) {
        out.push_back(std::to_string(level) + " " + n->text() + " " + std::to_string(n->imageIndex()) + " " +
                      std::to_string(n->data() ? n->data()->Size : -1));
    });
    return out;
}

// A whole load puts the songs of merged folders in order once at the end; the result must be
// the tree that rooting the disks one by one builds, ties and all: songs of one name from
// several disks in the music tree's order of the disks, not the file's, an empty file among
// them, a root nested in one of its name, and folders written out of order.
TEST(DatabaseLoad, WholeLoadBuildsTheFolderTreeOfDisksRootedOneByOneInTreeOrder) {
    const std::string text = "C /C1/:3:0\r\n\tJazz:4:0\r\n" + songLine(2, "e.mp3", 6, 6) + songLine(2, "m.mp3", 6, 1) +
                             "\tEmpty:4:0\r\nA /A1/:3:0\r\n\tJazz:4:0\r\n" + songLine(2, "z.mp3", 6, 5) +
                             songLine(2, "m.mp3", 6, 7) +
                             songLine(2, "m.mp3", 6, 3) + songLine(2, "e.mp3", 6, 0) + "\t\tLive:5:0\r\n" +
                             songLine(3, "b.mp3", 6, 1) + "\t\tJazz:4:0\r\n" + songLine(3, "m.mp3", 6, 9) +
                             "B /B1/:3:0\r\n\tJazz:4:0\r\n" + songLine(2, "e.mp3", 6, 4) + songLine(2, "a.mp3", 6, 2) +
                             songLine(2, "m.mp3", 6, 8) + songLine(2, "e.mp3", 6, 0) + "\t\tLive:5:0\r\n" +
                             songLine(3, "a.mp3", 6, 1) + "\tRock:4:0\r\n" + songLine(2, "r.mp3", 6, 1);
    auto whole = makeDatabase();
    loadText(*whole, text);

    auto oneByOne = makeDatabase();
    loadText(*oneByOne, text);
    for (const auto& rec : oneByOne->dataList()) rec->FolderNode = nullptr;
    oneByOne->folderTree().clear();
    RootFolders roots(*oneByOne);
    for (size_t i = 0; i < oneByOne->musicTree().topLevelCount(); ++i) roots.ReRoot(oneByOne->musicTree().topLevel(i));

    const std::vector<std::string> built = folderTreeLines(*whole);
    EXPECT_EQ(built, folderTreeLines(*oneByOne));
    EXPECT_EQ(built.size(), 17u); // the empty root is gone, the rest is there
    EXPECT_EQ(formatDatabase(whole->musicTree()), formatDatabase(oneByOne->musicTree())); // the same root marks
    for (ListItem* item = whole->musicList().first(); item; item = whole->musicList().next(item))
        EXPECT_EQ(item->data()->FolderNode->data(), item->data()) << item->caption();
}

TEST(DatabaseLoad, NamesBeginningWithBlanksLoadAndSaveBackUnchanged) {
    const std::string text = "D /L/:1:0\r\n\tF:4:0\r\n" + songLine(2, "a.mp3", 6, 100) + "\t\t Sub:5:0\r\n" +
                             songLine(3, "  c.mp3", 7, 300) + songLine(2, " b.mp3", 6, 200);
    auto db = makeDatabase();
    loadText(*db, text);
    EXPECT_EQ(captionsOf(db->musicList()),
              (std::vector<std::string>{"D /L/\\F\\a.mp3", "D /L/\\F\\ Sub\\  c.mp3", "D /L/\\F\\ b.mp3"}));
    auto again = makeDatabase();
    loadText(*again, formatDatabase(db->musicTree()));
    EXPECT_EQ(formatDatabase(again->musicTree()), formatDatabase(db->musicTree()));
    EXPECT_EQ(again->musicList().size(), 3u);
}

TEST(DatabaseLoad, LineBreaksInTagsSurviveAFileRoundTripOnlyInTheComment) {
    auto db = makeDatabase();
    loadText(*db, "D /L/:1:0\r\n" + songLine(1, "s.mp3", 6, 1));
    TDataRec* rec = songByCaption(*db, "D /L/\\s.mp3");
    ASSERT_NE(rec, nullptr);
    TIDTag tag;
    tag.title = "Two\nLines";
    tag.artist = "Carriage\rReturn";
    tag.comment = "first\r\nsecond";
    tag.track = 200;
    tag.genre = 0;
    rec->SetIDTag(tag);

    const std::string bytes = formatDatabase(db->musicTree());
    // No line break may split the song's line.
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 2);
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\r'), 2);

    auto loaded = makeDatabase();
    loadText(*loaded, bytes);
    TIDTag back = songByCaption(*loaded, "D /L/\\s.mp3")->IDTag();
    EXPECT_EQ(back.comment, "first\r\nsecond");
    EXPECT_EQ(back.title, "Two%nLines");
    EXPECT_EQ(back.artist, "Carriage%rReturn");
    EXPECT_EQ(back.track, 200);
    EXPECT_EQ(back.genre, 0);
}

TEST(DatabaseLoad, TagOfTheWindowsProgramWithAThreeDigitTrackKeepsItsLegacyReading) {
    // "%.2d" wrote track 123 as three digits: the reader takes "23" and leaves "1" in the comment.
    auto db = makeDatabase();
    loadText(*db, "D /L/:1:0\r\n\ts.mp3:6:1:T" + kSep + kSep + kSep + kSep + "Live123017\r\n");
    TIDTag tag = songByCaption(*db, "D /L/\\s.mp3")->IDTag();
    EXPECT_EQ(tag.comment, "Live1");
    EXPECT_EQ(tag.track, 23);
    EXPECT_EQ(tag.genre, 17);
}

TEST(DatabaseLoad, Windows1252FileIsReadWithItsAccentsAndWrittenBackAsUtf8) {
    auto db = makeDatabase();
    const std::string latin = "Caf\xE9 /\xC9T\xC9/:1:0\r\n\t\x80uro \xFC.mp3:6:10:Tr\xE8s" + kSep + "\x96" + kSep +
                              kSep + kSep + "00255\r\n";
    loadText(*db, latin);
    const std::string caption = "Caf\xC3\xA9 /\xC3\x89T\xC3\x89/\\\xE2\x82\xACuro \xC3\xBC.mp3";
    TDataRec* rec = songByCaption(*db, caption);
    ASSERT_NE(rec, nullptr);
    EXPECT_EQ(rec->IDTag().title, "Tr\xC3\xA8s");
    EXPECT_EQ(rec->IDTag().artist, "\xE2\x80\x93"); // en dash

    const std::string written = formatDatabase(db->musicTree());
    EXPECT_TRUE(written.starts_with("Caf\xC3\xA9 /")); // no byte-order mark either
    auto again = makeDatabase();
    loadText(*again, written);
    EXPECT_EQ(formatDatabase(again->musicTree()), written);
}

TEST(DatabaseLoad, Utf8FileWithByteOrderMarkIsReadWithoutIt) {
    auto db = makeDatabase();
    loadText(*db, "\xEF\xBB\xBF" "D\xC3\xA9 /L/:1:0\r\n" + songLine(1, "s.mp3", 6, 1));
    EXPECT_NE(songByCaption(*db, "D\xC3\xA9 /L/\\s.mp3"), nullptr);
}

TEST(DatabaseLoad, NamesTheCollationCallsEqualStayTwoSongsThroughSaveAndLoad) {
    // "é" precomposed and as "e" + combining accent: equal to the collation, different files.
    const std::string composed = "Caf\xC3\xA9.mp3";
    const std::string decomposed = "Cafe\xCC\x81.mp3";
    auto db = makeDatabase();
    loadText(*db, "D /L/:1:0\r\n\tF:5:0\r\n" + songLine(2, composed, 6, 100) + songLine(2, decomposed, 7, 100));
    ASSERT_EQ(db->musicList().size(), 2u);
    EXPECT_NE(songByCaption(*db, "D /L/\\F\\" + composed), nullptr);
    EXPECT_NE(songByCaption(*db, "D /L/\\F\\" + decomposed), nullptr);
    EXPECT_EQ(db->folderTree().topLevel(0)->childCount(), 2u);

    const std::string saved = formatDatabase(db->musicTree());
    auto again = makeDatabase();
    loadText(*again, saved);
    EXPECT_EQ(again->musicList().size(), 2u);
    EXPECT_EQ(MusicDatabase::statusOf(songByCaption(*again, "D /L/\\F\\" + decomposed)), ssUsed);
    EXPECT_EQ(MusicDatabase::statusOf(songByCaption(*again, "D /L/\\F\\" + composed)), ssUnused);
    EXPECT_EQ(formatDatabase(again->musicTree()), saved);

    // Merging the same file again finds both songs instead of adding or joining them.
    loadText(*again, saved, false, true);
    EXPECT_EQ(again->musicList().size(), 2u);
    EXPECT_EQ(again->counters().a.count, 2);
}

// --- Merging ---

TEST(DatabaseMerge, KeepsPresentStatusesAndAddsSameNameSongsOfAnotherSize) {
    auto db = makeDatabase();
    loadText(*db, "D /L/:1:0\r\n\tF:5:0\r\n" + songLine(2, "a.mp3", 7, 1000) + songLine(2, "b.mp3", 9, 2000));
    loadText(*db,
             "D /L/:1:0\r\n\tF:5:0\r\n" + songLine(2, "a.mp3", 10, 5000) + songLine(2, "a.mp3", 6, 1000) +
                 songLine(2, "b.mp3", 11, 2000) + songLine(2, "c.mp3", 12, 3000) + "Other /O/:1:0\r\n" +
                 songLine(1, "x.mp3", 9, 4000),
             true, true);

    std::vector<std::string> lines;
    db->musicTree().forEach([&](TreeNode* node, int level) {
        lines.push_back(std::to_string(level) + node->text() + ":" + std::to_string(node->imageIndex()) +
                        (node->data() ? ":" + std::to_string(node->data()->Size) : std::string()));
    });
    EXPECT_EQ(lines, (std::vector<std::string>{"0D /L/:1:0", "1F:4:0", "2a.mp3:10:5000", "2a.mp3:7:1000",
                                               "2b.mp3:9:2000", "2c.mp3:12:3000", "0Other /O/:0:0",
                                               "1x.mp3:9:4000"}));
    const StatCounters& c = db->counters();
    EXPECT_EQ(c.a.count, 5);
    EXPECT_DOUBLE_EQ(c.a.sizeMB, 15000.0 / kMB);
    EXPECT_EQ(c[cB].count, 2);
    EXPECT_EQ(c[cF].count, 1);
    EXPECT_EQ(c[cGU].count, 1);
    expectListsMirrorCounters(*db);
}

// --- Lines that are refused ---

std::string loadError(MusicDatabase& db, const std::string& text) {
    try {
        loadText(db, text);
    } catch (const std::exception& e) {
        return e.what();
    }
    return "no error";
}

TEST(DatabaseLoad, ConversionErrorStopsTheLoadAndKeepsWhatCameBefore) {
    auto db = makeDatabase();
    const std::string error = loadError(*db, "A /A/:1:0\r\n" + songLine(1, "s.mp3", 7, kMB) +
                                                  "B /B/:1:0\r\n\tt.mp3:6:12x:" + kNoTag + "\r\n" +
                                                  songLine(1, "u.mp3", 6, 1) + "C /C/:1:0\r\n" +
                                                  songLine(1, "v.mp3", 6, 1));
    EXPECT_EQ(error, "Line 4 of the database file: '12x' is not a valid integer value");
    EXPECT_EQ(captionsOf(db->musicList()), std::vector<std::string>{"A /A/\\s.mp3"});
    EXPECT_EQ(db->counters().a.count, 1);
    EXPECT_EQ(db->counters()[cU].count, 1);
    EXPECT_EQ(songByCaption(*db, "C /C/\\v.mp3"), nullptr);
    expectListsMirrorCounters(*db);

    auto other = makeDatabase();
    EXPECT_EQ(loadError(*other, "A /A/:1:0\r\n" + songLine(1, "s.mp3", 6, 1) + "B /B/:one:0\r\n"),
              "Line 3 of the database file: 'one' is not a valid integer value");
    EXPECT_EQ(other->musicList().size(), 1u);
}

TEST(DatabaseLoad, TagWhoseNumbersAreNotDigitsGivesTheConversionError) {
    auto db = makeDatabase();
    EXPECT_EQ(loadError(*db, "A /A/:1:0\r\n\ts.mp3:6:1:" + kSep + kSep + kSep + kSep + "0x255\r\n"),
              "Line 2 of the database file: '0x' is not a valid integer value");
    EXPECT_TRUE(db->musicList().empty());
}

TEST(DatabaseLoad, TooDeepLineAnalysesNothing) {
    auto db = makeDatabase();
    EXPECT_EQ(loadError(*db, "A /A/:1:0\r\n" + songLine(1, "s.mp3", 6, 1) + "B /B/:1:0\r\n\t\t\tDeep:5:0\r\n"),
              "Invalid level (3) for item \"Deep:5:0\"");
    EXPECT_TRUE(db->musicTree().empty());
    EXPECT_EQ(db->counters().a.count, 0);
}

struct RefusedLine {
    std::string body; // lines after the good disk "Good /G/" and its song
    std::string error;
};

void PrintTo(const RefusedLine& line, std::ostream* os) { *os << line.error; }

class RefusedLines : public ::testing::TestWithParam<RefusedLine> {};

std::string refusedLineName(const ::testing::TestParamInfo<RefusedLine>& param) {
    static const char* const kNames[] = {"DotDotFolder",    "DotSong",         "EmptyName",      "BackslashInSong",
                                         "SlashInSong",     "DotDotDisk",      "BackslashInDisk", "IconAboveSongs",
                                         "NegativeIcon",    "SongWithChildren"};
    return param.index < std::size(kNames) ? kNames[param.index] : "Case" + std::to_string(param.index);
}

TEST_P(RefusedLines, AreNamedByLineNumberAndEarlierDisksStay) {
    auto db = makeDatabase();
    const std::string text = "Good /G/:1:0\r\n" + songLine(1, "ok.mp3", 6, 1) + GetParam().body;
    EXPECT_EQ(loadError(*db, text), GetParam().error);
    EXPECT_EQ(captionsOf(db->musicList()), std::vector<std::string>{"Good /G/\\ok.mp3"});
    expectListsMirrorCounters(*db);
}

INSTANTIATE_TEST_SUITE_P(
    BadNamesIconsAndShapes, RefusedLines,
    ::testing::Values(
        RefusedLine{"Bad /B/:1:0\r\n\t..:5:0\r\n" + songLine(2, "x.mp3", 6, 1),
                    "Line 4 of the database file: \"..\" is not a valid name for a disk, folder or song."},
        RefusedLine{"Bad /B/:1:0\r\n" + songLine(1, ".", 6, 1),
                    "Line 4 of the database file: \".\" is not a valid name for a disk, folder or song."},
        RefusedLine{"Bad /B/:1:0\r\n" + songLine(1, "", 6, 1),
                    "Line 4 of the database file: \"\" is not a valid name for a disk, folder or song."},
        RefusedLine{"Bad /B/:1:0\r\n\tF:5:0\r\n" + songLine(2, "up\\..\\x.mp3", 6, 1),
                    "Line 5 of the database file: \"up\\..\\x.mp3\" is not a valid name for a disk, folder or song."},
        RefusedLine{"Bad /B/:1:0\r\n" + songLine(1, "sub/x.mp3", 6, 1),
                    "Line 4 of the database file: \"sub/x.mp3\" is not a valid name for a disk, folder or song."},
        RefusedLine{"..:1:0\r\n" + songLine(1, "x.mp3", 6, 1),
                    "Line 3 of the database file: \"..\" is not a valid name for a disk, folder or song."},
        RefusedLine{"Back\\slash /B/:1:0\r\n" + songLine(1, "x.mp3", 6, 1),
                    "Line 3 of the database file: \"Back\\slash /B/\" is not a valid name for a disk, folder or "
                    "song."},
        RefusedLine{"Bad /B/:1:0\r\n" + songLine(1, "x.mp3", 14, 1),
                    "Line 4 of the database file: 14 is not an icon of a disk, folder or song."},
        RefusedLine{"Bad /B/:-1:0\r\n" + songLine(1, "x.mp3", 6, 1),
                    "Line 3 of the database file: -1 is not an icon of a disk, folder or song."},
        RefusedLine{"Bad /B/:1:0\r\n" + songLine(1, "s.mp3", 6, 1) + songLine(2, "inner.mp3", 6, 1),
                    "Line 4 of the database file: the song \"s.mp3\" holds other entries."}),
    refusedLineName);

TEST(DatabaseLoad, DiskNamesMayHoldSlashesForTheirLabel) {
    auto db = makeDatabase();
    loadText(*db, "Mix /LABEL/:1:0\r\n" + songLine(1, "s.mp3", 6, 1));
    EXPECT_NE(songByCaption(*db, "Mix /LABEL/\\s.mp3"), nullptr);
}

} // namespace
} // namespace velmo::test

namespace velmo::test {
namespace {

// A folder written in another order (another program, another locale, a hand edit) loads
// into the same tree as a sorted one, and its songs enter the Music List in file order.
TEST(DatabaseLoadOrder, UnsortedFolderGivesTheSortedTreeAndFileOrderList) {
    std::string unsorted = "D /L/:1:0\r\n\tF:4:0\r\n";
    std::string sorted = unsorted;
    const std::vector<std::string> names = {"c.mp3", "a.mp3", "e.mp3", "b.mp3", "d.mp3"};
    for (const auto& n : names) unsorted += songLine(2, n, 6, 1000);
    std::vector<std::string> ordered = names;
    std::sort(ordered.begin(), ordered.end());
    for (const auto& n : ordered) sorted += songLine(2, n, 6, 1000);

    auto fromUnsorted = makeDatabase();
    loadText(*fromUnsorted, unsorted);
    auto fromSorted = makeDatabase();
    loadText(*fromSorted, sorted);
    EXPECT_EQ(formatDatabase(fromUnsorted->musicTree()), formatDatabase(fromSorted->musicTree()));
    std::vector<std::string> expected;
    for (const auto& n : names) expected.push_back("D /L/\\F\\" + n);
    EXPECT_EQ(captionsOf(fromUnsorted->musicList()), expected);
}

// Equal entries in one folder: the first in the file makes the song, the later one matches
// it, whatever the order of sizes around them.
TEST(DatabaseLoadOrder, RepeatedLineInAnUnsortedFolderMakesOneSong) {
    auto db = makeDatabase();
    loadText(*db, "D /L/:1:0\r\n\tF:4:0\r\n" + songLine(2, "b.mp3", 7, 10) + songLine(2, "a.mp3", 6, 5) +
                      songLine(2, "b.mp3", 9, 10) + songLine(2, "b.mp3", 6, 20));
    EXPECT_EQ(db->counters().a.count, 3);
    EXPECT_EQ(MusicDatabase::statusOf(songByCaption(*db, "D /L/\\F\\a.mp3")), ssUnused);
    // b.mp3 of size 10 took the status of its first line.
    EXPECT_EQ(formatDatabase(db->musicTree()), "D /L/:1:0\r\n\tF:4:0\r\n" + songLine(2, "a.mp3", 6, 5) +
                                                  songLine(2, "b.mp3", 6, 20) + songLine(2, "b.mp3", 7, 10));
}

// A bad line in the middle of a folder: the songs before it are loaded, those after it are
// not, and nothing half-made is left behind.
TEST(DatabaseLoadOrder, BadLineInAFolderKeepsWhatCameBeforeIt) {
    auto db = makeDatabase();
    const std::string text = "D /L/:1:0\r\n\tF:4:0\r\n" + songLine(2, "c.mp3", 7, 1) + songLine(2, "a.mp3", 6, 1) +
                             "\t\tbad.mp3:6:x:" + kNoTag + "\r\n" + songLine(2, "b.mp3", 6, 1);
    EXPECT_THROW(loadText(*db, text), DatabaseFormatError);
    EXPECT_EQ(captionsOf(db->musicList()), (std::vector<std::string>{"D /L/\\F\\c.mp3", "D /L/\\F\\a.mp3"}));
    EXPECT_EQ(db->counters().a.count, 2);
    EXPECT_EQ(formatDatabase(db->musicTree()),
              "D /L/:1:0\r\n\tF:4:0\r\n" + songLine(2, "a.mp3", 6, 1) + songLine(2, "c.mp3", 7, 1));
    for (const auto& rec : db->dataList()) EXPECT_EQ(rec->MusicNode->data(), rec.get());
}

} // namespace
} // namespace velmo::test
