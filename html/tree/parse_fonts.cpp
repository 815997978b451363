// FONT, BASEFONT, BIG and SMALL.

#include "html/layout/attribute_access.h"
#include "html/layout/cell.h"
#include "html/layout/my_font.h"
#include "html/layout/section_list.h"
#include "html/parse/html_color.h"
#include "html/tree/html_parser_state.h"
#include "platform/core/text_encoding.h"

#include <algorithm>

namespace quillon {

namespace {

using S = Symb;

constexpr std::size_t kMaxFace = 50;

// The index (0..6) of a nominal size in a size table, or -1.
int SizeIndex(const int (&table)[7], int nominal) {
    for (int i = 0; i < 7; ++i) {
        if (table[i] == nominal) return i;
    }
    return -1;
}

}  // namespace

// Returns true when it pushed a font that differs from the one below it.
bool HtmlParser::FontRoutine(bool preformatted) {
    const bool basefont = Sy() == S::BaseFontSy;
    int size = 0;  // 1..7 when given
    std::optional<Color> color;
    std::string face;
    for (const TAttribute& a : Attrs()) {
        if (a.Sym == S::SizeSy) {
            long n = a.Number;
            if (a.Text.size() >= 2 && (a.Text[0] == U'+' || a.Text[0] == U'-')) {
                n += base_font_size_;
            }
            size = static_cast<int>(std::clamp(n, 1L, 7L));
            if (basefont) base_font_size_ = size;
        } else if (a.Sym == S::ColorSy && !basefont) {
            if (auto c = GetColor(a.Text)) color = CanvasColor(*c);
        } else if (a.Sym == S::FaceSy && !basefont && !a.Text.empty()) {
            std::u32string f = a.Text.substr(0, kMaxFace);
            f = f.substr(0, f.find(U','));
            std::string t(text::Trim(text::ToUtf8(f)));
            if (!t.empty()) face = std::move(t);
        }
    }
    // BASEFONT changes the font only at the very start of the document.
    if (basefont && !(cell_ == &doc_ && doc_.Empty())) return false;
    if (!PushFont()) return false;
    if (size == 0 && !color && face.empty()) return false;  // an unchanged copy
    if (color) Top().FontColor = *color;
    if (size > 0) {
        Top().SetNormalSize(
            doc_, preformatted ? kFixedPitchSizes[size - 1] : kProportionalSizes[size - 1]);
    }
    if (!face.empty()) Top().Name = face;
    return true;
}

// BIG and SMALL always push a font, an unchanged copy when no step applies (a size that is
// in no table, BIG at size 7, SMALL at size 1), so that their end tags pop their own push.
void HtmlParser::BigSmallRoutine(bool preformatted) {
    const bool big = Sy() == S::BigSy;
    const int nominal = Top().NominalSize;
    const int(*table)[7] = &kProportionalSizes;
    int i = -1;
    if (preformatted) {
        i = SizeIndex(kFixedPitchSizes, nominal);
        if (i >= 0) table = &kFixedPitchSizes;
    }
    if (i < 0) i = SizeIndex(kProportionalSizes, nominal);
    if (!PushFont()) return;
    if (i < 0) return;
    const int j = big ? std::min(i + 1, 6) : std::max(i - 1, 0);
    if (j != i) Top().SetNormalSize(doc_, (*table)[j]);
}

}  // namespace quillon
