// Sizes and floats from style sheets on the fixed-metric canvas (characters 8 px, lines
// 16 px): block widths and their wrapping, centred blocks, minimum heights, the widths
// of tables and how a specified width is spread over the columns, floating images and
// tables, and blocks that clear floats.
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

// "aaa bbb ccc ddd eee": 19 characters, 152 px on one line.
constexpr std::string_view kWords = "aaa bbb ccc ddd eee";

TEST(CssSizes, BlockWidthsWrapTheText) {
    const std::string div = "<div>" + std::string(kWords) + "</div>";
    // Without a width the line fits the 400 px page.
    EXPECT_EQ(Styled("div { color: red }", div).Text(0).LineList.size(), 1u);
    // 100 px: "aaa bbb ccc" (88 px), then "ddd eee".
    auto px = Styled("div { width: 100px }", div);
    ASSERT_EQ(px.Text(0).LineList.size(), 2u);
    EXPECT_EQ(testing::LineText(px.Text(0), 1), U"ddd eee");
    // Ems of the element's font (16 px): 10em is 160 px, wide enough for one line.
    EXPECT_EQ(Styled("div { width: 10em }", div).Text(0).LineList.size(), 1u);
    // A percentage of the room: 25% of 400 px is 100 px.
    EXPECT_EQ(Styled("div { width: 25% }", div).Text(0).LineList.size(), 2u);
    // max-width caps a width; min-width wins over both.
    EXPECT_EQ(Styled("div { width: 300px; max-width: 60px }", div).Text(0).LineList.size(), 3u);
    EXPECT_EQ(Styled("div { max-width: 60px; min-width: 200px }", div).Text(0).LineList.size(), 1u);
    // Paragraphs and headings take widths too.
    auto p = Styled("p, h2 { width: 100px }",
                    "<p>" + std::string(kWords) + "</p><h2>" + std::string(kWords) + "</h2>");
    EXPECT_EQ(p.Text(0).LineList.size(), 2u);
    EXPECT_EQ(p.Text(1).LineList.size(), 2u);
}

TEST(CssSizes, AutoMarginsCentreABlockAndWidthsAreOfTheContent) {
    // The 100 px content with 2 px border and 3 px padding on each side, centred in 400 px:
    // 290 px beside it, 145 on the left; the text starts 5 px further in.
    auto centred = Styled("div { width: 100px; margin: 0 auto; border: 2px solid; padding: 3px }",
                          "<div>x</div>");
    EXPECT_EQ(centred.Text(0).LineList[0].StartX, 150);
    // Only the left margin auto: pushed to the right.
    auto right = Styled("div { width: 100px; margin-left: auto }", "<div>x</div>");
    EXPECT_EQ(right.Text(0).LineList[0].StartX, 300);
    // A block floated right (blocks do not float) stands at the right.
    auto floated = Styled("div { width: 100px; float: right }", "<div>x</div>");
    EXPECT_EQ(floated.Text(0).LineList[0].StartX, 300);
    // Nested: the inner percentage is of the outer content width.
    auto nested = Styled(".o { width: 200px } .i { width: 50%; margin: 0 auto }",
                         "<div class=o><div class=i>" + std::string(kWords) + "</div></div>");
    EXPECT_EQ(nested.Text(0).LineList[0].StartX, 50);
    EXPECT_EQ(nested.Text(0).LineList.size(), 2u);
    // A block wider than the page keeps its left edge and widens the document.
    auto wide = Styled("div { width: 600px }", "<div>x</div>");
    EXPECT_EQ(wide.Text(0).LineList[0].StartX, 0);
    EXPECT_GE(wide.max_width, 600);
}

// Percentage margins and padding, on every side, are of the width of the room the block is
// in: the page for the outer block, the outer block's content for the inner one; each
// layout works them out again for its width.
TEST(CssSizes, PercentageMarginsAndPaddingAreOfTheWidthOfTheRoom) {
    const std::string_view css =
        ".o { margin: 5% 10%; border: 1px solid red } .in { margin: 0 0 0 50%; border: 1px solid "
        "red }"
        ".pad { padding: 0 0 0 10% }";
    const std::string_view body =
        "<div class=o>a<div class=in>b</div>c</div><div class=pad>d</div>";
    auto l = Styled(css, body);
    std::string json = DumpLayout(*l.doc, 400, l.height);
    // 5% and 10% of 400; 50% of 400 - 2 * 40 - 2 * 1.
    EXPECT_NE(json.find("\"padding\": [0, 0, 0, 0], \"margin\": [20, 40, 20, 40]"),
              std::string::npos)
        << json;
    EXPECT_NE(json.find("\"margin\": [0, 0, 0, 159]"), std::string::npos) << json;
    EXPECT_NE(json.find("\"padding\": [0, 0, 0, 40], \"margin\": [0, 0, 0, 0]"), std::string::npos)
        << json;
    EXPECT_EQ(l.Text(0).LineList[0].StartX, 41);
    EXPECT_EQ(l.Text(1).LineList[0].StartX, 41 + 159 + 1);
    EXPECT_EQ(l.Text(3).LineList[0].StartX, 40);
    EXPECT_EQ(l.Text(0).LayoutY - l.Text(0).FlowTop(), 20 + 1);
    l.Layout(200);
    json = DumpLayout(*l.doc, 200, l.height);
    EXPECT_NE(json.find("\"margin\": [10, 20, 10, 20]"), std::string::npos) << json;
    EXPECT_EQ(l.Text(1).LineList[0].StartX, 21 + 79 + 1);
    EXPECT_EQ(l.Text(3).LineList[0].StartX, 20);

    // A paragraph's percentage margins replace its spacing, without a border too.
    auto p = Styled("p { margin: 10% 0 0 25% }", "<p>a<p>b");
    EXPECT_EQ(p.Text(0).LineList[0].StartX, 100);
    EXPECT_EQ(p.Text(1).LayoutY - (p.Text(0).LayoutY + 16), 40);
}

TEST(CssSizes, HeightIsAMinimumHeight) {
    auto l = Styled("div { height: 100px; background: #eee } p { margin: 0 }",
                    "<div>x</div><p>after</p>");
    EXPECT_EQ(l.Text(0).FlowHeight(), 100);
    EXPECT_EQ(l.Text(1).LayoutY, l.Text(0).FlowTop() + 100);
    // Content higher than the height is not cut.
    auto tall = Styled("div { height: 20px; background: #eee }", "<div>a<br>b<br>c</div>");
    EXPECT_EQ(tall.Text(2).LayoutY + 16 - tall.Text(0).FlowTop(), 48);
    // Padding and border lie outside the height; nested boxes grow from the inside out.
    auto nested = Styled(".o { height: 80px; border: 1px solid } .i { height: 50px; padding: 5px }",
                         "<div class=o><div class=i>x</div></div>");
    EXPECT_EQ(nested.Text(0).FlowHeight(), 1 + 80 + 1);
    // Laying out again gives the same heights.
    nested.Layout(400);
    EXPECT_EQ(nested.Text(0).FlowHeight(), 82);
}

TEST(CssSizes, ABlockWidthSetsTheWidthOfATableCell) {
    auto l = Styled("div { width: 200px } td { border: 0 }",
                    "<table cellspacing=0 cellpadding=0><tr><td><div>x</div></td><td>y</td></tr>"
                    "</table>");
    ThtmlTable& t = FirstTable(l);
    ASSERT_EQ(t.ColumnWidths.size(), 2u);
    EXPECT_GE(t.ColumnWidths[0], 200);
}

TEST(CssSizes, SpecifiedTableWidthsAreSpreadByTheColumnsContent) {
    // Columns of 1 and 4 characters in a 400 px wide table without spacing or padding
    // (maximum widths 7 and 31: a cell's added width is one less than its padding and
    // spacing): both reach their maximum, and the other 362 px are shared 7:31.
    const std::string cells = "<table><tr><td>a</td><td>bbbb</td></tr></table>";
    auto l = Styled("table { width: 400px; border-spacing: 0 } td { padding: 0 }", cells);
    const ThtmlTable& t = FirstTable(l);
    ASSERT_EQ(t.ColumnWidths.size(), 2u);
    EXPECT_EQ(t.ColumnWidths, (std::vector<int>{74, 326}));
    // width: 100% the same way.
    auto full = Styled("table { width: 100%; border-spacing: 0 } td { padding: 0 }", cells);
    EXPECT_EQ(FirstTable(full).ColumnWidths, t.ColumnWidths);
    // A percentage column keeps its share; the rest goes to the other.
    auto pct = Styled(
        "table { width: 400px; border-spacing: 0 } td { padding: 0 } "
        "td.p { width: 50% }",
        "<table><tr><td class=p>a</td><td>bbbb</td></tr></table>");
    EXPECT_EQ(FirstTable(pct).ColumnWidths, (std::vector<int>{200, 200}));
    // Narrower than the content's maximum: each column between its minimum and maximum.
    auto narrow =
        Styled("table { width: 100px; border-spacing: 0 } td { padding: 0 }",
               "<table><tr><td>aaa aaa aaa aaa</td><td>bbb bbb bbb bbb</td></tr></table>");
    EXPECT_EQ(FirstTable(narrow).ColumnWidths, (std::vector<int>{50, 50}));
}

TEST(CssSizes, TableMinAndMaxWidths) {
    const std::string cells = "<table><tr><td>a</td><td>bbbb</td></tr></table>";
    // min-width stretches a narrow table; max-width narrows a wide one.
    auto min = Styled("table { min-width: 300px; border-spacing: 0 } td { padding: 0 }", cells);
    EXPECT_EQ(FirstTable(min).BodyWidth, 300);
    auto max = Styled(
        "table { width: 100%; max-width: 200px; border-spacing: 0 } "
        "td { padding: 0 }",
        cells);
    EXPECT_EQ(FirstTable(max).BodyWidth, 200);
    // A table without them lays out to its content.
    auto plain = Styled("table { border-spacing: 0 } td { padding: 0 }", cells);
    EXPECT_LT(FirstTable(plain).BodyWidth, 60);
}

TEST(CssSizes, FloatingImagesAndTables) {
    auto img = Styled("img.r { float: right } img.l { float: left } img.n { float: none }",
                      "<img class=r src=x.png width=20 height=20> text <img class=l src=y.png> "
                      "<img class=n align=left src=z.png>");
    const auto& images = img.Text(0).InlineImages();
    ASSERT_EQ(images.size(), 3u);
    EXPECT_EQ(images[0]->Placement, AlignmentType::ARight);
    EXPECT_EQ(images[1]->Placement, AlignmentType::ALeft);
    EXPECT_FALSE(images[2]->Floating());
    // Pixel sizes from the style.
    auto sized = Styled("img { width: 30px; height: 10px }", "<img src=x.png>");
    EXPECT_EQ(sized.Text(0).InlineImages()[0]->WidthValue, 30);
    EXPECT_EQ(sized.Text(0).InlineImages()[0]->HeightValue, 10);

    auto table = Styled("table { float: right }", "<table><tr><td>x</td></tr></table>text");
    EXPECT_EQ(FirstTable(table).Floating, AlignmentType::ARight);
    EXPECT_EQ(FirstTable(table).Height, 0);  // text flows beside it
}

TEST(CssSizes, ClearStartsBelowTheFloats) {
    const std::string body =
        "<img src=x.png width=50 height=80 style='float: left'><p>beside</p><p class=c>below</p>";
    auto beside = Styled("p { margin: 0 }", body);
    auto cleared = Styled("p { margin: 0 } .c { clear: left }", body);
    EXPECT_LT(beside.Text(2).LayoutY, 80);
    int y = 0;
    for (int i = 0; i < cleared.doc->Count(); ++i) {
        if (auto* s = dynamic_cast<TSection*>(&(*cleared.doc)[i]); s && !s->LineList.empty()) {
            if (testing::LineText(*s, 0) == U"below") y = s->LayoutY;
        }
    }
    EXPECT_GE(y, 80);
}

// A block with a background picture, painted on a 200 x 100 canvas; the picture is a 10 x 10
// blue square (any name asked for).
LaidOut Pictured(std::string_view css,
                 std::string_view body = "<div>one<br>two<br>three</div><p>after</p>") {
    return PaintedWithBluePictures(Styled(std::string(css) + " p { margin: 0 }", body, 200));
}

TEST(CssSizes, BackgroundPicturesAreTiledOverTheBox) {
    // The div's three lines (48 px high): tiled everywhere in it, also across its sections,
    // and not under the paragraph after it.
    auto tiled = Pictured("div { background: url(tile.png) }");
    EXPECT_TRUE(Blue(tiled, 195, 1));
    EXPECT_TRUE(Blue(tiled, 195, 40));
    EXPECT_FALSE(Blue(tiled, 195, 60));
    // no-repeat: one tile at the top left.
    auto once = Pictured("div { background-image: url(tile.png); background-repeat: no-repeat }");
    EXPECT_TRUE(Blue(once, 9, 9));
    EXPECT_FALSE(Blue(once, 11, 9));
    EXPECT_FALSE(Blue(once, 9, 11));
    // repeat-x along the top, repeat-y down the left side.
    auto x = Pictured("div { background: url(tile.png) repeat-x }");
    EXPECT_TRUE(Blue(x, 195, 5));
    EXPECT_FALSE(Blue(x, 195, 15));
    auto y = Pictured("div { background: url(tile.png) repeat-y }");
    EXPECT_TRUE(Blue(y, 5, 45));
    EXPECT_FALSE(Blue(y, 15, 45));
    // Centred: the tile's middle at the box's middle (100, 24).
    auto centred = Pictured("div { background: url(tile.png) no-repeat center }");
    EXPECT_TRUE(Blue(centred, 96, 20));
    EXPECT_TRUE(Blue(centred, 104, 28));
    EXPECT_FALSE(Blue(centred, 94, 24));
    EXPECT_FALSE(Blue(centred, 100, 30));
    // "right bottom" and pixel positions.
    auto corner = Pictured("div { background: url(tile.png) no-repeat right bottom }");
    EXPECT_TRUE(Blue(corner, 199, 47));
    EXPECT_FALSE(Blue(corner, 189, 47));
    auto px = Pictured("div { background: url(tile.png) no-repeat 20px 5px }");
    EXPECT_TRUE(Blue(px, 20, 5));
    EXPECT_FALSE(Blue(px, 19, 5));
}

TEST(CssSizes, TableCellsTakeBackgroundPictures) {
    const std::string_view table =
        "<table><tr><td class=p>one two three four</td><td>plain</td></tr></table>";
    auto l = Pictured("table { border-spacing: 0 } .p { background: url(t.png) repeat-x }", table);
    const ThtmlTable& t = FirstTable(l);
    ASSERT_EQ(t.ColumnWidths.size(), 2u);
    const int split = t.BodyIndent + t.ColumnWidths[0];
    EXPECT_TRUE(Blue(l, split - 3, t.LayoutY + 3));
    EXPECT_FALSE(Blue(l, split + 3, t.LayoutY + 3));
    EXPECT_FALSE(Blue(l, split - 3, t.LayoutY + 12));
}

}  // namespace
}  // namespace quillon
