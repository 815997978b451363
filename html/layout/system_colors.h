#pragma once
// The fixed colours that stand in for the desktop's system colours in 3D frames and rules.

#include "platform/core/canvas.h"

namespace quillon::system_colors {

inline constexpr Color kButtonShadow = 0x808080;
inline constexpr Color kButtonHighlight = 0xFFFFFF;
inline constexpr Color kWindow = 0xFFFFFF;
inline constexpr Color kSilver = 0xC0C0C0;

}  // namespace quillon::system_colors
