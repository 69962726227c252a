#include "base/RefusedCharacters.h"

#include "util/TextEncoding.h"

namespace velmo {

bool holdsRefusedCharacter(std::string_view text) {
    if (text.find_first_of(kRefusedCharacters) != std::string_view::npos) return true;
    // A NUL or a line break pasted into a name would cut or split the database line.
    for (char c : text)
        if (static_cast<unsigned char>(c) < 0x20) return true;
    // Bytes that are not UTF-8 (an argument of velmo-cli in another code page) would make the
    // database file unreadable as UTF-8.
    return !isValidUtf8(text);
}

bool refusesTypedText(std::string_view currentText, std::string_view typed) {
    const bool editingKey = typed.empty() || static_cast<unsigned char>(typed.front()) < 0x20 || typed.front() == 0x7f;
    if (editingKey) return false;
    return holdsRefusedCharacter(typed) || holdsRefusedCharacter(currentText);
}

} // namespace velmo
