#include "html/layout/box_style.h"

#include <algorithm>

#include "platform/core/canvas.h"

namespace quillon {

SectionBoxes::SectionBoxes(std::vector<BoxMembership> boxes) : list_(std::move(boxes)) {
    // A membership without a style decorates nothing.
    std::erase_if(list_, [](const BoxMembership& b) { return !b.Style; });
    for (const BoxMembership& b : list_) {
        if (b.First) top_ += b.Style->Inset(kBoxTop);
        if (b.Last) bottom_ += b.Style->Inset(kBoxBottom);
        left_ += b.Style->Inset(kBoxLeft);
        right_ += b.Style->Inset(kBoxRight);
    }
}

void SectionBoxes::Paint(Canvas& canvas, int left, int right, int slot_top, int slot_bottom) const {
    // The outer border edge of every box on this section, outermost first.
    std::vector<Rect> edges;
    edges.reserve(list_.size());
    int top_used = 0, bottom_used = 0;
    for (const BoxMembership& b : list_) {
        const BoxStyle& s = *b.Style;
        Rect r{left + s.Margin[kBoxLeft], slot_top, right - s.Margin[kBoxRight], slot_bottom};
        if (b.First) {
            r.top = slot_top + top_used + s.Margin[kBoxTop];
            top_used += s.Inset(kBoxTop);
        }
        if (b.Last) {
            r.bottom = slot_bottom - bottom_used - s.Margin[kBoxBottom];
            bottom_used += s.Inset(kBoxBottom);
        }
        edges.push_back(r);
        left += s.Inset(kBoxLeft);
        right -= s.Inset(kBoxRight);
    }
    for (std::size_t i = 0; i < list_.size(); ++i) {
        const BoxStyle& s = *list_[i].Style;
        const Rect& r = edges[i];
        if (s.Hidden) continue;
        if (s.Background && r.right > r.left && r.bottom > r.top) {
            canvas.FillRect(r, *s.Background);
        }
        if (s.HasBorder()) {
            PaintBoxBorders(canvas, r, s.Border, {list_[i].First, true, list_[i].Last, true});
        }
    }
}

namespace {

// Pieces of `length` pixels from `from` to `to` with `gap` pixels between them; the last
// piece is cut at `to`.
template <class F>
void Pieces(int from, int to, int length, int gap, F&& f) {
    for (int a = from; a < to; a += length + gap) f(a, std::min(to, a + length));
}

}  // namespace

void PaintBorderEdge(Canvas& canvas, const Rect& band, const BorderEdge& edge, bool horizontal) {
    if (!edge.Shown() || band.right <= band.left || band.bottom <= band.top) return;
    const int w = horizontal ? band.Height() : band.Width();
    const Color c = edge.Colour;
    switch (edge.Style) {
        case BorderLineStyle::Dashed:
        case BorderLineStyle::Dotted: {
            const bool dots = edge.Style == BorderLineStyle::Dotted;
            const int length = dots ? w : std::max(3, 3 * w);
            const int gap = dots ? w : std::max(2, 2 * w);
            if (horizontal) {
                Pieces(band.left, band.right, length, gap, [&](int a, int b) {
                    canvas.FillRect(Rect{a, band.top, b, band.bottom}, c);
                });
            } else {
                Pieces(band.top, band.bottom, length, gap, [&](int a, int b) {
                    canvas.FillRect(Rect{band.left, a, band.right, b}, c);
                });
            }
            return;
        }
        case BorderLineStyle::Double:
            if (w >= 3) {
                const int line = w / 3;
                if (horizontal) {
                    canvas.FillRect(Rect{band.left, band.top, band.right, band.top + line}, c);
                    canvas.FillRect(Rect{band.left, band.bottom - line, band.right, band.bottom},
                                    c);
                } else {
                    canvas.FillRect(Rect{band.left, band.top, band.left + line, band.bottom}, c);
                    canvas.FillRect(Rect{band.right - line, band.top, band.right, band.bottom}, c);
                }
                return;
            }
            break;  // too thin for two lines: solid
        default:
            break;
    }
    canvas.FillRect(band, c);
}

void PaintBoxBorders(Canvas& canvas, const Rect& box, const std::array<BorderEdge, 4>& edges,
                     const std::array<bool, 4>& draw) {
    // The top and bottom edges span the corners; the sides run between them.
    const int top = draw[kBoxTop] ? edges[kBoxTop].Room() : 0;
    const int bottom = draw[kBoxBottom] ? edges[kBoxBottom].Room() : 0;
    if (top > 0) {
        PaintBorderEdge(canvas, Rect{box.left, box.top, box.right, box.top + top}, edges[kBoxTop],
                        true);
    }
    if (bottom > 0) {
        PaintBorderEdge(canvas, Rect{box.left, box.bottom - bottom, box.right, box.bottom},
                        edges[kBoxBottom], true);
    }
    const int side_top = box.top + top, side_bottom = box.bottom - bottom;
    if (draw[kBoxLeft]) {
        const int w = edges[kBoxLeft].Room();
        PaintBorderEdge(canvas, Rect{box.left, side_top, box.left + w, side_bottom},
                        edges[kBoxLeft], false);
    }
    if (draw[kBoxRight]) {
        const int w = edges[kBoxRight].Room();
        PaintBorderEdge(canvas, Rect{box.right - w, side_top, box.right, side_bottom},
                        edges[kBoxRight], false);
    }
}

}  // namespace quillon
