#include "html/image/image_kind.h"

#include <array>
#include <cstdlib>
#include <fstream>

namespace quillon {

namespace {

constexpr std::size_t kTransparencyProbe = 790;

std::uint32_t Le16(std::span<const std::uint8_t> b, std::size_t at) {
    return b[at] | (std::uint32_t{b[at + 1]} << 8);
}
std::uint32_t Le32(std::span<const std::uint8_t> b, std::size_t at) {
    return Le16(b, at) | (Le16(b, at + 2) << 16);
}
std::uint32_t Be16(std::span<const std::uint8_t> b, std::size_t at) {
    return (std::uint32_t{b[at]} << 8) | b[at + 1];
}
std::uint32_t Be32(std::span<const std::uint8_t> b, std::size_t at) {
    return (Be16(b, at) << 16) | Be16(b, at + 2);
}

std::optional<ImageSize> BmpSize(std::span<const std::uint8_t> b) {
    if (b.size() < 18) return std::nullopt;
    const std::uint32_t header = Le32(b, 14);
    if (header == 12) {  // the old core header: 16-bit sizes
        if (b.size() < 22) return std::nullopt;
        return ImageSize{Le16(b, 18), Le16(b, 20)};
    }
    if (header < 16 || b.size() < 26) return std::nullopt;
    // Signed; a negative height means rows stored top-down.
    const auto width = static_cast<std::int32_t>(Le32(b, 18));
    const auto height = static_cast<std::int32_t>(Le32(b, 22));
    return ImageSize{width, std::llabs(std::int64_t{height})};
}

std::optional<ImageSize> PngSize(std::span<const std::uint8_t> b) {
    if (b.size() < 24 || b[12] != 'I' || b[13] != 'H' || b[14] != 'D' || b[15] != 'R') {
        return std::nullopt;
    }
    return ImageSize{Be32(b, 16), Be32(b, 20)};
}

std::optional<ImageSize> JpgSize(std::span<const std::uint8_t> b) {
    std::size_t at = 2;
    while (at + 1 < b.size()) {
        if (b[at] != 0xFF) return std::nullopt;
        const std::uint8_t marker = b[at + 1];
        if (marker == 0xFF) {  // fill byte
            ++at;
            continue;
        }
        at += 2;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;  // no length
        if (marker == 0xD9 || marker == 0xDA) return std::nullopt;           // end, or scan data
        if (at + 2 > b.size()) return std::nullopt;
        const std::uint32_t length = Be16(b, at);
        if (length < 2) return std::nullopt;
        const bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (length < 7 || at + 7 > b.size()) return std::nullopt;
            return ImageSize{Be16(b, at + 5), Be16(b, at + 3)};
        }
        at += length;
    }
    return std::nullopt;
}

}  // namespace

ImageType KindOfImage(std::span<const std::uint8_t> b) {
    if (b.size() >= 4 && b[0] == 'G' && b[1] == 'I' && b[2] == 'F' && b[3] == '8') {
        return b.size() >= 5 && b[4] == '9' ? ImageType::Gif89 : ImageType::Gif;
    }
    if (b.size() >= 2 && b[0] == 'B' && b[1] == 'M') return ImageType::Bmp;
    if (b.size() >= 4 && b[0] == 0x89 && b[1] == 'P' && b[2] == 'N' && b[3] == 'G') {
        return ImageType::Png;
    }
    if (b.size() >= 2 && b[0] == 0xFF && b[1] == 0xD8) return ImageType::Jpg;
    return ImageType::NoImage;
}

std::optional<ImageSize> DeclaredImageSize(std::span<const std::uint8_t> b, ImageType kind) {
    switch (kind) {
        case ImageType::Bmp:
            return BmpSize(b);
        case ImageType::Gif:
        case ImageType::Gif89:
            if (b.size() < 10) return std::nullopt;
            return ImageSize{Le16(b, 6), Le16(b, 8)};
        case ImageType::Png:
            return PngSize(b);
        case ImageType::Jpg:
            return JpgSize(b);
        case ImageType::NoImage:
            break;
    }
    return std::nullopt;
}

bool DeclaredSizeAcceptable(std::span<const std::uint8_t> bytes, ImageType kind) {
    const auto size = DeclaredImageSize(bytes, kind);
    if (!size || size->width < 1 || size->height < 1) return false;
    return size->width <= kMaxImagePixels && size->height <= kMaxImagePixels &&
           size->width * size->height <= kMaxImagePixels;
}

std::optional<Color> IsTransparent(std::span<const std::uint8_t> b) {
    b = b.first(std::min(b.size(), kTransparencyProbe));
    if (KindOfImage(b) != ImageType::Gif89 || b.size() < 13) return std::nullopt;
    const std::uint8_t flags = b[10];
    // The global colour table, when the file has one, lies between the 13-byte header and
    // the extension.
    const bool has_table = (flags & 0x80) != 0;
    const std::size_t entries = has_table ? std::size_t{2} << (flags & 7) : 0;
    const std::size_t ext = 13 + 3 * entries;
    if (ext + 7 > b.size() || b[ext] != 0x21 || b[ext + 1] != 0xF9) return std::nullopt;
    if ((b[ext + 3] & 1) == 0) return std::nullopt;
    const std::size_t index = b[ext + 6];
    if (index >= entries) return std::nullopt;  // no colour to name
    const std::size_t at = 13 + 3 * index;
    return (Color{b[at]} << 16) | (Color{b[at + 1]} << 8) | Color{b[at + 2]};
}

std::optional<Color> TransparentGIF(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::array<char, kTransparencyProbe> buffer{};
    in.read(buffer.data(), buffer.size());
    const auto got = static_cast<std::size_t>(in.gcount());
    return IsTransparent(
        std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(buffer.data()), got));
}

}  // namespace quillon
