// Finding nodes from the search field, renaming them in place, deleting songs by button and
// key, in the window.
#include <QApplication>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeView>
#include <filesystem>

#include "MainWindowFixture.h"
#include "models/TreeModel.h"
#include "platform/Drives.h"

namespace velmo::gui::test {

namespace {

namespace fs = std::filesystem;
constexpr long MB = 1048576;

// A CD with r.mp3 and the local drive C: with Music (a root) \ Pop \ a.mp3, b.mp3; C: is the
// folder "hd" of the program folder, where the files exist.
std::string localDatabase() {
    return folderLine(0, "Rock CD /ROCK01/", 1) + songLine(1, "r.mp3", 6, MB) + folderLine(0, "Drive <C> /DATA/", 3) +
           folderLine(1, "Music", 4) + folderLine(2, "Pop", 5) + songLine(3, "a.mp3", 6, MB) +
           songLine(3, "b.mp3", 6, MB);
}

struct LocalDrive : MainWindowFixture {
    LocalDrive() : MainWindowFixture(localDatabase(), false) {
        services.drives = platform::DriveTable({{'C', platform::DriveKind::Fixed, dir.file("hd"), "DATA"}}, dir.path());
        session->DetectCDDrives();
        for (const char* name : {"hd/Music/Pop/a.mp3", "hd/Music/Pop/b.mp3"}) velmo::test::writeFile(dir.file(name), "x");
    }
    bool exists(const std::string& name) const { return fs::exists(dir.file(name)); }
    QTreeView* folderTree() const { return window->findChild<QTreeView*>("TreeViewFolders"); }
};

QString selectedText(QTreeView* tree) {
    const QModelIndexList rows = tree->selectionModel()->selectedIndexes();
    return rows.size() == 1 ? rows.front().data().toString() : QString("%1 selected").arg(rows.size());
}

void select(QTreeView* tree, const QModelIndex& at) {
    // A message box that closed leaves the headless window inactive.
    QApplication::setActiveWindow(tree->window());
    tree->setFocus();
    tree->selectionModel()->setCurrentIndex(at, QItemSelectionModel::ClearAndSelect);
}

// Opens the in-place editor of the current node with F2; null when none opened.
QLineEdit* startEdit(QTreeView* tree) {
    QTest::keyClick(tree, Qt::Key_F2);
    return qobject_cast<QLineEdit*>(QApplication::focusWidget());
}

void typeAndSubmit(QLineEdit* editor, const QString& text) {
    editor->selectAll();
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();
}

// With VELMO_SHOT_DIR set, the window as the user sees it at this step, for a look by eye.
void saveShot(QWidget* window, const char* name) {
    const QString folder = qEnvironmentVariable("VELMO_SHOT_DIR");
    if (!folder.isEmpty()) window->grab().save(folder + "/" + name + ".png", "PNG");
}

} // namespace

class SearchRenameDeleteTest : public QObject {
    Q_OBJECT
private slots:
    void searchFindsHitsAndStepsThroughThemWithWrapAround();
    void aSearchWithoutHitsSaysSoAndSelectsTheText();
    void renamingInPlaceRenamesOnDiskAndRefusesWhatCannotBeStored();
    void deleteAndShiftDeleteRemoveSongsFromTheDatabaseAndTheDisk();
};

void SearchRenameDeleteTest::searchFindsHitsAndStepsThroughThemWithWrapAround() {
    MainWindowFixture f;
    auto* edit = f.window->findChild<QLineEdit*>("EditSearch");
    QPushButton* search = f.button("ButtonSearch");
    QPushButton* next = f.button("ButtonSearchNext");
    QPushButton* prev = f.button("ButtonSearchPrev");
    QTreeView* tree = f.musicTree();
    QVERIFY(!search->isEnabled());

    // From another tab: Ctrl+F, the text, Enter. The outer stars leave the field.
    f.showTab(2);
    QTest::keyClick(f.focused(), Qt::Key_F, Qt::ControlModifier);
    QCOMPARE(QApplication::focusWidget(), edit);
    QTest::keyClicks(edit, "*0*MP3*");
    QVERIFY(search->isEnabled());
    QVERIFY(search->isDefault());
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(edit->text(), QString("0*MP3"));
    QCOMPARE(f.window->tabs()->currentIndex(), 0);
    QCOMPARE(QApplication::focusWidget(), tree);
    QCOMPARE(selectedText(tree), QString("01 a.mp3"));
    QVERIFY(next->isEnabled() && prev->isEnabled());
    saveShot(f.window.get(), "search-hit");

    // F3 and Alt+F3 step in tree order and wrap at both ends.
    QTest::keyClick(f.focused(), Qt::Key_F3);
    QCOMPARE(selectedText(tree), QString("02 b.mp3"));
    QTest::keyClick(f.focused(), Qt::Key_F3, Qt::AltModifier);
    QTest::keyClick(f.focused(), Qt::Key_F3, Qt::AltModifier);
    QCOMPARE(selectedText(tree), QString("08 h.mp3"));
    // The steps start from wherever the user put the selection.
    select(tree, f.treeIndex({"Winter /WINTER02/", "y.mp3"}));
    next->click();
    QCOMPARE(selectedText(tree), QString("01 a.mp3"));
    select(tree, f.treeIndex({"Summer Mix /SUMMER01/"}));
    prev->click();
    QCOMPARE(selectedText(tree), QString("08 h.mp3"));

    // A changed text disowns the hits: F3 does nothing until the next search.
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QVERIFY(!next->isEnabled() && !prev->isEnabled());
    QVERIFY(search->isEnabled());
    tree->setFocus();
    QVERIFY(!search->isDefault());
    QTest::keyClick(f.focused(), Qt::Key_F3);
    QCOMPARE(selectedText(tree), QString("08 h.mp3"));
    // Ctrl+F also ends the stepping.
    search->click();
    QVERIFY(next->isEnabled());
    QTest::keyClick(f.focused(), Qt::Key_F, Qt::ControlModifier);
    QVERIFY(!next->isEnabled() && !prev->isEnabled());
    QCOMPARE(QApplication::focusWidget(), edit);
}

void SearchRenameDeleteTest::aSearchWithoutHitsSaysSoAndSelectsTheText() {
    MainWindowFixture f(sampleDatabase(), false);
    auto* edit = f.window->findChild<QLineEdit*>("EditSearch");
    edit->setFocus();
    QTest::keyClicks(edit, "a**b");
    ModalAnswerer answerer({QMessageBox::Ok});
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(answerer.seen.size(), 1);
    QCOMPARE(answerer.seen[0].title, QString("Information"));
    QCOMPARE(answerer.seen[0].text, QString("The substring is not found."));
    QVERIFY(!f.button("ButtonSearchNext")->isEnabled() && !f.button("ButtonSearchPrev")->isEnabled());
    QCOMPARE(f.window->focusWidget(), edit);
    QCOMPARE(edit->selectedText(), QString("a**b"));
}

void SearchRenameDeleteTest::renamingInPlaceRenamesOnDiskAndRefusesWhatCannotBeStored() {
    LocalDrive f;
    QTreeView* tree = f.musicTree();
    // What lies on a CD keeps its name.
    select(tree, f.treeIndex({"Rock CD /ROCK01/", "r.mp3"}));
    QVERIFY(!startEdit(tree));

    // A local folder: "/" cannot be typed, Enter renames the folder on the disk and every
    // caption below it.
    select(tree, f.treeIndex({"Drive <C> /DATA/", "Music", "Pop"}));
    QLineEdit* editor = startEdit(tree);
    QVERIFY(editor);
    editor->selectAll();
    QTest::keyClicks(editor, "Ro/ck");
    QCOMPARE(editor->text(), QString("Rock"));
    saveShot(f.window.get(), "rename-in-place");
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();
    QVERIFY(f.treeIndex({"Drive <C> /DATA/", "Music", "Rock", "a.mp3"}).isValid());
    QVERIFY(f.exists("hd/Music/Rock/a.mp3") && !f.exists("hd/Music/Pop"));
    QVERIFY(f.session->db.findSong("Drive <C> /DATA/\\Music\\Rock\\a.mp3"));
    QCOMPARE(QApplication::focusWidget(), tree);

    // Esc during an edit cancels it and leaves the window open.
    select(tree, f.treeIndex({"Drive <C> /DATA/", "Music", "Rock", "b.mp3"}));
    editor = startEdit(tree);
    QVERIFY(editor);
    QTest::keyClicks(editor, "zzz");
    QTest::keyClick(editor, Qt::Key_Escape);
    QApplication::processEvents();
    QVERIFY(f.window->isVisible());
    QVERIFY(f.exists("hd/Music/Rock/b.mp3"));

    // In the folder tree a song is renamed through its music-tree node; the folder tree is
    // built anew under the editor and shows the song under its new name.
    f.button("ButtonSwitchView")->click();
    QTreeView* folders = f.folderTree();
    QCOMPARE(f.window->visibleTree(), folders);
    auto* folderModel = static_cast<TreeModel*>(folders->model());
    select(folders, folderModel->indexOf(f.song("a.mp3")->FolderNode));
    editor = startEdit(folders);
    QVERIFY(editor);
    typeAndSubmit(editor, "c.mp3");
    QVERIFY(f.exists("hd/Music/Rock/c.mp3") && !f.exists("hd/Music/Rock/a.mp3"));
    QCOMPARE(selectedText(folders), QString("c.mp3"));

    // A name another file has is refused with the reason; nothing changes.
    f.button("ButtonSwitchView")->click();
    select(tree, f.treeIndex({"Drive <C> /DATA/", "Music", "Rock", "b.mp3"}));
    editor = startEdit(tree);
    QVERIFY(editor);
    ModalAnswerer answerer({QMessageBox::Ok});
    typeAndSubmit(editor, "c.mp3");
    QTRY_COMPARE(answerer.seen.size(), 1);
    QVERIFY(answerer.seen[0].text.contains("exists"));
    QVERIFY(f.exists("hd/Music/Rock/b.mp3") && f.exists("hd/Music/Rock/c.mp3"));
    QVERIFY(f.session->db.findSong("Drive <C> /DATA/\\Music\\Rock\\b.mp3"));
}

void SearchRenameDeleteTest::deleteAndShiftDeleteRemoveSongsFromTheDatabaseAndTheDisk() {
    LocalDrive f;
    QTreeView* tree = f.musicTree();
    // Delete: out of the database, the file stays.
    select(tree, f.treeIndex({"Drive <C> /DATA/", "Music", "Pop", "a.mp3"}));
    {
        ModalAnswerer answerer({QMessageBox::Yes});
        QTest::keyClick(tree, Qt::Key_Delete);
        QCOMPARE(answerer.seen.size(), 1);
        QCOMPARE(answerer.seen[0].text, QString("Are you sure you want to delete the selected files ?"));
    }
    QVERIFY(!f.song("a.mp3"));
    QVERIFY(f.exists("hd/Music/Pop/a.mp3"));

    // The Music List's button, refused: nothing changes.
    f.showTab(1);
    f.selectInList(1, {"b.mp3"});
    QPushButton* delete1 = f.button("ButtonDelete1");
    QVERIFY(delete1->isEnabled());
    {
        ModalAnswerer answerer({QMessageBox::No});
        delete1->click();
        QCOMPARE(answerer.seen.size(), 1);
    }
    QVERIFY(f.song("b.mp3"));

    // Shift+Delete: the file goes too.
    f.showTab(0);
    select(tree, f.treeIndex({"Drive <C> /DATA/", "Music", "Pop", "b.mp3"}));
    {
        ModalAnswerer answerer({QMessageBox::Yes});
        QTest::keyClick(tree, Qt::Key_Delete, Qt::ShiftModifier);
        QCOMPARE(answerer.seen.size(), 1);
        QCOMPARE(answerer.seen[0].text,
                 QString("Are you sure you want to delete the selected files physically from disk ?"));
    }
    QVERIFY(!f.song("b.mp3"));
    QVERIFY(!f.exists("hd/Music/Pop/b.mp3"));
    // The song kept on the disk keeps its folder there.
    QVERIFY(f.exists("hd/Music/Pop/a.mp3"));
    // The emptied disk left the tree; nothing is selected, so Delete is off.
    QVERIFY(!f.treeIndex({"Drive <C> /DATA/"}).isValid());
    QVERIFY(!f.button("ButtonDelete")->isEnabled());

    // While a copy runs, neither Delete nor a rename starts.
    select(tree, f.treeIndex({"Rock CD /ROCK01/", "r.mp3"}));
    QVERIFY(f.button("ButtonDelete")->isEnabled());
    f.window->setCopyRunning(true);
    QVERIFY(!f.button("ButtonDelete")->isEnabled());
    {
        ModalAnswerer answerer;
        QTest::keyClick(tree, Qt::Key_Delete);
        QApplication::processEvents();
        QCOMPARE(answerer.seen.size(), 0);
    }
    select(tree, f.treeIndex({"Rock CD /ROCK01/"}));
    QVERIFY(!startEdit(tree));
    f.window->setCopyRunning(false);
    QVERIFY(f.song("r.mp3"));
    QLineEdit* editor = startEdit(tree);
    QVERIFY(editor); // a CD's own name can be edited
    QTest::keyClick(editor, Qt::Key_Escape);

    // Shift held on the button asks for the deletion from the disk.
    select(tree, f.treeIndex({"Rock CD /ROCK01/", "r.mp3"}));
    {
        ModalAnswerer answerer({QMessageBox::No});
        QTest::mouseClick(f.button("ButtonDelete"), Qt::LeftButton, Qt::ShiftModifier);
        QCOMPARE(answerer.seen.size(), 1);
        QVERIFY(answerer.seen[0].text.contains("physically"));
    }
    QVERIFY(f.song("r.mp3"));
}

int runSearchRenameDeleteTest(int argc, char** argv) {
    SearchRenameDeleteTest t;
    return QTest::qExec(&t, argc, argv);
}

} // namespace velmo::gui::test

#include "SearchRenameDeleteTest.moc"
