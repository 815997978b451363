#pragma once
// What a print needs besides the document and the device: margins, the viewer's text
// margin, the screen resolution the document is shown at, and the header and footer
// callbacks.

#include <functional>
#include <stdexcept>
#include <string>

#include "platform/core/canvas.h"

namespace quillon {

// Draws into the band above (header) or below (footer) the page body. (0, 0) is the band's
// top-left corner; W is the page width and H the band height, in screen pixels. Setting
// StopPrinting ends the print after this page.
using TPrintBandEvent =
    std::function<void(Canvas& canvas, int NumPage, int W, int H, bool& StopPrinting)>;

struct PrintSettings {
    // Margins of the page body in centimetres, measured from the sheet's edges.
    double PrintMarginLeft = 2.0;
    double PrintMarginRight = 2.0;
    double PrintMarginTop = 2.0;
    double PrintMarginBottom = 2.0;
    // Pixels kept free left and right of the text, as on the screen.
    int MarginWidth = 10;
    // The document places its background picture between its "{" and "}" markers.
    bool PositionBackground = false;
    // Pixels per inch of the screen: one screen pixel prints as 1/ScreenDpi inch.
    int ScreenDpi = Canvas::kLogicalDpi;
    // A document wider than the page body is laid out again for the body and what still
    // overflows is scaled down, all pages alike, until its widest line fits. Off: printed
    // 1:1 and cut at the right edge.
    bool ShrinkToFit = true;
    // Each stretch of the document between page breaks is scaled down to fit one page
    // (a text report whose own pages are longer than a sheet).
    bool FitPageHeight = false;
    // A table that continues on the next page has its header rows drawn again at the top
    // of that page.
    bool RepeatTableHeaders = true;
    // Name of the print job (empty: the document's title).
    std::string Title;
    TPrintBandEvent OnPrintHeader;
    TPrintBandEvent OnPrintFooter;
};

// A print that cannot be made: margins leaving no page body, a printer or file that cannot
// be opened, a job call out of order.
class EPrintError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace quillon
