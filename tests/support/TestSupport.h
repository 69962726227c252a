#pragma once
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/UserInterface.h"
#include "util/RandomSource.h"

namespace velmo::test {

// A user whose answers are scripted and who remembers what the program showed.
class ScriptedUi : public UserInterface {
public:
    struct Shown {
        std::string kind; // "question", "insert", "notice", "errorbox" or "error"
        std::string caption;
        std::string text;
    };

    std::deque<bool> answers;             // answers to the next questions; default button when empty
    std::deque<std::optional<std::string>> files; // answers to the next file dialogs; cancel when empty
    std::vector<Shown> shown;
    std::vector<FileDialog> dialogs;
    int messagesProcessed = 0;
    int userInputPumps = 0; // the pumps among them that let clicks and keys through
    std::vector<Progress> progress;

    bool askYesNo(const std::string& caption, const std::string& text, bool yesIsDefault) override;
    // Takes its answer (OK = true) from `answers` too, and is recorded as kind "insert"; each
    // prompt first runs `onInsertPrompt` (a person changing disks), when set.
    bool askInsertDisk(const InsertDiskPrompt& prompt) override;
    std::function<void(const InsertDiskPrompt&)> onInsertPrompt;
    void showNotice(const std::string& caption, const std::string& text) override;
    void showError(const std::string& text) override;
    void showErrorBox(const std::string& caption, const std::string& text) override {
        shown.push_back({"errorbox", caption, text});
    }
    std::optional<std::string> chooseFileToOpen(const FileDialog& dialog) override;
    std::optional<std::string> chooseFileToSave(const FileDialog& dialog) override;
    // Runs on every pump: what a person clicks while a long operation runs.
    std::function<void()> onProcessMessages;
    void processMessages(Pump pump) override {
        ++messagesProcessed;
        if (pump == Pump::WithUserInput) ++userInputPumps;
        if (onProcessMessages) onProcessMessages();
    }
    void reportProgress(const Progress& p) override { progress.push_back(p); }

    std::vector<std::string> errors() const;
};

// Random numbers taken from a list, then 0: makes random placement testable.
class ScriptedRandom : public RandomSource {
public:
    explicit ScriptedRandom(std::vector<uint32_t> values = {}) : values_(values.begin(), values.end()) {}
    uint32_t below(uint32_t n) override;
    void reseed(uint64_t) override {}
    std::vector<uint32_t> bounds; // the n of every call, in order

private:
    std::deque<uint32_t> values_;
};

// A fresh empty folder below the system's temporary folder, removed when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& content);

// Ends the test process (SIGALRM) when the scope is still running after `seconds`: a read
// that waits for ever on a FIFO then fails its test instead of hanging the run.
class HangGuard {
public:
    explicit HangGuard(unsigned seconds);
    ~HangGuard();
    HangGuard(const HangGuard&) = delete;
    HangGuard& operator=(const HangGuard&) = delete;
};

} // namespace velmo::test
