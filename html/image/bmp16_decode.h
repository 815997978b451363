#pragma once
// Decoding of 16-bit BMPs (5-5-5 without compression, any channel masks with
// BI_BITFIELDS). Each channel is widened to 8 bits by repeating its high bits, so the
// largest value of a channel is 255 (white stays white), which Qt's reader does not do.

#include <cstdint>
#include <optional>
#include <span>

#include "platform/core/rgba_image.h"

namespace quillon {

// Whether the bytes are a BMP with 16 bits a pixel, stored uncompressed or with channel
// masks, under an info header this decoder reads (40 bytes or longer).
bool IsBmp16(std::span<const std::uint8_t> bytes);

// The picture of such a BMP; nullopt for any other file, a size of nothing or more than
// kMaxImagePixels, and pixel data cut short.
std::optional<RgbaImage> DecodeBmp16(std::span<const std::uint8_t> bytes);

}  // namespace quillon
