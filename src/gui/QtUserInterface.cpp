#include "QtUserInterface.h"

#include <algorithm>

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>


namespace velmo::gui {

namespace {
QString qs(const std::string& s) { return QString::fromStdString(s); }

// A file dialog that lists every file but takes only one the user may run: there is no file
// type that marks programs here. Qt's own dialog, so OK can be refused.
class ExecutableFileDialog : public QFileDialog {
public:
    ExecutableFileDialog(QWidget* parent, const QString& title, const QString& start)
        : QFileDialog(parent, title, start) {
        setFileMode(QFileDialog::ExistingFile);
        setOption(QFileDialog::DontUseNativeDialog);
    }
    void accept() override {
        const QStringList files = selectedFiles();
        if (files.size() == 1) {
            const QFileInfo info(files.front());
            if (info.isFile() && !info.isExecutable()) {
                QApplication::beep();
                return;
            }
        }
        QFileDialog::accept();
    }
};
} // namespace

QString qtFilter(const std::string& filter) {
    const QStringList parts = qs(filter).split('|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) out << parts[i];
    return out.isEmpty() ? qs(filter) : out.join(";;");
}

QWidget* QtUserInterface::boxParent() const {
    for (QWidget* front : {QApplication::activeModalWidget(), QApplication::activeWindow()})
        if (front && front != logo_ && front->isVisible()) return front;
    return owner_;
}

int QtUserInterface::execInFront(QMessageBox& box) {
    const bool logoShown = logo_ && logo_->isVisible();
    if (logoShown) logo_->hide();
    // In front of a dialog that stays on top (the add-disk dialog), the box must stay on top too.
    if (QWidget* parent = box.parentWidget(); parent && parent->window()->windowFlags().testFlag(Qt::WindowStaysOnTopHint))
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.raise();
    box.activateWindow();
    const int answer = box.exec();
    if (logoShown && logo_) logo_->show();
    return answer;
}

bool QtUserInterface::askYesNo(const std::string& caption, const std::string& text, bool yesIsDefault) {
    if (quiet_) return yesIsDefault;
    QMessageBox box(QMessageBox::Question, qs(caption), qs(text), QMessageBox::Yes | QMessageBox::No, boxParent());
    box.setDefaultButton(yesIsDefault ? QMessageBox::Yes : QMessageBox::No);
    return execInFront(box) == QMessageBox::Yes;
}

bool QtUserInterface::askInsertDisk(const InsertDiskPrompt& prompt) {
    if (quiet_) return false;
    QMessageBox box(QMessageBox::Information, qs(prompt.caption), qs(prompt.text), QMessageBox::Ok | QMessageBox::Cancel,
                    boxParent());
    // The prompt comes while the copy dialog may be in front: the person must see it.
    box.setWindowFlags(box.windowFlags() | Qt::WindowStaysOnTopHint);
    return execInFront(box) == QMessageBox::Ok;
}

void QtUserInterface::showNotice(const std::string& caption, const std::string& text) {
    if (quiet_) return;
    QMessageBox box(QMessageBox::Information, qs(caption), qs(text), QMessageBox::Ok, boxParent());
    execInFront(box);
}

void QtUserInterface::showError(const std::string& text) {
    if (quiet_) return;
    QMessageBox box(QMessageBox::Critical, kProgramTitle, qs(text), QMessageBox::Ok, boxParent());
    execInFront(box);
}

void QtUserInterface::showErrorBox(const std::string& caption, const std::string& text) {
    if (quiet_) return;
    QMessageBox box(QMessageBox::Critical, qs(caption), qs(text), QMessageBox::Ok, boxParent());
    execInFront(box);
}

std::optional<std::string> QtUserInterface::chooseFileToOpen(const FileDialog& d) {
    if (quiet_) return std::nullopt;
    const QString start = d.proposedName.empty() ? qs(d.initialFolder) : qs(d.proposedName);
    if (d.executableOnly) {
        ExecutableFileDialog dialog(boxParent(), qs(d.title), start);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
        return dialog.selectedFiles().front().toStdString();
    }
    const QString chosen = QFileDialog::getOpenFileName(boxParent(), qs(d.title), start, qtFilter(d.filter));
    if (chosen.isEmpty()) return std::nullopt;
    return chosen.toStdString();
}

std::optional<std::string> QtUserInterface::chooseFileToSave(const FileDialog& d) {
    if (quiet_) return std::nullopt;
    const QString start = d.proposedName.empty() ? qs(d.initialFolder) : qs(d.proposedName);
    QFileDialog dialog(boxParent(), qs(d.title), start, qtFilter(d.filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(qs(d.defaultExtension));
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (!d.proposedName.empty()) dialog.selectFile(qs(d.proposedName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
}

void QtUserInterface::showStatus(const std::string& text) {
    if (status_) status_->setText(qs(text));
}

void QtUserInterface::reportProgress(const Progress& progress) {
    if (!status_) return;
    QString text = qs(progress.text);
    if (progress.total > 0)
        text += QString(" %1 %").arg(static_cast<int>(progress.done * 100 / std::max<uint64_t>(progress.total, 1)));
    status_->setText(text);
}

void QtUserInterface::processMessages(Pump pump) {
    QApplication::processEvents(pump == Pump::WithUserInput ? QEventLoop::AllEvents
                                                            : QEventLoop::ExcludeUserInputEvents);
}

} // namespace velmo::gui
