#pragma once
// Which scroll bars the viewer shows and how its paint panel and bars are sized, decided
// from the control's size, the document's height and its widest line.

#include "html/view/viewer_types.h"

namespace quillon {

struct ScrollBarInput {
    int Width = 0;           // W: the control
    int Height = 0;          // H
    int ScrollBarSize = 16;  // S
    int DocHeight = 0;       // D
    int MarginWidth = 0;     // M
    int WidestLine = 0;      // X (capped at kMaxPaintWidth)
    TScrollStyle Style = TScrollStyle::ssBoth;
    bool Border = true;  // false for htNone
};

struct ScrollBarLayout {
    int Border = 1;  // b: the paint panel sits at (b, b)
    bool VBar = false;
    bool HBar = false;
    int ClientWidth = 0;  // C
    int PanelWidth = 0;
    int PanelHeight = 0;
    int ScrollWidth = 0;  // the horizontal bar's maximum
    int HLargeStep = 1;
    int HPage = 0;
    int VLargeStep = 1;
    int VMax = 0;   // D
    int VPage = 0;  // panel height + 1
};

ScrollBarLayout ComputeScrollBars(const ScrollBarInput& in);

}  // namespace quillon
