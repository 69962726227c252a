// The window's own keys and the mouse wheel on the list tabs.
#include <QAbstractButton>
#include <QApplication>
#include <QKeySequence>
#include <QMenu>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QTreeView>
#include <QWheelEvent>

#include "MainWindowFixture.h"

namespace velmo::gui::test {

namespace {

// A disk of `count` unused songs of 1 MB.
std::string manySongs(int count) {
    std::string db = folderLine(0, "Big /BIG01/", 1);
    for (int i = 0; i < count; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "song %04d.mp3", i);
        db += songLine(1, name, 6, 1048576);
    }
    return db;
}

void turnWheel(QListView* list, int delta, Qt::KeyboardModifiers modifiers) {
    QWidget* viewport = list->viewport();
    const QPointF pos = QRectF(viewport->rect()).center();
    QWheelEvent wheel(pos, viewport->mapToGlobal(pos), QPoint(), QPoint(0, delta), Qt::NoButton, modifiers,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewport, &wheel);
}

} // namespace

class KeyboardAndWheelTest : public QObject {
    Q_OBJECT
private slots:
    void ctrlASelectsTheWholeListOnListTabsOnly();
    void ctrlFFocusesTheSearchFieldButCtrlShiftFDoesNot();
    void wheelScrollsTheListOfTheActiveTab();
    void textFieldsKeepCtrlATabReachesEveryButtonAndShiftF10OpensTheContextMenu();
};

void KeyboardAndWheelTest::ctrlASelectsTheWholeListOnListTabsOnly() {
    MainWindowFixture f;
    // Tab 0: the window does nothing with Ctrl+A.
    QPushButton* manage = f.button("ButtonManageDB");
    manage->setFocus();
    QCOMPARE(QApplication::focusWidget(), manage);
    QTest::keyClick(f.focused(), Qt::Key_A, Qt::ControlModifier);
    for (int tab = 1; tab <= 5; ++tab) QVERIFY(!f.window->listOfTab(tab)->selectionModel()->hasSelection());
    QCOMPARE(f.window->tabs()->currentIndex(), 0);
    QCOMPARE(QApplication::focusWidget(), manage);
    // Nor does the tree select everything by itself: a status button would then act on all.
    QTreeView* tree = f.window->visibleTree();
    tree->setFocus();
    QTest::keyClick(f.focused(), Qt::Key_A, Qt::ControlModifier);
    QVERIFY(!tree->selectionModel()->hasSelection());

    // The Playlist tab: Ctrl+A from any control of the tab selects every playlist item.
    f.showTab(2);
    QPushButton* used = f.button("BitBtnUsed2");
    used->setFocus();
    QCOMPARE(QApplication::focusWidget(), used);
    QTest::keyClick(f.focused(), Qt::Key_A, Qt::ControlModifier);
    QListView* playlist = f.window->listOfTab(2);
    QCOMPARE(playlist->model()->rowCount(), 2);
    QCOMPARE(playlist->selectionModel()->selectedIndexes().size(), 2);
    QCOMPARE(QApplication::focusWidget(), playlist);
    // Only the active tab's list.
    QVERIFY(!f.window->listOfTab(1)->selectionModel()->hasSelection());
    // Ctrl+Shift+A is not Ctrl+A.
    playlist->clearSelection();
    used->setFocus();
    QTest::keyClick(f.focused(), Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(!playlist->selectionModel()->hasSelection());
}

void KeyboardAndWheelTest::ctrlFFocusesTheSearchFieldButCtrlShiftFDoesNot() {
    MainWindowFixture f;
    auto* search = f.window->findChild<QLineEdit*>("EditSearch");
    QVERIFY(search);
    QTreeView* tree = f.musicTree();
    tree->setFocus();
    QCOMPARE(QApplication::focusWidget(), tree);

    QTest::keyClick(f.focused(), Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(!search->hasFocus());
    QCOMPARE(QApplication::focusWidget(), tree);

    f.showTab(1);
    QListView* list = f.window->listOfTab(1);
    list->setFocus();
    QTest::keyClick(f.focused(), Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(!search->hasFocus());
    QCOMPARE(QApplication::focusWidget(), list);

    // Ctrl+F alone goes to the search field and resets the search buttons.
    f.button("ButtonSearchNext")->setEnabled(true);
    f.button("ButtonSearchPrev")->setEnabled(true);
    QTest::keyClick(f.focused(), Qt::Key_F, Qt::ControlModifier);
    QTRY_VERIFY(search->hasFocus());
    QVERIFY(!f.button("ButtonSearchNext")->isEnabled());
    QVERIFY(!f.button("ButtonSearchPrev")->isEnabled());
}

void KeyboardAndWheelTest::wheelScrollsTheListOfTheActiveTab() {
    MainWindowFixture f(manySongs(300));
    QVERIFY(f.started);
    f.showTab(1);
    QListView* list = f.window->listOfTab(1);
    QCOMPARE(list->model()->rowCount(), 300);
    QScrollBar* bar = list->verticalScrollBar();
    QTRY_VERIFY(bar->maximum() > 2000);
    const int start = 1000;

    struct Turn {
        int delta;
        Qt::KeyboardModifiers modifiers;
        int expectedMove;
    };
    const Turn turns[] = {
        {120, Qt::NoModifier, -60},             // one notch away from the user: up by 60 pixels
        {-120, Qt::NoModifier, 60},
        {120, Qt::ControlModifier, -360},       // six times as far with Ctrl
        {-120, Qt::ControlModifier, 360},
        {-240, Qt::NoModifier, 120},
        {-121, Qt::NoModifier, 60},             // half the delta, truncated
        {-120, Qt::ShiftModifier, 0},           // Shift scrolls sideways, never up or down
        {-120, Qt::AltModifier, 0},
        {-120, Qt::ControlModifier | Qt::ShiftModifier, 0},
    };
    for (const Turn& t : turns) {
        bar->setValue(start);
        turnWheel(list, t.delta, t.modifiers);
        QApplication::processEvents();
        QVERIFY2(bar->value() == start + t.expectedMove,
                 qPrintable(QString("delta %1, modifiers %2: moved %3, expected %4")
                                .arg(t.delta)
                                .arg(int(t.modifiers))
                                .arg(bar->value() - start)
                                .arg(t.expectedMove)));
    }
}

int runKeyboardAndWheelTest(int argc, char** argv) {
    KeyboardAndWheelTest test;
    return QTest::qExec(&test, argc, argv);
}

void KeyboardAndWheelTest::textFieldsKeepCtrlATabReachesEveryButtonAndShiftF10OpensTheContextMenu() {
    MainWindowFixture f;
    // Ctrl+A in the search field selects its text, on any tab; the list and the focus stay.
    f.showTab(2);
    auto* search = f.window->findChild<QLineEdit*>("EditSearch");
    search->setFocus();
    QTest::keyClicks(search, "summer");
    QTest::keyClick(search, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(search->selectedText(), QString("summer"));
    QCOMPARE(QApplication::focusWidget(), search);
    QVERIFY(!f.window->listOfTab(2)->selectionModel()->hasSelection());
    QTest::keyClick(search, Qt::Key_Backspace);
    QCOMPARE(search->text(), QString());

    // Tab from the tree reaches every enabled button of the first tab, in the order they stand.
    f.showTab(0);
    f.window->visibleTree()->setFocus();
    QStringList reached;
    for (int i = 0; i < 60 && !reached.contains("ButtonExit"); ++i) {
        QTest::keyClick(f.focused(), Qt::Key_Tab);
        reached << f.focused()->objectName();
    }
    const QStringList wanted = {"ButtonRootControl", "ButtonManageDB", "ButtonOptions", "ButtonSwitchView",
                                "BitBtnUsed", "BitBtnUnUsed", "BitBtnBlack", "BitBtnFav", "BitBtnPlayList",
                                "BitBtnJustGood", "ButtonExit"};
    qsizetype last = -1;
    for (const QString& name : wanted) {
        const qsizetype at = reached.indexOf(name);
        QVERIFY2(at > last, qPrintable(name + " in " + reached.join(' ')));
        last = at;
    }

    // Alt+letter: no two buttons shown together share one, and the commands have one.
    for (int tab = 0; tab <= 5; ++tab) {
        f.showTab(tab);
        QStringList seen;
        for (QAbstractButton* b : f.window->findChildren<QAbstractButton*>()) {
            const QString mnemonic = QKeySequence::mnemonic(b->text()).toString();
            if (!b->isVisible() || mnemonic.isEmpty()) continue;
            QVERIFY2(!seen.contains(mnemonic), qPrintable(b->objectName() + " " + mnemonic));
            seen << mnemonic;
        }
        QVERIFY2(seen.size() >= 5, qPrintable(seen.join(' ')));
    }
    QVERIFY(!QKeySequence::mnemonic(f.button("ButtonOptions")->text()).isEmpty());

    // Shift+F10 on a list opens the context menu at the current row, as the Menu key does.
    f.showTab(1);
    f.selectInList(1, {"02 b.mp3"});
    QListView* list = f.window->listOfTab(1);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_F10, Qt::ShiftModifier);
    QTRY_VERIFY(f.window->contextMenu()->isVisible());
    f.window->contextMenu()->close();
}

} // namespace velmo::gui::test

#include "KeyboardAndWheelTest.moc"
