#include "html/layout/inline_block.h"

#include <algorithm>

#include "html/layout/section.h"
#include "html/layout/section_list.h"

namespace quillon {

namespace {

// The baseline of the last line of text among the sections, from `top`; none without one.
std::optional<int> LastBaseline(const TCell& body, int top) {
    std::optional<int> baseline;
    for (const auto& s : body.Sections()) {
        const auto* text = dynamic_cast<const TSection*>(s.get());
        if (!text || text->LineList.empty()) continue;
        int y = text->LayoutY;
        for (std::size_t i = 0; i + 1 < text->LineList.size(); ++i) {
            y += text->LineList[i].Advance();
        }
        const LineRec& last = text->LineList.back();
        baseline = y + last.ExtraAbove + last.TextHeight - last.MaxDescent - top;
    }
    return baseline;
}

}  // namespace

TInlineBlock::TInlineBlock(TSectionList& doc, int char_pos) : CharPos(char_pos), Body(&doc) {}

TInlineBlock::TInlineBlock(TSectionList& doc, const TInlineBlock& src)
    : CharPos(src.CharPos),
      Body(&doc),
      Width(src.Width),
      MinWidth(src.MinWidth),
      MaxWidth(src.MaxWidth),
      Box(src.Box),
      Placement(src.Placement),
      DrawnWidth(src.DrawnWidth),
      DrawnHeight(src.DrawnHeight),
      Baseline(src.Baseline) {
    Body.CopySectionsFrom(src.Body);
}

int TInlineBlock::HorizontalInsets() const {
    return Box ? Box->Inset(kBoxLeft) + Box->Inset(kBoxRight) : 0;
}

// The width of the margin box: the content's width as given (within its minimum and
// maximum), else the content's widest line within the room but never narrower than its
// narrowest piece.
int TInlineBlock::MarginBoxWidth(int avail, Canvas& canvas) {
    const int insets = HorizontalInsets();
    int content = 0;
    if (Width) {
        content = Width->Resolve(avail);
    } else {
        const MinMax need = Body.MinMaxWidth(canvas);
        content = std::max(need.Min, std::min(need.Max, avail)) - insets;
    }
    if (MaxWidth) content = std::min(content, MaxWidth->Resolve(avail));
    if (MinWidth) content = std::max(content, MinWidth->Resolve(avail));
    return std::max(0, content) + insets;
}

void TInlineBlock::Measure(Canvas& canvas, int avail) {
    const int pass = Body.Document ? Body.Document->LayoutPass() : -1;
    if (pass >= 0 && pass == measured_pass_ && avail == measured_room_) return;
    measured_pass_ = pass;
    measured_room_ = avail;
    DrawnWidth = MarginBoxWidth(avail, canvas);
    Place(canvas, 0, 0);
}

void TInlineBlock::Place(Canvas& canvas, int y, int cursor) {
    int scroll_width = 0;
    DrawnHeight = Body.DoLogic(canvas, y, DrawnWidth, scroll_width, cursor);
    Baseline = LastBaseline(Body, y).value_or(DrawnHeight);
}

MinMax TInlineBlock::MinMaxWidth(Canvas& canvas) {
    const int insets = HorizontalInsets();
    if (Width && Width->Percent < 0) {
        int w = Width->Pixels;
        if (MaxWidth && MaxWidth->Percent < 0) w = std::min(w, MaxWidth->Pixels);
        if (MinWidth && MinWidth->Percent < 0) w = std::max(w, MinWidth->Pixels);
        return MinMax{w + insets, w + insets};
    }
    MinMax need = Body.MinMaxWidth(canvas);
    if (Width) need.Min = insets;  // a percentage of a room not known yet
    return need;
}

void TInlineBlock::Draw(Canvas& canvas, const Rect& clip, int x, int y) {
    if (y >= clip.bottom || y + DrawnHeight <= clip.top) return;
    Body.Draw(canvas, clip, DrawnWidth, x, y);
}

}  // namespace quillon
