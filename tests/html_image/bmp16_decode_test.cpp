// 16-bit BMPs: 5-5-5 without compression, 5-6-5 and 4-4-4-4 with channel masks, rows
// bottom-up and top-down, each channel widened so that its largest value is 255; and files
// that are cut short or declare impossible sizes.
#include <gtest/gtest.h>

#include "html/image/bmp16_decode.h"
#include "html/image/image_decode.h"
#include "tests/html_image/image_test_support.h"

namespace quillon {
namespace {

using image_test::Bytes;
using image_test::FakeStillDecoder;
using image_test::MagentaCornerPicture;
using image_test::PutLe32;

constexpr std::uint32_t kUncompressed = 0;
constexpr std::uint32_t kBitFields = 3;

struct Bmp16File {
    int width = 1;
    int height = 1;  // rows; stored top-down when top_down
    bool top_down = false;
    std::uint32_t header = 40;  // info header size
    std::uint32_t compression = kUncompressed;
    std::vector<std::uint32_t> masks;   // after a 40-byte header, else inside the header
    std::vector<std::uint16_t> pixels;  // row by row from the top of the picture
};

Bytes MakeBmp16(const Bmp16File& file) {
    const std::size_t stride = (static_cast<std::size_t>(file.width) * 2 + 3) / 4 * 4;
    const std::size_t masks_after = file.header == 40 ? file.masks.size() * 4 : 0;
    const std::size_t offset = 14 + file.header + masks_after;
    Bytes b(offset + stride * static_cast<std::size_t>(file.height), 0);
    b[0] = 'B';
    b[1] = 'M';
    PutLe32(b, 2, static_cast<std::uint32_t>(b.size()));
    PutLe32(b, 10, static_cast<std::uint32_t>(offset));
    PutLe32(b, 14, file.header);
    PutLe32(b, 18, static_cast<std::uint32_t>(file.width));
    PutLe32(b, 22, static_cast<std::uint32_t>(file.top_down ? -file.height : file.height));
    b[26] = 1;   // planes
    b[28] = 16;  // bits a pixel
    PutLe32(b, 30, file.compression);
    for (std::size_t i = 0; i < file.masks.size(); ++i) PutLe32(b, 54 + 4 * i, file.masks[i]);
    for (int y = 0; y < file.height; ++y) {
        const int stored_row = file.top_down ? y : file.height - 1 - y;
        for (int x = 0; x < file.width; ++x) {
            const std::uint16_t p = file.pixels.at(static_cast<std::size_t>(y * file.width + x));
            const std::size_t at = offset + static_cast<std::size_t>(stored_row) * stride +
                                   2 * static_cast<std::size_t>(x);
            b[at] = static_cast<std::uint8_t>(p);
            b[at + 1] = static_cast<std::uint8_t>(p >> 8);
        }
    }
    return b;
}

std::vector<Rgba> PixelsOf(const RgbaImage& image) {
    return image.Pixels();
}

TEST(Bmp16, FiveFiveFiveUncompressedReachesFullWhite) {
    // Odd width: each stored row is padded to four bytes.
    const Bmp16File file{3,
                         2,
                         false,
                         40,
                         kUncompressed,
                         {},
                         {0x7FFF, 0x0000, 0x7C00,  //
                          0x03E0, 0x001F, 0x4210}};
    const auto image = DecodeBmp16(MakeBmp16(file));
    ASSERT_TRUE(image);
    EXPECT_EQ(PixelsOf(*image), (std::vector<Rgba>{{255, 255, 255, 255},
                                                   {0, 0, 0, 255},
                                                   {255, 0, 0, 255},
                                                   {0, 255, 0, 255},
                                                   {0, 0, 255, 255},
                                                   // 16 of 31 widens to 132 (10000 then 100).
                                                   {132, 132, 132, 255}}));
}

TEST(Bmp16, BitFieldMasksOfEveryHeaderLength) {
    const std::vector<std::uint32_t> rgb565{0xF800, 0x07E0, 0x001F};
    const std::vector<std::uint16_t> pixels{0xFFFF, 0x07E0, 0x0400, 0x0821};
    // 32 of 63 widens to 130; 1 of 31 to 8 and 1 of 63 to 4.
    const std::vector<Rgba> want{
        {255, 255, 255, 255}, {0, 255, 0, 255}, {0, 130, 0, 255}, {8, 4, 8, 255}};
    for (const std::uint32_t header : {40u, 52u, 108u, 124u}) {
        SCOPED_TRACE("header " + std::to_string(header));
        for (const bool top_down : {false, true}) {
            const auto image =
                DecodeBmp16(MakeBmp16({2, 2, top_down, header, kBitFields, rgb565, pixels}));
            ASSERT_TRUE(image);
            EXPECT_EQ(PixelsOf(*image), want);
        }
    }
    // Five bits each for red, green and blue through masks.
    const auto five =
        DecodeBmp16(MakeBmp16({1, 1, false, 40, kBitFields, {0x7C00, 0x03E0, 0x001F}, {0x7FFF}}));
    ASSERT_TRUE(five);
    EXPECT_EQ(five->At(0, 0), (Rgba{255, 255, 255, 255}));
}

TEST(Bmp16, AlphaMaskOfALongHeaderIsTheAlpha) {
    const std::vector<std::uint32_t> argb4444{0x0F00, 0x00F0, 0x000F, 0xF000};
    const auto image =
        DecodeBmp16(MakeBmp16({2, 1, false, 124, kBitFields, argb4444, {0xFFFF, 0x8F00}}));
    ASSERT_TRUE(image);
    EXPECT_EQ(PixelsOf(*image), (std::vector<Rgba>{{255, 255, 255, 255}, {255, 0, 0, 0x88}}));
    // A 40-byte header's three masks name no alpha: the picture is opaque.
    const auto opaque =
        DecodeBmp16(MakeBmp16({1, 1, false, 40, kBitFields, {0x0F00, 0x00F0, 0x000F}, {0x0F00}}));
    ASSERT_TRUE(opaque);
    EXPECT_EQ(opaque->At(0, 0), (Rgba{255, 0, 0, 255}));
}

TEST(Bmp16, OtherFilesAndBrokenOnesAreNotDecodedHere) {
    const Bytes good =
        MakeBmp16({3, 3, false, 40, kUncompressed, {}, std::vector<std::uint16_t>(9)});
    ASSERT_TRUE(IsBmp16(good));
    ASSERT_TRUE(DecodeBmp16(good));

    Bytes other = good;
    other[28] = 24;  // 24 bits a pixel: the still decoder's
    EXPECT_FALSE(IsBmp16(other));
    other = good;
    other[30] = 1;  // run-length compression
    EXPECT_FALSE(IsBmp16(other));
    other = good;
    PutLe32(other, 14, 12);  // the old core header
    EXPECT_FALSE(IsBmp16(other));

    // The last row may lack its padding; one byte less than its pixels is too little.
    EXPECT_TRUE(DecodeBmp16(Bytes(good.begin(), good.end() - 2)));
    EXPECT_FALSE(DecodeBmp16(Bytes(good.begin(), good.end() - 3)));
    Bytes far = good;
    PutLe32(far, 10, 0xFFFFFFF0u);  // pixels past the end of the file
    EXPECT_FALSE(DecodeBmp16(far));
    Bytes huge = good;
    PutLe32(huge, 18, 0x7FFFFFFF);
    EXPECT_FALSE(DecodeBmp16(huge));
    Bytes empty = good;
    PutLe32(empty, 18, 0);
    EXPECT_FALSE(DecodeBmp16(empty));
    EXPECT_FALSE(DecodeBmp16(Bytes(good.begin(), good.begin() + 30)));
}

TEST(Bmp16, SixteenBitFilesDoNotReachTheStillDecoder) {
    int calls = 0;
    SetStillImageDecoder(std::make_unique<FakeStillDecoder>(MagentaCornerPicture(), &calls));
    const Bytes bmp = MakeBmp16({1, 1, false, 40, kUncompressed, {}, {0x7FFF}});
    const auto image = GetImageFromStream(bmp);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->At(0, 0), (Rgba{255, 255, 255, 255}));
    EXPECT_EQ(calls, 0);
    Bytes deeper = bmp;
    deeper[28] = 24;
    EXPECT_TRUE(GetImageFromStream(deeper));
    EXPECT_EQ(calls, 1);
    SetStillImageDecoder(nullptr);
}

}  // namespace
}  // namespace quillon
