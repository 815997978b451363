// Image kinds from the first bytes, declared sizes and their limit, and the GIF
// transparent colour test.
#include <gtest/gtest.h>

#include "html/image/image_kind.h"
#include "tests/html_image/image_test_support.h"

namespace quillon {
namespace {

using image_test::BmpHeader;
using image_test::Bytes;
using image_test::ImagePath;
using image_test::PngHeader;
using image_test::ReadBytes;

ImageType Kind(std::string_view s) {
    return KindOfImage(
        std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(s.data()), s.size()));
}

TEST(KindOfImage, FirstBytesDecide) {
    EXPECT_EQ(Kind("GIF89a"), ImageType::Gif89);
    EXPECT_EQ(Kind("GIF87a"), ImageType::Gif);
    EXPECT_EQ(Kind("GIF8"), ImageType::Gif);  // cut after "GIF8"
    EXPECT_EQ(Kind("BM\x36"), ImageType::Bmp);
    EXPECT_EQ(Kind("\x89PNG\r\n"), ImageType::Png);
    EXPECT_EQ(Kind("\xFF\xD8\xFF"), ImageType::Jpg);
    EXPECT_EQ(Kind("GIF"), ImageType::NoImage);
    EXPECT_EQ(Kind("B"), ImageType::NoImage);
    EXPECT_EQ(Kind("\x89PN"), ImageType::NoImage);
    EXPECT_EQ(Kind(""), ImageType::NoImage);
    EXPECT_EQ(Kind("<html>"), ImageType::NoImage);
    EXPECT_EQ(KindOfImage(ReadBytes(ImagePath("rgb.bmp"))), ImageType::Bmp);
    EXPECT_EQ(KindOfImage(ReadBytes(ImagePath("rgb.png"))), ImageType::Png);
    EXPECT_EQ(KindOfImage(ReadBytes(ImagePath("halves.jpg"))), ImageType::Jpg);
    EXPECT_EQ(KindOfImage(ReadBytes(ImagePath("transp3.gif"))), ImageType::Gif89);
}

TEST(DeclaredImageSize, ReadFromEachKindsHeader) {
    auto size = [](const Bytes& b) {
        const auto s = DeclaredImageSize(b, KindOfImage(b));
        return s ? std::to_string(s->width) + "x" + std::to_string(s->height) : "none";
    };
    EXPECT_EQ(size(ReadBytes(ImagePath("rgb.bmp"))), "4x3");
    EXPECT_EQ(size(ReadBytes(ImagePath("rgb.png"))), "4x3");
    EXPECT_EQ(size(ReadBytes(ImagePath("halves.jpg"))), "16x8");
    EXPECT_EQ(size(ReadBytes(ImagePath("transp3.gif"))), "4x2");
    EXPECT_EQ(size(BmpHeader(5, -7)), "5x7");  // top-down rows
    EXPECT_EQ(size(BmpHeader(5, INT32_MIN)), "5x2147483648");
    // Cut short: no size.
    Bytes bmp = BmpHeader(5, 7);
    bmp.resize(24);
    EXPECT_EQ(size(bmp), "none");
    Bytes png = PngHeader(1, 1);
    png.resize(20);
    EXPECT_EQ(size(png), "none");
    Bytes jpg = ReadBytes(ImagePath("halves.jpg"));
    jpg.resize(4);
    EXPECT_EQ(size(jpg), "none");
}

TEST(DeclaredImageSize, AbsurdSizesAreRefused) {
    EXPECT_TRUE(DeclaredSizeAcceptable(BmpHeader(8192, 8192), ImageType::Bmp));  // 64 MP
    EXPECT_FALSE(DeclaredSizeAcceptable(BmpHeader(8192, 8193), ImageType::Bmp));
    EXPECT_FALSE(DeclaredSizeAcceptable(BmpHeader(0x7FFFFFFF, 1), ImageType::Bmp));
    EXPECT_FALSE(DeclaredSizeAcceptable(BmpHeader(-4, 4), ImageType::Bmp));
    EXPECT_FALSE(DeclaredSizeAcceptable(BmpHeader(4, 0), ImageType::Bmp));
    EXPECT_FALSE(DeclaredSizeAcceptable(PngHeader(0xFFFFFFFF, 0xFFFFFFFF), ImageType::Png));
    EXPECT_FALSE(DeclaredSizeAcceptable(PngHeader(100000, 1000), ImageType::Png));
    EXPECT_TRUE(DeclaredSizeAcceptable(PngHeader(1000, 1000), ImageType::Png));
}

TEST(IsTransparent, ColourOfTheTransparentIndex) {
    // Index 3 of the table red, green, blue, yellow.
    const Bytes gif = ReadBytes(ImagePath("transp3.gif"));
    ASSERT_EQ(IsTransparent(gif), std::optional<Color>(0xFFFF00));
    EXPECT_EQ(TransparentGIF(ImagePath("transp3.gif")), std::optional<Color>(0xFFFF00));

    Bytes off = gif;
    off[13 + 12 + 3] &= 0xFE;  // transparent flag cleared
    EXPECT_FALSE(IsTransparent(off));
    Bytes gif87 = gif;
    gif87[4] = '7';
    EXPECT_FALSE(IsTransparent(gif87));
    Bytes index_past_table = gif;
    index_past_table[13 + 12 + 6] = 9;
    EXPECT_FALSE(IsTransparent(index_past_table));
}

TEST(IsTransparent, ShortFilesAreSafe) {
    const Bytes gif = ReadBytes(ImagePath("transp3.gif"));
    for (std::size_t n = 0; n < 13 + 12 + 7; ++n) {
        EXPECT_FALSE(IsTransparent(std::span(gif).first(n))) << n;
    }
    // A table of 256 entries announced by a file of 20 bytes.
    Bytes lying(gif.begin(), gif.begin() + 20);
    lying[10] = 0x87;
    EXPECT_FALSE(IsTransparent(lying));
    EXPECT_FALSE(TransparentGIF(ImagePath("missing.gif")));
}

}  // namespace
}  // namespace quillon
