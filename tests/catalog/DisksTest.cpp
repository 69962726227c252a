// Finding the drive that holds a CD: simulated optical drives (folders holding
// ".volume-label"), their trays (Drives.log), and a user who inserts the disk when prompted,
// or gives it up.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "base/MessageTable.h"
#include "catalog/DiskPrompt.h"
#include "catalog/Disks.h"
#include "platform/Drives.h"
#include "support/TestSupport.h"

namespace velmo::test {
namespace {

using platform::DriveEntry;
using platform::DriveKind;
using platform::DriveTable;

// A user who, when prompted for a disk, first does what the test scripts (puts a disk in a
// drive), then answers.
class InsertingUi : public ScriptedUi {
public:
    bool withoutPerson = false;
    bool answersWithoutPerson() const override { return withoutPerson; }
};

class DiskPromptTest : public ::testing::Test {
protected:
    DiskPromptTest()
        : table({{'D', DriveKind::CdRom, dir.file("d"), std::nullopt},
                 {'E', DriveKind::CdRom, dir.file("e"), std::nullopt},
                 {'M', DriveKind::Fixed, dir.file("m"), std::string("SUMMER01")}},
                dir.path()),
          prompt({ui, messages, confirm, [this]() -> DriveTable& {
                      ++detections;
                      return table;
                  }}) {
        std::filesystem::create_directories(dir.file("d"));
        std::filesystem::create_directories(dir.file("m"));
        // Cancel gives the disk up at once unless a test says otherwise.
        confirm[ConfirmSkip] = false;
        confirm[AutoSkipDisk] = true;
    }
    // Puts a disk with this label into the simulated drive folder `drive` ("d", "e").
    void insert(const std::string& drive, const std::string& label) {
        std::filesystem::create_directories(dir.file(drive));
        writeFile(dir.file(drive + "/" + std::string(platform::kVolumeLabelFile)), label + "\n");
    }
    std::optional<char> look(const std::string& diskText) { return LookOrInsertCD(prompt, diskText); }
    std::string trayLog() { return std::filesystem::exists(dir.file("Drives.log")) ? readFile(dir.file("Drives.log")) : ""; }
    int prompts() const {
        int n = 0;
        for (const auto& s : ui.shown) n += s.kind == "insert";
        return n;
    }

    TempDir dir;
    InsertingUi ui;
    MessageTable messages;
    ConfirmOptions confirm = SetDefaultConfirmOpts();
    DriveTable table;
    int detections = 0;
    DiskPrompt prompt;
};

TEST_F(DiskPromptTest, FindsTheOpticalDriveHoldingTheLabelWithoutAskingOrMovingTrays) {
    insert("d", "WINTER02");
    insert("e", "SUMMER01");
    EXPECT_EQ(look("Summer Mix /SUMMER01/"), 'E');
    EXPECT_EQ(look("Winter /WINTER02/"), 'D');
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_EQ(trayLog(), "");
    EXPECT_EQ(detections, 2); // the drives are read again for every disk looked for
}

TEST_F(DiskPromptTest, AHardDiskWithTheSameLabelIsNotTheCd) {
    // M: is a fixed drive labelled SUMMER01; only optical drives can hold the CD.
    ui.answers = {false};
    EXPECT_EQ(look("Summer Mix /SUMMER01/"), std::nullopt);
    EXPECT_EQ(prompts(), 1);
}

TEST_F(DiskPromptTest, PromptsUntilInsertedOpeningEveryTrayFirstThenOnlyTheDriveUsedLast) {
    insert("d", "OTHER");
    ui.onInsertPrompt = [&](const UserInterface::InsertDiskPrompt& p) {
        EXPECT_EQ(p.label, "SUMMER01");
        EXPECT_EQ(p.description, "Summer Mix");
        // The second time asked, the user puts the disk into the empty drive.
        if (prompts() == 2) insert("e", "SUMMER01");
    };
    ui.answers = {true, true};
    EXPECT_EQ(look("Summer Mix /SUMMER01/"), 'E');
    ASSERT_EQ(prompts(), 2);
    EXPECT_EQ(ui.shown[0].caption, "CD insertion");
    EXPECT_EQ(ui.shown[0].text, "Please, insert CD SUMMER01 (\"Summer Mix\").");
    // Before each prompt every tray opens (no disk found yet); after each OK every tray closes.
    EXPECT_EQ(trayLog(), "EjectCD D:\r\nEjectCD E:\r\nCloseCD D:\r\nCloseCD E:\r\n"
                         "EjectCD D:\r\nEjectCD E:\r\nCloseCD D:\r\nCloseCD E:\r\n");

    // The next disk: only E:, where the last one was found, opens.
    std::filesystem::remove(dir.file("Drives.log"));
    ui.onInsertPrompt = [&](const UserInterface::InsertDiskPrompt&) { insert("e", "WINTER02"); };
    ui.answers = {true};
    EXPECT_EQ(look("Winter /WINTER02/"), 'E');
    EXPECT_EQ(trayLog(), "EjectCD E:\r\nCloseCD D:\r\nCloseCD E:\r\n");

    // A new copy forgets the drive: every tray opens again.
    prompt.forgetLastDrive();
    std::filesystem::remove(dir.file("Drives.log"));
    ui.onInsertPrompt = nullptr;
    ui.answers = {false};
    EXPECT_EQ(look("Summer Mix /SUMMER01/"), std::nullopt);
    EXPECT_EQ(trayLog(), "EjectCD D:\r\nEjectCD E:\r\n");
}

TEST_F(DiskPromptTest, CancelFollowsTheSkipSettings) {
    // ConfirmSkip on: Cancel asks; No prompts again, Yes gives the disk up.
    confirm[ConfirmSkip] = true;
    ui.answers = {false, false, false, true};
    EXPECT_EQ(look("Summer Mix /SUMMER01/"), std::nullopt);
    EXPECT_TRUE(prompt.DiskSkipped);
    ASSERT_EQ(ui.shown.size(), 4u);
    EXPECT_EQ(ui.shown[1].kind, "question");
    EXPECT_EQ(ui.shown[1].text, "Are you sure you want to skip this disk ?");
    EXPECT_EQ(ui.shown[2].kind, "insert");

    // ConfirmSkip off and a skip setting without disks: Cancel prompts again, until OK finds it.
    confirm[ConfirmSkip] = false;
    confirm[AutoSkipDisk] = false;
    confirm[AutoSkipFile] = true;
    ui.shown.clear();
    ui.onInsertPrompt = [&](const UserInterface::InsertDiskPrompt&) {
        if (prompts() == 3) insert("d", "SUMMER01");
    };
    ui.answers = {false, false, true};
    EXPECT_EQ(look("Summer Mix /SUMMER01/"), 'D');
    EXPECT_EQ(prompts(), 3);
    EXPECT_EQ(ui.shown.size(), 3u);
}

TEST_F(DiskPromptTest, WithoutAPersonTheDiskIsGivenUpAfterThreePrompts) {
    ui.withoutPerson = true;
    confirm[AutoSkipDisk] = false; // Cancel alone would prompt for ever
    EXPECT_EQ(look("Summer Mix /SUMMER01/"), std::nullopt);
    EXPECT_EQ(prompts(), 3);
    EXPECT_TRUE(prompt.DiskSkipped);
    EXPECT_EQ(ui.shown.back().kind, "notice");

    // A disk that turns up after a prompt (an inserting program) is still found.
    ui.shown.clear();
    ui.onInsertPrompt = [&](const UserInterface::InsertDiskPrompt&) {
        if (prompts() == 2) insert("e", "SUMMER01");
    };
    ui.answers = {true, true};
    EXPECT_EQ(look("Summer Mix /SUMMER01/"), 'E');
    EXPECT_EQ(prompts(), 2);
}

TEST_F(DiskPromptTest, TheLabelIsMatchedWholeAndMayHoldSlashes) {
    // Disks whose labels only begin or end like the wanted one are other disks.
    insert("d", "SUMMER0");
    insert("e", "SUMMER011");
    EXPECT_EQ(look("Summer Mix /SUMMER01/"), std::nullopt);
    EXPECT_EQ(prompts(), 1);
    insert("e", "A/B");
    EXPECT_EQ(look("Mix /A/B/"), 'E');
}

TEST_F(DiskPromptTest, ADriveFolderThatVanishedHoldsNoDiskAndNoDriveAtAllFindsNothing) {
    insert("e", "SUMMER01");
    std::filesystem::remove_all(dir.file("e"));
    EXPECT_EQ(look("Summer Mix /SUMMER01/"), std::nullopt);
    EXPECT_EQ(prompts(), 1);

    table = DriveTable({{'C', DriveKind::Fixed, dir.path(), std::string("X")}}, dir.path());
    ui.shown.clear();
    EXPECT_EQ(look("Summer Mix /SUMMER01/"), std::nullopt);
    EXPECT_EQ(prompts(), 1);
    EXPECT_TRUE(prompt.CDDrives.empty());
}

} // namespace
} // namespace velmo::test
