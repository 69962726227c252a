#pragma once
#include <QWidget>
#include <functional>

class QComboBox;
class QLineEdit;
class QMenu;
class QPushButton;

namespace velmo {
struct Session;
}

namespace velmo::gui {

// The profile box of the main window: the profile list, its menu (New, Rename, Delete) and the
// name editor that lies over the list while a name is typed.
class ProfileBox : public QWidget {
    Q_OBJECT
public:
    ProfileBox(Session& session, QWidget* parent);

    // Shows the session's profile list.
    void refresh();
    // A profile name is being typed.
    bool editing() const;
    // Where the focus goes when the editor closes.
    void setFocusAfterEdit(QWidget* widget) { focusAfterEdit_ = widget; }

signals:
    // Another profile is current: its settings and database are loaded.
    void profileSwitched();
    // A profile was made, renamed or deleted.
    void profilesChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ComboBoxProfilesChange(int index);
    void startProfileEdit(int mode);
    void endProfileEdit();
    void profileEditEnter();
    void runWithWindowDisabled(const std::function<void()>& work);

    Session& s_;
    QComboBox* ComboBoxProfiles = nullptr;
    QPushButton* ButtonProfile = nullptr;
    QLineEdit* EditNewProfile = nullptr;
    QMenu* PopupMenuProfile = nullptr;
    QWidget* focusAfterEdit_ = nullptr;
    // 0: a new profile's name is typed, 1: a new name for the current one, 2: no edit.
    int ProfileEditMode = 2;
};

} // namespace velmo::gui
