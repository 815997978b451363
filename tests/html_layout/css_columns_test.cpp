// Style of COL and COLGROUP on the fixed-metric canvas (characters 8 px): widths of
// columns, and the colours columns and column groups give their cells. The widths are
// those Chromium gives cells of the same content ("a" as 8 px, "bbbb" as 32 px).
//
// A column's width here is the cell's border box plus one spacing, less one pixel: with
// no spacing a column whose cells are 100 px wide is 99.
#include <gtest/gtest.h>

#include "html/dump/layout_dump.h"
#include "html/layout/html_table.h"
#include "tests/html_layout/layout_test_support.h"

namespace quillon {
namespace {

using testing::FirstTable;
using testing::LaidOut;
using testing::PaintedWithBluePictures;
using testing::Styled;

// The column widths of a table without spacing and padding, styled by `css`, whose
// columns `cols` describes and whose one row holds `cells`.
std::vector<int> Columns(std::string_view css, std::string_view cols,
                         std::string_view cells = "<td>a</td><td>bbbb</td>") {
    auto l = Styled("table { border-spacing: 0 } td { padding: 0 } " + std::string(css),
                    "<table>" + std::string(cols) + "<tr>" + std::string(cells) + "</tr></table>");
    return FirstTable(l).ColumnWidths;
}

TEST(CssColumns, WidthsFromStyleAsChromiumGivesThem) {
    EXPECT_EQ(Columns("", "<col><col>"), (std::vector<int>{7, 31}));
    // Pixels, other lengths, and style over the WIDTH attribute (Chromium: 100, 32; 80, 32).
    // A column without a width after ones with a pixel width is one pixel wider, as it is
    // after cells with such widths.
    EXPECT_EQ(Columns("", "<col style='width: 100px'><col>"), (std::vector<int>{99, 32}));
    EXPECT_EQ(Columns("", "", "<td style='width: 100px'>a</td><td>bbbb</td>"),
              (std::vector<int>{99, 32}));
    EXPECT_EQ(Columns("col { width: 5em }", "<col><col style='width: auto'>"),
              (std::vector<int>{79, 32}));
    EXPECT_EQ(Columns(".w { width: 100px }", "<col class=w width=50><col>"),
              (std::vector<int>{99, 32}));
    EXPECT_EQ(Columns("", "<col width='30%' style='width: 100px'><col>"),
              (std::vector<int>{99, 32}));
    // The wider of the column's width and a cell's own, as in Chromium (100, 32 both).
    EXPECT_EQ(Columns("", "<col style='width: 100px'><col>", "<td style='width: 50px'>a<td>bbbb"),
              (std::vector<int>{99, 32}));
    EXPECT_EQ(Columns("", "<col style='width: 50px'><col>", "<td style='width: 100px'>a<td>bbbb"),
              (std::vector<int>{99, 32}));
    // A column narrower than its content is as wide as the content, as in Chromium.
    EXPECT_EQ(Columns("", "<col style='width: 20px'><col>", "<td>aaaaaaa</td><td>bbbb</td>"),
              (std::vector<int>{55, 32}));
    // Percentages of a table with a width (Chromium: 100, 200, 100).
    EXPECT_EQ(
        Columns("table { width: 400px }", "<col style='width: 100px'><col style='width: 50%'><col>",
                "<td>a</td><td>b</td><td>bbbb</td>"),
        (std::vector<int>{99, 200, 101}));
    // SPAN; a group without COL gives its SPAN columns its width; a COL without a width
    // takes its group's, from style or WIDTH (Chromium: 40, 40, 32; 50, 50, 32;
    // 50, 70, 32; 50, 60, 32).
    const std::string_view three = "<td>a</td><td>a</td><td>bbbb</td>";
    EXPECT_EQ(Columns("", "<col span=2 style='width: 40px'><col>", three),
              (std::vector<int>{39, 39, 32}));
    EXPECT_EQ(Columns(".g { width: 50px }", "<colgroup class=g span=2></colgroup><col>", three),
              (std::vector<int>{49, 49, 32}));
    EXPECT_EQ(Columns(".g { width: 50px }",
                      "<colgroup class=g><col><col style='width: 70px'></colgroup><col>", three),
              (std::vector<int>{49, 69, 32}));
    EXPECT_EQ(
        Columns("", "<colgroup width=60><col style='width: 50px'><col></colgroup><col>", three),
        (std::vector<int>{49, 59, 32}));
    // A COL that is not displayed is no column: the next one is the first (Chromium: 70).
    EXPECT_EQ(Columns("", "<col style='display: none; width: 100px'><col style='width: 70px'>"),
              (std::vector<int>{69, 32}));
}

TEST(CssColumns, AWidthFromStyleIncludesTheCellsPaddingAndBorders) {
    // Chromium makes the cells 100 px wide with their padding (10 px a side), borders
    // (3 px) and spacing (5 px) of their own, where a cell's own width is its content's.
    auto l = Styled("table { border-spacing: 5px } td { padding: 10px }",
                    "<table><col style='width: 100px'><col><tr><td style='border: 3px solid'>a"
                    "</td><td>bbbb</td></tr><tr><td>a</td><td>b</td></tr></table>");
    ThtmlTable& t = FirstTable(l);
    EXPECT_EQ(t.ColumnWidths[0], 104);  // 100 + 5 - 1
    EXPECT_EQ((*t.RowList[0])[0].WidthValue, 74);
    EXPECT_EQ((*t.RowList[1])[0].WidthValue, 80);
    // Never below the content with the padding (Chromium: 28).
    auto narrow = Styled("table { border-spacing: 0 } td { padding: 10px }",
                         "<table><col style='width: 10px'><tr><td>a</td></tr></table>");
    EXPECT_EQ(FirstTable(narrow).ColumnWidths[0], 27);
    // In a table with border-collapse, only the borders as drawn count.
    auto collapsed = Styled("table { border-collapse: collapse } td { padding: 0 }",
                            "<table><col style='width: 100px'><tr><td style='border: 2px solid'>a"
                            "</td><td style='border: 4px solid'>b</td></tr></table>");
    EXPECT_EQ((*FirstTable(collapsed).RowList[0])[0].WidthValue, 98);
}

// The colour of the painted pixel at (x, y).
Color ColourAt(const LaidOut& l, int x, int y) {
    const Rgba p = l.canvas->Surface().At(x, y);
    return static_cast<Color>(p.r) << 16 | static_cast<Color>(p.g) << 8 | p.b;
}

// The colour painted in the middle of cell c of row r.
Color CellColour(LaidOut& l, int r, int c) {
    ThtmlTable& t = FirstTable(l);
    int x = t.BodyIndent;
    for (int i = 0; i < c; ++i) x += t.ColumnWidths[static_cast<std::size_t>(i)];
    int y = t.LayoutY;
    for (int i = 0; i < r; ++i) y += t.RowList[static_cast<std::size_t>(i)]->RowSize;
    return ColourAt(l, x + t.Spacing + 3, y + t.Spacing + 3);
}

TEST(CssColumns, ColoursPaintedUnderRowsAndCellsOverTheTableAsChromiumPaintsThem) {
    // Table red, group green, second column blue, a row yellow, a cell cyan.
    const std::string css =
        "table { border-spacing: 2px; background: #ff0000 } td { padding: 0 } "
        ".g { background: #00ff00 } .c2 { background-color: #0000ff } .r { background: #ffff00 }";
    const std::string cols = "<table><colgroup class=g><col><col class=c2><col></colgroup><col>";
    auto l = PaintedWithBluePictures(
        Styled(css,
               cols + "<tr><td>a<td>a<td>a<td>a"
                      "<tr class=r><td>a<td>a<td style='background: #00ffff'>a<td>a"
                      "<tr><td style='visibility: hidden'>a<td style='visibility: hidden'>a"
                      "<td>a<td>a</table>",
               200));
    EXPECT_EQ(CellColour(l, 0, 0), 0x00FF00u);
    EXPECT_EQ(CellColour(l, 0, 1), 0x0000FFu);
    EXPECT_EQ(CellColour(l, 0, 2), 0x00FF00u);
    EXPECT_EQ(CellColour(l, 0, 3), 0xFF0000u);  // beyond the group: the table's
    EXPECT_EQ(CellColour(l, 1, 1), 0xFFFF00u);
    EXPECT_EQ(CellColour(l, 1, 2), 0x00FFFFu);
    EXPECT_EQ(CellColour(l, 1, 3), 0xFFFF00u);
    // Hidden cells paint no column colour (nor the table's, which its cells paint here).
    EXPECT_EQ(CellColour(l, 2, 0), 0xFFFFFFu);
    EXPECT_EQ(CellColour(l, 2, 1), 0xFFFFFFu);
    EXPECT_EQ(CellColour(l, 2, 2), 0x00FF00u);

    // A cell spanning columns is painted in the colour of its first one, also where it
    // lies in the next; a cell spanning rows in its column's.
    auto spans = PaintedWithBluePictures(Styled(css,
                                                cols + "<tr><td colspan=2>a<td rowspan=2>a<td>a"
                                                       "<tr><td>a<td>a<td>a"
                                                       "<tr><td>a<td colspan=2>a<td>a</table>",
                                                200));
    EXPECT_EQ(CellColour(spans, 0, 0), 0x00FF00u);
    EXPECT_EQ(CellColour(spans, 0, 1), 0x00FF00u);
    EXPECT_EQ(CellColour(spans, 1, 2), 0x00FF00u);
    EXPECT_EQ(CellColour(spans, 2, 1), 0x0000FFu);
    EXPECT_EQ(CellColour(spans, 2, 2), 0x0000FFu);

    // The layout dump lists the columns' colours.
    const std::string json = DumpLayout(*l.doc, 200, l.height);
    EXPECT_NE(json.find("\"column_backgrounds\": [\"#00ff00\", \"#0000ff\", \"#00ff00\", null]"),
              std::string::npos)
        << json;
}

TEST(CssColumns, ColoursOfImpliedGroupsRowGroupsAndUnderRowPictures) {
    // A COL outside COLGROUP is in a group of its own, which style reaches; the rows after
    // an open COLGROUP are in a row group, as in browsers.
    auto l = PaintedWithBluePictures(
        Styled("table { border-spacing: 0 } td { padding: 0 } colgroup { background: #0000ff } "
               "tbody td.x { background: #00ff00 }",
               "<table><col><col style='background: #ff0000'><tr><td>a<td>a<td class=x>a</table>"
               "<table><colgroup><col><tr><td class=x>a<td>a</table>",
               200));
    EXPECT_EQ(CellColour(l, 0, 0), 0x0000FFu);
    EXPECT_EQ(CellColour(l, 0, 1), 0xFF0000u);
    EXPECT_EQ(CellColour(l, 0, 2), 0x00FF00u);
    ThtmlTable* second = nullptr;
    for (int i = 0; i < l.doc->Count() && !second; ++i) {
        auto* t = dynamic_cast<ThtmlTable*>(&(*l.doc)[i]);
        if (t && t != &FirstTable(l)) second = t;
    }
    ASSERT_NE(second, nullptr);
    EXPECT_EQ((*second->RowList[0])[0].Body.BkColor, 0x00FF00u);

    // A row group's colour lies over the columns' and under its rows'.
    auto g = PaintedWithBluePictures(Styled(
        "table { border-spacing: 0 } td { padding: 0 } col { background: #00ff00 } "
        "tbody { background: #ff00ff } .r { background: #ffff00 }",
        "<table><col><thead><tr><td>a</thead><tbody><tr><td>a<tr class=r><td>a</table>", 200));
    EXPECT_EQ(CellColour(g, 0, 0), 0x00FF00u);
    EXPECT_EQ(CellColour(g, 1, 0), 0xFF00FFu);
    EXPECT_EQ(CellColour(g, 2, 0), 0xFFFF00u);

    // Under a row's picture that does not repeat, the column's colour shows.
    auto r = PaintedWithBluePictures(
        Styled("table { border-spacing: 0 } td { padding: 0 } "
               "tr { background: url(r.png) no-repeat } col { background: #00ff00 }",
               "<table><col><tr><td>aaaa<td>aaaa</table>", 200));
    ThtmlTable& t = FirstTable(r);
    EXPECT_EQ(ColourAt(r, t.BodyIndent + 3, t.LayoutY + 3), 0x0000FFu);  // the picture
    EXPECT_EQ(ColourAt(r, t.BodyIndent + 20, t.LayoutY + 5), 0x00FF00u);
    EXPECT_EQ(ColourAt(r, t.BodyIndent + t.ColumnWidths[0] + 20, t.LayoutY + 5), 0xFFFFFFu);
}

}  // namespace
}  // namespace quillon
