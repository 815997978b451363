#include <gtest/gtest.h>

#include "html/view/scroll_bar_rules.h"

namespace quillon {
namespace {

ScrollBarInput Input(int doc_height, int widest, TScrollStyle style = TScrollStyle::ssBoth) {
    ScrollBarInput in;
    in.Width = 200;
    in.Height = 100;
    in.ScrollBarSize = 16;
    in.DocHeight = doc_height;
    in.MarginWidth = 10;
    in.WidestLine = widest;
    in.Style = style;
    return in;
}

TEST(ScrollBarRules, VerticalBarAppearsAtTheControlHeightLessTheBorder) {
    EXPECT_FALSE(ComputeScrollBars(Input(97, 50)).VBar);  // shorter than the control
    EXPECT_TRUE(ComputeScrollBars(Input(98, 50)).VBar);   // D = H - 2
    const ScrollBarLayout l = ComputeScrollBars(Input(500, 50));
    EXPECT_EQ(l.ClientWidth, 184);
    EXPECT_EQ(l.PanelWidth, 182);
    EXPECT_EQ(l.PanelHeight, 98);
    EXPECT_EQ(l.VPage, 99);
    EXPECT_EQ(l.VLargeStep, 98 - 16);
    EXPECT_EQ(l.VMax, 500);
    EXPECT_FALSE(l.HBar);
}

TEST(ScrollBarRules, HorizontalBarThatStealsTheLastRowsBringsTheVerticalBar) {
    // Fits without a horizontal bar (D < H - 2), but the document is wider than W - S, so
    // the horizontal bar would cover the last rows.
    const ScrollBarLayout l = ComputeScrollBars(Input(90, 190));
    EXPECT_TRUE(l.VBar);
    EXPECT_TRUE(l.HBar);
    EXPECT_EQ(l.PanelHeight, 100 - 2 - 16);
    EXPECT_EQ(l.ScrollWidth, 210);
    // Only vertical bars allowed: no such rule, no horizontal bar.
    const ScrollBarLayout v = ComputeScrollBars(Input(90, 190, TScrollStyle::ssVertical));
    EXPECT_FALSE(v.VBar);
    EXPECT_FALSE(v.HBar);
    // Narrow enough for W - S: the vertical bar stays away.
    EXPECT_FALSE(ComputeScrollBars(Input(90, 160)).VBar);
}

TEST(ScrollBarRules, StylesAndBorder) {
    EXPECT_FALSE(ComputeScrollBars(Input(1000, 5000, TScrollStyle::ssNone)).VBar);
    EXPECT_FALSE(ComputeScrollBars(Input(1000, 5000, TScrollStyle::ssNone)).HBar);
    const ScrollBarLayout h = ComputeScrollBars(Input(1000, 5000, TScrollStyle::ssHorizontal));
    EXPECT_FALSE(h.VBar);
    EXPECT_TRUE(h.HBar);
    ScrollBarInput in = Input(10, 10);
    in.Border = false;
    const ScrollBarLayout nb = ComputeScrollBars(in);
    EXPECT_EQ(nb.Border, 0);
    EXPECT_EQ(nb.PanelWidth, 200);
    EXPECT_EQ(nb.PanelHeight, 100);
    EXPECT_EQ(nb.HLargeStep, 180);
}

TEST(ScrollBarRules, WidestLineIsCappedAt32000NotAt2000) {
    EXPECT_EQ(ComputeScrollBars(Input(10, 5000)).ScrollWidth, 5020);
    EXPECT_EQ(ComputeScrollBars(Input(10, 100000)).ScrollWidth, 32020);
}

}  // namespace
}  // namespace quillon
