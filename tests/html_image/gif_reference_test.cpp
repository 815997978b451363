// Every frame Quillon composes is compared with giflib's decoding of the same file,
// composed here by the GIF89a rules, and with ImageMagick's coalesced frames.

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <optional>

#include "html/image/gif_image.h"
#include "tests/html_image/gif_test_support.h"

namespace quillon {
namespace {

using gif_test::Bytes;
using gif_test::DataPath;
using gif_test::ReadFile;

const char* const kFixtures[] = {"pil_disposals.gif", "pil_interlaced.gif", "pil_local_tables.gif",
                                 "pil_single.gif",    "im_dispose_mix.gif", "im_interlaced.gif",
                                 "im_overhang.gif"};

struct MemoryInput {
    const Bytes* data;
    std::size_t pos = 0;
};

int ReadMemory(GifFileType* gif, GifByteType* dest, int n) {
    auto* in = static_cast<MemoryInput*>(gif->UserData);
    const std::size_t count =
        std::min<std::size_t>(static_cast<std::size_t>(n), in->data->size() - in->pos);
    std::memcpy(dest, in->data->data() + in->pos, count);
    in->pos += count;
    return static_cast<int>(count);
}

// giflib's frames composed by the GIF89a rules: a frame's transparent pixels keep the
// picture, disposal 2 (and the undefined 4-7) clears the frame's area to the background,
// disposal 3 restores what lay under the frame. The picture covers the logical screen and
// every frame; its background is transparent when any frame is, opaque black otherwise.
std::optional<std::vector<RgbaImage>> GiflibComposed(const Bytes& data) {
    MemoryInput input{&data};
    int error = 0;
    GifFileType* gif = DGifOpen(&input, ReadMemory, &error);
    if (!gif) return std::nullopt;
    if (DGifSlurp(gif) != GIF_OK) {
        DGifCloseFile(gif, &error);
        return std::nullopt;
    }
    int width = gif->SWidth, height = gif->SHeight;
    bool transparent = false;
    std::vector<GraphicsControlBlock> controls(static_cast<std::size_t>(gif->ImageCount));
    for (int i = 0; i < gif->ImageCount; ++i) {
        const GifImageDesc& d = gif->SavedImages[i].ImageDesc;
        width = std::max(width, d.Left + d.Width);
        height = std::max(height, d.Top + d.Height);
        GraphicsControlBlock& gcb = controls[static_cast<std::size_t>(i)];
        gcb = GraphicsControlBlock{0, false, 0, NO_TRANSPARENT_COLOR};
        DGifSavedExtensionToGCB(gif, i, &gcb);
        transparent = transparent || gcb.TransparentColor != NO_TRANSPARENT_COLOR;
    }
    const Rgba background = transparent ? Rgba{0, 0, 0, 0} : Rgba{0, 0, 0, 255};
    RgbaImage canvas(width, height, background);
    std::vector<RgbaImage> frames;
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage& image = gif->SavedImages[i];
        const GifImageDesc& d = image.ImageDesc;
        const ColorMapObject* map = d.ColorMap ? d.ColorMap : gif->SColorMap;
        const GraphicsControlBlock& gcb = controls[static_cast<std::size_t>(i)];
        const RgbaImage before = canvas;
        for (int y = 0; y < d.Height; ++y) {
            for (int x = 0; x < d.Width; ++x) {
                const int index = image.RasterBits[y * d.Width + x];
                if (index == gcb.TransparentColor) continue;
                Rgba c{0, 0, 0, 255};
                if (map && index < map->ColorCount) {
                    c = Rgba{map->Colors[index].Red, map->Colors[index].Green,
                             map->Colors[index].Blue, 255};
                }
                canvas.At(d.Left + x, d.Top + y) = c;
            }
        }
        frames.push_back(canvas);
        if (gcb.DisposalMode == 3) {
            canvas = before;
        } else if (gcb.DisposalMode >= 2) {
            for (int y = d.Top; y < d.Top + d.Height; ++y) {
                for (int x = d.Left; x < d.Left + d.Width; ++x) canvas.At(x, y) = background;
            }
        }
    }
    DGifCloseFile(gif, &error);
    return frames;
}

std::string FirstDifference(const RgbaImage& a, const RgbaImage& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) {
        return "size " + std::to_string(a.Width()) + "x" + std::to_string(a.Height()) + " vs " +
               std::to_string(b.Width()) + "x" + std::to_string(b.Height());
    }
    for (int y = 0; y < a.Height(); ++y) {
        for (int x = 0; x < a.Width(); ++x) {
            const Rgba p = a.At(x, y), q = b.At(x, y);
            if (!(p == q)) {
                return "pixel " + std::to_string(x) + "," + std::to_string(y) + ": " +
                       std::to_string(p.r) + " " + std::to_string(p.g) + " " + std::to_string(p.b) +
                       " " + std::to_string(p.a) + " vs " + std::to_string(q.r) + " " +
                       std::to_string(q.g) + " " + std::to_string(q.b) + " " + std::to_string(q.a);
            }
        }
    }
    return {};
}

TEST(GifReference, EveryComposedFrameMatchesGiflibComposedByTheGifRules) {
    for (const char* name : kFixtures) {
        SCOPED_TRACE(name);
        const Bytes data = ReadFile(DataPath(name));
        ASSERT_FALSE(data.empty());
        const auto reference = GiflibComposed(data);
        ASSERT_TRUE(reference.has_value());
        TGIFImage image;
        ASSERT_TRUE(image.LoadFromStream(data));
        ASSERT_EQ(image.FrameCount(), static_cast<int>(reference->size()));
        for (int i = 1; i <= image.FrameCount(); ++i) {
            image.SetCurrentFrame(i);
            EXPECT_EQ(
                FirstDifference(image.Picture(), (*reference)[static_cast<std::size_t>(i - 1)]), "")
                << "frame " << i;
        }
    }
}

int WriteMemory(GifFileType* gif, const GifByteType* data, int n) {
    static_cast<Bytes*>(gif->UserData)
        ->insert(static_cast<Bytes*>(gif->UserData)->end(), data, data + n);
    return n;
}

// giflib's encoder on noise and gradients of 2 to 256 colours: code tables fill up and are
// cleared many times, codes reach 12 bits.
Bytes GiflibEncoded(int bits, int width, int height, int frames, std::uint32_t seed) {
    Bytes out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, WriteMemory, &error);
    std::vector<GifColorType> colours;
    for (int i = 0; i < (1 << bits); ++i) {
        colours.push_back(GifColorType{static_cast<GifByteType>(i * 37),
                                       static_cast<GifByteType>(i),
                                       static_cast<GifByteType>(255 - i)});
    }
    ColorMapObject* map = GifMakeMapObject(1 << bits, colours.data());
    EGifSetGifVersion(gif, true);
    EGifPutScreenDesc(gif, width, height, bits, 0, map);
    std::uint32_t state = seed;
    for (int f = 0; f < frames; ++f) {
        const int left = f * 3 % (width / 2), top = f * 5 % (height / 2);
        const int w = width - left, h = height - top;
        GraphicsControlBlock gcb{f % 4, false, 1, f % 2 ? f % (1 << bits) : NO_TRANSPARENT_COLOR};
        GifByteType ext[4];
        EGifGCBToExtension(&gcb, ext);
        EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, ext);
        EGifPutImageDesc(gif, left, top, w, h, f % 3 == 2, nullptr);
        std::vector<GifPixelType> line(static_cast<std::size_t>(w));
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                state = state * 1664525u + 1013904223u;
                const int noise = static_cast<int>(state >> 29);
                line[static_cast<std::size_t>(x)] =
                    static_cast<GifPixelType>(((x / 7 + y / 5) * (f + 1) + noise) % (1 << bits));
            }
            EGifPutLine(gif, line.data(), w);
        }
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return out;
}

TEST(GifReference, GiflibEncodedFilesDecodeAlike) {
    for (int bits : {1, 2, 5, 8}) {
        SCOPED_TRACE(bits);
        const Bytes data = GiflibEncoded(bits, 157, 93, 6, 77u + bits);
        const auto reference = GiflibComposed(data);
        ASSERT_TRUE(reference.has_value());
        TGIFImage image;
        ASSERT_TRUE(image.LoadFromStream(data));
        ASSERT_EQ(image.FrameCount(), 6);
        for (int i = 1; i <= image.FrameCount(); ++i) {
            image.SetCurrentFrame(i);
            EXPECT_EQ(
                FirstDifference(image.Picture(), (*reference)[static_cast<std::size_t>(i - 1)]), "")
                << "frame " << i;
        }
    }
}

TEST(GifReference, FramesMatchImageMagickCoalesced) {
    int compared = 0;
    for (const char* name : kFixtures) {
        SCOPED_TRACE(name);
        const Bytes data = ReadFile(DataPath(name));
        std::string rgba_name(name);
        rgba_name.replace(rgba_name.size() - 4, 4, ".coalesced.rgba");
        const Bytes coalesced = ReadFile(DataPath(rgba_name));
        TGIFImage image;
        ASSERT_TRUE(image.LoadFromStream(data));
        if (image.FrameCount() < 2) continue;
        const int sw = data[6] | (data[7] << 8), sh = data[8] | (data[9] << 8);
        const std::size_t frame_bytes = static_cast<std::size_t>(sw) * sh * 4;
        ASSERT_EQ(coalesced.size(), frame_bytes * static_cast<std::size_t>(image.FrameCount()));
        for (int i = 1; i <= image.FrameCount(); ++i) {
            image.SetCurrentFrame(i);
            const std::uint8_t* ref =
                coalesced.data() + frame_bytes * static_cast<std::size_t>(i - 1);
            for (int y = 0; y < sh; ++y) {
                for (int x = 0; x < sw; ++x) {
                    const std::uint8_t* p = ref + (static_cast<std::size_t>(y) * sw + x) * 4;
                    const Rgba ours = image.Picture().At(x, y);
                    if (p[3] == 0) {
                        // ImageMagick's empty canvas and background disposal are
                        // transparent; ours are the picture's background.
                        ASSERT_TRUE(ours.a == 0 ||
                                    (!image.Transparent() && ours == (Rgba{0, 0, 0, 255})))
                            << "frame " << i << " at " << x << "," << y;
                    } else {
                        ASSERT_EQ(ours, (Rgba{p[0], p[1], p[2], p[3]}))
                            << "frame " << i << " at " << x << "," << y;
                    }
                }
            }
            ++compared;
        }
    }
    EXPECT_GT(compared, 15);
}

TEST(GifReference, FixturesCarryTheFeaturesTheyAreMadeFor) {
    TGIFImage image;
    ASSERT_TRUE(image.LoadFromFile(DataPath("pil_disposals.gif")));
    EXPECT_TRUE(image.Transparent());
    EXPECT_EQ(image.LoopCount(), 2);
    std::vector<TDisposalType> disposals;
    for (int i = 1; i <= image.FrameCount(); ++i) disposals.push_back(image.Frame(i).disposal);
    EXPECT_EQ(disposals,
              (std::vector<TDisposalType>{TDisposalType::dtDoNothing, TDisposalType::dtToBackground,
                                          TDisposalType::dtToPrevious, TDisposalType::dtUndefined,
                                          TDisposalType::dtDoNothing}));
    EXPECT_EQ(image.Frame(2).delay, 40);
    EXPECT_EQ(image.Frame(2).left, 2);
    EXPECT_EQ(image.Frame(2).width, 5);

    ASSERT_TRUE(image.LoadFromFile(DataPath("im_interlaced.gif")));
    EXPECT_TRUE(image.Frame(1).interlaced);
    EXPECT_EQ(image.LoopCount(), 0);
    ASSERT_TRUE(image.LoadFromFile(DataPath("pil_local_tables.gif")));
    EXPECT_TRUE(image.Frame(2).has_local_palette);
    EXPECT_FALSE(image.Transparent());
    ASSERT_TRUE(image.LoadFromFile(DataPath("im_overhang.gif")));
    EXPECT_EQ(image.Width(), 14);  // the logical screen is 10 x 8; frame 2 reaches 14 x 11
    EXPECT_EQ(image.Height(), 11);
    ASSERT_TRUE(image.LoadFromFile(DataPath("im_dispose_mix.gif")));
    EXPECT_EQ(image.LoopCount(), 2);  // ImageMagick stores "-loop 3" as 2
    EXPECT_EQ(image.Frame(5).delay, 70);
}

}  // namespace
}  // namespace quillon
