#include "html/image/image_mask.h"

namespace quillon {

void MaskColour(RgbaImage& image, Color c) {
    const Rgba key = ToRgba(c);
    for (Rgba& p : image.Pixels()) {
        if (p.r == key.r && p.g == key.g && p.b == key.b) p.a = 0;
    }
}

std::optional<Color> LowerLeftColour(const RgbaImage& image) {
    if (image.Empty()) return std::nullopt;
    const Rgba p = image.At(0, image.Height() - 1);
    if (p.a == 0) return std::nullopt;
    return (Color{p.r} << 16) | (Color{p.g} << 8) | Color{p.b};
}

bool MaskLowerLeft(RgbaImage& image) {
    const auto c = LowerLeftColour(image);
    if (!c) return !image.Empty();  // already masked where it matters
    MaskColour(image, *c);
    return true;
}

}  // namespace quillon
