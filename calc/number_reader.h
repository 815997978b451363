#pragma once
// The one reader of numbers written in field texts, shared by the calculator and the
// report engine (automatic sums). It is strict and locale-free: an optional "+" or "-",
// decimal digits with an optional "." and fraction, an optional exponent ("e" or "E", an
// optional sign, at least one digit). Nothing else is a number: no blanks, no thousands
// separators, no "inf" or "nan", no hexadecimal form. Callers trim blanks first.

#include <optional>
#include <string_view>

namespace quillon {

// The value of text, or nullopt when text is not a number in the notation above or its
// value is beyond the double range (a value too small for a double reads as 0).
std::optional<double> ReadNumber(std::string_view text);

// The value of text with blanks and control characters at both ends removed; 0 when the
// text is empty or not a number. This is how a calculated field reads another field.
double NumberOrZero(std::string_view text);

// The value of an unsigned decimal number given as its integer digits, its fraction
// digits and its exponent (exponent_digits without sign; empty for none), correctly
// rounded. At least one digit must be given. Infinity when the value is beyond the double
// range, 0 when it is below the smallest one.
double DecimalDigitsValue(std::string_view int_digits, std::string_view frac_digits,
                          bool exponent_negative, std::string_view exponent_digits);

}  // namespace quillon
