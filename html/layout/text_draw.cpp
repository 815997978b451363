// Painting text sections: the lines in view, their font runs on the baseline, images,
// form controls, inline blocks, the selection, and the markers of list items.

#include <algorithm>

#include "html/layout/form_controls.h"
#include "html/layout/image_obj.h"
#include "html/layout/line_pieces.h"
#include "html/layout/list_item.h"
#include "html/layout/list_marker.h"
#include "html/layout/print_marker.h"
#include "html/layout/section.h"
#include "html/layout/section_list.h"

namespace quillon {

namespace {

// How far a run's text top lies below the line's baseline (negative: above).
int RunTextTop(const TFontObj& run, int baseline) {
    int top = baseline - (run.CharHeight() - run.Descent());
    if (run.SScript == SubSuperType::SupSc) top -= run.LineHeight() / 3;
    if (run.SScript == SubSuperType::SubSc) top += run.Descent() / 2 + 1;
    return top;
}

bool IsHidden(const TFontObj* run) {
    return run && run->Font().Hidden();
}

// While an inline block draws, the document's selection is told in the numbering of the
// block's content: all of it when the selection holds the block's placeholder, none of it
// when the selection lies elsewhere in the text around it, and the selection itself when
// it lies in this block (or in one inside it).
class BlockSelection {
  public:
    BlockSelection(TSectionList& doc, const TInlineBlock& block, int placeholder)
        : doc_(doc), saved_{doc.SelStart, doc.SelEnd, doc.SelBlock} {
        if (doc.SelBlock == &block) {
            doc.SelBlock = nullptr;
        } else if (!doc.SelBlock) {
            const bool whole = doc.SelStart <= placeholder && placeholder < doc.SelEnd;
            const int start = block.Body.StartCurs;
            doc.SetSelection(SelRange{start, whole ? start + block.Body.Len : start, nullptr});
        }
    }
    ~BlockSelection() { doc_.SetSelection(saved_); }
    BlockSelection(const BlockSelection&) = delete;
    BlockSelection& operator=(const BlockSelection&) = delete;

  private:
    TSectionList& doc_;
    const SelRange saved_;
};

}  // namespace

int TSection::Draw(Canvas& canvas, const Rect& clip, IndentManager& /*im*/, int x, int y) {
    TopY = y;
    const int dy = y - LayoutY;  // layout y to drawing y
    TSectionList& doc = *Document;
    const int reach = std::max(Height, PaintHeight);
    if (y + reach <= clip.top || y >= clip.bottom) return y + Height;
    TPrintMarker marker(canvas, *this);

    // Floating images at their places.
    for (std::size_t i = 0; i < InlineImages().size() && i < ImageBoxes().size(); ++i) {
        TImageObj& image = *InlineImages()[i];
        if (!image.Floating() || IsHidden(FontRuns.GetFontObjAt(image.CharPos))) continue;
        const Rect box = ImageBoxes()[i].Offset(x, dy);
        if (box.bottom <= clip.top || box.top >= clip.bottom) continue;
        image.Draw(canvas, box.left, box.top, FontRuns.GetFontObjAt(image.CharPos));
        marker.Piece(FontRuns.GetFontObjAt(image.CharPos), box);
    }

    // A selection inside an inline block is drawn by the block.
    const bool selecting = !doc.IsPrinting && doc.SelEnd > doc.SelStart && !doc.SelBlock;
    // The shared buffer, but for a section with inline blocks, whose sections draw with it.
    static thread_local std::u32string shared_scratch;
    std::u32string own_scratch;
    const std::u32string_view text =
        TextView(InlineBlocks().empty() ? shared_scratch : own_scratch);
    int line_top = y;
    for (std::size_t li = 0; li < LineList.size(); ++li) {
        const LineRec& line = LineList[li];
        const int advance = line.Advance();
        if (line_top >= clip.bottom) break;  // the lines below it are lower still
        if (line_top + advance <= clip.top) {
            line_top += advance;
            continue;
        }
        const int line_x = x + line.StartX;
        const int text_top = line_top + line.ExtraAbove;
        const int baseline = text_top + line.TextHeight - line.MaxDescent;
        if (line.CharsInLine > 0 && line.TextStart == 0 && !IsHidden(FontRuns.GetFontObjAt(0))) {
            DrawMarker(canvas, line, line_x, line_top);
        }
        if (li == 0) marker.FirstLine(Point{line_x, line_top});

        int px = line_x;
        ForEachPiece(
            *this, line.TextStart, line.TextStart + line.CharsInLine, [&](const LinePiece& p) {
                if (p.kind == LinePiece::Kind::Image) {
                    TImageObj& image = *InlineImages()[static_cast<std::size_t>(p.item)];
                    if (image.Floating()) return;
                    if (IsHidden(p.run)) {
                        px += image.DrawnWidth;
                        return;
                    }
                    const Rect box = ImageBoxes()[static_cast<std::size_t>(p.item)].Offset(x, dy);
                    image.Draw(canvas, box.left, box.top, p.run);
                    marker.Piece(p.run, box);
                    px += image.DrawnWidth;
                    return;
                }
                if (p.kind == LinePiece::Kind::Block) {
                    TInlineBlock& block = *InlineBlocks()[static_cast<std::size_t>(p.item)];
                    const Point at = BlockPlaces()[static_cast<std::size_t>(p.item)];
                    const BlockSelection selection(doc, block, FirstCursor + p.begin);
                    block.Draw(canvas, clip, at.x + x, at.y + dy);
                    px += block.DrawnWidth;
                    return;
                }
                if (p.kind == LinePiece::Kind::Control) {
                    TFormControlObj& c = *InlineControls()[static_cast<std::size_t>(p.item)];
                    const Point at = ControlPlaces()[static_cast<std::size_t>(p.item)];
                    c.ShownThisPaint = true;
                    if (doc.IsPrinting || !c.Control()) {
                        c.Draw(canvas, at.x + x, at.y + dy);
                    } else {
                        c.Show(at.x + x, at.y + dy);
                    }
                    px += c.Width();
                    return;
                }
                const TFontObj& run = *p.run;
                if (IsHidden(&run)) {
                    canvas.SetFont(run.Font().CanvasFont());
                    px += canvas.TextWidth(text.substr(static_cast<std::size_t>(p.begin),
                                                       static_cast<std::size_t>(p.end - p.begin)));
                    return;
                }
                const int top = RunTextTop(run, baseline);
                const int left = px;
                int pos = p.begin;
                while (pos < p.end) {
                    // Pieces end at the selection bounds.
                    const int sel_a = doc.SelStart - FirstCursor;
                    const int sel_b = doc.SelEnd - FirstCursor;
                    const bool selected = selecting && pos >= sel_a && pos < sel_b;
                    int stop = p.end;
                    if (selecting && pos < sel_a) stop = std::min(p.end, sel_a);
                    if (selected) stop = std::min(p.end, sel_b);
                    const std::u32string_view piece = text.substr(
                        static_cast<std::size_t>(pos), static_cast<std::size_t>(stop - pos));
                    FontSpec font = run.Font().CanvasFont();
                    if (selected) {
                        const Color ink = font.color;
                        font.color = doc.Background();
                        canvas.SetFont(font);
                        canvas.DrawText(px, top, piece, ink);
                    } else {
                        canvas.SetFont(font);
                        canvas.DrawText(px, top, piece);
                    }
                    px += canvas.TextWidth(piece);
                    pos = stop;
                }
                marker.Piece(&run, Rect{left, top, px, top + run.CharHeight()});
            });
        line_top += advance;
    }
    return y + Height;
}

std::u32string TUListItem::MarkerText() const {
    if (ItemKind != ListTypeType::Unordered || Plain) return {};
    return U"\u2022";
}

void TUListItem::DrawMarker(Canvas& canvas, const LineRec& line, int line_x, int line_top) {
    if (ItemKind != ListTypeType::Unordered || Plain) return;
    const int cx = line_x - 8;
    const int cy = line_top + line.ExtraAbove + line.TextHeight / 2;
    const Rect dot{cx - 2, cy - 2, cx + 3, cy + 3};
    if (LightBackground(Document->Background())) {
        canvas.FillEllipse(dot, BulletColor(NestLevel));
    } else {
        canvas.FrameEllipse(dot, StartFont.FontColor);
    }
}

std::u32string TOListItem::MarkerText() const {
    return ItemNumberText(ItemNumber, NumberStyle);
}

void TOListItem::DrawMarker(Canvas& canvas, const LineRec& line, int line_x, int line_top) {
    const std::u32string number = MarkerText();
    canvas.SetFont(StartFont.CanvasFont());
    const FontMetrics m = canvas.Metrics();
    const int baseline = line_top + line.ExtraAbove + line.TextHeight - line.MaxDescent;
    const int right = line_x - 5;
    canvas.DrawText(right - canvas.TextWidth(number), baseline - m.ascent, number);
}

}  // namespace quillon
