// Advancing the animation by the frames' delays, the speed and the loop count.

#include <algorithm>

#include "html/image/gif_image.h"

namespace quillon {

std::int64_t TGIFImage::IntervalOf(int index) const {
    const std::int64_t speed = std::max(speed_, 1);
    const std::int64_t delay = frames_[static_cast<std::size_t>(index - 1)]->delay;
    return std::max<std::int64_t>((delay * 100 + speed / 2) / speed, 1);
}

void TGIFImage::SetAnimate(bool on) {
    if (on == animate_) return;
    animate_ = on;
    current_loop_ = 1;
    if (on) {
        if (FrameCount() < 2) return;
        if (finished_ && Drawable()) ShowFrame(1);  // a finished animation starts over
        finished_ = false;
        current_interval_ = IntervalOf(current_frame_);
        last_time_ = clock_();
    } else if (current_frame_ != 1) {
        if (Drawable()) {
            ShowFrame(1);
        } else {
            current_frame_ = 1;
        }
    }
}

void TGIFImage::CheckTime(const Invalidate& invalidate) {
    if (!animate_ || !Drawable() || FrameCount() < 2) return;
    const std::int64_t now = clock_();
    if (now - last_time_ < current_interval_) return;
    last_time_ = now;
    const int count = FrameCount();
    if (current_frame_ == count && !ignore_loop_count_ && loop_count_ >= 1) {
        if (current_loop_ >= loop_count_) {
            // The last pass has shown every frame: the animation rests on the last one.
            animate_ = false;
            finished_ = true;
            return;
        }
        ++current_loop_;
    }
    const int next = current_frame_ == count ? 1 : current_frame_ + 1;
    ShowFrame(next);
    if (invalidate) invalidate(last_destination_);
    current_interval_ = IntervalOf(next);
}

void TGIFImage::SetCurrentFrame(int frame) {
    const int count = FrameCount();
    if (count == 0) return;
    if (frame > count) frame = 1;
    if (frame < 1) frame = count;
    if (frame == current_frame_) return;
    if (Drawable()) {
        ShowFrame(frame);
    } else {
        current_frame_ = frame;
    }
}

}  // namespace quillon
