#include "TerminalUi.h"

#include <ostream>


namespace velmo::cli {

bool TerminalUi::askYesNo(const std::string& caption, const std::string& text, bool yesIsDefault) {
    bool yes = answers_ == Answers::Default ? yesIsDefault : answers_ == Answers::Yes;
    err_ << caption << ": " << text << (yes ? " -> Yes" : " -> No") << '\n';
    return yes;
}

bool TerminalUi::askInsertDisk(const InsertDiskPrompt& prompt) {
    err_ << prompt.caption << ": " << prompt.text << " -> Cancel\n";
    return false;
}

void TerminalUi::showNotice(const std::string& caption, const std::string& text) {
    err_ << caption << ": " << text << " -> OK\n";
}

void TerminalUi::showError(const std::string& text) {
    errorShown_ = true;
    err_ << kProgramTitle << ": " << text << " -> OK\n";
}

void TerminalUi::reportProgress(const Progress& progress) {
    err_ << progress.text;
    if (progress.total > 0) err_ << ' ' << progress.done << '/' << progress.total;
    err_ << '\n';
}

std::optional<std::string> TerminalUi::takeFileAnswer() {
    auto answer = std::move(fileAnswer_);
    fileAnswer_.reset();
    return answer;
}

std::optional<std::string> TerminalUi::chooseFileToOpen(const FileDialog&) { return takeFileAnswer(); }
std::optional<std::string> TerminalUi::chooseFileToSave(const FileDialog&) { return takeFileAnswer(); }

} // namespace velmo::cli
