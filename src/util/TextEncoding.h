#pragma once
#include <string>
#include <string_view>

namespace velmo {

// True when the bytes form valid UTF-8 (no overlongs, no surrogates, nothing above U+10FFFF).
bool isValidUtf8(std::string_view bytes);

// The text without a leading UTF-8 byte-order mark.
constexpr std::string_view withoutUtf8Bom(std::string_view text) {
    return text.starts_with("\xEF\xBB\xBF") ? text.substr(3) : text;
}

// Converts Windows-1252 bytes to UTF-8. The five bytes that code page leaves undefined map to
// the C1 control of the same value, so no byte is ever lost.
std::string windows1252ToUtf8(std::string_view bytes);

// Files of the Windows program are in its ANSI code page; ours are UTF-8. Valid UTF-8 is
// taken as it is (a leading byte-order mark is dropped), anything else as Windows-1252.
std::string decodeTextFile(std::string_view bytes);
// The same for bytes the caller gives up: valid UTF-8, by far the usual case, is kept in place
// instead of copied.
std::string decodeOwnedTextFile(std::string&& bytes);

// A file name as the program's texts and files hold it. A name of valid UTF-8 stays as it is.
// Any other byte (and each byte of a character in U+F780..U+F7FF, which this form uses) becomes
// the character U+F700 + byte, so the text is valid UTF-8 and still names exactly that file.
std::string fileNameToText(std::string_view bytes);

// The bytes of the file name a text of fileNameToText stands for: every character in
// U+F780..U+F7FF becomes its byte again; the rest is taken as it is.
std::string textToFileName(std::string_view text);

} // namespace velmo
