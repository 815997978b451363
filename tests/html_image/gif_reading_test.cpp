#include <gtest/gtest.h>

#include "html/image/gif_image.h"
#include "tests/html_image/gif_test_support.h"

namespace quillon {
namespace {

using gif_test::Bytes;
using gif_test::GifBuilder;

const Rgba kBlack{0, 0, 0, 255}, kRed{255, 0, 0, 255}, kGreen{0, 255, 0, 255},
    kBlue{0, 0, 255, 255};

TEST(GifReading, StructureFromTheFile) {
    GifBuilder gif(4, 3);
    gif.Comment("made ")
        .Comment("by hand")
        .Control(2, 7, true, 3)
        .Frame(0, 0, 4, 3, Bytes(12, 1))
        .Loop(5)
        .Control(5, 0)
        .Frame(1, 1, 2, 2, {2, 3, 3, 2}, false, 3,
               {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {10, 11, 12}, {13, 14, 15}})
        .Trailer();
    TGIFImage image;
    ASSERT_TRUE(image.LoadFromStream(gif.bytes()));
    EXPECT_FALSE(image.Empty());
    EXPECT_TRUE(image.Animated());
    EXPECT_EQ(image.FrameCount(), 2);
    EXPECT_EQ(image.Width(), 4);
    EXPECT_EQ(image.Height(), 3);
    EXPECT_EQ(image.LoopCount(), 5);
    EXPECT_EQ(image.BitsPerPixel(), 3);  // the larger of the global table's and frame 2's
    EXPECT_TRUE(image.Transparent());
    EXPECT_EQ(image.GlobalPalette()[1], (TRGBColor{255, 0, 0}));

    const TFrame& f1 = image.Frame(1);
    EXPECT_EQ(f1.comment, "made by hand");
    EXPECT_EQ(f1.disposal, TDisposalType::dtToBackground);
    EXPECT_EQ(f1.delay, 70);
    EXPECT_TRUE(f1.transparent);
    EXPECT_EQ(f1.transparent_index, 3);
    EXPECT_EQ(f1.transparent_color, (TRGBColor{0, 0, 255}));
    EXPECT_EQ(f1.bits_per_pixel, 0);
    EXPECT_FALSE(f1.has_local_palette);
    EXPECT_EQ(f1.owner, &image);

    const TFrame& f2 = image.Frame(2);
    EXPECT_EQ(f2.comment, "");
    EXPECT_EQ(f2.disposal, TDisposalType::dtToBackground);  // code 5
    EXPECT_EQ(f2.delay, 0);
    EXPECT_FALSE(f2.transparent);  // the extension applies to one frame only
    EXPECT_TRUE(f2.has_local_palette);
    EXPECT_EQ(f2.bits_per_pixel, 3);
    EXPECT_EQ(f2.palette[3], (TRGBColor{10, 11, 12}));
    EXPECT_EQ((std::vector<int>{f2.left, f2.top, f2.width, f2.height}),
              (std::vector<int>{1, 1, 2, 2}));

    // Frame 1 is composed on loading; its transparent index 3 is blue.
    EXPECT_EQ(image.Picture().At(0, 0), kRed);
}

TEST(GifReading, DisposalCodesAndTheFileWithoutLoopExtensionPlaysOnce) {
    GifBuilder gif(1, 1);
    for (int code = 0; code < 8; ++code) gif.Control(code, 1).Frame(0, 0, 1, 1, {1});
    TGIFImage image;
    ASSERT_TRUE(image.LoadFromStream(gif.Trailer().bytes()));
    using D = TDisposalType;
    const D expected[] = {D::dtUndefined,    D::dtDoNothing,    D::dtToBackground,
                          D::dtToPrevious,   D::dtToBackground, D::dtToBackground,
                          D::dtToBackground, D::dtToBackground};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(image.Frame(i + 1).disposal, expected[i]) << i;
    EXPECT_EQ(image.LoopCount(), 1);
}

TEST(GifReading, InterlacedRowsArePlacedInTheFourPasses) {
    // Ten rows whose pixel is its row number mod 4 (the palette has 4 colours).
    Bytes pixels;
    for (int y = 0; y < 10; ++y) pixels.push_back(static_cast<std::uint8_t>(y % 4));
    GifBuilder gif(1, 10);
    gif.Frame(0, 0, 1, 10, pixels, true).Trailer();
    TGIFImage image;
    ASSERT_TRUE(image.LoadFromStream(gif.bytes()));
    const TFrame& frame = image.Frame(1);
    ASSERT_TRUE(frame.interlaced);
    std::vector<int> order;
    for (int k = 0; k < 10; ++k) order.push_back(frame.StreamRowToImageRow(k));
    EXPECT_EQ(order, (std::vector<int>{0, 8, 4, 2, 6, 1, 3, 5, 7, 9}));
    const Rgba colours[] = {kBlack, kRed, kGreen, kBlue};
    for (int y = 0; y < 10; ++y) EXPECT_EQ(image.Picture().At(0, y), colours[y % 4]) << y;
}

TEST(GifReading, ExtensionsThatAreSkippedOrShort) {
    GifBuilder gif(2, 1);
    gif.Extension(1, Bytes(12, 7))        // plain text
        .Extension(0x2C, Bytes{1, 2, 3})  // an unknown label that looks like ','
        .Extension(0x3B, Bytes{})         // and one that looks like the trailer
        .Extension(255, Bytes{'X', 'Y'})  // a short application identifier
        .Extension(249, Bytes{1, 2})      // a control block that is too short
        .Frame(0, 0, 2, 1, {1, 2})
        .Raw({0x21, 0xFF, 11})  // NETSCAPE with a short sub-block
        .Raw(Bytes{'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 1, 9, 0})
        .Frame(0, 0, 2, 1, {2, 1})
        .Trailer();
    TGIFImage image;
    ASSERT_TRUE(image.LoadFromStream(gif.bytes()));
    EXPECT_EQ(image.FrameCount(), 2);
    EXPECT_EQ(image.LoopCount(), 1);
    EXPECT_FALSE(image.Frame(1).transparent);
    EXPECT_EQ(image.Frame(1).disposal, TDisposalType::dtUndefined);
}

TEST(GifReading, NotAGifOrTooShortForItsHeaderFails) {
    TGIFImage image;
    EXPECT_FALSE(image.LoadFromStream(Bytes{'P', 'N', 'G', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0}));
    EXPECT_TRUE(image.Empty());
    EXPECT_FALSE(image.LoadFromStream(Bytes{'G', 'I', 'F'}));
    EXPECT_FALSE(image.LoadFromStream(Bytes{}));
    EXPECT_FALSE(image.LoadFromFile("/nonexistent/picture.gif"));
    // A global table cut short.
    Bytes header{'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x81, 0, 0, 1, 2, 3};
    EXPECT_FALSE(image.LoadFromStream(header));
    EXPECT_TRUE(image.Empty());
    // The header alone is an image without frames; nothing is drawn from it.
    header.resize(10);
    header.insert(header.end(), {0, 0, 0});
    EXPECT_TRUE(image.LoadFromStream(header));
    EXPECT_EQ(image.FrameCount(), 0);
    EXPECT_EQ(image.GetMaskedBitmap(), nullptr);
}

TEST(GifReading, InfoOnlyReadsTheStructureWithoutPixels) {
    GifBuilder gif(3, 3);
    gif.Control(1, 5).Frame(0, 0, 3, 3, Bytes(9, 1)).Frame(1, 1, 1, 1, {2}).Trailer();
    TGIFImage image;
    ASSERT_TRUE(image.LoadInfoFromStream(gif.bytes()));
    EXPECT_TRUE(image.InfoOnly());
    EXPECT_TRUE(image.Animated());
    EXPECT_EQ(image.Frame(1).delay, 50);
    EXPECT_TRUE(image.Frame(1).Pixels().empty());
    EXPECT_TRUE(image.Picture().Empty());
    EXPECT_EQ(image.GetMask(), nullptr);
    ASSERT_TRUE(image.LoadFromStream(gif.bytes()));
    EXPECT_FALSE(image.InfoOnly());
    EXPECT_EQ(image.Frame(1).Pixels().size(), 9u);
}

}  // namespace
}  // namespace quillon
