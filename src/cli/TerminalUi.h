#pragma once
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>

#include "base/UserInterface.h"

namespace velmo::cli {

// The user as the command line sees it: every question, notice and prompt is printed to stderr
// as "caption: text -> answer". Without a person, questions take the answer of --yes/--no, else
// their default button, and the insert prompt is answered by the insert program or Cancel;
// with a person at the terminal they wait for the answer typed on `person`. File dialogs take
// the file named on the command line.
class TerminalUi : public UserInterface {
public:
    enum class Answers { Default, Yes, No };

    struct Options {
        Answers answers = Answers::Default;
        // Questions and prompts wait for a line read here; nullptr: nobody answers.
        std::istream* person = nullptr;
        // Run at each insert prompt with the disk's label and description: exit status 0 is OK.
        std::string insertProgram;
        // The width of the terminal the progress line is drawn on; 0 when unknown.
        int columns = 0;
    };

    TerminalUi(std::ostream& err, Options options) : err_(err), o_(std::move(options)) {}

    bool askYesNo(const std::string& caption, const std::string& text, bool yesIsDefault) override;
    bool askInsertDisk(const InsertDiskPrompt& prompt) override;
    void showNotice(const std::string& caption, const std::string& text) override;
    bool answersWithoutPerson() const override { return o_.person == nullptr; }
    void showError(const std::string& text) override;
    std::optional<std::string> chooseFileToOpen(const FileDialog& dialog) override;
    std::optional<std::string> chooseFileToSave(const FileDialog& dialog) override;
    // Status-bar texts go to stderr, one line each, while setStatusShown is on; else they pass
    // unseen, as a status bar nobody looks at.
    void showStatus(const std::string& text) override;
    void setStatusShown(bool shown) { statusShown_ = shown; }
    // Progress goes to stderr, one line a report: "text done/total".
    void reportProgress(const Progress& progress) override;
    // Where a long operation lets the user in: an interruption seen here is acted on.
    void processMessages(Pump pump) override;

    // While `interrupted` says so (the user pressed Ctrl-C), each pump and each prompt calls
    // `onInterrupt`, prompts are answered Cancel and questions take their answer without
    // waiting. Empty functions end it.
    void setInterruptHandling(std::function<bool()> interrupted, std::function<void()> onInterrupt);

    // One line on stderr rewritten in place (a terminal's carriage return and clear to the end
    // of the line), cut to the terminal's width; ended by endProgressLine or by the next other
    // output.
    void showProgressLine(const std::string& text);
    void endProgressLine();

    // While on, a question that neither a person nor --yes/--no answers takes No, whatever its
    // default button: for questions whose default would change the database unasked.
    void setUnansweredTakesNo(bool on) { unansweredTakesNo_ = on; }
    // The answer the next file dialog gets.
    void setFileAnswer(std::string path) { fileAnswer_ = std::move(path); }
    // True once an error was shown: the command failed.
    bool errorShown() const { return errorShown_; }

private:
    std::optional<std::string> takeFileAnswer();
    bool interrupted();
    // A line typed by the person; nullopt once the input has ended (nobody answers any more).
    std::optional<std::string> readLine();
    bool runInsertProgram(const InsertDiskPrompt& prompt);

    std::ostream& err_;
    Options o_;
    std::optional<std::string> fileAnswer_;
    bool errorShown_ = false;
    bool progressLineOpen_ = false;
    bool statusShown_ = false;
    bool unansweredTakesNo_ = false;
    std::function<bool()> interrupted_;
    std::function<void()> onInterrupt_;
};

} // namespace velmo::cli
