#pragma once
#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "QtUserInterface.h"
#include "support/FakeServices.h"
#include "support/DatabaseBuilders.h"
#include "support/DatabaseLines.h"
#include "support/TestSupport.h"
#include "app/Session.h"
#include "forms/TCopyCDForm.h"
#include "forms/TMainForm.h"

class QListView;
class QModelIndex;
class QPushButton;
class QTreeView;

namespace velmo::gui::test {

using velmo::test::captionsOf;
using velmo::test::folderLine;
using velmo::test::songLine;

// The small collection most cases start from (sizes in whole megabytes, stored status in brackets):
//   Summer Mix /SUMMER01/                 CD disk
//     Album One                           folder with root mark
//       01 a.mp3 (unused)     1 MB        05 e.mp3 (Favorites)            1 MB
//       02 b.mp3 (used)       2 MB        06 f.mp3 (Just Good unused)     1 MB
//       03 c.mp3 (playlist)   1 MB        07 g.mp3 (Just Good used)       1 MB
//       04 d.mp3 (Black List) 1 MB        08 h.mp3 (Just Good playlist)   1 MB
//   Winter /WINTER02/                     CD disk
//     x.mp3 (Black List) 1 MB, y.mp3 (unused) 1 MB, z.mp3 (Favorites) 1 MB
// Loading keeps no playlist: the playlist song comes back used, the Just Good ones Just Good
// unused, the Favorites in the Playlist again.
std::string sampleDatabase();

// A program folder with Profiles/Default/Default.vmdb, a session on it and the main window with
// its copy dialog, started the way the program starts. The window is shown and active.
class MainWindowFixture {
public:
    // `prepare` puts more files into the program folder before the program starts.
    explicit MainWindowFixture(const std::string& database = sampleDatabase(), bool quiet = true,
                               const std::function<void(const velmo::test::TempDir&)>& prepare = {});
    ~MainWindowFixture();

    velmo::test::TempDir dir;
    QtUserInterface ui;
    velmo::test::FakeServices services;
    std::unique_ptr<Session> session;
    std::unique_ptr<TMainForm> window;
    std::unique_ptr<TCopyCDForm> copyDialog; // owned by the window as in the program
    bool started = false;

    QPushButton* button(const QString& name) const;
    QTreeView* musicTree() const;
    // The song whose Music List caption ends with `fileName`.
    TDataRec* song(const std::string& fileName) const;
    int statusOf(const std::string& fileName) const;
    // The model index of the music-tree node at `path` (texts from the top level down).
    QModelIndex treeIndex(const QStringList& path) const;
    void showTab(int tab) const;
    // Selects exactly the rows of tab `tab`'s list whose captions end with the given file names.
    void selectInList(int tab, const QStringList& fileNames) const;
    // Where a key typed now goes.
    QWidget* focused() const;
};

// Answers the program's message boxes, as a user would: a timer, started before the action
// that opens them, finds the active modal box, notes what it showed and presses the next
// scripted button (No when the script is used up).
class ModalAnswerer : public QObject {
    Q_OBJECT
public:
    struct Seen {
        QString title;
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
        QMessageBox::StandardButtons buttons;
    };

    explicit ModalAnswerer(QList<QMessageBox::StandardButton> answers = {});
    QList<Seen> seen;

private:
    void poll();

    QList<QMessageBox::StandardButton> answers_;
    QTimer timer_;
    QPointer<QMessageBox> last_;
};

} // namespace velmo::gui::test
