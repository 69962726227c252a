#include "platform/Drives.h"
#include "util/TextEncoding.h"

#include "support/TestSupport.h"

#include <filesystem>
#include <sys/stat.h>
#include <gtest/gtest.h>
#include <ostream>

namespace velmo::platform {
// Readable failure messages.
void PrintTo(const DriveEntry& entry, std::ostream* out) {
    *out << entry.letter << "=" << static_cast<int>(entry.kind) << ";" << entry.path;
    if (entry.label) *out << ";" << *entry.label;
}

namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

DriveEntry drive(char letter, DriveKind kind, std::string path, std::optional<std::string> label = std::nullopt) {
    return DriveEntry{letter, kind, std::move(path), std::move(label)};
}

void makeFolder(const std::string& path) { std::filesystem::create_directories(path); }

// ---- Drives.ini ----

TEST(DrivesIni, ReadsKindsPathsAndLabels) {
    const std::string text =
        "C=fixed;/\r\n"
        "d=CDROM;/dev/sr0\r\n"
        "E=cdrom;/srv/fake-cd/;ignored\r\n"
        "M = Removable ; /media//stick/ ;My Stick; 2\r\n"
        "N=fixed;/srv/music;\r\n";
    std::vector<DriveEntry> entries = DriveTable::parse(text);
    std::vector<DriveEntry> expected{
        drive('C', DriveKind::Fixed, "/"),
        drive('D', DriveKind::CdRom, "/dev/sr0"),
        drive('E', DriveKind::CdRom, "/srv/fake-cd"),
        drive('M', DriveKind::Removable, "/media/stick", "My Stick; 2"),
        drive('N', DriveKind::Fixed, "/srv/music", ""),
    };
    EXPECT_EQ(entries, expected);
}

TEST(DrivesIni, SkipsCommentsEmptyAndMalformedLines) {
    const std::string text =
        "; drive table\r\n"
        "# another comment\r\n"
        "   \r\n"
        "\r\n"
        "  ;C=fixed;/commented\r\n"
        "C\r\n"
        "=fixed;/\r\n"
        "CD=fixed;/\r\n"
        "1=fixed;/\r\n"
        "E=floppy;/\r\n"
        "F=fixed\r\n"
        "G=fixed;\r\n"
        "H=fixed;relative/folder\r\n"
        "I=;/\r\n" +
        std::string("\x01\xff\0=\r\n", 6) +
        // A NUL would end the path early for the system, so another folder would be the drive.
        std::string("K=fixed;/srv\0/x\r\n", 18) + "L=cdrom;/d\x04e\r\n" +
        "J=fixed;/ok\r\n"
        // Blanks around the path belong to the layout, also before a final "/".
        "M=fixed; /music /\r\n"
        "N=fixed;//srv/x/ /\r\n"; // and "//" is "/"
    std::vector<DriveEntry> entries = DriveTable::parse(text);
    EXPECT_EQ(entries, (std::vector<DriveEntry>{drive('J', DriveKind::Fixed, "/ok"), drive('M', DriveKind::Fixed, "/music"),
                                                drive('N', DriveKind::Fixed, "/srv/x")}));
    EXPECT_EQ(DriveTable::parse(DriveTable::format(entries)), entries);
    EXPECT_TRUE(DriveTable::parse("").empty());
}

TEST(DrivesIni, CrLfLfAndMissingLastLineEndReadAlike) {
    std::vector<DriveEntry> crlf = DriveTable::parse("C=fixed;/\r\nD=cdrom;/dev/sr0\r\nM=fixed;/m;Label\r\n");
    std::vector<DriveEntry> lf = DriveTable::parse("C=fixed;/\nD=cdrom;/dev/sr0\nM=fixed;/m;Label\n");
    std::vector<DriveEntry> mixed = DriveTable::parse("\xEF\xBB\xBF"
                                                      "C=fixed;/\nD=cdrom;/dev/sr0\r\nM=fixed;/m;Label");
    ASSERT_EQ(crlf.size(), 3u);
    EXPECT_EQ(crlf[2].label, "Label"); // no CR left on the last field
    EXPECT_EQ(lf, crlf);
    EXPECT_EQ(mixed, crlf);
}

TEST(DrivesIni, FormatWritesCrLfLinesThatReadBack) {
    std::vector<DriveEntry> entries{
        drive('C', DriveKind::Fixed, "/"),
        drive('D', DriveKind::CdRom, "/dev/sr0"),
        drive('M', DriveKind::Removable, "/media/stick", "USB"),
        drive('N', DriveKind::Fixed, "/srv/music", ""),
    };
    std::string text = DriveTable::format(entries);
    EXPECT_EQ(text, "C=fixed;/\r\nD=cdrom;/dev/sr0\r\nM=removable;/media/stick;USB\r\nN=fixed;/srv/music;\r\n");
    EXPECT_EQ(DriveTable::parse(text), entries);

    // Paths whose blanks before a final "/" hide a last "." step read back as written.
    for (const char* line : {"E=cdrom;/. /", "E=cdrom;/a /.", "E=cdrom;/a/ . /..", "E=fixed;/x/. / ;L"}) {
        const std::vector<DriveEntry> read = DriveTable::parse(line);
        ASSERT_EQ(read.size(), 1u) << line;
        EXPECT_EQ(DriveTable::parse(DriveTable::format(read)), read) << line << " -> " << read[0].path;
    }
}

TEST(DrivesIni, FirstEntryForALetterCounts) {
    DriveTable table(DriveTable::parse("M=fixed;/first\r\nm=cdrom;/dev/sr0\r\nM=fixed;/second\r\n"), "");
    EXPECT_EQ(table.entries(), std::vector<DriveEntry>{drive('M', DriveKind::Fixed, "/first")});
}

// ---- Default table ----

TEST(DefaultDrives, RootIsCAndOpticalDrivesFollow) {
    EXPECT_EQ(DriveTable::defaultDrivesIniText({}), "C=fixed;/\r\n");
    EXPECT_EQ(DriveTable::defaultDrivesIniText({"/dev/sr0", "/dev/sr1"}),
              "C=fixed;/\r\nD=cdrom;/dev/sr0\r\nE=cdrom;/dev/sr1\r\n");

    // No letter beyond Z, however many devices there are.
    std::vector<std::string> many;
    for (int n = 0; n < 30; ++n) many.push_back("/dev/sr" + std::to_string(n));
    std::vector<DriveEntry> entries = DriveTable::parse(DriveTable::defaultDrivesIniText(many));
    ASSERT_EQ(entries.size(), 24u);
    EXPECT_EQ(entries.back(), drive('Z', DriveKind::CdRom, "/dev/sr22"));
}

TEST(DefaultDrives, FindsOpticalDevicesInNumberOrder) {
    TempDir dev;
    for (const char* name : {"sr10", "sr2", "sr0", "sda", "sr", "srx"}) writeFile(dev.file(name), "");
    EXPECT_EQ(DriveTable::findOpticalDevices(dev.path()),
              (std::vector<std::string>{dev.file("sr0"), dev.file("sr2"), dev.file("sr10")}));

    TempDir empty;
    EXPECT_TRUE(DriveTable::findOpticalDevices(empty.path()).empty());
}

TEST(DefaultDrives, WrittenWhenTheFileIsMissing) {
    TempDir app;
    TempDir dev;
    DriveTable table = DriveTable::load(app.path(), dev.path());
    EXPECT_EQ(readFile(app.file("Drives.ini")), "C=fixed;/\r\n");
    EXPECT_EQ(table.entries(), std::vector<DriveEntry>{drive('C', DriveKind::Fixed, "/")});
    EXPECT_TRUE(table.cdDrives().empty());
    EXPECT_EQ(table.hardDrives(), std::vector<char>{'C'});

    TempDir app2;
    writeFile(dev.file("sr0"), "");
    table = DriveTable::load(app2.path(), dev.path());
    EXPECT_EQ(readFile(app2.file("Drives.ini")), "C=fixed;/\r\nD=cdrom;" + dev.file("sr0") + "\r\n");
    EXPECT_EQ(table.cdDrives(), std::vector<char>{'D'});
}

TEST(DefaultDrives, MachineDefaultListsThisMachinesOpticalDrives) {
    TempDir app;
    DriveTable table = DriveTable::load(app.path());
    EXPECT_EQ(readFile(app.file("Drives.ini")), DriveTable::defaultDrivesIniText(DriveTable::findOpticalDevices()));
    EXPECT_EQ(table.kind('C'), DriveKind::Fixed);
}

TEST(DefaultDrives, AnExistingFileIsReadAndLeftAlone) {
    TempDir app;
    TempDir dev;
    writeFile(dev.file("sr0"), "");
    const std::string text = "; mine\nM=fixed;/srv/music\n";
    writeFile(app.file("Drives.ini"), text);
    DriveTable table = DriveTable::load(app.path(), dev.path());
    EXPECT_EQ(readFile(app.file("Drives.ini")), text);
    EXPECT_EQ(table.entries(), std::vector<DriveEntry>{drive('M', DriveKind::Fixed, "/srv/music")});
}

TEST(DefaultDrives, ASpecialFileInPlaceOfTheFileIsLeftAloneAndTheDefaultsHold) {
    test::HangGuard guard(30);
    TempDir dev;
    TempDir fifoApp;
    ASSERT_EQ(mkfifo(fifoApp.file("Drives.ini").c_str(), 0600), 0);
    DriveTable table = DriveTable::load(fifoApp.path(), dev.path());
    EXPECT_EQ(table.entries(), std::vector<DriveEntry>{drive('C', DriveKind::Fixed, "/")});
    EXPECT_TRUE(std::filesystem::is_fifo(fifoApp.file("Drives.ini")));

    TempDir linkApp;
    std::filesystem::create_symlink("/dev/zero", linkApp.file("Drives.ini"));
    table = DriveTable::load(linkApp.path(), dev.path());
    EXPECT_EQ(table.entries(), std::vector<DriveEntry>{drive('C', DriveKind::Fixed, "/")});
    EXPECT_TRUE(std::filesystem::is_symlink(linkApp.file("Drives.ini")));
}

// ---- Drive letters ----

TEST(DriveLetters, ListedFromBToZByKind) {
    DriveTable table({drive('Z', DriveKind::CdRom, "/dev/sr3"), drive('A', DriveKind::Fixed, "/floppy"),
                      drive('B', DriveKind::Removable, "/media/b"), drive('E', DriveKind::CdRom, "/dev/sr1"),
                      drive('c', DriveKind::Fixed, "/"), drive('D', DriveKind::CdRom, "/dev/sr0"),
                      drive('Q', DriveKind::None, "/q"), drive('?', DriveKind::Fixed, "/x"),
                      drive('R', DriveKind::Fixed, "relative")},
                     "");
    EXPECT_EQ(table.cdDrives(), (std::vector<char>{'D', 'E', 'Z'}));
    EXPECT_EQ(table.hardDrives(), (std::vector<char>{'B', 'C'}));

    // A: is a drive of the table, but never one of the listed drives.
    EXPECT_EQ(table.kind('A'), DriveKind::Fixed);
    EXPECT_EQ(table.kind('e'), DriveKind::CdRom);
    EXPECT_EQ(table.kind('b'), DriveKind::Removable);
    EXPECT_EQ(table.kind('Q'), DriveKind::None);
    EXPECT_EQ(table.kind('R'), DriveKind::None);
    EXPECT_EQ(table.kind('?'), DriveKind::None);
    EXPECT_EQ(table.kind('\0'), DriveKind::None);
}

// ---- Fixed drives ----

TEST(FixedDrive, LabelGivenOrFromTheFilesystem) {
    TempDir tmp;
    makeFolder(tmp.file("music"));
    DriveTable table({drive('M', DriveKind::Fixed, tmp.file("music"), "Music"),
                      drive('N', DriveKind::Fixed, tmp.file("music"), ""),
                      drive('O', DriveKind::Removable, tmp.file("music")),
                      drive('P', DriveKind::Removable, tmp.file("unplugged"), "Stick"),
                      drive('R', DriveKind::Fixed, tmp.file("music"), "Rock:Pop\\Jazz")},
                     tmp.path());
    EXPECT_EQ(table.volumeLabel('M'), "Music");
    EXPECT_EQ(table.volumeLabel('R'), "Rock_Pop_Jazz");
    EXPECT_EQ(table.volumeLabel('n'), "");
    // Whatever the filesystem says (often nothing we may read), a present drive has a label.
    EXPECT_TRUE(table.volumeLabel('O').has_value());
    EXPECT_EQ(table.rootPath('O'), tmp.file("music"));
    // A drive whose folder is gone holds no disk.
    EXPECT_EQ(table.volumeLabel('P'), std::nullopt);
    EXPECT_EQ(table.rootPath('P'), std::nullopt);
    EXPECT_EQ(table.volumeLabel('Q'), std::nullopt);
}

// ---- Simulated optical drives ----

class SimulatedCd : public ::testing::Test {
protected:
    SimulatedCd()
        : table({drive('C', DriveKind::Fixed, "/"), drive('E', DriveKind::CdRom, tmp.file("cd-e")),
                 drive('F', DriveKind::CdRom, tmp.file("cd-f"))},
                app.path()) {}

    TempDir tmp;
    TempDir app;
    DriveTable table;
};

TEST_F(SimulatedCd, DiskIsInWhileTheFolderHoldsALabelFile) {
    EXPECT_EQ(table.volumeLabel('E'), std::nullopt);
    EXPECT_EQ(table.rootPath('E'), std::nullopt);

    makeFolder(tmp.file("cd-e"));
    writeFile(tmp.file("cd-e/track.mp3"), "x");
    EXPECT_EQ(table.volumeLabel('E'), std::nullopt);
    EXPECT_EQ(table.rootPath('E'), std::nullopt);

    writeFile(tmp.file("cd-e/.volume-label"), "Pop Hits 2\r\nnot the label\r\n");
    EXPECT_EQ(table.volumeLabel('E'), "Pop Hits 2");
    EXPECT_EQ(table.volumeLabel('e'), "Pop Hits 2");
    EXPECT_EQ(table.rootPath('E'), tmp.file("cd-e"));

    std::filesystem::remove(tmp.file("cd-e/.volume-label"));
    EXPECT_EQ(table.volumeLabel('E'), std::nullopt);
    EXPECT_EQ(table.catalogToNative("E:\\track.mp3"), std::nullopt);
}

TEST_F(SimulatedCd, LabelIsTheFirstLine) {
    makeFolder(tmp.file("cd-e"));
    const std::string labelFile = tmp.file("cd-e/.volume-label");
    const std::pair<std::string, std::string> cases[] = {
        {"Rock\n", "Rock"},
        {"Rock", "Rock"},
        {" Two  blanks \r\n", " Two  blanks "},
        {"\xEF\xBB\xBFWith BOM\r\n", "With BOM"},
        {"\r\nsecond\r\n", ""},
        {"", ""},
    };
    for (const auto& [content, label] : cases) {
        writeFile(labelFile, content);
        EXPECT_EQ(table.volumeLabel('E'), label) << content;
    }
    // What a disk caption cannot hold is replaced, so the database it ends in loads again.
    writeFile(labelFile, std::string("SIC:A\\B\0C\x01" "D/E\n", 14));
    EXPECT_EQ(table.volumeLabel('E'), "SIC_A_B_C_D/E");
    // A label in an 8-bit code page is read as Windows-1252, as the Windows program's are.
    writeFile(labelFile, "Caf\xE9\n");
    EXPECT_EQ(table.volumeLabel('E'), "Caf\xC3\xA9");
    // A folder, a FIFO or a device in place of the label file is no disk.
    std::filesystem::remove(labelFile);
    makeFolder(labelFile);
    EXPECT_EQ(table.volumeLabel('E'), std::nullopt);
    test::HangGuard guard(30);
    std::filesystem::remove(labelFile);
    ASSERT_EQ(mkfifo(labelFile.c_str(), 0600), 0);
    EXPECT_EQ(table.volumeLabel('E'), std::nullopt);
    std::filesystem::remove(labelFile);
    std::filesystem::create_symlink("/dev/zero", labelFile);
    EXPECT_EQ(table.volumeLabel('E'), std::nullopt);
}

TEST_F(SimulatedCd, TrayMovesAreLoggedInOrder) {
    writeFile(app.file("Drives.log"), "EjectCD D:\r\n");
    EXPECT_TRUE(table.ejectTray('E'));
    EXPECT_TRUE(table.closeTray('e'));
    EXPECT_TRUE(table.ejectTray('F'));
    // Only optical drives have trays.
    EXPECT_FALSE(table.ejectTray('C'));
    EXPECT_FALSE(table.closeTray('Q'));
    EXPECT_EQ(readFile(app.file("Drives.log")), "EjectCD D:\r\nEjectCD E:\r\nCloseCD E:\r\nEjectCD F:\r\n");
}

TEST(RealCd, MissingDeviceHasNoDiskAndNoTray) {
    TempDir app;
    DriveTable table({drive('D', DriveKind::CdRom, "/dev/velmo-no-such-drive")}, app.path());
    EXPECT_EQ(table.volumeLabel('D'), std::nullopt);
    EXPECT_EQ(table.rootPath('D'), std::nullopt);
    EXPECT_FALSE(table.ejectTray('D'));
    EXPECT_FALSE(table.closeTray('D'));
    // A real drive never writes the log of simulated ones.
    EXPECT_FALSE(std::filesystem::exists(app.file("Drives.log")));
}

TEST(HiddenDriveFiles, OnlyTheLabelFile) {
    EXPECT_TRUE(isHiddenDriveFile(".volume-label"));
    EXPECT_FALSE(isHiddenDriveFile(".volume-label.txt"));
    EXPECT_FALSE(isHiddenDriveFile("volume-label"));
    EXPECT_FALSE(isHiddenDriveFile("track.mp3"));
    EXPECT_FALSE(isHiddenDriveFile(""));
}

// ---- Catalogue paths and native paths ----

class PathConversion : public ::testing::Test {
protected:
    PathConversion() {
        makeFolder(tmp.file("music/live"));
        makeFolder(tmp.file("cd"));
        writeFile(tmp.file("cd/.volume-label"), "Disc\r\n");
        table = DriveTable({drive('C', DriveKind::Fixed, "/"), drive('M', DriveKind::Fixed, tmp.file("music")),
                            drive('L', DriveKind::Removable, tmp.file("music/live/")),
                            drive('E', DriveKind::CdRom, tmp.file("cd")),
                            drive('F', DriveKind::CdRom, tmp.file("empty-tray"))},
                           tmp.path());
    }

    TempDir tmp;
    DriveTable table;
};

TEST_F(PathConversion, RoundTripsBelowEachRoot) {
    const std::pair<std::string, std::string> cases[] = {
        {"M:\\Pop\\a.mp3", tmp.file("music/Pop/a.mp3")},
        {"L:\\2001\\b c.mp3", tmp.file("music/live/2001/b c.mp3")},
        {"E:\\Disc 1\\t.mp3", tmp.file("cd/Disc 1/t.mp3")},
        {"C:\\etc\\x.mp3", "/etc/x.mp3"},
        {"M:\\", tmp.file("music")},
        {"C:\\", "/"},
    };
    for (const auto& [catalog, native] : cases) {
        EXPECT_EQ(table.catalogToNative(catalog), native) << catalog;
        EXPECT_EQ(table.nativeToCatalog(native), catalog) << native;
    }
}

TEST_F(PathConversion, NamesThatAreNotUtf8GoThroughTheCatalogueUnchanged) {
    const std::string native = tmp.file("music/Alt\xE9/caf\xE9.mp3");
    const std::optional<std::string> catalog = table.nativeToCatalog(native);
    ASSERT_TRUE(catalog);
    EXPECT_TRUE(isValidUtf8(*catalog));
    EXPECT_EQ(table.catalogToNative(*catalog), native);
    EXPECT_EQ(DriveTable::nativeBelow(tmp.file("music"), "\\" + fileNameToText("Alt\xE9")), tmp.file("music/Alt\xE9"));
    // The drive's own folder is taken as Drives.ini spells it, escape or not.
    DriveTable odd({drive('M', DriveKind::Fixed, tmp.file("m\xEF\x9F\xA9"))}, tmp.path());
    makeFolder(tmp.file("m\xEF\x9F\xA9"));
    EXPECT_EQ(odd.catalogToNative("M:\\a.mp3"), tmp.file("m\xEF\x9F\xA9/a.mp3"));
}

TEST_F(PathConversion, SpellingsOfTheSamePlace) {
    EXPECT_EQ(table.catalogToNative("M:"), tmp.file("music"));
    EXPECT_EQ(table.catalogToNative("m:\\Pop\\"), tmp.file("music/Pop"));
    EXPECT_EQ(table.catalogToNative("M:\\Pop\\\\a.mp3"), tmp.file("music/Pop/a.mp3"));
    EXPECT_EQ(table.catalogToNative("C:"), "/");

    EXPECT_EQ(table.nativeToCatalog(tmp.file("music/")), "M:\\");
    EXPECT_EQ(table.nativeToCatalog(tmp.path() + "//music/./Pop/../a.mp3"), "M:\\a.mp3");
}

TEST_F(PathConversion, LongestRootWinsAndComponentsMatchWhole) {
    EXPECT_EQ(table.nativeToCatalog(tmp.file("music/live/x.mp3")), "L:\\x.mp3");
    EXPECT_EQ(table.nativeToCatalog(tmp.file("music/liveX/x.mp3")), "M:\\liveX\\x.mp3");
    std::string outside = tmp.file("music2/y.mp3").substr(1);
    for (char& c : outside)
        if (c == '/') c = '\\';
    EXPECT_EQ(table.nativeToCatalog(tmp.file("music2/y.mp3")), "C:\\" + outside);

    // Of two drives with one root, the first letter.
    DriveTable twins({drive('N', DriveKind::Fixed, tmp.file("music")), drive('K', DriveKind::Fixed, tmp.file("music"))},
                     "");
    EXPECT_EQ(twins.nativeToCatalog(tmp.file("music/a")), "K:\\a");
}

TEST_F(PathConversion, DrivesWithoutADiskDoNotCount) {
    std::filesystem::remove(tmp.file("cd/.volume-label"));
    std::string viaC = tmp.file("cd/t.mp3").substr(1);
    for (char& c : viaC)
        if (c == '/') c = '\\';
    EXPECT_EQ(table.nativeToCatalog(tmp.file("cd/t.mp3")), "C:\\" + viaC);
    EXPECT_EQ(table.catalogToNative("E:\\t.mp3"), std::nullopt);
    EXPECT_EQ(table.catalogToNative("F:\\t.mp3"), std::nullopt);

    DriveTable noRoot({drive('M', DriveKind::Fixed, tmp.file("music"))}, "");
    EXPECT_EQ(noRoot.nativeToCatalog("/etc/passwd"), std::nullopt);
    EXPECT_EQ(noRoot.nativeToCatalog(tmp.path()), std::nullopt);
}

TEST_F(PathConversion, RefusesWhatIsNoPathOnADrive) {
    for (const char* catalog : {"Q:\\a.mp3", "", "M", "M\\a.mp3", ":\\a.mp3", "1:\\a", "M:\\..\\secret",
                                "M:\\Pop\\..\\..\\secret"})
        EXPECT_EQ(table.catalogToNative(catalog), std::nullopt) << catalog;
    for (const char* native : {"", "music/a.mp3", "./a"})
        EXPECT_EQ(table.nativeToCatalog(native), std::nullopt) << native;
}

} // namespace
} // namespace velmo::platform
