#pragma once
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace velmo {

// A number in a file that is not a valid integer. Its text is the one users of the Windows
// program know: "'%s' is not a valid integer value".
class ConversionError : public std::runtime_error {
public:
    explicit ConversionError(std::string_view text);
};

// Parses a signed 32-bit decimal integer: optional leading blanks, an optional sign, digits.
// Throws ConversionError for anything else, including overflow.
int32_t strToInt(std::string_view text);

// Replaces every occurrence of `from` by `to` (plain text, case-sensitive).
std::string replaceAll(std::string text, std::string_view from, std::string_view to);

} // namespace velmo
