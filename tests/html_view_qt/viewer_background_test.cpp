// The painted background: a tiled picture that scrolls with the text, and a picture
// stretched between the document's first "{" and "}".

#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

#include "tests/html_view/model_test_support.h"
#include "platform/qt/qt_image_decoder.h"
#include "widget_test_support.h"

namespace quillon {
namespace {

using testing::ScratchDir;

QImage Panel(THTMLViewer& v) {
    return v.PaintPanel().grab().toImage();
}

TEST(ViewerBackground, TilesScrollWithTheDocument) {
    RegisterQtImageDecoder();
    ScratchDir dir;
    // 20 x 20 red with a blue 10 x 10 square at the top left.
    QImage tile(20, 20, QImage::Format_RGB32);
    tile.fill(Qt::red);
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) tile.setPixelColor(x, y, Qt::blue);
    }
    ASSERT_TRUE(tile.save(QString::fromStdString(dir.Path("tile.png"))));
    THTMLViewer v;
    testing::ShowViewer(v, 300, 200);
    v.SetViewImages(true);
    v.LoadFromBuffer("<BODY BACKGROUND=\"" + dir.Path("tile.png") + "\">" +
                     testing::Paragraphs(60));
    QImage shot = Panel(v);
    EXPECT_EQ(shot.pixelColor(2, 2), QColor(Qt::blue));
    EXPECT_EQ(shot.pixelColor(25, 2), QColor(Qt::blue));
    EXPECT_EQ(shot.pixelColor(15, 2), QColor(Qt::red));
    EXPECT_EQ(shot.pixelColor(2, 15), QColor(Qt::red));
    v.ScrollTo(7);
    shot = Panel(v);
    EXPECT_EQ(shot.pixelColor(2, 0), QColor(Qt::blue));  // document y 7
    EXPECT_EQ(shot.pixelColor(2, 5), QColor(Qt::red));   // document y 12
}

TEST(ViewerBackground, PositionedPictureFillsTheBracesRectangleOnly) {
    RegisterQtImageDecoder();
    ScratchDir dir;
    QImage green(4, 4, QImage::Format_RGB32);
    green.fill(Qt::green);
    ASSERT_TRUE(green.save(QString::fromStdString(dir.Path("form.png"))));
    const std::string body =
        "<BODY BGCOLOR=\"#FFFFFF\" BACKGROUND=\"" + dir.Path("form.png") + "\">";
    THTMLViewer v;
    testing::ShowViewer(v, 300, 200);
    v.SetViewImages(true);
    v.SetPositionBackground(true);
    v.LoadFromBuffer(body + "<P>{ top</P><P>&nbsp;</P><P>&nbsp;</P><P>bottom right }</P>");
    const auto r = v.PositionedBackgroundRect();
    ASSERT_TRUE(r.has_value());
    QImage shot = Panel(v);
    const int mx = (r->left + r->right) / 2;
    const int my = (r->top + r->bottom) / 2;
    EXPECT_EQ(shot.pixelColor(mx, my), QColor(Qt::green));
    EXPECT_EQ(shot.pixelColor(mx, r->bottom + 30), QColor(Qt::white));
    // "}" before "{": only the colour.
    v.LoadFromBuffer(body + "<P>bottom right }</P><P>&nbsp;</P><P>&nbsp;</P><P>{ top</P>");
    shot = Panel(v);
    EXPECT_EQ(shot.pixelColor(mx, my), QColor(Qt::white));
}

}  // namespace
}  // namespace quillon
