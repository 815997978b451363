#pragma once
// A line of a text section as pieces: stretches of text in one font run, and the images,
// form controls and inline blocks whose placeholders sit between them. Layout, drawing and hit
// tests walk lines the same way through this.

#include <algorithm>
#include <vector>

#include "html/layout/form_controls.h"
#include "html/layout/section.h"
#include "platform/core/canvas.h"

namespace quillon {

struct LinePiece {
    enum class Kind { Text, Image, Control, Block };
    Kind kind = Kind::Text;
    int begin = 0;  // character range in the section text
    int end = 0;
    const TFontObj* run = nullptr;  // the font run (text pieces and placeholders)
    int item = -1;                  // index in InlineImages, InlineControls or InlineBlocks
};

// The index of the image whose placeholder is at pos, or -1.
inline int ImageIndexAt(const TSection& s, int pos) {
    const auto& images = s.InlineImages();
    auto it = std::lower_bound(images.begin(), images.end(), pos,
                               [](const auto& image, int p) { return image->CharPos < p; });
    return it != images.end() && (*it)->CharPos == pos ? static_cast<int>(it - images.begin()) : -1;
}

// The index of the form control whose placeholder is at pos, or -1.
inline int ControlIndexAt(const TSection& s, int pos) {
    const auto& controls = s.InlineControls();
    auto it = std::lower_bound(controls.begin(), controls.end(), pos,
                               [](const TFormControlObj* c, int p) { return c->CharPos < p; });
    return it != controls.end() && (*it)->CharPos == pos ? static_cast<int>(it - controls.begin())
                                                         : -1;
}

// The index of the inline block whose placeholder is at pos, or -1.
inline int BlockIndexAt(const TSection& s, int pos) {
    const auto& blocks = s.InlineBlocks();
    auto it = std::lower_bound(blocks.begin(), blocks.end(), pos,
                               [](const auto& block, int p) { return block->CharPos < p; });
    return it != blocks.end() && (*it)->CharPos == pos ? static_cast<int>(it - blocks.begin()) : -1;
}

// Whether c stands for an image, a form control or an inline block: the three codes are
// consecutive, so that the test for every character of the text is one comparison.
static_assert(kInlineBlockChar == kFormControlChar + 1 && kImageChar == kFormControlChar + 2);
inline bool IsPlaceholderChar(char32_t c) {
    return c - kFormControlChar <= kImageChar - kFormControlChar;
}

// A character of section text as stored (Latin-1 bytes count as unsigned values).
inline char32_t PieceChar(std::string_view text, int i) {
    return static_cast<unsigned char>(text[static_cast<std::size_t>(i)]);
}
inline char32_t PieceChar(std::u32string_view text, int i) {
    return text[static_cast<std::size_t>(i)];
}

// Calls f(piece) for every piece of the characters [begin, end) of s, in order.
template <class F>
void ForEachPiece(const TSection& s, int begin, int end, F&& f) {
    s.VisitText([&](auto text) {
        const auto at = [&text](int i) { return PieceChar(text, i); };
        int run_index = 0;
        s.FontRuns.GetFontObjAt(begin, &run_index);
        int pos = begin;
        while (pos < end) {
            while (run_index + 1 < s.FontRuns.Count() && s.FontRuns[run_index + 1].CharPos <= pos) {
                ++run_index;
            }
            const TFontObj* run = &s.FontRuns[run_index];
            const char32_t c = at(pos);
            if (IsPlaceholderChar(c)) {
                const LinePiece::Kind kind = c == kImageChar         ? LinePiece::Kind::Image
                                             : c == kFormControlChar ? LinePiece::Kind::Control
                                                                     : LinePiece::Kind::Block;
                const int item = kind == LinePiece::Kind::Image     ? ImageIndexAt(s, pos)
                                 : kind == LinePiece::Kind::Control ? ControlIndexAt(s, pos)
                                                                    : BlockIndexAt(s, pos);
                if (item >= 0) {
                    f(LinePiece{kind, pos, pos + 1, run, item});
                    ++pos;
                    continue;
                }
            }
            int stop = run_index + 1 < s.FontRuns.Count()
                           ? std::min(end, s.FontRuns[run_index + 1].CharPos)
                           : end;
            int q = pos + 1;
            while (q < stop && !IsPlaceholderChar(at(q))) ++q;
            f(LinePiece{LinePiece::Kind::Text, pos, q, run, -1});
            pos = q;
        }
    });
}

// The fonts of a run as the canvas takes it.
inline void UseRunFont(Canvas& canvas, const TFontObj& run) {
    canvas.SetFont(run.Font().CanvasFont());
}

}  // namespace quillon
