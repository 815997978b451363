#pragma once
// Enumerations and limits shared by the viewer control's model and widget.

#include <cstdint>
#include <string>

#include "platform/core/html_border_style.h"

namespace quillon {

// How the current document was loaded.
enum class TFileType { HTMLType, TextType, ImageType };

// Which scroll bars may appear.
enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

// Keys that scroll the view.
enum class TViewerKey { PageUp, PageDown, Home, End, Up, Down, Left, Right };

// A form control of the shown document, as the viewer's users see it.
struct TViewerFormControl {
    std::string Name;
    bool IsCheckBox = false;
    bool Checked = false;  // a check box's state
};

// Widest line and paint width used for scrolling and drawing (wide reports stay reachable).
inline constexpr int kMaxPaintWidth = 32000;
inline constexpr int kVerticalSmallStep = 16;
inline constexpr int kHorizontalSmallStep = 15;

}  // namespace quillon
