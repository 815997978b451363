// Percentages in styled tables on the fixed-metric canvas (characters 8 px, lines 16 px):
// a cell's padding, min-width and max-width are of the table's width, a table's margins of
// the width of the room it is in, and each is resolved again by every layout.
//
// Chromium's figures are from a page 800 px wide (784 px inside the body's margins; ours
// are 400 px wide) with border-spacing 0 and no padding unless the case says otherwise.
#include <gtest/gtest.h>

#include "html/dump/layout_dump.h"
#include "html/layout/html_table.h"
#include "tests/html_layout/layout_test_support.h"

namespace quillon {
namespace {

using testing::FirstTable;
using testing::LaidOut;
using testing::Styled;

const TCellObj& CellOf(LaidOut& l, int row, int column) {
    return (*FirstTable(l).RowList.at(static_cast<std::size_t>(row)))[column];
}

// Where the first line of a cell's content starts, from the table's left edge.
int ContentX(LaidOut& l, int row, int column) {
    const ThtmlTable& t = FirstTable(l);
    const TCellObj& cell = CellOf(l, row, column);
    int x = t.BodyIndent + t.Spacing + t.CellRoom(cell, kBoxLeft);
    for (int c = 0; c < column; ++c) x += t.ColumnWidths[static_cast<std::size_t>(c)];
    return x - t.BlockIndent;
}

constexpr std::string_view kTwoCells = "<table><tr><td>ab</td><td>cd</td></tr></table>";

TEST(TablePercentages, CellPaddingIsOfTheTablesWidthLessItsOuterSpacing) {
    // Chromium, width 400px: padding 5% is 20 px on every side, the cells 200 px wide.
    auto l = Styled("table { width: 400px; border-spacing: 0 } td { padding: 5% }", kTwoCells);
    const ThtmlTable& t = FirstTable(l);
    EXPECT_EQ(t.BodyWidth, 400);
    EXPECT_EQ(t.ColumnWidths, (std::vector<int>{200, 200}));
    EXPECT_EQ(ContentX(l, 0, 0), 20);
    EXPECT_EQ(ContentX(l, 0, 1), 220);
    EXPECT_EQ(CellOf(l, 0, 0).Body.TopY, t.LayoutY + 20);
    // The row holds the line and 40 px of padding (the added height is one short).
    EXPECT_EQ(t.RowList[0]->RowSize, 16 + 40 - 1);
    // The layout dump shows the padding in pixels.
    const std::string json = DumpLayout(*l.doc, 400, l.height);
    EXPECT_NE(json.find("\"padding\": [20, 20, 20, 20]"), std::string::npos) << json;

    // Chromium, width 400px, border-spacing 10px: 19 px, 5% of 400 less two spacings.
    auto spaced =
        Styled("table { width: 400px; border-spacing: 10px } td { padding: 5% }", kTwoCells);
    EXPECT_EQ(ContentX(spaced, 0, 0), 10 + 19);
    // Chromium, width 50% (392 px): padding-top 10% is 39.2 px. Here 10% of 200, and of
    // 100 once the page is 200 px wide: every layout resolves it again.
    auto half = Styled("table { width: 50%; border-spacing: 0 } td { padding: 10% 0 0 0 }",
                       "<table><tr><td>ab</td></tr></table>");
    EXPECT_EQ(CellOf(half, 0, 0).Body.TopY, FirstTable(half).LayoutY + 20);
    half.Layout(200);
    EXPECT_EQ(CellOf(half, 0, 0).Body.TopY, FirstTable(half).LayoutY + 10);
}

TEST(TablePercentages, CellsMakeRoomForTheirPercentagePadding) {
    // A table as wide as its content: Chromium takes the content's width without the
    // padding (31.3 px for "ab" and "cd"), pads the cells by 5% of that (1.6 px) and lets
    // the text run out of them. Here the padding is 5% of that width too (30 px: 2 px),
    // and the columns widen by it, so that the text stays inside.
    auto l = Styled("table { border-spacing: 0 } td { padding: 0 5% }", kTwoCells);
    const ThtmlTable& t = FirstTable(l);
    EXPECT_EQ(t.ColumnWidths, (std::vector<int>{15 + 4, 15 + 4}));
    EXPECT_EQ(ContentX(l, 0, 0), 2);
    EXPECT_EQ(ContentX(l, 0, 1), 19 + 2);
    // Chromium, content wider than the page: the table fills it (784 px) and padding-left
    // 10% is 78.4 px; the text wraps in what is left.
    const std::string words(30, 'a');
    auto wide = Styled("table { border-spacing: 0 } td { padding: 0 0 0 10% }",
                       "<table><tr><td>" + words + " " + words + "</td></tr></table>");
    EXPECT_EQ(FirstTable(wide).BodyWidth, 400);
    EXPECT_EQ(ContentX(wide, 0, 0), 40);
    const auto& text = dynamic_cast<const TSection&>(CellOf(wide, 0, 0).Body[0]);
    EXPECT_EQ(text.LineList.size(), 2u);
    // Chromium, width 100px and padding 0 20% around a word of 94 px: 20 px a side and the
    // word out of the cell. Here the cell widens to hold the word within its padding.
    auto narrow = Styled("table { width: 100px; border-spacing: 0 } td { padding: 0 20% }",
                         "<table><tr><td>aaaaaaaaaaaa</td></tr></table>");
    EXPECT_EQ(ContentX(narrow, 0, 0), 20);
    EXPECT_EQ(FirstTable(narrow).BodyWidth, 20 + 96 + 20 - 1);  // the added width is one short
    // An enclosing cell gives the table the room its padding takes.
    auto nested = Styled("table { border-spacing: 0 } td { padding: 0 } td.p { padding: 0 10% }",
                         "<table><tr><td><table><tr><td class=p>" + words +
                             "</td></tr></table></td><td>b</td></tr></table>");
    const ThtmlTable& outer = FirstTable(nested);
    EXPECT_EQ(outer.ColumnWidths[0], 24 + 240 + 24 - 2);
}

TEST(TablePercentages, TableMarginsAreOfTheRoom) {
    // Three words of 120 px: 376 px on one line.
    const std::string word(15, 'a');
    const std::string wide =
        "<table><tr><td>" + word + " " + word + " " + word + "</td></tr></table>";
    const std::string_view plain = "table { border-spacing: 0 } td { padding: 0 } ";
    // Chromium: margin-left 10% puts the table 78.4 px in (10% of 784).
    auto left = Styled(std::string(plain) + "table { margin-left: 10% }", kTwoCells);
    EXPECT_EQ(FirstTable(left).BlockIndent, 40);
    // Chromium: margin 0 5% leaves a wide table 705.6 px (784 less twice 39.2).
    auto sides = Styled(std::string(plain) + "table { margin: 0 5% }", wide);
    EXPECT_EQ(FirstTable(sides).BlockIndent, 20);
    EXPECT_EQ(FirstTable(sides).BodyWidth, 360);
    // Chromium: margin-left 20px, margin-right 10%: 685.6 px from x 20.
    auto mixed =
        Styled(std::string(plain) + "table { margin-left: 20px; margin-right: 10% }", wide);
    EXPECT_EQ(FirstTable(mixed).BlockIndent, 20);
    EXPECT_EQ(FirstTable(mixed).BodyWidth, 400 - 20 - 40);
    // Chromium: width 50% with margin-left 10% is 392 px wide at 78.4: the width is of the
    // room, not of what the margins leave of it.
    auto half = Styled(std::string(plain) + "table { width: 50%; margin-left: 10% }", kTwoCells);
    EXPECT_EQ(FirstTable(half).BlockIndent, 40);
    EXPECT_EQ(FirstTable(half).BodyWidth, 200);
    // Chromium: margin-top 5% is 39.2 px above the table, 5% of the width.
    auto flush = Styled(plain, "x" + std::string(kTwoCells));
    auto top =
        Styled(std::string(plain) + "table { margin-top: 5% }", "x" + std::string(kTwoCells));
    EXPECT_EQ(FirstTable(top).LayoutY, FirstTable(flush).LayoutY + 20);
    EXPECT_EQ(top.height, flush.height + 20);
    // Chromium: in a block 400 px wide, margin-left 25% is 100 px. Here the block is 200.
    auto inner = Styled(std::string(plain) + "div { width: 200px } table { margin-left: 25% }",
                        "<div>" + std::string(kTwoCells) + "</div>");
    EXPECT_EQ(FirstTable(inner).BlockIndent, 50);
    // Every layout resolves them again.
    sides.Layout(200);
    EXPECT_EQ(FirstTable(sides).BlockIndent, 10);
    EXPECT_EQ(FirstTable(sides).BodyWidth, 180);
    // The layout dump shows them in pixels.
    const std::string json = DumpLayout(*sides.doc, 200, sides.height);
    EXPECT_NE(json.find("\"margin\": [0, 10, 0, 10]"), std::string::npos) << json;

    // Automatic side margins: both centre the table, the left one alone puts it at the
    // right (beside a pixel margin on the other side), the right one alone at the left.
    auto centred = Styled(std::string(plain) + "table { margin: 0 auto; width: 50% }", kTwoCells);
    EXPECT_EQ(FirstTable(centred).BlockIndent, 100);
    auto right =
        Styled(std::string(plain) + "table { margin-left: auto; margin-right: 20px }", kTwoCells);
    EXPECT_EQ(FirstTable(right).BlockIndent + FirstTable(right).BlockWidth, 380);
    auto back = Styled(std::string(plain) + "table { margin-right: auto }",
                       "<center>" + std::string(kTwoCells) + "</center>");
    EXPECT_EQ(FirstTable(back).BlockIndent, 0);

    // A table without margins or percentages has nothing more to resolve.
    auto none = Styled(plain, kTwoCells);
    EXPECT_EQ(FirstTable(none).Boxes(), nullptr);
    EXPECT_FALSE(FirstTable(none).CellPercentages);
}

}  // namespace
}  // namespace quillon
