// Composing frames into the picture by their disposal methods, and drawing the picture.

#include <algorithm>
#include <array>

#include "html/image/gif_image.h"

namespace quillon {

namespace {

// The part of the frame's rectangle that lies in the picture.
Rect FrameArea(const TFrame& frame, const RgbaImage& picture) {
    return Rect{std::min(frame.left, picture.Width()), std::min(frame.top, picture.Height()),
                std::min(frame.left + frame.width, picture.Width()),
                std::min(frame.top + frame.height, picture.Height())};
}

}  // namespace

void TGIFImage::ResetPicture() {
    picture_ = RgbaImage(width_, height_, Background());
    for (auto& frame : frames_) frame->saved = RgbaImage();
}

void TGIFImage::SetupBitmap(int index) {
    TFrame& frame = *frames_[static_cast<std::size_t>(index - 1)];
    const Rect area = FrameArea(frame, picture_);
    if (frame.disposal == TDisposalType::dtToPrevious) {
        frame.saved = RgbaImage(area.Width(), area.Height());
        for (int y = area.top; y < area.bottom; ++y) {
            std::copy_n(picture_.Row(y) + area.left, area.Width(), frame.saved.Row(y - area.top));
        }
    }
    if (area.IsEmpty()) return;

    std::array<Rgba, 256> colours;
    for (std::size_t i = 0; i < colours.size(); ++i) {
        const TRGBColor& c = frame.palette[i];
        colours[i] = Rgba{c.red, c.green, c.blue, 255};
    }
    const auto& pixels = frame.Pixels();
    const std::size_t w = static_cast<std::size_t>(frame.width);
    const std::size_t rows = (pixels.size() + w - 1) / w;
    const int visible = area.Width();
    for (std::size_t k = 0; k < rows; ++k) {
        const int y = frame.top + frame.StreamRowToImageRow(static_cast<int>(k));
        if (y >= area.bottom) continue;
        const std::uint8_t* src = pixels.data() + k * w;
        const int n = std::min<int>(visible, static_cast<int>(std::min(w, pixels.size() - k * w)));
        Rgba* dst = picture_.Row(y) + frame.left;
        if (frame.transparent) {
            const std::uint8_t skip = frame.transparent_index;
            for (int x = 0; x < n; ++x) {
                if (src[x] != skip) dst[x] = colours[src[x]];
            }
        } else {
            for (int x = 0; x < n; ++x) dst[x] = colours[src[x]];
        }
    }
}

void TGIFImage::RemoveBitmap(int index) {
    TFrame& frame = *frames_[static_cast<std::size_t>(index - 1)];
    const Rect area = FrameArea(frame, picture_);
    switch (frame.disposal) {
        case TDisposalType::dtToBackground:
            for (int y = area.top; y < area.bottom; ++y) {
                std::fill_n(picture_.Row(y) + area.left, area.Width(), Background());
            }
            break;
        case TDisposalType::dtToPrevious:
            if (frame.saved.Width() != area.Width() || frame.saved.Height() != area.Height()) {
                break;
            }
            for (int y = area.top; y < area.bottom; ++y) {
                std::copy_n(frame.saved.Row(y - area.top), area.Width(),
                            picture_.Row(y) + area.left);
            }
            frame.saved = RgbaImage();
            break;
        case TDisposalType::dtUndefined:
        case TDisposalType::dtDoNothing:
            break;
    }
}

void TGIFImage::ShowFrame(int index) {
    if (index == current_frame_ + 1 && picture_.Width() == width_ && picture_.Height() == height_) {
        RemoveBitmap(current_frame_);
        SetupBitmap(index);
    } else {
        // Frame 1 starts from an empty picture; any other frame is what the frames before
        // it leave behind.
        ResetPicture();
        for (int i = 1; i <= index; ++i) {
            if (i > 1) RemoveBitmap(i - 1);
            SetupBitmap(i);
        }
    }
    current_frame_ = index;
}

void TGIFImage::Draw(Canvas& canvas, int x, int y, int w, int h) {
    last_destination_ = Rect{x, y, x + w, y + h};
    if (!visible_ || !Drawable()) return;
    canvas.DrawImage(last_destination_, picture_);
}

}  // namespace quillon
