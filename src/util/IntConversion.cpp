#include "util/IntConversion.h"

namespace velmo {

ConversionError::ConversionError(std::string_view text)
    : std::runtime_error("'" + std::string(text) + "' is not a valid integer value") {}

int32_t strToInt(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    if (i == text.size()) throw ConversionError(text);
    int64_t value = 0;
    for (; i < text.size(); ++i) {
        char c = text[i];
        if (c < '0' || c > '9') throw ConversionError(text);
        value = value * 10 + (c - '0');
        if (value > 2147483648LL) throw ConversionError(text);
    }
    if (negative) value = -value;
    if (value > INT32_MAX) throw ConversionError(text);
    return static_cast<int32_t>(value);
}

std::string replaceAll(std::string text, std::string_view from, std::string_view to) {
    if (from.empty()) return text;
    size_t pos = text.find(from);
    if (pos == std::string::npos) return text;
    std::string out;
    out.reserve(text.size());
    size_t start = 0;
    for (; pos != std::string::npos; pos = text.find(from, start)) {
        out.append(text, start, pos - start);
        out.append(to);
        start = pos + from.size();
    }
    out.append(text, start, std::string::npos);
    return out;
}

} // namespace velmo
