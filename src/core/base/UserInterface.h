#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace velmo {

// The program's name: the title of its error boxes and of the application.
inline constexpr const char* kProgramTitle = "VelmoMusicDB v2.07";

// Everything the core asks of the person in front of the program. The window front end shows
// message boxes and file dialogs, the command line prints and takes its answers from options,
// tests script the answers.
class UserInterface {
public:
    virtual ~UserInterface() = default;

    // A question with the question icon and Yes and No; true for Yes.
    virtual bool askYesNo(const std::string& caption, const std::string& text, bool yesIsDefault) = 0;
    // The prompt for a disk that no drive holds: information icon, OK and Cancel; true for OK.
    struct InsertDiskPrompt {
        std::string caption; // "CD insertion"
        std::string text;    // "Please, insert CD LABEL ("DESCRIPTION")."
        std::string label;
        std::string description;
    };
    virtual bool askInsertDisk(const InsertDiskPrompt& prompt) = 0;
    // A notice with the information icon and OK.
    virtual void showNotice(const std::string& caption, const std::string& text) = 0;
    // An error box with its own caption (a refused profile name).
    virtual void showErrorBox(const std::string& caption, const std::string& text) { showNotice(caption, text); }
    // An error the program reports (a file that cannot be written, a bad number in a file).
    virtual void showError(const std::string& text) = 0;

    struct FileDialog {
        std::string title;
        std::string initialFolder; // a path on this machine
        std::string proposedName;  // a path on this machine, may be empty
        std::string filter;        // "Description (*.ext)|*.ext"
        std::string defaultExtension;
        // Every file is listed, but only a program the user may run can be chosen.
        bool executableOnly = false;
    };
    // The chosen file as a path on this machine, or nullopt when cancelled.
    virtual std::optional<std::string> chooseFileToOpen(const FileDialog& dialog) = 0;
    virtual std::optional<std::string> chooseFileToSave(const FileDialog& dialog) = 0;

    // True when questions are answered by options or default buttons rather than by a person,
    // so a question asked again gets the same answer and nothing changes in between.
    virtual bool answersWithoutPerson() const { return false; }

    // A passing message in the status bar; an empty text clears it.
    virtual void showStatus(const std::string& /*text*/) {}

    // How far a long operation has come: `done` of `total` steps, and what it is doing.
    struct Progress {
        std::string text;
        uint64_t done = 0;
        uint64_t total = 0;
    };
    virtual void reportProgress(const Progress& /*progress*/) {}

    // Which window messages a pump handles during a long operation.
    enum class Pump {
        Repaint,      // the window repaints; clicks and keys wait until the operation ends
        WithUserInput // clicks and keys too: the operation's own buttons (Skip, Abort) work
    };
    // Lets the window handle pending messages during a long operation.
    virtual void processMessages(Pump /*pump*/ = Pump::Repaint) {}
};

} // namespace velmo
