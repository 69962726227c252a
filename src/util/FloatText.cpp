#include "util/FloatText.h"

#include <charconv>
#include <clocale>
#include <cmath>

namespace velmo {

double roundHalfEven(double value, int decimals) {
    const double scale = std::pow(10.0, decimals);
    const double scaled = value * scale;
    // remainder() rounds the quotient to the nearest integer with halves to even.
    const double whole = scaled - std::remainder(scaled, 1.0);
    const double result = whole / scale;
    return result == 0.0 ? 0.0 : result; // no "-0"
}

std::string floatToText(double value, char decimalSeparator) {
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
    if (ec != std::errc()) return "0";
    std::string text(buf, end);
    for (char& c : text)
        if (c == '.') c = decimalSeparator;
    return text;
}

std::string floatToText(double value) { return floatToText(value, localeDecimalSeparator()); }

char localeDecimalSeparator() {
    const std::lconv* conv = std::localeconv();
    return conv && conv->decimal_point && conv->decimal_point[0] ? conv->decimal_point[0] : '.';
}

} // namespace velmo
