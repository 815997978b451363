#pragma once
// An animated GIF image: reads GIF87a/GIF89a files, composes the frames into an RGBA
// picture by their disposal methods, draws that picture stretched onto a canvas and
// advances the animation by the frames' delays and the file's loop count.
//
// Limits against hostile files (every GIF comes from an untrusted document):
// - at most kMaxFrames frames; the rest of the file is ignored;
// - the picture (the logical screen, enlarged to cover every frame) has at most
//   kMaxPicturePixels pixels (4096 × 4096, 64 MiB as RGBA): a larger logical screen fails
//   the load, a frame that would enlarge the picture past it ends reading;
// - a frame's pixel buffer is never larger than its LZW data can fill, and all frames
//   together hold at most kMaxDecodedPixels colour indices (one byte each); a frame that
//   would pass that ends reading;
// - the frames' rectangles together cover at most kMaxTotalFrameArea pixels (16 frames of
//   4096 x 4096, 129 of 1920 x 1080), so that composing every frame in turn stays cheap; a
//   frame that would pass that ends reading;
// - a frame's saved area (for dtToPrevious) lives only while the frame is shown;
// - truncated data gives the frames and pixels decoded so far, the rest of a cut frame
//   lets the picture show through.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "html/image/gif_clock.h"
#include "html/image/gif_frame.h"
#include "html/image/gif_types.h"
#include "platform/core/canvas.h"
#include "platform/core/rgba_image.h"

namespace quillon {

// The picture always shows CurrentFrame() as the file's frame order composes it: frame 1
// on an empty picture, every later frame over what its predecessors' disposal left. A
// limited loop count plays every pass in full and the animation rests on the last frame.
class TGIFImage {
  public:
    static constexpr int kMaxFrames = 256;
    static constexpr std::int64_t kMaxPicturePixels = std::int64_t{4096} * 4096;
    static constexpr std::size_t kMaxDecodedPixels = std::size_t{1} << 26;
    static constexpr std::int64_t kMaxTotalFrameArea = std::int64_t{1} << 28;

    // Invalidates the given rectangle of the window the image was drawn in.
    using Invalidate = std::function<void(const Rect&)>;

    explicit TGIFImage(GifClock clock = SteadyMilliseconds);
    // A copy with its own frames and picture; animation state and flags are copied too.
    TGIFImage(const TGIFImage& other);
    TGIFImage& operator=(const TGIFImage&) = delete;

    // Loading: false when the data is not a GIF (or the file cannot be read); the image is
    // then empty. The info variants read the structure (frames, sizes, delays) without
    // decoding pixels.
    bool LoadFromFile(const std::string& path);
    bool LoadFromStream(std::span<const std::uint8_t> data);
    bool LoadInfoFromFile(const std::string& path);
    bool LoadInfoFromStream(std::span<const std::uint8_t> data);

    // Draws the composed picture stretched into (x, y, w, h); transparent parts keep what
    // lies under them.
    void Draw(Canvas& canvas, int x, int y, int w, int h);
    // Called by the document's timer: shows the next frame when the current one's interval
    // has passed, and invalidates where the image was last drawn.
    void CheckTime(const Invalidate& invalidate);

    void SetAnimate(bool on);
    bool Animate() const { return animate_; }
    // 1-based; above the frame count wraps to 1, below 1 to the last frame.
    void SetCurrentFrame(int frame);
    int CurrentFrame() const { return current_frame_; }
    void SetVisible(bool visible) { visible_ = visible; }
    bool Visible() const { return visible_; }
    // Percent; delays are scaled by 100 / speed. A speed of 0 or below counts as 1.
    void SetSpeed(int speed) { speed_ = speed; }
    int Speed() const { return speed_; }
    void SetIgnoreLoopCount(bool ignore) { ignore_loop_count_ = ignore; }
    bool IgnoreLoopCount() const { return ignore_loop_count_; }
    void SetClock(GifClock clock) { clock_ = std::move(clock); }

    // The first frame as RGBA (transparent pixels alpha 0) and its mask (white where
    // transparent); made once and kept. Null when empty or loaded for information only.
    const RgbaImage* GetMaskedBitmap();
    const RgbaImage* GetMask();

    // Frees the frames and resets the loading state; ClearAll also frees the picture and
    // the bitmaps handed out.
    void Clear();
    void ClearAll();

    bool Animated() const { return animated_; }
    bool Empty() const { return empty_; }
    bool InfoOnly() const { return info_only_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    int FrameCount() const { return static_cast<int>(frames_.size()); }
    int LoopCount() const { return loop_count_; }
    int CurrentLoop() const { return current_loop_; }
    bool Transparent() const { return transparent_; }
    int BitsPerPixel() const { return bits_per_pixel_; }
    const TGifPalette& GlobalPalette() const { return global_palette_; }
    // 1-based.
    const TFrame& Frame(int index) const {
        return *frames_.at(static_cast<std::size_t>(index - 1));
    }
    // The composed picture: the current frame over what the earlier ones left.
    const RgbaImage& Picture() const { return picture_; }
    const Rect& LastDestination() const { return last_destination_; }

  private:
    bool Load(std::span<const std::uint8_t> data, bool info_only);
    bool LoadFile(const std::string& path, bool info_only);
    bool ReadGIF(std::span<const std::uint8_t> data);
    bool ReadExtension(GifByteReader& reader, std::optional<TGraphicExtension>& pending,
                       std::string& comment);

    Rgba Background() const { return transparent_ ? Rgba{0, 0, 0, 0} : Rgba{0, 0, 0, 255}; }
    void ResetPicture();
    // Draws frame `index` (1-based) into the picture, saving what lies under it first
    // when its disposal restores it.
    void SetupBitmap(int index);
    // Applies frame `index`'s disposal before the next frame is shown.
    void RemoveBitmap(int index);
    // Makes the picture show frame `index` as the file's order composes it.
    void ShowFrame(int index);
    std::int64_t IntervalOf(int index) const;
    bool Drawable() const { return !empty_ && !info_only_ && !frames_.empty(); }

    GifClock clock_;
    bool animated_ = false;
    int current_frame_ = 1;
    bool empty_ = true;
    int width_ = 0, height_ = 0;
    bool ignore_loop_count_ = false;
    int loop_count_ = 0;
    int speed_ = 100;
    bool transparent_ = false;
    bool visible_ = true;
    int bits_per_pixel_ = 0;
    TGifPalette global_palette_{};
    RgbaImage picture_;
    std::optional<RgbaImage> masked_bitmap_;
    std::optional<RgbaImage> mask_;
    bool animate_ = false;
    bool finished_ = false;  // the loop count ran out
    Rect last_destination_;
    std::vector<std::unique_ptr<TFrame>> frames_;
    int current_loop_ = 1;
    bool info_only_ = false;
    std::int64_t last_time_ = 0;
    std::int64_t current_interval_ = 0;
};

}  // namespace quillon
