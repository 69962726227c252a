#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace velmo {

// A parameter text split into program arguments the way a shell splits words, for blanks and
// double quotes only: blanks and TABs separate words, a double-quoted part belongs to its word
// whatever it holds, and the quotes themselves go. Nothing else is special: no variables, globs,
// escapes, pipes or redirections. An unclosed quote runs to the end of the text.
std::vector<std::string> splitCommandWords(std::string_view text);

} // namespace velmo
