#include "forms/TOpenFolderForm.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "catalog/FolderChoice.h"
#include "forms/WindowTexts.h"

namespace velmo::gui {

namespace {

// Item data: a drive node keeps its letter, a folder node its path on this machine; both
// remember whether their folders were read.
constexpr int kLetterRole = Qt::UserRole;
constexpr int kNativeRole = Qt::UserRole + 1;
constexpr int kFilledRole = Qt::UserRole + 2;
constexpr int kNameRole = Qt::UserRole + 3; // the folder's name as the file system has it

std::string nameOf(const QTreeWidgetItem* item) { return item->data(0, kNameRole).toByteArray().toStdString(); }

QString qs(const std::string& s) { return QString::fromStdString(s); }

} // namespace

TOpenFolderForm::TOpenFolderForm(const TextTable& texts, QWidget* parent) : QDialog(parent) {
    setObjectName("TOpenFolderForm");
    // Closing the main window ends the program even while this window is open.
    setAttribute(Qt::WA_QuitOnClose, false);
    // Opened from the add-disk dialog, which stays on top, so it must too.
    setWindowFlag(Qt::WindowStaysOnTopHint);
    resize(380, 460);

    auto* layout = new QVBoxLayout(this);
    ShellTreeView = new QTreeWidget(this);
    ShellTreeView->setObjectName("ShellTreeView");
    ShellTreeView->setHeaderHidden(true);
    ShellTreeView->setColumnCount(1);
    ShellTreeView->setSelectionMode(QAbstractItemView::SingleSelection);
    layout->addWidget(ShellTreeView, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    ButtonChoose = new QPushButton(this);
    ButtonChoose->setObjectName("ButtonChoose");
    ButtonChoose->setDefault(true);
    ButtonCancel = new QPushButton(this);
    ButtonCancel->setObjectName("ButtonCancel");
    buttons->addWidget(ButtonChoose);
    buttons->addWidget(ButtonCancel);
    layout->addLayout(buttons);

    connect(ButtonChoose, &QPushButton::clicked, this, &QDialog::accept);
    // Esc rejects the dialog as Cancel does.
    connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ShellTreeView, &QTreeWidget::itemExpanded, this, &TOpenFolderForm::fillChildren);
    connect(ShellTreeView, &QTreeWidget::itemSelectionChanged, this, &TOpenFolderForm::ShellTreeViewChange);
    ButtonChoose->setEnabled(false);
    applyTexts(this, texts);
}

void TOpenFolderForm::loadDrives(const platform::DriveTable& drives) {
    drives_ = &drives;
    ShellTreeView->clear();
    for (const platform::DriveEntry& drive : drives_->entries()) {
        // The drive's place on this machine: its folder, or its device while no disk is in.
        const std::string place = drives_->rootPath(drive.letter).value_or(drive.path);
        auto* item = new QTreeWidgetItem(ShellTreeView);
        item->setText(0, QString(QChar(drive.letter)) + ":\\ (" + qs(place) + ")");
        item->setData(0, kLetterRole, QChar(drive.letter));
        item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    }
    ShellTreeViewChange();
}

void TOpenFolderForm::fillChildren(QTreeWidgetItem* item) {
    if (item->data(0, kFilledRole).toBool()) return;
    item->setData(0, kFilledRole, true);
    std::string native = item->data(0, kNativeRole).toByteArray().toStdString();
    if (!item->parent()) {
        const std::optional<std::string> root = drives_->rootPath(item->data(0, kLetterRole).toChar().toLatin1());
        if (!root) {
            // No disk in the drive: look again the next time the node is opened.
            item->setData(0, kFilledRole, false);
            return;
        }
        native = *root;
    }
    // Paths and names keep their bytes; a name that is not UTF-8 shows with the replacement
    // character.
    for (const std::string& name : chooserFolders(native)) {
        auto* child = new QTreeWidgetItem(item);
        child->setText(0, QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
        child->setData(0, kNameRole, QByteArray::fromStdString(name));
        child->setData(0, kNativeRole, QByteArray::fromStdString(native == "/" ? "/" + name : native + "/" + name));
        child->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    }
    item->setChildIndicatorPolicy(item->childCount() ? QTreeWidgetItem::ShowIndicator
                                                     : QTreeWidgetItem::DontShowIndicatorWhenChildless);
}

void TOpenFolderForm::ShellTreeViewChange() { ButtonChoose->setEnabled(!ShellTreeView->selectedItems().isEmpty()); }

std::optional<std::string> TOpenFolderForm::selectedPath() const {
    const QList<QTreeWidgetItem*> selected = ShellTreeView->selectedItems();
    if (selected.isEmpty()) return std::nullopt;
    std::string folders;
    const QTreeWidgetItem* item = selected.front();
    for (; item->parent(); item = item->parent()) folders = nameOf(item) + "\\" + folders;
    return std::string(1, item->data(0, kLetterRole).toChar().toLatin1()) + ":\\" + folders;
}

QTreeWidgetItem* TOpenFolderForm::itemOf(const std::string& catalogPath) {
    if (catalogPath.size() < 3 || catalogPath[1] != ':') return nullptr;
    QTreeWidgetItem* item = nullptr;
    for (int i = 0; i < ShellTreeView->topLevelItemCount() && !item; ++i)
        if (ShellTreeView->topLevelItem(i)->data(0, kLetterRole).toChar() == QChar(catalogPath[0]))
            item = ShellTreeView->topLevelItem(i);
    std::vector<std::string> names;
    for (size_t begin = 3; begin < catalogPath.size();) {
        size_t end = catalogPath.find('\\', begin);
        if (end == std::string::npos) end = catalogPath.size();
        if (end > begin) names.push_back(catalogPath.substr(begin, end - begin));
        begin = end + 1;
    }
    for (const std::string& name : names) {
        if (!item) return nullptr;
        item->setExpanded(true);
        QTreeWidgetItem* found = nullptr;
        for (int i = 0; i < item->childCount() && !found; ++i)
            if (nameOf(item->child(i)) == name) found = item->child(i);
        item = found;
    }
    return item;
}

std::optional<std::string> TOpenFolderForm::chooseFolder(const platform::DriveTable& drives,
                                                         const std::string& caption) {
    setWindowTitle(qs(caption));
    loadDrives(drives);
    ShellTreeView->setFocus();
    if (exec() != QDialog::Accepted) return std::nullopt;
    return selectedPath();
}

} // namespace velmo::gui
