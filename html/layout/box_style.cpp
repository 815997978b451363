#include "html/layout/box_style.h"

#include <algorithm>
#include <cmath>

#include "html/layout/section_base.h"
#include "platform/core/canvas.h"

namespace quillon {

int BoxLength::Resolve(int room) const {
    if (Percent < 0) return Pixels;
    return static_cast<int>(std::lround(std::max(0, room) * Percent / 100.0));
}

SectionBoxes::SectionBoxes(std::vector<BoxMembership> boxes) : list_(std::move(boxes)) {
    // A membership without a style decorates nothing.
    std::erase_if(list_, [](const BoxMembership& b) { return !b.Style; });
    for (const BoxMembership& b : list_) {
        if (b.First) top_ += b.Style->Inset(kBoxTop);
        if (b.Last) bottom_ += b.Style->Inset(kBoxBottom);
        left_ += b.Style->Inset(kBoxLeft);
        right_ += b.Style->Inset(kBoxRight);
        sized_ = sized_ || b.Style->Size.Constrained();
        min_height_ = min_height_ || b.Style->Size.MinHeight > 0;
        picture_ = picture_ || b.Style->Picture;
    }
    if (picture_) picture_areas_.resize(list_.size());
    if (std::any_of(list_.begin(), list_.end(),
                    [](const BoxMembership& b) { return b.Style->HasPercentages(); })) {
        // Until Fit resolves them, percentages count as 0.
        for (const BoxMembership& b : list_) {
            resolved_.push_back(Resolved{b.Style->Margin, b.Style->Padding});
        }
    }
    if (sized_) beside_.resize(list_.size());
    if (min_height_) grow_.resize(list_.size());
}

void SectionBoxes::Fit(int room) {
    std::fill(grow_.begin(), grow_.end(), 0);
    grown_ = 0;
    if (!sized_ && resolved_.empty()) return;
    extra_left_ = extra_right_ = 0;
    if (!resolved_.empty()) top_ = bottom_ = left_ = right_ = 0;
    for (std::size_t i = 0; i < list_.size(); ++i) {
        const BoxStyle& s = *list_[i].Style;
        if (!resolved_.empty()) {
            // Every side's percentage is of the width of the room, as in browsers.
            for (std::size_t side = 0; side < 4; ++side) {
                if (s.MarginPercent[side] >= 0) {
                    resolved_[i].Margin[side] = BoxLength{0, s.MarginPercent[side]}.Resolve(room);
                }
                if (s.PaddingPercent[side] >= 0) {
                    resolved_[i].Padding[side] = BoxLength{0, s.PaddingPercent[side]}.Resolve(room);
                }
            }
            if (list_[i].First) top_ += InsetOf(i, kBoxTop);
            if (list_[i].Last) bottom_ += InsetOf(i, kBoxBottom);
            left_ += InsetOf(i, kBoxLeft);
            right_ += InsetOf(i, kBoxRight);
        }
        const int insets = InsetOf(i, kBoxLeft) + InsetOf(i, kBoxRight);
        const int fill = room - insets;
        if (!sized_) {
            room = fill;
            continue;
        }
        Beside& b = beside_[i];
        b = Beside{};
        if (s.Size.Constrained()) {
            // A percentage is of the content width of the box around it (`room`).
            int width = s.Size.Width ? s.Size.Width->Resolve(room) : fill;
            if (s.Size.MaxWidth) width = std::min(width, s.Size.MaxWidth->Resolve(room));
            if (s.Size.MinWidth) width = std::max(width, s.Size.MinWidth->Resolve(room));
            width = std::max(0, width);
            // What the width leaves goes to the auto margins, else to the right: a box
            // wider than its room overflows to the right.
            const int free = fill - width;
            if (free > 0 && s.Size.AutoLeft && s.Size.AutoRight) {
                b.left = free / 2;
                b.right = free - b.left;
            } else if (free > 0 && s.Size.AutoLeft) {
                b.left = free;
            } else {
                b.right = free;
            }
        }
        extra_left_ += b.left;
        extra_right_ += b.right;
        room = fill - b.left - b.right;
    }
}

void SectionBoxes::SetPictureArea(std::size_t index, int top, int height) {
    if (index < picture_areas_.size()) picture_areas_[index] = PictureArea{top, height};
}

void SectionBoxes::Grow(std::size_t index, int pixels) {
    if (index >= grow_.size() || pixels <= 0) return;
    grow_[index] += pixels;
    grown_ += pixels;
}

MinMax SectionBoxes::Widen(MinMax m) const {
    for (std::size_t i = list_.size(); i-- > 0;) {
        const BoxStyle& s = *list_[i].Style;
        // Pixel widths hold whatever the content; percentages depend on the room.
        if (const auto w = FixedPixels(s.Size.Width)) m = MinMax{*w, *w};
        if (const auto w = FixedPixels(s.Size.MaxWidth))
            m = MinMax{std::min(m.Min, *w), std::min(m.Max, *w)};
        if (const auto w = FixedPixels(s.Size.MinWidth))
            m = MinMax{std::max(m.Min, *w), std::max(m.Max, *w)};
        const int insets = s.Inset(kBoxLeft) + s.Inset(kBoxRight);
        m.Min += insets;
        m.Max += insets;
    }
    return m;
}

void BoxPictureAreas::Add(SectionBoxes& boxes, int flow_top, int flow_height) {
    const std::span<const BoxMembership> list = boxes.List();
    int top = flow_top;
    for (std::size_t i = 0; i < list.size(); ++i) {
        const BoxStyle& s = *list[i].Style;
        if (list[i].First) {
            if (s.Picture) {
                open_.push_back(
                    Open{&s, top + boxes.MarginOf(i, kBoxTop) + s.Border[kBoxTop].Room(), {}});
            }
            top += boxes.InsetOf(i, kBoxTop);
        }
        if (!s.Picture) continue;
        for (auto it = open_.rbegin(); it != open_.rend(); ++it) {
            if (it->style == &s) {
                it->members.push_back(Member{&boxes, i, flow_top});
                break;
            }
        }
    }
    // The boxes this section ends, innermost first: the bottom of each padding area lies
    // above the bottom edges (and the growth) of the boxes around it and its own.
    const int bottom = flow_top + flow_height;
    int outer = 0;  // the room at the bottom taken by the ended boxes outside box i
    for (std::size_t i = 0; i < list.size(); ++i) {
        const BoxStyle& s = *list[i].Style;
        if (!list[i].Last) continue;
        if (s.Picture) {
            const auto it = std::find_if(open_.rbegin(), open_.rend(),
                                         [&](const Open& o) { return o.style == &s; });
            if (it != open_.rend()) {
                const int end =
                    bottom - outer - boxes.MarginOf(i, kBoxBottom) - s.Border[kBoxBottom].Room();
                for (const Member& m : it->members) {
                    m.boxes->SetPictureArea(m.index, it->top - m.flow_top, end - it->top);
                }
                open_.erase(std::next(it).base());
            }
        }
        outer += boxes.InsetOf(i, kBoxBottom) + boxes.GrowthOf(i);
    }
}

void BoxHeights::Opening(const SectionBoxes& boxes, int flow_top) {
    int top = flow_top;
    const std::span<const BoxMembership> list = boxes.List();
    for (std::size_t i = 0; i < list.size(); ++i) {
        const BoxMembership& b = list[i];
        if (!b.First) continue;
        top += boxes.InsetOf(i, kBoxTop);
        if (b.Style->Size.MinHeight > 0) tops_.emplace_back(b.Style.get(), top);
    }
}

int BoxHeights::Closing(SectionBoxes& boxes, int flow_top, int flow_height) {
    const std::span<const BoxMembership> list = boxes.List();
    int added = 0;
    // Innermost first: an outer box measures its content with the inner boxes grown. The
    // content of box i ends above the bottom edges of the boxes it ends, itself included.
    for (std::size_t i = list.size(); i-- > 0;) {
        const BoxMembership& b = list[i];
        if (!b.Last || b.Style->Size.MinHeight <= 0) continue;
        const auto it = std::find_if(tops_.rbegin(), tops_.rend(),
                                     [&](const auto& t) { return t.first == b.Style.get(); });
        if (it == tops_.rend()) continue;
        const int content_top = it->second;
        tops_.erase(std::next(it).base());
        int bottom = flow_top + flow_height + added;
        for (std::size_t j = 0; j <= i; ++j) {
            if (list[j].Last) bottom -= boxes.InsetOf(j, kBoxBottom);
        }
        const int need = content_top + b.Style->Size.MinHeight - bottom;
        if (need > 0) {
            boxes.Grow(i, need);
            added += need;
        }
    }
    return added;
}

void SectionBoxes::Paint(Canvas& canvas, int left, int right, int slot_top, int slot_bottom,
                         TSectionList* doc) const {
    // The outer border edge of every box on this section, outermost first.
    std::vector<Rect> edges;
    edges.reserve(list_.size());
    int top_used = 0, bottom_used = 0;
    for (std::size_t i = 0; i < list_.size(); ++i) {
        const BoxMembership& b = list_[i];
        if (sized_) {
            left += beside_[i].left;
            right -= beside_[i].right;
        }
        Rect r{left + MarginOf(i, kBoxLeft), slot_top, right - MarginOf(i, kBoxRight), slot_bottom};
        if (b.First) {
            r.top = slot_top + top_used + MarginOf(i, kBoxTop);
            top_used += InsetOf(i, kBoxTop);
        }
        if (b.Last) {
            r.bottom = slot_bottom - bottom_used - MarginOf(i, kBoxBottom);
            bottom_used += InsetOf(i, kBoxBottom) + (min_height_ ? grow_[i] : 0);
        }
        edges.push_back(r);
        left += InsetOf(i, kBoxLeft);
        right -= InsetOf(i, kBoxRight);
    }
    for (std::size_t i = 0; i < list_.size(); ++i) {
        const BoxStyle& s = *list_[i].Style;
        const Rect& r = edges[i];
        if (s.Hidden) continue;
        if (s.Background && r.right > r.left && r.bottom > r.top) {
            canvas.FillRect(r, *s.Background);
        }
        const PictureArea* area = picture_ ? &picture_areas_[i] : nullptr;
        if (s.Picture && doc && area && area->height > 0) {
            if (const RgbaImage* image = s.Picture->Load(*doc)) {
                const int top = slot_top + area->top;
                const Rect padding{r.left + s.Border[kBoxLeft].Room(), top,
                                   r.right - s.Border[kBoxRight].Room(), top + area->height};
                PaintPicture(canvas, padding, Rect{r.left, slot_top, r.right, slot_bottom}, *image,
                             *s.Picture);
            }
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
