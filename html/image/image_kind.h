#pragma once
// What the first bytes of an image file tell: its kind, the picture size its header
// declares, and whether a GIF89a names a transparent colour.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "platform/core/image_types.h"
#include "platform/core/rgba_image.h"

namespace quillon {

// "GIF8" then "9": Gif89; "GIF8" otherwise: Gif; "BM": Bmp; 89 50 4E 47: Png; FF D8: Jpg;
// anything else (or too few bytes): NoImage.
ImageType KindOfImage(std::span<const std::uint8_t> bytes);

struct ImageSize {
    std::int64_t width = 0;
    std::int64_t height = 0;
};

// The picture size the header of a file of that kind declares, or nullopt when the header
// is cut short or names no size (a JPEG without a frame header before its scan).
std::optional<ImageSize> DeclaredImageSize(std::span<const std::uint8_t> bytes, ImageType kind);

// Whether decoding the file may start: its header declares a size of at least 1 x 1 and
// at most kMaxImagePixels pixels.
bool DeclaredSizeAcceptable(std::span<const std::uint8_t> bytes, ImageType kind);

// A GIF89a whose colour table is followed directly by a graphic control extension with
// its transparent flag set: the colour (0x00RRGGBB) of the transparent index. Only the
// first 790 bytes are looked at; a file cut short anywhere in them gives nullopt, as does
// any other file.
std::optional<Color> IsTransparent(std::span<const std::uint8_t> bytes);
// The same for a file (only its first 790 bytes are read).
std::optional<Color> TransparentGIF(const std::string& path);

}  // namespace quillon
