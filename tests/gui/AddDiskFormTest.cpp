// The add-disk dialog and the folder chooser, driven through their controls, drops and the
// main window's "Add disk..." command, over folders that play a hard disk and optical drives.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>
#include <QUrl>
#include <filesystem>

#include <QFontMetrics>

#include "MainWindowFixture.h"
#include "forms/TAddCDForm.h"
#include "forms/TOpenFolderForm.h"

namespace velmo::gui::test {

namespace {

namespace fs = std::filesystem;

QString qs(const std::string& s) { return QString::fromStdString(s); }

// The sample database in a program folder whose Drives.ini names:
//   C: a hard disk labelled SYSTEM (hd/), E: an optical drive holding disk MIX01 (cd/),
//   F: an optical drive without a disk (tray/).
struct AddDiskFixture {
    explicit AddDiskFixture(bool quiet = true) : main(sampleDatabase(), quiet) {
        fs::create_directories(path("hd/Music/Old"));
        fs::create_directories(path("cd/Pop"));
        fs::create_directories(path("tray"));
        velmo::test::writeFile(path("cd/.volume-label"), "MIX01\r\n");
        velmo::test::writeFile(path("Drives.ini"), "C=fixed;" + path("hd") + ";SYSTEM\r\nE=cdrom;" + path("cd") +
                                                       "\r\nF=cdrom;" + path("tray") + "\r\n");
        form = std::make_unique<TAddCDForm>(*main.session, main.window.get());
        form->setFolderChooser(&chooser);
        main.window->setAddDiskDialog(form.get());
    }
    ~AddDiskFixture() {
        main.window->setAddDiskDialog(nullptr);
        form->hide();
    }

    std::string path(const std::string& relative) const { return main.dir.file(relative); }
    void song(const std::string& relative) const { velmo::test::writeFile(path(relative), std::string(1000, 'x')); }
    template <class T> T* control(const char* name) const { return form->findChild<T*>(name); }
    QLineEdit* label() const { return control<QLineEdit>("EditCDLabel"); }
    QLineEdit* description() const { return control<QLineEdit>("EditCDDescription"); }
    QListWidget* list() const { return control<QListWidget>("ListViewFolderList"); }
    QCheckBox* rooted() const { return control<QCheckBox>("CheckBoxRooted"); }
    QPushButton* add() const { return control<QPushButton>("ButtonAddFolder"); }
    QStringList rows() const {
        QStringList out;
        for (int i = 0; i < list()->count(); ++i) out << list()->item(i)->text();
        return out;
    }
    bool mainWindowEnabled() const { return main.window->isEnabled(); }
    std::vector<std::string> songsOf(const std::string& disk) const {
        std::vector<std::string> out;
        for (const std::string& caption : captionsOf(main.session->db.musicList()))
            if (caption.starts_with(disk)) out.push_back(caption);
        return out;
    }
    void typeDescription(const QString& text) const {
        description()->selectAll();
        QTest::keyClick(description(), Qt::Key_Backspace);
        QTest::keyClicks(description(), text);
    }

    MainWindowFixture main;
    TOpenFolderForm chooser{main.session->texts};
    std::unique_ptr<TAddCDForm> form;
};

// Drags local files onto a window and drops them there; returns whether the window took the drag.
bool drop(QWidget* target, const std::vector<std::string>& paths, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QMimeData data;
    QList<QUrl> urls;
    for (const std::string& p : paths) urls << QUrl::fromLocalFile(qs(p));
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, modifiers);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent dropped(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, modifiers);
    QApplication::sendEvent(target, &dropped);
    QApplication::processEvents();
    return true;
}

// Answers the folder chooser when it opens: notes its caption and whether Choose was enabled
// before anything was selected, then chooses `path` ("E:\Pop\"), or cancels for an empty path.
class ChooserAnswer {
public:
    explicit ChooserAnswer(std::string path) : path_(std::move(path)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
        timer_.start(20);
    }
    bool seen = false;
    QString caption;
    bool chooseEnabledAtFirst = true;

private:
    void poll() {
        auto* chooser = qobject_cast<TOpenFolderForm*>(QApplication::activeModalWidget());
        if (seen || !chooser || !chooser->isVisible()) return;
        seen = true;
        timer_.stop();
        caption = chooser->windowTitle();
        auto* choose = chooser->findChild<QPushButton*>("ButtonChoose");
        chooseEnabledAtFirst = choose->isEnabled();
        QTreeWidgetItem* item = path_.empty() ? nullptr : chooser->itemOf(path_);
        if (!item) {
            chooser->findChild<QPushButton*>("ButtonCancel")->click();
            return;
        }
        item->treeWidget()->setCurrentItem(item);
        choose->click();
    }

    std::string path_;
    QTimer timer_;
};

// Clicks a check box on its indicator (a box wider than its text ignores clicks beside it).
void clickBox(QCheckBox* box) { QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(6, box->height() / 2)); }

} // namespace

class AddDiskFormTest : public QObject {
    Q_OBJECT
private slots:
    void ctrlAltAOpensTheDialogAndTheChooser();
    void addIsEnabledExactlyWhenLabelReadAndDescriptionSet();
    void refusedCharactersCannotBeTypedIntoTheDescription();
    void hardDiskHasAFixedDescriptionAndAddIsReady();
    void rootedBoxTurnsGreyAndAClickSetsEveryRow();
    void foldersOfAnotherDriveReplaceTheRows();
    void addRunAfterADropAddsSongsAndClosesTheDialog();
    void addRunAfterChoosingKeepsTheDialogOpenAndEmpty();
    void folderWithoutMusicBringsANoticeDuringTheAdd();
    void dropsOntoTheMainWindowAndSilentAdding();
    void chooserListsTheDrivesAndBuildsCataloguePaths();
};

void AddDiskFormTest::ctrlAltAOpensTheDialogAndTheChooser() {
    AddDiskFixture f;
    f.main.session->db.DiskAdded = true;
    ChooserAnswer answer("E:\\Pop\\");
    QTest::keyClick(f.main.focused(), Qt::Key_A, Qt::ControlModifier | Qt::AltModifier);

    QVERIFY(answer.seen);
    QCOMPARE(answer.caption, QString("Choose folder..."));
    QVERIFY(!answer.chooseEnabledAtFirst);
    QVERIFY(f.form->isVisible());
    QVERIFY(f.form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(!f.form->isModal());
    QCOMPARE(f.form->windowTitle(), QString("Adding a disk/folder to your music data base"));
    QVERIFY(!f.main.session->db.DiskAdded);
    QCOMPARE(f.rows(), QStringList{"E:\\Pop\\"});
    QCOMPARE(f.list()->item(0)->checkState(), Qt::Unchecked);
    QCOMPARE(f.label()->text(), QString("MIX01"));
    QCOMPARE(f.description()->text(), QString("MIX01"));
    QVERIFY(f.add()->isEnabled());
    // The main window stays usable beside the dialog.
    QVERIFY(f.mainWindowEnabled());

    // Opened again and cancelled: the dialog is empty.
    ChooserAnswer cancel("");
    f.main.window->findChild<QAction*>("MenuItemAddDisk")->trigger();
    QVERIFY(cancel.seen);
    QVERIFY(f.rows().isEmpty());
    QCOMPARE(f.label()->text(), QString("<choose disk/folder>"));
    QCOMPARE(f.description()->text(), QString());
    QVERIFY(!f.add()->isEnabled());
    QVERIFY(!f.control<QPushButton>("ButtonRefresh")->isEnabled());
}

void AddDiskFormTest::addIsEnabledExactlyWhenLabelReadAndDescriptionSet() {
    AddDiskFixture f;
    // The drive has no disk: whatever the description, Add waits.
    ChooserAnswer answer("F:\\");
    f.main.window->findChild<QAction*>("MenuItemAddDisk")->trigger();
    QCOMPARE(f.rows(), QStringList{"F:\\"});
    QCOMPARE(f.label()->text(), QString("<no disk, please, check the device>"));
    f.typeDescription("Road trip");
    QCOMPARE(f.description()->text(), QString("Road trip"));
    QVERIFY(!f.add()->isEnabled());
    QVERIFY(f.control<QPushButton>("ButtonRefresh")->isEnabled());

    // A disk goes in; F5 reads it and the typed description stays.
    velmo::test::writeFile(f.path("tray/.volume-label"), "ROAD01\r\n");
    QTest::keyClick(f.form.get(), Qt::Key_F5);
    QCOMPARE(f.label()->text(), QString("ROAD01"));
    QCOMPARE(f.description()->text(), QString("Road trip"));
    QVERIFY(f.add()->isEnabled());

    f.description()->selectAll();
    QTest::keyClick(f.description(), Qt::Key_Backspace);
    QVERIFY(f.description()->text().isEmpty());
    QVERIFY(!f.add()->isEnabled());
    QTest::keyClicks(f.description(), "x");
    QVERIFY(f.add()->isEnabled());
}

void AddDiskFormTest::refusedCharactersCannotBeTypedIntoTheDescription() {
    AddDiskFixture f;
    QVERIFY(drop(f.form.get(), {f.path("cd/Pop")}));
    f.typeDescription("a/b<c");
    QCOMPARE(f.description()->text(), QString("abc"));
    QTest::keyClicks(f.description(), "\\/:*?\"<>|");
    QCOMPARE(f.description()->text(), QString("abc"));
    QVERIFY(f.add()->isEnabled());

    // A pasted one blocks Add and further typing, but can be deleted.
    f.description()->insert("|");
    QVERIFY(!f.add()->isEnabled());
    QTest::keyClicks(f.description(), "d");
    QCOMPARE(f.description()->text(), QString("abc|"));
    QTest::keyClick(f.description(), Qt::Key_Backspace);
    QCOMPARE(f.description()->text(), QString("abc"));
    QVERIFY(f.add()->isEnabled());
}

void AddDiskFormTest::hardDiskHasAFixedDescriptionAndAddIsReady() {
    AddDiskFixture f;
    QVERIFY(drop(f.form.get(), {f.path("hd/Music")}));
    QVERIFY(f.form->isVisible());
    QCOMPARE(f.rows(), QStringList{"C:\\Music\\"});
    QCOMPARE(f.label()->text(), QString("SYSTEM"));
    QCOMPARE(f.description()->text(), QString("Drive <C>"));
    QVERIFY(!f.description()->isEnabled());
    QVERIFY(f.add()->isEnabled());
    // A drop onto the dialog holds the main window until the dialog closes.
    QVERIFY(!f.mainWindowEnabled());
    QTest::keyClick(f.form.get(), Qt::Key_Escape);
    QVERIFY(!f.form->isVisible());
    QVERIFY(f.mainWindowEnabled());
}

void AddDiskFormTest::rootedBoxTurnsGreyAndAClickSetsEveryRow() {
    AddDiskFixture f;
    QVERIFY(drop(f.form.get(), {f.path("hd/Music"), f.path("hd/Music/Old")}, Qt::ShiftModifier));
    QCOMPARE(f.rows(), QStringList({"C:\\Music\\", "C:\\Music\\Old\\"}));
    QCOMPARE(f.list()->item(0)->checkState(), Qt::Checked);
    QCOMPARE(f.list()->item(1)->checkState(), Qt::Checked);
    QCOMPARE(f.rooted()->checkState(), Qt::Checked);

    f.list()->item(1)->setCheckState(Qt::Unchecked);
    QCOMPARE(f.rooted()->checkState(), Qt::PartiallyChecked);
    QVERIFY(f.form->state().rows()[0].checked);
    QVERIFY(!f.form->state().rows()[1].checked);

    clickBox(f.rooted());
    QCOMPARE(f.rooted()->checkState(), Qt::Checked);
    QCOMPARE(f.list()->item(0)->checkState(), Qt::Checked);
    QCOMPARE(f.list()->item(1)->checkState(), Qt::Checked);
    clickBox(f.rooted());
    QCOMPARE(f.rooted()->checkState(), Qt::Unchecked);
    QCOMPARE(f.list()->item(0)->checkState(), Qt::Unchecked);
    QCOMPARE(f.list()->item(1)->checkState(), Qt::Unchecked);
    QVERIFY(!f.form->state().rows()[0].checked);
    // From unchecked a click checks: the grey state is only ever shown, never clicked to.
    clickBox(f.rooted());
    QCOMPARE(f.rooted()->checkState(), Qt::Checked);
    QVERIFY(f.form->state().rows()[1].checked);
}

void AddDiskFormTest::foldersOfAnotherDriveReplaceTheRows() {
    AddDiskFixture f;
    for (const char* name : {"a.mp3", "b.mp3", "c.mp3"}) f.song(std::string("cd/Pop/") + name);
    fs::create_directories(f.path("cd/Rock"));
    QVERIFY(drop(f.form.get(), {f.path("hd/Music")}));
    QCOMPARE(f.rows(), QStringList{"C:\\Music\\"});
    // Three files of one folder of drive E: one row, in place of drive C:'s.
    QVERIFY(drop(f.form.get(), {f.path("cd/Pop/a.mp3"), f.path("cd/Pop/b.mp3"), f.path("cd/Pop/c.mp3")}));
    QCOMPARE(f.rows(), QStringList{"E:\\Pop\\"});
    QCOMPARE(f.description()->text(), QString("MIX01"));
    QVERIFY(f.description()->isEnabled());
    // More of drive E: joins them.
    QVERIFY(drop(f.form.get(), {f.path("cd/Rock")}));
    QCOMPARE(f.rows(), QStringList({"E:\\Pop\\", "E:\\Rock\\"}));
    QCOMPARE(f.list()->toolTip(), QString("E:\\Pop\\\nE:\\Rock\\"));
    // A drop with nothing usable changes nothing.
    QVERIFY(drop(f.form.get(), {f.path("nowhere/x.mp3")}));
    QCOMPARE(f.rows(), QStringList({"E:\\Pop\\", "E:\\Rock\\"}));

    f.list()->setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
    QTest::keyClick(f.list(), Qt::Key_Delete);
    QCOMPARE(f.rows(), QStringList{"E:\\Rock\\"});
    QCOMPARE(f.list()->toolTip(), QString("E:\\Rock\\"));
}

void AddDiskFormTest::addRunAfterADropAddsSongsAndClosesTheDialog() {
    AddDiskFixture f;
    f.song("cd/Pop/a.mp3");
    f.song("cd/Pop/Slow/b.mp3");
    QVERIFY(drop(f.form.get(), {f.path("cd/Pop")}));
    f.typeDescription("Summer Fun");
    QVERIFY(f.add()->isEnabled());
    QTest::mouseClick(f.add(), Qt::LeftButton);

    QCOMPARE(f.songsOf("Summer Fun /MIX01/"),
             (std::vector<std::string>{"Summer Fun /MIX01/\\Pop\\Slow\\b.mp3", "Summer Fun /MIX01/\\Pop\\a.mp3"}));
    QCOMPARE(f.main.session->db.counters().a.count, 13);
    QVERIFY(f.main.treeIndex({"Summer Fun /MIX01/", "Pop", "a.mp3"}).isValid());
    // Came by drag and drop: the dialog closes by itself and applies the changes.
    QVERIFY(!f.form->isVisible());
    QVERIFY(!f.main.session->db.DiskAdded);
    QCOMPARE(f.form->windowTitle(), QString("[ Applying changes to database, please, wait... ]"));
    QVERIFY(f.mainWindowEnabled());
    QVERIFY(f.form->state().rows().empty());
}

void AddDiskFormTest::addRunAfterChoosingKeepsTheDialogOpenAndEmpty() {
    AddDiskFixture f;
    f.song("cd/Rock/r.mp3");
    ChooserAnswer answer("E:\\");
    f.main.window->findChild<QAction*>("MenuItemAddDisk")->trigger();
    QCOMPARE(f.rows(), QStringList{"E:\\"});
    QTest::mouseClick(f.add(), Qt::LeftButton);

    QCOMPARE(f.songsOf("MIX01 /MIX01/"), std::vector<std::string>{"MIX01 /MIX01/\\Rock\\r.mp3"});
    QVERIFY(f.form->isVisible());
    QCOMPARE(f.form->windowTitle(), QString("Adding a disk/folder to your music data base [done]"));
    // The title bar has room for the whole caption.
    QVERIFY(f.form->width() > QFontMetrics(f.form->font()).horizontalAdvance(f.form->windowTitle()) + 100);
    QVERIFY(f.rows().isEmpty());
    QCOMPARE(f.label()->text(), QString("<choose disk/folder>"));
    QVERIFY(f.description()->text().isEmpty());
    QVERIFY(!f.add()->isEnabled());
    QVERIFY(f.control<QPushButton>("ButtonClose")->isEnabled());
    QVERIFY(f.main.session->db.DiskAdded);
    QVERIFY(f.mainWindowEnabled());

    QTest::mouseClick(f.control<QPushButton>("ButtonClose"), Qt::LeftButton);
    QVERIFY(!f.form->isVisible());
    QVERIFY(!f.main.session->db.DiskAdded);
    // The keyboard works in the tree again.
    QApplication::setActiveWindow(f.main.window.get());
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(f.main.window->visibleTree()));
}

void AddDiskFormTest::folderWithoutMusicBringsANoticeDuringTheAdd() {
    // Message boxes are shown; a folder without music brings one while the add runs.
    AddDiskFixture f(false);
    velmo::test::writeFile(f.path("cd/Empty/notes.txt"), "no music");
    QVERIFY(drop(f.form.get(), {f.path("cd/Empty")}));
    ModalAnswerer answerer({QMessageBox::Ok});
    QTest::mouseClick(f.add(), Qt::LeftButton);
    QCOMPARE(answerer.seen.size(), 1);
    QCOMPARE(answerer.seen[0].title, QString("Information"));
    QVERIFY2(answerer.seen[0].text.startsWith("E:\\Empty\\\n"), qPrintable(answerer.seen[0].text));
    QVERIFY(f.songsOf("MIX01").empty());
    QVERIFY(f.mainWindowEnabled());
    QVERIFY(f.form->state().rows().empty());
}

void AddDiskFormTest::dropsOntoTheMainWindowAndSilentAdding() {
    AddDiskFixture f;
    f.song("hd/Music/s.mp3");
    f.song("cd/Pop/a.mp3");
    TMainForm* window = f.main.window.get();

    // Without silent mode the dialog opens with the folder; Shift marks it as a root.
    QVERIFY(drop(window, {f.path("cd/Pop")}, Qt::ShiftModifier));
    QVERIFY(f.form->isVisible());
    QCOMPARE(f.rows(), QStringList{"E:\\Pop\\"});
    QCOMPARE(f.rooted()->checkState(), Qt::Checked);
    QVERIFY(f.add()->isEnabled());
    QTest::keyClick(f.form.get(), Qt::Key_Escape);
    QVERIFY(f.songsOf("MIX01").empty());

    // Silent mode for hard disks: a hard-disk folder is added without the dialog.
    f.main.session->settings.SilentAddingMode = true;
    f.main.session->settings.OnlyForHDDs = true;
    int shown = 0;
    struct ShowCounter : QObject {
        int* count;
        explicit ShowCounter(int* c) : count(c) {}
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::Show) ++*count;
            return false;
        }
    } counter(&shown);
    f.form->installEventFilter(&counter);
    QVERIFY(drop(window, {f.path("hd/Music/s.mp3")}));
    QCOMPARE(shown, 0);
    QCOMPARE(f.songsOf("Drive <C> /SYSTEM/"), std::vector<std::string>{"Drive <C> /SYSTEM/\\Music\\s.mp3"});
    QVERIFY(!f.main.session->db.DiskAdded); // closed by itself: it came by drag and drop
    QVERIFY(f.mainWindowEnabled());
    QCOMPARE(window->findChild<QLabel*>("StatusBar1")->text(), QString());

    // A CD is still shown and waits for Add.
    QVERIFY(drop(window, {f.path("cd/Pop")}));
    QCOMPARE(shown, 1);
    QVERIFY(f.form->isVisible());
    QCOMPARE(f.rows(), QStringList{"E:\\Pop\\"});
    QVERIFY(f.songsOf("MIX01").empty());
    f.form->removeEventFilter(&counter);
}

void AddDiskFormTest::chooserListsTheDrivesAndBuildsCataloguePaths() {
    AddDiskFixture f;
    fs::create_directories(f.path("cd/Pop/Old"));
    fs::create_directories(f.path("cd/.hidden"));
    fs::create_directories(f.path("cd/Jazz"));
    TOpenFolderForm& chooser = f.chooser;
    chooser.loadDrives(f.main.session->drives());
    auto* tree = chooser.findChild<QTreeWidget*>("ShellTreeView");
    auto* choose = chooser.findChild<QPushButton*>("ButtonChoose");
    auto* cancel = chooser.findChild<QPushButton*>("ButtonCancel");
    QCOMPARE(choose->text(), QString("Choose"));
    QVERIFY(choose->isDefault());
    QCOMPARE(choose->toolTip(), QString("Choose the selected folder"));
    QCOMPARE(cancel->text(), QString("Cancel"));
    QCOMPARE(cancel->toolTip(), QString("Close the window without choosing a folder (Esc)"));

    QCOMPARE(tree->topLevelItemCount(), 3);
    QCOMPARE(tree->topLevelItem(0)->text(0), "C:\\ (" + qs(f.path("hd")) + ")");
    QCOMPARE(tree->topLevelItem(1)->text(0), "E:\\ (" + qs(f.path("cd")) + ")");
    QCOMPARE(tree->topLevelItem(2)->text(0), "F:\\ (" + qs(f.path("tray")) + ")");
    QVERIFY(!choose->isEnabled());
    QVERIFY(!chooser.selectedPath());

    QTreeWidgetItem* drive = tree->topLevelItem(1);
    drive->setExpanded(true);
    QStringList folders;
    for (int i = 0; i < drive->childCount(); ++i) folders << drive->child(i)->text(0);
    QCOMPARE(folders, QStringList({".hidden", "Jazz", "Pop"}));

    tree->setCurrentItem(drive);
    QVERIFY(choose->isEnabled());
    QCOMPARE(chooser.selectedPath(), std::optional<std::string>("E:\\"));
    QTreeWidgetItem* old = chooser.itemOf("E:\\Pop\\Old\\");
    QVERIFY(old);
    tree->setCurrentItem(old);
    QCOMPARE(chooser.selectedPath(), std::optional<std::string>("E:\\Pop\\Old\\"));

    // Cancel gives nothing, Choose the selected folder.
    ChooserAnswer none("");
    QVERIFY(!chooser.chooseFolder(f.main.session->drives(), "Pick"));
    QVERIFY(none.seen);
    QCOMPARE(none.caption, QString("Pick"));
    ChooserAnswer jazz("E:\\Jazz\\");
    QCOMPARE(chooser.chooseFolder(f.main.session->drives(), "Pick"),
             std::optional<std::string>("E:\\Jazz\\"));
}

int runAddDiskFormTest(int argc, char** argv) {
    AddDiskFormTest test;
    return QTest::qExec(&test, argc, argv);
}

} // namespace velmo::gui::test

#include "AddDiskFormTest.moc"
