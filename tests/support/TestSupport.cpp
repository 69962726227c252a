#include "TestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

namespace velmo::test {

bool ScriptedUi::askYesNo(const std::string& caption, const std::string& text, bool yesIsDefault) {
    shown.push_back({"question", caption, text});
    if (answers.empty()) return yesIsDefault;
    bool answer = answers.front();
    answers.pop_front();
    return answer;
}

bool ScriptedUi::askInsertDisk(const InsertDiskPrompt& prompt) {
    shown.push_back({"insert", prompt.caption, prompt.text});
    if (onInsertPrompt) onInsertPrompt(prompt);
    if (answers.empty()) return false;
    bool answer = answers.front();
    answers.pop_front();
    return answer;
}

void ScriptedUi::showNotice(const std::string& caption, const std::string& text) {
    shown.push_back({"notice", caption, text});
}

void ScriptedUi::showError(const std::string& text) { shown.push_back({"error", "", text}); }

std::optional<std::string> ScriptedUi::chooseFileToOpen(const FileDialog& dialog) {
    dialogs.push_back(dialog);
    if (files.empty()) return std::nullopt;
    auto f = files.front();
    files.pop_front();
    return f;
}

std::optional<std::string> ScriptedUi::chooseFileToSave(const FileDialog& dialog) { return chooseFileToOpen(dialog); }

std::vector<std::string> ScriptedUi::errors() const {
    std::vector<std::string> out;
    for (const auto& s : shown)
        if (s.kind == "error") out.push_back(s.text);
    return out;
}

uint32_t ScriptedRandom::below(uint32_t n) {
    bounds.push_back(n);
    if (values_.empty()) return 0;
    uint32_t v = values_.front();
    values_.pop_front();
    return v;
}

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "velmo-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeFile(const std::string& path, const std::string& content) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream out(path, std::ios::binary);
    out << content;
}

HangGuard::HangGuard(unsigned seconds) { alarm(seconds); }
HangGuard::~HangGuard() { alarm(0); }

} // namespace velmo::test
