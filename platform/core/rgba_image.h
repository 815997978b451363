#pragma once
// A plain RGBA pixel buffer (straight, not premultiplied alpha), row by row from the top.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quillon {

struct Rgba {
    std::uint8_t r = 0, g = 0, b = 0, a = 0;
    friend bool operator==(const Rgba&, const Rgba&) = default;
};

// Colours of the canvas: 0x00RRGGBB.
using Color = std::uint32_t;
inline Rgba ToRgba(Color c, std::uint8_t alpha = 255) {
    return Rgba{static_cast<std::uint8_t>(c >> 16), static_cast<std::uint8_t>(c >> 8),
                static_cast<std::uint8_t>(c), alpha};
}

class RgbaImage {
  public:
    RgbaImage() = default;
    RgbaImage(int width, int height, Rgba fill = {})
        : width_(width > 0 ? width : 0),
          height_(height > 0 ? height : 0),
          pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), fill) {}

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return pixels_.empty(); }

    Rgba& At(int x, int y) { return pixels_[Index(x, y)]; }
    const Rgba& At(int x, int y) const { return pixels_[Index(x, y)]; }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

    Rgba* Row(int y) { return pixels_.data() + Index(0, y); }
    const Rgba* Row(int y) const { return pixels_.data() + Index(0, y); }
    std::vector<Rgba>& Pixels() { return pixels_; }
    const std::vector<Rgba>& Pixels() const { return pixels_; }

    friend bool operator==(const RgbaImage&, const RgbaImage&) = default;

  private:
    std::size_t Index(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
               static_cast<std::size_t>(x);
    }
    int width_ = 0;
    int height_ = 0;
    std::vector<Rgba> pixels_;
};

}  // namespace quillon
