#include "html/layout/image_obj.h"

#include <algorithm>
#include <cstdlib>

#include "html/image/gif_image.h"
#include "html/image/placeholder_bitmaps.h"
#include "html/layout/alt_text_lines.h"
#include "html/layout/attribute_access.h"
#include "html/layout/font_obj.h"
#include "html/layout/mul_div.h"
#include "html/layout/section_list.h"
#include "platform/core/text_encoding.h"

namespace quillon {

TImageObj::TImageObj(int char_pos, const TAttributeList& attrs, TCell* cell)
    : CharPos(char_pos), Cell(cell) {
    SourceName = AttrText(attrs, Symb::SrcSy);
    if (const TAttribute* a = attrs.Find(Symb::AltSy)) AltText = a->Text;
    if (const TAttribute* a = attrs.Find(Symb::HeightSy)) HeightValue = std::max(0, a->Number);
    ReadBlockWidth(attrs, WidthValue, WidthIsPercent);
    Placement = AttrKeyword<AlignmentType>(attrs, Symb::AlignSy,
                                           {{"top", AlignmentType::Top},
                                            {"middle", AlignmentType::Middle},
                                            {"absmiddle", AlignmentType::Middle},
                                            {"left", AlignmentType::ALeft},
                                            {"right", AlignmentType::ARight}})
                    .value_or(Placement);
    if (const TAttribute* a = attrs.Find(Symb::BorderSy)) Borderless = a->Number == 0;
    TranspRequest = HasAttr(attrs, Symb::TranspSy);
    ServerMap = HasAttr(attrs, Symb::IsMapSy);
    if (HasAttr(attrs, Symb::UseMapSy)) {
        ClientMap = true;
        std::string name(text::Trim(AttrUpper(attrs, Symb::UseMapSy)));
        if (name.size() > 1 && name[0] == '#') name.erase(0, 1);
        ClientMapName = std::move(name);
    }
    if (const TAttribute* a = attrs.Find(Symb::HSpaceSy)) {
        // abs() of the most negative int is undefined; clamp first.
        SideSpace = a->Number < -20 || a->Number > 20 ? 20 : std::abs(a->Number);
    }
}

namespace {

// The font of ALT text in placeholders.
FontSpec AltFont() {
    FontSpec f;
    f.name = "Arial";
    f.size_pt = 8;
    return f;
}

constexpr int kAltTextLeft = 24;  // ALT text starts right of the placeholder bitmap
constexpr int kPlaceholderMin = 24;
// Laid-out image sides are clamped here (huge WIDTH or HEIGHT values).
constexpr int kMaxLaidOutSide = 32767;

bool Linked(const TFontObj* font) {
    return font != nullptr && !font->Link().Empty();
}

}  // namespace

void TImageObj::LoadPicture(TSectionList& doc) {
    if (ImageKnown) return;
    if (!doc.ImagesShown) {
        Bitmap = DefaultBitmap();
        return;
    }
    ImageKnown = true;
    std::string name = SourceName;
    if (!doc.OnBitmapRequest && !doc.OnImageRequest && doc.OnExpandFilename) {
        name = doc.OnExpandFilename(doc, name);
    }
    const Transparency requested = TranspRequest ? Transparency::LLCorner : Transparency::NotTransp;
    const auto loaded = doc.GetTheBitmap(name, requested);
    if (!loaded) {
        Bitmap = ErrorBitmap();
        Transp = Transparency::LLCorner;
        Failed = true;
        return;
    }
    Transp = loaded->Transp;
    if (loaded->Gif) {
        Gif = std::make_shared<TGIFImage>(*loaded->Gif);
        Gif->SetVisible(true);
        Bitmap.reset();
        doc.AnimatedImages.push_back(this);
    } else {
        Bitmap = loaded->Bitmap;
    }
}

int TImageObj::NaturalWidth() const {
    if (Gif) return Gif->Width();
    return Bitmap ? Bitmap->Width() : 0;
}

int TImageObj::NaturalHeight() const {
    if (Gif) return Gif->Height();
    return Bitmap ? Bitmap->Height() : 0;
}

void TImageObj::DrawLogic(TSectionList& doc, Canvas& canvas, const TFontObj* font,
                          int avail_width) {
    if (!ImageKnown) {
        // Images shown since the last layout: the placeholder's size is no longer fixed.
        if (doc.ImagesShown) SizeFixed = false;
        LoadPicture(doc);
    }
    if (SizeFixed) return;
    const int nw = NaturalWidth(), nh = NaturalHeight();
    const bool width_given = WidthValue >= 0, height_given = HeightValue >= 0;
    int w = nw, h = nh;
    if (ShowsPlaceholder()) {
        if (width_given && !WidthIsPercent && height_given) {
            w = WidthValue;
            h = HeightValue;
            SizeFixed = true;
        }
    } else if (width_given && WidthIsPercent) {
        w = MulDiv(avail_width, WidthValue, 100);
        h = height_given ? HeightValue : nh;
    } else {
        if (width_given && height_given) {
            w = WidthValue;
            h = HeightValue;
        } else if (height_given) {
            // Without a natural size (0 x 0) the missing side takes the given value.
            h = HeightValue;
            w = nw > 0 && nh > 0 ? MulDiv(HeightValue, nw, nh) : HeightValue;
        } else if (width_given) {
            w = WidthValue;
            h = nw > 0 && nh > 0 ? MulDiv(WidthValue, nh, nw) : WidthValue;
        }
        SizeFixed = true;
    }
    if (ShowsPlaceholder() && !SizeFixed) {
        const FontSpec saved = canvas.Font();
        canvas.SetFont(AltFont());
        w = std::max(w, canvas.TextWidth(AltText) + 2 + kAltTextLeft);
        h = std::max(h, std::max(kPlaceholderMin, canvas.Metrics().height));
        canvas.SetFont(saved);
    }
    if (Linked(font) && !Borderless) {
        w += 2;
        h += 2;
    }
    // Drawing scales the picture into the clamped size, so nothing of this size is ever
    // allocated.
    DrawnWidth = std::clamp(w, 0, kMaxLaidOutSide);
    DrawnHeight = std::clamp(h, 0, kMaxLaidOutSide);
}

void TImageObj::Draw(Canvas& canvas, int x, int y, const TFontObj* font) {
    Rect box{x, y, x + DrawnWidth, y + DrawnHeight};
    if (Linked(font) && !Borderless) {
        canvas.FrameRect(box, font->Font().FontColor);
        box = Rect{box.left + 1, box.top + 1, box.right - 1, box.bottom - 1};
    }
    if (box.IsEmpty()) return;
    if (ShowsPlaceholder()) {
        // A sunken frame: dark above and left, light below and right (black on one-bit
        // devices).
        const bool mono = canvas.IsMonochrome();
        const Color dark = mono ? 0x000000 : 0x808080, light = mono ? 0x000000 : 0xFFFFFF;
        canvas.FillRect(Rect{box.left, box.top, box.right, box.top + 1}, dark);
        canvas.FillRect(Rect{box.left, box.top, box.left + 1, box.bottom}, dark);
        canvas.FillRect(Rect{box.left, box.bottom - 1, box.right, box.bottom}, light);
        canvas.FillRect(Rect{box.right - 1, box.top, box.right, box.bottom}, light);
        ClipScope clip(canvas, Rect{box.left + 1, box.top + 1, box.right - 1, box.bottom - 1});
        const auto& picture = Failed ? ErrorBitmap() : (Bitmap ? Bitmap : DefaultBitmap());
        canvas.DrawImage(Rect{box.left + 4, box.top + 4, box.left + 4 + picture->Width(),
                              box.top + 4 + picture->Height()},
                         *picture);
        if (!AltText.empty()) {
            const FontSpec saved = canvas.Font();
            canvas.SetFont(AltFont());
            const int line_height = canvas.Metrics().height;
            int ty = box.top + 2;
            // Only the lines that fit the box are broken off the text.
            AltTextLines lines(canvas, AltText, box.Width() - kAltTextLeft - 2);
            while (const auto line = lines.Next()) {
                canvas.DrawText(box.left + kAltTextLeft, ty, *line);
                ty += line_height;
                if (ty >= box.bottom) break;
            }
            canvas.SetFont(saved);
        }
        return;
    }
    if (Gif) {
        Gif->Draw(canvas, box.left, box.top, box.Width(), box.Height());
        Painted = true;
        return;
    }
    if (Bitmap && !Bitmap->Empty()) canvas.DrawImage(box, *Bitmap);
}

}  // namespace quillon
