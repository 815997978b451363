// Table cells with boxes of their own on the fixed-metric canvas (characters 8 px, lines
// 16 px): their padding and borders in the column widths and row heights, where their
// content goes, their painted background and borders, collapsed borders, and the fonts
// and boxes in the layout dump.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "html/dump/layout_dump.h"
#include "html/layout/html_table.h"
#include "tests/html_layout/layout_test_support.h"

namespace quillon {
namespace {

using testing::FirstTable;
using testing::LaidOut;

constexpr Color kRed = 0xFF0000;
constexpr Color kBlue = 0x0000FF;
constexpr Color kYellow = 0xFFFF00;

// A parsed document that is not laid out yet, so that cells can be given boxes first.
LaidOut Parse(std::string_view html) {
    LaidOut l;
    l.doc->SetScreenCanvas(l.canvas.get());
    TNameList names;
    HtmlParseBuffer(*l.doc, names, html);
    return l;
}

TCellObj& CellOf(LaidOut& l, int row, int column) {
    return (*FirstTable(l).RowList.at(static_cast<std::size_t>(row)))[column];
}

BoxStyle Framed(int width, Color colour, std::array<int, 4> padding,
                BorderLineStyle style = BorderLineStyle::Solid) {
    BoxStyle box;
    for (BorderEdge& e : box.Border) e = BorderEdge{width, style, colour};
    box.Padding = padding;
    return box;
}

constexpr std::string_view kTwoCells =
    "<TABLE CELLSPACING=0 CELLPADDING=0><TR><TD>ab</TD><TD>cd</TD></TR>"
    "<TR><TD>e</TD><TD>f</TD></TR></TABLE>";

TEST(CellBoxes, PaddingAndBordersWidenTheColumnAndHeightenTheRow) {
    auto plain = Parse(kTwoCells);
    plain.Layout(400);
    const ThtmlTable& p = FirstTable(plain);

    auto l = Parse(kTwoCells);
    BoxStyle box = Framed(2, kRed, {4, 5, 6, 7});
    box.Background = kYellow;
    CellOf(l, 0, 0).SetBox(box);
    l.Layout(400);
    const ThtmlTable& t = FirstTable(l);
    // Left 2 + 7, right 5 + 2 instead of no padding at all; top 2 + 4, bottom 6 + 2.
    EXPECT_EQ(t.ColumnWidths[0], p.ColumnWidths[0] + 16);
    EXPECT_EQ(t.ColumnWidths[1], p.ColumnWidths[1]);
    EXPECT_EQ(t.RowList[0]->RowSize, p.RowList[0]->RowSize + 14);
    EXPECT_EQ(t.RowList[1]->RowSize, p.RowList[1]->RowSize);
    EXPECT_EQ(l.height, plain.height + 14);
    // The content starts inside the border and padding (CELLSPACING=0 leaves one pixel).
    ASSERT_EQ(t.Spacing, 1);
    const TCell& body = CellOf(l, 0, 0).Body;
    EXPECT_EQ(body.TopY, t.LayoutY + 1 + 6);

    l.canvas = std::make_unique<TestCanvas>(400, 100);
    l.doc->SetScreenCanvas(l.canvas.get());
    l.Layout(400);
    l.doc->Draw(*l.canvas, Rect{0, 0, 400, 100}, 400, 0, 0);
    const auto& log = l.canvas->Log();
    const int x0 = t.BodyIndent + 1, y0 = t.LayoutY + 1;  // the cell's top left pixel
    EXPECT_NE(std::find(log.begin(), log.end(),
                        "text " + std::to_string(x0 + 9) + "," + std::to_string(y0 + 6) + " ab"),
              log.end());
    const RgbaImage& s = l.canvas->Surface();
    EXPECT_EQ(s.At(x0, y0 + 10), ToRgba(kRed));  // left border
    EXPECT_EQ(s.At(x0 + 1, y0 + 10), ToRgba(kRed));
    EXPECT_EQ(s.At(x0 + 2, y0 + 10), ToRgba(kYellow));   // padding, own background
    EXPECT_EQ(s.At(x0 + 5, y0), ToRgba(kRed));           // top border
    const int right = t.BodyIndent + t.ColumnWidths[0];  // the cell's last column
    EXPECT_EQ(s.At(right, y0 + 10), ToRgba(kRed));
    EXPECT_EQ(s.At(right - 2, y0 + 10), ToRgba(kYellow));

    // A cell with a box keeps the table's 3D frame off its own edges only.
    auto framed = Parse("<TABLE BORDER=1 CELLSPACING=0><TR><TD>ab</TD><TD>cd</TD></TR></TABLE>");
    CellOf(framed, 0, 1).SetBox(Framed(1, kBlue, {0, 0, 0, 0}));
    framed.Layout(400);
    const TCellObj& own = CellOf(framed, 0, 1);
    EXPECT_EQ(own.Body.TopY, FirstTable(framed).LayoutY + 1 + 1 + own.InnerOffset);
}

TEST(CellBoxes, HitTestsUseTheCellsOwnPadding) {
    auto l = Parse(kTwoCells);
    CellOf(l, 0, 1).SetBox(Framed(3, kRed, {10, 10, 10, 10}));
    l.Layout(400);
    const ThtmlTable& t = FirstTable(l);
    // The first character of "cd": past the spacing, the border and the padding.
    const int x = t.BodyIndent + t.ColumnWidths[0] + t.Spacing + 13;
    const TCell& body = CellOf(l, 0, 1).Body;
    const CursorHit hit = l.doc->FindCursor(*l.canvas, x + 9, body.TopY + 4);
    EXPECT_EQ(hit.Index, body.StartCurs + 1);
    EXPECT_EQ(hit.X, x + 8);
    const auto at = l.doc->CursorToXY(*l.canvas, body.StartCurs);
    ASSERT_TRUE(at);
    EXPECT_EQ(at->x, x);
}

TEST(CellBoxes, CollapsedBordersMeetOnceWithTheWiderWinning) {
    auto l = Parse(
        "<TABLE CELLSPACING=5 CELLPADDING=0><TR><TD>ab</TD><TD>cd</TD></TR>"
        "<TR><TD>e</TD><TD>f</TD></TR></TABLE>");
    ThtmlTable& t = FirstTable(l);
    t.CollapseBorders = true;
    for (int r = 0; r < 2; ++r) {
        CellOf(l, r, 0).SetBox(Framed(2, kRed, {1, 1, 1, 1}));
        CellOf(l, r, 1).SetBox(Framed(4, kBlue, {1, 1, 1, 1}, BorderLineStyle::Double));
    }
    l.Layout(400);
    EXPECT_EQ(t.Spacing, 0);
    const CellBox& a = *CellOf(l, 0, 0).Box();
    const CellBox& b = *CellOf(l, 0, 1).Box();
    const CellBox& c = *CellOf(l, 1, 0).Box();
    EXPECT_FALSE(a.Edges[kBoxRight].Shown());  // the wider left edge of b is drawn
    EXPECT_EQ(b.Edges[kBoxLeft].Width, 4);
    EXPECT_EQ(a.Edges[kBoxBottom].Width, 2);  // as wide as c's top: drawn once, by a
    EXPECT_FALSE(c.Edges[kBoxTop].Shown());
    // Only the edges drawn take room: a's column holds its left edge, padding, "ab" and
    // padding, less the pixel that cells without spacing share.
    EXPECT_EQ(t.ColumnWidths[0], 2 + 1 + 16 + 1 - 1);
    // The style as given is kept.
    EXPECT_EQ(a.Style->Border[kBoxRight].Width, 2);

    // Without collapsing every cell draws its own edges, the spacing between them.
    auto separate =
        Parse("<TABLE CELLSPACING=5 CELLPADDING=0><TR><TD>ab</TD><TD>cd</TD></TR></TABLE>");
    CellOf(separate, 0, 0).SetBox(Framed(2, kRed, {1, 1, 1, 1}));
    CellOf(separate, 0, 1).SetBox(Framed(4, kBlue, {1, 1, 1, 1}));
    separate.Layout(400);
    EXPECT_EQ(FirstTable(separate).Spacing, 6);  // CELLSPACING plus one
    EXPECT_EQ(CellOf(separate, 0, 0).Box()->Edges[kBoxRight].Width, 2);
}

TEST(CellBoxes, PictureOfABorderedTableAndABoxedParagraph) {
    auto l = Parse(
        "<PRE>one\ntwo</PRE><TABLE CELLPADDING=0><TR><TD>ab</TD><TD>cd</TD></TR>"
        "<TR><TD>e</TD><TD>f</TD></TR></TABLE>");
    auto para = std::make_shared<BoxStyle>(Framed(3, kBlue, {4, 8, 4, 8}));
    para->Background = 0xE0E0FF;
    para->Border[kBoxBottom].Style = BorderLineStyle::Dashed;
    int texts = 0;
    for (int i = 0; i < l.doc->Count() && texts < 2; ++i) {
        if (dynamic_cast<TPreFormated*>(&(*l.doc)[i])) {
            (*l.doc)[i].SetBoxes({BoxMembership{para, texts == 0, texts == 1}});
            ++texts;
        }
    }
    ThtmlTable& t = FirstTable(l);
    t.CollapseBorders = true;
    BoxStyle cell = Framed(2, kRed, {3, 6, 3, 6});
    cell.Background = kYellow;
    CellOf(l, 0, 0).SetBox(cell);
    CellOf(l, 1, 1).SetBox(cell);
    CellOf(l, 0, 1).SetBox(Framed(6, 0x008000, {3, 6, 3, 6}, BorderLineStyle::Double));
    CellOf(l, 1, 0).SetBox(Framed(2, 0x008000, {3, 6, 3, 6}, BorderLineStyle::Dotted));
    l.canvas = std::make_unique<TestCanvas>(200, 140);
    l.doc->SetScreenCanvas(l.canvas.get());
    l.Layout(200);
    l.doc->Draw(*l.canvas, Rect{0, 0, 200, 140}, 200, 0, 0);
    // The shared edge of the top row is the double one, 6 px, and nothing of the thinner
    // red edge beside it.
    const RgbaImage& s = l.canvas->Surface();
    const int edge = t.BodyIndent + t.ColumnWidths[0];  // b's left edge
    const int y = CellOf(l, 0, 1).Body.TopY + 4;
    EXPECT_EQ(s.At(edge, y), ToRgba(0x008000));
    EXPECT_EQ(s.At(edge + 2, y), ToRgba(0xFFFFFF));
    EXPECT_EQ(s.At(edge + 5, y), ToRgba(0x008000));
    EXPECT_EQ(s.At(edge - 1, y), ToRgba(kYellow));
    if (const char* dir = std::getenv("QUILLON_TEST_PICTURES")) {
        std::ofstream out(std::string(dir) + "/boxes_and_table.ppm", std::ios::binary);
        out << "P6\n" << s.Width() << ' ' << s.Height() << "\n255\n";
        for (const Rgba& p : s.Pixels()) out << p.r << p.g << p.b;
    }
}

TEST(LayoutDumpBoxes, FontsOfRunsAndBoxesOfSectionsAndCells) {
    auto l = Parse(
        "<FONT COLOR=#112233><B><I><U>x</U></I></B></FONT> <STRIKE>y</STRIKE>"
        "<TABLE><TR><TD>c</TD></TR></TABLE>");
    auto box = std::make_shared<BoxStyle>(Framed(2, kRed, {1, 2, 3, 4}));
    box->Background = 0x00FF00;
    box->Border[kBoxLeft].Style = BorderLineStyle::None;
    l.Text(0).SetBoxes({BoxMembership{box, true, false}});
    CellOf(l, 0, 0).SetBox(Framed(1, kBlue, {0, 0, 0, 0}, BorderLineStyle::Dotted));
    l.Layout(400);
    const std::string json = DumpLayout(*l.doc, 400, l.height, true);
    EXPECT_NE(json.find("\"runs\": [{\"at\": 0, \"family\": \"Times New Roman\", \"size\": 16, "
                        "\"weight\": 700, \"style\": \"italic\", \"decoration\": \"underline\", "
                        "\"color\": \"#112233\"}, "),
              std::string::npos)
        << json;
    EXPECT_NE(json.find("\"weight\": 400, \"style\": \"normal\", \"decoration\": "
                        "\"line-through\", \"color\": \"#000000\"}"),
              std::string::npos)
        << json;
    EXPECT_NE(json.find("\"boxes\": [{\"first\": true, \"last\": false, \"background\": "
                        "\"#00ff00\", \"border\": [{\"width\": 2, \"style\": \"solid\", "
                        "\"color\": \"#ff0000\"}, {\"width\": 2, \"style\": \"solid\", "
                        "\"color\": \"#ff0000\"}, {\"width\": 2, \"style\": \"solid\", "
                        "\"color\": \"#ff0000\"}, {\"width\": 0, \"style\": \"none\", "
                        "\"color\": \"#ff0000\"}], \"padding\": [1, 2, 3, 4], "
                        "\"margin\": [0, 0, 0, 0]}]"),
              std::string::npos)
        << json;
    EXPECT_NE(json.find("\"box\": {\"background\": null, \"border\": [{\"width\": 1, "
                        "\"style\": \"dotted\", \"color\": \"#0000ff\"}"),
              std::string::npos)
        << json;
    // Sizes in pixels keep their fraction; without the flag there are no runs.
    auto small = Parse("<FONT SIZE=2>z</FONT>");
    small.Layout(400);
    EXPECT_NE(DumpLayout(*small.doc, 400, small.height, true).find("\"size\": 13.33"),
              std::string::npos);
    EXPECT_EQ(DumpLayout(*small.doc, 400, small.height).find("\"runs\""), std::string::npos);
}

}  // namespace
}  // namespace quillon
