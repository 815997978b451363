#include "html/view/page_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "html/layout/mul_div.h"

namespace quillon {

namespace {

constexpr double kCmPerInch = 2.54;

int CmToPixels(double cm, int dpi) {
    return static_cast<int>(std::lround(cm / kCmPerInch * dpi));
}

std::string Cm(double cm) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2f cm", cm);
    return buf;
}

std::string Cm(int pixels, int dpi) {
    return Cm(pixels * kCmPerInch / std::max(dpi, 1));
}

}  // namespace

PageGeometry ComputePageGeometry(const PageDevice& d, const PrintSettings& s) {
    const struct {
        const char* name;
        double value;
    } margins[] = {{"left", s.PrintMarginLeft},
                   {"right", s.PrintMarginRight},
                   {"top", s.PrintMarginTop},
                   {"bottom", s.PrintMarginBottom}};
    for (const auto& m : margins) {
        if (!(m.value >= 0) || !std::isfinite(m.value)) {
            throw EPrintError(std::string("the ") + m.name + " print margin is " + Cm(m.value) +
                              "; margins must be 0 or more");
        }
    }
    if (d.PageWidth <= 0 || d.PageHeight <= 0 || d.DpiX <= 0 || d.DpiY <= 0) {
        throw EPrintError("the page device reports no printable area");
    }
    const int screen = std::max(s.ScreenDpi, 1);

    // Strips the device cannot print on, right and bottom (unknown sheet size: none).
    const int right_strip = std::max(0, d.PhysicalWidth - d.PageWidth - d.OffsetX);
    const int bottom_strip = std::max(0, d.PhysicalHeight - d.PageHeight - d.OffsetY);
    // Margins are measured from the sheet's edges; the printable area already lies inside
    // the strips, so each strip is taken off its margin once (and a margin narrower than
    // its strip is the strip).
    const int left = std::max(0, CmToPixels(s.PrintMarginLeft, d.DpiX) - d.OffsetX);
    const int right = std::max(0, CmToPixels(s.PrintMarginRight, d.DpiX) - right_strip);
    const int top = std::max(0, CmToPixels(s.PrintMarginTop, d.DpiY) - d.OffsetY);
    const int bottom = std::max(0, CmToPixels(s.PrintMarginBottom, d.DpiY) - bottom_strip);
    const int body_width = d.PageWidth - (left + right);
    const int body_height = d.PageHeight - (top + bottom);

    PageGeometry g;
    g.Left = MulDiv(left, screen, d.DpiX);
    g.Top = MulDiv(top, screen, d.DpiY);
    g.BodyWidth = MulDiv(std::max(body_width, 0), screen, d.DpiX);
    g.BodyHeight = MulDiv(std::max(body_height, 0), screen, d.DpiY);
    g.LayoutWidth = g.BodyWidth - 2 * std::max(s.MarginWidth, 0);
    g.PageWidth = MulDiv(d.PageWidth, screen, d.DpiX);
    g.PageHeight = MulDiv(d.PageHeight, screen, d.DpiY);
    if (body_height <= 0 || g.BodyHeight < 1) {
        throw EPrintError("the top and bottom margins (" + Cm(s.PrintMarginTop) + " + " +
                          Cm(s.PrintMarginBottom) +
                          ") leave no page body on a printable height of " +
                          Cm(d.PageHeight, d.DpiY));
    }
    if (body_width <= 0 || g.LayoutWidth < 1) {
        throw EPrintError("the left and right margins (" + Cm(s.PrintMarginLeft) + " + " +
                          Cm(s.PrintMarginRight) + ") leave no page body on a printable width of " +
                          Cm(d.PageWidth, d.DpiX));
    }
    return g;
}

}  // namespace quillon
