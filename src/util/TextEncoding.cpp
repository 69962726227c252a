#include "util/TextEncoding.h"

namespace velmo {

namespace {

// The length of the valid UTF-8 sequence starting at p (0 when there is none) and its code point.
size_t utf8SequenceAt(const unsigned char* p, const unsigned char* end, unsigned& cp) {
    const unsigned char c = *p;
    size_t extra;
    if (c < 0x80) { cp = c; return 1; }
    if (c >= 0xC2 && c <= 0xDF) { extra = 1; cp = c & 0x1Fu; }
    else if (c >= 0xE0 && c <= 0xEF) { extra = 2; cp = c & 0x0Fu; }
    else if (c >= 0xF0 && c <= 0xF4) { extra = 3; cp = c & 0x07u; }
    else return 0;
    if (static_cast<size_t>(end - p) <= extra) return 0;
    for (size_t i = 1; i <= extra; ++i) {
        if ((p[i] & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (p[i] & 0x3Fu);
    }
    if ((extra == 2 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) ||
        (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)))
        return 0;
    return extra + 1;
}

constexpr unsigned kByteEscapeBase = 0xF700; // bytes 0x80..0xFF -> U+F780..U+F7FF

} // namespace

bool isValidUtf8(std::string_view s) {
    const auto* p = reinterpret_cast<const unsigned char*>(s.data());
    const auto* end = p + s.size();
    while (p < end) {
        // Skip ASCII eight bytes at a time: database files are mostly ASCII.
        while (end - p >= 8) {
            unsigned long long chunk;
            __builtin_memcpy(&chunk, p, 8);
            if (chunk & 0x8080808080808080ULL) break;
            p += 8;
        }
        if (p >= end) break;
        unsigned cp = 0;
        const size_t length = utf8SequenceAt(p, end, cp);
        if (length == 0) return false;
        p += length;
    }
    return true;
}

namespace {
// Code points of bytes 0x80..0x9F in Windows-1252; undefined ones keep their own value.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void appendUtf8(std::string& out, unsigned cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}
} // namespace

std::string windows1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (char ch : bytes) {
        auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) out.push_back(ch);
        else if (c < 0xA0) appendUtf8(out, kCp1252High[c - 0x80]);
        else appendUtf8(out, c);
    }
    return out;
}

std::string fileNameToText(std::string_view bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = p + bytes.size();
    const auto* firstHigh = p;
    while (firstHigh < end && *firstHigh < 0x80) ++firstHigh;
    if (firstHigh == end) return std::string(bytes);
    std::string out(bytes.substr(0, static_cast<size_t>(firstHigh - p)));
    out.reserve(bytes.size() + 8);
    for (p = firstHigh; p < end;) {
        unsigned cp = 0;
        const size_t length = utf8SequenceAt(p, end, cp);
        const bool escape = length == 0 || (cp >= kByteEscapeBase + 0x80 && cp <= kByteEscapeBase + 0xFF);
        if (!escape) {
            out.append(reinterpret_cast<const char*>(p), length);
            p += length;
            continue;
        }
        // A stray byte alone; a character of the escape range byte by byte, so it reads back.
        for (const auto* stop = p + (length == 0 ? 1 : length); p < stop; ++p) appendUtf8(out, kByteEscapeBase + *p);
    }
    return out;
}

std::string textToFileName(std::string_view text) {
    if (text.find('\xEF') == std::string_view::npos) return std::string(text);
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const auto b1 = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0u;
        const auto b2 = i + 2 < text.size() ? static_cast<unsigned char>(text[i + 2]) : 0u;
        if (c == 0xEF && (b1 == 0x9E || b1 == 0x9F) && (b2 & 0xC0) == 0x80) {
            out.push_back(static_cast<char>(((b1 & 0x01u) << 6) | (b2 & 0x3Fu) | 0x80u));
            i += 2;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

std::string decodeTextFile(std::string_view bytes) {
    bytes = withoutUtf8Bom(bytes);
    if (isValidUtf8(bytes)) return std::string(bytes);
    return windows1252ToUtf8(bytes);
}

std::string decodeOwnedTextFile(std::string&& bytes) {
    const std::string_view body = withoutUtf8Bom(bytes);
    if (!isValidUtf8(body)) return windows1252ToUtf8(body);
    std::string text = std::move(bytes);
    text.erase(0, text.size() - body.size());
    return text;
}

} // namespace velmo
