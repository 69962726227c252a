#include "app/Languages.h"

#include <algorithm>

#include "app/Session.h"
#include "base/UserInterface.h"
#include "platform/FileIO.h"
#include "util/TextEncoding.h"
#include "util/TextLines.h"

namespace velmo {

namespace {

constexpr const char* kBuiltInLanguage = "English";

std::string oneLine(std::string text) {
    std::replace_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return text;
}

// Every start writes the language back: a file that already holds these lines is left alone,
// so a start that changes nothing writes nothing.
std::optional<std::string> writeLines(const std::string& path, const std::vector<std::string>& lines) {
    return platform::writeFileIfChanged(path, joinLinesCrLf(lines));
}

} // namespace

std::string languageFilePath(const Session& s, const std::string& name) {
    return s.AppDir + "/Language/" + name + ".lng";
}

bool SetLanguage(Session& s, std::string name) {
    if (!platform::fileExists(languageFilePath(s, name))) name = kBuiltInLanguage;
    const std::string path = languageFilePath(s, name);
    bool whole = true;
    if (auto bytes = platform::readWholeFile(path, platform::kMaxSettingsBytes)) {
        const std::vector<std::string> lines = splitLines(decodeTextFile(*bytes));
        const size_t textLines = TextTable::kLanguageLines;
        const size_t needed = textLines + MessageTable::kCount;
        for (size_t i = 0; i < std::min(textLines, lines.size()); ++i) s.texts.setLanguageLine(i + 1, lines[i]);
        if (lines.size() < needed) {
            s.ui.showError("List index out of bounds (" + std::to_string(lines.size()) + ")\nFile: \"" + path +
                           "\" has " + std::to_string(lines.size()) + " lines of the " + std::to_string(needed) +
                           " a language file holds; the texts after line " + std::to_string(lines.size()) +
                           " stay as they were.");
            whole = false;
        } else {
            s.messages.replaceAll(std::vector<std::string>(lines.begin() + static_cast<std::ptrdiff_t>(textLines),
                                                           lines.begin() + static_cast<std::ptrdiff_t>(needed)));
            // Back in the program's own form: UTF-8 with CR LF. A failure leaves the file as it was.
            writeLines(path, lines);
        }
    }
    s.texts.copyMessages(s.messages.all());
    s.settings.Language = name;
    s.notifyLanguageChanged();
    s.db.notifyStatisticsChanged();
    return whole;
}

bool SaveLanguage(Session& s) {
    std::vector<std::string> lines = s.texts.languageLines();
    for (const std::string& m : s.messages.all()) lines.push_back(m);
    for (std::string& line : lines) line = oneLine(std::move(line));
    const std::string path = languageFilePath(s, s.settings.Language);
    if (auto failure = writeLines(path, lines)) {
        s.ui.showError("The language file " + path + " could not be written: " + *failure);
        return false;
    }
    return true;
}

std::vector<std::string> FindLangFiles(const Session& s) {
    std::vector<std::string> names{kBuiltInLanguage};
    const auto entries = platform::listDirectory(s.AppDir + "/Language");
    if (!entries) return names;
    for (const platform::DirEntry& e : *entries) {
        if (e.isDirectory || e.name.size() <= 4 || !e.name.ends_with(".lng") || e.name == "English.lng") continue;
        names.push_back(e.name.substr(0, e.name.size() - 4));
    }
    return names;
}

} // namespace velmo
