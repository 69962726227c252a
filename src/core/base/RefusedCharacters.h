#pragma once
#include <string_view>

namespace velmo {

// The characters no name of a disk or a profile may hold: a folder could not carry them.
constexpr std::string_view kRefusedCharacters = "\\/:*?\"<>|";

// Whether a text holds one of those characters or a control character (NUL, TAB, a line
// break), or is not UTF-8.
bool holdsRefusedCharacter(std::string_view text);

// Whether the text of a key typed into a name field is dropped: it holds a refused character,
// or the field already holds one (after a paste), so nothing more is typed until it is
// corrected. Editing keys (an empty or control-character text) always pass, so a pasted
// refused character can still be deleted.
bool refusesTypedText(std::string_view currentText, std::string_view typed);

} // namespace velmo
