// Where the body and the bands lie: margins from the sheet's edges less the strips the
// device cannot print on (each taken off once), scaled to screen pixels; margins that
// leave no body are refused.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "html/view/document_print.h"
#include "html/view/page_geometry.h"
#include "tests/html_print/print_test_support.h"

namespace quillon::testing {
namespace {

using ::testing::Contains;
using ::testing::HasSubstr;

// A 600-dpi printer that cannot print 60 px left, 100 px right, 100 px at the top and
// 116 px at the bottom of a 4960 x 7016 sheet.
PageDevice Printer600() {
    PageDevice d;
    d.DpiX = d.DpiY = 600;
    d.PhysicalWidth = 4960;
    d.PhysicalHeight = 7016;
    d.PageWidth = 4800;
    d.PageHeight = 6800;
    d.OffsetX = 60;
    d.OffsetY = 100;
    return d;
}

TEST(PageGeometry, MarginsCountFromTheSheetEdgesAndEachStripIsTakenOffOnce) {
    const PageGeometry g = ComputePageGeometry(Printer600(), PrintSettings{});
    // 2 cm at 600 dpi is 472 px. Left 472 - 60, right 472 - 100, top 472 - 100 (not
    // 472 - 2 * 100), bottom 472 - 116; then 96/600 of each.
    EXPECT_EQ(g.Left, 66);          // 412 px
    EXPECT_EQ(g.Top, 60);           // 372 px: the body starts 472 px below the sheet's top
    EXPECT_EQ(g.BodyWidth, 643);    // 4800 - 412 - 372 = 4016 px
    EXPECT_EQ(g.BodyHeight, 972);   // 6800 - 372 - 356 = 6072 px
    EXPECT_EQ(g.LayoutWidth, 623);  // less 2 x MarginWidth
    EXPECT_EQ(g.PageWidth, 768);
    EXPECT_EQ(g.PageHeight, 1088);
    EXPECT_EQ(g.FooterHeight(), 1088 - 60 - 972);
}

TEST(PageGeometry, UnknownSheetSizeMeansNoStripsAndNarrowMarginsBecomeTheStrips) {
    PageDevice d = Printer600();
    d.PhysicalWidth = d.PhysicalHeight = -1;
    const PageGeometry g = ComputePageGeometry(d, PrintSettings{});
    EXPECT_EQ(g.BodyWidth, 627);   // 4800 - 412 - 472 = 3916 px
    EXPECT_EQ(g.BodyHeight, 953);  // 6800 - 372 - 472 = 5956 px

    PrintSettings thin;
    thin.PrintMarginLeft = thin.PrintMarginTop = 0.1;  // 24 px, inside the strips
    const PageGeometry t = ComputePageGeometry(Printer600(), thin);
    EXPECT_EQ(t.Left, 0);
    EXPECT_EQ(t.Top, 0);

    PrintSettings screen = PrintSettings{};
    screen.ScreenDpi = 120;  // larger screen pixels: more of them on the page
    EXPECT_EQ(ComputePageGeometry(Printer600(), screen).PageWidth, 960);
}

TEST(PageGeometry, MarginsThatLeaveNoBodyAreRefusedSayingWhy) {
    PrintSettings tall;
    tall.PrintMarginTop = 15;
    tall.PrintMarginBottom = 15;
    try {
        ComputePageGeometry(Printer600(), tall);
        FAIL() << "no error";
    } catch (const EPrintError& e) {
        EXPECT_THAT(e.what(), HasSubstr("top and bottom margins"));
        EXPECT_THAT(e.what(), HasSubstr("leave no page body"));
    }
    PrintSettings wide;
    wide.PrintMarginLeft = 20;
    EXPECT_THROW(ComputePageGeometry(Printer600(), wide), EPrintError);
    // The text margins alone can eat a narrow body.
    PrintSettings narrow;
    narrow.PrintMarginLeft = narrow.PrintMarginRight = 10.4;
    narrow.MarginWidth = 50;
    EXPECT_THROW(ComputePageGeometry(Printer600(), narrow), EPrintError);
    PrintSettings negative;
    negative.PrintMarginRight = -1;
    EXPECT_THROW(ComputePageGeometry(Printer600(), negative), EPrintError);
    PageDevice none;
    EXPECT_THROW(ComputePageGeometry(none, PrintSettings{}), EPrintError);

    // A print with such margins opens no job.
    ShownDocument shown("text");
    RecordingTarget target(Printer600());
    EXPECT_THROW(PrintDocument(shown.doc, tall, target, 1, 1), EPrintError);
    EXPECT_EQ(target.Begins, 0);
}

TEST(PageGeometry, TheBodyAndTheBandsOnThePage) {
    // 96 dpi, 800 x 1000 px, 1-cm margins (38 px): body 724 x 924 at (38, 38).
    ShownDocument shown("first");
    PrintSettings s;
    s.PrintMarginLeft = s.PrintMarginRight = s.PrintMarginTop = s.PrintMarginBottom = 1.0;
    struct Band {
        int w, h;
    };
    std::vector<Band> headers, footers;
    s.OnPrintHeader = [&](Canvas& c, int, int w, int h, bool&) {
        headers.push_back({w, h});
        c.FillRect(Rect{0, 0, w, h}, 0xFF0000);
    };
    s.OnPrintFooter = [&](Canvas& c, int, int w, int h, bool&) {
        footers.push_back({w, h});
        c.FillRect(Rect{0, 0, w, h}, 0x00FF00);
        c.SetFont(FontSpec{"Other", 30});
    };
    RecordingTarget target(800, 1000);
    PrintDocument(shown.doc, s, target, 1, 1);
    ASSERT_EQ(headers.size(), 1u);
    EXPECT_EQ(headers[0].w, 800);
    EXPECT_EQ(headers[0].h, 38);
    EXPECT_EQ(footers[0].h, 38);
    const auto& log = target.Pages.at(0).Canvas->Log();
    EXPECT_THAT(log, Contains("fill 0,0,800,38 #FF0000"));
    EXPECT_THAT(log, Contains("fill 0,962,800,1000 #00FF00"));
    // The text starts at the body's left (the text margin only narrows the layout), on
    // the body's top; the header and footer draw unclipped (no clip is active while they
    // run).
    EXPECT_THAT(target.Texts(0), Contains("38,38 first"));
    EXPECT_EQ(target.Pages.at(0).Canvas->Font().name, "Times New Roman");
}

}  // namespace
}  // namespace quillon::testing
