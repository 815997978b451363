#include "html/image/placeholder_bitmaps.h"

#include <cstdlib>

namespace quillon {

namespace {

constexpr int kSize = 16;

// A sheet of paper: grey edge, white inside, transparent around it.
RgbaImage Sheet() {
    RgbaImage image(kSize, kSize, Rgba{255, 255, 255, 0});
    for (int y = 1; y < kSize - 1; ++y) {
        for (int x = 2; x < kSize - 2; ++x) {
            const bool edge = y == 1 || y == kSize - 2 || x == 2 || x == kSize - 3;
            image.At(x, y) = edge ? Rgba{128, 128, 128, 255} : Rgba{255, 255, 255, 255};
        }
    }
    return image;
}

RgbaImage MakeError() {
    RgbaImage image = Sheet();
    // A red cross over the sheet.
    for (int i = 4; i < kSize - 4; ++i) {
        for (int d = 0; d < 2; ++d) {
            image.At(i, i + d) = Rgba{204, 0, 0, 255};
            image.At(kSize - 1 - i, i + d) = Rgba{204, 0, 0, 255};
        }
    }
    return image;
}

RgbaImage MakeDefault() {
    RgbaImage image = Sheet();
    // A green hill under a blue sky.
    for (int y = 3; y < kSize - 3; ++y) {
        for (int x = 4; x < kSize - 4; ++x) {
            const bool hill = y > 8 + std::abs(x - 8) / 2;
            image.At(x, y) = hill ? Rgba{0, 128, 0, 255} : Rgba{160, 200, 255, 255};
        }
    }
    return image;
}

}  // namespace

const std::shared_ptr<const RgbaImage>& ErrorBitmap() {
    static const auto image = std::make_shared<const RgbaImage>(MakeError());
    return image;
}

const std::shared_ptr<const RgbaImage>& DefaultBitmap() {
    static const auto image = std::make_shared<const RgbaImage>(MakeDefault());
    return image;
}

}  // namespace quillon
