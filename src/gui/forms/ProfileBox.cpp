#include "forms/ProfileBox.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

#include "app/Profiles.h"
#include "app/Session.h"
#include "base/RefusedCharacters.h"

namespace velmo::gui {

namespace {
QString qs(const std::string& s) { return QString::fromStdString(s); }
} // namespace

ProfileBox::ProfileBox(Session& session, QWidget* parent) : QWidget(parent), s_(session) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    ComboBoxProfiles = new QComboBox(this);
    ComboBoxProfiles->setObjectName("ComboBoxProfiles");
    ComboBoxProfiles->setMinimumWidth(160);
    connect(ComboBoxProfiles, &QComboBox::activated, this, &ProfileBox::ComboBoxProfilesChange);
    layout->addWidget(ComboBoxProfiles);
    ButtonProfile = new QPushButton(this);
    ButtonProfile->setObjectName("ButtonProfile");
    connect(ButtonProfile, &QPushButton::clicked, this,
            [this] { PopupMenuProfile->popup(ButtonProfile->mapToGlobal(QPoint(0, 0))); });
    layout->addWidget(ButtonProfile);

    EditNewProfile = new QLineEdit(ComboBoxProfiles);
    EditNewProfile->setObjectName("EditNewProfile");
    EditNewProfile->setFrame(false);
    EditNewProfile->hide();
    EditNewProfile->installEventFilter(this);

    PopupMenuProfile = new QMenu(this);
    PopupMenuProfile->setObjectName("PopupMenuProfile");
    auto item = [this](const char* name) {
        QAction* action = PopupMenuProfile->addAction(QString());
        action->setObjectName(name);
        return action;
    };
    connect(item("NewProfileMenuItem"), &QAction::triggered, this, [this] { startProfileEdit(0); });
    connect(item("RenameProfileMenuItem"), &QAction::triggered, this, [this] { startProfileEdit(1); });
    connect(item("DeleteProfileMenuItem"), &QAction::triggered, this, [this] {
        ProfileEditMode = 2;
        runWithWindowDisabled([this] { DeleteProfile(s_); });
        emit profilesChanged();
    });
}

void ProfileBox::refresh() {
    ComboBoxProfiles->clear();
    for (const std::string& name : s_.Profiles) ComboBoxProfiles->addItem(qs(name));
    ComboBoxProfiles->setCurrentIndex(s_.SelectedProfile);
}

bool ProfileBox::editing() const { return EditNewProfile->isVisible(); }

void ProfileBox::runWithWindowDisabled(const std::function<void()>& work) {
    window()->setEnabled(false);
    work();
    window()->setEnabled(true);
}

void ProfileBox::ComboBoxProfilesChange(int index) {
    if (index < 0 || static_cast<size_t>(index) >= s_.Profiles.size()) return;
    const std::string name = s_.Profiles[static_cast<size_t>(index)];
    runWithWindowDisabled([&] { SwitchProfile(s_, name); });
    emit profileSwitched();
}

void ProfileBox::startProfileEdit(int mode) {
    ProfileEditMode = mode;
    ComboBoxProfiles->setEnabled(false);
    EditNewProfile->setText(mode == 0 ? qs(s_.messages[msgNewProfile]) : ComboBoxProfiles->currentText());
    // The editor lies over the profile list, above everything else of the window.
    QWidget* top = window();
    EditNewProfile->setParent(top);
    EditNewProfile->setGeometry(QRect(ComboBoxProfiles->mapTo(top, QPoint(0, 0)), ComboBoxProfiles->size()));
    EditNewProfile->show();
    EditNewProfile->raise();
    EditNewProfile->selectAll();
    EditNewProfile->setFocus();
}

void ProfileBox::endProfileEdit() {
    ProfileEditMode = 2;
    EditNewProfile->hide();
    ComboBoxProfiles->setEnabled(true);
    if (focusAfterEdit_) focusAfterEdit_->setFocus();
}

void ProfileBox::profileEditEnter() {
    const std::string name = EditNewProfile->text().toStdString();
    // A refused name or a folder that cannot be renamed keeps the editor open for another try.
    if (!(ProfileEditMode == 0 ? NewProfile(s_, name) : RenameProfile(s_, name))) {
        EditNewProfile->selectAll();
        return;
    }
    endProfileEdit();
    emit profilesChanged();
}

bool ProfileBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched != EditNewProfile || !EditNewProfile->isVisible()) return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            profileEditEnter();
            return true;
        }
        if (key->key() == Qt::Key_Escape) {
            endProfileEdit();
            return true;
        }
        // A refused character never reaches the name; nor does more typing while the text
        // already holds one (after a paste).
        return refusesTypedText(EditNewProfile->text().toStdString(), key->text().toStdString());
    }
    if (event->type() == QEvent::FocusOut) {
        // Leaving for another control ends the edit; a message box or a menu over it does not.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) endProfileEdit();
    }
    return false;
}

} // namespace velmo::gui
