#pragma once
// Transparency masks as alpha: the pixels of one colour become transparent.

#include <optional>

#include "platform/core/rgba_image.h"

namespace quillon {

// Makes every pixel of colour c (0x00RRGGBB) fully transparent; other pixels keep their
// alpha.
void MaskColour(RgbaImage& image, Color c);

// The colour of the lower-left pixel (x 0, y height - 1), or nullopt when the image is
// empty or that pixel is already transparent (the picture then has its own mask, and
// the black under a transparent pixel names no colour of the picture).
std::optional<Color> LowerLeftColour(const RgbaImage& image);

// MaskColour with the lower-left pixel's colour; false when there is none.
bool MaskLowerLeft(RgbaImage& image);

}  // namespace quillon
