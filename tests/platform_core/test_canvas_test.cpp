#include <gtest/gtest.h>

#include "platform/core/test_canvas.h"

namespace quillon {
namespace {

constexpr Rgba kWhite{255, 255, 255, 255};
constexpr Rgba kRed{255, 0, 0, 255};
constexpr Rgba kBlue{0, 0, 255, 255};

TEST(TestCanvas, SameExactMetricsForEveryFontSizeAndStyle) {
    TestCanvas canvas(1, 1);
    const FontMetrics expected{16, 12, 4, 0, 8, 8, 0};
    const FontSpec fonts[] = {
        FontSpec{},
        FontSpec{"Arial", 30, true},
        FontSpec{"Courier New", 6, false, true, true, true, true},
        FontSpec{"No Such Face", 72, true, true},
    };
    for (const FontSpec& f : fonts) {
        canvas.SetFont(f);
        EXPECT_EQ(canvas.Font(), f);
        EXPECT_EQ(canvas.Metrics(), expected) << f.name;
        // Spaces and characters outside the basic plane advance like any other.
        EXPECT_EQ(canvas.TextWidth(U"a b\U0001F600"), 32) << f.name;
    }
    EXPECT_EQ(canvas.TextWidth(U""), 0);
    EXPECT_EQ(canvas.TextPrefixWidths(U"ab c"), (std::vector<int>{8, 16, 24, 32}));
    std::vector<int> reused{1, 2, 3, 4, 5, 6};
    canvas.TextPrefixWidths(U"", reused);
    EXPECT_TRUE(reused.empty());

    TestCanvas::Config other;
    other.advance = 7;
    other.device_dpi = 600;
    other.printer = true;
    TestCanvas printer(1, 1, other, kWhite);
    EXPECT_EQ(printer.TextPrefixWidths(U"xyz").back(), printer.TextWidth(U"xyz"));
    EXPECT_EQ(printer.DevicePixelsPerInch(), 600);
    EXPECT_TRUE(printer.IsPrinter());
    EXPECT_FALSE(canvas.IsPrinter());
}

TEST(TestCanvas, OriginsAndClipsNestAndUnwind) {
    TestCanvas canvas(20, 20);
    EXPECT_FALSE(canvas.ClipRect().has_value());
    {
        OriginScope origin(canvas, 5, 5);
        ClipScope clip(canvas, Rect{0, 0, 10, 10});  // absolute 5..15
        EXPECT_EQ(canvas.ClipRect(), (Rect{0, 0, 10, 10}));
        {
            // A wider clip inside a narrower one never widens it.
            ClipScope wider(canvas, Rect{-5, 2, 30, 30});
            EXPECT_EQ(canvas.ClipRect(), (Rect{0, 2, 10, 10}));
            canvas.FillRect(Rect{-100, -100, 100, 100}, 0xFF0000);
        }
        EXPECT_EQ(canvas.ClipRect(), (Rect{0, 0, 10, 10}));
        canvas.PushOrigin(1, 1);
        EXPECT_EQ(canvas.Origin(), (Point{6, 6}));
        EXPECT_EQ(canvas.ClipRect(), (Rect{-1, -1, 9, 9}));
        canvas.DrawText(2, 3, U"Hi");
        canvas.PopOrigin();
    }
    EXPECT_EQ(canvas.Origin(), (Point{0, 0}));
    EXPECT_FALSE(canvas.ClipRect().has_value());
    // Unbalanced pops are harmless.
    canvas.PopClip();
    canvas.PopOrigin();

    const RgbaImage& s = canvas.Surface();
    EXPECT_EQ(s.At(5, 7), kRed);
    EXPECT_EQ(s.At(14, 14), kRed);
    EXPECT_EQ(s.At(5, 6), kWhite);    // above the inner clip
    EXPECT_EQ(s.At(15, 10), kWhite);  // right of the outer clip
    EXPECT_EQ(s.At(4, 10), kWhite);
    const std::vector<std::string> expected{
        "clip 5,5,15,15", "clip 5,7,15,15", "fill -95,-95,105,105 #FF0000",
        "clip 5,5,15,15", "text 8,9 Hi",    "noclip"};
    EXPECT_EQ(canvas.Log(), expected);

    // An empty clip hides everything until it is popped.
    canvas.PushClip(Rect{3, 3, 3, 10});
    canvas.FillRect(Rect{0, 0, 20, 20}, 0x0000FF);
    canvas.PopClip();
    EXPECT_EQ(s.At(3, 3), kWhite);
    EXPECT_EQ(s.At(0, 19), kWhite);
}

// A line of text that the clip hides entirely is not handed to the implementation (a PDF
// page would keep it where text extraction finds it); one the clip shows a pixel of is.
TEST(TestCanvas, TextLinesWhollyOutsideTheClipAreNotDrawn) {
    TestCanvas canvas(100, 100);
    OriginScope origin(canvas, 0, -20);
    ClipScope clip(canvas, Rect{0, 20, 50, 60});  // absolute 0,0 .. 50,40
    canvas.ClearLog();
    canvas.DrawText(0, 4, U"above");              // 16 high: ends at the clip's top
    canvas.DrawText(0, 5, U"top");                // its last pixel row shows
    canvas.DrawText(0, 59, U"bottom");            // its first pixel row shows
    canvas.DrawText(0, 60, U"below");             // starts at the clip's bottom edge
    canvas.DrawText(50, 30, U"right");            // starts at its right edge
    canvas.DrawText(-30, 30, U"left", 0x0000FF);  // reaches into it
    EXPECT_EQ(canvas.Log(), (std::vector<std::string>{"text 0,-15 top", "text 0,39 bottom",
                                                      "text -30,10 on #0000FF left"}));
}

TEST(TestCanvas, ShapesPaintTheirPixels) {
    TestCanvas canvas(40, 30);
    canvas.FrameRect(Rect{0, 0, 6, 5}, 0x0000FF, 2);
    canvas.DrawLine(Point{10, 0}, Point{15, 0}, 0xFF0000);  // end point excluded
    canvas.DrawPolyline({{10, 2}, {12, 2}, {12, 4}}, 0xFF0000, 1, true);
    canvas.FillEllipse(Rect{20, 0, 30, 10}, 0xFF0000);
    canvas.FrameEllipse(Rect{30, 0, 40, 10}, 0x0000FF);
    // A five-pointed star drawn in one stroke: its centre is wound twice and is filled.
    canvas.FillPolygon({{5, 29}, {10, 12}, {15, 29}, {1, 18}, {19, 18}}, 0xFF0000);
    canvas.SetFont(FontSpec{"Arial", 10, true});
    canvas.DrawText(22, 12, U"ab", Color{0x0000FF});

    const RgbaImage& s = canvas.Surface();
    EXPECT_EQ(s.At(0, 0), kBlue);
    EXPECT_EQ(s.At(1, 1), kBlue);
    EXPECT_EQ(s.At(5, 4), kBlue);
    EXPECT_EQ(s.At(2, 2), kWhite);  // inside a 2-pixel frame of a 6x5 box
    EXPECT_EQ(s.At(10, 0), kRed);
    EXPECT_EQ(s.At(14, 0), kRed);
    EXPECT_EQ(s.At(15, 0), kWhite);
    EXPECT_EQ(s.At(11, 3), kRed);  // the closing diagonal of the polyline
    EXPECT_EQ(s.At(12, 4), kRed);  // where the closing line starts
    EXPECT_EQ(s.At(11, 4), kWhite);
    EXPECT_EQ(s.At(25, 5), kRed);
    EXPECT_EQ(s.At(20, 0), kWhite);  // outside the ellipse, inside its box
    EXPECT_EQ(s.At(30, 5), kBlue);
    EXPECT_EQ(s.At(35, 5), kWhite);
    EXPECT_EQ(s.At(10, 20), kRed);   // the star's centre
    EXPECT_EQ(s.At(10, 15), kRed);   // its top point
    EXPECT_EQ(s.At(2, 28), kWhite);  // between two lower points
    EXPECT_EQ(s.At(22, 12), kBlue);  // text background: 2 x 8 wide, 16 high
    EXPECT_EQ(s.At(37, 27), kBlue);
    EXPECT_EQ(s.At(38, 27), kWhite);

    EXPECT_EQ(canvas.Log().end()[-2], "font Arial 10 bold #000000");
    EXPECT_EQ(canvas.Log().back(), "text 22,12 on #0000FF ab");
}

TEST(TestCanvas, ImagesBlendByAlphaAndStretchTheirSource) {
    TestCanvas canvas(4, 2);
    canvas.FillRect(Rect{0, 0, 2, 2}, 0xFF0000);
    // A 2x1 image stretched over 4x2: its left pixel is transparent, its right one blue.
    RgbaImage image(2, 1);
    image.At(1, 0) = Rgba{0, 0, 255, 255};
    canvas.DrawImage(Rect{0, 0, 4, 2}, image);
    EXPECT_EQ(canvas.Surface().At(0, 0), kRed);
    EXPECT_EQ(canvas.Surface().At(3, 1), kBlue);
    EXPECT_EQ(canvas.Log().back(), "image 0,0,4,2 2x1");

    // Half-transparent red over blue blends; a source rectangle picks part of the image and
    // is cut to the image rather than read past it.
    RgbaImage half(3, 1, Rgba{255, 0, 0, 128});
    canvas.DrawImage(Rect{2, 0, 4, 1}, half, Rect{1, 0, 9, 1});
    EXPECT_EQ(canvas.Log().back(), "image 2,0,4,1 3x1 from 1,0,3,1");
    const Rgba mixed = canvas.Surface().At(3, 0);
    EXPECT_NEAR(mixed.r, 128, 1);
    EXPECT_NEAR(mixed.b, 127, 1);
    canvas.DrawImage(Rect{0, 0, 4, 2}, half, Rect{5, 0, 9, 1});  // nothing of the image
    EXPECT_EQ(canvas.Log().back(), "image 2,0,4,1 3x1 from 1,0,3,1");
}

TEST(TestCanvas, PrintMarksFollowTheOriginAndStopAtTheClip) {
    TestCanvas::Config config;
    config.marks = true;
    TestCanvas canvas(100, 100, config, Rgba{255, 255, 255, 255});
    EXPECT_TRUE(canvas.KeepsMarks());
    OriginScope origin(canvas, 5, -40);
    ClipScope clip(canvas, Rect{0, 40, 50, 90});  // absolute 5,0 .. 55,50
    canvas.ClearLog();
    canvas.MarkLink(Rect{10, 80, 80, 96}, "http://a.test");  // cut at the right and bottom
    canvas.MarkJump(Rect{0, 20, 10, 30}, "ABOVE");           // wholly above the clip
    canvas.MarkLink(Rect{0, 50, 10, 60}, "");                // no address
    canvas.MarkAnchor("IN", Point{0, 40});
    canvas.MarkAnchor("OUT", Point{0, 90});  // the clip's bottom edge is outside it
    canvas.MarkHeading(2, "Title", Point{3, 89});
    EXPECT_EQ(canvas.Log(), (std::vector<std::string>{"link 15,40,55,50 http://a.test",
                                                      "anchor 5,0 IN", "heading 2 8,49 Title"}));
    // A canvas that keeps no marks says so, and the hooks do nothing.
    TestCanvas plain(10, 10);
    EXPECT_FALSE(plain.KeepsMarks());
    plain.ClearLog();
    plain.MarkAnchor("X", Point{1, 1});
    EXPECT_TRUE(plain.Log().empty());
}

}  // namespace
}  // namespace quillon
