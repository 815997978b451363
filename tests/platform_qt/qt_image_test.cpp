// Image files decoded through QImageReader, and documents' images drawn through the Qt
// canvas onto a QImage: still pictures with their transparency, an animated GIF's frame,
// and the error placeholder with its ALT text.
#include <gtest/gtest.h>

#include <QDir>
#include <fstream>
#include <iterator>

#include "html/image/image_cache.h"
#include "html/image/image_decode.h"
#include "html/image/image_kind.h"
#include "html/layout/image_obj.h"
#include "html/layout/section_list.h"
#include "platform/qt/qt_canvas.h"
#include "platform/qt/qt_image_decoder.h"
#include "platform/qt/rgba_qimage.h"
#include "qt_test_support.h"
#include "tests/html_layout/model_test_support.h"

namespace quillon {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::Attr;
using testing::Attrs;

std::string ImagePath(const char* name) {
    return std::string(QUILLON_TEST_DATA) + "/images/" + name;
}

Bytes ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

QColor Q(const Rgba& p) {
    return QColor(p.r, p.g, p.b);
}

TEST(QtImageDecoder, DecodesEachKind) {
    QtImageDecoder decoder;
    for (const char* name : {"rgb.bmp", "rgb.png"}) {
        const Bytes bytes = ReadBytes(ImagePath(name));
        const auto image = decoder.Decode(bytes, KindOfImage(bytes));
        ASSERT_TRUE(image) << name;
        ASSERT_EQ(image->Width(), 4);
        ASSERT_EQ(image->Height(), 3);
        EXPECT_EQ(image->At(0, 0), (Rgba{255, 0, 0, 255})) << name;
        EXPECT_EQ(image->At(1, 1), (Rgba{255, 0, 255, 255})) << name;
        EXPECT_EQ(image->At(3, 2), (Rgba{0, 128, 128, 255})) << name;
    }
    const Bytes jpg = ReadBytes(ImagePath("halves.jpg"));
    const auto photo = decoder.Decode(jpg, ImageType::Jpg);
    ASSERT_TRUE(photo);
    EXPECT_EQ(photo->Width(), 16);
    QImage probe = ToQImage(*photo);
    EXPECT_TRUE(Near(probe, 2, 4, QColor(255, 0, 0), 16));
    EXPECT_TRUE(Near(probe, 13, 4, QColor(0, 0, 255), 16));
    const Bytes gif = ReadBytes(ImagePath("transp3.gif"));
    const auto still_gif = decoder.Decode(gif, ImageType::Gif89);
    ASSERT_TRUE(still_gif);
    EXPECT_EQ(still_gif->At(2, 0), (Rgba{0, 0, 255, 255}));
    EXPECT_EQ(still_gif->At(3, 0).a, 0);  // index 3 is transparent
}

TEST(QtImageDecoder, BadAndLyingFilesGiveNothing) {
    QtImageDecoder decoder;
    Bytes png = ReadBytes(ImagePath("rgb.png"));
    EXPECT_FALSE(decoder.Decode(Bytes(png.begin(), png.begin() + 20), ImageType::Png));
    EXPECT_FALSE(decoder.Decode({}, ImageType::Png));
    EXPECT_FALSE(decoder.Decode(png, ImageType::NoImage));
    // 100000 x 100000 declared in the header, refused before any pixel is read.
    png[16] = 0;
    png[17] = 1;
    png[18] = 0x86;
    png[19] = 0xA0;
    png[20] = 0;
    png[21] = 1;
    png[22] = 0x86;
    png[23] = 0xA0;
    EXPECT_FALSE(decoder.Decode(png, ImageType::Png));
    const Bytes jpg = ReadBytes(ImagePath("halves.jpg"));
    EXPECT_FALSE(decoder.Decode(Bytes(jpg.begin(), jpg.begin() + 30), ImageType::Jpg));
}

class QtImageDrawing : public ::testing::Test {
  protected:
    void SetUp() override {
        BitmapList().Clear();
        RegisterQtImageDecoder();
    }
    void TearDown() override {
        SetStillImageDecoder(nullptr);
        BitmapList().Clear();
    }
};

TEST_F(QtImageDrawing, DocumentImagesOnAQImage) {
    QtImageCanvas canvas(240, 80, 0xC0C0C0);
    TSectionList doc(canvas);
    std::vector<std::unique_ptr<TImageObj>> images;
    auto image = [&](std::initializer_list<TAttribute> attrs, int x) {
        images.push_back(std::make_unique<TImageObj>(0, Attrs(attrs), nullptr));
        TImageObj& img = *images.back();
        img.DrawLogic(doc, canvas, nullptr, 240);
        img.Draw(canvas, x, 10, nullptr);
        return &img;
    };
    // A PNG stretched to 40 x 30 with its lower-left colour (magenta) transparent.
    const TImageObj* png = image({Attr(Symb::SrcSy, ImagePath("rgb.png")), Attr(Symb::TranspSy),
                                  Attr(Symb::WidthSy, "40"), Attr(Symb::HeightSy, "30")},
                                 10);
    EXPECT_EQ(png->Transp, Transparency::LLCorner);
    // A JPEG and a transparent GIF at 4 times their size.
    image({Attr(Symb::SrcSy, ImagePath("halves.jpg")), Attr(Symb::WidthSy, "32")}, 60);
    image({Attr(Symb::SrcSy, ImagePath("transp3.gif")), Attr(Symb::WidthSy, "16")}, 100);
    // An animated GIF, and a missing image with its ALT text.
    const TImageObj* anim =
        image({Attr(Symb::SrcSy, std::string(QUILLON_TEST_DATA) + "/gif/im_dispose_mix.gif")}, 125);
    ASSERT_TRUE(anim->Gif);
    const TImageObj* missing =
        image({Attr(Symb::SrcSy, "/nonexistent/x.png"), Attr(Symb::AltSy, "Gone")}, 170);
    EXPECT_TRUE(missing->Failed);

    const QImage& out = canvas.Image();
    out.save(QDir::temp().filePath("quillon_qt_images.png"));
    // PNG: red top-left cell, magenta cells show the grey background, teal bottom-right.
    EXPECT_TRUE(Near(out, 14, 14, QColor(255, 0, 0)));
    EXPECT_TRUE(Near(out, 45, 14, QColor(0xC0, 0xC0, 0xC0)));  // top-right magenta
    EXPECT_TRUE(Near(out, 14, 35, QColor(0xC0, 0xC0, 0xC0)));  // lower-left magenta
    EXPECT_TRUE(Near(out, 45, 35, QColor(0, 128, 128)));
    // JPEG halves.
    EXPECT_TRUE(Near(out, 64, 18, QColor(255, 0, 0)));
    EXPECT_TRUE(Near(out, 88, 18, QColor(0, 0, 255)));
    // GIF: blue third pixel, the transparent yellow fourth lets the grey through.
    EXPECT_TRUE(Near(out, 110, 11, QColor(0, 0, 255)));
    EXPECT_TRUE(Near(out, 114, 11, QColor(0xC0, 0xC0, 0xC0)));
    // Animated GIF: its first frame's picture.
    const RgbaImage& frame = anim->Gif->Picture();
    EXPECT_TRUE(Near(out, 125 + frame.Width() / 2, 10 + frame.Height() / 2,
                     Q(frame.At(frame.Width() / 2, frame.Height() / 2)), 8));
    // Placeholder: the sunken frame's dark top edge, the red cross, ALT text ink.
    EXPECT_TRUE(Near(out, 180, 10, QColor(0x80, 0x80, 0x80)));
    EXPECT_TRUE(Near(out, 170 + 4 + 8, 10 + 4 + 8, QColor(204, 0, 0), 40));
    QImage alt = out.copy(170 + 24, 10, missing->DrawnWidth - 24, missing->DrawnHeight);
    EXPECT_FALSE(InkBounds(alt).isEmpty());
}

}  // namespace
}  // namespace quillon
