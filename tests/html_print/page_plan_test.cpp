// What a print puts on each sheet beyond cutting lines apart: content after a break that
// follows a table, table headers again on every sheet a table continues on (never over a
// row), documents wider or (text reports) longer than a sheet scaled to fit, the left
// margin, and the blank sheet of an empty document.

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

struct Text {
    int x;
    int y;
    std::string text;
};
std::vector<Text> Texts(const RecordingTarget& target, std::size_t page) {
    std::vector<Text> out;
    for (const std::string& t : target.Texts(page)) {
        const auto comma = t.find(',');
        const auto space = t.find(' ');
        out.push_back(Text{std::stoi(t.substr(0, comma)),
                           std::stoi(t.substr(comma + 1, space - comma - 1)), t.substr(space + 1)});
    }
    return out;
}
std::vector<std::string> Words(const RecordingTarget& target, std::size_t page) {
    std::vector<std::string> out;
    for (const Text& t : Texts(target, page)) out.push_back(t.text);
    return out;
}

std::string Rows(int n, std::string_view prefix = "r") {
    std::string s;
    for (int i = 1; i <= n; ++i)
        s += "<TR><TD>" + std::string(prefix) + std::to_string(i) + "</TD></TR>";
    return s;
}

TEST(PagePlan, ContentAfterABreakThatFollowsATableIsPrinted) {
    ShownDocument shown(
        "<P>a</P><TABLE><TR><TD>a2</TD></TR></TABLE>\n<PAGE>\n<P>b</P><TABLE><TR><TD>b2</TD>"
        "</TR></TABLE>\n<PAGE>\n<P>c</P>\n");
    RecordingTarget target(400, 1000);
    const PrintResult r = PrintDocument(shown.doc, NoMargins(), target, 1, 9999);
    ASSERT_EQ(r.PagesPrinted, 3);
    EXPECT_THAT(Words(target, 0), ElementsAre("a", "a2"));
    EXPECT_THAT(Words(target, 1), ElementsAre("b", "b2"));
    EXPECT_THAT(Words(target, 2), ElementsAre("c"));
    EXPECT_EQ(Texts(target, 1).at(0).y, Texts(target, 0).at(0).y);
}

TEST(PagePlan, TableHeadersRepeatOnEverySheetTheTableContinuesOn) {
    ShownDocument shown("<P>intro</P><TABLE><TR><TH>Head</TH></TR>" + Rows(40) + "</TABLE>" +
                        "<P>after</P>");
    RecordingTarget target(400, 200);
    const PrintResult r = PrintDocument(shown.doc, NoMargins(), target, 1, 9999);
    ASSERT_GE(r.PagesPrinted, 3);
    std::map<std::string, int> seen;
    for (std::size_t p = 0; p < target.Pages.size(); ++p) {
        const auto texts = Texts(target, p);
        if (p > 0 && p + 1 < target.Pages.size()) {
            // The header first, then the rows below it, nothing drawn over another.
            ASSERT_FALSE(texts.empty());
            EXPECT_EQ(texts[0].text, "Head") << "sheet " << p + 1;
            EXPECT_GT(texts.at(1).y, texts[0].y + 15) << "sheet " << p + 1;
        }
        for (std::size_t i = 1; i < texts.size(); ++i) {
            EXPECT_GE(texts[i].y, texts[i - 1].y + 16) << "overlap on sheet " << p + 1;
        }
        for (const Text& t : texts) {
            EXPECT_LE(t.y + 16, 200) << t.text << " cut";
            ++seen[t.text];
        }
    }
    for (int i = 1; i <= 40; ++i) EXPECT_EQ(seen["r" + std::to_string(i)], 1) << i;
    EXPECT_EQ(seen["after"], 1);
    // Once on every sheet that holds a row of the table.
    int sheets_with_rows = 0;
    for (std::size_t p = 0; p < target.Pages.size(); ++p) {
        for (const std::string& w : Words(target, p)) {
            if (w[0] == 'r') {
                ++sheets_with_rows;
                break;
            }
        }
    }
    EXPECT_EQ(seen["Head"], sheets_with_rows);

    // THEAD rows repeat; switched off, the header prints once.
    ShownDocument thead(
        "<TABLE><THEAD><TR><TD>TH1</TD></TR><TR><TD>TH2</TD></TR></THEAD>"
        "<TBODY>" +
        Rows(40) + "</TBODY></TABLE>");
    RecordingTarget t2(400, 200);
    PrintDocument(thead.doc, NoMargins(), t2, 1, 9999);
    for (std::size_t p = 0; p < t2.Pages.size(); ++p) {
        const auto words = Words(t2, p);
        ASSERT_GE(words.size(), 3u);
        EXPECT_EQ(words[0], "TH1");
        EXPECT_EQ(words[1], "TH2");
    }
    PrintSettings off = NoMargins();
    off.RepeatTableHeaders = false;
    RecordingTarget t3(400, 200);
    PrintDocument(thead.doc, off, t3, 1, 9999);
    int heads = 0;
    for (std::size_t p = 0; p < t3.Pages.size(); ++p) {
        for (const std::string& w : Words(t3, p)) heads += w == "TH1";
    }
    EXPECT_EQ(heads, 1);
}

TEST(PagePlan, AWideDocumentIsShrunkToThePageWidthUnlessToldNot) {
    // A line of 100 characters (800 px) on a page 400 px wide.
    ShownDocument shown("<PRE>" + std::string(100, 'w') + "</PRE>" + "<P>short</P>");
    RecordingTarget target(400, 400);
    PrintSettings s = NoMargins();
    TDocumentPrint print(shown.doc, s, target);
    EXPECT_EQ(print.Overflow(), 400);
    EXPECT_NEAR(print.Scale(), 0.5, 0.01);
    print.Print(1, 9999);
    const PageGeometry& g = print.Geometry();
    for (const Text& t : Texts(target, 0)) {
        EXPECT_LE(t.x + 8 * static_cast<int>(t.text.size()), g.Left + g.BodyWidth) << t.text;
    }

    s.ShrinkToFit = false;
    RecordingTarget cut(400, 400);
    TDocumentPrint full(shown.doc, s, cut);
    EXPECT_EQ(full.Overflow(), 400);
    EXPECT_EQ(full.Scale(), 1.0);
    EXPECT_EQ(full.Geometry().BodyWidth, 400);

    // A document that fits is printed 1:1.
    ShownDocument narrow("<P>fits</P>");
    RecordingTarget t2(400, 400);
    TDocumentPrint one(narrow.doc, NoMargins(), t2);
    EXPECT_EQ(one.Overflow(), 0);
    EXPECT_EQ(one.Scale(), 1.0);
}

TEST(PagePlan, ReportPagesLongerThanASheetAreScaledToOneSheetEach) {
    // Three report pages of 10 lines on sheets that hold 6 lines at full size.
    ShownDocument shown(Lines(10, "A") + "<PAGE>" + Lines(10, "B") + "<PAGE>" + Lines(10, "C"));
    PrintSettings s = NoMargins();
    s.FitPageHeight = true;
    RecordingTarget target(400, 100);
    const PrintResult r = PrintDocument(shown.doc, s, target, 1, 9999);
    ASSERT_EQ(r.PagesPrinted, 3);
    EXPECT_EQ(Words(target, 0).back(), "A10");
    EXPECT_EQ(Words(target, 1).front(), "B1");
    EXPECT_EQ(Words(target, 1).back(), "B10");
    EXPECT_EQ(Words(target, 2).size(), 10u);
}

TEST(PagePlan, TextStartsAtTheLeftMarginAndAnEmptyDocumentPrintsABlankSheet) {
    ShownDocument shown("<P>left</P>");
    RecordingTarget target(800, 800);
    PrintSettings s;  // 2 cm margins, a 10-px text margin
    TDocumentPrint print(shown.doc, s, target);
    print.Print(1, 1);
    ASSERT_FALSE(Texts(target, 0).empty());
    EXPECT_EQ(Texts(target, 0)[0].x, print.Geometry().Left);
    EXPECT_EQ(print.Geometry().LayoutWidth, print.Geometry().BodyWidth - 20);

    ShownDocument empty("");
    RecordingTarget blank(400, 400);
    std::vector<int> footers;
    PrintSettings f = NoMargins();
    f.OnPrintFooter = [&](Canvas&, int page, int, int, bool&) { footers.push_back(page); };
    const PrintResult r = PrintDocument(empty.doc, f, blank, 1, 9999);
    EXPECT_EQ(r.LastPage, 1);
    EXPECT_EQ(blank.Pages.size(), 1u);
    EXPECT_THAT(footers, ElementsAre(1));
    EXPECT_EQ(blank.Ends, 1);
}

}  // namespace
}  // namespace quillon::testing
