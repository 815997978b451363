#pragma once
// The arithmetic of the margin panels: 20 pixels a centimetre (2 a millimetre), a panel's
// size read back as whole millimetres with halves rounded to even, and margins written
// and read as text with the user's decimal separator.

#include <optional>
#include <string>
#include <string_view>

namespace quillon {

// The panel size in pixels of a margin in centimetres.
int MarginPixels(double cm);
// The margin in centimetres that a panel size in pixels shows (25 pixels: 1.2 cm).
double MarginFromPixels(int pixels);
// A margin as text: the shortest form, with the locale's decimal separator ("1", "1.2").
std::string MarginText(double cm);
// A margin typed by the user: a number with the locale's decimal separator, a "." or a ","
// (never a thousands separator), optionally followed by "cm"; nothing when the text is not
// a number.
std::optional<double> ReadMarginText(std::string_view text);

}  // namespace quillon
