#pragma once
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace velmo {

enum class TextRole : unsigned char { Caption, Hint };

// One caption or hint of one component of one window.
struct TextEntry {
    static constexpr size_t npos = static_cast<size_t>(-1);

    std::string window;    // the window's class name, "TMainForm"
    std::string component; // the component's objectName; a window's own caption uses the window name
    TextRole role = TextRole::Caption;
    // A line of the language file. The others keep their built-in text, follow a twin or a message.
    bool translatable = false;
    std::string text;           // the current text; unused by twins
    size_t twinOf = npos;       // a twin shows the text of this entry (never itself a twin)
    size_t fromMessage = npos;  // the text is this message, copied whenever a language is applied
};

// Every caption and hint of the program's windows. The language file holds the translatable
// ones in a fixed order with no keys, so their order here is that file's line order. Texts
// several controls share are held once: the others are twins that show the held text.
class TextTable {
public:
    static constexpr size_t kLanguageLines = 200;
    // The windows of the language file, in its order.
    static constexpr std::array<std::string_view, 5> kLanguageWindows = {
        "TMainForm", "TAddCDForm", "TCopyCDForm", "TOptionsForm", "TOpenFolderForm"};

    // The built-in English texts.
    TextTable();
    static const TextTable& english();

    const std::vector<TextEntry>& entries() const { return entries_; }
    // The index of a component's caption or hint; TextEntry::npos when the table has none.
    size_t find(std::string_view window, std::string_view component, TextRole role) const;
    // The text an entry shows (a twin: its source's text).
    const std::string& text(size_t index) const;
    // A component's caption or hint; null when the table has none for it.
    const std::string* textOf(std::string_view window, std::string_view component, TextRole role) const;

    // Changes a held text; refused (false) for a twin, a message's text or an unknown entry.
    bool setText(std::string_view window, std::string_view component, TextRole role, std::string text);

    // The translatable texts in language-file order: line k of the file is element k - 1.
    std::vector<std::string> languageLines() const;
    // The entry of language-file line k (from 1); TextEntry::npos beyond the last line.
    size_t entryOfLine(size_t line) const;
    // Replaces the text of language-file line k (from 1); false beyond the last line.
    bool setLanguageLine(size_t line, std::string text);
    // Copies the current messages (numbered from 0) into the texts that follow them.
    void copyMessages(const std::vector<std::string>& messages);

private:
    friend class TextTableBuilder;
    void buildEnglish();
    static std::string key(std::string_view window, std::string_view component, TextRole role);

    std::vector<TextEntry> entries_;
    std::vector<size_t> lines_; // language-file line k - 1 -> entry
    std::unordered_map<std::string, size_t> index_;
};

} // namespace velmo
