#include "platform/qt/png_colour_key.h"

#include <array>

namespace quillon {

namespace {

constexpr std::array<std::uint8_t, 8> kSignature{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
constexpr std::size_t kChunkOverhead = 12;  // length, type, CRC

std::uint32_t Be32(std::span<const std::uint8_t> b, std::size_t at) {
    return (std::uint32_t{b[at]} << 24) | (std::uint32_t{b[at + 1]} << 16) |
           (std::uint32_t{b[at + 2]} << 8) | std::uint32_t{b[at + 3]};
}

std::uint16_t Be16(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint16_t>((b[at] << 8) | b[at + 1]);
}

bool IsType(std::span<const std::uint8_t> b, std::size_t at, const char (&type)[5]) {
    for (std::size_t i = 0; i < 4; ++i) {
        if (b[at + 4 + i] != static_cast<std::uint8_t>(type[i])) return false;
    }
    return true;
}

// A sample of the given bit depth scaled to 16 bits the way a decoder widens it (the
// maximum stays the maximum); nullopt for a value the depth cannot hold.
std::optional<std::uint16_t> To16Bits(std::uint16_t sample, int depth) {
    if (depth == 16) return sample;
    const std::uint32_t max = (1u << depth) - 1;
    if (sample > max) return std::nullopt;
    return static_cast<std::uint16_t>(sample * 65535u / max);
}

}  // namespace

std::optional<PngWithoutColourKey> SplitPngColourKey(std::span<const std::uint8_t> png) {
    if (png.size() < kSignature.size() + kChunkOverhead + 13) return std::nullopt;
    for (std::size_t i = 0; i < kSignature.size(); ++i) {
        if (png[i] != kSignature[i]) return std::nullopt;
    }
    std::size_t at = kSignature.size();
    if (Be32(png, at) != 13 || !IsType(png, at, "IHDR")) return std::nullopt;
    const int depth = png[at + 8 + 8];
    const int colour_type = png[at + 8 + 9];
    const bool grey =
        colour_type == 0 && (depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16);
    const bool rgb = colour_type == 2 && (depth == 8 || depth == 16);
    if (!grey && !rgb) return std::nullopt;

    while (png.size() - at >= kChunkOverhead) {
        const std::uint32_t length = Be32(png, at);
        if (length > png.size() - at - kChunkOverhead) return std::nullopt;  // cut short
        const std::size_t size = kChunkOverhead + length;
        if (IsType(png, at, "IEND")) return std::nullopt;
        if (IsType(png, at, "tRNS")) {
            const std::size_t data = at + 8;
            std::optional<std::uint16_t> r, g, b;
            if (grey && length == 2) {
                r = g = b = To16Bits(Be16(png, data), depth);
            } else if (rgb && length == 6) {
                r = To16Bits(Be16(png, data), depth);
                g = To16Bits(Be16(png, data + 2), depth);
                b = To16Bits(Be16(png, data + 4), depth);
            } else {
                return std::nullopt;  // malformed: the reader decides what to make of it
            }
            PngWithoutColourKey out;
            out.bytes.reserve(png.size() - size);
            out.bytes.insert(out.bytes.end(), png.begin(), png.begin() + at);
            out.bytes.insert(out.bytes.end(), png.begin() + at + size, png.end());
            if (r && g && b) out.key = PngColourKey{*r, *g, *b};
            return out;
        }
        at += size;
    }
    return std::nullopt;
}

}  // namespace quillon
