// The viewer prints its document on the current printer: here a PDF file, read back with
// poppler. Page breaks start new sheets, the counted pages equal the pages printed, the
// header callback gets the viewer as its sender, and the shown document stays as it was.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "html/view/qt/vw_printer.h"
#include "tests/common/pdf_text.h"
#include "tests/html_view/model_test_support.h"
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

// The viewer shows the screen's rules; its prints and PDF files have print's, from a
// buffer and from a file whose linked sheet is for print only.
TEST(ViewerPrint, PrintsWithThePrintRulesOfItsStyleSheets) {
    testing::ScratchDir dir;
    const std::string pdf = dir.Path("out.pdf");
    std::unique_ptr<TvwPrinter> previous = vwSetPrinter(TvwPrinter::ForPdf(pdf));
    const std::string html =
        "<style>@media print { .screen { display: none } }"
        "@media screen { .print { display: none } }</style>"
        "<p>Always here<p class=screen>Only on screen<p class=print>Only on paper";

    THTMLViewer v;
    testing::ShowViewer(v, 400, 300);
    v.LoadFromBuffer(html);
    EXPECT_TRUE(v.Find("Only on screen", true));
    v.SetCaretPos(0);
    EXPECT_FALSE(v.Find("Only on paper", true));
    EXPECT_EQ(v.NumPrinterPages(), 1);
    EXPECT_EQ(v.Print(1, 9999), 1);
    vwSetPrinter(std::move(previous));
    std::string text = testing::PdfText(pdf, 1);
    EXPECT_NE(text.find("Always here"), std::string::npos);
    EXPECT_NE(text.find("Only on paper"), std::string::npos);
    EXPECT_EQ(text.find("Only on screen"), std::string::npos);
    v.SetCaretPos(0);
    EXPECT_TRUE(v.Find("Only on screen", true)) << "the shown document is as it was";

    const std::string file_pdf = dir.Path("file.pdf");
    previous = vwSetPrinter(TvwPrinter::ForPdf(file_pdf));
    dir.Write("paper.css", ".screen { display: none }");
    v.LoadFromFile(dir.Write("doc.html",
                             "<link rel=stylesheet href=paper.css media=print>"
                             "<p>Always here<p class=screen>Only on screen"));
    EXPECT_TRUE(v.Find("Only on screen", true));
    EXPECT_EQ(v.Print(1, 9999), 1);
    vwSetPrinter(std::move(previous));
    text = testing::PdfText(file_pdf, 1);
    EXPECT_NE(text.find("Always here"), std::string::npos);
    EXPECT_EQ(text.find("Only on screen"), std::string::npos);
}

TEST(ViewerPrint, AnEmptyViewerPrintsNothing) {
    THTMLViewer v;
    EXPECT_EQ(v.NumPrinterPages(), 0);
    EXPECT_EQ(v.Print(1, 9999), 0);
}

}  // namespace
}  // namespace quillon
