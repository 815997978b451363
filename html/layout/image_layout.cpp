// Sizing and painting an image of a text section. The picture itself (Bitmap or Gif) is
// provided by image loading; this file only reads its natural size.

#include <algorithm>

#include "html/image/gif_image.h"
#include "html/layout/font_obj.h"
#include "html/layout/image_obj.h"
#include "html/layout/mul_div.h"
#include "html/layout/section_list.h"

namespace quillon {

namespace {

// The placeholder picture of an image that is not shown or could not be loaded.
constexpr int kPlaceholderSide = 16;
// The smallest box of such an image, and where its ALT text starts.
constexpr int kAltBoxMin = 24;
// Laid-out sizes are clamped here; drawing scales the picture, so nothing of this size is
// ever allocated.
constexpr int kMaxSide = 32767;

int Clamp(int v) {
    return std::clamp(v, 0, kMaxSide);
}

FontSpec AltFont() {
    FontSpec f;
    f.name = "Arial";
    f.size_pt = 8;
    return f;
}

// w scaled by num / den; the given value itself when the natural side is unknown (0), so
// that a picture without a size cannot divide by zero.
int Proportional(int given, int num, int den) {
    if (num <= 0 || den <= 0) return given;
    return MulDiv(given, num, den);
}

}  // namespace

void TImageObj::DrawLogic(TSectionList& doc, Canvas& canvas, const TFontObj* font,
                          int avail_width) {
    // Natural size: of the picture, or of the placeholder when there is none to show.
    const bool has_picture = doc.ImagesShown && !Failed && (Bitmap || Gif);
    int nw = kPlaceholderSide, nh = kPlaceholderSide;
    if (has_picture) {
        nw = Bitmap ? Bitmap->Width() : Gif->Width();
        nh = Bitmap ? Bitmap->Height() : Gif->Height();
    }
    const bool has_w = WidthValue >= 0;
    const bool has_h = HeightValue >= 0;
    int w = nw, h = nh;
    SizeFixed = true;
    if (!has_picture) {
        if (has_w && has_h && !WidthIsPercent) {
            w = WidthValue;
            h = HeightValue;
        } else {
            SizeFixed = false;
        }
    } else if (has_w && WidthIsPercent) {
        w = MulDiv(std::max(0, avail_width), WidthValue, 100);
        h = has_h ? HeightValue : nh;
        SizeFixed = false;
    } else if (has_h && !has_w) {
        h = HeightValue;
        w = Proportional(HeightValue, nw, nh);
    } else if (has_w && !has_h) {
        w = WidthValue;
        h = Proportional(WidthValue, nh, nw);
    } else if (has_w && has_h) {
        w = WidthValue;
        h = HeightValue;
    }
    w = Clamp(w);
    h = Clamp(h);
    if (!has_picture && !SizeFixed) {
        // Room for the placeholder and the ALT text beside it.
        canvas.SetFont(AltFont());
        const int alt_w = AltText.empty() ? 0 : canvas.TextWidth(AltText);
        const int alt_h = AltText.empty() ? 0 : canvas.Metrics().height;
        w = std::max(w, alt_w + 2 + kAltBoxMin);
        h = std::max({h, kAltBoxMin, alt_h});
    }
    // A linked image gets a frame.
    if (font && !font->Link().Empty() && !Borderless) {
        w += 2;
        h += 2;
    }
    DrawnWidth = Clamp(w);
    DrawnHeight = Clamp(h);
}

void TImageObj::Draw(Canvas& canvas, int x, int y, const TFontObj* font) {
    Rect box{x, y, x + DrawnWidth, y + DrawnHeight};
    if (font && !font->Link().Empty() && !Borderless) {
        canvas.FrameRect(box, font->Font().FontColor, 1);
        box = Rect{box.left + 1, box.top + 1, box.right - 1, box.bottom - 1};
    }
    if (box.IsEmpty()) return;
    if (!Failed && Gif && !Gif->Empty()) {
        Gif->Draw(canvas, box.left, box.top, box.Width(), box.Height());
        return;
    }
    if (!Failed && Bitmap && !Bitmap->Empty()) {
        // The canvas scales the picture into the box.
        canvas.DrawImage(box, *Bitmap);
        return;
    }
    // Not shown or missing: a sunken frame, a small crossed placeholder and the ALT text.
    constexpr Color kShadow = 0x808080, kLight = 0xFFFFFF;
    canvas.DrawLine({box.left, box.top}, {box.right, box.top}, kShadow);
    canvas.DrawLine({box.left, box.top}, {box.left, box.bottom}, kShadow);
    canvas.DrawLine({box.left, box.bottom - 1}, {box.right, box.bottom - 1}, kLight);
    canvas.DrawLine({box.right - 1, box.top}, {box.right - 1, box.bottom}, kLight);
    const Rect icon{box.left + 4, box.top + 4, box.left + 4 + kPlaceholderSide - 4,
                    box.top + 4 + kPlaceholderSide - 4};
    {
        ClipScope clip(canvas, box);
        canvas.FrameRect(icon, kShadow, 1);
        if (Failed || ImageKnown) {
            canvas.DrawLine({icon.left, icon.top}, {icon.right, icon.bottom}, 0xFF0000);
            canvas.DrawLine({icon.right, icon.top}, {icon.left, icon.bottom}, 0xFF0000);
        }
        if (!AltText.empty()) {
            FontSpec f = AltFont();
            canvas.SetFont(f);
            canvas.DrawText(box.left + kAltBoxMin, box.top + 2, AltText);
        }
    }
}

}  // namespace quillon
