#pragma once
#include <QDialog>
#include <memory>
#include <string>
#include <vector>

#include "app/AddDiskDialog.h"
#include "forms/WindowTexts.h"

class QCheckBox;
class QMimeData;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace velmo {
struct Session;
}

namespace velmo::gui {

class TMainForm;
class TOpenFolderForm;

// The add-disk dialog: the folders of one drive, the disk's label and description, the root
// marks, and Add. It stays on top and does not block the main window. It is a window of its
// own (no Qt parent), so disabling the main window during an add or a drop leaves it usable.
// The rules live in AddDiskDialog; the handlers here read the widgets and show its state.
class TAddCDForm : public QDialog {
    Q_OBJECT
public:
    TAddCDForm(Session& session, TMainForm* mainForm);

    void setFolderChooser(TOpenFolderForm* chooser) { chooser_ = chooser; }
    AddDiskDialog& state() { return core_; }

    // "Add disk...": shows the dialog empty and opens the chooser.
    void ButtonAddCDClick();
    void ButtonChooseFolderClick();
    void ButtonRefreshClick();
    // Adds the listed folders (when Add is enabled), then closes by itself when the options
    // say so.
    void ButtonAddFolderClick();
    // Files and folders (paths on this machine) dropped onto the dialog or the main window.
    void dropOnDialog(const std::vector<std::string>& nativePaths, bool shiftHeld);
    void dropOnMainWindow(const std::vector<std::string>& nativePaths, bool shiftHeld);

    // The local files of a drop, as paths on this machine.
    static std::vector<std::string> droppedPaths(const QMimeData* data);

public slots:
    void done(int result) override;
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setMainWindowEnabled(bool enabled);
    void FormClose();
    void showState();
    void bringToFront(QWidget* window);

    Session& s_;
    TMainForm* mainForm_;
    TOpenFolderForm* chooser_ = nullptr;
    AddDiskDialog core_;
    bool running_ = false;
    std::unique_ptr<TextsFollowLanguage> texts_;

    QLineEdit* EditCDLabel = nullptr;
    QLineEdit* EditCDDescription = nullptr;
    QListWidget* ListViewFolderList = nullptr;
    QCheckBox* CheckBoxRooted = nullptr;
    QPushButton* ButtonClose = nullptr;
    QPushButton* ButtonChooseFolder = nullptr;
    QPushButton* ButtonRefresh = nullptr;
    QPushButton* ButtonAddFolder = nullptr;
};

} // namespace velmo::gui
