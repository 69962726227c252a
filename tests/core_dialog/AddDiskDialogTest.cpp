#include <gtest/gtest.h>

#include <filesystem>

#include "app/AddDiskDialog.h"
#include "app/Session.h"
#include "platform/Drives.h"
#include "support/FakeServices.h"
#include "support/TestSupport.h"

namespace velmo::test {
namespace {

namespace fs = std::filesystem;
using platform::DriveEntry;
using platform::DriveKind;
using platform::DriveTable;

// A session over temporary folders playing drives:
//   C: a hard disk labelled SYSTEM           (hd/)
//   E: an optical drive holding disk MIX01    (cd/)
//   F: an optical drive without a disk        (tray/, no label file)
//   G: a hard disk whose folder is gone       (gone/)
class AddDiskDialogTest : public ::testing::Test {
protected:
    AddDiskDialogTest() {
        fs::create_directories(dir.file("hd/Music"));
        fs::create_directories(dir.file("cd/Pop"));
        fs::create_directories(dir.file("tray"));
        writeFile(dir.file("cd/.volume-label"), "MIX01\r\n");
        services.drives = DriveTable({DriveEntry{'C', DriveKind::Fixed, dir.file("hd"), std::string("SYSTEM")},
                             DriveEntry{'E', DriveKind::CdRom, dir.file("cd"), std::nullopt},
                             DriveEntry{'F', DriveKind::CdRom, dir.file("tray"), std::nullopt},
                             DriveEntry{'G', DriveKind::Fixed, dir.file("gone"), std::string("OLD")}},
                            dir.path());
        session = std::make_unique<Session>(dir.path(), services.forUser(ui), std::make_unique<ScriptedRandom>());
        dialog = std::make_unique<AddDiskDialog>(*session);
    }

    const std::string& msg(size_t n) const { return session->messages[n]; }
    std::vector<std::string> captions() const {
        std::vector<std::string> out;
        for (const FolderRow& row : dialog->rows()) out.push_back(row.caption);
        return out;
    }
    std::vector<std::string> musicList() const {
        std::vector<std::string> out;
        for (ListItem* item : session->db.musicList().items()) out.push_back(item->caption());
        return out;
    }

    TempDir dir;
    ScriptedUi ui;
    FakeServices services;
    std::unique_ptr<Session> session;
    std::unique_ptr<AddDiskDialog> dialog;
};

// ---- The empty form ----

TEST_F(AddDiskDialogTest, ResetFormEmptiesEverythingAndOnlyCloseStaysEnabled) {
    dialog->LoadFolderList({"E:\\Pop\\"}, true);
    dialog->refresh();
    ASSERT_TRUE(dialog->addEnabled());
    dialog->ResetForm();
    EXPECT_TRUE(dialog->rows().empty());
    EXPECT_EQ(dialog->hint(), "");
    EXPECT_EQ(dialog->labelText(), "<choose disk/folder>");
    EXPECT_EQ(dialog->description(), "");
    EXPECT_TRUE(dialog->descriptionEnabled());
    EXPECT_FALSE(dialog->LabelRead);
    EXPECT_FALSE(dialog->DescriptionOK);
    EXPECT_FALSE(dialog->addEnabled());
    EXPECT_FALSE(dialog->refreshEnabled());
    EXPECT_TRUE(dialog->closeEnabled());
    EXPECT_EQ(dialog->rootedState(), RootedState::Unchecked);
}

TEST_F(AddDiskDialogTest, OpeningClearsDiskAddedAndThePendingFolders) {
    session->db.DiskAdded = true;
    dialog->LoadFolderList({"E:\\Pop\\"}, false);
    dialog->ButtonAddCDClick();
    EXPECT_FALSE(session->db.DiskAdded);
    EXPECT_TRUE(dialog->PendingFolders.empty());
    EXPECT_TRUE(dialog->rows().empty());
    EXPECT_EQ(dialog->caption(), "Adding a disk/folder to your music data base");
}

// ---- Loading folders: one drive, no duplicates, Shift marks roots ----

TEST_F(AddDiskDialogTest, LoadingKeepsOneRowPerFolderOfTheFirstPathsDrive) {
    dialog->LoadFolderList({"D:\\A\\", "E:\\B\\", "D:\\C\\", "D:\\A\\"}, false);
    EXPECT_EQ(captions(), (std::vector<std::string>{"D:\\A\\", "D:\\C\\"}));
    EXPECT_EQ(dialog->hint(), "D:\\A\\\nD:\\C\\");
    // More folders of the same drive join the list.
    dialog->LoadFolderList({"D:\\C\\", "D:\\E\\"}, false);
    EXPECT_EQ(captions(), (std::vector<std::string>{"D:\\A\\", "D:\\C\\", "D:\\E\\"}));
}

TEST_F(AddDiskDialogTest, FoldersOfAnotherDriveReplaceTheRowsAndTheDescription) {
    dialog->LoadFolderList({"D:\\A\\", "D:\\B\\"}, false);
    dialog->descriptionChanged("Old disk");
    dialog->LoadFolderList({"E:\\Pop\\"}, false);
    EXPECT_EQ(captions(), std::vector<std::string>{"E:\\Pop\\"});
    EXPECT_EQ(dialog->description(), "");
    EXPECT_FALSE(dialog->DescriptionOK);
    // On the same drive the description stays.
    dialog->descriptionChanged("Pop disk");
    dialog->LoadFolderList({"E:\\Rock\\"}, false);
    EXPECT_EQ(dialog->description(), "Pop disk");
}

TEST_F(AddDiskDialogTest, EachLoadedRowTakesTheShiftStateAndTheRootedBoxFollows) {
    EXPECT_EQ(dialog->rootedState(), RootedState::Unchecked);
    dialog->LoadFolderList({"E:\\A\\", "E:\\B\\"}, true);
    EXPECT_TRUE(dialog->rows()[0].checked);
    EXPECT_TRUE(dialog->rows()[1].checked);
    EXPECT_EQ(dialog->rootedState(), RootedState::Checked);
    // A listed folder loaded again without Shift loses its mark; the others keep theirs.
    dialog->LoadFolderList({"E:\\B\\", "E:\\C\\"}, false);
    EXPECT_EQ(dialog->rows(), (std::vector<FolderRow>{{"E:\\A\\", true}, {"E:\\B\\", false}, {"E:\\C\\", false}}));
    EXPECT_EQ(dialog->rootedState(), RootedState::Partial);
    dialog->setRowChecked(0, false);
    EXPECT_EQ(dialog->rootedState(), RootedState::Unchecked);
    dialog->setRowChecked(1, true);
    EXPECT_EQ(dialog->rootedState(), RootedState::Partial);
}

TEST_F(AddDiskDialogTest, ClickingTheRootedBoxSetsEveryRow) {
    dialog->LoadFolderList({"E:\\A\\", "E:\\B\\", "E:\\C\\"}, false);
    dialog->setRowChecked(1, true);
    ASSERT_EQ(dialog->rootedState(), RootedState::Partial);
    dialog->setAllRooted(true);
    for (const FolderRow& row : dialog->rows()) EXPECT_TRUE(row.checked) << row.caption;
    EXPECT_EQ(dialog->rootedState(), RootedState::Checked);
    dialog->setAllRooted(false);
    for (const FolderRow& row : dialog->rows()) EXPECT_FALSE(row.checked) << row.caption;
    EXPECT_EQ(dialog->rootedState(), RootedState::Unchecked);
}

TEST_F(AddDiskDialogTest, RemovingRowsTakesExactlyTheGivenOnes) {
    dialog->LoadFolderList({"E:\\A\\", "E:\\B\\", "E:\\C\\", "E:\\D\\"}, false);
    dialog->setRowChecked(0, true);
    dialog->setRowChecked(3, true);
    // Unsorted, repeated and out-of-range indexes.
    dialog->removeRows({2, 1, 2, 9});
    EXPECT_EQ(captions(), (std::vector<std::string>{"E:\\A\\", "E:\\D\\"}));
    EXPECT_EQ(dialog->rootedState(), RootedState::Checked);
    EXPECT_EQ(dialog->hint(), "E:\\A\\\nE:\\D\\");
    dialog->removeRows({0, 1});
    EXPECT_TRUE(dialog->rows().empty());
    EXPECT_EQ(dialog->rootedState(), RootedState::Unchecked);
}

TEST_F(AddDiskDialogTest, ChoosingAFolderReplacesTheRowsEvenOnTheSameDrive) {
    dialog->LoadFolderList({"E:\\A\\", "E:\\B\\"}, false);
    dialog->AddedByDragDrop = true;
    dialog->folderChosen("E:\\Pop\\", false);
    EXPECT_EQ(captions(), std::vector<std::string>{"E:\\Pop\\"});
    EXPECT_EQ(dialog->PendingFolders, std::vector<std::string>{"E:\\Pop\\"});
    EXPECT_FALSE(dialog->AddedByDragDrop);
}

// ---- Reading the disk ----

TEST_F(AddDiskDialogTest, RefreshShowsDetectingWhileTheLabelIsRead) {
    dialog->LoadFolderList({"E:\\Pop\\"}, false);
    std::vector<std::string> shown;
    bool refreshWasEnabled = true;
    dialog->onStateChanged = [&] {
        shown.push_back(dialog->labelText());
        refreshWasEnabled = dialog->refreshEnabled();
    };
    const int pumpedBefore = ui.messagesProcessed;
    dialog->refresh();
    EXPECT_EQ(shown, std::vector<std::string>{"Detecting disk label..."});
    EXPECT_FALSE(refreshWasEnabled);
    EXPECT_GT(ui.messagesProcessed, pumpedBefore);
    EXPECT_EQ(dialog->labelText(), "MIX01");
    EXPECT_TRUE(dialog->refreshEnabled());
}

TEST_F(AddDiskDialogTest, NewCdProposesItsLabelAsDescription) {
    dialog->LoadFolderList({"E:\\Pop\\"}, false);
    EXPECT_EQ(dialog->refresh(), AddDiskDialog::Focus::Description);
    EXPECT_TRUE(dialog->LabelRead);
    EXPECT_EQ(dialog->description(), "MIX01");
    EXPECT_TRUE(dialog->descriptionEnabled());
    EXPECT_TRUE(dialog->addEnabled());
}

TEST_F(AddDiskDialogTest, ALabelThatHadToBeCleanedIsUsedCleanedAndSaidSoOnce) {
    dialog->LoadFolderList({"E:\\Pop\\"}, false);
    dialog->refresh();
    EXPECT_TRUE(ui.shown.empty()); // a label as it is says nothing

    writeFile(dir.file("cd/.volume-label"), std::string("SIC:A\\B\0\n", 9));
    dialog->refresh();
    EXPECT_EQ(dialog->labelText(), "SIC_A_B_");
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].kind, "notice");
    EXPECT_EQ(ui.shown[0].text,
              "The volume label of drive E: holds characters a disk name cannot carry; it is used as \"SIC_A_B_\".");
}

TEST_F(AddDiskDialogTest, CdAlreadyInTheDatabaseGetsItsEarlierDescription) {
    writeFile(dir.file("cd/Pop/a.mp3"), std::string(300, 'x'));
    dialog->LoadFolderList({"E:\\Pop\\"}, false);
    dialog->refresh();
    dialog->descriptionChanged("Summer Mix");
    ASSERT_TRUE(dialog->runAdd());

    dialog->LoadFolderList({"E:\\"}, false);
    EXPECT_EQ(dialog->refresh(), AddDiskDialog::Focus::Description);
    EXPECT_EQ(dialog->description(), "Summer Mix");
}

TEST_F(AddDiskDialogTest, DescriptionTypedBeforeTheRefreshIsKept) {
    dialog->LoadFolderList({"E:\\Pop\\"}, false);
    dialog->descriptionChanged("My own words");
    EXPECT_EQ(dialog->refresh(), AddDiskDialog::Focus::AddButton);
    EXPECT_EQ(dialog->description(), "My own words");
    EXPECT_TRUE(dialog->addEnabled());
}

TEST_F(AddDiskDialogTest, HardDiskHasAFixedDescriptionAndAddIsReadyAtOnce) {
    dialog->LoadFolderList({"C:\\Music\\"}, false);
    EXPECT_EQ(dialog->refresh(), AddDiskDialog::Focus::AddButton);
    EXPECT_EQ(dialog->labelText(), "SYSTEM");
    EXPECT_EQ(dialog->description(), "Drive <C>");
    EXPECT_FALSE(dialog->descriptionEnabled());
    EXPECT_TRUE(dialog->addEnabled());
}

TEST_F(AddDiskDialogTest, HardDiskDescriptionUsesTheCurrentLanguage) {
    std::vector<std::string> messages = session->messages.all();
    messages[38] = "Laufwerk";
    ASSERT_TRUE(session->messages.replaceAll(messages));
    dialog->LoadFolderList({"C:\\"}, false);
    dialog->refresh();
    EXPECT_EQ(dialog->description(), "Laufwerk <C>");
}

TEST_F(AddDiskDialogTest, CdChosenAfterAHardDiskDoesNotKeepTheDriveDescription) {
    dialog->folderChosen("C:\\Music\\", false);
    dialog->refresh();
    ASSERT_EQ(dialog->description(), "Drive <C>");
    dialog->folderChosen("E:\\Pop\\", false);
    dialog->refresh();
    EXPECT_EQ(dialog->description(), "MIX01");
    EXPECT_TRUE(dialog->descriptionEnabled());
}

TEST_F(AddDiskDialogTest, MissingDiskLeavesAddDisabledAndEmptiesADriveDescription) {
    dialog->LoadFolderList({"F:\\"}, false);
    dialog->descriptionChanged("Typed");
    EXPECT_EQ(dialog->refresh(), AddDiskDialog::Focus::None);
    EXPECT_EQ(dialog->labelText(), "<no disk, please, check the device>");
    EXPECT_FALSE(dialog->LabelRead);
    EXPECT_FALSE(dialog->addEnabled());
    EXPECT_TRUE(dialog->refreshEnabled());
    EXPECT_EQ(dialog->description(), "Typed");

    // A hard disk whose folder went away: its "Drive <G>" cannot stay.
    dialog->folderChosen("C:\\", false);
    dialog->refresh();
    dialog->folderChosen("G:\\", false);
    dialog->refresh();
    EXPECT_EQ(dialog->labelText(), "<no disk, please, check the device>");
    EXPECT_EQ(dialog->description(), "");
    EXPECT_FALSE(dialog->addEnabled());
}

TEST_F(AddDiskDialogTest, RefreshWithEveryRowDeletedReadsNothing) {
    dialog->LoadFolderList({"E:\\Pop\\"}, false);
    dialog->refresh();
    dialog->removeRows({0});
    EXPECT_EQ(dialog->refresh(), AddDiskDialog::Focus::None);
    EXPECT_EQ(dialog->labelText(), "<choose disk/folder>");
    EXPECT_FALSE(dialog->LabelRead);
    EXPECT_FALSE(dialog->addEnabled());
}

// ---- The description ----

TEST_F(AddDiskDialogTest, AddIsEnabledExactlyWhenLabelReadAndDescriptionSet) {
    dialog->LoadFolderList({"E:\\Pop\\"}, false);
    dialog->descriptionChanged("Before");
    EXPECT_FALSE(dialog->addEnabled()); // no label yet
    dialog->refresh();
    EXPECT_TRUE(dialog->addEnabled());
    dialog->descriptionChanged("");
    EXPECT_FALSE(dialog->addEnabled());
    dialog->descriptionChanged("x");
    EXPECT_TRUE(dialog->addEnabled());
    // A pasted separator would make a disk text whose label cannot be found again.
    dialog->descriptionChanged("a/b");
    EXPECT_FALSE(dialog->DescriptionOK);
    EXPECT_FALSE(dialog->addEnabled());
    // Bytes of another code page (from the command line) would make the database file unreadable.
    dialog->descriptionChanged("Caf\xE9");
    EXPECT_FALSE(dialog->DescriptionOK);
    dialog->descriptionChanged("Caf\xC3\xA9");
    EXPECT_TRUE(dialog->DescriptionOK);
}

// ---- Drops ----

TEST_F(AddDiskDialogTest, DroppedFilesAndFoldersBecomeFoldersOfTheCatalogue) {
    writeFile(dir.file("cd/Pop/a.mp3"), "x");
    writeFile(dir.file("cd/Pop/b.mp3"), "x");
    writeFile(dir.file("cd/Pop/c.mp3"), "x");
    fs::create_directories(dir.file("cd/Rock/Old"));
    fs::create_directories(dir.file("elsewhere"));
    const std::vector<std::string> dropped = {
        dir.file("cd/Pop/a.mp3"),  dir.file("cd/Pop/b.mp3"),    dir.file("cd/Pop/c.mp3"),
        dir.file("cd/Rock/Old/"),  dir.file("cd/Pop"),          dir.file("cd/missing.mp3"),
        dir.file("elsewhere"),     dir.file("tray/nothing"),    dir.file("cd"),
        dir.file("hd/Music"),      "relative/path",             "",
    };
    EXPECT_EQ(AddDiskDialog::collectDroppedFolders(dropped, *services.drives),
              (std::vector<std::string>{"E:\\Pop\\", "E:\\Rock\\Old\\", "E:\\", "C:\\Music\\"}));
}

TEST_F(AddDiskDialogTest, ADropOfTwoDrivesListsOnlyTheFirstDrive) {
    const auto folders = AddDiskDialog::collectDroppedFolders({dir.file("hd/Music"), dir.file("cd/Pop")}, *services.drives);
    dialog->LoadFolderList(folders, false);
    EXPECT_EQ(captions(), std::vector<std::string>{"C:\\Music\\"});
}

TEST_F(AddDiskDialogTest, DropsOnTheDialogJoinTheListDropsOnTheMainWindowStartAfresh) {
    fs::create_directories(dir.file("cd/Rock"));
    ASSERT_TRUE(dialog->dropOnDialog({dir.file("cd/Pop")}, false));
    EXPECT_TRUE(dialog->AddedByDragDrop);
    EXPECT_EQ(dialog->caption(), "Adding a disk/folder to your music data base");
    dialog->refresh();
    EXPECT_TRUE(dialog->dropOnDialog({dir.file("cd/Rock")}, true));
    EXPECT_EQ(dialog->rows(), (std::vector<FolderRow>{{"E:\\Pop\\", false}, {"E:\\Rock\\", true}}));
    EXPECT_EQ(dialog->description(), "MIX01");
    EXPECT_TRUE(dialog->LabelRead);

    // A drop without a usable item changes nothing.
    dialog->AddedByDragDrop = false;
    EXPECT_FALSE(dialog->dropOnDialog({dir.file("nowhere"), dir.file("tray/x.mp3")}, false));
    EXPECT_FALSE(dialog->AddedByDragDrop);
    EXPECT_EQ(dialog->rows().size(), 2u);
    EXPECT_FALSE(dialog->dropOnMainWindow({dir.file("nowhere")}, false));
    EXPECT_EQ(dialog->rows().size(), 2u);
    EXPECT_EQ(dialog->description(), "MIX01");

    // Onto the main window the form starts empty, even on the same drive.
    EXPECT_TRUE(dialog->dropOnMainWindow({dir.file("cd/Rock")}, false));
    EXPECT_EQ(captions(), std::vector<std::string>{"E:\\Rock\\"});
    EXPECT_EQ(dialog->description(), "");
    EXPECT_FALSE(dialog->LabelRead);
    EXPECT_EQ(dialog->labelText(), "<choose disk/folder>");
    EXPECT_TRUE(dialog->AddedByDragDrop);
}

// ---- Silent adding and closing ----

TEST_F(AddDiskDialogTest, SilentAddAppliesByModeAndDrive) {
    ProfileSettings& o = session->settings;
    struct Case {
        bool silent, onlyHdd;
        const char* path;
        bool applies;
    };
    const Case cases[] = {
        {false, false, "C:\\Music\\", false}, {true, true, "C:\\Music\\", true},  {true, true, "E:\\Pop\\", false},
        {true, false, "E:\\Pop\\", true},     {true, true, "F:\\", false},        {true, false, "C:\\", true},
    };
    for (const Case& c : cases) {
        o.SilentAddingMode = c.silent;
        o.OnlyForHDDs = c.onlyHdd;
        dialog->LoadFolderList({c.path}, false);
        EXPECT_EQ(dialog->silentAddApplies(), c.applies) << c.silent << c.onlyHdd << c.path;
    }
    o.SilentAddingMode = true;
    o.OnlyForHDDs = false;
    dialog->PendingFolders.clear();
    EXPECT_FALSE(dialog->silentAddApplies());
}

TEST_F(AddDiskDialogTest, AutomaticCloseFollowsTheOptionsAndHowFoldersCame) {
    ProfileSettings& o = session->settings;
    for (int bits = 0; bits < 8; ++bits) {
        o.AutoCloseAddDiskForm = bits & 1;
        o.OnlyAfterDnD = bits & 2;
        dialog->AddedByDragDrop = bits & 4;
        const bool expected = o.AutoCloseAddDiskForm && (!o.OnlyAfterDnD || dialog->AddedByDragDrop);
        EXPECT_EQ(dialog->closesAfterAdd(), expected) << bits;
    }
    // Spelled out: by default only a drag-and-drop add closes the dialog.
    o = SetDefopts("Default");
    dialog->AddedByDragDrop = false;
    EXPECT_FALSE(dialog->closesAfterAdd());
    dialog->AddedByDragDrop = true;
    EXPECT_TRUE(dialog->closesAfterAdd());
}

TEST_F(AddDiskDialogTest, ClosingAfterAnAddAppliesTheChangesOnce) {
    EXPECT_FALSE(dialog->FormClose());
    EXPECT_TRUE(dialog->closeEnabled());
    session->db.DiskAdded = true;
    EXPECT_TRUE(dialog->FormClose());
    EXPECT_FALSE(session->db.DiskAdded);
    EXPECT_EQ(dialog->caption(), "[ Applying changes to database, please, wait... ]");
    EXPECT_FALSE(dialog->closeEnabled());
    EXPECT_FALSE(dialog->addEnabled());
    EXPECT_FALSE(dialog->FormClose());
}

// ---- The add run ----

TEST_F(AddDiskDialogTest, AddRunAddsTheListedFoldersAndResetsTheForm) {
    writeFile(dir.file("cd/Pop/a.mp3"), std::string(300, 'x'));
    writeFile(dir.file("cd/Pop/Old/b.mp3"), std::string(400, 'x'));
    writeFile(dir.file("cd/Jazz/Cool/c.mp3"), std::string(500, 'x'));
    writeFile(dir.file("cd/Rock/d.mp3"), std::string(500, 'x'));
    dialog->LoadFolderList({"E:\\Pop\\", "E:\\Jazz\\"}, false);
    dialog->setRowChecked(0, true);
    dialog->refresh();
    dialog->descriptionChanged("Summer Mix");

    std::vector<std::string> captionsDuringRun;
    bool closeDuringRun = true, addDuringRun = true;
    dialog->onStateChanged = [&] {
        captionsDuringRun.push_back(dialog->caption());
        closeDuringRun = dialog->closeEnabled();
        addDuringRun = dialog->addEnabled();
    };
    ASSERT_TRUE(dialog->runAdd());

    EXPECT_EQ(captionsDuringRun, std::vector<std::string>{"[ Adding is in progress, please, wait... ]"});
    EXPECT_FALSE(closeDuringRun);
    EXPECT_FALSE(addDuringRun);
    EXPECT_EQ(musicList(), (std::vector<std::string>{"Summer Mix /MIX01/\\Jazz\\Cool\\c.mp3",
                                                     "Summer Mix /MIX01/\\Pop\\Old\\b.mp3",
                                                     "Summer Mix /MIX01/\\Pop\\a.mp3"}));
    EXPECT_TRUE(session->db.DiskAdded);
    // The checked row is added as a root; the unchecked one marks its first-level folders.
    const TreeNode* disk = session->db.musicTree().topLevel(0);
    ASSERT_EQ(disk->childCount(), 2u);
    EXPECT_EQ(disk->child(0)->text(), "Jazz");
    EXPECT_EQ(disk->child(0)->imageIndex(), 5);
    ASSERT_EQ(disk->child(0)->childCount(), 1u);
    EXPECT_EQ(disk->child(0)->child(0)->imageIndex(), 4); // Cool
    EXPECT_EQ(disk->child(1)->text(), "Pop");
    EXPECT_EQ(disk->child(1)->imageIndex(), 4);
    ASSERT_EQ(disk->child(1)->childCount(), 2u);
    EXPECT_EQ(disk->child(1)->child(0)->text(), "Old");
    EXPECT_EQ(disk->child(1)->child(0)->imageIndex(), 5);

    EXPECT_EQ(dialog->caption(), "Adding a disk/folder to your music data base [done]");
    EXPECT_TRUE(dialog->rows().empty());
    EXPECT_EQ(dialog->labelText(), "<choose disk/folder>");
    EXPECT_EQ(dialog->description(), "");
    EXPECT_FALSE(dialog->addEnabled());
    EXPECT_TRUE(dialog->closeEnabled());
}

TEST_F(AddDiskDialogTest, AddRunIsRefusedUntilAddIsEnabled) {
    writeFile(dir.file("cd/Pop/a.mp3"), std::string(300, 'x'));
    dialog->LoadFolderList({"E:\\Pop\\"}, false);
    dialog->descriptionChanged("Mix");
    EXPECT_FALSE(dialog->runAdd()); // the label was never read
    EXPECT_TRUE(session->db.musicList().empty());
    EXPECT_EQ(captions(), std::vector<std::string>{"E:\\Pop\\"});
}

TEST_F(AddDiskDialogTest, FailedAddRunReportsAndKeepsTheList) {
    writeFile(dir.file("cd/Pop/a.mp3"), std::string(300, 'x'));
    // The debug file list cannot be made where a folder of that name stands.
    session->DebugMode = true;
    fs::create_directories(dir.file("FileList.txt"));
    dialog->LoadFolderList({"E:\\Pop\\"}, false);
    dialog->refresh();
    EXPECT_FALSE(dialog->runAdd());
    ASSERT_EQ(ui.errors().size(), 1u);
    EXPECT_NE(ui.errors()[0].find("FileList.txt"), std::string::npos);
    EXPECT_EQ(captions(), std::vector<std::string>{"E:\\Pop\\"});
    EXPECT_EQ(dialog->caption(), "Adding a disk/folder to your music data base");
    EXPECT_TRUE(dialog->closeEnabled());
    EXPECT_TRUE(dialog->addEnabled());
}

// ---- The command line's add ----

TEST_F(AddDiskDialogTest, PreparedAddTakesNativeAndCataloguePathsAndTheGivenDescription) {
    writeFile(dir.file("cd/Pop/a.mp3"), std::string(300, 'x'));
    writeFile(dir.file("cd/Rock/r.mp3"), std::string(300, 'x'));
    EXPECT_EQ(dialog->prepareAdd({dir.file("cd/Pop"), "e:\\Rock"}, true, "Night Mix"), std::nullopt);
    EXPECT_EQ(captions(), (std::vector<std::string>{"E:\\Pop\\", "E:\\Rock\\"}));
    EXPECT_EQ(dialog->rootedState(), RootedState::Checked);
    EXPECT_EQ(dialog->description(), "Night Mix");
    ASSERT_TRUE(dialog->runAdd());
    EXPECT_EQ(musicList(), (std::vector<std::string>{"Night Mix /MIX01/\\Pop\\a.mp3", "Night Mix /MIX01/\\Rock\\r.mp3"}));

    // A hard disk's description is fixed: a given one does not replace it.
    writeFile(dir.file("hd/Music/m.mp3"), std::string(300, 'x'));
    EXPECT_EQ(dialog->prepareAdd({dir.file("hd/Music/m.mp3")}, false, "Ignored"), std::nullopt);
    EXPECT_EQ(dialog->description(), "Drive <C>");
    EXPECT_EQ(captions(), std::vector<std::string>{"C:\\Music\\"});
}

TEST_F(AddDiskDialogTest, PreparedAddSaysWhyItCannotRun) {
    // No disk in the drive: the label field's text.
    EXPECT_EQ(dialog->prepareAdd({"F:\\"}, false, "Mix"), msg(7));
    // A hard disk folder that is gone, a place on no drive, a drive letter that is none.
    EXPECT_EQ(dialog->prepareAdd({"G:\\"}, false, std::nullopt), msg(7));
    EXPECT_EQ(dialog->prepareAdd({"/velmo-nowhere"}, false, std::nullopt),
              "\"/velmo-nowhere\" is no folder or file on a drive of Drives.ini.");
    EXPECT_EQ(dialog->prepareAdd({"Q:\\Pop"}, false, std::nullopt),
              "\"Q:\\Pop\" is no folder or file on a drive of Drives.ini.");
    // One add, one drive.
    EXPECT_EQ(dialog->prepareAdd({"E:\\Pop", dir.file("hd/Music")}, false, std::nullopt),
              "The folders of one add must lie on one drive: \"" + dir.file("hd/Music") + "\" does not.");
    // A description no disk text can carry.
    EXPECT_EQ(dialog->prepareAdd({"E:\\Pop"}, false, "A/B"),
              "A disk description must not be empty or hold any of the characters \\ / : * ? \" < > |.");
    EXPECT_FALSE(dialog->addEnabled());
    EXPECT_TRUE(session->db.musicList().empty());
}

} // namespace
} // namespace velmo::test
