#include "base/RefusedCharacters.h"

namespace velmo {

bool holdsRefusedCharacter(std::string_view text) {
    return text.find_first_of(kRefusedCharacters) != std::string_view::npos;
}

bool refusesTypedText(std::string_view currentText, std::string_view typed) {
    const bool editingKey = typed.empty() || static_cast<unsigned char>(typed.front()) < 0x20 || typed.front() == 0x7f;
    if (editingKey) return false;
    return holdsRefusedCharacter(typed) || holdsRefusedCharacter(currentText);
}

} // namespace velmo
