// The document's image loader: the cache first, then the bitmap request, else the image
// request stream, else files; cache keys, uses released by Clear, the error and default
// bitmaps, background images, and images laid out and drawn on the test canvas.
#include <gtest/gtest.h>

#include <filesystem>

#include "html/image/image_cache.h"
#include "html/image/placeholder_bitmaps.h"
#include "html/layout/font_obj.h"
#include "html/layout/image_obj.h"
#include "html/layout/section_list.h"
#include "platform/core/test_canvas.h"
#include "tests/html_image/image_test_support.h"
#include "tests/html_layout/model_test_support.h"

namespace quillon {
namespace {

namespace fs = std::filesystem;
using image_test::BmpHeader;
using image_test::FakeStillDecoder;
using image_test::ImagePath;
using image_test::MagentaCornerPicture;
using image_test::ReadBytes;
using testing::Attr;
using testing::Attrs;

std::string GifPath(const char* name) {
    std::string path = QUILLON_TEST_DATA "/gif/";
    path += name;
    return path;
}

std::string AsString(const image_test::Bytes& b) {
    return std::string(b.begin(), b.end());
}

class ImageLoading : public ::testing::Test {
  protected:
    void SetUp() override {
        BitmapList().Clear();
        SetStillImageDecoder(std::make_unique<FakeStillDecoder>(MagentaCornerPicture(), &decodes));
        dir =
            fs::temp_directory_path() /
            ("quillon_images_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
    }
    void TearDown() override {
        SetStillImageDecoder(nullptr);
        BitmapList().Clear();
        fs::remove_all(dir);
    }
    std::string Copy(const std::string& from, const fs::path& to) {
        fs::create_directories((dir / to).parent_path());
        fs::copy_file(from, dir / to, fs::copy_options::overwrite_existing);
        return (dir / to).string();
    }
    int decodes = 0;
    fs::path dir;
};

TEST_F(ImageLoading, BitmapRequestComesFirstAndIsAskedOnce) {
    TSectionList doc;
    std::vector<std::string> asked;
    doc.OnBitmapRequest = [&](TSectionList&, const std::string& name,
                              std::shared_ptr<const RgbaImage>& bitmap, std::int64_t& colour) {
        asked.push_back(name);
        EXPECT_EQ(colour, -1);
        bitmap = std::make_shared<const RgbaImage>(MagentaCornerPicture());
    };
    int streams = 0;
    doc.OnImageRequest = [&](TSectionList&, const std::string&, std::string&) { ++streams; };
    const auto first = doc.GetTheBitmap(" Logo.bmp ", Transparency::NotTransp);
    ASSERT_TRUE(first && first->Bitmap);
    EXPECT_FALSE(first->FromCache);
    // The same name in another case comes from the cache: the application serves names.
    const auto second = doc.GetTheBitmap("LOGO.BMP", Transparency::NotTransp);
    ASSERT_TRUE(second);
    EXPECT_TRUE(second->FromCache);
    EXPECT_EQ(second->Bitmap, first->Bitmap);
    EXPECT_EQ(asked, std::vector<std::string>{"Logo.bmp"});
    EXPECT_EQ(streams, 0);
    EXPECT_EQ(BitmapList().Find("request:LOGO.BMP")->UserCount, 2);
    doc.Clear();
    EXPECT_EQ(BitmapList().Find("request:LOGO.BMP")->UserCount, 0);
}

TEST_F(ImageLoading, BitmapRequestColourAndLowerLeftMasks) {
    TSectionList doc;
    doc.OnBitmapRequest = [&](TSectionList&, const std::string& name,
                              std::shared_ptr<const RgbaImage>& bitmap, std::int64_t& colour) {
        bitmap = std::make_shared<const RgbaImage>(MagentaCornerPicture());
        if (name == "keyed") colour = 0x0A141E;  // the picture's dark body colour
    };
    const auto keyed = doc.GetTheBitmap("keyed", Transparency::NotTransp);
    ASSERT_TRUE(keyed);
    EXPECT_EQ(keyed->Transp, Transparency::TGif);
    EXPECT_EQ(keyed->Bitmap->At(1, 0).a, 0);
    EXPECT_EQ(keyed->Bitmap->At(0, 1).a, 255);

    const auto plain = doc.GetTheBitmap("corner", Transparency::NotTransp);
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->Transp, Transparency::NotTransp);
    EXPECT_EQ(plain->Bitmap->At(0, 1).a, 255);
    // Asked again with TRANSP: the cached entry gets its lower-left mask now.
    const auto masked = doc.GetTheBitmap("corner", Transparency::LLCorner);
    ASSERT_TRUE(masked);
    EXPECT_EQ(masked->Transp, Transparency::LLCorner);
    EXPECT_EQ(masked->Bitmap->At(0, 1).a, 0);
    EXPECT_EQ(masked->Bitmap->At(2, 0).a, 0);
    EXPECT_EQ(masked->Bitmap->At(1, 1).a, 255);
    EXPECT_EQ(plain->Bitmap->At(0, 1).a, 255);  // the plain picture is untouched
}

TEST_F(ImageLoading, ImageRequestStreams) {
    TSectionList doc;
    std::map<std::string, std::string> served = {
        {"t.gif", AsString(ReadBytes(ImagePath("transp3.gif")))},
        {"anim", AsString(ReadBytes(GifPath("im_dispose_mix.gif")))},
        {"huge", AsString(BmpHeader(100000, 100000))},
        {"photo", AsString(ReadBytes(ImagePath("halves.jpg")))}};
    doc.OnImageRequest = [&](TSectionList&, const std::string& name, std::string& bytes) {
        if (auto it = served.find(name); it != served.end()) bytes = it->second;
    };
    const auto gif = doc.GetTheBitmap("t.gif", Transparency::NotTransp);
    ASSERT_TRUE(gif && gif->Bitmap);
    EXPECT_EQ(gif->Transp, Transparency::TGif);
    EXPECT_EQ(gif->Bitmap->At(3, 0).a, 0);
    const auto anim = doc.GetTheBitmap("anim", Transparency::NotTransp);
    ASSERT_TRUE(anim && anim->Gif);
    EXPECT_TRUE(anim->Gif->Animated());
    EXPECT_TRUE(doc.GetTheBitmap("photo", Transparency::NotTransp));
    EXPECT_EQ(decodes, 1);
    EXPECT_FALSE(doc.GetTheBitmap("huge", Transparency::NotTransp));  // refused, not decoded
    EXPECT_FALSE(doc.GetTheBitmap("unknown", Transparency::NotTransp));
    EXPECT_FALSE(doc.GetTheBitmap("  ", Transparency::NotTransp));
    EXPECT_EQ(decodes, 1);
    EXPECT_EQ(BitmapList().Count(), 3u);  // failures are not cached
}

TEST_F(ImageLoading, FilesAreKeyedByTheirCanonicalPathWithCaseKept) {
    const std::string lower = Copy(ImagePath("rgb.png"), "a.png");      // 3 x 2 (decoder)
    const std::string upper = Copy(ImagePath("transp3.gif"), "A.png");  // 4 x 2 (GIF)
    const std::string one = Copy(ImagePath("transp3.gif"), "one/p.gif");
    const std::string two = Copy(ImagePath("rgb.bmp"), "two/p.gif");
    TSectionList doc;
    EXPECT_EQ(doc.GetTheBitmap(lower, Transparency::NotTransp)->Bitmap->Width(), 3);
    EXPECT_EQ(doc.GetTheBitmap(upper, Transparency::NotTransp)->Bitmap->Width(), 4);
    EXPECT_EQ(doc.GetTheBitmap(one, Transparency::NotTransp)->Bitmap->Width(), 4);
    EXPECT_EQ(doc.GetTheBitmap(two, Transparency::NotTransp)->Bitmap->Width(), 3);
    EXPECT_EQ(BitmapList().Count(), 4u);
    // Another spelling of the same file is the same entry.
    const std::string dotted = (dir / "one" / ".." / "one" / "p.gif").string();
    const auto again = doc.GetTheBitmap(dotted, Transparency::NotTransp);
    ASSERT_TRUE(again);
    EXPECT_TRUE(again->FromCache);
    EXPECT_EQ(doc.ImageCacheKey(dotted), "file:" + fs::canonical(one).string());
    // Only files named ".gif" are tested for a GIF colour: A.png is a GIF without one.
    EXPECT_EQ(doc.GetTheBitmap(upper, Transparency::NotTransp)->Transp, Transparency::NotTransp);
    EXPECT_EQ(doc.GetTheBitmap(one, Transparency::NotTransp)->Transp, Transparency::TGif);
    EXPECT_FALSE(doc.GetTheBitmap((dir / "missing.png").string(), Transparency::NotTransp));
}

TEST_F(ImageLoading, AnImageNameIsExpandedOnlyWithoutRequestCallbacks) {
    Copy(ImagePath("transp3.gif"), "pics/x.gif");
    TSectionList doc;
    doc.OnExpandFilename = [&](TSectionList&, const std::string& name) {
        return (dir / "pics" / name).string();
    };
    TImageObj img(0, Attrs({Attr(Symb::SrcSy, "x.gif")}), nullptr);
    img.LoadPicture(doc);
    EXPECT_FALSE(img.Failed);
    EXPECT_EQ(img.NaturalWidth(), 4);
    EXPECT_EQ(img.Transp, Transparency::TGif);

    TSectionList served;
    served.OnExpandFilename = doc.OnExpandFilename;
    std::string asked;
    served.OnImageRequest = [&](TSectionList&, const std::string& name, std::string&) {
        asked = name;
    };
    TImageObj other(0, Attrs({Attr(Symb::SrcSy, "x.gif")}), nullptr);
    other.LoadPicture(served);
    EXPECT_EQ(asked, "x.gif");
    EXPECT_TRUE(other.Failed);
}

TEST_F(ImageLoading, MissingImagesShowTheErrorBitmapAndHiddenOnesTheDefault) {
    TSectionList doc;
    TImageObj missing(0, Attrs({Attr(Symb::SrcSy, (dir / "none.png").string())}), nullptr);
    missing.LoadPicture(doc);
    EXPECT_TRUE(missing.Failed);
    EXPECT_EQ(missing.Bitmap, ErrorBitmap());
    EXPECT_EQ(missing.Transp, Transparency::LLCorner);

    doc.ImagesShown = false;
    TImageObj hidden(0, Attrs({Attr(Symb::SrcSy, ImagePath("transp3.gif"))}), nullptr);
    hidden.LoadPicture(doc);
    EXPECT_TRUE(hidden.ShowsPlaceholder());
    EXPECT_EQ(hidden.Bitmap, DefaultBitmap());
    EXPECT_EQ(BitmapList().Count(), 0u);
    doc.ImagesShown = true;  // shown later: loading happens then
    hidden.LoadPicture(doc);
    EXPECT_FALSE(hidden.ShowsPlaceholder());
    EXPECT_EQ(hidden.NaturalWidth(), 4);
}

TEST_F(ImageLoading, EveryOccurrenceOfAnAnimatedGifAnimatesByItself) {
    TSectionList doc;
    TImageObj a(0, Attrs({Attr(Symb::SrcSy, GifPath("im_dispose_mix.gif"))}), nullptr);
    TImageObj b(1, Attrs({Attr(Symb::SrcSy, GifPath("im_dispose_mix.gif"))}), nullptr);
    a.LoadPicture(doc);
    b.LoadPicture(doc);
    ASSERT_TRUE(a.Gif && b.Gif);
    EXPECT_NE(a.Gif, b.Gif);
    EXPECT_EQ(doc.AnimatedImages, (std::vector<TImageObj*>{&a, &b}));
    EXPECT_EQ(BitmapList().Count(), 1u);
    a.Gif->SetCurrentFrame(2);
    EXPECT_EQ(b.Gif->CurrentFrame(), 1);
}

TEST_F(ImageLoading, TheTimerAdvancesOnlyPaintedAnimations) {
    TSectionList doc;
    TestCanvas canvas(100, 100);
    std::vector<Rect> invalidated;
    doc.OnInvalidate = [&](TSectionList&, const Rect& r) { invalidated.push_back(r); };
    std::int64_t now = 0;
    TImageObj shown(0, Attrs({Attr(Symb::SrcSy, GifPath("im_dispose_mix.gif"))}), nullptr);
    TImageObj hidden(1, Attrs({Attr(Symb::SrcSy, GifPath("im_dispose_mix.gif"))}), nullptr);
    for (TImageObj* img : {&shown, &hidden}) {
        img->DrawLogic(doc, canvas, nullptr, 100);
        img->Gif->SetClock([&] { return now; });
        img->Gif->SetAnimate(true);
    }
    doc.Draw(canvas, Rect{0, 0, 100, 100}, 100, 0, 0);  // a paint marks none as painted
    shown.Draw(canvas, 3, 4, nullptr);
    now += 100000;
    doc.CheckGIFList();
    EXPECT_EQ(shown.Gif->CurrentFrame(), 2);
    EXPECT_EQ(hidden.Gif->CurrentFrame(), 1);
    ASSERT_EQ(invalidated.size(), 1u);
    EXPECT_EQ(invalidated[0].left, 3);
    EXPECT_EQ(invalidated[0].top, 4);
    doc.IsPrinting = true;
    now += 100000;
    doc.CheckGIFList();
    EXPECT_EQ(shown.Gif->CurrentFrame(), 2);
    doc.Clear();
}

TEST_F(ImageLoading, BackgroundIsAStillPictureLoadedOnce) {
    Copy(ImagePath("transp3.gif"), "bg.gif");
    TSectionList doc;
    int expanded = 0;
    doc.OnExpandFilename = [&](TSectionList&, const std::string& name) {
        ++expanded;
        return (dir / name).string();
    };
    doc.SetBackgroundBitmap("bg.gif");
    ASSERT_TRUE(doc.GetBackgroundBitmap());
    EXPECT_EQ(doc.GetBackgroundBitmap()->Width(), 4);
    EXPECT_EQ(expanded, 1);
    doc.SetBackgroundBitmap(GifPath("im_dispose_mix.gif"));
    doc.OnExpandFilename = nullptr;
    EXPECT_FALSE(doc.GetBackgroundBitmap());  // animated: not a background
    doc.Clear();
    for (const auto& key : {doc.ImageCacheKey((dir / "bg.gif").string()),
                            doc.ImageCacheKey(GifPath("im_dispose_mix.gif"))}) {
        ASSERT_TRUE(BitmapList().Contains(key));
        EXPECT_EQ(BitmapList().Find(key)->UserCount, 0);
    }
}

TEST_F(ImageLoading, OneDecodePerNameAcrossDocumentsUntilTheCacheLetsGo) {
    const std::string path = Copy(ImagePath("rgb.png"), "shared.png");
    {
        TSectionList first, second;
        first.GetTheBitmap(path, Transparency::NotTransp);
        second.GetTheBitmap(path, Transparency::NotTransp);
        EXPECT_EQ(decodes, 1);
        EXPECT_EQ(BitmapList().Find(first.ImageCacheKey(path))->UserCount, 2);
    }  // both documents gone
    BitmapList().SetCacheCount(0);
    EXPECT_EQ(BitmapList().Count(), 0u);
    BitmapList().SetCacheCount(TStringBitmapList::kDefaultKeepCount);
    TSectionList third;
    third.GetTheBitmap(path, Transparency::NotTransp);
    EXPECT_EQ(decodes, 2);
}

// --- layout and drawing of images ---

TEST_F(ImageLoading, LayoutSizesFromAttributesAndNaturalSize) {
    TSectionList doc;
    TestCanvas canvas(200, 100);
    doc.OnBitmapRequest = [&](TSectionList&, const std::string&,
                              std::shared_ptr<const RgbaImage>& bitmap, std::int64_t&) {
        bitmap = std::make_shared<const RgbaImage>(100, 200);
    };
    auto laid_out = [&](std::initializer_list<TAttribute> extra, const TFontObj* font = nullptr,
                        int avail = 400) {
        TAttributeList attrs = Attrs({Attr(Symb::SrcSy, "p")});
        for (const auto& a : extra) attrs.Add(a);
        TImageObj img(0, attrs, nullptr);
        img.DrawLogic(doc, canvas, font, avail);
        return std::to_string(img.DrawnWidth) + "x" + std::to_string(img.DrawnHeight);
    };
    EXPECT_EQ(laid_out({}), "100x200");
    EXPECT_EQ(laid_out({Attr(Symb::HeightSy, "50")}), "25x50");
    EXPECT_EQ(laid_out({Attr(Symb::WidthSy, "50")}), "50x100");
    EXPECT_EQ(laid_out({Attr(Symb::WidthSy, "10"), Attr(Symb::HeightSy, "20")}), "10x20");
    EXPECT_EQ(laid_out({Attr(Symb::WidthSy, "50%")}, nullptr, 300), "150x200");

    TMyFont f;
    TFontObj linked(doc, 0, f);
    TUrlTarget link;
    link.Assign("x.htm", "");
    linked.SetLink(doc, link);
    EXPECT_EQ(laid_out({}, &linked), "102x202");
    EXPECT_EQ(laid_out({Attr(Symb::BorderSy, "0")}, &linked), "100x200");
}

TEST_F(ImageLoading, PlaceholdersLeaveRoomForTheAltText) {
    TSectionList doc;
    TestCanvas canvas(200, 100);  // 8 pixels a character, 16 high
    auto laid_out = [&](std::initializer_list<TAttribute> attrs) {
        TImageObj img(0, Attrs(attrs), nullptr);
        img.DrawLogic(doc, canvas, nullptr, 400);
        return std::to_string(img.DrawnWidth) + "x" + std::to_string(img.DrawnHeight);
    };
    const std::string none = (dir / "none.png").string();
    EXPECT_EQ(laid_out({Attr(Symb::SrcSy, none)}), "26x24");
    EXPECT_EQ(laid_out({Attr(Symb::SrcSy, none), Attr(Symb::AltSy, "Logo")}), "58x24");
    EXPECT_EQ(laid_out({Attr(Symb::SrcSy, none), Attr(Symb::AltSy, "Logo"),
                        Attr(Symb::WidthSy, "10"), Attr(Symb::HeightSy, "12")}),
              "10x12");
    EXPECT_EQ(canvas.Font(), FontSpec{});  // the ALT font does not stay
}

TEST_F(ImageLoading, DrawingPicturesAndPlaceholders) {
    TSectionList doc;
    TestCanvas canvas(120, 60);
    doc.OnBitmapRequest = [&](TSectionList&, const std::string&,
                              std::shared_ptr<const RgbaImage>& bitmap, std::int64_t&) {
        bitmap = std::make_shared<const RgbaImage>(2, 2, Rgba{0, 0, 255, 255});
    };
    TImageObj img(0, Attrs({Attr(Symb::SrcSy, "blue"), Attr(Symb::WidthSy, "10")}), nullptr);
    img.DrawLogic(doc, canvas, nullptr, 100);
    img.Draw(canvas, 5, 6, nullptr);
    EXPECT_EQ(canvas.Log().back(), "image 5,6,15,16 2x2");
    EXPECT_EQ(canvas.Surface().At(14, 15), (Rgba{0, 0, 255, 255}));
    EXPECT_EQ(canvas.Surface().At(15, 15), (Rgba{255, 255, 255, 255}));

    canvas.ClearLog();
    TSectionList failing;
    TImageObj missing(
        0, Attrs({Attr(Symb::SrcSy, (dir / "none.png").string()), Attr(Symb::AltSy, "two words")}),
        nullptr);
    missing.DrawLogic(failing, canvas, nullptr, 100);
    ASSERT_EQ(missing.DrawnWidth, 24 + 2 + 72);
    missing.DrawnWidth = 70;  // narrower than the text: it wraps
    missing.DrawnHeight = 40;
    missing.Draw(canvas, 0, 0, nullptr);
    const auto& log = canvas.Log();
    EXPECT_NE(std::find(log.begin(), log.end(), "fill 0,0,70,1 #808080"), log.end());
    EXPECT_NE(std::find(log.begin(), log.end(), "fill 69,0,70,40 #FFFFFF"), log.end());
    EXPECT_NE(std::find(log.begin(), log.end(), "image 4,4,20,20 16x16"), log.end());
    EXPECT_NE(std::find(log.begin(), log.end(), "text 24,2 two"), log.end());
    EXPECT_NE(std::find(log.begin(), log.end(), "text 24,18 words"), log.end());
    EXPECT_EQ(canvas.Surface().At(10, 10), (Rgba{204, 0, 0, 255}));  // the red cross
}

}  // namespace
}  // namespace quillon
