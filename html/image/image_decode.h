#pragma once
// Decoding image files into RGBA pictures, with transparency masks as alpha.
//
// The kind comes from the first bytes. GIFs are decoded by the GIF decoder (the composed
// first frame), 16-bit BMPs by the BMP decoder here; other BMPs, PNG and JPEG by the
// registered still-image decoder. Before any
// decoding the header's declared size is checked against kMaxImagePixels, and files are
// read only up to kMaxImageFileBytes, so no image file makes us allocate more than that.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/core/image_types.h"
#include "platform/core/rgba_image.h"

namespace quillon {

// The largest image file read: 256 MiB.
inline constexpr std::uintmax_t kMaxImageFileBytes = std::uintmax_t{256} << 20;

// The bytes of a file; nullopt when it does not exist, cannot be read or is larger than
// kMaxImageFileBytes.
std::optional<std::vector<std::uint8_t>> ReadImageFile(const std::string& path);

// The picture of an image file's bytes; nullopt when the kind is unknown, the declared
// size is refused, no decoder takes the kind, or decoding fails.
std::optional<RgbaImage> GetImageFromStream(std::span<const std::uint8_t> bytes);
std::optional<RgbaImage> GetImageFromFile(const std::string& path);

struct TImageAndMask {
    RgbaImage image;
    Transparency transp = Transparency::NotTransp;
};

// The picture with the requested transparency applied as alpha. A GIF89a that names a
// transparent colour (IsTransparent) gets TGif whatever was requested: the pixels of that
// colour become transparent. LLCorner makes the lower-left pixel's colour transparent.
// The stream form tests the bytes themselves; the file form only files named ".gif".
std::optional<TImageAndMask> GetImageAndMaskFromStream(std::span<const std::uint8_t> bytes,
                                                       Transparency requested);
std::optional<TImageAndMask> GetImageAndMaskFromFile(const std::string& path,
                                                     Transparency requested);

// Whether the path ends in ".gif", compared without regard to case.
bool HasGifExtension(const std::string& path);

}  // namespace quillon
