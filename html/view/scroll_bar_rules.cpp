#include "html/view/scroll_bar_rules.h"

#include <algorithm>

namespace quillon {

ScrollBarLayout ComputeScrollBars(const ScrollBarInput& in) {
    ScrollBarLayout out;
    const int w = in.Width;
    const int h = in.Height;
    const int s = in.ScrollBarSize;
    const int d = in.DocHeight;
    const int m = in.MarginWidth;
    const int x = std::clamp(in.WidestLine, 0, kMaxPaintWidth);
    const bool v_allowed = in.Style == TScrollStyle::ssVertical || in.Style == TScrollStyle::ssBoth;
    const bool h_allowed =
        in.Style == TScrollStyle::ssHorizontal || in.Style == TScrollStyle::ssBoth;
    const bool both = in.Style == TScrollStyle::ssBoth;

    out.Border = in.Border ? 1 : 0;
    // A document that only a horizontal bar would push under the bottom edge gets the
    // vertical bar as well.
    out.VBar = v_allowed && (d >= h - 2 || (both && d >= h - 2 - s && 2 * m + x > w - s));
    out.HBar = h_allowed && (2 * m + x > w || (out.VBar && 2 * m + x > w - s));

    out.ClientWidth = out.VBar ? w - s : w;
    out.PanelWidth = std::max(0, out.ClientWidth - 2 * out.Border);
    out.PanelHeight = std::max(0, h - 2 * out.Border - (out.HBar ? s : 0));
    out.ScrollWidth = std::max(2 * m + x, out.ClientWidth - 2 * out.Border);
    out.HLargeStep = std::max(1, out.ClientWidth - 20);
    out.HPage = out.ClientWidth;
    out.VLargeStep = std::max(1, out.PanelHeight - kVerticalSmallStep);
    out.VMax = d;
    out.VPage = out.PanelHeight + 1;
    return out;
}

}  // namespace quillon
