#include "html/layout/my_font.h"

#include <algorithm>

#include "html/layout/mul_div.h"
#include "html/layout/section_list.h"

namespace quillon {

void TMyFont::SetNormalSize(const TSectionList& doc, int size) {
    NominalSize = std::max(0, size);
    Size = std::max(0, MulDiv(doc.BaseFontSize(), NominalSize, 12));
}

void TMyFont::UpdateFont(const TSectionList& doc, Color color) {
    Name = FixedPitch ? doc.FixedFontName() : doc.BaseFontName();
    CharSet = doc.CharSet();
    SetNormalSize(doc, NominalSize);
    FontColor = color;
}

FontSpec TMyFont::CanvasFont() const {
    FontSpec desc;
    desc.name = Name;
    desc.size_pt = Size;
    desc.bold = Bold();
    desc.italic = Italic();
    desc.underline = Underline();
    desc.strike_out = StrikeOut();
    desc.color = FontColor;
    return desc;
}

}  // namespace quillon
