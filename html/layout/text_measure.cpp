#include "html/layout/text_measure.h"

#include <algorithm>

#include "html/layout/line_pieces.h"

namespace quillon {

void MeasureAdvances(Canvas& canvas, const TSection& s, std::u32string_view text,
                     std::vector<int>& adv) {
    adv.assign(text.size() + 1, 0);
    std::vector<int> widths;
    ForEachPiece(s, 0, s.CharCount(), [&](const LinePiece& p) {
        const auto at = [&](int i) -> int& { return adv[static_cast<std::size_t>(i)]; };
        const int base = at(p.begin);
        if (p.kind != LinePiece::Kind::Text) {
            at(p.end) = base;
            return;
        }
        UseRunFont(canvas, *p.run);
        canvas.TextPrefixWidths(text.substr(static_cast<std::size_t>(p.begin),
                                            static_cast<std::size_t>(p.end - p.begin)),
                                widths);
        int last = base;
        for (int k = 0; k < p.end - p.begin; ++k) {
            last = std::max(last, base + widths[static_cast<std::size_t>(k)]);
            at(p.begin + k + 1) = last;
        }
    });
}

}  // namespace quillon
