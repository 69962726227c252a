#include "forms/TAddCDForm.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QTreeView>
#include <QUrl>
#include <QVBoxLayout>

#include "app/Session.h"
#include "base/RefusedCharacters.h"
#include "base/UserInterface.h"
#include "forms/TMainForm.h"
#include "forms/TOpenFolderForm.h"
#include "forms/WindowTexts.h"

namespace velmo::gui {

namespace {

QString qs(const std::string& s) { return QString::fromStdString(s); }

// The root-mark box shows three states but a click only ever checks or unchecks it: a grey
// box becomes checked, as the program has always done.
class RootedCheckBox : public QCheckBox {
public:
    using QCheckBox::QCheckBox;

protected:
    void nextCheckState() override { setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked); }
};

QPushButton* makeButton(QWidget* parent, const char* name) {
    auto* button = new QPushButton(parent);
    button->setObjectName(name);
    return button;
}

} // namespace

TAddCDForm::TAddCDForm(Session& session, TMainForm* mainForm)
    : QDialog(nullptr, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                           Qt::WindowSystemMenuHint),
      s_(session), mainForm_(mainForm), core_(session) {
    setObjectName("TAddCDForm");
    // Closing the main window ends the program even while this window is open.
    setAttribute(Qt::WA_QuitOnClose, false);
    setModal(false);
    setAcceptDrops(true);
    resize(460, 360);

    auto* layout = new QVBoxLayout(this);
    auto* fields = new QGridLayout;
    auto* labelCaption = new QLabel(this);
    labelCaption->setObjectName("PanelCDLabel");
    EditCDLabel = new QLineEdit(this);
    EditCDLabel->setObjectName("EditCDLabel");
    EditCDLabel->setReadOnly(true);
    EditCDLabel->setAcceptDrops(false);
    auto* descriptionCaption = new QLabel(this);
    descriptionCaption->setObjectName("PanelCDDescr");
    EditCDDescription = new QLineEdit(this);
    EditCDDescription->setObjectName("EditCDDescription");
    EditCDDescription->setAcceptDrops(false);
    fields->addWidget(labelCaption, 0, 0);
    fields->addWidget(EditCDLabel, 0, 1);
    fields->addWidget(descriptionCaption, 1, 0);
    fields->addWidget(EditCDDescription, 1, 1);
    layout->addLayout(fields);

    ListViewFolderList = new QListWidget(this);
    ListViewFolderList->setObjectName("ListViewFolderList");
    ListViewFolderList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    layout->addWidget(ListViewFolderList, 1);

    CheckBoxRooted = new RootedCheckBox(this);
    CheckBoxRooted->setObjectName("CheckBoxRooted");
    layout->addWidget(CheckBoxRooted);

    auto* buttons = new QHBoxLayout;
    ButtonChooseFolder = makeButton(this, "ButtonChooseFolder");
    ButtonRefresh = makeButton(this, "ButtonRefresh");
    ButtonAddFolder = makeButton(this, "ButtonAddFolder");
    ButtonClose = makeButton(this, "ButtonClose");
    ButtonAddFolder->setDefault(true);
    buttons->addWidget(ButtonChooseFolder);
    buttons->addWidget(ButtonRefresh);
    buttons->addStretch(1);
    buttons->addWidget(ButtonAddFolder);
    buttons->addWidget(ButtonClose);
    layout->addLayout(buttons);

    connect(ButtonChooseFolder, &QPushButton::clicked, this, &TAddCDForm::ButtonChooseFolderClick);
    connect(ButtonRefresh, &QPushButton::clicked, this, &TAddCDForm::ButtonRefreshClick);
    connect(ButtonAddFolder, &QPushButton::clicked, this, &TAddCDForm::ButtonAddFolderClick);
    connect(ButtonClose, &QPushButton::clicked, this, &QWidget::close);
    connect(EditCDDescription, &QLineEdit::textChanged, this, [this](const QString& text) {
        core_.descriptionChanged(text.toStdString());
        showState();
    });
    connect(CheckBoxRooted, &QCheckBox::clicked, this, [this] {
        core_.setAllRooted(CheckBoxRooted->checkState() == Qt::Checked);
        showState();
    });
    connect(ListViewFolderList, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        core_.setRowChecked(static_cast<size_t>(ListViewFolderList->row(item)), item->checkState() == Qt::Checked);
        showState();
    });
    EditCDDescription->installEventFilter(this);
    ListViewFolderList->installEventFilter(this);

    core_.onStateChanged = [this] { showState(); };
    // The caption and the fields show the dialog's state over the table's texts.
    texts_ = std::make_unique<TextsFollowLanguage>(s_, this, [this] { showState(); });
}

void TAddCDForm::setMainWindowEnabled(bool enabled) { mainForm_->setEnabled(enabled); }

void TAddCDForm::showState() {
    setWindowTitle(qs(core_.caption()));
    // Wide enough for the whole caption in a title bar (a bold font, the buttons beside it), so
    // that its "[done]" shows.
    const int wanted = QFontMetrics(font()).horizontalAdvance(windowTitle()) * 7 / 5 + 140;
    if (width() < wanted) resize(wanted, height());
    EditCDLabel->setText(qs(core_.labelText()));
    {
        const QSignalBlocker block(EditCDDescription);
        if (EditCDDescription->text() != qs(core_.description())) EditCDDescription->setText(qs(core_.description()));
        EditCDDescription->setEnabled(core_.descriptionEnabled());
    }
    {
        const QSignalBlocker block(ListViewFolderList);
        const std::vector<FolderRow>& rows = core_.rows();
        bool same = ListViewFolderList->count() == static_cast<int>(rows.size());
        for (size_t i = 0; same && i < rows.size(); ++i)
            same = ListViewFolderList->item(static_cast<int>(i))->text() == qs(rows[i].caption);
        if (!same) {
            ListViewFolderList->clear();
            for (const FolderRow& row : rows) {
                auto* item = new QListWidgetItem(qs(row.caption), ListViewFolderList);
                item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
            }
        }
        for (size_t i = 0; i < rows.size(); ++i)
            ListViewFolderList->item(static_cast<int>(i))->setCheckState(rows[i].checked ? Qt::Checked : Qt::Unchecked);
        ListViewFolderList->setToolTip(qs(core_.hint()));
    }
    {
        const QSignalBlocker block(CheckBoxRooted);
        const RootedState rooted = core_.rootedState();
        CheckBoxRooted->setCheckState(rooted == RootedState::Checked   ? Qt::Checked
                                      : rooted == RootedState::Partial ? Qt::PartiallyChecked
                                                                       : Qt::Unchecked);
    }
    ButtonClose->setEnabled(core_.closeEnabled());
    ButtonRefresh->setEnabled(core_.refreshEnabled());
    ButtonAddFolder->setEnabled(core_.addEnabled());
}

void TAddCDForm::bringToFront(QWidget* window) {
    window->raise();
    window->activateWindow();
}

void TAddCDForm::ButtonAddCDClick() {
    core_.ButtonAddCDClick();
    showState();
    show();
    bringToFront(this);
    ButtonChooseFolder->setFocus();
    ButtonChooseFolderClick();
}

void TAddCDForm::ButtonChooseFolderClick() {
    if (!chooser_) return;
    const std::optional<std::string> path = chooser_->chooseFolder(s_.drives(), s_.messages[msgChooseFolderCaption]);
    if (!path) return;
    core_.folderChosen(*path, QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ShiftModifier));
    showState();
    ButtonRefreshClick();
    if (core_.silentAddApplies()) ButtonAddFolderClick();
}

void TAddCDForm::ButtonRefreshClick() {
    const AddDiskDialog::Focus focus = core_.refresh();
    showState();
    if (isVisible()) {
        if (focus == AddDiskDialog::Focus::AddButton) {
            ButtonAddFolder->setFocus();
        } else if (focus == AddDiskDialog::Focus::Description) {
            EditCDDescription->setFocus();
            EditCDDescription->selectAll();
        }
    } else if (!core_.LabelRead) {
        // Silent adding found no disk: the user has to see why.
        setMainWindowEnabled(false);
        show();
        ButtonRefresh->setFocus();
    }
}

void TAddCDForm::ButtonAddFolderClick() {
    if (running_ || !core_.addEnabled()) return;
    running_ = true;
    QWidget* contents[] = {EditCDLabel, EditCDDescription, ListViewFolderList, CheckBoxRooted,
                           ButtonChooseFolder, ButtonRefresh, ButtonAddFolder, ButtonClose};
    std::vector<bool> wasEnabled;
    for (QWidget* w : contents) {
        wasEnabled.push_back(w->isEnabled());
        w->setEnabled(false);
    }
    setMainWindowEnabled(false);
    const bool added = core_.runAdd();
    running_ = false;
    setMainWindowEnabled(true);
    for (size_t i = 0; i < std::size(contents); ++i) contents[i]->setEnabled(wasEnabled[i]);
    showState();
    if (isVisible()) ButtonChooseFolder->setFocus();
    mainForm_->UpDatePlayButton();
    if (added && core_.closesAfterAdd()) {
        if (isVisible()) close();
        else FormClose();
        mainForm_->visibleTree()->setFocus();
    }
}

void TAddCDForm::dropOnDialog(const std::vector<std::string>& nativePaths, bool shiftHeld) {
    if (!core_.dropOnDialog(nativePaths, shiftHeld)) return;
    setMainWindowEnabled(false);
    show();
    showState();
    ButtonRefreshClick();
    if (s_.settings.FocusAfterDrag) bringToFront(this);
    if (core_.silentAddApplies()) ButtonAddFolderClick();
}

void TAddCDForm::dropOnMainWindow(const std::vector<std::string>& nativePaths, bool shiftHeld) {
    if (!core_.dropOnMainWindow(nativePaths, shiftHeld)) return;
    const bool silent = core_.silentAddApplies();
    if (!silent) show();
    showState();
    ButtonRefreshClick();
    if (s_.settings.FocusAfterDrag) bringToFront(isVisible() ? static_cast<QWidget*>(this) : mainForm_);
    if (!silent) return;
    if (!core_.addEnabled()) {
        // The disk cannot be added without the user (no label, no description): ask by showing.
        if (!isVisible()) {
            setMainWindowEnabled(false);
            show();
            EditCDDescription->setFocus();
        }
        return;
    }
    auto* statusBar = mainForm_->findChild<QLabel*>("StatusBar1");
    if (statusBar) statusBar->setText(qs(s_.messages[msgAddingInProgress]));
    ButtonAddFolderClick();
    if (statusBar) statusBar->clear();
    setMainWindowEnabled(true);
}

void TAddCDForm::FormClose() {
    if (core_.FormClose()) {
        showState();
        s_.ui.processMessages();
    }
    mainForm_->UpDateText();
    setMainWindowEnabled(true);
}

void TAddCDForm::done(int result) {
    FormClose();
    QDialog::done(result);
}

void TAddCDForm::reject() {
    // Esc is the Close button's key: nothing while an add runs.
    if (running_ || !ButtonClose->isEnabled()) return;
    QDialog::reject();
}

void TAddCDForm::closeEvent(QCloseEvent* event) {
    if (running_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void TAddCDForm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F5 && event->modifiers() == Qt::NoModifier) {
        if (ButtonRefresh->isEnabled()) ButtonRefreshClick();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TAddCDForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (watched == EditCDDescription) {
        if (refusesTypedText(EditCDDescription->text().toStdString(), key->text().toStdString())) return true;
    } else if (watched == ListViewFolderList && key->key() == Qt::Key_Delete) {
        std::vector<size_t> rows;
        for (const QModelIndex& index : ListViewFolderList->selectionModel()->selectedIndexes())
            rows.push_back(static_cast<size_t>(index.row()));
        core_.removeRows(rows);
        showState();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

std::vector<std::string> TAddCDForm::droppedPaths(const QMimeData* data) {
    std::vector<std::string> paths;
    if (!data) return paths;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) paths.push_back(url.toLocalFile().toStdString());
    return paths;
}

void TAddCDForm::dragEnterEvent(QDragEnterEvent* event) {
    if (!running_ && !droppedPaths(event->mimeData()).empty()) event->acceptProposedAction();
}

void TAddCDForm::dropEvent(QDropEvent* event) {
    const std::vector<std::string> paths = droppedPaths(event->mimeData());
    if (running_ || paths.empty()) return;
    event->acceptProposedAction();
    dropOnDialog(paths, event->modifiers().testFlag(Qt::ShiftModifier));
}

} // namespace velmo::gui
