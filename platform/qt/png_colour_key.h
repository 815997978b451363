#pragma once
// The transparent colour of a grey or RGB PNG (its tRNS chunk), read from the file's
// chunks. Qt's reader draws some of these files wrongly (16-bit RGB with a transparent
// colour comes out as stripes), so the Qt decoder reads such a file without the chunk and
// makes the pixels of that colour transparent itself.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace quillon {

// A transparent colour scaled to 16 bits a sample, as the pixels decoded at 16 bits are.
struct PngColourKey {
    std::uint16_t red = 0;
    std::uint16_t green = 0;
    std::uint16_t blue = 0;
};

struct PngWithoutColourKey {
    std::vector<std::uint8_t> bytes;  // the file without its tRNS chunk
    // nullopt when the colour names a sample larger than the bit depth allows: no pixel
    // has it, so nothing becomes transparent.
    std::optional<PngColourKey> key;
};

// For a grey (colour type 0) or RGB (colour type 2) PNG with a well-formed tRNS chunk
// before its end: the file without that chunk and the transparent colour. nullopt for any
// other file (palette and alpha PNGs, no tRNS chunk, a chunk running past the end).
std::optional<PngWithoutColourKey> SplitPngColourKey(std::span<const std::uint8_t> png);

}  // namespace quillon
