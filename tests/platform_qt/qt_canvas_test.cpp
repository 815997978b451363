#include <gtest/gtest.h>

#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <cmath>
#include <cstdlib>
#include <string>

#include "platform/qt/qt_canvas.h"
#include "platform/qt/rgba_qimage.h"
#include "qt_test_support.h"

namespace quillon {
namespace {

const FontSpec kFonts[] = {
    FontSpec{},
    FontSpec{"Arial", 10, true},
    FontSpec{"Courier New", 9, false, true},
    FontSpec{"Times New Roman", 24, true, true, true},
};

TEST(QtCanvas, MeasuresTheSameOnEveryResolution) {
    QtImageCanvas screen(1, 1);
    QtImageCanvas printer(1, 1, 0xFFFFFF, 600);
    EXPECT_EQ(screen.DevicePixelsPerInch(), 96);
    EXPECT_EQ(printer.DevicePixelsPerInch(), 600);
    const std::u32string text = U"Wavy fjord, tally \u00e9t\u00e9 \U0001D11E!";
    for (const FontSpec& f : kFonts) {
        screen.SetFont(f);
        printer.SetFont(f);
        const FontMetrics m = screen.Metrics();
        EXPECT_EQ(m, printer.Metrics()) << f.name;
        EXPECT_EQ(m.height, m.ascent + m.descent);
        EXPECT_GT(m.descent, 0);
        EXPECT_EQ(m.overhang, 0);
        EXPECT_GE(m.max_char_width, m.average_char_width);
        // A size in points is 96/72 logical pixels per point, on every device.
        EXPECT_NEAR(m.height, f.size_pt * 96 / 72, f.size_pt * 0.35) << f.name;

        const int width = screen.TextWidth(text);
        EXPECT_EQ(width, printer.TextWidth(text)) << f.name;
        const std::vector<int> prefixes = screen.TextPrefixWidths(text);
        ASSERT_EQ(prefixes.size(), text.size());
        EXPECT_EQ(prefixes, printer.TextPrefixWidths(text));
        EXPECT_NEAR(prefixes.back(), width, 1) << f.name;
        for (std::size_t i = 1; i < prefixes.size(); ++i) {
            EXPECT_GT(prefixes[i], prefixes[i - 1]) << f.name << " at " << i;
        }
        // A prefix measured alone agrees with the advance inside the whole run.
        EXPECT_NEAR(screen.TextWidth(text.substr(0, 6)), prefixes[5], 1) << f.name;
    }
    screen.SetFont(FontSpec{"Courier New", 10});
    EXPECT_EQ(screen.TextWidth(U"iiii"), screen.TextWidth(U"MMMM"));
    EXPECT_EQ(screen.TextWidth(U""), 0);
    EXPECT_TRUE(screen.TextPrefixWidths(U"").empty());
    EXPECT_NE(MakeMeasuringCanvas(), nullptr);
}

// Text lands inside the box that layout measured for it: width by font height, at the
// same place in logical pixels on a screen and on a device of twice its resolution.
TEST(QtCanvas, DrawnTextFillsTheMeasuredBox) {
    for (const int scale : {1, 2}) {
        QtImageCanvas canvas(260 * scale, 60 * scale, 0xFFFFFF, 96 * scale);
        canvas.SetFont(FontSpec{"Arial", 20});
        const std::u32string text = U"HMMHMH";
        const int width = canvas.TextWidth(text);
        const FontMetrics m = canvas.Metrics();
        canvas.DrawText(10, 10, text);
        const QRect ink = InkBounds(canvas.Image());
        ASSERT_FALSE(ink.isEmpty());
        EXPECT_NEAR(ink.left(), 10 * scale, 3 * scale) << scale;
        EXPECT_NEAR(ink.right() + 1, (10 + width) * scale, 4 * scale) << scale;
        // Capitals stand on the baseline and reach up to about the cap height.
        EXPECT_NEAR(ink.bottom() + 1, (10 + m.ascent) * scale, scale) << scale;
        EXPECT_GE(ink.top(), 10 * scale);
    }
}

// A run of thousands of characters (one long word) is drawn piece by piece, and only where
// it can be seen: at its start the picture is the one of the run drawn whole, and its end
// lands where the run's measured width says, however far to the left it began.
TEST(QtCanvas, ALongRunIsDrawnWhereItIsMeasured) {
    std::u32string run;
    for (int i = 0; run.size() < 5000; ++i) {
        run += U"Wavy";
        for (const char c : std::to_string(i)) run += static_cast<char32_t>(c);
    }
    QtImageCanvas start(400, 40);
    start.SetFont(FontSpec{"DejaVu Sans", 12});
    const int ascent = start.Metrics().ascent;
    start.DrawText(10, 10, run);
    QImage whole(400, 40, QImage::Format_RGB32);
    whole.fill(Qt::white);
    QPainter painter(&whole);
    painter.setFont(start.CurrentQFont());
    painter.setPen(Qt::black);
    painter.drawText(QPointF(10, 10 + ascent), QString::fromStdU32String(run));
    painter.end();
    const QImage drawn = start.Image().convertToFormat(QImage::Format_RGB32);
    int differing = 0;
    for (int py = 0; py < 40; ++py) {
        for (int px = 0; px < 400; ++px) {
            differing += std::abs(qGray(drawn.pixel(px, py)) - qGray(whole.pixel(px, py))) > 96;
        }
    }
    EXPECT_LT(differing, 400 * 40 / 50);  // under 2%: at most the odd glyph edge

    // The run ends at x = 300, having begun some 40,000 pixels to the left.
    QtImageCanvas end(400, 40);
    end.SetFont(FontSpec{"DejaVu Sans", 12});
    const int width = end.TextWidth(run);
    ASSERT_GT(width, 30000);
    end.DrawText(300 - width, 10, run, Color{0xFFFF00});
    const QImage& image = end.Image();
    const QRect ink = InkBounds(image);
    EXPECT_EQ(ink.left(), 0);
    // As near as for any run of up to a thousand characters: the glyphs within a piece are
    // placed by Qt, a few pixels from their measured advances (drawn whole, the end of this
    // run would be off by the sum of that over all its pieces).
    EXPECT_NEAR(ink.right() + 1, 300, 10);
    // The background is filled up to the end of the run, and not beyond.
    EXPECT_EQ(image.pixelColor(150, 10), QColor(255, 255, 0));
    EXPECT_EQ(image.pixelColor(303, 10), QColor(Qt::white));
}

// One picture of every kind of drawing call, probed at known places.
TEST(QtCanvas, PictureOfShapesTextImagesClipsAndOrigins) {
    QtImageCanvas canvas(200, 160);
    canvas.FillRect(Rect{10, 10, 50, 40}, 0xFF0000);
    canvas.FrameRect(Rect{60, 10, 100, 40}, 0x0000FF, 2);
    canvas.DrawLine(Point{10, 50}, Point{100, 50}, 0x000000);
    canvas.DrawLine(Point{100, 52}, Point{10, 52}, 0x000000);
    canvas.DrawLine(Point{110, 10}, Point{150, 50}, 0x008000, 3);
    canvas.DrawPolyline({{160, 40}, {190, 40}, {190, 55}}, 0x000000, 1, true);
    canvas.FillPolygon({{10, 60}, {50, 60}, {30, 100}}, 0x00A000);
    canvas.FillEllipse(Rect{60, 60, 100, 100}, 0x000080);
    canvas.FrameEllipse(Rect{110, 60, 150, 100}, 0x000000);
    canvas.SetFont(FontSpec{"Arial", 12, false, false, false, false, false, 0x000000});
    canvas.DrawText(10, 110, U"Quillon", Color{0xFFFF00});
    const int text_width = canvas.TextWidth(U"Quillon");
    const int text_height = canvas.Metrics().height;

    canvas.FillRect(Rect{110, 110, 150, 150}, 0x808080);
    RgbaImage image(2, 2);
    image.At(0, 0) = Rgba{255, 0, 0, 255};
    image.At(1, 0) = Rgba{0, 0, 0, 0};
    image.At(0, 1) = Rgba{0, 0, 255, 128};
    image.At(1, 1) = Rgba{0, 255, 0, 255};
    canvas.DrawImage(Rect{110, 110, 150, 150}, image);

    {
        OriginScope origin(canvas, 160, 100);
        ClipScope clip(canvas, Rect{0, 0, 20, 20});
        canvas.FillRect(Rect{-10, -10, 100, 100}, 0xFF00FF);
        ClipScope nothing(canvas, Rect{5, 5, 5, 5});
        canvas.FillRect(Rect{0, 0, 20, 20}, 0x000000);
    }
    canvas.FillRect(Rect{190, 150, 200, 160}, 0x00FFFF);  // clipping is gone again

    const QImage& picture = canvas.Image();
    // With QUILLON_SCREENSHOT_DIR=DIR the picture is kept as DIR/qt_canvas_picture.png.
    if (const char* dir = std::getenv("QUILLON_SCREENSHOT_DIR"); dir != nullptr && *dir) {
        picture.save(QString::fromStdString(std::string(dir) + "/qt_canvas_picture.png"));
    }

    const QColor white(255, 255, 255);
    EXPECT_TRUE(Near(picture, 10, 10, Qt::red));
    EXPECT_TRUE(Near(picture, 49, 39, Qt::red));
    EXPECT_TRUE(Near(picture, 50, 39, white));
    EXPECT_TRUE(Near(picture, 61, 11, Qt::blue));
    EXPECT_TRUE(Near(picture, 98, 38, Qt::blue));
    EXPECT_TRUE(Near(picture, 62, 12, white));  // inside the 2-pixel frame
    EXPECT_TRUE(Near(picture, 10, 50, Qt::black));
    EXPECT_TRUE(Near(picture, 99, 50, Qt::black));
    EXPECT_TRUE(Near(picture, 100, 50, white));      // end point excluded
    EXPECT_TRUE(Near(picture, 100, 52, Qt::black));  // drawn leftwards: 100 down to 11
    EXPECT_TRUE(Near(picture, 10, 52, white));
    EXPECT_TRUE(Near(picture, 10, 51, white));
    EXPECT_TRUE(Near(picture, 130, 30, QColor(0, 128, 0)));
    EXPECT_TRUE(Near(picture, 175, 40, Qt::black));
    EXPECT_TRUE(Near(picture, 190, 47, Qt::black));
    EXPECT_TRUE(Near(picture, 170, 45, Qt::black));  // the closing diagonal
    EXPECT_TRUE(Near(picture, 30, 70, QColor(0, 160, 0)));
    EXPECT_TRUE(Near(picture, 12, 95, white));
    EXPECT_TRUE(Near(picture, 80, 80, QColor(0, 0, 128)));
    EXPECT_TRUE(Near(picture, 61, 61, white));
    EXPECT_TRUE(Near(picture, 130, 60, Qt::black, 100));
    EXPECT_TRUE(Near(picture, 130, 80, white));
    EXPECT_TRUE(Near(picture, 10, 110, Qt::yellow));
    EXPECT_TRUE(Near(picture, 10 + text_width - 1, 110 + text_height - 1, Qt::yellow));
    EXPECT_TRUE(Near(picture, 10 + text_width, 110, white));
    EXPECT_FALSE(InkBounds(picture.copy(10, 110, text_width, text_height)).isEmpty());
    EXPECT_TRUE(Near(picture, 115, 115, Qt::red));
    EXPECT_TRUE(Near(picture, 145, 115, QColor(128, 128, 128)));   // transparent pixel
    EXPECT_TRUE(Near(picture, 115, 145, QColor(64, 64, 191), 4));  // half blue over grey
    EXPECT_TRUE(Near(picture, 145, 145, Qt::green));
    EXPECT_TRUE(Near(picture, 160, 100, Qt::magenta));
    EXPECT_TRUE(Near(picture, 179, 119, Qt::magenta));
    EXPECT_TRUE(Near(picture, 180, 110, white));
    EXPECT_TRUE(Near(picture, 159, 110, white));
    EXPECT_TRUE(Near(picture, 165, 105, Qt::magenta));  // under the empty clip
    EXPECT_TRUE(Near(picture, 195, 155, Qt::cyan));
}

TEST(QtCanvas, ScaledDevicesDrawAtTheSameLogicalPlaces) {
    QtImageCanvas canvas(120, 80, 0xFFFFFF, 192);
    canvas.FillRect(Rect{5, 5, 15, 15}, 0xFF0000);
    canvas.FillEllipse(Rect{20, 0, 40, 20}, 0x0000FF);
    canvas.DrawLine(Point{0, 30}, Point{10, 30}, 0x000000);
    RgbaImage image(1, 1, Rgba{0, 255, 0, 255});
    canvas.DrawImage(Rect{50, 5, 55, 10}, image);
    const QImage& picture = canvas.Image();
    EXPECT_TRUE(Near(picture, 10, 10, Qt::red));
    EXPECT_TRUE(Near(picture, 29, 29, Qt::red));
    EXPECT_TRUE(Near(picture, 30, 30, Qt::white));
    EXPECT_TRUE(Near(picture, 60, 20, Qt::blue));
    EXPECT_TRUE(Near(picture, 0, 61, Qt::black));  // one logical pixel is two device rows
    EXPECT_TRUE(Near(picture, 19, 60, Qt::black));
    EXPECT_TRUE(Near(picture, 20, 60, Qt::white));
    EXPECT_TRUE(Near(picture, 100, 10, Qt::green));
    EXPECT_TRUE(Near(picture, 109, 19, Qt::green));
    EXPECT_TRUE(Near(picture, 110, 20, Qt::white));
}

TEST(QtCanvas, PagedDevicesAndBorrowedPainters) {
    QTemporaryDir dir;
    QPdfWriter pdf(dir.filePath("page.pdf"));
    pdf.setResolution(1200);
    {
        QtCanvas canvas(pdf);
        QtImageCanvas screen(1, 1);
        EXPECT_TRUE(canvas.IsPrinter());
        EXPECT_FALSE(screen.IsPrinter());
        EXPECT_EQ(canvas.DevicePixelsPerInch(), 1200);
        canvas.SetFont(FontSpec{"Arial", 11});
        screen.SetFont(FontSpec{"Arial", 11});
        EXPECT_EQ(canvas.Metrics(), screen.Metrics());
        EXPECT_EQ(canvas.TextWidth(U"Page 1 of 2"), screen.TextWidth(U"Page 1 of 2"));
        canvas.DrawText(0, 0, U"Page 1 of 2");
    }
    EXPECT_GT(QFileInfo(dir.filePath("page.pdf")).size(), 0);

    // A painter that is already active keeps its own clip under the canvas's clips and its
    // own state once the canvas is gone.
    QImage image(40, 40, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.translate(10, 10);
    painter.setClipRect(QRect(0, 0, 20, 20));
    {
        QtCanvas canvas(painter);
        canvas.FillRect(Rect{0, 0, 5, 5}, 0xFF0000);  // in the painter's coordinates
        ClipScope clip(canvas, Rect{-10, -10, 25, 25});
        canvas.FillRect(Rect{-10, -10, 30, 30}, 0x0000FF);
        canvas.PopClip();
        canvas.FillRect(Rect{5, 5, 30, 30}, 0x00FF00);
        canvas.PushClip(Rect{0, 0, 1, 1});
    }
    EXPECT_EQ(painter.transform(), QTransform::fromTranslate(10, 10));
    EXPECT_EQ(painter.clipBoundingRect(), QRectF(0, 0, 20, 20));
    painter.end();
    EXPECT_TRUE(Near(image, 10, 10, Qt::blue));
    EXPECT_TRUE(Near(image, 14, 14, Qt::blue));
    EXPECT_TRUE(Near(image, 9, 9, Qt::white));
    EXPECT_TRUE(Near(image, 29, 29, Qt::green));
    EXPECT_TRUE(Near(image, 30, 30, Qt::white));
    EXPECT_TRUE(Near(image, 35, 20, Qt::white));
}

TEST(RgbaQImage, ConversionKeepsStraightAlpha) {
    RgbaImage image(3, 2);
    image.At(0, 0) = Rgba{10, 20, 30, 255};
    image.At(1, 0) = Rgba{200, 100, 50, 128};
    image.At(2, 1) = Rgba{1, 2, 3, 0};
    const QImage q = ToQImage(image);
    ASSERT_EQ(q.size(), QSize(3, 2));
    EXPECT_EQ(q.pixelColor(1, 0), QColor(200, 100, 50, 128));
    EXPECT_EQ(FromQImage(q), image);
    // Other formats convert; premultiplied pixels come back unpremultiplied.
    QImage premultiplied(1, 1, QImage::Format_ARGB32_Premultiplied);
    premultiplied.fill(QColor(200, 100, 50, 128));
    const Rgba back = FromQImage(premultiplied).At(0, 0);
    EXPECT_NEAR(back.r, 200, 2);
    EXPECT_NEAR(back.g, 100, 2);
    EXPECT_EQ(back.a, 128);
    EXPECT_TRUE(FromQImage(QImage()).Empty());
    EXPECT_TRUE(ToQImage(RgbaImage()).isNull());
}

}  // namespace
}  // namespace quillon
