// Layout and drawing of horizontal rules.

#include <algorithm>

#include "html/layout/indent_manager.h"
#include "html/layout/mul_div.h"
#include "html/layout/section_list.h"
#include "html/layout/spacer_sections.h"

namespace quillon {

int THorzLine::DrawLogic(Canvas& canvas, int y, IndentManager& im, int& max_width, int& cursor) {
    // From the cell's left edge, which is x 0 in layout (a box's inset moves LeftEdge).
    LeftX = im.LeftIndent(y);
    AvailWidth = std::max(0, im.RightSide(y) - im.LeftIndent(y));
    return TSectionBase::DrawLogic(canvas, y, im, max_width, cursor);
}

int THorzLine::Draw(Canvas& canvas, const Rect& clip, IndentManager& /*im*/, int x, int y) {
    TopY = y;
    const int bottom = y + Height;
    if (bottom <= clip.top || y >= clip.bottom) return bottom;

    const int top = y + (Height - Thickness) / 2;
    int x1 = 0, x2 = 0;
    if (RuleWidth >= 0) {
        const int w = RuleIsPercent ? MulDiv(AvailWidth, RuleWidth, 100) : RuleWidth;
        x1 = x + LeftX + (AvailWidth - w) / 2;
        x2 = x1 + w;
    } else {
        x1 = x + LeftX + 10;
        x2 = x + LeftX + AvailWidth - 10;
    }
    if (x2 <= x1) return bottom;
    if (HasColor) {
        canvas.FillRect(Rect{x1, top, x2, top + Thickness}, RuleColor);
        return bottom;
    }
    // Etched: shadow on the left and top, light on the right and bottom.
    Color shadow = 0x808080;
    Color light = Document->Background() == 0xFFFFFF || Document->IsPrinting ? 0xC0C0C0 : 0xFFFFFF;
    if (canvas.IsPrinter() && canvas.IsMonochrome()) shadow = light = 0x000000;
    const int last = top + Thickness - 1;
    canvas.DrawLine({x1, top}, {x2, top}, shadow);
    canvas.DrawLine({x1, top}, {x1, last + 1}, shadow);
    canvas.DrawLine({x1 + 1, last}, {x2, last}, light);
    canvas.DrawLine({x2 - 1, top + 1}, {x2 - 1, last + 1}, light);
    return bottom;
}

}  // namespace quillon
