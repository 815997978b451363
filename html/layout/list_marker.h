#pragma once
// The markers of list items: numbers in their styles and the colours of bullets.

#include <string>

#include "platform/core/rgba_image.h"

namespace quillon {

// The number of an ordered item in its style, followed by ".": 'a' and 'A' letters
// (26 and above stay at 'z'), 'i' and 'I' roman numerals (above 20 stay at 20), anything
// else decimal. Numbers below 1 have no letter or numeral and are written in decimal.
std::u32string ItemNumberText(int number, char32_t style);

// The fill of a bullet at list level `level` (1 for a list's own items) on a light
// background: red, navy and maroon in turn.
Color BulletColor(int level);

// Whether bullets are filled on this background (white, silver and the light system
// colours); on other backgrounds they are drawn as outlines.
bool LightBackground(Color background);

}  // namespace quillon
