#pragma once
// Enumerations and limits shared by the viewer control's model and widget.

#include <cstdint>

#include "engine/rep_viewer_par.h"

namespace quillon {

// How the current document was loaded.
enum class TFileType { HTMLType, TextType, ImageType };

// THTMLBorderStyle (engine/rep_viewer_par.h), shared with the report's viewer parameters:
// htFocused shows the border only while the control has the focus.

// Which scroll bars may appear.
enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

// Keys that scroll the view.
enum class TViewerKey { PageUp, PageDown, Home, End, Up, Down, Left, Right };

// Widest line and paint width used for scrolling and drawing (wide reports stay reachable).
inline constexpr int kMaxPaintWidth = 32000;
inline constexpr int kVerticalSmallStep = 16;
inline constexpr int kHorizontalSmallStep = 15;

}  // namespace quillon
