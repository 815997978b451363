// The viewer prints its document on the current printer: here a PDF file, read back with
// poppler. Page breaks start new sheets, the counted pages equal the pages printed, the
// header callback gets the viewer as its sender, and the shown document stays as it was.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "html/view/qt/vw_printer.h"
#include "tests/html_view/model_test_support.h"
#include "tests/common/pdf_text.h"
#include "widget_test_support.h"

namespace quillon {
namespace {

TEST(ViewerPrint, PrintsItsPagesToTheCurrentPrinterAndCountsThemAlike) {
    testing::ScratchDir dir;
    const std::string pdf = dir.Path("out.pdf");
    std::unique_ptr<TvwPrinter> previous = vwSetPrinter(TvwPrinter::ForPdf(pdf));

    THTMLViewer v;
    testing::ShowViewer(v, 400, 300);
    v.LoadFromBuffer("<P>one {page}<PAGE><P>second page<PAGE><P>third page");
    const int scroll = v.ScrollPos();

    const int counted = v.NumPrinterPages();
    EXPECT_EQ(counted, 3);

    std::vector<int> header_pages;
    THTMLViewer* sender = nullptr;
    v.OnPrintHeader = [&](THTMLViewer& s, Canvas&, int page, int, int, bool&) {
        sender = &s;
        header_pages.push_back(page);
    };
    EXPECT_EQ(v.Print(1, 9999), 3);
    EXPECT_EQ(sender, &v);
    EXPECT_EQ(header_pages, (std::vector<int>{1, 2, 3}));
    vwSetPrinter(std::move(previous));  // the PDF file is complete when its printer goes

    ASSERT_EQ(testing::PdfPageCount(pdf), 3);
    EXPECT_NE(testing::PdfText(pdf, 1).find("one {page}"), std::string::npos)
        << "braces print as written without a positioned background";
    EXPECT_NE(testing::PdfText(pdf, 2).find("second page"), std::string::npos);
    EXPECT_NE(testing::PdfText(pdf, 3).find("third page"), std::string::npos);
    EXPECT_EQ(v.ScrollPos(), scroll);
    EXPECT_TRUE(v.Find("{page}", true)) << "the shown document keeps its braces";
}

TEST(ViewerPrint, AnEmptyViewerPrintsNothing) {
    THTMLViewer v;
    EXPECT_EQ(v.NumPrinterPages(), 0);
    EXPECT_EQ(v.Print(1, 9999), 0);
}

}  // namespace
}  // namespace quillon
