#pragma once
#include <QLabel>
#include <QPointer>
#include <QWidget>

#include "base/UserInterface.h"

class QMessageBox;
class QStatusBar;

namespace velmo::gui {

// Message boxes owned by the main window, Qt's file dialogs, and the status bar for passing
// messages and progress. With `quiet` set (a screenshot run) every question takes its default button and
// nothing is shown.
class QtUserInterface : public UserInterface {
public:
    void setOwner(QWidget* owner) { owner_ = owner; }
    // The logo of the start-up, which stays on top: it steps aside while a box is shown, so
    // that no box of the start-up hides behind it.
    void setLogo(QWidget* logo) { logo_ = logo; }
    // The window a box opens in front of: the active dialog (the add-disk dialog, the copy
    // dialog) when there is one, else the owner.
    QWidget* boxParent() const;
    void setStatusLabel(QLabel* label) { status_ = label; }
    void setQuiet(bool quiet) { quiet_ = quiet; }
    bool answersWithoutPerson() const override { return quiet_; }

    bool askYesNo(const std::string& caption, const std::string& text, bool yesIsDefault) override;
    bool askInsertDisk(const InsertDiskPrompt& prompt) override;
    void showNotice(const std::string& caption, const std::string& text) override;
    void showError(const std::string& text) override;
    void showErrorBox(const std::string& caption, const std::string& text) override;
    std::optional<std::string> chooseFileToOpen(const FileDialog& dialog) override;
    std::optional<std::string> chooseFileToSave(const FileDialog& dialog) override;
    void showStatus(const std::string& text) override;
    void reportProgress(const Progress& progress) override;
    void processMessages(Pump pump) override;

private:
    // Shows a box in front of everything and returns its button.
    int execInFront(QMessageBox& box);

    QPointer<QWidget> owner_;
    QPointer<QWidget> logo_;
    QPointer<QLabel> status_;
    bool quiet_ = false;
};

// "Description (*.ext)|*.ext" as Qt's dialogs want it: "Description (*.ext)".
QString qtFilter(const std::string& filter);

} // namespace velmo::gui
