// Cutting a document into pages: at line edges, at page breaks, in body-high slices for what
// is taller than a page; page ranges, stopping from a callback, counting without a job.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "html/view/document_print.h"
#include "tests/html_print/print_test_support.h"

namespace quillon::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// The text of each text call ("x,y text" -> "text") and its y.
struct Drawn {
    int y;
    std::string text;
};
std::vector<Drawn> Parse(const std::vector<std::string>& texts) {
    std::vector<Drawn> out;
    for (const std::string& t : texts) {
        const auto comma = t.find(',');
        const auto space = t.find(' ');
        out.push_back(
            Drawn{std::stoi(t.substr(comma + 1, space - comma - 1)), t.substr(space + 1)});
    }
    return out;
}

TEST(Pagination, PagesAreCutBetweenLinesAndEveryLinePrintsOnce) {
    ShownDocument shown(Lines(20));
    RecordingTarget target(400, 100);
    const PrintResult r = PrintDocument(shown.doc, NoMargins(), target, 1, 9999);
    // Six 16-px lines fit into 100 px; the seventh starts the next page.
    EXPECT_THAT(r.PageTops, ElementsAre(0, 96, 192, 288));
    EXPECT_EQ(r.LastPage, 4);
    EXPECT_EQ(r.PagesPrinted, 4);
    ASSERT_EQ(target.Pages.size(), 4u);
    std::map<std::string, int> seen;
    for (std::size_t p = 0; p < target.Pages.size(); ++p) {
        for (const Drawn& d : Parse(target.Texts(p))) {
            EXPECT_GE(d.y, 0) << d.text;
            EXPECT_LE(d.y + 16, 100) << d.text << " is cut by the page's bottom edge";
            ++seen[d.text];
        }
    }
    ASSERT_EQ(seen.size(), 20u);
    for (const auto& [text, count] : seen) EXPECT_EQ(count, 1) << text;
    EXPECT_EQ(target.Begins, 1);
    EXPECT_EQ(target.Ends, 1);
    EXPECT_EQ(target.Aborts, 0);
}

TEST(Pagination, PageSectionsStartNewPagesButABreakAtTheTopMakesNoEmptyPage) {
    ShownDocument shown("a<PAGE>b<BR>c<PAGE>d");
    RecordingTarget target(400, 100);
    PrintDocument(shown.doc, NoMargins(), target, 1, 9999);
    ASSERT_EQ(target.Pages.size(), 3u);
    EXPECT_EQ(Parse(target.Texts(0)).at(0).text, "a");
    EXPECT_EQ(Parse(target.Texts(1)).at(0).text, "b");
    EXPECT_EQ(Parse(target.Texts(1)).at(0).y, 0);
    EXPECT_EQ(Parse(target.Texts(2)).at(0).text, "d");

    // A break at the very top, and a break right where a full page ends.
    ShownDocument top("<PAGE>a<BR>b");
    RecordingTarget t1(400, 100);
    EXPECT_EQ(PrintDocument(top.doc, NoMargins(), t1, 1, 9999).PagesPrinted, 1);
    ShownDocument full(Lines(6) + "<PAGE>" + Lines(2, "M"));
    RecordingTarget t2(400, 96);
    const PrintResult r = PrintDocument(full.doc, NoMargins(), t2, 1, 9999);
    EXPECT_EQ(r.PagesPrinted, 2);
    EXPECT_EQ(Parse(t2.Texts(1)).at(0).text, "M1");
    // A break at the end of the document adds no page.
    ShownDocument end(Lines(2) + "<PAGE>");
    RecordingTarget t3(400, 100);
    EXPECT_EQ(PrintDocument(end.doc, NoMargins(), t3, 1, 9999).PagesPrinted, 1);
}

TEST(Pagination, RangesPrintTheirPagesOnlyAndARangeBeyondTheEndOpensNoJob) {
    ShownDocument shown(Lines(30));  // 5 pages of 6 lines
    RecordingTarget target(400, 100);
    std::vector<int> header_pages;
    PrintSettings s = NoMargins();
    s.OnPrintHeader = [&](Canvas&, int page, int, int, bool&) { header_pages.push_back(page); };
    const PrintResult r = PrintDocument(shown.doc, s, target, 2, 3);
    EXPECT_THAT(target.Numbers(), ElementsAre(2, 3));
    EXPECT_THAT(header_pages, ElementsAre(2, 3));
    EXPECT_EQ(r.LastPage, 3);
    EXPECT_EQ(r.PagesPrinted, 2);
    EXPECT_EQ(Parse(target.Texts(0)).at(0).text, "L7");
    EXPECT_EQ(Parse(target.Texts(1)).at(0).text, "L13");

    // The last page alone.
    RecordingTarget last(400, 100);
    PrintDocument(shown.doc, NoMargins(), last, 5, 5);
    ASSERT_EQ(last.Pages.size(), 1u);
    EXPECT_EQ(Parse(last.Texts(0)).back().text, "L30");

    // One past the end, and far beyond it: nothing printed, no sheet ejected, no job.
    for (int from : {6, 9998}) {
        RecordingTarget beyond(400, 100);
        const PrintResult b = PrintDocument(shown.doc, NoMargins(), beyond, from, from + 1);
        EXPECT_EQ(b.PagesPrinted, 0);
        EXPECT_EQ(b.LastPage, 5);
        EXPECT_EQ(beyond.Begins, 0);
        EXPECT_THAT(beyond.Pages, IsEmpty());
    }
    // A reversed range prints nothing either.
    RecordingTarget reversed(400, 100);
    EXPECT_EQ(PrintDocument(shown.doc, NoMargins(), reversed, 3, 2).PagesPrinted, 0);
    EXPECT_EQ(reversed.Begins, 0);
}

TEST(Pagination, ACallbackStopsPrintingAfterItsPageAndTheJobEndsNormally) {
    ShownDocument shown(Lines(30));
    PrintSettings s = NoMargins();
    s.OnPrintFooter = [](Canvas&, int page, int, int, bool& stop) { stop = page == 2; };
    RecordingTarget target(400, 100);
    const PrintResult r = PrintDocument(shown.doc, s, target, 1, 9999);
    EXPECT_TRUE(r.Stopped);
    EXPECT_EQ(r.LastPage, 2);
    EXPECT_EQ(target.Pages.size(), 2u);
    EXPECT_EQ(target.Ends, 1);
    EXPECT_EQ(target.Aborts, 0);

    PrintSettings h = NoMargins();
    h.OnPrintHeader = [](Canvas&, int, int, int, bool& stop) { stop = true; };
    RecordingTarget one(400, 100);
    EXPECT_EQ(PrintDocument(shown.doc, h, one, 1, 9999).PagesPrinted, 1);
    EXPECT_EQ(one.Ends, 1);
}

TEST(Pagination, WhatIsTallerThanThePageIsPrintedInBodyHighSlices) {
    // An image line of 250 px on 100-px pages: three slices, then the text after it.
    ShownDocument tall("<IMG WIDTH=10 HEIGHT=250><BR>after");
    RecordingTarget target(400, 100);
    const PrintResult r = PrintDocument(tall.doc, NoMargins(), target, 1, 9999);
    ASSERT_GE(r.PageTops.size(), 3u);
    EXPECT_EQ(r.PageTops[1], 100);
    EXPECT_EQ(r.PageTops[2], 200);
    for (std::size_t i = 1; i < r.PageTops.size(); ++i) EXPECT_GT(r.PageTops[i], r.PageTops[i - 1]);
    EXPECT_EQ(Parse(target.Texts(target.Pages.size() - 1)).back().text, "after");

    // Below other lines, the tall line first moves to a page of its own.
    ShownDocument below("a<BR><IMG WIDTH=10 HEIGHT=250>");
    RecordingTarget t2(400, 100);
    const PrintResult r2 = PrintDocument(below.doc, NoMargins(), t2, 1, 9999);
    EXPECT_EQ(r2.PageTops.at(1), 16);

    // A table row taller than the page, and one with lines of text that fit.
    ShownDocument rows(
        "<TABLE><TR><TD><IMG WIDTH=10 HEIGHT=300></TD></TR><TR><TD>x</TD></TR></TABLE>");
    RecordingTarget t3(400, 100);
    const PrintResult r3 = PrintDocument(rows.doc, NoMargins(), t3, 1, 9999);
    EXPECT_GE(r3.LastPage, 3);
    EXPECT_LT(r3.LastPage, 10);
}

TEST(Pagination, CountingPaginatesAsPrintingDoesAndOpensNoJob) {
    const std::string html = "<H1>Title</H1>" + Lines(25) + "<PAGE>" + "<TABLE BORDER=1><TR><TD>" +
                             Lines(12, "C") + "</TD><TD>b</TD></TR>" + "<TR><TD>" + Lines(9, "D") +
                             "</TD></TR></TABLE>" + Lines(14, "E");
    ShownDocument shown(html);
    for (int height : {100, 160, 333}) {
        RecordingTarget counter(400, height);
        const int count = NumPrinterPages(shown.doc, NoMargins(), counter);
        EXPECT_EQ(counter.Begins, 0);
        EXPECT_THAT(counter.Pages, IsEmpty());
        RecordingTarget printer(400, height);
        const PrintResult r = PrintDocument(shown.doc, NoMargins(), printer, 1, 9999);
        EXPECT_EQ(count, r.PagesPrinted) << "page height " << height;
        EXPECT_EQ(static_cast<int>(printer.Pages.size()), count);
    }
}

TEST(Pagination, APrintAfterCountingPrintsTheSamePages) {
    const std::string html = Lines(9) + "<TABLE BORDER=1><TR><TD>" + Lines(8, "C") +
                             "</TD></TR><TR><TD>" + Lines(7, "D") + "</TD></TR></TABLE><PAGE>" +
                             Lines(20, "E");
    ShownDocument shown(html);
    RecordingTarget fresh(400, 100);
    const PrintResult a = PrintDocument(shown.doc, NoMargins(), fresh, 2, 6);
    RecordingTarget counted(400, 100);
    TDocumentPrint print(shown.doc, NoMargins(), counted);
    const PrintResult count = print.CountPages();
    const PrintResult b = print.Print(2, 6);
    EXPECT_EQ(a.PageTops, b.PageTops);
    EXPECT_EQ(std::vector<int>(count.PageTops.begin(), count.PageTops.begin() + 6), b.PageTops);
    ASSERT_EQ(fresh.Pages.size(), counted.Pages.size());
    for (std::size_t i = 0; i < fresh.Pages.size(); ++i) {
        EXPECT_EQ(fresh.Pages[i].Canvas->Log(), counted.Pages[i].Canvas->Log()) << "page " << i;
    }
}

TEST(Pagination, TheShownDocumentIsLeftAsItWas) {
    ShownDocument shown("a {b} c<PAGE>d");
    shown.doc.SelStart = 1;
    shown.doc.SelEnd = 3;
    RecordingTarget target(400, 100);
    PrintSettings s = NoMargins();
    s.PositionBackground = true;
    PrintDocument(shown.doc, s, target, 1, 9999);
    EXPECT_FALSE(shown.doc.IsPrinting);
    EXPECT_EQ(shown.doc.SelStart, 1);
    EXPECT_EQ(shown.doc.SelEnd, 3);
    EXPECT_EQ(shown.doc.FindString(0, U"{b}", true, 0), 2);
}

TEST(Pagination, BracesArePrintedAsWrittenUnlessTheyPlaceABackgroundPicture) {
    const std::string body = "<P>before</P><P>x{ y</P><P>zzzz} after</P>";
    // Without a positioned background the braces are report text.
    {
        ShownDocument shown("<BODY>" + body);
        PrintSettings s = NoMargins();
        s.PositionBackground = true;  // but no background picture
        RecordingTarget target(400, 300);
        PrintDocument(shown.doc, s, target, 1, 1);
        std::string all;
        for (const Drawn& d : Parse(target.Texts(0))) all += d.text + "|";
        EXPECT_NE(all.find('{'), std::string::npos) << all;
        EXPECT_NE(all.find('}'), std::string::npos) << all;
    }
    // With one, the markers are blanked and the picture is stretched between them.
    {
        ShownDocument shown("<BODY BACKGROUND=\"form.png\">" + body);
        auto picture = std::make_shared<RgbaImage>(2, 2, Rgba{0, 0, 255, 255});
        shown.doc.OnBitmapRequest = [picture](TSectionList&, const std::string&,
                                              std::shared_ptr<const RgbaImage>& bitmap,
                                              std::int64_t&) { bitmap = picture; };
        PrintSettings s = NoMargins();
        s.PositionBackground = true;
        RecordingTarget target(400, 300);
        PrintDocument(shown.doc, s, target, 1, 1);
        std::string all;
        for (const Drawn& d : Parse(target.Texts(0))) all += d.text + "|";
        EXPECT_EQ(all.find('{'), std::string::npos) << all;
        EXPECT_EQ(all.find('}'), std::string::npos) << all;
        int images = 0;
        for (const std::string& line : target.Pages[0].Canvas->Log()) {
            if (line.rfind("image ", 0) == 0 && line.find("2x2") != std::string::npos) ++images;
        }
        EXPECT_EQ(images, 1);
        // The shown document keeps its markers.
        EXPECT_GE(shown.doc.FindString(0, U"{", true, 0), 0);
    }
}

}  // namespace
}  // namespace quillon::testing
