#pragma once
// Kinds of image files and how an image's transparent pixels are found.

#include <cstdint>

namespace quillon {

// The kind of an image file, told by its first bytes.
enum class ImageType : std::uint8_t { NoImage, Bmp, Gif, Gif89, Png, Jpg };

// How an image's transparent pixels are found: not at all, from the colour of its
// lower-left pixel, or from the transparent colour of a GIF.
enum class Transparency : std::uint8_t { NotTransp, LLCorner, TGif };

// The largest picture any image file may declare: 64 megapixels (256 MiB as RGBA). A file
// that declares more is refused before anything is decoded, so a small hostile file cannot
// make the decoders allocate gigabytes.
inline constexpr std::int64_t kMaxImagePixels = std::int64_t{64} * 1024 * 1024;

}  // namespace quillon
