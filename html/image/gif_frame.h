#pragma once
// One image of a GIF file: its place in the logical screen, its timing and disposal, its
// palette and its pixels as colour indices.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "html/image/gif_byte_reader.h"
#include "html/image/gif_types.h"
#include "platform/core/rgba_image.h"

namespace quillon {

class TGIFImage;

// What reading a frame may use. The limits keep a hostile file from making the reader
// allocate more than its data can justify.
struct GifFrameReadContext {
    bool info_only = false;
    // Colour indices that the remaining frames of the file may still hold.
    std::size_t pixel_budget = 0;
    // The picture size so far; a frame that would enlarge it past max_picture_pixels fails.
    int picture_width = 0;
    int picture_height = 0;
    std::int64_t max_picture_pixels = 0;
    // Frame rectangle area that the remaining frames may still cover; composing a frame
    // costs its area.
    std::int64_t area_budget = 0;
};

class TFrame {
  public:
    explicit TFrame(TGIFImage* owner) : owner(owner) {}
    // Copies the frame for another image: descriptor, timing, palette, pixels and the
    // saved area.
    TFrame(const TFrame& other, TGIFImage* new_owner);
    TFrame(const TFrame&) = delete;
    TFrame& operator=(const TFrame&) = delete;
    TFrame(TFrame&&) = default;
    TFrame& operator=(TFrame&&) = default;

    // Reads the image descriptor (after its ',' introducer), the local colour table and the
    // pixel data. The pending graphic control extension, when there is one, gives disposal,
    // delay and transparency. False when the descriptor or the local table is cut short,
    // the minimum code size is unusable, or a limit of the context is exceeded; a frame
    // whose pixel data is cut short keeps what was decoded and reads as true.
    bool ReadImage(GifByteReader& reader, const TGifPalette& global_palette,
                   const std::optional<TGraphicExtension>& extension, GifFrameReadContext& context);
    // Decodes one frame's concatenated LZW data into pixels. False when the minimum code
    // size is unusable or the pixels would exceed the budget.
    bool DecodeImage(std::span<const std::uint8_t> lzw_data, int min_code_size,
                     std::size_t& pixel_budget);

    // Pixels in the order of the file: row after row, interlaced rows in pass order.
    // Fewer than width × height when the data ended early.
    const std::vector<std::uint8_t>& Pixels() const { return pixels_; }
    // The row of the frame that the k-th row of the file's order fills.
    int StreamRowToImageRow(int k) const;
    // Whether pixels of this index let what lies under the frame show through.
    bool IsTransparentIndex(std::uint8_t index) const {
        return transparent && index == transparent_index;
    }

    // The frame as RGBA: palette colours, alpha 0 (and black) where the pixel is
    // transparent or was never decoded.
    RgbaImage Bitmap() const;
    // White where the bitmap is transparent, black where it is opaque.
    RgbaImage Mask() const;

    int left = 0, top = 0, width = 0, height = 0;
    int bits_per_pixel = 0;  // of the local table; 0 with the global one
    int delay = 0;           // milliseconds
    TDisposalType disposal = TDisposalType::dtUndefined;
    bool has_local_palette = false;
    bool interlaced = false;
    bool transparent = false;
    std::uint8_t transparent_index = 0;
    TRGBColor transparent_color;
    TGifPalette palette{};
    // What lay under the frame while it is shown (dtToPrevious only; freed when restored).
    RgbaImage saved;
    TGIFImage* owner = nullptr;
    std::string comment;

  private:
    std::vector<std::uint8_t> pixels_;
};

}  // namespace quillon
