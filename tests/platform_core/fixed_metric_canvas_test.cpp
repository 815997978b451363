// Drawing through the fixed-metric canvas: it measures as the fixed-metric test canvas
// does, and puts each character in its own cell of the inner canvas in a fixed-pitch face,
// so that text lands where a fixed-metric layout placed it.

#include <gtest/gtest.h>

#include "platform/core/fixed_metric_canvas.h"
#include "platform/core/test_canvas.h"

namespace quillon {
namespace {

// An inner canvas whose font is 10 px high with an ascent of 7, and 5 px a character.
TestCanvas::Config Inner() {
    TestCanvas::Config c;
    c.advance = 5;
    c.ascent = 7;
    c.descent = 3;
    c.printer = true;
    return c;
}

TEST(FixedMetricCanvas, MeasuresWithFixedMetricsWhateverTheInnerFont) {
    TestCanvas inner(100, 100, Inner(), Rgba{255, 255, 255, 255});
    FixedMetricCanvas canvas(inner);
    FontSpec big;
    big.size_pt = 30;
    big.bold = true;
    canvas.SetFont(big);
    EXPECT_EQ(canvas.TextWidth(U"abc"), 24);
    EXPECT_EQ(canvas.TextPrefixWidths(U"ab"), (std::vector<int>{8, 16}));
    const FontMetrics m = canvas.Metrics();
    EXPECT_EQ(m.ascent, 12);
    EXPECT_EQ(m.descent, 4);
    EXPECT_EQ(m.height, 16);
    EXPECT_TRUE(canvas.IsPrinter());
}

TEST(FixedMetricCanvas, DrawsEachCharacterInItsCellOnTheLayoutsBaseline) {
    TestCanvas inner(100, 100, Inner(), Rgba{255, 255, 255, 255});
    FixedMetricCanvas canvas(inner);
    FontSpec font;
    font.name = "Times";
    font.italic = true;
    font.color = 0x112233;
    canvas.SetFont(font);
    inner.ClearLog();
    {
        OriginScope origin(canvas, 10, 20);
        ClipScope clip(canvas, Rect{0, 0, 40, 30});
        canvas.DrawText(2, 4, U"ab", 0x0000FF);
        canvas.FillRect(Rect{0, 0, 4, 4}, 0xFF0000);
    }
    // The inner baseline (ascent 7) on ours (ascent 12): five pixels lower. DejaVu Sans Mono
    // at 8 px per character is 13.29 px per em, 9.97 points; weight, slant and colour stay.
    EXPECT_EQ(inner.Log(), (std::vector<std::string>{
                               "clip 10,20,50,50", "fill 12,24,28,40 #0000FF",
                               "font DejaVu Sans Mono 9.96594 italic fixed #112233", "text 12,29 a",
                               "text 20,29 b", "fill 10,20,14,24 #FF0000", "noclip"}));
}

}  // namespace
}  // namespace quillon
