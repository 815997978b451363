#pragma once
// Measuring a text section once per layout: the x of every character as if the whole text
// lay on one line. Any stretch of text is then measured by one subtraction, so that line
// breaking never measures a character twice.

#include <string_view>
#include <vector>

#include "platform/core/canvas.h"

namespace quillon {

class TSection;

// adv[i] = x of character i (adv has CharCount() + 1 entries). Placeholders of images and
// form controls take no room here: their width depends on where they fall in a line. The
// values never decrease.
// `text` is the section's text (TSection::TextView).
void MeasureAdvances(Canvas& canvas, const TSection& s, std::u32string_view text,
                     std::vector<int>& adv);

}  // namespace quillon
