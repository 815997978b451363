// Table layout on the fixed-metric canvas (characters 8 px, lines 16 px): the grid, column
// widths for auto, absolute and percentage tables and cells, spans, row heights, captions,
// placement, drawing, hit tests, copying, and the limits on hostile tables.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "html/dump/layout_dump.h"
#include "html/layout/html_table.h"
#include "html/layout/process_error.h"
#include "tests/html_layout/layout_test_support.h"

namespace quillon {
namespace {

using testing::LaidOut;
using testing::LayOut;

ThtmlTable& Table(LaidOut& l, int n = 0) {
    for (int i = 0; i < l.doc->Count(); ++i) {
        if (auto* t = dynamic_cast<ThtmlTable*>(&(*l.doc)[i]); t && n-- == 0) return *t;
    }
    throw std::out_of_range("no such table");
}

std::vector<int> Columns(const ThtmlTable& t) {
    return t.ColumnWidths;
}

std::vector<int> RowHeights(const ThtmlTable& t) {
    std::vector<int> h;
    for (const auto& row : t.RowList) h.push_back(row->RowSize);
    return h;
}

std::string Rows(const ThtmlTable& t) {
    // "R" for a real cell, "." for a placeholder, rows separated by "|".
    std::string out;
    for (const auto& row : t.RowList) {
        if (!out.empty()) out += '|';
        for (const auto& cell : row->Cells()) out += cell->SpanCols > 0 ? 'R' : '.';
    }
    return out;
}

std::string Repeat(std::string_view s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

// --- the grid ---

TEST(TableGrid, SpansReserveTheirRectangleAndFollowingCellsShiftRight) {
    auto l = LayOut(
        "<table><tr><td colspan=2 rowspan=2>a</td><td>b</td></tr>"
        "<tr><td>c</td></tr><tr><td>d</td><td>e</td><td>f</td></tr></table>",
        600);
    ThtmlTable& t = Table(l);
    EXPECT_EQ(t.ColumnCount, 3);
    EXPECT_EQ(Rows(t), "R.R|..R|RRR");
    // "c" sits in the third column, right of the reserved block, and the block is drawn
    // over both rows.
    EXPECT_EQ((*t.RowList[1])[2].SpanWidth, t.ColumnWidths[2]);
    EXPECT_EQ((*t.RowList[0])[0].SpanWidth, t.ColumnWidths[0] + t.ColumnWidths[1]);
    EXPECT_EQ((*t.RowList[0])[0].SpanHeight, 40);
}

TEST(TableGrid, RowSpanPastTheEndIsCutAndRaggedRowsAreAllowed) {
    auto l = LayOut(
        "<table><tr><td rowspan=9>a</td><td>b</td><td>c</td></tr><tr><td>d</td></tr></table>", 600);
    ThtmlTable& t = Table(l);
    EXPECT_EQ((*t.RowList[0])[0].SpanRows, 2);
    EXPECT_EQ(Rows(t), "RRR|.R");
    EXPECT_EQ(RowHeights(t), (std::vector<int>{20, 20}));
}

TEST(TableGrid, WideTablesUpToTheCapLayOutAndWiderOnesFail) {
    auto l = LayOut("<table><tr>" + Repeat("<td>x</td>", 31) + "</tr></table>", 600);
    EXPECT_EQ(Table(l).ColumnCount, 31);
    auto cap = LayOut("<table><tr>" + Repeat("<td>x</td>", 1000) + "</tr></table>", 600);
    EXPECT_EQ(Table(cap).ColumnCount, 1000);

    auto build = [](const std::string& html) {
        auto doc = std::make_unique<TSectionList>();
        TestCanvas canvas(10, 10);
        doc->SetScreenCanvas(&canvas);
        TNameList names;
        HtmlParseBuffer(*doc, names, html);
        int w = 0, cursor = 0;
        try {
            doc->DoLogic(canvas, 0, 600, w, cursor);
        } catch (const EProcessError& e) {
            return std::string(e.what());
        }
        return std::string("laid out");
    };
    EXPECT_EQ(build("<table><tr>" + Repeat("<td>x</td>", 1001) + "</tr></table>"),
              "Table has too many Columns");
    // A huge COLSPAN fails before any placeholder is made for it.
    EXPECT_EQ(build("<table><tr><td colspan=2000000000>x</td></tr></table>"),
              "Table has too many Columns");
    // Row spans that push a row past the cap fail as well.
    EXPECT_EQ(build("<table><tr><td rowspan=2 colspan=600>x</td></tr><tr>" +
                    Repeat("<td>y</td>", 401) + "</tr></table>"),
              "Table has too many Columns");
    // A few bytes that would reserve a vast rectangle of placeholders.
    EXPECT_EQ(build("<table><tr><td colspan=1000 rowspan=5000>x</td></tr>" + Repeat("<tr>", 5000) +
                    "</table>"),
              "Table has too many Cells");
}

TEST(TableGrid, AFailedTableFailsAgainInsteadOfExpandingTwice) {
    TSectionList doc;
    TestCanvas canvas(10, 10);
    doc.SetScreenCanvas(&canvas);
    TNameList names;
    HtmlParseBuffer(doc, names,
                    "<table><tr><td colspan=600>a</td><td colspan=600>b</td></tr></table>");
    int w = 0, cursor = 0;
    EXPECT_THROW(doc.DoLogic(canvas, 0, 600, w, cursor), EProcessError);
    EXPECT_THROW(doc.DoLogic(canvas, 0, 600, w, cursor), EProcessError);
    // The failing row keeps its cells (drawing and dumps still walk them).
    const auto& cells = dynamic_cast<const ThtmlTable&>(doc[0]).RowList[0]->Cells();
    ASSERT_EQ(cells.size(), 2u);
    EXPECT_TRUE(cells[0] && cells[1]);
    EXPECT_EQ(cells[1]->SpanCols, 600);
}

// --- column widths ---

TEST(TableWidths, AutoTableTakesTheCellsMaximumsAndRowHeightsAddPaddingAndSpacing) {
    // No border: padding 1, spacing 3, so every cell adds 2 x 1 + 3 - 1 = 4.
    auto l = LayOut("<table><tr><td>aaaa</td><td>bb</td></tr></table>", 600);
    ThtmlTable& t = Table(l);
    EXPECT_EQ(Columns(t), (std::vector<int>{36, 20}));
    EXPECT_EQ(t.BodyWidth, 59);
    EXPECT_EQ(t.BlockWidth, 59);
    EXPECT_EQ(RowHeights(t), (std::vector<int>{20}));
    EXPECT_EQ(t.Height, 23);  // rows + one spacing
    // A narrow window: the columns share what is left above their minimums.
    auto narrow = LayOut("<table><tr><td>aa aa aa aa</td><td>bb bb</td></tr></table>", 103);
    // W = 100; minimums 20 + 20, maximums 92 + 44: 20 + 72 x 60 / 96, 20 + 24 x 60 / 96.
    EXPECT_EQ(Columns(Table(narrow)), (std::vector<int>{65, 35}));
}

TEST(TableWidths, PercentageTableWidthIsAShareOfTheRoomLessOneSpacing) {
    auto l = LayOut("<table width=50%><tr><td>aaaa</td><td>bb</td></tr></table>", 600);
    ThtmlTable& t = Table(l);
    // 300 - 3 over two columns without slack: 120 each above the minimums, the rounding
    // pixel to the first.
    EXPECT_EQ(Columns(t), (std::vector<int>{157, 140}));
    EXPECT_EQ(t.BodyWidth, 300);
    auto tiny = LayOut("<table width=1%><tr><td></td></tr></table>", 600);
    EXPECT_EQ(Table(tiny).BodyWidth, 20 + 3);  // never below 20
}

TEST(TableWidths, PercentageCellsGetExactlyTheirShares) {
    auto l =
        LayOut("<table width=600><tr><td width=30%>a</td><td width=70%>b</td></tr></table>", 800);
    EXPECT_EQ(Columns(Table(l)), (std::vector<int>{179, 418}));  // of 597
    // Without a table width the percentages apply to the narrowest width that holds them.
    auto natural =
        LayOut("<table><tr><td width=30%>aaa</td><td width=70%>b</td></tr></table>", 800);
    EXPECT_EQ(Columns(Table(natural)), (std::vector<int>{28, 65}));  // of 28 x 100 / 30 = 93
}

TEST(TableWidths, PercentagesThatCannotFitAreScaledDownInBoundedPasses) {
    // 50% of 597 plus a 484-pixel word does not fit: the percentage shrinks to what is left.
    auto l = LayOut(
        "<table><tr><td width=50%>a b</td><td>" + Repeat("w", 60) + "</td></tr></table>", 600);
    EXPECT_EQ(Columns(Table(l)), (std::vector<int>{113, 484}));
    // Percentages summing to far more than the room, over many columns, end too.
    std::string many = "<table><tr>";
    for (int i = 0; i < 40; ++i) many += "<td width=99%>" + Repeat("m", 3) + "</td>";
    auto m = LayOut(many + "</tr></table>", 2000);
    int sum = 0;
    for (const int w : Columns(Table(m))) sum += w;
    EXPECT_LE(sum, 2000);
}

TEST(TableWidths, PixelCellWidthsAreHonouredWhenTheyFit) {
    auto l = LayOut("<table><tr><td width=100>a</td><td>bb</td></tr></table>", 600);
    ThtmlTable& t = Table(l);
    EXPECT_TRUE(t.HasAbsWidths);
    EXPECT_EQ(Columns(t), (std::vector<int>{104, 21}));  // 100 + 4; 16 + 4 + 1
    // Too narrow: the remaining room is shared by the columns' slack.
    auto narrow = LayOut(
        "<table><tr><td width=300>a</td><td>" + Repeat("b", 20) + " c</td></tr></table>", 403);
    // Minimums 304 + 164, maximums 304 + 185; W = 400 < 468: the minimums.
    EXPECT_EQ(Columns(Table(narrow)), (std::vector<int>{304, 164}));
}

// COL and COLGROUP widths act as the WIDTH of every one-column cell in their column
// that has none of its own.
TEST(TableWidths, ColumnWidthsFromColAndColGroup) {
    auto l = LayOut(
        "<table><col width=100><col><tr><td>a</td><td>bb</td></tr>"
        "<tr><td>c</td><td>d</td></tr></table>",
        600);
    EXPECT_TRUE(Table(l).HasAbsWidths);
    EXPECT_EQ(Columns(Table(l)), (std::vector<int>{104, 21}));  // as <td width=100>
    // A COL without WIDTH takes its group's; SPAN covers several columns; a group without
    // COL gives its SPAN columns its WIDTH; a cell's own WIDTH wins.
    auto g = LayOut(
        "<table><colgroup width=50><col span=2></colgroup><colgroup span=2 width=30>"
        "<tr><td>a<td>b<td>c<td width=70>d</table>",
        600);
    EXPECT_EQ(Columns(Table(g)), (std::vector<int>{54, 54, 34, 74}));
    // Percentages, and a span too large for the table.
    auto p = LayOut("<table width=400><col width=\"25%\" span=5000><tr><td>a<td>b</table>", 800);
    EXPECT_EQ(Table(p).ColStyles.size(), static_cast<std::size_t>(kMaxColumns));
    auto cells = LayOut("<table width=400><tr><td width=\"25%\">a<td width=\"25%\">b</table>", 800);
    EXPECT_EQ(Columns(Table(p)), Columns(Table(cells)));
}

TEST(TableWidths, SpansSpreadTheirNeedOverAutoAndFixedColumns) {
    auto a = LayOut("<table><tr><td>aa</td><td>bb</td></tr><tr><td colspan=2>" + Repeat("c", 10) +
                        "</td></tr></table>",
                    600);
    EXPECT_EQ(Columns(Table(a)), (std::vector<int>{42, 42}));
    EXPECT_EQ((*Table(a).RowList[1])[0].SpanWidth, 84);
    auto f = LayOut("<table><tr><td width=50>a</td><td>b</td></tr><tr><td colspan=2>" +
                        Repeat("c", 20) + "</td></tr></table>",
                    600);
    // Minimums 54 + 12 grow by 98 in proportion: 134 + 30; maximums 54 + 13: 133 + 32.
    EXPECT_EQ(Columns(Table(f)), (std::vector<int>{133, 32}));
}

TEST(TableWidths, SpansOverEmptyColumnsNeverDivideByZero) {
    auto l = LayOut(
        "<table cellpadding=0 cellspacing=0><tr><td></td><td></td></tr>"
        "<tr><td colspan=2>aaaa</td></tr></table>",
        600);
    EXPECT_EQ(Columns(Table(l)), (std::vector<int>{16, 16}));
    // The absolute distribution with nothing to weigh by shares the room evenly.
    TSectionList doc;
    ThtmlTable t(doc, TAttributeList{}, JustifyType::Left, &doc, 0);
    t.ColumnCount = 3;
    ColumnLimits zero(3);
    t.GetWidthsAbs(zero, 100, true);
    EXPECT_EQ(t.ColumnWidths, (std::vector<int>{34, 33, 33}));
}

TEST(TableWidths, NestedTablesReportTheirWidthsToTheEnclosingTable) {
    auto l = LayOut(
        "<table><tr><td><table><tr><td>aaaa</td><td>bbbb</td></tr></table></td>"
        "<td>c</td></tr></table>",
        600);
    ThtmlTable& outer = Table(l);
    // Inner: 36 + 36 + 3 = 75; in the outer cell + 4.
    EXPECT_EQ(Columns(outer), (std::vector<int>{79, 12}));
    auto fixed = LayOut(
        "<table><tr><td><table width=200><tr><td>a</td></tr></table></td></tr></table>", 600);
    EXPECT_EQ(Columns(Table(fixed)), (std::vector<int>{204}));
}

TEST(TableWidths, DeepNestingCostsLinearlyNotExponentially) {
    std::string html;
    for (int i = 0; i < 30; ++i) html += "<table><tr><td>x</td><td>";
    html += "deep";
    for (int i = 0; i < 30; ++i) html += "</td></tr></table>";
    auto l = LayOut(html, 2000);
    EXPECT_GT(l.height, 30 * 3);
}

// --- heights, captions, placement ---

TEST(TableRows, HeightAndVerticalAlignment) {
    auto l = LayOut(
        "<table><tr><td height=100>m</td><td valign=top height=50>t</td>"
        "<td valign=bottom>b</td></tr></table>",
        600);
    ThtmlTable& t = Table(l);
    EXPECT_EQ(RowHeights(t), (std::vector<int>{104}));  // 100 + spacing + 1
    const auto& row = *t.RowList[0];
    EXPECT_EQ(row[0].InnerOffset, 42);  // (104 - 16 - 4) / 2
    EXPECT_EQ(row[1].InnerOffset, 0);
    EXPECT_EQ(row[2].InnerOffset, 84);
    EXPECT_EQ(row[2].Body[0].LayoutY, 3 + 1 + 84);
}

TEST(TableRows, RowSpansGrowTheirRowsEvenlyWithTheRemainderLast) {
    auto l = LayOut(
        "<table><tr><td rowspan=2>a<br>b<br>c<br>d<br>e</td><td>x</td></tr>"
        "<tr><td>y</td></tr></table>",
        600);
    // Needs 80 + 4 over two rows of 20: each grows by 22, no remainder.
    EXPECT_EQ(RowHeights(Table(l)), (std::vector<int>{42, 42}));
    EXPECT_EQ((*Table(l).RowList[0])[0].SpanHeight, 84);
}

TEST(TableRows, BordersAndPadding) {
    auto l =
        LayOut("<table border=1 cellpadding=4 cellspacing=2><tr><td>ab</td></tr></table>", 600);
    ThtmlTable& t = Table(l);
    EXPECT_EQ(t.Padding, 5);
    EXPECT_EQ(t.Spacing, 3);
    EXPECT_EQ(Columns(t), (std::vector<int>{16 + 12}));  // 2 x 5 + 3 - 1 = 12
    EXPECT_EQ((*t.RowList[0])[0].Body[0].LayoutY, 3 + 5);
    // CELLPADDING=0 without a border: the content starts at the cell's background edge.
    auto flush = LayOut("<table cellpadding=0><tr><td bgcolor=red>ab</td></tr></table>", 600);
    ThtmlTable& f = Table(flush);
    EXPECT_EQ(f.Padding, 0);
    const std::string dump = DumpLayout(*flush.doc, 600, flush.height);
    EXPECT_NE(
        dump.find(
            "\"cells\": [[{\"x\": 3, \"y\": 3, \"w\": 16, \"h\": 16, \"sections\": [{\"kind\": "
            "\"text\", \"y\": 3, \"height\": 16, \"lines\": [{\"y\": 3, \"height\": 16, \"x\": 0"),
        std::string::npos)
        << dump;
}

TEST(TableRows, CaptionsAboveAndBelow) {
    auto top =
        LayOut("<table><caption>" + Repeat("c", 20) + "</caption><tr><td>a</td></tr></table>", 600);
    ThtmlTable& t = Table(top);
    EXPECT_EQ(t.BodyWidth, 15);
    EXPECT_EQ(t.BlockWidth, 160);
    EXPECT_EQ(t.BodyIndent, t.BlockIndent + (160 - 15) / 2);
    EXPECT_EQ(t.CaptionSpace, 16);
    EXPECT_EQ(t.Height, 16 + 20 + 3);
    EXPECT_EQ((*t.RowList[0])[0].Body[0].LayoutY, 16 + 3 + 1);
    auto bottom =
        LayOut("<table><caption align=bottom>c</caption><tr><td>a</td></tr></table>", 600);
    ThtmlTable& b = Table(bottom);
    EXPECT_EQ(b.CaptionCell->Body[0].LayoutY, b.LayoutY + 23);
}

TEST(TablePlacement, CentredRightAndFloatingTables) {
    auto c = LayOut("<table align=center><tr><td>aaaa</td></tr></table>", 600);
    EXPECT_EQ(Table(c).BlockIndent, (600 - 39) / 2);
    auto r = LayOut("<table align=right><tr><td>aaaa</td></tr></table>text", 600);
    ThtmlTable& t = Table(r);
    EXPECT_EQ(t.BlockIndent, 600 - 39);
    EXPECT_EQ(t.Height, 0);  // floats: text flows beside it
    EXPECT_EQ(t.DrawHeight, 23);
    // The following paragraph wraps on the table's left side.
    const TSection& text = r.Text(0);
    EXPECT_EQ(text.LayoutY, t.LayoutY);
    EXPECT_EQ(text.LineList[0].StartX, 0);
    auto left = LayOut("<table align=left><tr><td>aaaa</td></tr></table>text", 600);
    EXPECT_EQ(left.Text(0).LineList[0].StartX, 39 + 5 + 1);
    // A centred table wider than the room starts at the left edge, not left of it.
    auto wide =
        LayOut("<table align=center><tr><td>" + Repeat("w", 100) + "</td></tr></table>", 300);
    EXPECT_EQ(Table(wide).BlockIndent, 0);
}

// --- drawing, hit tests, copying ---

TEST(TableDraw, BackgroundsContentAndSunkenAndRaisedFrames) {
    auto l = LayOut(
        "<table border=1 bgcolor=#00FF00><tr><td bgcolor=#FF0000>a</td><td>b</td></tr></table>",
        200);
    l.canvas->ClearLog();
    l.doc->Draw(*l.canvas, Rect{0, 0, 200, 200}, 200, 0, 0);
    const auto& log = l.canvas->Log();
    auto has = [&](const std::string& s) {
        return std::find(log.begin(), log.end(), s) != log.end();
    };
    // Border: padding 2, so every cell adds 6. Columns 14 + 14, the row 16 + 6: cell 1
    // fills 3..15 by 3..23 in red, cell 2 takes the table's green.
    EXPECT_TRUE(has("fill 3,3,15,23 #FF0000"));
    EXPECT_TRUE(has("fill 17,3,29,23 #00FF00"));
    // Sunken cell frame: shadow on the left and top.
    EXPECT_TRUE(has("line 3,3,15,3 #808080 1"));
    EXPECT_TRUE(has("line 14,3,14,23 #C0C0C0 1"));
    // Raised body frame: light on the left and top (silver on white).
    EXPECT_TRUE(has("line 0,0,31,0 #C0C0C0 1"));
    EXPECT_TRUE(has("line 30,0,30,25 #808080 1"));
    // Text in the cells at spacing + padding.
    EXPECT_TRUE(has("text 5,5 a"));
}

TEST(TableDraw, BorderColourFillsOnlyTheSpacingBetweenCells) {
    auto l = LayOut(
        "<table bordercolor=#0000FF cellpadding=0><tr><td>a</td><td>b</td></tr></table>", 200);
    l.doc->Draw(*l.canvas, Rect{0, 0, 200, 200}, 200, 0, 0);
    const RgbaImage& img = l.canvas->Surface();
    auto at = [&](int x, int y) { return img.At(x, y); };
    EXPECT_EQ(at(1, 1), (Rgba{0, 0, 255, 255}));    // spacing around the cells
    EXPECT_EQ(at(12, 10), (Rgba{0, 0, 255, 255}));  // between them
    EXPECT_NE(at(5, 18), (Rgba{0, 0, 255, 255}));   // inside the first cell
}

TEST(TableHits, LinksCursorsAndCaretPlacesInCells) {
    auto l =
        LayOut("<table><tr><td>aaaa</td><td><a href=\"x.htm\">link</a></td></tr></table>", 600);
    ThtmlTable& t = Table(l);
    // The link cell's content starts at 36 + 3 + 1 = 40, y 4.
    auto hit = l.doc->GetURL(*l.canvas, 44, 10);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->Url.URL, "x.htm");
    EXPECT_FALSE(l.doc->GetURL(*l.canvas, 10, 10));
    EXPECT_FALSE(l.doc->GetURL(*l.canvas, 44, 40));  // below the table
    const CursorHit c = l.doc->FindCursor(*l.canvas, 40 + 17, 10);
    EXPECT_EQ(c.Index, (*t.RowList[0])[1].Body.StartCurs + 2);
    EXPECT_EQ(c.X, 40 + 16);
    const auto p = l.doc->CursorToXY(*l.canvas, c.Index);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->x, 40 + 16);
}

TEST(TableText, CopyGivesRowsAsLinesOfTabSeparatedCellsAndSearchFindsCells) {
    auto l = LayOut(
        "<table><tr><td>a1</td><td>b1</td></tr><tr><td>a2</td><td></td></tr></table>after", 600);
    l.doc->SelStart = 0;
    l.doc->SelEnd = l.cursor;
    EXPECT_EQ(l.doc->CopyToClipboard(), U"a1\tb1\r\na2\t\r\nafter");
    EXPECT_EQ(l.doc->FindString(0, U"b1", true, 0), (*Table(l).RowList[0])[1].Body.StartCurs);
}

TEST(TableDump, GeometryOfTablesAndTheirCells) {
    auto l = LayOut("<table><tr><td>ab</td><td>c</td></tr></table>", 600);
    const std::string dump = DumpLayout(*l.doc, 600, l.height);
    EXPECT_NE(
        dump.find("{\"kind\": \"table\", \"y\": 0, \"columns\": [20, 12], \"body_width\": 35, "
                  "\"block_width\": 35, \"block_indent\": 0, \"row_heights\": [20], "
                  "\"height\": 23, \"cells\": [[{\"x\": 3, \"y\": 3, \"w\": 18, \"h\": 18, "
                  "\"sections\": [{\"kind\": \"text\", \"y\": 4"),
        std::string::npos)
        << dump;
}

// The dump written as it is made (for documents too large to hold twice) is the dump.
TEST(TableRows, TheStreamedDumpIsTheDump) {
    std::string html = "<p>before</p><table border=1>";
    for (int r = 0; r < 600; ++r) {
        html += "<tr><td>r" + std::to_string(r) + "</td><td>\"x\"</td><td><b>y</b></td></tr>";
    }
    html += "</table><p>after</p>";
    auto l = LayOut(html, 600);
    std::ostringstream streamed;
    DumpLayout(streamed, *l.doc, 600, l.height, true);
    const std::string whole = DumpLayout(*l.doc, 600, l.height, true);
    EXPECT_GT(whole.size(), std::size_t{1} << 17);  // spilled more than once
    EXPECT_EQ(streamed.str(), whole);
}

}  // namespace
}  // namespace quillon
