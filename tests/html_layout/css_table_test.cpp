// Table style on the fixed-metric canvas (characters 8 px, lines 16 px): min-width and
// max-width of cells, pixel widths of cells spread exactly in a table with a width, and
// the background pictures of whole tables and of rows.
//
// A column's width here is the cell's border box plus one spacing, less one pixel: with
// no spacing and no padding a column holding "a" (8 px) is 7 wide.
#include <gtest/gtest.h>

#include "html/dump/layout_dump.h"
#include "html/layout/html_table.h"
#include "tests/html_layout/layout_test_support.h"

namespace quillon {
namespace {

using testing::Blue;
using testing::FirstTable;
using testing::LaidOut;
using testing::LayOut;
using testing::PaintedWithBluePictures;
using testing::Styled;

// The column widths of a table of two cells, "a" (class m) and "bbbb", with no spacing
// and no padding, styled by `css`, in a 400 px wide page.
std::vector<int> TwoColumns(std::string_view css, std::string_view first = "a") {
    auto l =
        Styled("table { border-spacing: 0 } td { padding: 0 } " + std::string(css),
               "<table><tr><td class=m>" + std::string(first) + "</td><td>bbbb</td></tr></table>");
    return FirstTable(l).ColumnWidths;
}

TEST(CssTables, CellMinWidthWidensItsColumn) {
    EXPECT_EQ(TwoColumns(""), (std::vector<int>{7, 31}));
    // The column reaches min-width (its cell 100 px wide) in a table as wide as its content.
    EXPECT_EQ(TwoColumns(".m { min-width: 100px }"), (std::vector<int>{99, 31}));
    // In a wider table the column counts as that wide content: the rest is shared 99:31.
    EXPECT_EQ(TwoColumns("table { width: 400px } .m { min-width: 100px }"),
              (std::vector<int>{305, 95}));
    // min-width over a smaller width or max-width wins.
    EXPECT_EQ(TwoColumns(".m { min-width: 80px; max-width: 40px }"), (std::vector<int>{79, 31}));
    EXPECT_EQ(TwoColumns(".m { width: 50px; min-width: 80px }")[0], 79);
    // Percentages are left out, as browsers do (Chromium: in a 500 px table the cell of
    // "ab" with min-width 30% is 27 px wide, as without it).
    EXPECT_EQ(TwoColumns(".m { min-width: 50% }"), (std::vector<int>{7, 31}));
    EXPECT_EQ(TwoColumns("table { width: 400px } .m { min-width: 25% }"),
              TwoColumns("table { width: 400px }"));
    // The layout dump shows the bounds of the cell that has them.
    auto l = Styled("td.m { min-width: 100px; max-width: 200px }",
                    "<table><tr><td class=m>a</td><td>b</td></tr></table>");
    const std::string json = DumpLayout(*l.doc, 400, l.height);
    EXPECT_NE(json.find("\"min_width\": 100, \"max_width\": 200}"), std::string::npos) << json;
    EXPECT_EQ(json.find("min_width", json.find("min_width") + 1), std::string::npos);
}

TEST(CssTables, CellMaxWidthNarrowsItsColumnDownToTheLongestWord) {
    // Five words of three letters (152 px on one line) wrap within 50 px, a word a line.
    const std::string_view words = "aaa aaa aaa aaa aaa";
    EXPECT_EQ(TwoColumns("", words), (std::vector<int>{151, 31}));
    auto l = Styled("table { border-spacing: 0 } td { padding: 0 } .m { max-width: 50px }",
                    "<table><tr><td class=m>aaa aaa aaa aaa aaa</td><td>bbbb</td></tr></table>");
    const ThtmlTable& t = FirstTable(l);
    EXPECT_EQ(t.ColumnWidths, (std::vector<int>{49, 31}));
    EXPECT_EQ(t.RowList[0]->RowSize, 5 * 16 - 1);
    // Spread over a wider table by the capped width: 49:31.
    EXPECT_EQ(TwoColumns("table { width: 400px } .m { max-width: 50px }", words),
              (std::vector<int>{245, 155}));
    // Never narrower than the longest word, where the text would run out of the cell.
    EXPECT_EQ(TwoColumns(".m { max-width: 10px }", "aaaaaa aaa"), (std::vector<int>{47, 31}));
    // A percentage caps nothing (as in Chromium).
    EXPECT_EQ(TwoColumns("table { width: 400px } .m { max-width: 10% }", words),
              TwoColumns("table { width: 400px }", words));
    // A larger width is held to max-width.
    EXPECT_EQ(TwoColumns(".m { width: 300px; max-width: 100px }")[0], 99);
}

TEST(CssTables, PixelCellWidthsAreExactInATableWithAWidth) {
    const std::string table = "table { width: 400px } ";
    // The cell is 150 px wide and the column without a width takes the rest.
    EXPECT_EQ(TwoColumns(table + ".m { width: 150px }"), (std::vector<int>{149, 251}));
    // The width is the content's: padding comes on top of it.
    EXPECT_EQ(TwoColumns(table + ".m { width: 150px; padding: 5px }"),
              (std::vector<int>{159, 241}));
    // With spacing: a 133 px cell with 1 px padding is 135 px wide between spacings of 3.
    auto spaced = Styled("table { width: 400px; border-spacing: 3px } td { padding: 1px }",
                         "<table><tr><td style='width: 133px'>a</td><td>bbbb</td></tr></table>");
    EXPECT_EQ(FirstTable(spaced).ColumnWidths[0], 137);
    // Columns that all have pixel widths share what is left by those widths.
    auto both = Styled("table { width: 400px; border-spacing: 0 } td { padding: 0; width: 100px }",
                       "<table><tr><td>a</td><td>bbbb</td></tr></table>");
    EXPECT_EQ(FirstTable(both).ColumnWidths, (std::vector<int>{200, 200}));
    // Pixel, percentage and free columns: each of the first two keeps its width.
    auto mixed = Styled("table { width: 400px; border-spacing: 0 } td { padding: 0 }",
                        "<table><tr><td style='width: 100px'>a</td><td style='width: 25%'>b</td>"
                        "<td>cc</td></tr></table>");
    EXPECT_EQ(FirstTable(mixed).ColumnWidths, (std::vector<int>{99, 100, 201}));
    // A table narrower than its cells' widths shrinks them alike, down to their content.
    auto narrow = Styled("table { width: 100px; border-spacing: 0 } td { padding: 0 }",
                         "<table><tr><td style='width: 150px'>a</td>"
                         "<td style='width: 150px'>b</td></tr></table>");
    EXPECT_EQ(FirstTable(narrow).ColumnWidths, (std::vector<int>{50, 50}));
}

// A table painted on a 200 x 100 canvas; every picture is a 10 x 10 blue square.
LaidOut Painted(std::string_view css, std::string_view body) {
    return PaintedWithBluePictures(Styled(css, body, 200));
}

Rgba At(const LaidOut& l, int x, int y) {
    return l.canvas->Surface().At(x, y);
}

TEST(CssTables, TablePicturesLieUnderTheCellsAndTheSpacing) {
    const std::string_view cells = "<table><tr><td>aaaa</td><td class=c>bbbb</td></tr></table>";
    auto l = Painted(
        "table { border-spacing: 4px; background: url(t.png) } td { padding: 0 } "
        ".c { background-color: #ff0000 }",
        cells);
    ThtmlTable& t = FirstTable(l);
    const int left = t.BodyIndent, top = t.LayoutY;
    const int split = left + t.ColumnWidths[0];
    EXPECT_TRUE(Blue(l, left + 1, top + 1));     // the spacing around the cells
    EXPECT_TRUE(Blue(l, left + 8, top + 8));     // a cell without a colour of its own
    EXPECT_TRUE(Blue(l, split + 2, top + 8));    // the spacing between the cells
    const Rgba red = At(l, split + 8, top + 8);  // a cell with its own colour
    EXPECT_EQ(red.r, 255);
    EXPECT_EQ(red.b, 0);
    EXPECT_FALSE(Blue(l, left + t.BodyWidth + 2, top + 8));  // right of the table

    // Under a picture that does not repeat, the table's colour fills the whole table: the
    // cells do not take it over the picture.
    auto once = Painted(
        "table { border-spacing: 0; background: #00ff00 url(t.png) no-repeat } td { padding: 0 }",
        cells);
    ThtmlTable& o = FirstTable(once);
    EXPECT_TRUE(Blue(once, o.BodyIndent + 3, o.LayoutY + 3));
    const Rgba green = At(once, o.BodyIndent + 20, o.LayoutY + 5);
    EXPECT_EQ(green.g, 255);
    EXPECT_EQ(green.b, 0);
}

TEST(CssTables, RowPicturesShowInTheRowsCells) {
    auto l = Painted(
        "table { border-spacing: 4px } td { padding: 0 } tr.p { background: url(t.png) }",
        "<table><tr class=p><td>aaaa</td><td>bbbb</td></tr><tr><td>cccc</td><td>dddd</td></tr>"
        "</table>");
    ThtmlTable& t = FirstTable(l);
    const int left = t.BodyIndent, top = t.LayoutY;
    const int split = left + t.ColumnWidths[0];
    const int second = top + t.RowList[0]->RowSize;
    EXPECT_TRUE(Blue(l, left + 8, top + 8));
    EXPECT_TRUE(Blue(l, split + 8, top + 8));
    EXPECT_FALSE(Blue(l, split + 2, top + 8));    // the spacing shows no row's picture
    EXPECT_FALSE(Blue(l, left + 8, second + 8));  // the next row

    // One picture over the row: placed at its right end, it shows in the last cell only.
    auto right = Painted(
        "table { border-spacing: 0 } td { padding: 0 } "
        "tr { background: #00ff00 url(t.png) no-repeat right top }",
        "<table><tr><td>aaaa</td><td>bbbb</td></tr></table>");
    ThtmlTable& r = FirstTable(right);
    EXPECT_TRUE(Blue(right, r.BodyIndent + r.BodyWidth - 3, r.LayoutY + 3));
    EXPECT_FALSE(Blue(right, r.BodyIndent + r.ColumnWidths[0] - 3, r.LayoutY + 3));
    EXPECT_EQ(At(right, r.BodyIndent + 3, r.LayoutY + 3).g, 255);  // the row's colour
}

TEST(CssTables, ATablesPictureIsOnePictureWhereverADrawingStarts) {
    // A page begins inside the table (as a printed page does): the tiles lie where they
    // lie in a drawing of the whole table, not restarted at the page's top. The tile is
    // blue in its upper half and white below.
    const auto draw = [](int from) {
        auto l = Styled("table { border-spacing: 0; background: url(t.png) } td { padding: 0 }",
                        "<p>x</p><table><tr><td>aaaa</td></tr><tr><td>bbbb</td></tr>"
                        "<tr><td>cccc</td></tr></table>",
                        200);
        l.doc->OnBitmapRequest = [](TSectionList&, const std::string&,
                                    std::shared_ptr<const RgbaImage>& bitmap, std::int64_t&) {
            auto tile = std::make_shared<RgbaImage>(10, 10, Rgba{255, 255, 255, 255});
            for (int y = 0; y < 5; ++y) {
                for (int x = 0; x < 10; ++x) tile->At(x, y) = Rgba{0, 0, 255, 255};
            }
            bitmap = std::move(tile);
        };
        l.canvas = std::make_unique<TestCanvas>(200, 100);
        l.doc->SetScreenCanvas(l.canvas.get());
        l.Layout(200);
        l.doc->Draw(*l.canvas, Rect{0, from, 200, 100}, 200, 0, 0);
        return l;
    };
    auto whole = draw(0);
    const ThtmlTable& t = FirstTable(whole);
    const int from = t.LayoutY + 13;
    auto page = draw(from);
    int blue = 0;
    for (int y = from; y < t.LayoutY + t.DrawHeight; ++y) {
        EXPECT_EQ(Blue(page, t.BodyIndent + 2, y), Blue(whole, t.BodyIndent + 2, y)) << y;
        blue += Blue(page, t.BodyIndent + 2, y) ? 1 : 0;
    }
    EXPECT_GT(blue, 0);
    EXPECT_FALSE(Blue(page, t.BodyIndent + 2, from - 10));  // above the page: not drawn
}

}  // namespace
}  // namespace quillon
