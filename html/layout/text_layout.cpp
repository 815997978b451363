// Layout of text sections: breaking the text into lines, line heights from fonts, images,
// form controls and inline blocks, alignment, floating images beside the text, and width limits.

#include <algorithm>
#include <cmath>

#include "html/layout/form_controls.h"
#include "html/layout/image_obj.h"
#include "html/layout/indent_manager.h"
#include "html/layout/line_pieces.h"
#include "html/layout/section.h"
#include "html/layout/section_list.h"
#include "html/layout/text_measure.h"

namespace quillon {

namespace {

// A line never wraps when laid out this wide (preformatted text).
constexpr int kNoWrapWidth = 32000;

bool IsPlaceholder(char32_t c) {
    return IsPlaceholderChar(c);
}

// The top of an inline block from the text's top, for a line whose text is `t` high with
// `descent` below its baseline: its baseline on the line's, or its middle at the text's.
// Blocks aligned with the top or bottom of the line are placed by LineEdgeTop once the
// rest of the line is known.
int BlockTop(const TInlineBlock& b, int t, int descent) {
    const int h = b.DrawnHeight;
    if (b.Placement == TInlineBlock::Align::Middle) return -(h - t - (h - t) / 2);
    return t - descent - b.Baseline;
}

bool AtLineEdge(const TInlineBlock& b) {
    return b.Placement == TInlineBlock::Align::Top || b.Placement == TInlineBlock::Align::Bottom;
}

// The top of a block aligned with the top or bottom of the line box, from the text's top.
int LineEdgeTop(const TInlineBlock& b, const LineRec& line) {
    return b.Placement == TInlineBlock::Align::Top
               ? -line.ExtraAbove
               : line.TextHeight + line.ExtraBelow - b.DrawnHeight;
}

// Breaks one section into lines. Every character is looked at a bounded number of times:
// the fitting walk measures stretches by subtraction from the advances, and the break
// search only moves within the line it ends.
class LineBreaker {
  public:
    // `text` is the section's text (TSection::TextView); `style` its text style or null.
    LineBreaker(Canvas& canvas, TSection& s, IndentManager& im, const std::vector<int>& adv,
                std::u32string_view text, bool no_wrap, const SectionTextStyle* style)
        : canvas_(canvas),
          s_(s),
          im_(im),
          adv_(adv),
          text_(text),
          n_(s.CharCount()),
          no_wrap_(no_wrap),
          line_height_(style ? style->LineHeight : 0),
          line_factor_(style ? style->LineHeightFactor : 0) {
        if (style && style->FirstLine) {
            indent_ = style->IndentPx(im.RightEdge - im.LeftEdge - s.LeftIndent());
        }
        for (int i = 0; i < n_; ++i) {
            if (IsPlaceholder(At(i))) marks_.push_back(i);
        }
    }

    // Lays out the lines from y; returns the y below the last and widens max_width.
    int Run(int y, int& max_width) {
        int start = 0;
        while (start < n_) {
            const int avail = im_.RightSide(y) - im_.LeftIndent(y);
            // The first line's indent; a negative one stops at the block's left edge.
            const int shift = start == 0 && indent_ != 0
                                  ? std::max(indent_, im_.LeftEdge - im_.LeftIndent(y))
                                  : 0;
            const int count = FitCount(start, y, avail - shift);
            const int end = BreakAt(start, count);
            y = FinishLine(start, end, y, max_width, shift);
            start = end;
        }
        return y;
    }

  private:
    int Adv(int i) const { return adv_[static_cast<std::size_t>(i)]; }
    char32_t At(int i) const { return text_[static_cast<std::size_t>(i)]; }
    // The first placeholder at or after i, or the end of the text.
    int NextMark(int i) const {
        const auto it = std::lower_bound(marks_.begin(), marks_.end(), i);
        return it == marks_.end() ? n_ : *it;
    }

    // How many characters from start fit in avail (at least 1). Floating images met before
    // any other content are placed at once and take their room from the line; floating
    // images met later are remembered and placed below the line.
    int FitCount(int start, int y, int avail) {
        deferred_.clear();
        int pos = start;
        int used = 0;
        bool content = false;
        while (pos < n_) {
            const char32_t c = At(pos);
            const int image = c == kImageChar ? ImageIndexAt(s_, pos) : -1;
            const int control = c == kFormControlChar ? ControlIndexAt(s_, pos) : -1;
            const int block = c == kInlineBlockChar ? BlockIndexAt(s_, pos) : -1;
            if (image >= 0 || control >= 0 || block >= 0) {
                TImageObj* img =
                    image >= 0 ? s_.InlineImages()[static_cast<std::size_t>(image)].get() : nullptr;
                const bool floating = img && img->Floating();
                int w = 0;
                if (block >= 0) {
                    w = s_.InlineBlocks()[static_cast<std::size_t>(block)]->DrawnWidth;
                } else if (!img) {
                    w = s_.InlineControls()[static_cast<std::size_t>(control)]->Width();
                } else if (!floating) {
                    w = img->DrawnWidth;
                } else if (!content) {
                    w = img->DrawnWidth + img->SideSpace;
                }
                // What does not fit starts the next line, unless it is the first thing.
                if (!no_wrap_ && pos > start && used + w > avail) break;
                if (floating && !content) {
                    im_.Update(y, *img);
                } else if (floating) {
                    deferred_.push_back(image);
                } else {
                    content = true;
                }
                used += w;
                ++pos;
                if (!no_wrap_ && used > avail) break;
                continue;
            }
            const int q = NextMark(pos + 1);
            if (no_wrap_) {
                used += Adv(q) - Adv(pos);
                pos = q;
                content = true;
                continue;
            }
            // The longest prefix of the stretch [pos, q) that fits in what is left.
            const int limit = Adv(pos) + (avail - used);
            const auto first = adv_.begin() + pos;
            const auto last = adv_.begin() + q + 1;
            const int b = std::max(
                pos, static_cast<int>(std::upper_bound(first, last, limit) - adv_.begin()) - 1);
            if (b > pos) content = true;
            used += Adv(b) - Adv(pos);
            pos = b;
            if (b < q) break;
        }
        return std::max(1, pos - start);
    }

    // Where the line that fits count characters from start ends.
    int BreakAt(int start, int count) const {
        int end = start + count;
        if (end >= n_) return n_;
        // A break at spaces keeps them on this line, never at the start of the next.
        if (At(end - 1) == U' ' || At(end) == U' ') {
            while (end < n_ && At(end) == U' ') ++end;
            return end;
        }
        if (IsPlaceholder(At(end))) return end;
        for (int k = end - 1; k >= start; --k) {
            if (At(k) == U' ' || IsPlaceholder(At(k))) return k + 1;
        }
        // A word longer than the line: it stays whole, with the spaces after it.
        while (end < n_ && At(end) != U' ' && !IsPlaceholder(At(end))) ++end;
        while (end < n_ && At(end) == U' ') ++end;
        return end;
    }

    // Stores the line [start, end) at y, `shift` pixels right of the margin; returns the y
    // below it.
    int FinishLine(int start, int end, int y, int& max_width, int shift) {
        LineRec line;
        line.TextStart = start;
        line.CharsInLine = end - start;

        const bool has_text = std::any_of(text_.begin() + start, text_.begin() + end,
                                          [](char32_t c) { return !IsPlaceholder(c); });
        int largest_pt = 0;  // font size in points
        if (has_text) {
            int run = 0;
            s_.FontRuns.GetFontObjAt(start, &run);
            for (; run < s_.FontRuns.Count(); ++run) {
                const TFontObj& f = s_.FontRuns[run];
                if (f.CharPos >= end && f.CharPos > start) break;
                line.TextHeight = std::max(line.TextHeight, f.LineHeight());
                line.MaxDescent = std::max(line.MaxDescent, f.Descent());
                largest_pt = std::max(largest_pt, f.Font().Size);
            }
        }
        // Trailing spaces do not count for alignment.
        int trimmed = end;
        while (trimmed > start && At(trimmed - 1) == U' ') --trimmed;
        int width = Adv(trimmed) - Adv(start);
        // Only images, controls and inline blocks need the walks over the line's pieces.
        const bool inlines = NextMark(start) < end;
        InlineExtent extent;
        if (inlines) {
            extent = ReachOfInlines(line, start, end, trimmed);
            width += extent.width;
        }

        if (has_text && line_factor_ > 0) {
            SetLineHeight(line, static_cast<int>(std::lround(line_factor_ * largest_pt * 96 / 72)));
        } else if (has_text && line_height_ > 0) {
            SetLineHeight(line, line_height_);
        }
        // Blocks aligned with the top or bottom of the line: a taller one makes the line as
        // high as itself, the rest of the line at its top when the tallest such block is
        // top-aligned, else at its bottom (as in Chromium).
        if (const int grow = std::max(extent.edge_top, extent.edge_bottom) - line.Advance();
            grow > 0) {
            (extent.edge_top >= extent.edge_bottom ? line.ExtraBelow : line.ExtraAbove) += grow;
        }
        const int left = im_.LeftIndent(y) + shift;
        // An unwrapped line wider than the room is aligned as if the room were its own.
        const int right = no_wrap_ ? std::max(left + width, im_.RightSide(y)) : im_.RightSide(y);
        switch (s_.BlockAlign) {
            case JustifyType::Centered:
                line.StartX = std::max(left, (left + right - width) / 2);
                break;
            case JustifyType::Right:
                // A line wider than the room starts at the margin rather than left of it.
                line.StartX = std::max(left, right - width);
                break;
            default:
                line.StartX = left;
                break;
        }
        max_width = std::max(max_width, line.StartX + width - im_.LeftEdge);

        if (inlines) PlaceInlines(line, start, end, y);

        const int advance = line.Advance();
        y += advance;
        for (const int i : deferred_) {
            TImageObj& img = *s_.InlineImages()[static_cast<std::size_t>(i)];
            if (img.CharPos >= end) continue;  // falls on a later line
            im_.Update(y, img);
        }
        s_.LineList.push_back(line);
        return y;
    }

    // What the images, controls and inline blocks of a line add to it.
    struct InlineExtent {
        int width = 0;        // before the trailing spaces
        int edge_top = 0;     // the tallest block aligned with the line's top
        int edge_bottom = 0;  // and with its bottom
    };

    // Widens the line [start, end) by how far its images, controls and inline blocks reach
    // above and below its text (blocks aligned with the line's top or bottom are placed
    // once the rest of the line is known); their width counts before `trimmed`.
    InlineExtent ReachOfInlines(LineRec& line, int start, int end, int trimmed) const {
        const int t = line.TextHeight;
        InlineExtent extent;
        ForEachPiece(s_, start, end, [&](const LinePiece& p) {
            if (p.kind == LinePiece::Kind::Image) {
                const TImageObj& img = *s_.InlineImages()[static_cast<std::size_t>(p.item)];
                if (img.Floating()) return;
                const int h = img.DrawnHeight;
                switch (img.Placement) {
                    case AlignmentType::Top:
                        line.ExtraBelow = std::max(line.ExtraBelow, h - t);
                        break;
                    case AlignmentType::Middle: {
                        const int below = (h - t) / 2;
                        line.ExtraBelow = std::max(line.ExtraBelow, below);
                        line.ExtraAbove = std::max(line.ExtraAbove, h - t - below);
                        break;
                    }
                    default:
                        line.ExtraAbove = std::max(line.ExtraAbove, h - (t - line.MaxDescent));
                        break;
                }
                if (p.begin < trimmed) extent.width += img.DrawnWidth;
            } else if (p.kind == LinePiece::Kind::Control) {
                const TFormControlObj& c = *s_.InlineControls()[static_cast<std::size_t>(p.item)];
                const int bottom = c.BaseLine ? t - line.MaxDescent : t;
                line.ExtraAbove = std::max(line.ExtraAbove, c.Height() - bottom);
                if (p.begin < trimmed) extent.width += c.Width();
            } else if (p.kind == LinePiece::Kind::Block) {
                const TInlineBlock& b = *s_.InlineBlocks()[static_cast<std::size_t>(p.item)];
                const int h = b.DrawnHeight;
                if (b.Placement == TInlineBlock::Align::Top) {
                    extent.edge_top = std::max(extent.edge_top, h);
                } else if (b.Placement == TInlineBlock::Align::Bottom) {
                    extent.edge_bottom = std::max(extent.edge_bottom, h);
                } else {
                    const int top = BlockTop(b, t, line.MaxDescent);
                    line.ExtraAbove = std::max(line.ExtraAbove, -top);
                    line.ExtraBelow = std::max(line.ExtraBelow, top + h - t);
                }
                if (p.begin < trimmed) extent.width += b.DrawnWidth;
            }
        });
        return extent;
    }

    // Places the images, controls and inline blocks of the line [start, end) stored at y.
    void PlaceInlines(const LineRec& line, int start, int end, int y) {
        const int t = line.TextHeight;
        const int text_top = y + line.ExtraAbove;
        const int baseline = text_top + t - line.MaxDescent;
        int x = line.StartX;
        ForEachPiece(s_, start, end, [&](const LinePiece& p) {
            if (p.kind == LinePiece::Kind::Text) {
                x += Adv(p.end) - Adv(p.begin);
            } else if (p.kind == LinePiece::Kind::Image) {
                const TImageObj& img = *s_.InlineImages()[static_cast<std::size_t>(p.item)];
                if (img.Floating()) return;  // placed by the indent manager
                const int h = img.DrawnHeight;
                int top = baseline - h;
                if (img.Placement == AlignmentType::Top) top = text_top;
                if (img.Placement == AlignmentType::Middle) top = text_top - (h - t - (h - t) / 2);
                s_.MutableInlines().ImageBoxes[static_cast<std::size_t>(p.item)] =
                    Rect{x, top, x + img.DrawnWidth, top + h};
                x += img.DrawnWidth;
            } else if (p.kind == LinePiece::Kind::Control) {
                const TFormControlObj& c = *s_.InlineControls()[static_cast<std::size_t>(p.item)];
                const int bottom = c.BaseLine ? baseline : text_top + t;
                s_.MutableInlines().ControlPlaces[static_cast<std::size_t>(p.item)] =
                    Point{x, bottom - c.Height()};
                x += c.Width();
            } else {
                TInlineBlock& b = *s_.InlineBlocks()[static_cast<std::size_t>(p.item)];
                const int top = text_top + (AtLineEdge(b) ? LineEdgeTop(b, line)
                                                          : BlockTop(b, t, line.MaxDescent));
                s_.MutableInlines().BlockPlaces[static_cast<std::size_t>(p.item)] = Point{x, top};
                b.Place(canvas_, top, s_.FirstCursor + b.CharPos);
                x += b.DrawnWidth;
            }
        });
    }

    // The line box is `height` high, the text in the middle of it (the difference to the
    // fonts' height is split above and below). Taller images still widen it; a smaller
    // height lets the text of neighbouring lines overlap, as it does in browsers.
    static void SetLineHeight(LineRec& line, int height) {
        const int leading = height - line.TextHeight;
        const int above = leading / 2;
        const int below = leading - above;
        if (line.ExtraAbove == 0 && line.ExtraBelow == 0) {
            line.ExtraAbove = above;
            line.ExtraBelow = below;
        } else {
            line.ExtraAbove = std::max(line.ExtraAbove, above);
            line.ExtraBelow = std::max(line.ExtraBelow, below);
        }
    }

    Canvas& canvas_;  // lays out the inline blocks where the line puts them
    TSection& s_;
    IndentManager& im_;
    const std::vector<int>& adv_;
    const std::u32string_view text_;
    const int n_;
    const bool no_wrap_;
    const int line_height_;     // 0: the fonts decide
    const double line_factor_;  // not 0: times the largest font size of the line
    int indent_ = 0;            // of the first line
    std::vector<int> deferred_;
    std::vector<int> marks_;  // positions of the placeholders
};

// The clear space of a section starting at y.
int ClearSpace(ClearAttrType mode, const IndentManager& im, int y) {
    const auto c = im.GetClearY();
    const int left = std::max(0, c.left - y - 1);
    const int right = std::max(0, c.right - y - 1);
    switch (mode) {
        case ClearAttrType::clLeft:
            return left;
        case ClearAttrType::clRight:
            return right;
        case ClearAttrType::clAll:
            return std::max(left, right);
        default:
            return 0;
    }
}

}  // namespace

int TSection::LayoutText(Canvas& canvas, int y, IndentManager& im, int& max_width, int& cursor,
                         const SectionTextStyle* style, bool no_wrap) {
    FirstCursor = cursor;
    LayoutY = y;
    Height = 0;
    LineList.clear();
    if (inlines_) {
        inlines_->ImageBoxes.assign(inlines_->Images.size(), Rect{});
        inlines_->ControlPlaces.assign(inlines_->Controls.size(), Point{});
        inlines_->BlockPlaces.assign(inlines_->Blocks.size(), Point{});
    }
    im.SetLevel(y, NestLevel);

    const int clear = ClearSpace(ClearMode, im, y);
    if (CharCount() == 0) {
        Height = clear;
        PaintHeight = Height;
        return Height;
    }

    const int avail = im.RightSide(y) - im.LeftIndent(y);
    if (!no_wrap) max_width = std::max(max_width, avail);
    for (const auto& image : InlineImages()) {
        image->DrawLogic(*Document, canvas, FontRuns.GetFontObjAt(image->CharPos), avail);
        max_width = std::max(max_width, image->DrawnWidth);
    }
    for (const TFormControlObj* c : InlineControls()) max_width = std::max(max_width, c->Width());
    for (const auto& block : InlineBlocks()) {
        block->Measure(canvas, avail);
        max_width = std::max(max_width, block->DrawnWidth);
    }

    int line_y = y;
    if (ClearMode != ClearAttrType::clrNone) {
        LineRec space;
        space.TextHeight = clear;
        space.StartX = im.LeftIndent(y);
        LineList.push_back(space);
        line_y += clear;
    }

    // Shared buffers, but for a section with inline blocks: laying those out lays out
    // sections inside them, which would reuse the buffers while this one still reads them.
    static thread_local std::vector<int> shared_adv;
    static thread_local std::u32string shared_scratch;
    std::vector<int> own_adv;
    std::u32string own_scratch;
    const bool nests = !InlineBlocks().empty();
    std::vector<int>& adv = nests ? own_adv : shared_adv;
    const std::u32string_view text = TextView(nests ? own_scratch : shared_scratch);
    MeasureAdvances(canvas, *this, text, adv);
    LineBreaker breaker(canvas, *this, im, adv, text, no_wrap, style);
    line_y = breaker.Run(line_y, max_width);
    for (std::size_t i = 0; i < InlineImages().size(); ++i) {
        const TImageObj& image = *InlineImages()[i];
        if (image.Floating()) {
            inlines_->ImageBoxes[i] =
                Rect{image.FloatX, image.FloatY, image.FloatX + image.DrawnWidth,
                     image.FloatY + image.DrawnHeight};
        }
    }

    Height = line_y - y;
    cursor += CharCount();
    // A list item beside a float that reaches past the list's indent ends below the float.
    if (NestLevel > 0) Height = std::max(Height, im.GetLevelClear() - y);
    PaintHeight = std::max(Height, im.ImageBottom() - y);
    return Height;
}

int TSection::DrawLogic(Canvas& canvas, int y, IndentManager& im, int& max_width, int& cursor) {
    const SectionTextStyle* style = TextStyleOf();
    return LayoutText(canvas, y, im, max_width, cursor, style, style && style->NoWrap);
}

int TPreFormated::DrawLogic(Canvas& canvas, int y, IndentManager& im, int& max_width, int& cursor) {
    // The room of the cell still counts as the section's width; the line may be wider.
    max_width = std::max(max_width, im.RightSide(y) - im.LeftIndent(y));
    const int right_edge = im.RightEdge;
    im.RightEdge = im.LeftEdge + kNoWrapWidth;
    const int height = LayoutText(canvas, y, im, max_width, cursor, TextStyleOf(), true);
    im.RightEdge = right_edge;
    return height;
}

namespace {

// The widths a section needs: all on one line, and its widest unbreakable piece.
struct Needs {
    int all = 0;
    int widest = 0;
    int floats = 0;
};

Needs MeasureNeeds(Canvas& canvas, TSection& s) {
    for (const auto& image : s.InlineImages()) {
        if (!image->WidthIsPercent) {
            image->DrawLogic(*s.Document, canvas, s.FontRuns.GetFontObjAt(image->CharPos), 0);
        }
    }
    std::vector<int> adv;
    static thread_local std::u32string shared_scratch;  // see TSection::LayoutText
    std::u32string own_scratch;
    const std::u32string_view text =
        s.TextView(s.InlineBlocks().empty() ? shared_scratch : own_scratch);
    MeasureAdvances(canvas, s, text, adv);
    Needs needs;
    int word_start = 0;
    const auto end_word = [&](int end) {
        needs.widest = std::max(needs.widest, adv[static_cast<std::size_t>(end)] -
                                                  adv[static_cast<std::size_t>(word_start)]);
    };
    for (int i = 0; i < s.CharCount(); ++i) {
        const char32_t c = text[static_cast<std::size_t>(i)];
        if (c != U' ' && !IsPlaceholder(c)) continue;
        end_word(i);
        word_start = i + 1;
        int w = 0;
        if (const int image = c == kImageChar ? ImageIndexAt(s, i) : -1; image >= 0) {
            const TImageObj& img = *s.InlineImages()[static_cast<std::size_t>(image)];
            if (img.WidthIsPercent) continue;
            if (img.Floating()) {
                needs.floats += img.DrawnWidth + img.SideSpace;
                continue;
            }
            w = img.DrawnWidth;
        } else if (const int control = c == kFormControlChar ? ControlIndexAt(s, i) : -1;
                   control >= 0) {
            w = s.InlineControls()[static_cast<std::size_t>(control)]->Width();
        } else if (const int block = c == kInlineBlockChar ? BlockIndexAt(s, i) : -1; block >= 0) {
            const MinMax m = s.InlineBlocks()[static_cast<std::size_t>(block)]->MinMaxWidth(canvas);
            needs.widest = std::max(needs.widest, m.Min);
            needs.all += m.Max;
            continue;
        }
        needs.widest = std::max(needs.widest, w);
        needs.all += w;
    }
    end_word(s.CharCount());
    needs.all += adv.back();
    return needs;
}

}  // namespace

MinMax TSection::MinMaxWidth(Canvas& canvas) {
    const Needs needs = MeasureNeeds(canvas, *this);
    const SectionTextStyle* style = TextStyleOf();
    if (!style) {
        return MinMax{needs.widest + needs.floats + LeftIndent(),
                      needs.all + needs.floats + LeftIndent()};
    }
    // A first line indented by pixels needs them too; unwrapped lines need all their width.
    const int indent =
        style->FirstLine && !style->IndentIsPercent ? std::max(0, style->IndentPx(0)) : 0;
    const int all = needs.all + needs.floats + LeftIndent() + indent;
    return MinMax{style->NoWrap ? all : needs.widest + needs.floats + LeftIndent() + indent, all};
}

MinMax TPreFormated::MinMaxWidth(Canvas& canvas) {
    const Needs needs = MeasureNeeds(canvas, *this);
    const int full = needs.all + needs.floats + LeftIndent();
    return MinMax{full, full};
}

}  // namespace quillon
