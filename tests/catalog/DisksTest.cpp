// Finding the drive that holds a CD: simulated optical drives (folders holding
// ".volume-label") and a user who inserts the disk when asked, or declines.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "base/MessageTable.h"
#include "catalog/Disks.h"
#include "platform/Drives.h"
#include "support/TestSupport.h"

namespace velmo::test {
namespace {

using platform::DriveEntry;
using platform::DriveKind;
using platform::DriveTable;

// A user who, when asked to insert a disk, first does what the test scripts (puts a disk in
// a drive), then answers.
class InsertingUi : public ScriptedUi {
public:
    std::function<void()> onQuestion;
    bool withoutPerson = false;
    bool answersWithoutPerson() const override { return withoutPerson; }
    bool askYesNo(const std::string& caption, const std::string& text, bool yesIsDefault) override {
        if (onQuestion) onQuestion();
        return ScriptedUi::askYesNo(caption, text, yesIsDefault);
    }
};

class LookOrInsertCDTest : public ::testing::Test {
protected:
    LookOrInsertCDTest()
        : table({{'D', DriveKind::CdRom, dir.file("d"), std::nullopt},
                 {'E', DriveKind::CdRom, dir.file("e"), std::nullopt},
                 {'M', DriveKind::Fixed, dir.file("m"), std::string("SUMMER01")}},
                dir.path()) {
        std::filesystem::create_directories(dir.file("d"));
        std::filesystem::create_directories(dir.file("m"));
    }
    // Puts a disk with this label into the simulated drive folder `drive` ("d", "e").
    void insert(const std::string& drive, const std::string& label) {
        writeFile(dir.file(drive + "/" + std::string(platform::kVolumeLabelFile)), label + "\n");
    }
    std::optional<char> look(const std::string& diskText) { return LookOrInsertCD(ui, messages, table, diskText); }

    TempDir dir;
    InsertingUi ui;
    MessageTable messages;
    DriveTable table;
};

TEST_F(LookOrInsertCDTest, FindsTheOpticalDriveHoldingTheLabelWithoutAsking) {
    insert("d", "WINTER02");
    insert("e", "SUMMER01");
    EXPECT_EQ(look("Summer Mix /SUMMER01/"), 'E');
    EXPECT_EQ(look("Winter /WINTER02/"), 'D');
    EXPECT_TRUE(ui.shown.empty());
}

TEST_F(LookOrInsertCDTest, AHardDiskWithTheSameLabelIsNotTheCd) {
    // M: is a fixed drive labelled SUMMER01; only optical drives can hold the CD.
    ui.answers = {false};
    EXPECT_EQ(look("Summer Mix /SUMMER01/"), std::nullopt);
    ASSERT_EQ(ui.shown.size(), 1u);
}

TEST_F(LookOrInsertCDTest, AsksForTheDiskUntilTheUserInsertsIt) {
    insert("d", "OTHER");
    int questions = 0;
    ui.onQuestion = [&] {
        // The second time asked, the user puts the disk into the empty drive.
        if (++questions == 2) insert("e", "SUMMER01");
    };
    ui.answers = {true, true};
    EXPECT_EQ(look("Summer Mix /SUMMER01/"), 'E');
    ASSERT_EQ(ui.shown.size(), 2u);
    EXPECT_EQ(ui.shown[0].kind, "question");
    EXPECT_EQ(ui.shown[0].caption, "CD insertion");
    EXPECT_EQ(ui.shown[0].text, "Please, insert CD Summer Mix /SUMMER01/.");
}

TEST_F(LookOrInsertCDTest, DecliningStopsAtOnce) {
    ui.answers = {false};
    EXPECT_EQ(look("Summer Mix /SUMMER01/"), std::nullopt);
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].text, "Please, insert CD Summer Mix /SUMMER01/.");
}

TEST_F(LookOrInsertCDTest, WithoutAPersonTheDefaultYesEndsAfterThreePromptsInsteadOfLoopingForEver) {
    ui.withoutPerson = true; // every question takes its default button, Yes
    EXPECT_EQ(look("Summer Mix /SUMMER01/"), std::nullopt);
    EXPECT_EQ(ui.shown.size(), 3u);

    // A disk that turns up after a prompt is still found.
    ui.shown.clear();
    int questions = 0;
    ui.onQuestion = [&] {
        if (++questions == 2) insert("e", "SUMMER01");
    };
    EXPECT_EQ(look("Summer Mix /SUMMER01/"), 'E');
    EXPECT_EQ(ui.shown.size(), 2u);
}

TEST_F(LookOrInsertCDTest, TheLabelIsMatchedWhole) {
    // Disks whose labels only begin or end like the wanted one are other disks.
    insert("d", "SUMMER0");
    insert("e", "SUMMER011");
    ui.answers = {false};
    EXPECT_EQ(look("Summer Mix /SUMMER01/"), std::nullopt);
    EXPECT_EQ(ui.shown.size(), 1u);
}

TEST_F(LookOrInsertCDTest, ALabelHoldingSlashesIsReadBetweenTheFirstAndLastSlash) {
    insert("e", "A/B");
    EXPECT_EQ(look("Mix /A/B/"), 'E');
}

TEST_F(LookOrInsertCDTest, ADriveFolderThatVanishedHoldsNoDisk) {
    insert("e", "SUMMER01");
    std::filesystem::remove_all(dir.file("e"));
    ui.answers = {false};
    EXPECT_EQ(look("Summer Mix /SUMMER01/"), std::nullopt);
    EXPECT_EQ(ui.shown.size(), 1u);
}

} // namespace
} // namespace velmo::test
