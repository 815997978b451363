#include "html/image/bmp16_decode.h"

#include <bit>
#include <cstdlib>

#include "platform/core/image_types.h"

namespace quillon {

namespace {

constexpr std::size_t kFileHeader = 14;
constexpr std::size_t kInfoHeader = 40;  // the shortest info header with these fields
constexpr std::uint32_t kUncompressed = 0;
constexpr std::uint32_t kBitFields = 3;

std::uint32_t Le16(std::span<const std::uint8_t> b, std::size_t at) {
    return std::uint32_t{b[at]} | (std::uint32_t{b[at + 1]} << 8);
}

std::uint32_t Le32(std::span<const std::uint8_t> b, std::size_t at) {
    return Le16(b, at) | (Le16(b, at + 2) << 16);
}

// One channel of a pixel: where its mask lies and how many bits it has.
class Channel {
  public:
    Channel() = default;
    explicit Channel(std::uint32_t mask)
        : mask_(mask),
          shift_(mask ? std::countr_zero(mask) : 0),
          bits_(mask ? std::bit_width(mask >> shift_) : 0) {}

    bool Present() const { return mask_ != 0; }

    // The channel of the pixel widened (or narrowed) to 8 bits: the value's bits, then
    // its high bits again as often as they fit, so that all ones becomes 255.
    std::uint8_t Of(std::uint32_t pixel) const {
        if (bits_ == 0) return 0;
        const std::uint32_t v = (pixel & mask_) >> shift_;
        if (bits_ >= 8) return static_cast<std::uint8_t>(v >> (bits_ - 8));
        std::uint32_t out = 0;
        for (int filled = 0; filled < 8; filled += bits_) {
            const int shift = 8 - filled - bits_;
            out |= shift >= 0 ? v << shift : v >> -shift;
        }
        return static_cast<std::uint8_t>(out);
    }

  private:
    std::uint32_t mask_ = 0;
    int shift_ = 0;
    int bits_ = 0;
};

struct Bmp16Layout {
    std::int64_t width = 0;
    std::int64_t height = 0;  // rows; stored bottom-up unless top_down
    bool top_down = false;
    std::size_t pixels = 0;  // offset of the first stored row
    Channel red, green, blue, alpha;
};

std::optional<Bmp16Layout> LayoutOf(std::span<const std::uint8_t> b) {
    if (b.size() < kFileHeader + kInfoHeader || b[0] != 'B' || b[1] != 'M') return std::nullopt;
    const std::uint32_t header = Le32(b, kFileHeader);
    if (header < kInfoHeader || header > b.size() - kFileHeader) return std::nullopt;
    if (Le16(b, 28) != 16) return std::nullopt;
    const std::uint32_t compression = Le32(b, 30);
    Bmp16Layout layout;
    if (compression == kUncompressed) {
        layout.red = Channel(0x7C00);
        layout.green = Channel(0x03E0);
        layout.blue = Channel(0x001F);
    } else if (compression == kBitFields) {
        // The masks follow a 40-byte header; longer headers hold them (and alpha) inside.
        const std::size_t at = kFileHeader + kInfoHeader;
        if (b.size() < at + 12) return std::nullopt;
        layout.red = Channel(Le32(b, at));
        layout.green = Channel(Le32(b, at + 4));
        layout.blue = Channel(Le32(b, at + 8));
        if (header >= kInfoHeader + 16) layout.alpha = Channel(Le32(b, at + 12));
    } else {
        return std::nullopt;
    }
    const auto width = static_cast<std::int32_t>(Le32(b, 18));
    const auto height = static_cast<std::int32_t>(Le32(b, 22));
    layout.width = width;
    layout.height = std::llabs(std::int64_t{height});
    layout.top_down = height < 0;
    layout.pixels = Le32(b, 10);
    return layout;
}

}  // namespace

bool IsBmp16(std::span<const std::uint8_t> bytes) {
    return LayoutOf(bytes).has_value();
}

std::optional<RgbaImage> DecodeBmp16(std::span<const std::uint8_t> bytes) {
    const auto layout = LayoutOf(bytes);
    if (!layout || layout->width < 1 || layout->height < 1 || layout->width > kMaxImagePixels ||
        layout->height > kMaxImagePixels || layout->width * layout->height > kMaxImagePixels) {
        return std::nullopt;
    }
    // Each row is padded to a multiple of four bytes; the last row need not be.
    const auto width = static_cast<std::size_t>(layout->width);
    const auto height = static_cast<std::size_t>(layout->height);
    const std::size_t stride = (width * 2 + 3) / 4 * 4;
    if (layout->pixels > bytes.size()) return std::nullopt;
    const std::size_t available = bytes.size() - layout->pixels;
    if (available < width * 2 || (available - width * 2) / stride + 1 < height) {
        return std::nullopt;
    }
    RgbaImage image(static_cast<int>(width), static_cast<int>(height));
    for (std::size_t row = 0; row < height; ++row) {
        const std::size_t y = layout->top_down ? row : height - 1 - row;
        const std::size_t at = layout->pixels + row * stride;
        Rgba* out = image.Row(static_cast<int>(y));
        for (std::size_t x = 0; x < width; ++x) {
            const std::uint32_t pixel = Le16(bytes, at + 2 * x);
            out[x] = Rgba{layout->red.Of(pixel), layout->green.Of(pixel), layout->blue.Of(pixel),
                          layout->alpha.Present() ? layout->alpha.Of(pixel) : std::uint8_t{255}};
        }
    }
    return image;
}

}  // namespace quillon
