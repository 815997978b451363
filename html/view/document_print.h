#pragma once
// Printing a document: a copy of it is laid out once for the page body's width and cut
// into pages at its page breaks and where a line, table row or picture no longer fits;
// each page printed is drawn on the target with the header and footer callbacks in the
// bands above and below the body. The shown document is not changed.

#include <memory>
#include <optional>
#include <vector>

#include "html/layout/section_list.h"
#include "html/view/page_geometry.h"
#include "html/view/page_target.h"
#include "html/view/print_settings.h"

namespace quillon {

struct PrintResult {
    // The number of the last page handled (printed or passed over); 0 for an empty
    // document.
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
    // Paginates without output and without opening a job: the pages a print of every page
    // makes (the callbacks do not run, so none can stop it). A print afterwards reuses the
    // page tops: it passes over the pages before its range without drawing them.
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
    PrintResult Paginate(int FromPage, int ToPage, bool output);
    void DrawBackground(Canvas& canvas, int x);

    // A copy: the settings given may be a temporary that ends before the print does.
    PrintSettings settings_;
    PageTarget& target_;
    std::unique_ptr<TSectionList> copy_;
    PageGeometry geometry_;
    int height_ = 0;
    int x_ = 0;  // where the document's left edge is drawn
    std::string title_;
    // The positioned background's corners, in document coordinates (x from the layout's
    // left edge), when it is drawn.
    std::optional<Rect> background_box_;
    // The page tops of CountPages, once counted.
    std::vector<int> counted_tops_;
};

// The page counter after printing FromPage to ToPage of the shown document.
PrintResult PrintDocument(const TSectionList& shown, const PrintSettings& settings,
                          PageTarget& target, int FromPage, int ToPage);
// The pages a print of the whole document makes; opens no job.
int NumPrinterPages(const TSectionList& shown, const PrintSettings& settings, PageTarget& target);

}  // namespace quillon
