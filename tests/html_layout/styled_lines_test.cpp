// The lines of styled blocks on the fixed-metric canvas (characters 8 px, lines 16 px with
// ascent 12): the first line's indent, the height of line boxes, kept white space and
// unwrapped lines, hidden text that keeps its room, and the style sheet rules of the medium
// a document is laid out for.
#include <gtest/gtest.h>

#include <string>

#include "html/dump/layout_dump.h"
#include "html/layout/html_table.h"
#include "tests/html_layout/layout_test_support.h"

namespace quillon {
namespace {

using testing::LaidOut;
using testing::LayOut;
using testing::LineText;
using testing::Styled;

// A section's lines as "x:text" (x of the line's start from the cell's left edge).
std::string Lines(const TSection& s) {
    std::string out;
    for (std::size_t k = 0; k < s.LineList.size(); ++k) {
        const std::u32string text = LineText(s, static_cast<int>(k));
        out += (k ? " " : "") + std::to_string(s.LineList[k].StartX) + ":" +
               std::string(text.begin(), text.end());
    }
    return out;
}

// Every text section's lines of the document (not inside tables), one section a line.
std::string Lines(LaidOut& l) {
    std::string out;
    for (int i = 0; i < l.doc->Count(); ++i) {
        if (const auto* s = dynamic_cast<const TSection*>(&(*l.doc)[i])) out += Lines(*s) + "\n";
    }
    return out;
}

// The first section of the first cell of the document's first table.
const TSection& FirstCell(LaidOut& l, int column = 0) {
    for (int i = 0; i < l.doc->Count(); ++i) {
        if (auto* t = dynamic_cast<ThtmlTable*>(&(*l.doc)[i])) {
            return dynamic_cast<const TSection&>((*t->RowList.front())[column].Body[0]);
        }
    }
    throw std::out_of_range("no table");
}

// The texts the canvas drew, as "x,y text".
std::string Drawn(const LaidOut& l) {
    std::string out;
    for (const std::string& line : l.canvas->Log()) {
        if (line.rfind("text ", 0) == 0) out += line.substr(5) + "\n";
    }
    return out;
}

TEST(StyledLines, TextIndentMovesTheFirstLineOfTheBlockOnly) {
    // Pixels and em (of the element's font); the room of the first line shrinks by it.
    auto px = Styled("p { text-indent: 16px }", "<p>aaaa bbbb cccc dddd<br>eeee", 80);
    EXPECT_EQ(Lines(px), "16:aaaa  0:bbbb cccc  0:dddd\n0:eeee\n");
    auto em = Styled("h2 { text-indent: 1em; font-size: 16px }", "<h2>aaaa</h2>", 100);
    EXPECT_EQ(em.Text(0).LineList[0].StartX, 16);
    // A percentage of the block's width.
    auto percent = Styled("div { text-indent: 50% }", "<div>aaaa bbbb</div>", 100);
    EXPECT_EQ(Lines(percent), "50:aaaa  0:bbbb\n");
    // Inherited: each paragraph of the DIV starts indented, the text after them does not.
    auto nested = Styled("div { text-indent: 8px }", "<div><p>a</p><p>b</p>c</div>");
    EXPECT_EQ(Lines(nested), "8:a\n8:b\n0:c\n");
}

TEST(StyledLines, NegativeIndentHangsTheFirstLineDownToTheLeftEdge) {
    // A list item's text starts at the list indent; the first line moves left of it.
    auto hang = Styled("li { text-indent: -16px }", "<ul><li>aaaa bbbb cccc</ul>", 120);
    const TSection& item = hang.Text(0);
    ASSERT_GE(item.LineList.size(), 2u);
    EXPECT_EQ(item.LineList[0].StartX, item.LineList[1].StartX - 16);
    // Never past the cell's left edge.
    auto far = Styled("p { text-indent: -500px }", "<p>aaaa bbbb cccc", 100);
    EXPECT_EQ(Lines(far), "0:aaaa bbbb  0:cccc\n");
}

TEST(StyledLines, TextIndentInCellsCountsInTheirWidths) {
    auto plain = LayOut("<table><tr><td>ab cd</td><td>x</td></tr></table>", 400);
    auto l = Styled("td { text-indent: 24px }", "<table><tr><td>ab cd</td><td>x</td></tr></table>");
    // The cell is wider by the indent, so that its text stays on one line.
    const TSection& cell = FirstCell(l);
    ASSERT_EQ(cell.LineList.size(), 1u);
    EXPECT_EQ(cell.LineList[0].StartX, FirstCell(plain).LineList[0].StartX + 24);
    EXPECT_EQ(l.max_width, plain.max_width + 48);
}

TEST(StyledLines, LineHeightSetsTheLineBoxTextInItsMiddle) {
    const auto advances = [](LaidOut& l) {
        std::string out;
        for (const LineRec& line : l.Text(0).LineList) {
            out += std::to_string(line.ExtraAbove) + "/" + std::to_string(line.Advance()) + " ";
        }
        return out;
    };
    // 16 px text lines; 24 px boxes put 4 px above and below.
    auto px = Styled("p { line-height: 24px }", "<p>aaaa bbbb", 60);
    EXPECT_EQ(advances(px), "4/24 4/24 ");
    // A number times the font size (16 px), a percentage of it, and normal.
    auto number = Styled("p { font-size: 16px; line-height: 2 }", "<p>a");
    EXPECT_EQ(advances(number), "8/32 ");
    // A number scales with the line's own font: a heading's 32 px (its tag's size).
    auto heading = Styled("h1 { line-height: 1.5 }", "<h1>a</h1>");
    EXPECT_EQ(advances(heading), "16/48 ");
    auto percent = Styled("p { font-size: 16px; line-height: 125% }", "<p>a");
    EXPECT_EQ(advances(percent), "2/20 ");
    auto normal = Styled("p { line-height: normal }", "<p>a");
    EXPECT_EQ(advances(normal), "0/16 ");
    // Smaller than the text: the lines come closer together.
    auto tight = Styled("p { line-height: 10px }", "<p>aaaa bbbb", 60);
    EXPECT_EQ(advances(tight), "-3/10 -3/10 ");
    EXPECT_EQ(tight.Text(0).Height, 20);
    // The document's height grows by the extra room.
    auto plain = LayOut("<p>aaaa bbbb", 60);
    EXPECT_EQ(px.height, plain.height + 16);
}

TEST(StyledLines, WhiteSpaceNoWrapKeepsLinesWholeButBreaksAtBr) {
    auto l = Styled(".n { white-space: nowrap }", "<p class=n>aaaa bbbb cccc<br>dd  ee</p>", 60);
    EXPECT_EQ(Lines(l), "0:aaaa bbbb cccc\n0:dd ee\n");
    EXPECT_GE(l.max_width, 14 * 8);
    // Centred text that fits is still centred.
    auto centred = Styled("p { white-space: nowrap; text-align: center }", "<p>ab", 60);
    EXPECT_EQ(Lines(centred), "22:ab\n");
    // In a table the cell is as wide as the whole line.
    auto cell =
        Styled("td { white-space: nowrap }", "<table><tr><td>aaaa bbbb</td></tr></table>", 60);
    EXPECT_EQ(Lines(FirstCell(cell)).substr(1), ":aaaa bbbb");
}

TEST(StyledLines, WhiteSpacePreKeepsSpacesAndLineEnds) {
    auto pre =
        Styled(".p { white-space: pre }", "<div class=p>a  b\n\n  c d e f g h i</div>x y", 60);
    EXPECT_EQ(Lines(pre), "0:a  b\n0: \n0:  c d e f g h i\n0:x y\n");
    // pre-wrap keeps them too, and wraps.
    auto wrap =
        Styled(".p { white-space: pre-wrap }", "<div class=p>a  b\n  c d e f g h</div>", 60);
    EXPECT_EQ(Lines(wrap), "0:a  b\n0:  c d e  0:f g h\n");
    // Inline elements inside keep the block's spaces; the block's end restores folding.
    auto inner = Styled("div { white-space: pre }", "<div>a  <b>b  </b>c</div><p>d    e");
    EXPECT_EQ(Lines(inner), "0:a  b  c\n0:d e\n");
    // Indented first line and line height go with it.
    auto both =
        Styled("div { white-space: pre; text-indent: 8px; line-height: 20px }", "<div>a\nb</div>");
    EXPECT_EQ(Lines(both), "8:a\n0:b\n");
    EXPECT_EQ(both.Text(1).LineList[0].Advance(), 20);
}

// Whether any pixel of the canvas inside r differs from white.
bool Inked(const LaidOut& l, const Rect& r) {
    const RgbaImage& s = l.canvas->Surface();
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x) {
            const Rgba p = s.At(x, y);
            if (p.r != 255 || p.g != 255 || p.b != 255) return true;
        }
    }
    return false;
}

void Paint(LaidOut& l, int width = 200) {
    l.canvas = std::make_unique<TestCanvas>(width, 120);
    l.doc->SetScreenCanvas(l.canvas.get());
    l.Layout(width);
    l.doc->Draw(*l.canvas, Rect{0, 0, width, 120}, width, 0, 0);
}

TEST(StyledLines, HiddenElementsKeepTheirRoomAndDrawNothing) {
    const std::string_view body =
        "<p class=h>aaaa<span class=v>bb</span></p><div class=box>cc</div><ul class=h><li>"
        "<img src=missing.png width=10 height=10>i</ul><p>d <span class=h>eee</span> f";
    auto shown = Styled(".box { background: #0f0; border: 2px solid red }", body);
    auto hidden = Styled(
        ".h, .box { visibility: hidden } .v { visibility: visible }"
        ".box { background: #0f0; border: 2px solid red }",
        body);
    Paint(shown);
    Paint(hidden);
    // The same lines, at the same places.
    EXPECT_EQ(Lines(hidden), Lines(shown));
    EXPECT_EQ(hidden.height, shown.height);
    // Only the visible child of the hidden paragraph and the text around the hidden span.
    const int p = hidden.Text(0).LayoutY;
    const int last = hidden.Text(3).LayoutY;
    EXPECT_EQ(Drawn(hidden), "32," + std::to_string(p) + " bb\n0," + std::to_string(last) +
                                 " d \n40," + std::to_string(last) + "  f\n");
    EXPECT_NE(Drawn(shown).find(" aaaa"), std::string::npos);
    EXPECT_NE(Drawn(shown).find(" i\n"), std::string::npos);
    // The box: neither background nor border.
    const TSection& box = hidden.Text(1);
    const Rect box_area{0, box.FlowTop(), 200, box.FlowTop() + box.FlowHeight()};
    EXPECT_FALSE(Inked(hidden, box_area));
    EXPECT_TRUE(Inked(shown, box_area));
    // Nor the list's bullet or the picture's frame.
    const TSection& item = hidden.Text(2);
    const Rect item_area{0, item.LayoutY, 200, item.LayoutY + item.Height};
    EXPECT_FALSE(Inked(hidden, item_area));
    EXPECT_TRUE(Inked(shown, item_area));
}

TEST(StyledLines, TheLayoutDumpShowsLineBoxesIndentsAndHiddenParts) {
    auto l = Styled(
        ".h { visibility: hidden } p { line-height: 20px; text-indent: 8px }"
        "div { border: 1px solid red }",
        "<p>a<span class=h>b</span></p><div class=h>c</div>", 200);
    const std::string json = DumpLayout(*l.doc, 200, l.height, true);
    EXPECT_NE(json.find("\"height\": 20, \"x\": 8, \"chars\": 2"), std::string::npos) << json;
    EXPECT_NE(json.find("\"at\": 1, \"family\""), std::string::npos);
    EXPECT_NE(json.find("\"color\": \"#000000\", \"hidden\": true}"), std::string::npos);
    EXPECT_NE(json.find("\"background\": null, \"hidden\": true, \"border\""), std::string::npos);
    // Nothing of it without style.
    auto plain = LayOut("<p>a<span>b</span></p><div>c</div>", 200);
    EXPECT_EQ(DumpLayout(*plain.doc, 200, plain.height, true).find("hidden"), std::string::npos);
}

TEST(StyledLines, HiddenCellsKeepTheirRoom) {
    const std::string_view body = "<table><tr><td class=c>aa</td><td>bb</td></tr></table>";
    auto shown = Styled("td { background: #0f0; border: 1px solid blue }", body);
    auto hidden =
        Styled("td { background: #0f0; border: 1px solid blue } .c { visibility: hidden }", body);
    Paint(shown);
    Paint(hidden);
    EXPECT_EQ(Drawn(shown).substr(Drawn(shown).find(" aa\n") + 4), Drawn(hidden));
    // The first cell's area is blank; the second cell is painted as before.
    const Rect first{0, 0, 8 + 2 * 8, 30};  // the first cell and its borders
    EXPECT_FALSE(Inked(hidden, first));
    EXPECT_TRUE(Inked(shown, first));
    EXPECT_TRUE(Inked(hidden, Rect{40, 0, 80, 30}));
}

// The area a table takes on the canvas (Paint draws the document from y 0).
Rect TableArea(LaidOut& l, int index) {
    for (int i = 0; i < l.doc->Count(); ++i) {
        if (auto* t = dynamic_cast<ThtmlTable*>(&(*l.doc)[i]); t && index-- == 0) {
            return Rect{0, t->LayoutY, 200, t->LayoutY + t->DrawHeight};
        }
    }
    throw std::out_of_range("no such table");
}

TEST(StyledLines, HiddenTablesAndRowsPaintNothingOfTheirOwn) {
    // A table with a frame, an edge colour and a colour of its own; a row with colours
    // (attribute and style) and a cell that shows again inside it.
    const std::string_view body =
        "<table border=1 bordercolor=blue bgcolor=yellow class=t><tr><td>aa</td></tr></table>"
        "<table cellspacing=0><tr class=r bgcolor=red><td>bb</td><td class=v>cc</td></tr></table>";
    const std::string_view css = ".t { background-color: #0f0 } .r { background-color: #f0f }";
    auto shown = Styled(css, body);
    auto hidden =
        Styled(std::string(css) + ".t, .r { visibility: hidden } .v { visibility: visible }", body);
    Paint(shown);
    Paint(hidden);
    EXPECT_EQ(hidden.height, shown.height);
    for (int table = 0; table < 2; ++table) {
        EXPECT_TRUE(Inked(shown, TableArea(shown, table))) << table;
        EXPECT_FALSE(Inked(hidden, TableArea(hidden, table))) << table;
    }
    // Only the visible cell's text is drawn, where it was.
    const std::string drawn = Drawn(shown);
    const std::size_t cc = drawn.rfind('\n', drawn.find(" cc\n")) + 1;
    EXPECT_EQ(Drawn(hidden), drawn.substr(cc, drawn.find('\n', cc) + 1 - cc));
}

TEST(StyledLines, MediaRulesFollowTheMediumOfTheLayout) {
    const std::string html =
        "<style>@media print { p { text-indent: 40px } } @media screen { p { text-indent: 8px } }"
        "</style><p>a";
    LaidOut screen;
    LaidOut print;
    TNameList names;
    screen.doc->SetScreenCanvas(screen.canvas.get());
    print.doc->SetScreenCanvas(print.canvas.get());
    HtmlParseBuffer(*screen.doc, names, html);
    HtmlParseBuffer(*print.doc, names, html, css::Medium::Print);
    screen.Layout(200);
    print.Layout(200);
    EXPECT_EQ(screen.Text(0).LineList[0].StartX, 8);
    EXPECT_EQ(print.Text(0).LineList[0].StartX, 40);
}

TEST(StyledLines, PrintCopiesKeepTheTextStyles) {
    auto l = Styled("p { text-indent: 16px; line-height: 20px }", "<p>aaaa bbbb", 60);
    const std::string before = Lines(l);
    auto copy = TSectionList::CreateCopy(*l.doc);
    LaidOut c;
    c.doc = std::move(copy);
    c.doc->SetScreenCanvas(c.canvas.get());
    c.Layout(60);
    EXPECT_EQ(Lines(c), before);
    EXPECT_EQ(c.height, l.height);
}

TEST(StyledLines, DocumentsWithoutStyleHaveNoTextStyles) {
    auto l = LayOut("<p>aaaa<pre>a  b</pre><table><tr><td>x</td></tr></table>", 200);
    for (int i = 0; i < l.doc->Count(); ++i) {
        if (const auto* s = dynamic_cast<const TSection*>(&(*l.doc)[i])) {
            EXPECT_EQ(s->TextStyle, 0) << i;
        }
    }
    // Nor does a styled one whose rules leave lines as they are.
    auto same = Styled("p { color: red }", "<p>aaaa");
    EXPECT_EQ(same.Text(0).TextStyle, 0);
}

}  // namespace
}  // namespace quillon
