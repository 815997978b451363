// Malformed and hostile GIFs: each gives a decoded image (as much as the data allows) or
// a clean failure, never a crash, an out-of-bounds access, a hang or an allocation the
// file does not justify. The tests also run under AddressSanitizer.

#include <gtest/gtest.h>

#include <random>

#include "html/image/gif_image.h"
#include "platform/core/test_canvas.h"
#include "tests/html_image/gif_test_support.h"

namespace quillon {
namespace {

using gif_test::Bytes;
using gif_test::DataPath;
using gif_test::GifBuilder;
using gif_test::ReadFile;

const Rgba kBlack{0, 0, 0, 255}, kRed{255, 0, 0, 255}, kGreen{0, 255, 0, 255};

// Loads, shows every frame, animates and draws: the paths a document takes.
void Exercise(const Bytes& data) {
    std::int64_t now = 0;
    TGIFImage image([&] { return now; });
    if (!image.LoadFromStream(data)) {
        EXPECT_TRUE(image.Empty());
        return;
    }
    for (int i = 1; i <= image.FrameCount() + 1; ++i) image.SetCurrentFrame(i);
    image.SetAnimate(true);
    for (int tick = 0; tick < 5; ++tick) {
        now += 1000;
        image.CheckTime(nullptr);
    }
    TestCanvas canvas(7, 5);
    image.Draw(canvas, 1, 1, 5, 3);
    image.Draw(canvas, 0, 0, 0, 0);
    image.GetMaskedBitmap();
    image.GetMask();
    TGIFImage copy(image);
    copy.SetCurrentFrame(2);
    image.ClearAll();
}

TEST(GifHostileInput, EveryTruncationOfTheFixturesDecodesWhatIsThere) {
    for (const char* name : {"pil_disposals.gif", "im_dispose_mix.gif", "im_interlaced.gif",
                             "im_overhang.gif", "pil_local_tables.gif"}) {
        SCOPED_TRACE(name);
        const Bytes data = ReadFile(DataPath(name));
        TGIFImage full;
        ASSERT_TRUE(full.LoadFromStream(data));
        int previous_frames = 0;
        for (std::size_t n = 0; n <= data.size(); ++n) {
            const Bytes prefix(data.begin(), data.begin() + static_cast<long>(n));
            TGIFImage image;
            const bool loaded = image.LoadFromStream(prefix);
            // Only a cut header or global table fails.
            if (n >= 13 + 3u * (2u << (data[10] & 7))) {
                ASSERT_TRUE(loaded) << n;
            }
            ASSERT_GE(image.FrameCount(), previous_frames) << n;
            previous_frames = image.FrameCount();
            if (loaded && image.FrameCount() > 0) {
                EXPECT_LE(image.Picture().Width(), full.Picture().Width());
            }
            if (n % 7 == 0) Exercise(prefix);
        }
        EXPECT_EQ(previous_frames, full.FrameCount());
    }
}

TEST(GifHostileInput, CutFrameKeepsItsDecodedRowsAndTheRestShowsThrough) {
    Bytes pixels(40, 1);
    GifBuilder gif(8, 5);
    gif.Control(1, 1, true, 3).Frame(0, 0, 8, 5, Bytes(40, 2)).Frame(0, 0, 8, 5, pixels);
    Bytes data = gif.bytes();
    data.resize(data.size() - 10);  // 20 literal codes of 3 and 4 bits are lost
    TGIFImage image;
    ASSERT_TRUE(image.LoadFromStream(data));
    ASSERT_EQ(image.FrameCount(), 2);
    const std::size_t decoded = image.Frame(2).Pixels().size();
    EXPECT_GT(decoded, 10u);
    EXPECT_LT(decoded, 40u);
    image.SetCurrentFrame(2);
    EXPECT_EQ(image.Picture().At(0, 0), kRed);
    EXPECT_EQ(image.Picture().At(7, 4), kGreen);  // frame 1 still shows under the cut
}

TEST(GifHostileInput, RandomByteMutationsOfTheFixtures) {
    std::mt19937 random(20261206);
    for (const char* name : {"pil_disposals.gif", "im_dispose_mix.gif", "im_interlaced.gif"}) {
        const Bytes data = ReadFile(DataPath(name));
        for (int round = 0; round < 150; ++round) {
            Bytes mutated = data;
            const int changes = 1 + static_cast<int>(random() % 4);
            for (int c = 0; c < changes; ++c) {
                mutated[random() % mutated.size()] = static_cast<std::uint8_t>(random());
            }
            Exercise(mutated);
        }
    }
}

TEST(GifHostileInput, MissingColourTablesGiveBlackPixels) {
    GifBuilder gif(2, 2, 0);
    gif.Frame(0, 0, 2, 2, {1, 2, 3, 0}).Frame(0, 0, 1, 1, {3}).Trailer();
    TGIFImage image;
    ASSERT_TRUE(image.LoadFromStream(gif.bytes()));
    EXPECT_EQ(image.Picture().At(1, 1), kBlack);
    EXPECT_EQ(image.Picture().At(0, 0), kBlack);
}

TEST(GifHostileInput, MinimumCodeSizesOutsideWhatTheCodeTableAllowsRejectTheFrame) {
    for (int size : {0, 12, 13, 200}) {
        SCOPED_TRACE(size);
        GifBuilder gif(2, 1);
        gif.Frame(0, 0, 2, 1, {1, 1})
            .FrameCodes(0, 0, 2, 1, size, {0, 0})
            .Frame(0, 0, 2, 1, {2, 2});
        TGIFImage image;
        ASSERT_TRUE(image.LoadFromStream(gif.Trailer().bytes()));
        EXPECT_EQ(image.FrameCount(), 1);  // the bad frame ends reading
        TGIFImage info;
        ASSERT_TRUE(info.LoadInfoFromStream(gif.bytes()));
        EXPECT_EQ(info.FrameCount(), 1);
    }
    // Size 1 (literals 0 and 1) fits the table and decodes.
    GifBuilder gif(3, 1);
    gif.FrameCodes(0, 0, 3, 1, 1, {2, 1, 0, 1, 3});
    TGIFImage image;
    ASSERT_TRUE(image.LoadFromStream(gif.Trailer().bytes()));
    EXPECT_EQ(image.Frame(1).Pixels(), (Bytes{1, 0, 1}));
}

// Sizes 9 to 11 still leave room in the 12-bit table: their frames decode, in full reads
// and in structure-only reads, and the frames after them are read too.
TEST(GifHostileInput, MinimumCodeSizesNineToElevenYieldTheirFrames) {
    for (int size : {9, 10, 11}) {
        SCOPED_TRACE(size);
        const int clear = 1 << size;
        GifBuilder gif(4, 1);
        gif.FrameCodes(0, 0, 4, 1, size, {clear, 1, 2, clear + 2, clear + 1})
            .Frame(0, 0, 4, 1, {3, 3, 3, 3})
            .Trailer();
        TGIFImage image;
        ASSERT_TRUE(image.LoadFromStream(gif.bytes()));
        ASSERT_EQ(image.FrameCount(), 2);
        EXPECT_EQ(image.Frame(1).Pixels(), (Bytes{1, 2, 1, 2}));
        TGIFImage info;
        ASSERT_TRUE(info.LoadInfoFromStream(gif.bytes()));
        EXPECT_EQ(info.FrameCount(), 2);
    }
}

TEST(GifHostileInput, UndefinedCodesAndAFullTableWithoutClearCode) {
    GifBuilder gif(6, 1);
    // After 0, 1, 2, 3 the next free entry is 9 and codes have 4 bits: 12 is undefined.
    gif.FrameCodes(0, 0, 6, 1, 2, {4, 0, 1, 2, 3, 12, 3, 5});
    std::vector<int> codes{256};
    for (int i = 0; i < 9000; ++i) codes.push_back(i % 3);
    gif.FrameCodes(0, 0, 100, 90, 8, codes);
    TGIFImage image;
    ASSERT_TRUE(image.LoadFromStream(gif.Trailer().bytes()));
    ASSERT_EQ(image.FrameCount(), 2);
    EXPECT_EQ(image.Frame(1).Pixels(), (Bytes{0, 1, 2, 3}));
    EXPECT_EQ(image.Frame(2).Pixels().size(), 9000u);
    EXPECT_EQ(image.Picture().At(3, 0), (Rgba{0, 0, 255, 255}));
    EXPECT_EQ(image.Picture().At(4, 0), kBlack);  // never decoded: the background
}

TEST(GifHostileInput, FramesOutsideTheLogicalScreenEnlargeThePicture) {
    GifBuilder gif(4, 4);
    gif.Frame(2, 3, 4, 2, Bytes(8, 1)).Frame(10, 20, 1, 1, {2}).Trailer();
    TGIFImage image;
    ASSERT_TRUE(image.LoadFromStream(gif.bytes()));
    EXPECT_EQ(image.Width(), 11);
    EXPECT_EQ(image.Height(), 21);
    EXPECT_EQ(image.Picture().At(5, 4), kRed);
    image.SetCurrentFrame(2);
    EXPECT_EQ(image.Picture().At(10, 20), kGreen);
}

TEST(GifHostileInput, ZeroSizeFramesAndScreens) {
    GifBuilder gif(0, 0);
    gif.Control(3, 1)
        .Frame(5, 5, 0, 0, {})
        .Control(2, 1)
        .Frame(0, 0, 0, 7, {})
        .Frame(0, 0, 2, 0, {});
    gif.FrameCodes(0, 0, 0, 0, 2, {4, 1, 1, 1, 5});
    TGIFImage image;
    ASSERT_TRUE(image.LoadFromStream(gif.Trailer().bytes()));
    EXPECT_EQ(image.FrameCount(), 4);
    EXPECT_EQ(image.Width(), 5);
    EXPECT_EQ(image.Height(), 7);
    Exercise(gif.bytes());
}

TEST(GifHostileInput, HugeScreensAndFramesFailCleanly) {
    {
        GifBuilder gif(65535, 65535);
        gif.Frame(0, 0, 1, 1, {1}).Trailer();
        TGIFImage image;
        EXPECT_FALSE(image.LoadFromStream(gif.bytes()));
        EXPECT_TRUE(image.Empty());
    }
    {
        // A small screen whose second frame claims 65535 x 65535: reading ends before it.
        GifBuilder gif(2, 2);
        gif.Frame(0, 0, 2, 2, {1, 1, 1, 1}).Frame(0, 0, 65535, 65535, {1, 2, 3}).Trailer();
        TGIFImage image;
        ASSERT_TRUE(image.LoadFromStream(gif.bytes()));
        EXPECT_EQ(image.FrameCount(), 1);
        EXPECT_EQ(image.Width(), 2);
    }
    {
        // 4096 x 4096 is allowed; a frame with three codes holds three pixels, not 16 M.
        GifBuilder gif(4096, 4096);
        gif.Frame(0, 0, 4096, 4096, {1, 2, 3}).Trailer();
        TGIFImage image;
        ASSERT_TRUE(image.LoadFromStream(gif.bytes()));
        EXPECT_LE(image.Frame(1).Pixels().capacity(), 64u);
        EXPECT_EQ(image.Picture().At(2, 0), (Rgba{0, 0, 255, 255}));
        EXPECT_EQ(image.Picture().At(3, 0), kBlack);
    }
}

TEST(GifHostileInput, FrameAreaAndSavedAreasAreLimited) {
    // Twenty 4096 x 4096 frames of one pixel each: the rectangles of 16 fit the area budget.
    GifBuilder big(1, 1);
    for (int i = 0; i < 20; ++i) big.Control(3, 1).Frame(0, 0, 4096, 4096, {1});
    TGIFImage image;
    ASSERT_TRUE(image.LoadFromStream(big.Trailer().bytes()));
    EXPECT_EQ(image.FrameCount(), 16);
    // Restoring frames hold their saved area only while they are shown.
    GifBuilder restoring(1, 1);
    for (int i = 0; i < 20; ++i) restoring.Control(3, 1).Frame(0, 0, 300, 200, {1});
    ASSERT_TRUE(image.LoadFromStream(restoring.Trailer().bytes()));
    for (int i = 2; i <= 20; ++i) image.SetCurrentFrame(i);
    int holding = 0;
    for (int i = 1; i <= 20; ++i) holding += image.Frame(i).saved.Empty() ? 0 : 1;
    EXPECT_EQ(holding, 1);
    image.SetCurrentFrame(1);
    EXPECT_TRUE(image.Frame(20).saved.Empty());
}

TEST(GifHostileInput, MoreThan256FramesKeepTheFirst256) {
    GifBuilder gif(1, 1);
    for (int i = 0; i < 300; ++i) gif.Frame(0, 0, 1, 1, {static_cast<std::uint8_t>(i % 4)});
    TGIFImage image;
    ASSERT_TRUE(image.LoadFromStream(gif.Trailer().bytes()));
    EXPECT_EQ(image.FrameCount(), 256);
}

TEST(GifHostileInput, EndlessExtensionBlocksEndWithTheData) {
    GifBuilder gif(1, 1);
    gif.Frame(0, 0, 1, 1, {1});
    for (int i = 0; i < 100000; ++i) gif.Raw({0x21, 0x99, 1, 0});  // never terminated
    TGIFImage image;
    ASSERT_TRUE(image.LoadFromStream(gif.bytes()));
    EXPECT_EQ(image.FrameCount(), 1);
    // A comment whose sub-blocks never end: read to the end of the data.
    Bytes endless = GifBuilder(1, 1).Frame(0, 0, 1, 1, {1}).bytes();
    endless.insert(endless.end(), {0x21, 0xFE});
    for (int i = 0; i < 20000; ++i) endless.insert(endless.end(), {3, 'a', 'b', 'c'});
    ASSERT_TRUE(image.LoadFromStream(endless));
    EXPECT_EQ(image.FrameCount(), 1);
}

TEST(GifHostileInput, TotalDecodedPixelsAreLimited) {
    // Each frame: 4096 x 4096 of one colour from a few kilobytes of codes 258, 259, ...
    std::vector<int> codes{256, 1};
    for (int c = 258; c < 4096; ++c) codes.push_back(c);
    for (int i = 0; i < 200; ++i) codes.push_back(4095);
    GifBuilder gif(4096, 4096);
    for (int i = 0; i < 10; ++i) gif.FrameCodes(0, 0, 4096, 4096, 8, codes);
    TGIFImage image;
    ASSERT_TRUE(image.LoadFromStream(gif.Trailer().bytes()));
    std::size_t total = 0;
    for (int i = 1; i <= image.FrameCount(); ++i) total += image.Frame(i).Pixels().size();
    EXPECT_LE(total, TGIFImage::kMaxDecodedPixels);
    EXPECT_GE(image.FrameCount(), 3);
    EXPECT_LT(image.FrameCount(), 10);
}

// The classes of faults known from giflib's CVE history, by name.
TEST(GiflibCveClasses, HeapOverflowFromFrameRectangles) {
    // Frames that reach past the screen (CVE-2016-3977 in gif2rgb, CVE-2015-7555 in giffix):
    // the picture covers them, nothing is written outside it.
    GifBuilder gif(3, 3);
    gif.Control(3, 1)
        .Frame(65530, 2, 5, 1, Bytes(5, 1))
        .Control(2, 1)
        .Frame(1, 65534, 2, 1, {2, 2});
    Exercise(gif.Trailer().bytes());
}

TEST(GiflibCveClasses, HeapOverflowFromCodeTables) {
    // Codes that would chain through undefined entries or past the table (CVE-2018-11490,
    // DGifDecompressLine), and a deferred clear at 4095 entries followed by the code 4095.
    GifBuilder gif(64, 64);
    gif.FrameCodes(0, 0, 64, 64, 2, {4, 1, 7, 6, 100, 5});
    std::vector<int> codes{4, 0};
    for (int c = 6; c < 4096; ++c) codes.push_back(c);
    codes.insert(codes.end(), {4095, 4095, 4094, 4, 0, 5});
    gif.FrameCodes(0, 0, 64, 64, 2, codes);
    Exercise(gif.Trailer().bytes());
}

TEST(GiflibCveClasses, ColourIndexBeyondTheColourTable) {
    // Indices 4..255 with a 4-entry table (CVE-2022-28506 in gif2rgb): black.
    GifBuilder gif(2, 1);
    gif.FrameCodes(0, 0, 2, 1, 8, {256, 200, 255, 257}).Trailer();
    TGIFImage image;
    ASSERT_TRUE(image.LoadFromStream(gif.bytes()));
    EXPECT_EQ(image.Picture().At(0, 0), kBlack);
    EXPECT_EQ(image.Picture().At(1, 0), kBlack);
}

TEST(GiflibCveClasses, DoubleFreeOnErrors) {
    // Errors in the middle of frames, then reloads, copies, Clear and ClearAll in every
    // order: frames and pictures are owned once (ASan reports any double free).
    const Bytes good = ReadFile(DataPath("pil_disposals.gif"));
    Bytes bad = good;
    bad.resize(bad.size() / 2);
    TGIFImage image;
    for (int round = 0; round < 3; ++round) {
        image.LoadFromStream(good);
        const RgbaImage* kept = image.GetMaskedBitmap();
        ASSERT_NE(kept, nullptr);
        TGIFImage copy(image);
        image.LoadFromStream(bad);
        image.Clear();
        image.Clear();
        copy.ClearAll();
        image.ClearAll();
        EXPECT_FALSE(image.LoadFromStream(Bytes{'G', 'I', 'F'}));
        image.ClearAll();
    }
}

TEST(GiflibCveClasses, DivisionByZeroOnEmptyImages) {
    // Zero-size frames and screens (CVE-2019-15133, DGifSlurp), a speed of 0, drawing into
    // empty rectangles and from an empty picture.
    GifBuilder gif(0, 0);
    gif.Control(1, 0).Frame(0, 0, 0, 0, {}).Control(1, 0).Frame(0, 0, 0, 0, {}).Trailer();
    std::int64_t now = 0;
    TGIFImage image([&] { return now; });
    ASSERT_TRUE(image.LoadFromStream(gif.bytes()));
    image.SetSpeed(0);
    image.SetAnimate(true);
    now += 5;
    image.CheckTime(nullptr);
    TestCanvas canvas(4, 4);
    image.Draw(canvas, 0, 0, 4, 4);
    image.Draw(canvas, 2, 2, 0, 0);
    EXPECT_EQ(canvas.Surface().At(1, 1), (Rgba{255, 255, 255, 255}));
}

}  // namespace
}  // namespace quillon
