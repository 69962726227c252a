// Writing the music tree as a database file and reading the indented text back into a load
// tree: bytes, line ends, levels and the errors of the reader.
#include <gtest/gtest.h>

#include "DbFileTestUtil.h"
#include "util/IntConversion.h"

namespace velmo::test {
namespace {

TIDTag firstSongTag() {
    TIDTag tag;
    tag.title = "First Song";
    tag.artist = "Some Artist";
    tag.album = "Album One";
    tag.year = "1999";
    tag.comment = "Live take";
    tag.track = 3;
    tag.genre = 17;
    return tag;
}

TDataRec* addNode(MusicDatabase& db, TreeNode* parent, const std::string& text, uint8_t image, int32_t size = 0) {
    TreeNode* node = db.TryToFindNode(parent, db.musicTree(), parent != nullptr, size, image, text);
    TDataRec* rec = db.AddToDataList(node);
    rec->Size = size;
    return rec;
}

TEST(DatabaseWriter, SampleCollectionIsWrittenByteForByte) {
    auto db = makeDatabase();
    TDataRec* disk = addNode(*db, nullptr, "Summer Mix /SUMMER01/", iiCDDisk);
    TDataRec* folder = addNode(*db, disk->MusicNode, "Album One", iiFolder);
    // Inserted in reverse order: the writer follows the tree, not the order of creation.
    TDataRec* second = addNode(*db, folder->MusicNode, "02 Second Song.mp3", imageOfStatus(ssFavorites), 3145728);
    TDataRec* first = addNode(*db, folder->MusicNode, "01 First Song.mp3", imageOfStatus(ssUsed), 4194304);
    first->SetIDTag(firstSongTag());
    second->SetIDTag(TIDTag{});

    const std::string bytes = formatDatabase(db->musicTree());
    EXPECT_EQ(bytes, sampleFile());

    const std::string expectedLine3 = "\t\t01 First Song.mp3:7:4194304:First Song\x01Some Artist\x01"
                                      "Album One\x01"
                                      "1999\x01Live take03017\r\n";
    EXPECT_NE(bytes.find(expectedLine3), std::string::npos);
    EXPECT_NE(bytes.find("\t\t02 Second Song.mp3:10:3145728:\x01\x01\x01\x01"
                         "00255\r\n"),
              std::string::npos);

    // Read back, the sample gives the same songs with the same tags and statuses.
    auto loaded = makeDatabase();
    loadText(*loaded, bytes);
    ASSERT_EQ(captionsOf(loaded->musicList()), (std::vector<std::string>{kFirstSong, kSecondSong}));
    TDataRec* firstLoaded = songByCaption(*loaded, kFirstSong);
    EXPECT_EQ(firstLoaded->IDTag(), firstSongTag());
    EXPECT_EQ(firstLoaded->Size, 4194304);
    EXPECT_EQ(MusicDatabase::statusOf(firstLoaded), ssUsed);
    TDataRec* secondLoaded = songByCaption(*loaded, kSecondSong);
    EXPECT_EQ(secondLoaded->IDTag(), TIDTag{});
    EXPECT_EQ(MusicDatabase::statusOf(secondLoaded), ssFavorites);
}

TEST(DatabaseWriter, SampleReadAndWrittenAgainDiffersOnlyByTheRootMarkOfItsFolder) {
    // Loading builds the folder tree, which marks the folder holding the songs as a root.
    auto db = makeDatabase();
    loadText(*db, sampleFile("5"));
    EXPECT_EQ(formatDatabase(db->musicTree()), sampleFile("4"));

    // A file whose folders already carry their marks is written back unchanged.
    auto again = makeDatabase();
    loadText(*again, sampleFile("4"));
    EXPECT_EQ(formatDatabase(again->musicTree()), sampleFile("4"));
}

TEST(DatabaseWriter, EmptyTreeGivesZeroBytesAndZeroBytesGiveAnEmptyTree) {
    auto db = makeDatabase();
    EXPECT_EQ(formatDatabase(db->musicTree()), "");
    LoadTree tree = LoadTree::parse("");
    EXPECT_TRUE(tree.empty());
    loadText(*db, "");
    EXPECT_TRUE(db->musicTree().empty());
    EXPECT_EQ(db->counters().a.count, 0);
}

TEST(DatabaseWriter, DisksAndFoldersEndInZeroSongsCarrySignedSizeAndEmptyFoldersStay) {
    auto db = makeDatabase();
    TDataRec* disk = addNode(*db, nullptr, "Drive <C> /DATA/", iiHardDiskRoot);
    disk->Size = 12345; // a size on a disk record is not written
    TDataRec* folder = addNode(*db, disk->MusicNode, "Empty", iiFolder);
    (void)folder;
    addNode(*db, disk->MusicNode, "odd.mp3", imageOfStatus(ssBlack), -5);
    EXPECT_EQ(formatDatabase(db->musicTree()), "Drive <C> /DATA/:2:0\r\n"
                                                "\tEmpty:5:0\r\n"
                                                "\todd.mp3:9:-5:" +
                                                    kNoTag + "\r\n");
}

TEST(DatabaseWriter, LargeOutputArrivesInPiecesThatJoinToTheWholeFile) {
    auto db = makeDatabase();
    TDataRec* disk = addNode(*db, nullptr, "Big /BIG/", iiCDDisk);
    const std::string longName(200, 'x');
    for (int i = 0; i < 8000; ++i)
        addNode(*db, disk->MusicNode, longName + std::to_string(100000 + i) + ".mp3", imageOfStatus(ssUnused), i);
    std::string joined;
    size_t pieces = 0;
    writeDatabase(db->musicTree(), [&](std::string_view piece) {
        ++pieces;
        joined.append(piece);
    });
    EXPECT_GT(pieces, 1u);
    EXPECT_EQ(joined, formatDatabase(db->musicTree()));
    EXPECT_EQ(joined.substr(0, 15), "Big /BIG/:1:0\r\n");
}

// --- Reading the indented text ---

struct ParsedLine {
    std::string text;
    uint32_t level;
};

std::vector<ParsedLine> parsed(std::string bytes) {
    LoadTree tree = LoadTree::parse(std::move(bytes));
    std::vector<ParsedLine> out;
    for (size_t i = 0; i < tree.size(); ++i) out.push_back({std::string(tree.line(i).text), tree.line(i).level});
    return out;
}

::testing::AssertionResult IsLine(const ParsedLine& line, const std::string& text, uint32_t level) {
    if (line.text == text && line.level == level) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "line \"" << line.text << "\" at level " << line.level;
}

TEST(DatabaseReader, SplitsAtCrLfLoneCrAndLoneLf) {
    auto lines = parsed("A:1:0\r\tb:6:1\n\tc:6:2\r\n\td:6:3");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_TRUE(IsLine(lines[0], "A:1:0", 0));
    EXPECT_TRUE(IsLine(lines[1], "b:6:1", 1));
    EXPECT_TRUE(IsLine(lines[2], "c:6:2", 1));
    EXPECT_TRUE(IsLine(lines[3], "d:6:3", 1));
    // A final line end adds no empty line.
    EXPECT_EQ(parsed("A:1:0\r\n").size(), 1u);
    EXPECT_EQ(parsed("A:1:0\n").size(), 1u);
    EXPECT_EQ(parsed("A:1:0\r").size(), 1u);
}

TEST(DatabaseReader, ALineThatBeginsWithABlankCountsBlanksAndTabsAsLevels) {
    auto lines = parsed("D:1:0\r\n F:5:0\r\n  s.mp3:6:1\r\n \tt.mp3:6:2\r\n");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_TRUE(IsLine(lines[1], "F:5:0", 1));
    EXPECT_TRUE(IsLine(lines[2], "s.mp3:6:1", 2));
    EXPECT_TRUE(IsLine(lines[3], "t.mp3:6:2", 2));
}

TEST(DatabaseReader, BlanksAfterTheTabsBelongToTheName) {
    // " live.mp3" in folder F is written one TAB deeper than F, after G's song at level 3.
    auto lines = parsed("D:1:0\r\n\tF:5:0\r\n\t\tG:5:0\r\n\t\t\tx.mp3:6:1\r\n\t\t live.mp3:6:2\r\n"
                        "\t\t  \t two.mp3:6:3\r\n");
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_TRUE(IsLine(lines[4], " live.mp3:6:2", 2));
    EXPECT_TRUE(IsLine(lines[5], "  \t two.mp3:6:3", 2));
}

TEST(DatabaseReader, FirstLineIsTopLevelWhateverItsIndentAndShallowerLinesClimb) {
    LoadTree tree = LoadTree::parse("\t\tA:1:0\r\n\tF:5:0\r\n\t\tG:5:0\r\n\t\t\tx:6:1\r\nB:1:0\r\n\ty:6:1\r\n");
    ASSERT_EQ(tree.size(), 6u);
    EXPECT_EQ(tree.line(0).level, 0u);
    EXPECT_EQ(tree.line(1).level, 1u);
    // The subtrees: A holds F, G and x; B holds y.
    EXPECT_EQ(tree.line(0).subtreeEnd, 4u);
    EXPECT_EQ(tree.line(1).subtreeEnd, 4u);
    EXPECT_EQ(tree.line(2).subtreeEnd, 4u);
    EXPECT_FALSE(tree.hasChildren(3));
    EXPECT_EQ(tree.line(4).subtreeEnd, 6u);
    EXPECT_TRUE(tree.hasChildren(4));
    EXPECT_FALSE(tree.hasChildren(5));
}

void expectFormatError(const std::string& bytes, const std::string& message) {
    try {
        LoadTree::parse(bytes);
        ADD_FAILURE() << "no error for: " << bytes;
    } catch (const DatabaseFormatError& e) {
        EXPECT_EQ(std::string(e.what()), message);
    }
}

TEST(DatabaseReader, LineMoreThanOneLevelDeeperIsRefusedWithItsDepthAndText) {
    expectFormatError("D /L/:1:0\r\n\tF:5:0\r\n\t\t\tDeep:5:0\r\n", "Invalid level (3) for item \"Deep:5:0\"");
    expectFormatError("D /L/:1:0\r\n\t\ts.mp3:6:1\r\n", "Invalid level (2) for item \"s.mp3:6:1\"");
    // Blanks count as levels in the error too.
    expectFormatError("D /L/:1:0\r\n  s.mp3:6:1\r\n", "Invalid level (2) for item \"s.mp3:6:1\"");
}

TEST(DatabaseReader, NestingIsRefusedBeyondItsLimit) {
    std::string deepest;
    for (int depth = 0; depth <= kMaxDatabaseLevel; ++depth)
        deepest += std::string(static_cast<size_t>(depth), '\t') + "n" + std::to_string(depth) + ":5:0\r\n";
    LoadTree tree = LoadTree::parse(deepest);
    EXPECT_EQ(tree.line(tree.size() - 1).level, static_cast<uint32_t>(kMaxDatabaseLevel));

    const int tooDeep = kMaxDatabaseLevel + 1;
    deepest += std::string(static_cast<size_t>(tooDeep), '\t') + "n" + std::to_string(tooDeep) + ":5:0\r\n";
    expectFormatError(deepest, "Invalid level (" + std::to_string(tooDeep) + ") for item \"n" +
                                   std::to_string(tooDeep) + ":5:0\"");
}

TEST(DatabaseReader, NodeInfoSplitsAtTheFirstThreeColons) {
    NodeInfo song = GetNodeInfo("a.mp3:7:123:T\x01:x:\x01\x01\x01" "00255");
    EXPECT_EQ(song.name, "a.mp3");
    EXPECT_EQ(song.icon, 7);
    EXPECT_EQ(song.size, 123);
    EXPECT_TRUE(song.hasTag);
    EXPECT_EQ(song.tag, "T\x01:x:\x01\x01\x01" "00255"); // the tag keeps its own colons

    NodeInfo folder = GetNodeInfo("Folder:4:0");
    EXPECT_EQ(folder.name, "Folder");
    EXPECT_EQ(folder.icon, 4);
    EXPECT_EQ(folder.size, 0);
    EXPECT_FALSE(folder.hasTag);
    EXPECT_EQ(folder.tag, "");

    EXPECT_EQ(GetNodeInfo("neg.mp3:6:-42:").size, -42);
}

TEST(DatabaseReader, NonNumericIconOrSizeGivesTheConversionError) {
    auto message = [](std::string_view text) -> std::string {
        try {
            GetNodeInfo(text);
        } catch (const ConversionError& e) {
            return e.what();
        }
        return "no error";
    };
    EXPECT_EQ(message("a.mp3:x:1:tag"), "'x' is not a valid integer value");
    EXPECT_EQ(message("a.mp3:6:12x:tag"), "'12x' is not a valid integer value");
    EXPECT_EQ(message("Folder:5:"), "'' is not a valid integer value");
    EXPECT_EQ(message("a.mp3:6:2147483648:tag"), "'2147483648' is not a valid integer value");
    EXPECT_EQ(GetNodeInfo("a.mp3:6:-2147483648:").size, INT32_MIN);
}

} // namespace
} // namespace velmo::test
