#pragma once
// Where the page body lies on a sheet: margins in centimetres turned into device pixels,
// minus the strips the device cannot print on, then into screen pixels.

#include "html/view/print_settings.h"
#include "platform/core/canvas.h"

namespace quillon {

// Facts of a page device, in device pixels.
struct PageDevice {
    int PageWidth = 0;   // printable width
    int PageHeight = 0;  // printable height
    int DpiX = Canvas::kLogicalDpi;
    int DpiY = Canvas::kLogicalDpi;
    // The whole sheet; -1 when the device cannot tell.
    int PhysicalWidth = -1;
    int PhysicalHeight = -1;
    // The printable area's top-left corner on the sheet.
    int OffsetX = 0;
    int OffsetY = 0;
};

// The page in screen pixels, the origin at the printable area's top-left corner.
struct PageGeometry {
    int Left = 0;         // body left
    int Top = 0;          // body top (the header band's height)
    int BodyWidth = 0;    // body width
    int BodyHeight = 0;   // body height: the document height one page takes
    int LayoutWidth = 0;  // the document's layout width: body width less the text margins
    int PageWidth = 0;    // printable width
    int PageHeight = 0;   // printable height
    int FooterHeight() const { return PageHeight - (Top + BodyHeight); }
    // The body with one pixel around it, the clip of the document's drawing.
    Rect BodyClip() const {
        return Rect{Left - 1, Top - 1, Left + BodyWidth + 1, Top + BodyHeight + 1};
    }
};

// Throws EPrintError when a margin is negative or the margins leave no body.
PageGeometry ComputePageGeometry(const PageDevice& device, const PrintSettings& settings);

}  // namespace quillon
