#include "html/image/gif_frame.h"

#include <algorithm>

#include "html/image/gif_lzw.h"

namespace quillon {

TFrame::TFrame(const TFrame& other, TGIFImage* new_owner)
    : left(other.left),
      top(other.top),
      width(other.width),
      height(other.height),
      bits_per_pixel(other.bits_per_pixel),
      delay(other.delay),
      disposal(other.disposal),
      has_local_palette(other.has_local_palette),
      interlaced(other.interlaced),
      transparent(other.transparent),
      transparent_index(other.transparent_index),
      transparent_color(other.transparent_color),
      palette(other.palette),
      saved(other.saved),
      owner(new_owner),
      comment(other.comment),
      pixels_(other.pixels_) {}

bool TFrame::ReadImage(GifByteReader& reader, const TGifPalette& global_palette,
                       const std::optional<TGraphicExtension>& extension,
                       GifFrameReadContext& context) {
    std::uint16_t l = 0, t = 0, w = 0, h = 0;
    std::uint8_t flags = 0;
    if (!reader.ReadWord(l) || !reader.ReadWord(t) || !reader.ReadWord(w) || !reader.ReadWord(h) ||
        !reader.ReadByte(flags)) {
        return false;
    }
    left = l;
    top = t;
    width = w;
    height = h;
    const std::int64_t picture_w = std::max<std::int64_t>(context.picture_width, left + width);
    const std::int64_t picture_h = std::max<std::int64_t>(context.picture_height, top + height);
    if (picture_w * picture_h > context.max_picture_pixels) return false;
    const std::int64_t area = std::int64_t{width} * height;
    if (area > context.area_budget) return false;
    context.area_budget -= area;

    if (flags & 0x80) {
        has_local_palette = true;
        bits_per_pixel = (flags & 7) + 1;
        const std::size_t entries = std::size_t{1} << bits_per_pixel;
        const auto table = reader.Take(3 * entries);
        if (table.empty()) return false;
        for (std::size_t i = 0; i < entries; ++i) {
            palette[i] = TRGBColor{table[3 * i], table[3 * i + 1], table[3 * i + 2]};
        }
    } else {
        has_local_palette = false;
        bits_per_pixel = 0;
        palette = global_palette;
    }
    interlaced = (flags & 0x40) != 0;

    if (extension) {
        disposal = extension->Disposal();
        delay = extension->delay * 10;
        transparent = extension->Transparent();
        transparent_index = extension->transparent_index;
    }
    transparent_color = palette[transparent_index];

    std::uint8_t min_code_size = 0;
    if (!reader.ReadByte(min_code_size)) return true;  // cut short: a frame without pixels
    if (context.info_only) {
        reader.SkipSubBlocks();
        return min_code_size >= kGifMinCodeSizeLow && min_code_size <= kGifMinCodeSizeHigh;
    }
    std::vector<std::uint8_t> data;
    reader.ReadSubBlocks(data);
    return DecodeImage(data, min_code_size, context.pixel_budget);
}

bool TFrame::DecodeImage(std::span<const std::uint8_t> lzw_data, int min_code_size,
                         std::size_t& pixel_budget) {
    pixels_.clear();
    if (min_code_size < kGifMinCodeSizeLow || min_code_size > kGifMinCodeSizeHigh) return false;
    const std::size_t area = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    const std::size_t room = std::min(area, MaxGifLzwOutput(lzw_data.size(), min_code_size));
    if (room > pixel_budget) return false;
    pixels_.resize(room);
    const std::size_t decoded = DecodeGifLzw(lzw_data, min_code_size, pixels_);
    pixels_.resize(decoded);
    if (decoded < room / 2) pixels_.shrink_to_fit();
    pixel_budget -= decoded;
    return true;
}

int TFrame::StreamRowToImageRow(int k) const {
    if (!interlaced) return k;
    const int pass1 = (height + 7) / 8;
    if (k < pass1) return 8 * k;
    k -= pass1;
    const int pass2 = (height + 3) / 8;
    if (k < pass2) return 4 + 8 * k;
    k -= pass2;
    const int pass3 = (height + 1) / 4;
    if (k < pass3) return 2 + 4 * k;
    k -= pass3;
    return 1 + 2 * k;
}

RgbaImage TFrame::Bitmap() const {
    RgbaImage image(width, height, Rgba{0, 0, 0, 0});
    if (width <= 0) return image;
    const std::size_t w = static_cast<std::size_t>(width);
    for (std::size_t i = 0; i < pixels_.size(); ++i) {
        const std::uint8_t index = pixels_[i];
        if (IsTransparentIndex(index)) continue;
        const TRGBColor& c = palette[index];
        image.At(static_cast<int>(i % w), StreamRowToImageRow(static_cast<int>(i / w))) =
            Rgba{c.red, c.green, c.blue, 255};
    }
    return image;
}

RgbaImage TFrame::Mask() const {
    RgbaImage mask = Bitmap();
    for (Rgba& p : mask.Pixels()) {
        p = p.a == 0 ? Rgba{255, 255, 255, 255} : Rgba{0, 0, 0, 255};
    }
    return mask;
}

}  // namespace quillon
