// The command line's user: answers typed by a person, the insert program, the progress line.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "CopyProgressLine.h"
#include "TerminalUi.h"
#include "base/MessageTable.h"
#include "support/FakeClock.h"
#include "support/TestSupport.h"

namespace velmo::cli {
namespace {

const UserInterface::InsertDiskPrompt kPrompt{"CD insertion", "Please, insert CD JAZZ01 (\"Jazz Night\").", "JAZZ01",
                                              "Jazz Night"};

TEST(TerminalUi, APersonAnswersQuestionsAndPromptsUntilTheInputEnds) {
    std::istringstream typed("\nn\nmaybe\nY\nc\n\n");
    std::ostringstream err;
    TerminalUi ui(err, {TerminalUi::Answers::Default, &typed, {}, 0});
    EXPECT_FALSE(ui.answersWithoutPerson());
    EXPECT_FALSE(ui.askYesNo("Q", "Empty?", false)); // Enter takes the default button
    EXPECT_FALSE(ui.askYesNo("Q", "Sure?", true));
    EXPECT_TRUE(ui.askYesNo("Q", "Again?", false)); // asked again after an answer it cannot read
    EXPECT_FALSE(ui.askInsertDisk(kPrompt));
    EXPECT_TRUE(ui.askInsertDisk(kPrompt));
    EXPECT_EQ(err.str(), "Q: Empty? [y/N]  -> No\n"
                         "Q: Sure? [Y/n]  -> No\n"
                         "Q: Again? [y/N] Please answer y or n. [y/N]  -> Yes\n"
                         "CD insertion: Please, insert CD JAZZ01 (\"Jazz Night\"). [Enter = OK, c = Cancel]  -> Cancel\n"
                         "CD insertion: Please, insert CD JAZZ01 (\"Jazz Night\"). [Enter = OK, c = Cancel]  -> OK\n");

    // Once the input has ended nobody answers: Cancel, and the core's limit on prompts applies.
    err.str("");
    EXPECT_FALSE(ui.askInsertDisk(kPrompt));
    EXPECT_TRUE(ui.answersWithoutPerson());
    EXPECT_TRUE(ui.askYesNo("Q", "Later?", true));
    EXPECT_EQ(err.str(), "CD insertion: Please, insert CD JAZZ01 (\"Jazz Night\"). [Enter = OK, c = Cancel] \n"
                         " -> Cancel\nQ: Later? -> Yes\n");
}

TEST(TerminalUi, TheInsertProgramAnswersThePromptByItsExitStatus) {
    std::ostringstream err;
    test::TempDir dir;
    const std::string script = dir.file("insert.sh");
    // Its arguments arrive as two words, blanks and quotes included.
    test::writeFile(script, "#!/bin/sh\nprintf '%s|%s' \"$1\" \"$2\" > '" + dir.file("args") + "'\n[ \"$1\" = JAZZ01 ]\n");
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    TerminalUi ui(err, {TerminalUi::Answers::Default, nullptr, script, 0});
    EXPECT_TRUE(ui.askInsertDisk(kPrompt));
    EXPECT_EQ(test::readFile(dir.file("args")), "JAZZ01|Jazz Night");
    EXPECT_FALSE(ui.askInsertDisk({"CD insertion", "Please, insert CD X (\"\").", "X", ""}));
    EXPECT_EQ(err.str(), "CD insertion: Please, insert CD JAZZ01 (\"Jazz Night\"). -> OK\n"
                         "CD insertion: Please, insert CD X (\"\"). -> Cancel\n");
    EXPECT_FALSE(ui.errorShown());

    // A program that cannot start is an error, and the prompt is cancelled.
    TerminalUi missing(err, {TerminalUi::Answers::Default, nullptr, dir.file("nope"), 0});
    EXPECT_FALSE(missing.askInsertDisk(kPrompt));
    EXPECT_TRUE(missing.errorShown());
    EXPECT_NE(err.str().find("Cannot start the insert program \"" + dir.file("nope") + "\". No such file or directory"),
              std::string::npos)
        << err.str();
}

TEST(TerminalUi, AnInterruptionCancelsPromptsWithoutWaitingAndIsActedOnAtEachPump) {
    std::istringstream typed("y\n\n");
    std::ostringstream err;
    TerminalUi ui(err, {TerminalUi::Answers::Default, &typed, {}, 0});
    int acted = 0;
    ui.setInterruptHandling([] { return true; }, [&acted] { ++acted; });
    ui.processMessages(UserInterface::Pump::WithUserInput);
    EXPECT_FALSE(ui.askInsertDisk(kPrompt));
    EXPECT_FALSE(ui.askYesNo("Q", "Skip?", false));
    EXPECT_GE(acted, 3);
    std::string unread;
    EXPECT_TRUE(std::getline(typed, unread)); // nothing typed was taken
    EXPECT_EQ(unread, "y");
}

TEST(CopyProgressLine, DrawsAtMostTenTimesASecondAndEndsWithTheLastStateBeforeOtherOutput) {
    std::ostringstream err;
    TerminalUi ui(err, {TerminalUi::Answers::Default, nullptr, {}, 0});
    MessageTable messages;
    test::FakeClock clock;
    CopyProgressLine line(ui, messages, clock, true);
    CopyCounters n;
    n.CurDisk = 2;
    n.DisksTotal = 3;
    n.SongOnDisk = 0;
    n.SongIndex = 3;
    n.TotalSongs = 12;
    n.CurSongSize = 1048576;
    n.TotalSizeMB = 45.67;
    n.TotalDoneMB = 11;
    n.WantedDisk = "Jazz Night (JAZZ01)";
    n.SourcePath = "/cd/Jazz/so what.mp3";
    EXPECT_EQ(CopyProgressLine::lineText(n, 0, messages), "Disk 2 of 3 | Song 3 of 12 | 11 of 45.67 MB | 24.1 % | /cd/Jazz/so what.mp3");
    n.SongOnDisk = -1;
    EXPECT_EQ(CopyProgressLine::lineText(n, 0, messages), "Disk 2 of 3 | Song 3 of 12 | 11 of 45.67 MB | 24.1 % | Jazz Night (JAZZ01)");
    n.SongOnDisk = 0;

    line.showCopyDialog("Copying");
    line.showCopyProgress(n, 0);
    clock.now = 99;
    line.showCopyProgress(n, 524288);
    EXPECT_EQ(err.str(), "\r" + CopyProgressLine::lineText(n, 0, messages) + "\x1b[K");
    clock.now = 100;
    line.showCopyProgress(n, 1048576);
    clock.now = 150;
    line.showCopyProgress(n, 1048576 / 4 * 3);
    err.str("");
    ui.showNotice("Notice", "Shown on a line of its own.");
    EXPECT_EQ(err.str(), "\nNotice: Shown on a line of its own. -> OK\n");
    err.str("");
    line.closeCopyDialog();
    EXPECT_EQ(err.str(), "\r" + CopyProgressLine::lineText(n, 1048576 / 4 * 3, messages) + "\x1b[K\n");

    // On a narrow terminal the line is cut to its width less the last column, never inside a
    // character.
    TerminalUi narrow(err, {TerminalUi::Answers::Default, nullptr, {}, 5});
    err.str("");
    narrow.showProgressLine("D\xC3\xA9j\xC3\xA0 vu");
    EXPECT_EQ(err.str(), "\rD\xC3\xA9j\xC3\xA0\x1b[K");
}

} // namespace
} // namespace velmo::cli
