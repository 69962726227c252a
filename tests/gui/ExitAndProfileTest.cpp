// Leaving the program (exit question, save question) and the inline profile name editor.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <filesystem>

#include "MainWindowFixture.h"

namespace velmo::gui::test {

namespace {
const QString kQuit = "Quit the program right now ?";
const QString kSave = "Do you want to save your music data base ?";
const QString kExists = "This profile name already exists, please, try another one.";
} // namespace

class ExitAndProfileTest : public QObject {
    Q_OBJECT
private slots:
    void closingAsksFirstAndNoKeepsTheWindowOpen();
    void escOnAListTabAsksToQuit();
    void closingAModifiedBaseAsksToSaveIt();
    void withoutConfirmationClosingAsksNothing();
    void profileEditorRefusesCharactersAndEscLeavesIt();
    void listedProfileNameShowsTheErrorBoxAndKeepsTheEditor();
};

void ExitAndProfileTest::closingAsksFirstAndNoKeepsTheWindowOpen() {
    MainWindowFixture f(sampleDatabase(), false);
    {
        ModalAnswerer answerer({QMessageBox::No});
        QVERIFY(!f.window->close());
        QCOMPARE(answerer.seen.size(), 1);
        const ModalAnswerer::Seen& box = answerer.seen.front();
        QCOMPARE(box.text, kQuit);
        QCOMPARE(box.title, QString("Confirmation"));
        QCOMPARE(box.icon, QMessageBox::Question);
        QCOMPARE(box.buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(box.defaultButton, QMessageBox::No);
    }
    QVERIFY(f.window->isVisible());

    // The Exit button asks the same; Yes closes, and an unmodified base asks nothing more.
    ModalAnswerer answerer({QMessageBox::Yes});
    QTest::mouseClick(f.button("ButtonExit"), Qt::LeftButton);
    QCOMPARE(answerer.seen.size(), 1);
    QCOMPARE(answerer.seen.front().text, kQuit);
    QVERIFY(!f.window->isVisible());
    // Leaving writes the options file.
    QCOMPARE(velmo::test::readFile(f.dir.file("Options.ini")), std::string("[Profile]\r\nDefault\r\n[Profiles]\r\nDefault\r\n"));
}

void ExitAndProfileTest::escOnAListTabAsksToQuit() {
    MainWindowFixture f(sampleDatabase(), false);
    f.showTab(3);
    f.window->listOfTab(3)->setFocus();
    ModalAnswerer answerer({QMessageBox::No});
    QTest::keyClick(f.focused(), Qt::Key_Escape);
    QCOMPARE(answerer.seen.size(), 1);
    QCOMPARE(answerer.seen.front().text, kQuit);
    QVERIFY(f.window->isVisible());
}

void ExitAndProfileTest::closingAModifiedBaseAsksToSaveIt() {
    MainWindowFixture f(sampleDatabase(), false);
    f.showTab(1);
    f.selectInList(1, {"01 a.mp3"});
    QTest::mouseClick(f.button("BitBtnFav1"), Qt::LeftButton);
    QVERIFY(f.session->db.DBModified());

    ModalAnswerer answerer({QMessageBox::Yes, QMessageBox::Yes});
    QVERIFY(f.window->close());
    QCOMPARE(answerer.seen.size(), 2);
    QCOMPARE(answerer.seen[0].text, kQuit);
    QCOMPARE(answerer.seen[1].text, kSave);
    QCOMPARE(answerer.seen[1].title, QString("Confirmation"));
    QCOMPARE(answerer.seen[1].icon, QMessageBox::Question);
    const std::string saved = velmo::test::readFile(f.dir.file("Profiles/Default/Default.vmdb"));
    QVERIFY(saved.find("\t\t01 a.mp3:10:1048576:") != std::string::npos);
}

void ExitAndProfileTest::withoutConfirmationClosingAsksNothing() {
    MainWindowFixture f(sampleDatabase(), false);
    f.session->settings.ConfirmOpts[ConfirmClose] = false;
    ModalAnswerer answerer;
    QVERIFY(f.window->close());
    QCOMPARE(answerer.seen.size(), 0);
    QVERIFY(!f.window->isVisible());
}

void ExitAndProfileTest::profileEditorRefusesCharactersAndEscLeavesIt() {
    MainWindowFixture f(sampleDatabase(), false);
    auto* edit = f.window->findChild<QLineEdit*>("EditNewProfile");
    auto* profiles = f.window->findChild<QComboBox*>("ComboBoxProfiles");
    auto* newProfile = f.window->findChild<QAction*>("NewProfileMenuItem");
    QVERIFY(edit && profiles && newProfile);
    QVERIFY(!edit->isVisible());
    QCOMPARE(profiles->count(), 1);

    newProfile->trigger();
    QVERIFY(edit->isVisible());
    QCOMPARE(edit->text(), QString("New profile"));
    QVERIFY(!profiles->isEnabled());
    QTRY_VERIFY(edit->hasFocus());

    // A refused character never reaches the name, even over a selected text.
    edit->selectAll();
    QTest::keyClick(edit, ':');
    QCOMPARE(edit->text(), QString("New profile"));
    edit->setText("Rock");
    edit->setCursorPosition(4);
    for (char c : QByteArray("\\/:*?\"<>|")) QTest::keyClick(edit, c);
    QCOMPARE(edit->text(), QString("Rock"));
    QTest::keyClick(edit, 's');
    QCOMPARE(edit->text(), QString("Rocks"));

    // Esc leaves the editor, not the program, and makes no profile.
    {
        ModalAnswerer answerer;
        QTest::keyClick(edit, Qt::Key_Escape);
        QCOMPARE(answerer.seen.size(), 0);
    }
    QVERIFY(!edit->isVisible());
    QVERIFY(profiles->isEnabled());
    QVERIFY(f.window->isVisible());
    QCOMPARE(profiles->count(), 1);
    QCOMPARE(QString::fromStdString(f.session->CurrentProfile), QString("Default"));

    // Enter with a new name makes the profile and closes the editor.
    newProfile->trigger();
    QVERIFY(edit->isVisible());
    edit->selectAll();
    QTest::keyClicks(edit, "Rock");
    QTest::keyClick(edit, Qt::Key_Return);
    QVERIFY(!edit->isVisible());
    QVERIFY(profiles->isEnabled());
    QCOMPARE(profiles->count(), 2);
    QCOMPARE(profiles->currentText(), QString("Rock"));
    QCOMPARE(QString::fromStdString(f.session->CurrentProfile), QString("Rock"));
    QVERIFY(std::filesystem::is_directory(f.dir.file("Profiles/Rock")));
}

void ExitAndProfileTest::listedProfileNameShowsTheErrorBoxAndKeepsTheEditor() {
    MainWindowFixture f(sampleDatabase(), false);
    auto* edit = f.window->findChild<QLineEdit*>("EditNewProfile");
    auto* profiles = f.window->findChild<QComboBox*>("ComboBoxProfiles");
    auto* newProfile = f.window->findChild<QAction*>("NewProfileMenuItem");
    QVERIFY(edit && profiles && newProfile);

    // Names are compared with the list whatever their letter case.
    QStringList closedAfterTheBox;
    for (const QString name : {"Default", "dEFAULT"}) {
        // Back from the previous box.
        QApplication::setActiveWindow(f.window.get());
        QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
        newProfile->trigger();
        QTRY_VERIFY(edit->hasFocus());
        edit->selectAll();
        QTest::keyClicks(edit, name);
        QCOMPARE(edit->text(), name);
        {
            ModalAnswerer answerer({QMessageBox::Ok});
            QTest::keyClick(edit, Qt::Key_Return);
            QCOMPARE(answerer.seen.size(), 1);
            QCOMPARE(answerer.seen.front().text, kExists);
            QCOMPARE(answerer.seen.front().title, QString("Error"));
        }
        QCOMPARE(profiles->count(), 1);
        QCOMPARE(QString::fromStdString(f.session->CurrentProfile), QString("Default"));
        if (edit->isVisible()) {
            // The name stays, selected, for another try.
            QCOMPARE(edit->text(), name);
            QCOMPARE(edit->selectedText(), name);
            QVERIFY(!profiles->isEnabled());
            QTest::keyClick(edit, Qt::Key_Escape);
        } else {
            closedAfterTheBox << name;
        }
    }
    // The error box takes the focus for a moment; the editor stays, with the name to correct.
    QVERIFY2(closedAfterTheBox.isEmpty(),
             qPrintable("the name editor closed behind the error box for " + closedAfterTheBox.join(", ")));
}

int runExitAndProfileTest(int argc, char** argv) {
    ExitAndProfileTest test;
    return QTest::qExec(&test, argc, argv);
}

} // namespace velmo::gui::test

#include "ExitAndProfileTest.moc"
