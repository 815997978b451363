// Decoding through the GIF decoder and the registered still decoder, transparency from a
// GIF's colour and from the lower-left pixel, and files that must not be decoded.
#include <gtest/gtest.h>

#include "html/image/image_decode.h"
#include "html/image/image_kind.h"
#include "html/image/image_mask.h"
#include "tests/html_image/image_test_support.h"

namespace quillon {
namespace {

using image_test::BmpHeader;
using image_test::Bytes;
using image_test::FakeStillDecoder;
using image_test::ImagePath;
using image_test::MagentaCornerPicture;
using image_test::ReadBytes;

class ImageDecode : public ::testing::Test {
  protected:
    void SetUp() override {
        SetStillImageDecoder(std::make_unique<FakeStillDecoder>(MagentaCornerPicture(), &calls));
    }
    void TearDown() override { SetStillImageDecoder(nullptr); }
    int calls = 0;
};

std::string Alphas(const RgbaImage& image) {
    std::string s;
    for (int y = 0; y < image.Height(); ++y) {
        if (y) s += '/';
        for (int x = 0; x < image.Width(); ++x) s += image.At(x, y).a == 0 ? '.' : '#';
    }
    return s;
}

TEST_F(ImageDecode, GifsUseTheGifDecoderOthersTheRegisteredOne) {
    const auto gif = GetImageFromFile(ImagePath("transp3.gif"));
    ASSERT_TRUE(gif);
    EXPECT_EQ(gif->Width(), 4);
    EXPECT_EQ(gif->At(0, 0), (Rgba{255, 0, 0, 255}));
    EXPECT_EQ(calls, 0);
    for (const char* name : {"rgb.bmp", "rgb.png", "halves.jpg"}) {
        const auto still = GetImageFromFile(ImagePath(name));
        ASSERT_TRUE(still) << name;
        EXPECT_EQ(still->Width(), 3);
    }
    EXPECT_EQ(calls, 3);
    SetStillImageDecoder(nullptr);
    EXPECT_FALSE(GetImageFromFile(ImagePath("rgb.png")));
    EXPECT_FALSE(GetImageFromFile(ImagePath("missing.png")));
}

TEST_F(ImageDecode, RefusedAndUnknownFilesNeverReachTheDecoder) {
    EXPECT_FALSE(GetImageFromStream(BmpHeader(100000, 100000)));
    EXPECT_FALSE(GetImageFromStream(BmpHeader(3, 0)));
    Bytes text = {'h', 'e', 'l', 'l', 'o'};
    EXPECT_FALSE(GetImageFromStream(text));
    EXPECT_EQ(calls, 0);
    EXPECT_TRUE(GetImageFromStream(BmpHeader(3, 2)));
    EXPECT_EQ(calls, 1);
}

TEST_F(ImageDecode, GifTransparentColourMasksExactlyItsPixels) {
    // Pixels: 0 1 2 3 / 3 3 1 0, index 3 (yellow) transparent.
    const auto r = GetImageAndMaskFromFile(ImagePath("transp3.gif"), Transparency::NotTransp);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->transp, Transparency::TGif);
    EXPECT_EQ(Alphas(r->image), "###./..##");
    // The stream form tests the bytes themselves.
    const auto s =
        GetImageAndMaskFromStream(ReadBytes(ImagePath("transp3.gif")), Transparency::LLCorner);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->transp, Transparency::TGif);
    EXPECT_EQ(Alphas(s->image), "###./..##");
}

TEST_F(ImageDecode, LowerLeftPixelColourBecomesTransparent) {
    const auto r = GetImageAndMaskFromFile(ImagePath("rgb.bmp"), Transparency::LLCorner);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->transp, Transparency::LLCorner);
    EXPECT_EQ(Alphas(r->image), "##./.##");
    const auto plain = GetImageAndMaskFromFile(ImagePath("rgb.bmp"), Transparency::NotTransp);
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->transp, Transparency::NotTransp);
    EXPECT_EQ(Alphas(plain->image), "###/###");
}

TEST(ImageMask, ATransparentLowerLeftPixelNamesNoColour) {
    RgbaImage image(2, 2, Rgba{0, 0, 0, 255});
    image.At(0, 1) = Rgba{0, 0, 0, 0};  // transparent black, as GIFs store it
    EXPECT_FALSE(LowerLeftColour(image));
    EXPECT_TRUE(MaskLowerLeft(image));
    EXPECT_EQ(image.At(1, 1).a, 255);  // opaque black stays
    RgbaImage empty;
    EXPECT_FALSE(MaskLowerLeft(empty));
}

TEST(GifExtension, IgnoresCase) {
    EXPECT_TRUE(HasGifExtension("a/B.GIF"));
    EXPECT_TRUE(HasGifExtension("x.gif"));
    EXPECT_FALSE(HasGifExtension("gif"));
    EXPECT_FALSE(HasGifExtension("x.gift"));
    EXPECT_FALSE(HasGifExtension("x.png"));
}

}  // namespace
}  // namespace quillon
