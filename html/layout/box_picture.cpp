#include "html/layout/box_picture.h"

#include <algorithm>
#include <cmath>

#include "html/layout/section_list.h"
#include "platform/core/canvas.h"

namespace quillon {

const RgbaImage* BoxPicture::Load(TSectionList& doc) {
    if (!tried_ && doc.ImagesShown && !Name.empty()) {
        tried_ = true;
        std::string name = Name;
        if (!doc.OnBitmapRequest && !doc.OnImageRequest && doc.OnExpandFilename) {
            name = doc.OnExpandFilename(doc, name);
        }
        if (auto loaded = doc.GetTheBitmap(name, Transparency::NotTransp)) {
            bitmap_ = loaded->Bitmap;
        }
    }
    return bitmap_ && bitmap_->Width() > 0 && bitmap_->Height() > 0 ? bitmap_.get() : nullptr;
}

namespace {

// Where the first tile starts along one axis of an area `room` long.
int Origin(int start, int room, int tile, bool percent, double pct, int px) {
    if (!percent) return start + px;
    return start + static_cast<int>(std::lround((room - tile) * pct / 100.0));
}

}  // namespace

void PaintPicture(Canvas& canvas, const Rect& area, const Rect& clip, const RgbaImage& image,
                  const BoxPicture& picture) {
    const Rect visible{std::max(area.left, clip.left), std::max(area.top, clip.top),
                       std::min(area.right, clip.right), std::min(area.bottom, clip.bottom)};
    if (visible.right <= visible.left || visible.bottom <= visible.top) return;
    const int w = image.Width(), h = image.Height();
    int x0 = Origin(area.left, area.Width(), w, picture.XIsPercent, picture.XPercent, picture.X);
    int y0 = Origin(area.top, area.Height(), h, picture.YIsPercent, picture.YPercent, picture.Y);
    int x_end = x0 + w, y_end = y0 + h;
    if (picture.RepeatX) {
        // Back to the first tile left of what shows, then on to its right edge.
        if (x0 > visible.left) x0 -= (x0 - visible.left + w - 1) / w * w;
        x0 += (visible.left - x0) / w * w;
        x_end = visible.right;
    }
    if (picture.RepeatY) {
        if (y0 > visible.top) y0 -= (y0 - visible.top + h - 1) / h * h;
        y0 += (visible.top - y0) / h * h;
        y_end = visible.bottom;
    }
    for (int y = y0; y < y_end; y += h) {
        for (int x = x0; x < x_end; x += w) {
            const Rect tile{x, y, x + w, y + h};
            const Rect part{std::max(tile.left, visible.left), std::max(tile.top, visible.top),
                            std::min(tile.right, visible.right),
                            std::min(tile.bottom, visible.bottom)};
            if (part.right <= part.left || part.bottom <= part.top) continue;
            canvas.DrawImage(part, image,
                             Rect{part.left - x, part.top - y, part.right - x, part.bottom - y});
        }
    }
}

}  // namespace quillon
