#include "MainWindowFixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QItemSelectionModel>
#include <QListView>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeView>

#include "app/Lifecycle.h"
#include "models/TreeModel.h"

namespace velmo::gui::test {

std::string sampleDatabase() {
    constexpr long MB = 1048576;
    return folderLine(0, "Summer Mix /SUMMER01/", 1) + folderLine(1, "Album One", 4) +
           songLine(2, "01 a.mp3", 6, MB) + songLine(2, "02 b.mp3", 7, 2 * MB) + songLine(2, "03 c.mp3", 8, MB) +
           songLine(2, "04 d.mp3", 9, MB) + songLine(2, "05 e.mp3", 10, MB) + songLine(2, "06 f.mp3", 11, MB) +
           songLine(2, "07 g.mp3", 12, MB) + songLine(2, "08 h.mp3", 13, MB) +
           folderLine(0, "Winter /WINTER02/", 1) + songLine(1, "x.mp3", 9, MB) + songLine(1, "y.mp3", 6, MB) +
           songLine(1, "z.mp3", 10, MB);
}

MainWindowFixture::MainWindowFixture(const std::string& database, bool quiet,
                                     const std::function<void(const velmo::test::TempDir&)>& prepare) {
    velmo::test::writeFile(dir.file("Profiles/Default/Default.vmdb"), database);
    if (prepare) prepare(dir);
    ui.setQuiet(quiet);
    session = std::make_unique<Session>(dir.path(), services.forUser(ui));
    window = std::make_unique<TMainForm>(*session);
    copyDialog = std::make_unique<TCopyCDForm>(*session, window.get());
    window->setCopyDialog(copyDialog.get());
    ui.setOwner(window.get());
    ui.setStatusLabel(window->statusLabel());
    window->show();
    started = Startup(*session, {});
    window->UpDateText();
    window->UpDatePlayButton();
    QApplication::setActiveWindow(window.get());
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window.get())) qWarning("the main window did not become active");
    QApplication::processEvents();
}

MainWindowFixture::~MainWindowFixture() {
    // The windows must go before the session they show, the dialog before its owner.
    copyDialog.reset();
    window.reset();
    session.reset();
}

QPushButton* MainWindowFixture::button(const QString& name) const { return window->findChild<QPushButton*>(name); }

QTreeView* MainWindowFixture::musicTree() const { return window->findChild<QTreeView*>("TreeViewMusicTree"); }

TDataRec* MainWindowFixture::song(const std::string& fileName) const {
    for (ListItem* item : session->db.musicList().items()) {
        const std::string caption = item->caption();
        if (caption.ends_with("\\" + fileName)) return item->data();
    }
    return nullptr;
}

int MainWindowFixture::statusOf(const std::string& fileName) const {
    const TDataRec* rec = song(fileName);
    return rec ? MusicDatabase::statusOf(rec) : -1;
}

QModelIndex MainWindowFixture::treeIndex(const QStringList& path) const {
    QAbstractItemModel* model = musicTree()->model();
    QModelIndex parent;
    for (const QString& text : path) {
        QModelIndex found;
        for (int row = 0; row < model->rowCount(parent); ++row) {
            const QModelIndex i = model->index(row, 0, parent);
            if (i.data().toString() == text) found = i;
        }
        if (!found.isValid()) return {};
        parent = found;
    }
    return parent;
}

void MainWindowFixture::showTab(int tab) const {
    window->tabs()->setCurrentIndex(tab);
    QApplication::processEvents();
}

void MainWindowFixture::selectInList(int tab, const QStringList& fileNames) const {
    QListView* list = window->listOfTab(tab);
    list->selectionModel()->clearSelection();
    for (int row = 0; row < list->model()->rowCount(); ++row) {
        const QModelIndex i = list->model()->index(row, 0);
        for (const QString& name : fileNames)
            if (i.data().toString().endsWith("\\" + name)) list->selectionModel()->select(i, QItemSelectionModel::Select);
    }
}

QWidget* MainWindowFixture::focused() const {
    QWidget* w = QApplication::focusWidget();
    return w ? w : window.get();
}

ModalAnswerer::ModalAnswerer(QList<QMessageBox::StandardButton> answers) : answers_(std::move(answers)) {
    connect(&timer_, &QTimer::timeout, this, &ModalAnswerer::poll);
    timer_.start(20);
}

void ModalAnswerer::poll() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || box == last_ || !box->isVisible()) return;
    last_ = box;
    Seen s;
    s.title = box->windowTitle();
    s.text = box->text();
    s.icon = box->icon();
    s.buttons = box->standardButtons();
    if (box->defaultButton()) s.defaultButton = box->standardButton(box->defaultButton());
    seen.append(s);
    const QMessageBox::StandardButton answer = answers_.isEmpty() ? QMessageBox::No : answers_.takeFirst();
    QAbstractButton* press = box->button(answer);
    if (!press) press = box->escapeButton();
    if (!press) press = box->defaultButton();
    if (press) press->click();
    else box->reject();
}

} // namespace velmo::gui::test
