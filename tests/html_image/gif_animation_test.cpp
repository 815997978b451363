#include <gtest/gtest.h>

#include "html/image/gif_create.h"
#include "html/image/gif_image.h"
#include "platform/core/test_canvas.h"
#include "tests/html_image/gif_test_support.h"

namespace quillon {
namespace {

using gif_test::Bytes;
using gif_test::DataPath;
using gif_test::GifBuilder;

const Rgba kBlack{0, 0, 0, 255}, kRed{255, 0, 0, 255}, kGreen{0, 255, 0, 255},
    kBlue{0, 0, 255, 255}, kWhite{255, 255, 255, 255};

// Three 1 x 1 frames, red, green, blue, each shown for delay hundredths.
Bytes ThreeFrames(int delay, std::optional<int> loop) {
    GifBuilder gif(1, 1);
    if (loop) gif.Loop(*loop);
    for (std::uint8_t colour : {1, 2, 3}) gif.Control(1, delay).Frame(0, 0, 1, 1, {colour});
    return gif.Trailer().bytes();
}

struct Animation {
    std::int64_t now = 1000;
    TGIFImage image{[this] { return now; }};
    std::vector<Rect> invalidated;

    // Advances the clock by ms and lets the timer tick; returns the frame then shown.
    int Tick(std::int64_t ms) {
        now += ms;
        image.CheckTime([this](const Rect& r) { invalidated.push_back(r); });
        return image.CurrentFrame();
    }
    // The frames shown, tick by tick, until the animation stops (or max_ticks).
    std::vector<int> Run(std::int64_t ms, int max_ticks) {
        std::vector<int> shown{image.CurrentFrame()};
        for (int i = 0; i < max_ticks && image.Animate(); ++i) {
            const int before = image.CurrentFrame();
            const int after = Tick(ms);
            if (after != before) shown.push_back(after);
        }
        return shown;
    }
};

TEST(GifAnimation, LimitedLoopCountShowsEveryFrameOfTheLastPassAndRestsOnTheLast) {
    Animation a;
    ASSERT_TRUE(a.image.LoadFromStream(ThreeFrames(10, 2)));
    a.image.SetAnimate(true);
    EXPECT_EQ(a.Run(100, 50), (std::vector<int>{1, 2, 3, 1, 2, 3}));
    EXPECT_FALSE(a.image.Animate());
    EXPECT_EQ(a.image.CurrentFrame(), 3);
    EXPECT_EQ(a.image.Picture().At(0, 0), kBlue);
    EXPECT_EQ(a.image.CurrentLoop(), 2);

    // Without the loop extension a file plays once, its last frame included.
    Animation once;
    ASSERT_TRUE(once.image.LoadFromStream(ThreeFrames(10, std::nullopt)));
    once.image.SetAnimate(true);
    EXPECT_EQ(once.Run(100, 50), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(once.image.Picture().At(0, 0), kBlue);

    // Switched on again after it finished, it starts over from frame 1.
    once.image.SetAnimate(true);
    EXPECT_EQ(once.image.Picture().At(0, 0), kRed);
    EXPECT_EQ(once.Run(100, 50), (std::vector<int>{1, 2, 3}));
}

TEST(GifAnimation, LoopCountZeroAndTheIgnoreFlagLoopForEver) {
    Animation a;
    ASSERT_TRUE(a.image.LoadFromStream(ThreeFrames(10, 0)));
    a.image.SetAnimate(true);
    EXPECT_EQ(a.Run(100, 30).size(), 31u);
    EXPECT_TRUE(a.image.Animate());

    Animation b;
    ASSERT_TRUE(b.image.LoadFromStream(ThreeFrames(10, 1)));
    b.image.SetIgnoreLoopCount(true);
    b.image.SetAnimate(true);
    EXPECT_EQ(b.Run(100, 30).size(), 31u);
}

TEST(GifAnimation, DelaysAreScaledBySpeed) {
    Animation a;
    ASSERT_TRUE(a.image.LoadFromStream(ThreeFrames(10, 0)));
    a.image.SetSpeed(200);
    a.image.SetAnimate(true);
    EXPECT_EQ(a.Tick(49), 1);
    EXPECT_EQ(a.Tick(1), 2);  // 10 hundredths at 200 % after 50 ms
    a.image.SetSpeed(50);
    EXPECT_EQ(a.Tick(50), 3);  // the interval was set when frame 2 was shown
    EXPECT_EQ(a.Tick(199), 3);
    EXPECT_EQ(a.Tick(1), 1);

    // A speed of 0 or below counts as 1 %: 100 ms become 10 s.
    for (int speed : {0, -5}) {
        Animation s;
        ASSERT_TRUE(s.image.LoadFromStream(ThreeFrames(10, 0)));
        s.image.SetSpeed(speed);
        s.image.SetAnimate(true);
        EXPECT_EQ(s.Tick(9999), 1);
        EXPECT_EQ(s.Tick(1), 2);
    }

    // A delay of 0 is an interval of 1 ms.
    Animation z;
    ASSERT_TRUE(z.image.LoadFromStream(ThreeFrames(0, 0)));
    z.image.SetAnimate(true);
    EXPECT_EQ(z.Tick(0), 1);
    EXPECT_EQ(z.Tick(1), 2);
    EXPECT_EQ(z.Tick(1), 3);
}

TEST(GifAnimation, TimerInvalidatesWhereTheImageWasDrawn) {
    Animation a;
    ASSERT_TRUE(a.image.LoadFromStream(ThreeFrames(10, 0)));
    TestCanvas canvas(20, 20);
    a.image.Draw(canvas, 3, 4, 10, 5);
    a.image.SetAnimate(true);
    a.Tick(100);
    ASSERT_EQ(a.invalidated.size(), 1u);
    EXPECT_EQ(a.invalidated[0], (Rect{3, 4, 13, 9}));
    // Not animating, or before the interval: nothing.
    a.Tick(10);
    a.image.SetAnimate(false);
    a.Tick(1000);
    EXPECT_EQ(a.invalidated.size(), 1u);
}

TEST(GifAnimation, SwitchingOffAndChoosingFramesComposeTheRightPicture) {
    const Bytes data = gif_test::ReadFile(DataPath("pil_disposals.gif"));
    TGIFImage sequential;
    ASSERT_TRUE(sequential.LoadFromStream(data));
    std::vector<RgbaImage> pictures{sequential.Picture()};
    for (int i = 2; i <= sequential.FrameCount(); ++i) {
        sequential.SetCurrentFrame(i);
        pictures.push_back(sequential.Picture());
    }
    TGIFImage image;
    ASSERT_TRUE(image.LoadFromStream(data));
    image.SetCurrentFrame(4);  // a jump composes frames 1 to 4
    EXPECT_EQ(image.Picture(), pictures[3]);
    image.SetCurrentFrame(0);  // below 1: the last frame
    EXPECT_EQ(image.CurrentFrame(), 5);
    EXPECT_EQ(image.Picture(), pictures[4]);
    image.SetCurrentFrame(6);  // above the count: frame 1, on a fresh picture
    EXPECT_EQ(image.CurrentFrame(), 1);
    EXPECT_EQ(image.Picture(), pictures[0]);

    std::int64_t now = 0;
    image.SetClock([&] { return now; });
    image.SetAnimate(true);
    for (int i = 0; i < 3; ++i) {
        now += 1000;
        image.CheckTime(nullptr);
    }
    EXPECT_EQ(image.CurrentFrame(), 4);
    EXPECT_EQ(image.Picture(), pictures[3]);
    image.SetAnimate(false);
    EXPECT_EQ(image.CurrentFrame(), 1);
    EXPECT_EQ(image.Picture(), pictures[0]);
}

TEST(GifAnimation, DrawStretchesWithTransparency) {
    // 2 x 1: a transparent pixel (index 0) and a red one.
    GifBuilder gif(2, 1);
    gif.Control(1, 10, true, 0).Frame(0, 0, 2, 1, {0, 1}).Control(1, 10).Frame(0, 0, 1, 1, {2});
    TGIFImage image;
    ASSERT_TRUE(image.LoadFromStream(gif.Trailer().bytes()));
    TestCanvas canvas(6, 3);
    image.Draw(canvas, 1, 1, 4, 2);
    const RgbaImage& s = canvas.Surface();
    EXPECT_EQ(s.At(1, 1), kWhite);  // the transparent half keeps the canvas
    EXPECT_EQ(s.At(2, 2), kWhite);
    EXPECT_EQ(s.At(3, 1), kRed);
    EXPECT_EQ(s.At(4, 2), kRed);
    EXPECT_EQ(s.At(5, 1), kWhite);
    EXPECT_EQ(s.At(0, 0), kWhite);
    image.SetCurrentFrame(2);  // an opaque frame over the transparent pixel
    image.Draw(canvas, 1, 1, 4, 2);
    EXPECT_EQ(s.At(1, 1), kGreen);

    canvas.ClearLog();
    image.SetVisible(false);
    image.Draw(canvas, 0, 0, 6, 3);
    EXPECT_TRUE(canvas.Log().empty());
    EXPECT_EQ(image.LastDestination(), (Rect{0, 0, 6, 3}));
    image.SetVisible(true);
    ASSERT_TRUE(image.LoadInfoFromStream(gif.bytes()));
    image.Draw(canvas, 0, 0, 6, 3);
    EXPECT_TRUE(canvas.Log().empty());
}

TEST(GifAnimation, MaskedBitmapAndMaskOfTheFirstFrame) {
    GifBuilder gif(3, 1);
    gif.Control(1, 10, true, 2).Frame(0, 0, 3, 1, {1, 2, 3}).Frame(0, 0, 3, 1, {3, 3, 3});
    TGIFImage image;
    ASSERT_TRUE(image.LoadFromStream(gif.Trailer().bytes()));
    image.SetCurrentFrame(2);
    const RgbaImage* bitmap = image.GetMaskedBitmap();
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->Pixels(), (std::vector<Rgba>{kRed, Rgba{0, 0, 0, 0}, kBlue}));
    EXPECT_EQ(image.GetMaskedBitmap(), bitmap);  // made once
    const RgbaImage* mask = image.GetMask();
    ASSERT_NE(mask, nullptr);
    EXPECT_EQ(mask->Pixels(), (std::vector<Rgba>{kBlack, kWhite, kBlack}));

    // A new file hands out its own first frame.
    ASSERT_TRUE(image.LoadFromStream(ThreeFrames(1, 0)));
    EXPECT_EQ(image.GetMaskedBitmap()->Pixels(), (std::vector<Rgba>{kRed}));
    image.ClearAll();
    EXPECT_EQ(image.GetMaskedBitmap(), nullptr);
}

TEST(GifAnimation, ClearAndClearAllResetTheImage) {
    TGIFImage image;
    ASSERT_TRUE(image.LoadFromStream(ThreeFrames(10, 7)));
    image.SetCurrentFrame(3);
    image.Clear();
    EXPECT_TRUE(image.Empty());
    EXPECT_EQ(image.FrameCount(), 0);
    EXPECT_EQ(image.CurrentFrame(), 1);
    EXPECT_EQ(image.LoopCount(), 1);
    EXPECT_EQ(image.CurrentLoop(), 1);
    EXPECT_FALSE(image.Transparent());
    EXPECT_EQ(image.BitsPerPixel(), 0);
    image.ClearAll();
    EXPECT_TRUE(image.Picture().Empty());
    TestCanvas canvas(2, 2);
    image.Draw(canvas, 0, 0, 2, 2);
    EXPECT_TRUE(canvas.Log().empty());
}

TEST(GifAnimation, CopyHasItsOwnFramesAndPicture) {
    Animation a;
    ASSERT_TRUE(a.image.LoadFromStream(gif_test::ReadFile(DataPath("im_dispose_mix.gif"))));
    a.image.SetCurrentFrame(2);
    a.image.SetSpeed(150);
    TGIFImage copy(a.image);
    EXPECT_EQ(copy.FrameCount(), 5);
    EXPECT_EQ(copy.Picture(), a.image.Picture());
    EXPECT_EQ(copy.Speed(), 150);
    EXPECT_EQ(copy.Frame(2).owner, &copy);
    EXPECT_EQ(copy.Frame(2).saved, a.image.Frame(2).saved);
    EXPECT_EQ(copy.Frame(2).Pixels(), a.image.Frame(2).Pixels());
    copy.SetCurrentFrame(3);  // restores frame 2's saved area in the copy only
    a.image.SetCurrentFrame(3);
    EXPECT_EQ(copy.Picture(), a.image.Picture());
    copy.SetCurrentFrame(5);
    EXPECT_EQ(a.image.CurrentFrame(), 3);
    a.image.ClearAll();
    EXPECT_EQ(copy.FrameCount(), 5);
    copy.SetCurrentFrame(1);
}

TEST(GifAnimation, CreateAGifOffersOnlyAnimatedImages) {
    bool non_animated = false;
    auto image = CreateAGif(DataPath("pil_interlaced.gif"), non_animated);
    ASSERT_NE(image, nullptr);
    EXPECT_FALSE(non_animated);
    EXPECT_FALSE(image->Animate());
    EXPECT_FALSE(image->Visible());
    EXPECT_FALSE(image->InfoOnly());
    EXPECT_EQ(image->FrameCount(), 3);

    EXPECT_EQ(CreateAGif(DataPath("pil_single.gif"), non_animated), nullptr);
    EXPECT_TRUE(non_animated);
    EXPECT_EQ(CreateAGif("/nonexistent.gif", non_animated), nullptr);

    const Bytes data = ThreeFrames(5, 0);
    image = CreateAGifFromStream(non_animated, data);
    ASSERT_NE(image, nullptr);
    EXPECT_FALSE(non_animated);
    EXPECT_EQ(CreateAGifFromStream(non_animated, Bytes{'x'}), nullptr);
    EXPECT_TRUE(non_animated);
}

}  // namespace
}  // namespace quillon
