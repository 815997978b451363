// Paragraph layout on the fixed-metric canvas: the break rule, alignment, line heights
// with images and controls, floats and CLEAR, list indents, preformatted text, width
// limits and the indent manager's records.
#include <gtest/gtest.h>

#include "html/layout/form_controls.h"
#include "html/layout/indent_manager.h"
#include "html/layout/list_marker.h"
#include "tests/html_layout/layout_test_support.h"

namespace quillon {
namespace {

using testing::LayOut;
using testing::LineText;

std::vector<std::u32string> Lines(const TSection& s) {
    std::vector<std::u32string> lines;
    for (int i = 0; i < static_cast<int>(s.LineList.size()); ++i) lines.push_back(LineText(s, i));
    return lines;
}

using L = std::vector<std::u32string>;

TEST(LineBreaking, FollowsTheBreakRule) {
    // Full up to a space: the spaces after it stay on the line.
    auto spaces = LayOut("x", 32);
    TSection& s = spaces.Text(0);
    s.AddText(U"bc   def");
    spaces.Layout(32);
    EXPECT_EQ(Lines(s), (L{U"xbc   ", U"def"}));
    // A word that ends the room exactly keeps its line, with the space after it.
    EXPECT_EQ(Lines(LayOut("ab cd ef", 40).Text(0)), (L{U"ab cd ", U"ef"}));
    // The next character does not fit: back to the last space.
    EXPECT_EQ(Lines(LayOut("abcd efgh ij", 56).Text(0)), (L{U"abcd ", U"efgh ij"}));
    // A word wider than the line stays whole with its spaces; the line is wider.
    auto wide = LayOut("abcdefghij klm", 32);
    EXPECT_EQ(Lines(wide.Text(0)), (L{U"abcdefghij ", U"klm"}));
    EXPECT_EQ(wide.max_width, 80);
    // Everything fits: one line.
    EXPECT_EQ(Lines(LayOut("ab cd", 400).Text(0)), (L{U"ab cd"}));
    // An inline image that does not fit starts the next line; one wider than the line
    // stands alone.
    auto image = LayOut("ab <IMG WIDTH=40 HEIGHT=16> cd <IMG WIDTH=200 HEIGHT=16>", 64);
    EXPECT_EQ(Lines(image.Text(0)), (L{U"ab \x04 ", U"cd ", U"\x04"}));
}

TEST(LineBreaking, LongTextBreaksLinearly) {
    // 20000 characters in one run: every line takes the same number of characters.
    std::string words;
    for (int i = 0; i < 2000; ++i) words += "abcdefghi ";
    auto l = LayOut(words, 400);  // 50 characters, five words per line
    const TSection& s = l.Text(0);
    ASSERT_EQ(s.LineList.size(), 400u);
    for (const LineRec& line : s.LineList) EXPECT_EQ(line.CharsInLine, 50);
    EXPECT_EQ(s.Height, 400 * 16);
}

TEST(Alignment, LinesStartByTheirAlignment) {
    // "abc de" is 6 characters (48 px) without the trailing space.
    auto l = LayOut("<P ALIGN=CENTER>abc de</P><P ALIGN=RIGHT>abc de</P><P>abc de</P>", 100);
    EXPECT_EQ(l.Text(0).LineList[0].StartX, 26);
    EXPECT_EQ(l.Text(1).LineList[0].StartX, 52);
    EXPECT_EQ(l.Text(2).LineList[0].StartX, 0);
    // A right-aligned word wider than the line starts at the margin.
    EXPECT_EQ(LayOut("<P ALIGN=RIGHT>abcdefghijklmn</P>", 40).Text(0).LineList[0].StartX, 0);
}

TEST(LineHeights, ImagesRaiseTheLineByTheirAlignment) {
    // Text 16 high with descent 4; a 40-pixel image.
    auto l = LayOut(
        "a <IMG WIDTH=10 HEIGHT=40> b<BR>"
        "a <IMG WIDTH=10 HEIGHT=40 ALIGN=TOP> b<BR>"
        "a <IMG WIDTH=10 HEIGHT=40 ALIGN=MIDDLE> b",
        400);
    const LineRec& bottom = l.Text(0).LineList[0];
    EXPECT_EQ(bottom.ExtraAbove, 28);  // 40 - (16 - 4): the image sits on the baseline
    EXPECT_EQ(bottom.Advance(), 44);
    EXPECT_EQ(l.Text(0).ImageBoxes()[0], (Rect{16, 0, 26, 40}));
    const LineRec& top = l.Text(1).LineList[0];
    EXPECT_EQ(top.ExtraBelow, 24);
    EXPECT_EQ(top.Advance(), 40);
    const LineRec& middle = l.Text(2).LineList[0];
    EXPECT_EQ(middle.ExtraAbove, 12);
    EXPECT_EQ(middle.ExtraBelow, 12);
}

TEST(LineHeights, ControlsSitOnTheBaselineOrTheLineBottom) {
    auto l = LayOut("a <INPUT TYPE=checkbox> b<BR>a <INPUT TYPE=submit> b", 400);
    // A 13-pixel check box on the baseline (12 below the text top).
    const TSection& check = l.Text(0);
    EXPECT_EQ(check.LineList[0].ExtraAbove, 1);
    EXPECT_EQ(check.ControlPlaces()[0], (Point{16, 0}));
    // A button ("A" 16 high + 8) stands on the line's bottom.
    const TSection& button = l.Text(1);
    const int h = button.InlineControls()[0]->Height();
    EXPECT_EQ(button.LineList[0].ExtraAbove, h - 16);
    EXPECT_EQ(button.ControlPlaces()[0].y, button.LayoutY);
}

TEST(Floats, TextFlowsBesideFloatsOnBothSidesUntilClear) {
    auto l = LayOut(
        "<IMG WIDTH=40 HEIGHT=40 ALIGN=LEFT><IMG WIDTH=30 HEIGHT=20 ALIGN=RIGHT>"
        "aaaa bbbb cccc dddd eeee<BR CLEAR=LEFT>after",
        200);
    const TSection& s = l.Text(0);
    // Left float at 0, right float inside its side space at the right edge.
    EXPECT_EQ(s.ImageBoxes()[0], (Rect{0, 0, 40, 40}));
    EXPECT_EQ(s.ImageBoxes()[1], (Rect{170, 0, 200, 20}));
    // Between them: 200 - 45 - 35 = 120 px = 15 characters.
    EXPECT_EQ(s.LineList[0].StartX, 45);
    EXPECT_EQ(LineText(s, 0),
              U"\x04\x04"
              U"aaaa bbbb cccc ");
    // Below the right float the line reaches the right edge.
    EXPECT_EQ(s.LineList[1].StartX, 45);
    EXPECT_EQ(LineText(s, 1), U"dddd eeee");
    const TSection& after = l.Text(1);
    // CLEAR=LEFT: an empty line down to one below the left float's bottom.
    ASSERT_EQ(after.LineList.size(), 2u);
    EXPECT_EQ(after.LineList[0].CharsInLine, 0);
    EXPECT_EQ(after.LayoutY + after.LineList[0].Advance(), 40);
    EXPECT_EQ(after.LineList[1].StartX, 0);
    // The document reaches down to the floats.
    EXPECT_EQ(l.height, 56);
}

TEST(Lists, NestedItemsIndentAndEndTheirIndent) {
    auto l = LayOut("<UL><LI>one<UL><LI>two<UL><LI>three</UL></UL><LI>four</UL>after", 400);
    EXPECT_EQ(l.Text(0).LineList[0].StartX, 35);
    EXPECT_EQ(l.Text(1).LineList[0].StartX, 70);
    EXPECT_EQ(l.Text(2).LineList[0].StartX, 105);
    EXPECT_EQ(l.Text(3).LineList[0].StartX, 35);
    EXPECT_EQ(l.Text(4).LineList[0].StartX, 0);
}

TEST(Lists, OpenIndentsLastToTheEndOfAnyDocument) {
    IndentManager im;
    im.Reset(0, 500);
    im.SetLevel(0, 2);
    EXPECT_EQ(im.LeftIndent(10), 70);
    EXPECT_EQ(im.LeftIndent(50'000'000), 70);
    EXPECT_EQ(im.LeftIndent(2'000'000'000), 70);
    EXPECT_EQ(im.ImageBottom(), 0);  // list indents are no floats
    im.SetLevel(100, 0);
    EXPECT_EQ(im.LeftIndent(100), 0);
    EXPECT_EQ(im.LeftIndent(98), 70);
}

TEST(Lists, NumbersInEveryStyleAndTheirLimits) {
    EXPECT_EQ(ItemNumberText(1, U'a'), U"a.");
    EXPECT_EQ(ItemNumberText(26, U'a'), U"z.");
    EXPECT_EQ(ItemNumberText(40, U'a'), U"z.");
    EXPECT_EQ(ItemNumberText(3, U'A'), U"C.");
    EXPECT_EQ(ItemNumberText(4, U'i'), U"iv.");
    EXPECT_EQ(ItemNumberText(19, U'I'), U"XIX.");
    EXPECT_EQ(ItemNumberText(25, U'I'), U"XX.");
    EXPECT_EQ(ItemNumberText(12, U'1'), U"12.");
    // Below 1 there is no letter or numeral: decimal.
    EXPECT_EQ(ItemNumberText(0, U'a'), U"0.");
    EXPECT_EQ(ItemNumberText(-2, U'I'), U"-2.");
    EXPECT_EQ(ItemNumberText(0, U'1'), U"0.");
}

TEST(Floats, ManyFloatsKeepTheIndentManagerSmall) {
    IndentManager im;
    im.Reset(0, 600);
    TAttributeList attrs;
    TImageObj image(0, attrs, nullptr);
    image.Placement = AlignmentType::ALeft;
    image.DrawnWidth = 10;
    image.DrawnHeight = 10;
    for (int i = 0; i < 10000; ++i) im.Update(i * 20, image);
    EXPECT_LE(im.LeftRecords().size(), 2u);
    EXPECT_EQ(im.ImageBottom(), 9999 * 20 + 10);
    EXPECT_EQ(im.GetClearY().left, 9999 * 20 + 11);
    EXPECT_EQ(im.GetClearY().right, 0);
}

TEST(Preformatted, NeverWrapsAndWidensTheDocument) {
    auto l = LayOut("<PRE>a b c d e f g h i j k l m n o p</PRE>", 80);
    TSection& pre = l.Text(0);
    ASSERT_EQ(pre.LineList.size(), 1u);
    EXPECT_EQ(pre.LineList[0].CharsInLine, 31);
    EXPECT_EQ(l.max_width, 31 * 8);
    EXPECT_EQ(pre.MinMaxWidth(*l.canvas), (MinMax{248, 248}));
}

TEST(WidthLimits, WidestWordAndAllOnOneLine) {
    auto l = LayOut(
        "<UL><LI>ab abcdef <IMG WIDTH=100 HEIGHT=5> x <IMG WIDTH=20 HEIGHT=5 "
        "ALIGN=LEFT HSPACE=3> <IMG WIDTH=50% HEIGHT=5></UL>",
        400);
    TSection& s = l.Text(0);
    // Text "ab abcdef  x  " is 14 characters (112 px) + 100 inline + 23 float + 35 indent.
    const MinMax m = s.MinMaxWidth(*l.canvas);
    EXPECT_EQ(m.Min, 100 + 23 + 35);
    EXPECT_EQ(m.Max, 112 + 100 + 23 + 35);
}

}  // namespace
}  // namespace quillon
