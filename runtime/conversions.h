#pragma once

#include <string>
#include <string_view>

// Number and text conversions. The user's decimal separator is a parameter, never a global.
namespace runtime {

// Locale-aware parse: spaces around, an optional sign, digits with at most one decimal
// separator, an optional exponent (E or e). Nothing else, so a digit-group separator makes the
// text no number. Fails as not a number, or as an overflow beyond the target's range.
double TextToDouble(std::string_view text, char decimalSeparator);
float TextToSingle(std::string_view text, char decimalSeparator);

// The leading number of a text, with "." as the only decimal point; 0 when there is none.
double Val(std::string_view text);

// The default texts: at most 7 (single) or 15 (double) significant digits, no trailing zeros,
// no separator for a whole number, exponent form (1.234568E+07) where a plain one would not fit.
// NaN and infinities give texts that the parse refuses.
std::string SingleToText(float value, char decimalSeparator);
std::string NumberToText(double value, int significantDigits, char decimalSeparator);
std::string DoubleToText(double value, char decimalSeparator);

// Removes the spaces (only U+0020) at both ends.
std::string Trim(std::string_view text);

}  // namespace runtime
