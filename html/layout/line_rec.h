#pragma once
// One laid-out line of a text section.

namespace quillon {

struct LineRec {
    int TextStart = 0;   // index of its first character in the section text
    int ExtraAbove = 0;  // pixels above the text (tall images and controls)
    int ExtraBelow = 0;  // pixels below the text
    int TextHeight = 0;  // largest font line height in the line
    int CharsInLine = 0;
    int MaxDescent = 0;
    int StartX = 0;  // x of the first character at layout time

    // How far the line moves the layout down.
    int Advance() const { return ExtraAbove + TextHeight + ExtraBelow; }
};

}  // namespace quillon
