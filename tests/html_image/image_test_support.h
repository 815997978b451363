#pragma once
// Image files for tests: the fixtures in tests/data/images, BMP/PNG headers with any
// declared size, and a still-image decoder that stands in for the platform's.

#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/still_image_decoder.h"

namespace quillon::image_test {

using Bytes = std::vector<std::uint8_t>;

inline std::string ImagePath(std::string_view name) {
    return std::string(QUILLON_TEST_DATA) + "/images/" + std::string(name);
}

inline Bytes ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void PutLe32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// A BMP file header and info header declaring width x height (no pixels follow).
inline Bytes BmpHeader(std::int32_t width, std::int32_t height) {
    Bytes b(54, 0);
    b[0] = 'B';
    b[1] = 'M';
    PutLe32(b, 14, 40);
    PutLe32(b, 18, static_cast<std::uint32_t>(width));
    PutLe32(b, 22, static_cast<std::uint32_t>(height));
    return b;
}

// A PNG signature and IHDR chunk declaring width x height.
inline Bytes PngHeader(std::uint32_t width, std::uint32_t height) {
    Bytes b = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    for (std::uint32_t v : {width, height}) {
        for (int i = 3; i >= 0; --i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    b.insert(b.end(), {8, 6, 0, 0, 0});
    return b;
}

// Decodes any file it is given into a picture of `picture`, counting the calls.
class FakeStillDecoder : public StillImageDecoder {
  public:
    explicit FakeStillDecoder(RgbaImage picture, int* calls = nullptr)
        : picture_(std::move(picture)), calls_(calls) {}
    std::optional<RgbaImage> Decode(std::span<const std::uint8_t>, ImageType) override {
        if (calls_) ++*calls_;
        return picture_;
    }

  private:
    RgbaImage picture_;
    int* calls_;
};

// A 3 x 2 picture whose lower-left pixel is magenta, as is its top-right one.
inline RgbaImage MagentaCornerPicture() {
    RgbaImage image(3, 2, Rgba{10, 20, 30, 255});
    image.At(0, 1) = Rgba{255, 0, 255, 255};
    image.At(2, 0) = Rgba{255, 0, 255, 255};
    return image;
}

}  // namespace quillon::image_test
