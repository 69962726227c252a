// The copy dialog, and the main window while "Press to start" copies a playlist from a
// simulated CD: what stays usable, the way back to the dialog, Skip track, Abort and Exit.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTabWidget>
#include <QTreeView>
#include <filesystem>
#include <functional>

#include "MainWindowFixture.h"
#include "playlist/CopyProgress.h"

namespace velmo::gui::test {

namespace {

constexpr long kSongBytes = 3 * 1048576;
const QString kAbortQuestion = "Are you sure you want to abort ?";
const QString kQuit = "Quit the program right now ?";

// One CD of four songs; the three Favorites are the playlist when the base is loaded.
std::string cdDatabase() {
    return folderLine(0, "Summer Mix /SUMMER01/", iiCDDisk) + folderLine(1, "Album One", iiFolder) +
           songLine(2, "01 a.mp3", 10, kSongBytes) + songLine(2, "02 b.mp3", 10, kSongBytes) +
           songLine(2, "03 c.mp3", 10, kSongBytes) + songLine(2, "04 d.mp3", 6, kSongBytes);
}

// The main window over cdDatabase() with the disk in a simulated optical drive E: and the
// destination below the program folder. Questions are answered by a ModalAnswerer.
struct CopySetup {
    MainWindowFixture f{cdDatabase(), false};

    CopySetup() {
        const std::string cd = f.dir.file("cd");
        velmo::test::writeFile(cd + "/.volume-label", "SUMMER01\n");
        for (const char* name : {"01 a.mp3", "02 b.mp3", "03 c.mp3"})
            velmo::test::writeFile(cd + "/Album One/" + name, std::string(kSongBytes, 'x'));
        f.services.drives = platform::DriveTable(
            {{'C', platform::DriveKind::Fixed, f.dir.file("hd"), "DATA"}, {'E', platform::DriveKind::CdRom, cd, std::nullopt}},
            f.dir.path());
        f.session->DetectCDDrives();
        ProfileSettings& s = f.session->settings;
        s.PathToDB = "Profiles\\Default\\MusicBase";
        s.SizeOfDB = 1000;
    }

    std::string dest(const std::string& name) const {
        return f.dir.file("Profiles/Default/MusicBase/Summer Mix -SUMMER01-/Album One/" + name);
    }
    bool copied(const std::string& name) const { return std::filesystem::exists(dest(name)); }
    // The lines of the result playlist file, sorted (the playlist's own order is drawn at random),
    // each checked for its CR LF.
    QStringList playlistLines() const {
        const QString text =
            QString::fromStdString(velmo::test::readFile(f.dir.file("Profiles/Default/MusicBase/Default.m3u")));
        if (!text.endsWith("\r\n")) return {"(no CR LF at the end) " + text};
        QStringList lines = text.chopped(2).split("\r\n");
        lines.sort();
        return lines;
    }
    QString nowCopying() const { return f.copyDialog->findChild<QLabel*>("PanelNowCopying")->text(); }
    QPushButton* dialogButton(const char* name) const { return f.copyDialog->findChild<QPushButton*>(name); }
    // "Press to start"; returns when the copy has ended.
    void pressToStart() const { QTest::mouseClick(f.button("ButtonPressToStart"), Qt::LeftButton); }
};

// Runs `action` once, from inside the copy's message pump, as soon as `when` holds. The copy
// waits meanwhile, so the action sees it standing still. Moves the test clock on each look, so
// the copy shows its progress within a file too.
class DuringCopy : public QObject {
public:
    DuringCopy(velmo::test::FakeClock& clock, std::function<bool()> when, std::function<void()> action)
        : clock_(clock), when_(std::move(when)), action_(std::move(action)) {
        connect(&timer_, &QTimer::timeout, this, [this] {
            clock_.now += 100;
            if (done || !when_()) return;
            done = true;
            action_();
        });
        timer_.start(0);
    }
    bool done = false;

private:
    velmo::test::FakeClock& clock_;
    std::function<bool()> when_;
    std::function<void()> action_;
    QTimer timer_;
};

} // namespace

class CopyWindowTest : public QObject {
    Q_OBJECT
private slots:
    void dialogHasItsNamedControlsTextsAndHints();
    void dialogShowsWhereTheCopyStands();
    void mainWindowDuringACopyKeepsBrowsingAndLocksTheRest();
    void skipTrackDropsTheFileAndAbortStopsTheCopy();
    void exitDuringACopyAsksToAbortAndClosesOnceItEnded();
};

void CopyWindowTest::dialogHasItsNamedControlsTextsAndHints() {
    MainWindowFixture f;
    TCopyCDForm* d = f.copyDialog.get();
    QCOMPARE(d->objectName(), QString("TCopyCDForm"));
    QCOMPARE(d->windowTitle(), QString("Copying files..."));
    QVERIFY(!d->isModal());
    QCOMPARE(d->minimumSize(), d->maximumSize()); // a single, fixed border

    const std::pair<const char*, const char*> labels[] = {{"PanelCurDiskCF", "Current disk:"},
                                                          {"PanelNowCopyingCF", "Now copying:"},
                                                          {"PanelSongProgressCF", "Song progress:"},
                                                          {"PanelDiskProgressCF", "Disk progress:"},
                                                          {"PanelGenProgressCF", "General progress:"}};
    for (const auto& [name, caption] : labels) {
        auto* label = d->findChild<QLabel*>(name);
        QVERIFY2(label, name);
        QCOMPARE(label->text(), QString(caption));
    }
    for (const char* name : {"PanelCurDisk", "PanelNowCopying", "PanelSongProgress", "PanelSongProgressPercent",
                             "PanelDiskProgressSongs", "PanelDiskProgressSize", "PanelDiskProgressPercent",
                             "PanelGenProgressSongs", "PanelGenProgressSize", "PanelGenProgressDisks",
                             "PanelGenProgressPercent"}) {
        auto* text = d->findChild<QLabel*>(name);
        QVERIFY2(text, name);
        QVERIFY2(text->text().isEmpty(), name);
    }
    for (const char* name : {"ProgressBarSong", "ProgressBarDisk", "ProgressBarGengeral"}) {
        auto* bar = d->findChild<QProgressBar*>(name);
        QVERIFY2(bar, name);
        QCOMPARE(bar->minimum(), 0);
        QCOMPARE(bar->maximum(), 500);
    }
    const std::tuple<const char*, const char*, const char*, bool> buttons[] = {
        {"ButtonSkipTrack", "Skip track", "Don't include this track to your playlist", false},
        {"ButtonSkipDisk", "Skip disk", "Stop copying files from the current disk (but save already copied files)", true},
        {"ButtonAbort", "Abort", "Stop copying process (but save already copied files)", false}};
    for (const auto& [name, caption, hint, enabled] : buttons) {
        auto* button = d->findChild<QPushButton*>(name);
        QVERIFY2(button, name);
        QCOMPARE(button->text(), QString(caption));
        QCOMPARE(button->toolTip(), QString(hint));
        QCOMPARE(button->isEnabled(), enabled);
    }
    // Without a copy the buttons have nothing to act on, and ask nothing.
    QTest::mouseClick(d->findChild<QPushButton*>("ButtonSkipDisk"), Qt::LeftButton);
    QVERIFY(!f.session->copyRunning());
}

void CopyWindowTest::dialogShowsWhereTheCopyStands() {
    MainWindowFixture f;
    CopyCounters c;
    c.CurDisk = 2;
    c.DisksTotal = 3;
    c.DiskSongs = 12;
    c.SongOnDisk = 2;
    c.SongIndex = 7;
    c.TotalSongs = 40;
    c.CurSongSize = 5678 * 1024;
    c.DiskSizeMB = 45.67;
    c.DiskDoneMB = 10.5;
    c.TotalSizeMB = 100;
    c.TotalDoneMB = 30.25;
    c.WantedDisk = "Summer Mix (SUMMER01)";
    c.SourcePath = "/media/cd/Album One/03 c.mp3";
    f.copyDialog->showCopyDialog("Copying files...");
    f.copyDialog->showCopyProgress(c, 1234 * 1024);

    auto text = [&](const char* name) { return f.copyDialog->findChild<QLabel*>(name)->text(); };
    auto bar = [&](const char* name) { return f.copyDialog->findChild<QProgressBar*>(name)->value(); };
    QCOMPARE(text("PanelCurDisk"), QString("Summer Mix (SUMMER01)"));
    QCOMPARE(text("PanelNowCopying"), QString("/media/cd/Album One/03 c.mp3"));
    QCOMPARE(text("PanelSongProgress"), QString("1234 of 5678 KB"));
    QCOMPARE(text("PanelSongProgressPercent"), QString("22 %"));
    QCOMPARE(text("PanelDiskProgressSongs"), QString("Song 3 of 12"));
    // 1234 KB is 1.205 MB: 11.705 of 45.67 MB on the disk, 31.455 of 100 MB in all.
    QCOMPARE(text("PanelDiskProgressSize"), QString("12 of 45.67 MB"));
    QCOMPARE(text("PanelDiskProgressPercent"), QString("25.6 %"));
    QCOMPARE(text("PanelGenProgressSongs"), QString("Song 7 of 40"));
    QCOMPARE(text("PanelGenProgressSize"), QString("31 of 100 MB"));
    QCOMPARE(text("PanelGenProgressDisks"), QString("Disk 2 of 3"));
    QCOMPARE(text("PanelGenProgressPercent"), QString("31.5 %"));
    QCOMPARE(bar("ProgressBarSong"), 109);
    QCOMPARE(bar("ProgressBarDisk"), 128);
    QCOMPARE(bar("ProgressBarGengeral"), 157);

    // The dialog appears centred on the main window; a new copy starts from empty texts.
    QVERIFY(f.copyDialog->isVisible());
    const QPoint offset = f.copyDialog->frameGeometry().center() - f.window->frameGeometry().center();
    QVERIFY2(offset.manhattanLength() <= 2, qPrintable(QString("%1,%2").arg(offset.x()).arg(offset.y())));
    f.copyDialog->showCopyDialog("Copying files...");
    QVERIFY(text("PanelSongProgress").isEmpty());
    QCOMPARE(bar("ProgressBarGengeral"), 0);
}

void CopyWindowTest::mainWindowDuringACopyKeepsBrowsingAndLocksTheRest() {
    CopySetup t;
    MainWindowFixture& f = t.f;
    QPushButton* press = f.button("ButtonPressToStart");
    QPushButton* make = f.button("ButtonMakePlayList");
    QPushButton* showProgress = f.button("BitBtnShowCopyProgress");
    QVERIFY(press->isEnabled() && make->isEnabled());
    QVERIFY(!showProgress->isVisible());
    auto action = [&](const char* name) { return f.window->findChild<QAction*>(name); };

    ModalAnswerer answerer; // the notice that the playlist file was written
    // Stops the copy halfway through its second file.
    auto midFile = [&] {
        const QString percent = f.copyDialog->findChild<QLabel*>("PanelSongProgressPercent")->text();
        return t.nowCopying().endsWith("02 b.mp3") && percent != "0 %" && percent != "100 %";
    };
    DuringCopy during(f.services.clock, midFile, [&] {
            QVERIFY(f.session->copyRunning());
            QVERIFY(f.copyDialog->isVisible());
            QVERIFY(t.dialogButton("ButtonAbort")->isEnabled());
            QVERIFY(t.dialogButton("ButtonSkipTrack")->isEnabled());
            // The playlist commands and whatever decides where the copy writes are locked.
            QVERIFY(!press->isEnabled());
            QVERIFY(!make->isEnabled());
            for (const char* name : {"ComboBoxProfiles", "ButtonProfile"})
                QVERIFY2(!f.window->findChild<QWidget*>(name)->isEnabled(), name);
            for (const char* name : {"ButtonOptions", "ButtonRootControl", "ButtonDelete"})
                QVERIFY2(!f.button(name)->isEnabled(), name);
            for (const char* name : {"MenuItemAddDisk", "MenuItemLoadBase", "MenuItemAddtoDB", "MenuItemClearDB",
                                     "MenuItemSaveDBAs", "ContextMenuItemReloadTag"})
                QVERIFY2(!action(name)->isEnabled(), name);
            QVERIFY(action("MenuItemSaveBase")->isEnabled());

            // Going to the main window offers the way back to the dialog.
            f.window->activateWindow();
            QVERIFY(QTest::qWaitFor([&] { return f.window->isActiveWindow() && showProgress->isVisible(); }, 2000));
            // F5 opens no root control now.
            f.window->tabs()->setCurrentIndex(0);
            f.musicTree()->setFocus();
            QTest::keyClick(f.musicTree(), Qt::Key_F5);
            QVERIFY(!f.window->findChild<QWidget*>("PanelRootControl")->isVisible());
            // Pictures of the windows mid-copy, for a person to look at.
            if (qEnvironmentVariableIsSet("VELMO_SHOTS")) {
                const QString shots = qEnvironmentVariable("VELMO_SHOTS");
                f.copyDialog->grab().save(shots + "/copy-dialog.png");
                f.window->grab().save(shots + "/main-window-copying.png");
            }

            // Browsing and the status commands go on: 04 d.mp3 joins the Black List.
            f.showTab(1);
            f.selectInList(1, {"04 d.mp3"});
            QTest::mouseClick(f.button("BitBtnBlack1"), Qt::LeftButton);
            QCOMPARE(f.statusOf("04 d.mp3"), int(ssBlack));
            QApplication::processEvents();
            QVERIFY(!press->isEnabled());


            // The way back brings the dialog to the front and goes.
            QTest::mouseClick(showProgress, Qt::LeftButton);
            QVERIFY(!showProgress->isVisible());
            QVERIFY(QTest::qWaitFor([&] { return f.copyDialog->isActiveWindow(); }, 2000));
            QVERIFY(f.copyDialog->isVisible());
            QVERIFY(!showProgress->isVisible());
        });
    t.pressToStart();

    QVERIFY(during.done);
    QVERIFY(!f.session->copyRunning());
    QVERIFY(!f.copyDialog->isVisible());
    QVERIFY(!showProgress->isVisible());
    QVERIFY(t.copied("01 a.mp3") && t.copied("02 b.mp3") && t.copied("03 c.mp3"));
    QCOMPARE(t.playlistLines(), QStringList({"Summer Mix -SUMMER01-/Album One/01 a.mp3",
                                             "Summer Mix -SUMMER01-/Album One/02 b.mp3",
                                             "Summer Mix -SUMMER01-/Album One/03 c.mp3"}));
    QCOMPARE(answerer.seen.size(), 1);
    QCOMPARE(answerer.seen.front().icon, QMessageBox::Information);
    // Everything is back.
    QVERIFY(press->isEnabled());
    for (const char* name : {"ButtonOptions", "ButtonRootControl"}) QVERIFY2(f.button(name)->isEnabled(), name);
    QVERIFY(f.window->findChild<QWidget*>("ComboBoxProfiles")->isEnabled());
    QVERIFY(action("MenuItemAddDisk")->isEnabled());
    QVERIFY(!t.dialogButton("ButtonAbort")->isEnabled());
}

void CopyWindowTest::skipTrackDropsTheFileAndAbortStopsTheCopy() {
    {
        CopySetup t;
        ConfirmOptions& o = t.f.session->settings.ConfirmOpts;
        o[ConfirmSkip] = true;
        o[AutoSkipFile] = true;
        o[AutoSkipDisk] = false;
        o[AutoSkipDiskAndFile] = false;
        ModalAnswerer answerer({QMessageBox::Yes});
        DuringCopy during(t.f.services.clock, [&] { return t.nowCopying().endsWith("02 b.mp3"); },
                          [&] { QTest::mouseClick(t.dialogButton("ButtonSkipTrack"), Qt::LeftButton); });
        t.pressToStart();
        QVERIFY(during.done);
        QVERIFY(answerer.seen.size() >= 1);
        QCOMPARE(answerer.seen.front().text,
                 QString::fromStdString("Are you sure you don't want to copy the file " + t.f.dir.file("cd") +
                                        "/Album One/02 b.mp3 ?"));
        QVERIFY(t.copied("01 a.mp3") && !t.copied("02 b.mp3") && t.copied("03 c.mp3"));
        QCOMPARE(t.playlistLines(), QStringList({"Summer Mix -SUMMER01-/Album One/01 a.mp3",
                                                 "Summer Mix -SUMMER01-/Album One/03 c.mp3"}));
    }
    {
        CopySetup t;
        ModalAnswerer answerer({QMessageBox::No, QMessageBox::Yes});
        int clicks = 0;
        auto abortOn = [&](const char* name) {
            return [&t, &clicks, name] {
                if (!t.nowCopying().endsWith(name)) return false;
                QTest::mouseClick(t.dialogButton("ButtonAbort"), Qt::LeftButton);
                ++clicks;
                return true;
            };
        };
        // No keeps the copy going with the dialog in front; Yes stops it within the file.
        DuringCopy no(t.f.services.clock, abortOn("01 a.mp3"), [&] {
            QVERIFY(t.f.session->copyRunning());
            QVERIFY(t.dialogButton("ButtonAbort")->isEnabled());
        });
        DuringCopy yes(t.f.services.clock, abortOn("02 b.mp3"), [&] {
            QVERIFY(!t.dialogButton("ButtonAbort")->isEnabled());
            QVERIFY(t.f.session->copyRunning());
        });
        t.pressToStart();
        QCOMPARE(clicks, 2);
        QVERIFY(answerer.seen.size() >= 2);
        QCOMPARE(answerer.seen[0].text, kAbortQuestion);
        QCOMPARE(answerer.seen[0].defaultButton, QMessageBox::No);
        QCOMPARE(answerer.seen[1].text, kAbortQuestion);
        QVERIFY(t.copied("01 a.mp3") && !t.copied("02 b.mp3") && !t.copied("03 c.mp3"));
        QCOMPARE(t.playlistLines(), QStringList({"Summer Mix -SUMMER01-/Album One/01 a.mp3"}));
        QVERIFY(!t.f.copyDialog->isVisible());
        QVERIFY(t.f.button("ButtonPressToStart")->isEnabled());
    }
}

void CopyWindowTest::exitDuringACopyAsksToAbortAndClosesOnceItEnded() {
    {
        // Exit, abort answered Yes: the copy stops, then the program asks to quit and closes.
        CopySetup t;
        ModalAnswerer answerer({QMessageBox::Yes, QMessageBox::Ok, QMessageBox::Yes, QMessageBox::No});
        DuringCopy during(t.f.services.clock, [&] { return t.nowCopying().endsWith("02 b.mp3"); }, [&] {
            QTest::mouseClick(t.f.button("ButtonExit"), Qt::LeftButton);
            // The quit question waits for the copy to end.
            QVERIFY(t.f.window->isVisible());
            QCOMPARE(answerer.seen.size(), 1);
        });
        t.pressToStart();
        QVERIFY(during.done);
        QVERIFY(!t.f.window->isVisible());
        QVERIFY(answerer.seen.size() >= 3);
        QCOMPARE(answerer.seen[0].text, kAbortQuestion);
        QCOMPARE(answerer.seen[1].icon, QMessageBox::Information); // the playlist file was written
        QCOMPARE(answerer.seen[2].text, kQuit);
        QVERIFY(t.copied("01 a.mp3") && !t.copied("02 b.mp3") && !t.copied("03 c.mp3"));
        QCOMPARE(t.playlistLines(), QStringList({"Summer Mix -SUMMER01-/Album One/01 a.mp3"}));
    }
    {
        // The close box, abort answered No: the copy runs to its end, then the quit question.
        CopySetup t;
        ModalAnswerer answerer({QMessageBox::No, QMessageBox::Ok, QMessageBox::No});
        DuringCopy during(t.f.services.clock, [&] { return t.nowCopying().endsWith("02 b.mp3"); },
                          [&] { QVERIFY(!t.f.window->close()); });
        t.pressToStart();
        QVERIFY(during.done);
        QCOMPARE(answerer.seen.size(), 3);
        QCOMPARE(answerer.seen[0].text, kAbortQuestion);
        QCOMPARE(answerer.seen[1].icon, QMessageBox::Information); // the playlist file was written
        QCOMPARE(answerer.seen[2].text, kQuit);
        QVERIFY(t.f.window->isVisible());
        QVERIFY(t.copied("01 a.mp3") && t.copied("02 b.mp3") && t.copied("03 c.mp3"));
        QVERIFY(t.f.button("ButtonPressToStart")->isEnabled());
    }
}

int runCopyWindowTest(int argc, char** argv) {
    CopyWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

} // namespace velmo::gui::test

#include "CopyWindowTest.moc"
