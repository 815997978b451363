// PNGs with a transparent colour or palette transparency (tRNS) in every colour type and
// bit depth that allows one, decoded through the Qt decoder: each pixel compared with the
// colour the file holds, and the pixels of the transparent colour (and only those) clear.
#include <gtest/gtest.h>

#include <QDir>
#include <QPainter>

#include <string>

#include "platform/qt/png_colour_key.h"
#include "platform/qt/qt_image_decoder.h"
#include "platform/qt/rgba_qimage.h"
#include "png_test_writer.h"

namespace quillon {
namespace {

using png_test::Bytes;
using png_test::MakePng;
using png_test::PngFile;

constexpr int kWidth = 7;  // odd, so that packed rows of 1, 2 and 4 bits end part-way
constexpr int kHeight = 3;

Bytes Be16Bytes(std::initializer_list<std::uint16_t> values) {
    Bytes out;
    for (std::uint16_t v : values) {
        out.push_back(static_cast<std::uint8_t>(v >> 8));
        out.push_back(static_cast<std::uint8_t>(v));
    }
    return out;
}

std::uint8_t To8Bits(std::uint16_t sample, int depth) {
    const double max = (1 << depth) - 1;
    return static_cast<std::uint8_t>(sample * 255.0 / max + 0.5);
}

testing::AssertionResult SamePixels(const RgbaImage& got, const std::vector<Rgba>& want,
                                    int tolerance = 1) {
    if (got.Width() != kWidth || got.Height() != kHeight) {
        return testing::AssertionFailure() << "size " << got.Width() << "x" << got.Height();
    }
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const Rgba g = got.At(x, y);
            const Rgba w = want[static_cast<std::size_t>(y * kWidth + x)];
            const bool clear = w.a == 0;
            const bool ok = clear ? g.a == 0
                                  : g.a == w.a && std::abs(g.r - w.r) <= tolerance &&
                                        std::abs(g.g - w.g) <= tolerance &&
                                        std::abs(g.b - w.b) <= tolerance;
            if (!ok) {
                return testing::AssertionFailure()
                       << "pixel " << x << "," << y << " is " << int{g.r} << " " << int{g.g} << " "
                       << int{g.b} << " alpha " << int{g.a} << ", wanted " << int{w.r} << " "
                       << int{w.g} << " " << int{w.b} << " alpha " << int{w.a};
            }
        }
    }
    return testing::AssertionSuccess();
}

// A grey picture of the given depth cycling through sample values that include the
// transparent one and neighbours of it that must stay opaque.
struct GreyCase {
    int depth;
    std::uint16_t key;
    std::vector<std::uint16_t> values;
};

TEST(PngTransparentColour, GreyOfEveryDepth) {
    const std::vector<GreyCase> cases{
        {1, 1, {0, 1}},
        {2, 2, {0, 1, 2, 3}},
        {4, 9, {0, 8, 9, 10, 15}},
        {8, 0x80, {0, 0x7F, 0x80, 0x81, 0xFF}},
        // 0x8041 and 0x8140 agree with the key in one byte only.
        {16, 0x8040, {0, 0x8040, 0x8041, 0x8140, 0xFFFF, 0x4020}},
    };
    QtImageDecoder decoder;
    for (const GreyCase& c : cases) {
        SCOPED_TRACE("grey depth " + std::to_string(c.depth));
        PngFile file{kWidth, kHeight, c.depth, 0, {}, {}, Be16Bytes({c.key})};
        std::vector<Rgba> want;
        for (int i = 0; i < kWidth * kHeight; ++i) {
            const std::uint16_t v = c.values[static_cast<std::size_t>(i) % c.values.size()];
            file.samples.push_back(v);
            const std::uint8_t g = To8Bits(v, c.depth);
            want.push_back(Rgba{g, g, g, static_cast<std::uint8_t>(v == c.key ? 0 : 255)});
        }
        const auto image = decoder.Decode(MakePng(file), ImageType::Png);
        ASSERT_TRUE(image);
        EXPECT_TRUE(SamePixels(*image, want));
    }
}

TEST(PngTransparentColour, RgbOf8And16Bits) {
    for (const int depth : {8, 16}) {
        SCOPED_TRACE("RGB depth " + std::to_string(depth));
        const std::uint16_t max = depth == 16 ? 0xFFFF : 0xFF;
        const std::array<std::uint16_t, 3> key =
            depth == 16 ? std::array<std::uint16_t, 3>{0x1234, 0xABCD, 0x0F0F}
                        : std::array<std::uint16_t, 3>{0x12, 0xAB, 0x0F};
        // The key, colours differing from it in one channel (and at 16 bits in the low
        // byte only), and plain colours.
        const std::vector<std::array<std::uint16_t, 3>> colours{
            key,
            {key[0], key[1], static_cast<std::uint16_t>(key[2] + 1)},
            {static_cast<std::uint16_t>(key[0] + 1), key[1], key[2]},
            {max, max, max},
            {0, 0, 0},
            {max, 0, 0},
            {0, max, static_cast<std::uint16_t>(max / 2)},
        };
        PngFile file{kWidth, kHeight, depth, 2, {}, {}, Be16Bytes({key[0], key[1], key[2]})};
        std::vector<Rgba> want;
        for (int i = 0; i < kWidth * kHeight; ++i) {
            const auto& c = colours[static_cast<std::size_t>(i * 3 + i / kWidth) % colours.size()];
            file.samples.insert(file.samples.end(), c.begin(), c.end());
            want.push_back(Rgba{To8Bits(c[0], depth), To8Bits(c[1], depth), To8Bits(c[2], depth),
                                static_cast<std::uint8_t>(c == key ? 0 : 255)});
        }
        const Bytes png = MakePng(file);
        const auto image = QtImageDecoder().Decode(png, ImageType::Png);
        ASSERT_TRUE(image);
        EXPECT_TRUE(SamePixels(*image, want));

        // The picture on a checkerboard, enlarged, to be looked at.
        QImage shown(kWidth * 16, kHeight * 16, QImage::Format_RGB32);
        QPainter painter(&shown);
        for (int y = 0; y < kHeight * 2; ++y)
            for (int x = 0; x < kWidth * 2; ++x)
                painter.fillRect(x * 8, y * 8, 8, 8, (x + y) % 2 ? Qt::lightGray : Qt::white);
        painter.drawImage(QRect(0, 0, kWidth * 16, kHeight * 16), ToQImage(*image));
        painter.end();
        shown.save(QDir::temp().filePath(QString("quillon_png_trns_rgb%1.png").arg(depth)));
    }
}

TEST(PngTransparentColour, PaletteAlphaOf2And8Bits) {
    const Bytes palette{255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};
    const Bytes alpha{0, 128};  // entries past the list are opaque
    const std::array<Rgba, 4> colours{Rgba{255, 0, 0, 0}, Rgba{0, 255, 0, 128},
                                      Rgba{0, 0, 255, 255}, Rgba{255, 255, 255, 255}};
    for (const int depth : {2, 8}) {
        SCOPED_TRACE("palette depth " + std::to_string(depth));
        PngFile file{kWidth, kHeight, depth, 3, {}, palette, alpha};
        std::vector<Rgba> want;
        for (int i = 0; i < kWidth * kHeight; ++i) {
            const int index = (i + i / kWidth) % 4;
            file.samples.push_back(static_cast<std::uint16_t>(index));
            want.push_back(colours[static_cast<std::size_t>(index)]);
        }
        const auto image = QtImageDecoder().Decode(MakePng(file), ImageType::Png);
        ASSERT_TRUE(image);
        EXPECT_TRUE(SamePixels(*image, want));
    }
}

TEST(PngTransparentColour, OnlyWellFormedGreyAndRgbKeysAreTakenOut) {
    PngFile rgb{kWidth,
                kHeight,
                8,
                2,
                std::vector<std::uint16_t>(kWidth * kHeight * 3, 7),
                {},
                Be16Bytes({7, 7, 7})};
    const Bytes keyed = MakePng(rgb);
    const auto split = SplitPngColourKey(keyed);
    ASSERT_TRUE(split);
    ASSERT_TRUE(split->key);
    EXPECT_EQ(split->key->red, 7 * 257);
    EXPECT_EQ(split->bytes.size(), keyed.size() - 18);  // the 6-byte chunk and its frame

    // A chunk that runs past the end of the file, and a key with too few bytes.
    EXPECT_FALSE(SplitPngColourKey(Bytes(keyed.begin(), keyed.begin() + 40)));
    rgb.transparency = Be16Bytes({7, 7});
    EXPECT_FALSE(SplitPngColourKey(MakePng(rgb)));
    // No tRNS chunk, and a palette's transparency (Qt's own reader handles that).
    rgb.transparency.clear();
    EXPECT_FALSE(SplitPngColourKey(MakePng(rgb)));
    EXPECT_FALSE(SplitPngColourKey(MakePng(PngFile{1, 1, 8, 3, {0}, {1, 2, 3}, {0}})));

    // A grey key larger than the depth holds matches no pixel: the picture stays opaque.
    PngFile grey{kWidth, kHeight,       2, 0, std::vector<std::uint16_t>(kWidth * kHeight, 3),
                 {},     Be16Bytes({4})};
    const auto out_of_range = SplitPngColourKey(MakePng(grey));
    ASSERT_TRUE(out_of_range);
    EXPECT_FALSE(out_of_range->key);
    const auto image = QtImageDecoder().Decode(MakePng(grey), ImageType::Png);
    ASSERT_TRUE(image);
    EXPECT_TRUE(SamePixels(*image, std::vector<Rgba>(kWidth * kHeight, Rgba{255, 255, 255, 255})));
}

}  // namespace
}  // namespace quillon
