#include "html/image/gif_image.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string_view>

namespace quillon {

TGIFImage::TGIFImage(GifClock clock) : clock_(std::move(clock)) {
    if (!clock_) clock_ = SteadyMilliseconds;
}

TGIFImage::TGIFImage(const TGIFImage& other)
    : clock_(other.clock_),
      animated_(other.animated_),
      current_frame_(other.current_frame_),
      empty_(other.empty_),
      width_(other.width_),
      height_(other.height_),
      ignore_loop_count_(other.ignore_loop_count_),
      loop_count_(other.loop_count_),
      speed_(other.speed_),
      transparent_(other.transparent_),
      visible_(other.visible_),
      bits_per_pixel_(other.bits_per_pixel_),
      global_palette_(other.global_palette_),
      picture_(other.picture_),
      masked_bitmap_(other.masked_bitmap_),
      mask_(other.mask_),
      animate_(other.animate_),
      finished_(other.finished_),
      last_destination_(other.last_destination_),
      current_loop_(other.current_loop_),
      info_only_(other.info_only_),
      last_time_(other.last_time_),
      current_interval_(other.current_interval_) {
    frames_.reserve(other.frames_.size());
    for (const auto& frame : other.frames_) {
        frames_.push_back(std::make_unique<TFrame>(*frame, this));
    }
}

bool TGIFImage::LoadFromFile(const std::string& path) {
    return LoadFile(path, false);
}
bool TGIFImage::LoadInfoFromFile(const std::string& path) {
    return LoadFile(path, true);
}
bool TGIFImage::LoadFromStream(std::span<const std::uint8_t> data) {
    return Load(data, false);
}
bool TGIFImage::LoadInfoFromStream(std::span<const std::uint8_t> data) {
    return Load(data, true);
}

bool TGIFImage::LoadFile(const std::string& path, bool info_only) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        Clear();
        return false;
    }
    const std::vector<std::uint8_t> data{std::istreambuf_iterator<char>(in),
                                         std::istreambuf_iterator<char>()};
    return Load(data, info_only);
}

bool TGIFImage::Load(std::span<const std::uint8_t> data, bool info_only) {
    info_only_ = info_only;
    return ReadGIF(data);
}

bool TGIFImage::ReadGIF(std::span<const std::uint8_t> data) {
    Clear();
    masked_bitmap_.reset();
    mask_.reset();
    picture_ = RgbaImage();

    GifByteReader reader(data);
    const auto signature = reader.Take(6);
    if (signature.empty() ||
        std::string_view(reinterpret_cast<const char*>(signature.data()), 3) != "GIF") {
        return false;
    }
    std::uint16_t screen_width = 0, screen_height = 0;
    std::uint8_t flags = 0, background_index = 0, aspect = 0;
    if (!reader.ReadWord(screen_width) || !reader.ReadWord(screen_height) ||
        !reader.ReadByte(flags) || !reader.ReadByte(background_index) || !reader.ReadByte(aspect)) {
        return false;
    }
    if (std::int64_t{screen_width} * screen_height > kMaxPicturePixels) return false;
    if (flags & 0x80) {
        bits_per_pixel_ = (flags & 7) + 1;
        const std::size_t entries = std::size_t{1} << bits_per_pixel_;
        const auto table = reader.Take(3 * entries);
        if (table.empty()) return false;
        for (std::size_t i = 0; i < entries; ++i) {
            global_palette_[i] = TRGBColor{table[3 * i], table[3 * i + 1], table[3 * i + 2]};
        }
    }

    GifFrameReadContext context;
    context.info_only = info_only_;
    context.pixel_budget = kMaxDecodedPixels;
    context.max_picture_pixels = kMaxPicturePixels;
    context.area_budget = kMaxTotalFrameArea;
    int width = screen_width, height = screen_height;
    std::optional<TGraphicExtension> pending;
    std::string comment;
    std::uint8_t introducer = 0;
    while (reader.ReadByte(introducer)) {
        if (introducer == ',') {
            if (FrameCount() >= kMaxFrames) break;
            auto frame = std::make_unique<TFrame>(this);
            context.picture_width = width;
            context.picture_height = height;
            if (!frame->ReadImage(reader, global_palette_, pending, context)) break;
            bits_per_pixel_ = std::max(bits_per_pixel_, frame->bits_per_pixel);
            transparent_ = transparent_ || frame->transparent;
            frame->comment = std::move(comment);
            comment.clear();
            pending.reset();
            width = std::max(width, frame->left + frame->width);
            height = std::max(height, frame->top + frame->height);
            frames_.push_back(std::move(frame));
        } else if (introducer == '!') {
            if (!ReadExtension(reader, pending, comment)) break;
        } else {
            break;  // the trailer, or a byte that starts no block
        }
    }

    width_ = width;
    height_ = height;
    animated_ = FrameCount() > 1;
    empty_ = false;
    current_frame_ = 1;
    if (!info_only_) {
        ResetPicture();
        if (!frames_.empty()) SetupBitmap(1);
    }
    return true;
}

bool TGIFImage::ReadExtension(GifByteReader& reader, std::optional<TGraphicExtension>& pending,
                              std::string& comment) {
    std::uint8_t label = 0;
    if (!reader.ReadByte(label)) return false;
    std::span<const std::uint8_t> block;
    switch (label) {
        case 249:  // graphic control
            if (!reader.NextSubBlock(block)) return true;
            if (block.size() >= 4) {
                TGraphicExtension ext;
                ext.block_size = static_cast<std::uint8_t>(block.size());
                ext.flags = block[0];
                ext.delay = static_cast<std::uint16_t>(block[1] | (block[2] << 8));
                ext.transparent_index = block[3];
                pending = ext;
            }
            reader.SkipSubBlocks();
            return true;
        case 254: {  // comment
            std::vector<std::uint8_t> text;
            reader.ReadSubBlocks(text);
            comment.append(text.begin(), text.end());
            return true;
        }
        case 255: {  // application
            if (!reader.NextSubBlock(block)) return true;
            const std::string_view id(reinterpret_cast<const char*>(block.data()), block.size());
            if (id == "NETSCAPE2.0") {
                if (!reader.NextSubBlock(block)) return true;
                if (block.size() >= 3) loop_count_ = block[1] | (block[2] << 8);
            }
            reader.SkipSubBlocks();
            return true;
        }
        default:  // plain text (1) and labels this reader does not know
            reader.SkipSubBlocks();
            return true;
    }
}

const RgbaImage* TGIFImage::GetMaskedBitmap() {
    if (!Drawable()) return nullptr;
    if (!masked_bitmap_) masked_bitmap_ = frames_.front()->Bitmap();
    return &*masked_bitmap_;
}

const RgbaImage* TGIFImage::GetMask() {
    if (!Drawable()) return nullptr;
    if (!mask_) mask_ = frames_.front()->Mask();
    return &*mask_;
}

void TGIFImage::Clear() {
    empty_ = true;
    frames_.clear();
    animated_ = false;
    width_ = 0;
    height_ = 0;
    current_frame_ = 1;
    loop_count_ = 1;
    current_loop_ = 1;
    finished_ = false;
    bits_per_pixel_ = 0;
    transparent_ = false;
    global_palette_ = TGifPalette{};
}

void TGIFImage::ClearAll() {
    Clear();
    masked_bitmap_.reset();
    mask_.reset();
    picture_ = RgbaImage();
}

}  // namespace quillon
