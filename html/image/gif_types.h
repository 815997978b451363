#pragma once
// Value types of GIF images: disposal methods, palette entries and the graphic control
// extension as it is stored in the file.

#include <array>
#include <cstdint>

namespace quillon {

// What happens to a frame's area before the next frame is shown.
enum class TDisposalType { dtUndefined, dtDoNothing, dtToBackground, dtToPrevious };

// One colour-table entry in the file's byte order.
struct TRGBColor {
    std::uint8_t red = 0, green = 0, blue = 0;
    friend bool operator==(const TRGBColor&, const TRGBColor&) = default;
};

using TGifPalette = std::array<TRGBColor, 256>;

// The graphic control extension after its introducer and label.
struct TGraphicExtension {
    std::uint8_t block_size = 0;
    std::uint8_t flags = 0;   // disposal in bits 2-4, transparent flag in bit 0
    std::uint16_t delay = 0;  // hundredths of a second
    std::uint8_t transparent_index = 0;
    std::uint8_t terminator = 0;

    TDisposalType Disposal() const {
        switch ((flags >> 2) & 7) {
            case 0:
                return TDisposalType::dtUndefined;
            case 1:
                return TDisposalType::dtDoNothing;
            case 3:
                return TDisposalType::dtToPrevious;
            default:
                return TDisposalType::dtToBackground;  // 2 and the undefined 4-7
        }
    }
    bool Transparent() const { return (flags & 1) != 0; }
};

}  // namespace quillon
