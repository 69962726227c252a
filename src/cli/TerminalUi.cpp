#include "TerminalUi.h"

#include <istream>
#include <ostream>

#include "platform/RunAndWait.h"

namespace velmo::cli {

namespace {

// The start of `text` that fills at most `columns` cells, one cell a character; a UTF-8
// sequence is never cut in two.
std::string fitWidth(const std::string& text, int columns) {
    if (columns <= 0) return text;
    int cells = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const bool startsCharacter = (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
        if (startsCharacter && ++cells > columns) return text.substr(0, i);
    }
    return text;
}

std::string lowered(std::string text) {
    for (char& ch : text)
        if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
    return text;
}

} // namespace

bool TerminalUi::interrupted() {
    if (!interrupted_ || !interrupted_()) return false;
    if (onInterrupt_) onInterrupt_();
    return true;
}

void TerminalUi::setInterruptHandling(std::function<bool()> interrupted, std::function<void()> onInterrupt) {
    interrupted_ = std::move(interrupted);
    onInterrupt_ = std::move(onInterrupt);
}

void TerminalUi::processMessages(Pump) { interrupted(); }

std::optional<std::string> TerminalUi::readLine() {
    std::string line;
    if (o_.person && std::getline(*o_.person, line)) return line;
    // Nobody will answer from now on: the remaining questions take their answers without
    // waiting, and a prompt repeated for ever gets its limit.
    o_.person = nullptr;
    err_ << '\n';
    return std::nullopt;
}

bool TerminalUi::askYesNo(const std::string& caption, const std::string& text, bool yesIsDefault) {
    endProgressLine();
    err_ << caption << ": " << text;
    bool yes = o_.answers == Answers::Default ? yesIsDefault && !unansweredTakesNo_ : o_.answers == Answers::Yes;
    while (o_.person && !interrupted()) {
        err_ << (yesIsDefault ? " [Y/n] " : " [y/N] ") << std::flush;
        const std::optional<std::string> line = readLine();
        if (!line || interrupted()) break;
        const std::string answer = lowered(*line);
        if (answer.empty() || answer == "y" || answer == "yes" || answer == "n" || answer == "no") {
            yes = answer.empty() ? yesIsDefault : answer[0] == 'y';
            break;
        }
        err_ << "Please answer y or n.";
    }
    err_ << (yes ? " -> Yes" : " -> No") << '\n';
    return yes;
}

bool TerminalUi::runInsertProgram(const InsertDiskPrompt& prompt) {
    const platform::ProcessExit exit = platform::runAndWait(o_.insertProgram, {prompt.label, prompt.description});
    if (exit.failure) {
        showError("Cannot start the insert program \"" + o_.insertProgram + "\". " + *exit.failure);
        return false;
    }
    return exit.status == 0;
}

bool TerminalUi::askInsertDisk(const InsertDiskPrompt& prompt) {
    endProgressLine();
    bool ok = false;
    if (interrupted()) {
        err_ << prompt.caption << ": " << prompt.text;
    } else if (!o_.insertProgram.empty()) {
        // The program's own lines come before the prompt it answered.
        ok = runInsertProgram(prompt);
        err_ << prompt.caption << ": " << prompt.text;
    } else {
        err_ << prompt.caption << ": " << prompt.text;
        while (o_.person) {
            err_ << " [Enter = OK, c = Cancel] " << std::flush;
            const std::optional<std::string> line = readLine();
            if (!line || interrupted()) break;
            const std::string answer = lowered(*line);
            if (answer.empty() || answer == "c") {
                ok = answer.empty();
                break;
            }
        }
    }
    err_ << (ok ? " -> OK" : " -> Cancel") << '\n';
    return ok;
}

void TerminalUi::showNotice(const std::string& caption, const std::string& text) {
    endProgressLine();
    err_ << caption << ": " << text << " -> OK\n";
}

void TerminalUi::showError(const std::string& text) {
    endProgressLine();
    errorShown_ = true;
    err_ << kProgramTitle << ": " << text << " -> OK\n";
}

void TerminalUi::showStatus(const std::string& text) {
    if (!statusShown_ || text.empty()) return;
    endProgressLine();
    err_ << text << '\n';
}

void TerminalUi::reportProgress(const Progress& progress) {
    endProgressLine();
    err_ << progress.text;
    if (progress.total > 0) err_ << ' ' << progress.done << '/' << progress.total;
    err_ << '\n';
}

void TerminalUi::showProgressLine(const std::string& text) {
    // The last column stays free: a terminal that wraps there would leave the line behind.
    err_ << '\r' << fitWidth(text, o_.columns - 1) << "\x1b[K" << std::flush;
    progressLineOpen_ = true;
}

void TerminalUi::endProgressLine() {
    if (!progressLineOpen_) return;
    err_ << '\n';
    progressLineOpen_ = false;
}

std::optional<std::string> TerminalUi::takeFileAnswer() {
    auto answer = std::move(fileAnswer_);
    fileAnswer_.reset();
    return answer;
}

std::optional<std::string> TerminalUi::chooseFileToOpen(const FileDialog&) { return takeFileAnswer(); }
std::optional<std::string> TerminalUi::chooseFileToSave(const FileDialog&) { return takeFileAnswer(); }

} // namespace velmo::cli
