// Hit tests of text sections: links under a point (images first), the text cursor under a
// point and the place of a cursor index. Points are in the coordinates of layout: x from
// the cell's left edge, y as the section was laid out.

#include <algorithm>
#include <string>

#include "html/layout/form_controls.h"
#include "html/layout/image_obj.h"
#include "html/layout/line_pieces.h"
#include "html/layout/map_item.h"
#include "html/layout/section.h"
#include "html/layout/section_list.h"
#include "html/layout/text_fold.h"

namespace quillon {

namespace {

// The line under y and its top, or -1.
int LineAt(const TSection& s, int y, int& line_top) {
    line_top = s.LayoutY;
    if (y < s.LayoutY || y >= s.LayoutY + s.Height) return -1;
    for (std::size_t i = 0; i < s.LineList.size(); ++i) {
        const int advance = s.LineList[i].Advance();
        if (y < line_top + advance) return static_cast<int>(i);
        line_top += advance;
    }
    return -1;
}

// The inline block whose box holds p, or -1.
int BlockAt(const TSection& s, Point p) {
    for (std::size_t i = 0; i < s.InlineBlocks().size() && i < s.BlockPlaces().size(); ++i) {
        const TInlineBlock& block = *s.InlineBlocks()[i];
        const Point at = s.BlockPlaces()[i];
        if (Rect{at.x, at.y, at.x + block.DrawnWidth, at.y + block.DrawnHeight}.Contains(p)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

// Walks the characters of a line from its start x, calling f(index, left, width) for each
// until f returns true. Returns the x after the last character walked.
template <class F>
int WalkLine(Canvas& canvas, const TSection& s, const LineRec& line, F&& f) {
    int x = line.StartX;
    bool done = false;
    std::vector<int> widths;
    ForEachPiece(s, line.TextStart, line.TextStart + line.CharsInLine, [&](const LinePiece& p) {
        if (done) return;
        if (p.kind == LinePiece::Kind::Image) {
            const TImageObj& image = *s.InlineImages()[static_cast<std::size_t>(p.item)];
            const int w = image.Floating() ? 0 : image.DrawnWidth;
            done = f(p.begin, x, w);
            if (!done) x += w;
            return;
        }
        if (p.kind == LinePiece::Kind::Control || p.kind == LinePiece::Kind::Block) {
            const int w = p.kind == LinePiece::Kind::Control
                              ? s.InlineControls()[static_cast<std::size_t>(p.item)]->Width()
                              : s.InlineBlocks()[static_cast<std::size_t>(p.item)]->DrawnWidth;
            done = f(p.begin, x, w);
            if (!done) x += w;
            return;
        }
        UseRunFont(canvas, *p.run);
        canvas.TextPrefixWidths(s.Text().substr(static_cast<std::size_t>(p.begin),
                                                static_cast<std::size_t>(p.end - p.begin)),
                                widths);
        int before = 0;
        for (int k = 0; k < p.end - p.begin; ++k) {
            const int w = widths[static_cast<std::size_t>(k)] - before;
            if (f(p.begin + k, x + before, w)) {
                x += before;
                done = true;
                return;
            }
            before = widths[static_cast<std::size_t>(k)];
        }
        x += before;
    });
    return x;
}

}  // namespace

std::optional<UrlHit> TSection::GetURL(Canvas& canvas, int x, int y) {
    if (y < LayoutY || y >= LayoutY + std::max(Height, PaintHeight)) return std::nullopt;
    for (std::size_t i = 0; i < InlineImages().size() && i < ImageBoxes().size(); ++i) {
        TImageObj& image = *InlineImages()[i];
        const Rect& box = ImageBoxes()[i];
        if (!box.Contains(Point{x, y})) continue;
        const int ix = x - box.left;
        const int iy = y - box.top;
        if (auto* button = dynamic_cast<TImageFormControlObj*>(image.MyFormControl)) {
            button->SetClickPosition(ix, iy);
            return UrlHit{TUrlTarget{}, button};
        }
        if (image.ClientMap) {
            if (const TMapItem* map = Document->FindImageMap(image.ClientMapName)) {
                if (auto url = map->GetURL(ix, iy)) return UrlHit{*url, nullptr};
                return std::nullopt;
            }
        }
        const TFontObj* run = FontRuns.GetFontObjAt(image.CharPos);
        if (!run || run->Link().Empty()) return std::nullopt;
        UrlHit hit{run->Link(), nullptr};
        if (image.ServerMap) {
            hit.Url.URL.append("?")
                .append(std::to_string(ix))
                .append(",")
                .append(std::to_string(iy));
        }
        return hit;
    }
    // The links inside an inline block: its content was laid out from the block's left edge.
    if (const int i = BlockAt(*this, Point{x, y}); i >= 0) {
        const Point at = BlockPlaces()[static_cast<std::size_t>(i)];
        return InlineBlocks()[static_cast<std::size_t>(i)]->Body.GetURL(canvas, x - at.x, y);
    }
    int line_top = 0;
    const int li = LineAt(*this, y, line_top);
    if (li < 0) return std::nullopt;
    const LineRec& line = LineList[static_cast<std::size_t>(li)];
    if (x < line.StartX) return std::nullopt;
    int under = -1;
    WalkLine(canvas, *this, line, [&](int index, int left, int width) {
        if (x < left + width) {
            under = index;
            return true;
        }
        return false;
    });
    if (under < 0 || CharAt(under) == kImageChar || CharAt(under) == kInlineBlockChar) {
        return std::nullopt;
    }
    const TFontObj* run = FontRuns.GetFontObjAt(under);
    if (!run || run->Link().Empty()) return std::nullopt;
    return UrlHit{run->Link(), nullptr};
}

CursorHit TSection::FindCursor(Canvas& canvas, int x, int y) {
    // On the text of an inline block: a caret in its content.
    if (const int i = BlockAt(*this, Point{x, y}); i >= 0) {
        TInlineBlock& block = *InlineBlocks()[static_cast<std::size_t>(i)];
        const Point at = BlockPlaces()[static_cast<std::size_t>(i)];
        CursorHit hit = block.Body.FindCursor(canvas, x - at.x, y);
        if (hit.Index >= 0) {
            hit.X += at.x;
            hit.Blocks.insert(hit.Blocks.begin(), {&block, FirstCursor + block.CharPos});
            return hit;
        }
    }
    int line_top = 0;
    const int li = LineAt(*this, y, line_top);
    if (li < 0) return {};
    const LineRec& line = LineList[static_cast<std::size_t>(li)];
    CursorHit hit;
    hit.Y = line_top;
    hit.Height = line.Advance();
    int index = line.TextStart + line.CharsInLine;
    int at_x = line.StartX;
    if (x <= line.StartX) {
        index = line.TextStart;
    } else {
        at_x = WalkLine(canvas, *this, line, [&](int i, int left, int width) {
            // Past the middle of a character counts as after it.
            if (2 * (x - left) <= width) {
                index = i;
                return true;
            }
            return false;
        });
    }
    hit.Index = FirstCursor + index;
    hit.X = at_x;
    return hit;
}

std::optional<Point> TSection::CursorToXY(Canvas& canvas, int cursor) {
    if (cursor < FirstCursor || cursor >= FirstCursor + CharCount()) return std::nullopt;
    const int index = cursor - FirstCursor;
    int line_top = LayoutY;
    for (const LineRec& line : LineList) {
        if (index >= line.TextStart && index < line.TextStart + line.CharsInLine) {
            const int x =
                WalkLine(canvas, *this, line, [&](int i, int, int) { return i == index; });
            return Point{x, line_top};
        }
        line_top += line.Advance();
    }
    return std::nullopt;
}

std::vector<std::pair<int, int>> TSection::HiddenRanges() const {
    std::vector<std::pair<int, int>> ranges;
    const int count = FontRuns.Count();
    for (int i = 0; i < count; ++i) {
        if (!FontRuns[i].Font().Hidden()) continue;
        const int first = FontRuns[i].CharPos;
        const int end = i + 1 < count ? FontRuns[i + 1].CharPos : CharCount();
        if (!ranges.empty() && ranges.back().second == first) {
            ranges.back().second = end;
        } else if (first < end) {
            ranges.emplace_back(first, end);
        }
    }
    return ranges;
}

int TSection::FindString(int from, std::u32string_view to_find, bool match_case,
                         char32_t replacement) {
    if (to_find.empty()) return -1;
    std::size_t start = static_cast<std::size_t>(std::max(0, from - FirstCursor));
    if (start >= text_.size()) return -1;
    // A match that takes a character of hidden text is not one: the search goes on after
    // its first character.
    const std::vector<std::pair<int, int>> hidden = HiddenRanges();
    const auto touches_hidden = [&hidden, n = static_cast<int>(to_find.size())](std::size_t at) {
        const int first = static_cast<int>(at);
        for (const auto& [b, e] : hidden) {
            if (b < first + n && first < e) return true;
        }
        return false;
    };
    std::size_t found = std::u32string::npos;
    if (match_case) {
        found = text_.find(to_find, start);
        while (found != std::u32string::npos && !hidden.empty() && touches_hidden(found)) {
            found = text_.find(to_find, found + 1);
        }
        if (found != std::u32string::npos && replacement != 0) text_.set(found, replacement);
    } else {
        // Candidates start with the first character in either case; each is compared
        // over the whole search text.
        const char32_t first = FoldCase(to_find.front());
        std::u32string scratch;
        const std::u32string_view text = text_.View(scratch);
        for (std::size_t i = start; i + to_find.size() <= text.size(); ++i) {
            if (FoldCase(text[i]) != first) continue;
            if (EqualsFolded(text.substr(i, to_find.size()), to_find) &&
                (hidden.empty() || !touches_hidden(i))) {
                found = i;
                break;
            }
        }
    }
    return found == std::u32string::npos ? -1 : FirstCursor + static_cast<int>(found);
}

}  // namespace quillon
