// Inline blocks (display: inline-block) on the fixed-metric canvas (characters 8 px, lines
// 16 px, ascent 12): fixed-width boxes side by side that wrap whole to the next line, boxes
// that shrink to their content, the line's baseline through their last line, their
// painted boxes and the text after them, page breaks that keep them whole, the layout
// dump, boxes at the top and bottom of their line, and selections over and inside boxes.
#include <gtest/gtest.h>

#include "html/dump/layout_dump.h"
#include "html/layout/html_table.h"
#include "html/layout/page_breaks.h"
#include "html/layout/sel_range.h"
#include "tests/html_layout/layout_test_support.h"

namespace quillon {
namespace {

using testing::LaidOut;
using testing::LayOut;
using testing::Styled;

// Labels 100 px wide with a 1 px border and 4 px padding: 110 px boxes, 26 px high (one
// line of text), their baseline 17 px below their top.
constexpr std::string_view kLabelCss =
    ".l { display: inline-block; width: 100px; border: 1px solid; padding: 4px }";

std::string Labels(int n) {
    std::string body;
    for (int i = 0; i < n; ++i) body += "<div class=l>L" + std::to_string(i) + "</div> ";
    return body;
}

// The section holding the inline blocks.
const TSection& Holder(LaidOut& l) {
    for (int i = 0;; ++i) {
        if (!l.Text(i).InlineBlocks().empty()) return l.Text(i);
    }
}

TEST(InlineBlocks, FixedWidthBoxesStandSideBySideAndWrapWhole) {
    // 250 px: two labels and the space between them (228 px) fit, the third wraps.
    auto l = Styled(kLabelCss, Labels(5), 250);
    const TSection& s = Holder(l);
    ASSERT_EQ(s.InlineBlocks().size(), 5u);
    ASSERT_EQ(s.LineList.size(), 3u);
    for (const auto& b : s.InlineBlocks()) {
        EXPECT_EQ(b->DrawnWidth, 110);
        EXPECT_EQ(b->DrawnHeight, 26);
        EXPECT_EQ(b->Baseline, 17);
    }
    // Each line is as high as a box: the text's baseline is the boxes' baseline.
    for (const LineRec& line : s.LineList) EXPECT_EQ(line.Advance(), 26);
    const auto& at = s.BlockPlaces();
    const int top = s.LayoutY;
    EXPECT_EQ(at[0], (Point{0, top}));
    EXPECT_EQ(at[1], (Point{118, top}));
    EXPECT_EQ(at[2], (Point{0, top + 26}));
    EXPECT_EQ(at[3], (Point{118, top + 26}));
    EXPECT_EQ(at[4], (Point{0, top + 52}));
    // The content of each box is laid out where the box is, inside its border and padding.
    const TCell& body = s.InlineBlocks()[3]->Body;
    ASSERT_EQ(body.Count(), 1);
    EXPECT_EQ(body[0].LayoutY, top + 26 + 5);
    const auto& text = dynamic_cast<const TSection&>(body[0]);
    EXPECT_EQ(text.LineList[0].StartX, 5);
    EXPECT_EQ(text.Text(), U"L3");
    // A wider page takes three a line; the document is as high as its lines.
    auto wide = Styled(kLabelCss, Labels(5), 400);
    EXPECT_EQ(Holder(wide).LineList.size(), 2u);
}

TEST(InlineBlocks, BoxesWithoutAWidthShrinkToTheirContent) {
    const std::string css = ".b { display: inline-block; padding: 0 4px; border: 1px solid }";
    // "PAID": 32 px of text with 4 px padding and 1 px border on each side.
    auto badge = Styled(css, "<p>Status: <span class=b>PAID</span> ok</p>");
    const TSection& s = Holder(badge);
    EXPECT_EQ(s.InlineBlocks()[0]->DrawnWidth, 42);
    EXPECT_EQ(s.Text(), U"Status: \u0003 ok");
    // The text goes on after the box in the same line: 8 characters, the box, a space.
    EXPECT_EQ(s.LineList.size(), 1u);
    EXPECT_EQ(s.BlockPlaces()[0].x, 64);

    // Wider than the line: as wide as the line, its text wrapped inside it.
    auto narrow = Styled(css, "<span class=b>aaa bbb ccc ddd</span>", 100);
    const TInlineBlock& b = *Holder(narrow).InlineBlocks()[0];
    EXPECT_EQ(b.DrawnWidth, 100);
    const auto& inner = dynamic_cast<const TSection&>(b.Body[0]);
    EXPECT_EQ(inner.LineList.size(), 2u);
    EXPECT_EQ(b.DrawnHeight, 2 * 16 + 2);
    // Never narrower than its longest word.
    auto word = Styled(css, "<span class=b>abcdefghijklmnop</span>", 100);
    EXPECT_EQ(Holder(word).InlineBlocks()[0]->DrawnWidth, 16 * 8 + 10);
    // An empty box with a size keeps it.
    auto empty =
        Styled(".e { display: inline-block; width: 20px; height: 10px; border: 1px solid }",
               "a<span class=e></span>b");
    const TInlineBlock& e = *Holder(empty).InlineBlocks()[0];
    EXPECT_EQ(e.DrawnWidth, 22);
    EXPECT_EQ(e.DrawnHeight, 12);
    // A table column is as wide as the box in it needs.
    auto cell = Styled(".e { display: inline-block; width: 150px }",
                       "<table><tr><td><span class=e>x</span></td><td>y</td></tr></table>");
    const ThtmlTable* table = nullptr;
    for (int i = 0; i < cell.doc->Count() && !table; ++i) {
        table = dynamic_cast<const ThtmlTable*>(&(*cell.doc)[i]);
    }
    ASSERT_NE(table, nullptr);
    EXPECT_GE(table->ColumnWidths.at(0), 150);
    EXPECT_LT(table->ColumnWidths.at(0), 160);
}

TEST(InlineBlocks, TheLineBaselineRunsThroughTheLastLineOfABox) {
    // Two lines in the box: its baseline is that of its second line, 28 px below its top;
    // the text beside it sits on that baseline, 16 px lower than the box's top line.
    auto l = Styled(".b { display: inline-block }", "x<span class=b>one<br>two</span>y");
    const TSection& s = Holder(l);
    const TInlineBlock& b = *s.InlineBlocks()[0];
    EXPECT_EQ(b.DrawnHeight, 32);
    EXPECT_EQ(b.Baseline, 28);
    const LineRec& line = s.LineList[0];
    EXPECT_EQ(line.ExtraAbove, 16);
    EXPECT_EQ(line.Advance(), 32);
    EXPECT_EQ(s.BlockPlaces()[0].y, s.LayoutY);
    // Without a line of text the bottom edge stands on the baseline.
    auto empty =
        Styled(".e { display: inline-block; width: 20px; height: 40px }", "x<span class=e></span>");
    const TSection& e = Holder(empty);
    EXPECT_EQ(e.InlineBlocks()[0]->Baseline, 40);
    EXPECT_EQ(e.LineList[0].ExtraAbove, 40 - 12);
    EXPECT_EQ(e.BlockPlaces()[0].y, e.LayoutY);
    // vertical-align: top puts the box's top at the text's top; the line grows below.
    auto top = Styled(".e { display: inline-block; height: 40px; vertical-align: top }",
                      "x<span class=e>t</span>");
    const TSection& t = Holder(top);
    EXPECT_EQ(t.LineList[0].ExtraAbove, 0);
    EXPECT_EQ(t.LineList[0].Advance(), 40);
    EXPECT_EQ(t.BlockPlaces()[0].y, t.LayoutY);
    // middle: as much above the text as below it; bottom: its bottom at the text's.
    auto middle = Styled(".e { display: inline-block; height: 40px; vertical-align: middle }",
                         "x<span class=e>t</span>");
    EXPECT_EQ(Holder(middle).LineList[0].ExtraAbove, 12);
    EXPECT_EQ(Holder(middle).LineList[0].ExtraBelow, 12);
    auto bottom = Styled(".e { display: inline-block; height: 40px; vertical-align: bottom }",
                         "x<span class=e>t</span>");
    EXPECT_EQ(Holder(bottom).LineList[0].ExtraAbove, 24);
    EXPECT_EQ(Holder(bottom).LineList[0].ExtraBelow, 0);
}

TEST(InlineBlocks, PercentageWidthsAreOfTheLine) {
    auto l = Styled(".p { display: inline-block; width: 50%; min-width: 120px }",
                    "<span class=p>a</span> <span class=p>b</span> <span class=p>c</span>", 400);
    const TSection& s = Holder(l);
    EXPECT_EQ(s.InlineBlocks()[0]->DrawnWidth, 200);
    // Two do not fit beside each other with the space between them.
    EXPECT_EQ(s.LineList.size(), 3u);
    // min-width wins over a percentage that gives less.
    auto narrow = Styled(".p { display: inline-block; width: 50%; min-width: 120px }",
                         "<span class=p>a</span>", 200);
    EXPECT_EQ(Holder(narrow).InlineBlocks()[0]->DrawnWidth, 120);
}

TEST(InlineBlocks, PaintedBoxesAndTheTextAroundThem) {
    auto l = Styled(".b { display: inline-block; background: #00ff00; border: 2px solid #ff0000 }",
                    "ab<span class=b>cd</span>ef gh", 200);
    l.canvas = std::make_unique<TestCanvas>(200, 60);
    l.doc->SetScreenCanvas(l.canvas.get());
    l.Layout(200);
    l.doc->Draw(*l.canvas, Rect{0, 0, 200, 60}, 200, 0, 0);
    const TSection& s = Holder(l);
    const Point at = s.BlockPlaces()[0];
    EXPECT_EQ(at.x, 16);
    const RgbaImage& px = l.canvas->Surface();
    EXPECT_EQ(px.At(at.x, at.y + 10).r, 255);  // the left border
    EXPECT_EQ(px.At(at.x, at.y + 10).g, 0);
    EXPECT_EQ(px.At(at.x + 3, at.y + 3).g, 255);  // the background inside it
    EXPECT_EQ(px.At(at.x + 3, at.y + 3).r, 0);
    // The text before, inside and after the box (16 + 2 + 16 + 2 px), each where the line
    // puts it; the text after the box is the section's own (drawing the box's content does
    // not disturb it).
    std::string drawn;
    for (const std::string& line : l.canvas->Log()) {
        if (line.rfind("text ", 0) == 0) drawn += line.substr(5) + "\n";
    }
    const int base = s.LayoutY + s.LineList[0].ExtraAbove;
    EXPECT_EQ(drawn, "0," + std::to_string(base) + " ab\n18," + std::to_string(at.y + 2) +
                         " cd\n36," + std::to_string(base) + " ef gh\n");
}

TEST(InlineBlocks, PagesBreakBetweenLinesOfBoxesNeverThroughOne) {
    auto l = Styled(kLabelCss, Labels(6), 250);
    const TSection& s = Holder(l);
    const PageBreakMap map(*l.doc, l.height, 1000);
    const int top = s.LayoutY;
    EXPECT_TRUE(map.CutsNothing(top + 26));
    for (int y = top + 1; y < top + 26; ++y) EXPECT_FALSE(map.CutsNothing(y)) << y;
    // A page of 60 px ends below the second line of boxes, not inside the third.
    EXPECT_EQ(map.PageEnd(top, 60), top + 52);
    // A box taller than a page is cut between its own lines.
    std::string lines;
    for (int i = 0; i < 10; ++i) lines += "line<br>";
    auto tall = Styled(".t { display: inline-block; width: 100px }",
                       "<span class=t>" + lines + "</span>", 250);
    const TSection& t = Holder(tall);
    const PageBreakMap cut(*tall.doc, tall.height, 50);
    const int end = cut.PageEnd(t.LayoutY, 50);
    EXPECT_EQ((end - t.LayoutY) % 16, 0) << end;
    EXPECT_GT(end, t.LayoutY);
}

TEST(InlineBlocks, TheLayoutDumpShowsEveryBoxWithItsSections) {
    auto l = Styled(kLabelCss, Labels(2), 250);
    const std::string json = DumpLayout(*l.doc, 250, l.height, false);
    const int top = Holder(l).LayoutY;
    EXPECT_NE(json.find("\"blocks\": [{\"x\": 0, \"y\": " + std::to_string(top) +
                        ", \"w\": 110, \"h\": 26, \"baseline\": 17, \"box\": {\"background\": "
                        "null, \"border\": [{\"width\": 1, \"style\": \"solid\""),
              std::string::npos)
        << json;
    EXPECT_NE(json.find("{\"x\": 118, \"y\": " + std::to_string(top) + ", \"w\": 110"),
              std::string::npos)
        << json;
    EXPECT_NE(json.find("\"text\": \"L1\""), std::string::npos) << json;
    // The copy of the document that printing lays out holds the same boxes.
    auto copy = TSectionList::CreateCopy(*l.doc);
    copy->SetScreenCanvas(l.canvas.get());
    int max_width = 0;
    int cursor = 0;
    const int height = copy->DoLogic(*l.canvas, 0, 250, max_width, cursor);
    EXPECT_EQ(DumpLayout(*copy, 250, height, false), json);
    // Nothing of it for a document without inline blocks.
    auto plain = LayOut("<div>L0</div>", 250);
    EXPECT_EQ(DumpLayout(*plain.doc, 250, plain.height).find("blocks"), std::string::npos);
}

TEST(InlineBlocks, TopAndBottomAlignWithTheLineBoxNotTheText) {
    // Figures from Chromium: the tallest thing on the line sets its height; top and bottom
    // boxes then touch its edges.
    const std::string css =
        ".e { display: inline-block; width: 10px } .t { vertical-align: top } "
        ".m { vertical-align: bottom } div { line-height: 40px }";
    const auto box = [](int height, std::string_view cls) {
        return "<span class=\"e " + std::string(cls) +
               "\" style=\"height: " + std::to_string(height) + "px\"></span>";
    };
    // A box 60 px high on the baseline: the line is 64 px, the text in its last 16.
    auto tall = Styled(css, "x" + box(60, "") + box(20, "t") + box(20, "m"));
    const TSection& s = Holder(tall);
    EXPECT_EQ(s.LineList[0].ExtraAbove, 48);
    EXPECT_EQ(s.LineList[0].Advance(), 64);
    EXPECT_EQ(s.BlockPlaces()[1].y, s.LayoutY);       // the line's top, not the text's (48)
    EXPECT_EQ(s.BlockPlaces()[2].y, s.LayoutY + 44);  // its bottom on the line's bottom
    // A top or bottom box taller than the rest makes the line as high as itself; the
    // rest of the line keeps to the line's top or bottom with it. The taller of the two
    // decides; a tie keeps the text at the top.
    struct Case {
        int top, bottom;  // heights of the top and bottom boxes (0: none)
        int above;        // pixels above the text
        int advance;
    };
    for (const Case c : {Case{80, 0, 0, 80}, Case{0, 80, 64, 80}, Case{80, 100, 84, 100},
                         Case{100, 80, 0, 100}, Case{100, 100, 0, 100}}) {
        std::string body = "x";
        if (c.top) body += box(c.top, "t");
        if (c.bottom) body += box(c.bottom, "m");
        auto l = Styled(css, body + "y");
        const TSection& t = Holder(l);
        const LineRec& line = t.LineList[0];
        EXPECT_EQ(line.ExtraAbove, c.above) << c.top << " " << c.bottom;
        EXPECT_EQ(line.Advance(), c.advance) << c.top << " " << c.bottom;
        for (std::size_t i = 0; i < t.InlineBlocks().size(); ++i) {
            const TInlineBlock& b = *t.InlineBlocks()[i];
            const int top = t.BlockPlaces()[i].y - t.LayoutY;
            EXPECT_EQ(top, b.Placement == TInlineBlock::Align::Top ? 0 : c.advance - b.DrawnHeight)
                << c.top << " " << c.bottom;
        }
    }
    // A line 40 px high by line-height: its top and bottom, not the text's 12 px lower
    // and higher.
    auto spaced = Styled(css, "<div>x" + box(20, "t") + box(20, "m") + "</div>");
    const TSection& d = Holder(spaced);
    EXPECT_EQ(d.LineList[0].Advance(), 40);
    EXPECT_EQ(d.LineList[0].ExtraAbove, 12);
    EXPECT_EQ(d.BlockPlaces()[0].y, d.LayoutY);
    EXPECT_EQ(d.BlockPlaces()[1].y, d.LayoutY + 20);
}

// The pieces of text drawn highlighted, in drawing order.
std::vector<std::string> Highlighted(LaidOut& l) {
    l.canvas->ClearLog();
    l.doc->Draw(*l.canvas, Rect{0, 0, 400, 200}, 400, 0, 0);
    std::vector<std::string> pieces;
    for (const std::string& line : l.canvas->Log()) {
        const std::size_t on = line.find(" on ");
        if (line.rfind("text ", 0) != 0 || on == std::string::npos) continue;
        pieces.push_back(line.substr(line.find(' ', on + 4) + 1));
    }
    return pieces;
}

TEST(InlineBlocks, ASelectionTakesABoxWholeOrKeepsInsideIt) {
    // "ab", the box "cd ef", "gh": the box's content is numbered from its placeholder, as
    // are the characters after it in the text around it.
    auto l = Styled(".b { display: inline-block }", "ab<span class=b>cd ef</span>gh");
    const TSection& s = Holder(l);
    const TInlineBlock& b = *s.InlineBlocks()[0];
    const int f = s.FirstCursor;
    ASSERT_EQ(b.Body.StartCurs, f + 2);
    TSectionList& doc = *l.doc;
    using Pieces = std::vector<std::string>;
    const auto select = [&](SelRange range, std::u32string_view copied, const Pieces& drawn) {
        doc.SetSelection(range);
        EXPECT_EQ(doc.CopyToClipboard(), copied);
        EXPECT_EQ(doc.GetSelLength(), static_cast<int>(copied.size()));
        EXPECT_EQ(Highlighted(l), drawn);
    };
    // Over the placeholder: all of the box, copied where it stands.
    select({f + 1, f + 4, nullptr}, U"bcd efg", Pieces{"b", "cd ef", "g"});
    // After the box: none of it, though its characters share the numbers.
    select({f + 3, f + 5, nullptr}, U"gh", Pieces{"gh"});
    // In the box: only its characters, none of the text around it.
    select({f + 3, f + 6, &b}, U"d e", Pieces{"d e"});

    // Carets from points: x 16 to 56 is the box, its characters 8 px each.
    const int y = s.BlockPlaces()[0].y + 4;
    const auto at = [&](int x) { return doc.FindCursor(*l.canvas, x, y); };
    const CursorHit e = at(16 + 3 * 8 + 2);
    EXPECT_EQ(e.Index, f + 5);
    ASSERT_EQ(e.Blocks.size(), 1u);
    EXPECT_EQ(e.Blocks[0].Block, &b);
    EXPECT_EQ(e.Blocks[0].Placeholder, f + 2);
    EXPECT_EQ(e.X, 16 + 3 * 8);
    EXPECT_TRUE(at(2).Blocks.empty());
    // From "a" into the box, and from the box to "h": the box whole, either way round.
    EXPECT_EQ(SelectionBetween(at(2), e), (SelRange{f, f + 3, nullptr}));
    EXPECT_EQ(SelectionBetween(e, at(2)), (SelRange{f, f + 3, nullptr}));
    EXPECT_EQ(SelectionBetween(e, at(66)), (SelRange{f + 2, f + 4, nullptr}));
    // From the caret just before the box into it: the box alone.
    EXPECT_EQ(SelectionBetween(e, at(14)), (SelRange{f + 2, f + 3, nullptr}));
    // Both ends in the box: its characters.
    EXPECT_EQ(SelectionBetween(at(18), e), (SelRange{f + 2, f + 5, &b}));

    // A box in a box: copied whole with the outer one.
    auto nested =
        Styled(".b { display: inline-block }", "ab<span class=b>c<span class=b>dd</span>e</span>f");
    const TSection& n = Holder(nested);
    nested.doc->SetSelection({n.FirstCursor, n.FirstCursor + 4, nullptr});
    EXPECT_EQ(nested.doc->CopyToClipboard(), U"abcddef");
    EXPECT_EQ(Highlighted(nested), (Pieces{"ab", "c", "dd", "e", "f"}));
    // Without inline blocks nothing changes.
    auto plain = Styled("b { color: red }", "ab<b>cd</b>ef");
    const TSection& p = plain.Text(0);
    plain.doc->SetSelection({p.FirstCursor + 1, p.FirstCursor + 5, nullptr});
    EXPECT_EQ(plain.doc->CopyToClipboard(), U"bcde");
    EXPECT_EQ(Highlighted(plain), (Pieces{"b", "cd", "e"}));
}

}  // namespace
}  // namespace quillon
