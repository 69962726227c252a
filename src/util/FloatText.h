#pragma once
#include <string>

namespace velmo {

// `value` rounded to `decimals` places, halves to the even neighbour of the scaled value (2.345
// MB as 234.5 hundredths becomes 2.34), whatever the floating-point rounding mode is.
double roundHalfEven(double value, int decimals);

// A number as the user's locale writes it: up to 15 significant digits, no trailing zeros, the
// locale's decimal separator ("45.67", "45,67"; "12" for a whole number).
std::string floatToText(double value);
// The same with a given decimal separator.
std::string floatToText(double value, char decimalSeparator);

// The decimal separator of the current C locale (LC_NUMERIC).
char localeDecimalSeparator();

} // namespace velmo
