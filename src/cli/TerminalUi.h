#pragma once
#include <iosfwd>
#include <optional>
#include <string>

#include "base/UserInterface.h"

namespace velmo::cli {

// The user as the command line sees it: every question and notice is printed to stderr as
// "caption: text -> answer"; questions take the answer of --yes/--no, else their default
// button; file dialogs take the file named on the command line.
class TerminalUi : public UserInterface {
public:
    enum class Answers { Default, Yes, No };

    TerminalUi(std::ostream& err, Answers answers) : err_(err), answers_(answers) {}

    bool askYesNo(const std::string& caption, const std::string& text, bool yesIsDefault) override;
    // Without a person nobody inserts the disk: the prompt is answered Cancel.
    bool askInsertDisk(const InsertDiskPrompt& prompt) override;
    void showNotice(const std::string& caption, const std::string& text) override;
    bool answersWithoutPerson() const override { return true; }
    void showError(const std::string& text) override;
    std::optional<std::string> chooseFileToOpen(const FileDialog& dialog) override;
    std::optional<std::string> chooseFileToSave(const FileDialog& dialog) override;
    // Progress goes to stderr, one line a report: "text done/total".
    void reportProgress(const Progress& progress) override;

    // The answer the next file dialog gets.
    void setFileAnswer(std::string path) { fileAnswer_ = std::move(path); }
    // True once an error was shown: the command failed.
    bool errorShown() const { return errorShown_; }

private:
    std::optional<std::string> takeFileAnswer();

    std::ostream& err_;
    Answers answers_;
    std::optional<std::string> fileAnswer_;
    bool errorShown_ = false;
};

} // namespace velmo::cli
