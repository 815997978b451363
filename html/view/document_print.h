#pragma once
// Printing a document: a copy of it is laid out once for the page body's width (again,
// scaled down, when it is wider) and cut into pages at its page breaks and where a line,
// table row or picture no longer fits; each page printed is drawn on the target, with the
// header rows of a table continuing from the page before, and the header and footer
// callbacks in the bands above and below the body. The shown document is not changed.

#include <memory>
#include <optional>
#include <vector>

#include "html/layout/page_breaks.h"
#include "html/layout/section_list.h"
#include "html/view/page_geometry.h"
#include "html/view/page_plan.h"
#include "html/view/page_target.h"
#include "html/view/print_settings.h"

namespace quillon {

struct PrintResult {
    // The number of the last page handled (printed or passed over). An empty document
    // prints one blank page.
    int LastPage = 0;
    int PagesPrinted = 0;
    // A callback set StopPrinting.
    bool Stopped = false;
    // The document y at which each page handled starts.
    std::vector<int> PageTops;
};

class TDocumentPrint {
  public:
    // Copies and lays out the document for the target's page (EPrintError when the
    // margins leave no page body).
    TDocumentPrint(const TSectionList& shown, const PrintSettings& settings, PageTarget& target);
    // Prints a document nobody shows (a batch print): it is laid out and printed itself,
    // without a copy.
    TDocumentPrint(std::unique_ptr<TSectionList> document, const PrintSettings& settings,
                   PageTarget& target);
    ~TDocumentPrint();
    TDocumentPrint(const TDocumentPrint&) = delete;
    TDocumentPrint& operator=(const TDocumentPrint&) = delete;

    const PageGeometry& Geometry() const { return geometry_; }
    // The document height laid out for the page body.
    int DocumentHeight() const { return height_; }
    // How much wider than the page body the document is at 1:1, in screen pixels (0 when
    // it fits); with ShrinkToFit that is what was scaled away.
    int Overflow() const { return overflow_; }
    // The scale the pages print at: 1, or less when the document was shrunk to fit.
    double Scale() const;
    // The pages, as the document is cut.
    const std::vector<PlannedPage>& Pages() const { return pages_; }
    // The pages a print of every page makes, without output and without opening a job
    // (the callbacks do not run, so none can stop it).
    PrintResult CountPages();
    // The header and footer callbacks may change between counting and printing (a footer
    // that says "Page N of M" needs the count first); the margins were used for the layout
    // and stay.
    void SetPrintHeader(TPrintBandEvent header) { settings_.OnPrintHeader = std::move(header); }
    void SetPrintFooter(TPrintBandEvent footer) { settings_.OnPrintFooter = std::move(footer); }
    // Prints pages FromPage to ToPage (1-based, inclusive). A job is opened only when the
    // range holds a page of the document: a range beyond the last page prints nothing.
    PrintResult Print(int FromPage, int ToPage);

  private:
    void Prepare();
    // Lays the copy out for the geometry's width; returns the widest line.
    int LayOut();
    // Prints at a smaller scale (a higher screen resolution) until the document fits the
    // page body as the settings ask.
    void FitToPage(int widest);
    int TallestStretch() const;
    PrintResult Paginate(int FromPage, int ToPage, bool output);
    void DrawPage(Canvas& canvas, const PlannedPage& page);
    void DrawBackground(Canvas& canvas, int x);

    // A copy: the settings given may be a temporary that ends before the print does.
    PrintSettings settings_;
    PageTarget& target_;
    std::unique_ptr<TSectionList> copy_;
    PageGeometry geometry_;
    int height_ = 0;
    int overflow_ = 0;
    int x_ = 0;  // where the document's left edge is drawn
    std::string title_;
    int screen_dpi_;  // the resolution asked for, before any shrinking
    // The positioned background's corners, in document coordinates (x from the layout's
    // left edge), when it is drawn.
    std::optional<Rect> background_box_;
    std::unique_ptr<PageBreakMap> breaks_;
    std::vector<PlannedPage> pages_;
};

// The page counter after printing FromPage to ToPage of the shown document.
PrintResult PrintDocument(const TSectionList& shown, const PrintSettings& settings,
                          PageTarget& target, int FromPage, int ToPage);
// The pages a print of the whole document makes; opens no job.
int NumPrinterPages(const TSectionList& shown, const PrintSettings& settings, PageTarget& target);

}  // namespace quillon
