// A viewer made without any settings, as an application embeds it: a white page, pictures
// shown and PNG pictures decoded without registering a decoder first.

#include <cstdlib>
#include <filesystem>

#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

#include "platform/core/still_image_decoder.h"
#include "tests/html_view/model_test_support.h"
#include "widget_test_support.h"

namespace quillon {
namespace {

using testing::ScratchDir;

TEST(ViewerDefaults, WhitePagePicturesShownAndDecoderRegistered) {
    // As in a fresh process: nobody registered a decoder.
    SetStillImageDecoder(nullptr);
    ScratchDir dir;
    QImage red(40, 30, QImage::Format_RGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(red.save(QString::fromStdString(dir.Path("red.png"))));

    THTMLViewer v;
    EXPECT_NE(GetStillImageDecoder(), nullptr);
    EXPECT_EQ(v.DefBackground(), 0xFFFFFFu);
    EXPECT_TRUE(v.ViewImages());
    testing::ShowViewer(v, 300, 200);
    v.LoadFromBuffer("<P>text</P><IMG SRC=\"" + dir.Path("red.png") + "\">");
    const QImage shot = v.PaintPanel().grab().toImage();
    if (const char* out = std::getenv("QUILLON_SCREENSHOT_DIR")) {
        shot.save(
            QString::fromStdString((std::filesystem::path(out) / "viewer_defaults.png").string()));
    }
    // The page around the text is white; the picture is the red PNG, not a placeholder.
    EXPECT_EQ(shot.pixelColor(shot.width() - 5, shot.height() - 5), QColor(Qt::white));
    int red_pixels = 0;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) red_pixels += shot.pixelColor(x, y) == Qt::red;
    }
    EXPECT_GE(red_pixels, 40 * 30);
}

// An application's own decoder stays: the viewer registers Qt's only where there is none.
TEST(ViewerDefaults, KeepsADecoderTheApplicationSet) {
    struct NoPictures : StillImageDecoder {
        std::optional<RgbaImage> Decode(std::span<const std::uint8_t>, ImageType) override {
            return std::nullopt;
        }
    };
    auto own = std::make_unique<NoPictures>();
    StillImageDecoder* set = own.get();
    SetStillImageDecoder(std::move(own));
    THTMLViewer v;
    EXPECT_EQ(GetStillImageDecoder(), set);
    SetStillImageDecoder(nullptr);
}

}  // namespace
}  // namespace quillon
