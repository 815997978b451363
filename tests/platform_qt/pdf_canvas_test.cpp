#include <gtest/gtest.h>

#include <cmath>

#include <QFontMetricsF>
#include <QImage>
#include <QString>

#include "platform/pdf/pdf_writer.h"
#include "platform/qt/font_face.h"
#include "platform/qt/pdf_canvas.h"
#include "platform/qt/qt_canvas.h"
#include "qt_test_support.h"
#include "tests/common/pdf_text.h"
#include "tests/common/temp_dir.h"

namespace quillon {
namespace {

using testing::PdfText;
using testing::RunShell;
using testing::ShellQuote;
using testing::TempDir;

const FontSpec kFonts[] = {
    FontSpec{},
    FontSpec{"Arial", 10, true},
    FontSpec{"Courier New", 9, false, true},
    FontSpec{"Times New Roman", 23.5, true, true},
};

TEST(FontFace, SimpleTextIsAsWideAsQtLaysItOut) {
    QtImageCanvas canvas(1, 1);
    const std::u32string texts[] = {
        U"Wavy fjord, tally AV To.",
        U"\u00c9t\u00e9 \u0416\u0443\u043a \u00a0\u2014 12,345.67 \u20ac", U"iiiiiiiiiiWWWWWWWWWW"};
    for (const FontSpec& f : kFonts) {
        canvas.SetFont(f);
        for (const std::u32string& t : texts) {
            ASSERT_TRUE(canvas.CurrentFace().IsSimple(t));
            const QString s = QString::fromUcs4(t.data(), static_cast<qsizetype>(t.size()));
            const double shaped = canvas.CurrentQMetrics().horizontalAdvance(s);
            EXPECT_NEAR(canvas.TextWidth(t), shaped, 1.0) << f.name << " " << s.toStdString();
            const std::vector<int> prefix = canvas.TextPrefixWidths(t);
            EXPECT_EQ(prefix.back(), canvas.TextWidth(t));
            for (std::size_t i = 1; i < prefix.size(); ++i) EXPECT_GE(prefix[i], prefix[i - 1]);
        }
    }
}

TEST(FontFace, TextThatNeedsShapingIsLeftToQt) {
    QtImageCanvas canvas(1, 1);
    canvas.SetFont(FontSpec{"Arial", 12});
    FontFace& face = canvas.CurrentFace();
    // A combining accent, right-to-left text, a character from a fallback face, a tab.
    for (const std::u32string t :
         {U"e\u0301", U"\u05e9\u05dc\u05d5\u05dd", U"\u4e2d\u6587", U"a\tb", U"\U0001F600"}) {
        EXPECT_FALSE(face.IsSimple(t));
        const std::vector<int> prefix = canvas.TextPrefixWidths(t);
        EXPECT_EQ(prefix.size(), t.size());
        EXPECT_GT(canvas.TextWidth(t), 0);
    }
}

// Draws the same picture on a canvas.
void DrawScene(Canvas& c) {
    c.FillRect(Rect{10, 10, 110, 40}, 0xFFE080);
    c.FrameRect(Rect{10, 50, 110, 90}, 0x000080, 2);
    c.DrawLine(Point{120, 10}, Point{200, 90}, 0xC00000, 3);
    c.FillEllipse(Rect{210, 10, 290, 60}, 0x00A000);
    c.FrameEllipse(Rect{210, 64, 290, 96}, 0x000000, 1);
    c.FillPolygon({Point{300, 90}, Point{340, 10}, Point{380, 90}}, 0x8000FF);
    RgbaImage image(20, 10, Rgba{0, 0, 255, 255});
    for (int x = 0; x < 10; ++x) {
        for (int y = 0; y < 10; ++y)
            image.Pixels()[static_cast<std::size_t>(y * 20 + x)] = Rgba{255, 0, 0, 255};
    }
    c.DrawImage(Rect{400, 10, 480, 50}, image);
    c.DrawImage(Rect{400, 60, 440, 90}, image, Rect{10, 0, 20, 10});
    c.SetFont(FontSpec{"Times New Roman", 20, true});
    c.DrawText(10, 110, U"Printed \u00e9xactly \u0416", 0xE0E0FF);
    c.SetFont(FontSpec{"Arial", 14, false, false, true, true, false, 0x006000});
    c.DrawText(10, 150, U"Underlined and struck");
    // Shaped text first: its glyphs are searchable when simple text uses them afterwards.
    c.SetFont(FontSpec{"Arial", 14});
    c.DrawText(300, 150, U"cafe\u0301 \u05e9\u05dc\u05d5\u05dd");
    c.DrawText(300, 170, U"face");
    c.PushClip(Rect{10, 190, 60, 230});
    c.FillRect(Rect{0, 180, 200, 260}, 0x404040);
    c.PopClip();
    c.FillRect(Rect{100, 190, 150, 230}, 0x808080);
}

TEST(PdfCanvas, PagesLookAsTheScreenDrawsThem) {
    TempDir dir;
    const std::string path = (dir.Path() / "scene.pdf").string();
    {
        pdf::PdfWriter writer(path);
        PdfCanvas canvas(writer, 600);
        // 500 x 260 logical pixels at 96 per inch.
        canvas.BeginPage(375, 195, 96);
        DrawScene(canvas);
        canvas.EndPage();
        writer.Finish("scene");
    }
    QtImageCanvas screen(500, 260);
    DrawScene(screen);
    const QImage want = screen.Image().convertToFormat(QImage::Format_RGB32);

    const std::string png = (dir.Path() / "page").string();
    ASSERT_EQ(
        RunShell("pdftoppm -r 96 -png -singlefile " + ShellQuote(path) + " " + ShellQuote(png))
            .status,
        0);
    const QImage got =
        QImage(QString::fromStdString(png + ".png")).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(got.size(), want.size());
    // Edges and glyphs are smoothed differently; shapes, places and colours agree.
    int differing = 0;
    for (int y = 0; y < want.height(); ++y) {
        for (int x = 0; x < want.width(); ++x) {
            const QRgb a = want.pixel(x, y), b = got.pixel(x, y);
            if (std::abs(qRed(a) - qRed(b)) > 80 || std::abs(qGreen(a) - qGreen(b)) > 80 ||
                std::abs(qBlue(a) - qBlue(b)) > 80) {
                ++differing;
            }
        }
    }
    EXPECT_LT(differing, want.width() * want.height() / 100) << "see " << png << ".png";
    EXPECT_TRUE(Near(got, 60, 25, QColor(0xFF, 0xE0, 0x80)));
    EXPECT_TRUE(Near(got, 420, 30, Qt::red));
    EXPECT_TRUE(Near(got, 470, 30, Qt::blue));
    EXPECT_TRUE(Near(got, 420, 75, Qt::blue));  // the right half of the picture only
    EXPECT_TRUE(Near(got, 30, 200, QColor(0x40, 0x40, 0x40)));
    EXPECT_TRUE(Near(got, 80, 200, Qt::white));  // clipped away

    const std::string text = PdfText(path);
    EXPECT_NE(text.find("Printed \u00e9xactly \u0416"), std::string::npos) << text;
    EXPECT_NE(text.find("Underlined and struck"), std::string::npos) << text;
    EXPECT_NE(text.find("caf"), std::string::npos) << text;
    EXPECT_NE(text.find("face"), std::string::npos) << text;
    const std::string fonts = RunShell("pdffonts " + ShellQuote(path)).out;
    EXPECT_NE(fonts.find("CID TrueType"), std::string::npos) << fonts;
    EXPECT_EQ(fonts.find(" no  "), std::string::npos) << "every face embedded:\n" << fonts;
}

}  // namespace
}  // namespace quillon
