// Decode throughput of Quillon's GIF decoder beside giflib's DGifSlurp on the same files:
// a photo-like 1920 x 1080 still with 256 colours and a 200-frame animation. The files are
// written at start with giflib's encoder. Figures: bytes_per_second of the file's data.
//   build/bench/bench_gif

#include <benchmark/benchmark.h>
#include <gif_lib.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <stdexcept>
#include <vector>

#include "html/image/gif_image.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

int WriteMemory(GifFileType* gif, const GifByteType* data, int n) {
    auto* out = static_cast<Bytes*>(gif->UserData);
    out->insert(out->end(), data, data + n);
    return n;
}

struct FrameSpec {
    int left, top, width, height, disposal, delay;
    std::vector<GifPixelType> pixels;
};

Bytes Encode(int width, int height, const std::vector<FrameSpec>& frames) {
    Bytes out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, WriteMemory, &error);
    if (!gif) throw std::runtime_error("EGifOpen");
    GifColorType colours[256];
    for (int i = 0; i < 256; ++i) {
        // 8 reds x 8 greens x 4 blues.
        colours[i] = GifColorType{static_cast<GifByteType>((i >> 5) * 255 / 7),
                                  static_cast<GifByteType>(((i >> 2) & 7) * 255 / 7),
                                  static_cast<GifByteType>((i & 3) * 255 / 3)};
    }
    ColorMapObject* map = GifMakeMapObject(256, colours);
    EGifSetGifVersion(gif, true);
    EGifPutScreenDesc(gif, width, height, 8, 0, map);
    if (frames.size() > 1) {
        const unsigned char netscape[] = "NETSCAPE2.0";
        const unsigned char loop[] = {1, 0, 0};
        EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE);
        EGifPutExtensionBlock(gif, 11, netscape);
        EGifPutExtensionBlock(gif, 3, loop);
        EGifPutExtensionTrailer(gif);
    }
    for (const FrameSpec& f : frames) {
        GraphicsControlBlock gcb{f.disposal, false, f.delay, 0};
        GifByteType ext[4];
        EGifGCBToExtension(&gcb, ext);
        EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, ext);
        EGifPutImageDesc(gif, f.left, f.top, f.width, f.height, false, nullptr);
        for (int y = 0; y < f.height; ++y) {
            EGifPutLine(gif, const_cast<GifPixelType*>(f.pixels.data()) + y * f.width, f.width);
        }
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return out;
}

// Smooth gradients with dithering noise, like a quantised photograph.
std::vector<GifPixelType> PhotoPixels(int width, int height, int phase, std::mt19937& random) {
    std::vector<GifPixelType> pixels(static_cast<std::size_t>(width) * height);
    std::uniform_int_distribution<int> noise(-1, 1);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double u = x / double(width), v = y / double(height);
            const int r = std::clamp(
                int(3.5 + 3.5 * std::sin(6 * u + phase * 0.1 + v)) + noise(random), 0, 7);
            const int g =
                std::clamp(int(3.5 + 3.5 * std::cos(5 * v - u * 2)) + noise(random), 0, 7);
            const int b = std::clamp(int(1.5 + 1.5 * std::sin(9 * (u + v))) + noise(random), 0, 3);
            pixels[static_cast<std::size_t>(y) * width + x] =
                static_cast<GifPixelType>((r << 5) | (g << 2) | b);
        }
    }
    return pixels;
}

const Bytes& Photo() {
    static const Bytes data = [] {
        std::mt19937 random(1);
        return Encode(1920, 1080, {{0, 0, 1920, 1080, 0, 0, PhotoPixels(1920, 1080, 0, random)}});
    }();
    return data;
}

// 200 frames on 320 x 240: a full first frame, then moving 120 x 90 patches with every
// disposal method.
const Bytes& Animation() {
    static const Bytes data = [] {
        std::mt19937 random(2);
        std::vector<FrameSpec> frames;
        frames.push_back({0, 0, 320, 240, 1, 4, PhotoPixels(320, 240, 0, random)});
        for (int i = 1; i < 200; ++i) {
            frames.push_back({(i * 7) % 200, (i * 5) % 150, 120, 90, 1 + i % 3, 4,
                              PhotoPixels(120, 90, i, random)});
        }
        return Encode(320, 240, frames);
    }();
    return data;
}

int ReadMemory(GifFileType* gif, GifByteType* dest, int n) {
    auto* in = static_cast<std::pair<const Bytes*, std::size_t>*>(gif->UserData);
    const std::size_t count =
        std::min<std::size_t>(static_cast<std::size_t>(n), in->first->size() - in->second);
    std::memcpy(dest, in->first->data() + in->second, count);
    in->second += count;
    return static_cast<int>(count);
}

void Giflib(benchmark::State& state, const Bytes& data) {
    for (auto _ : state) {
        std::pair<const Bytes*, std::size_t> input{&data, 0};
        int error = 0;
        GifFileType* gif = DGifOpen(&input, ReadMemory, &error);
        if (!gif || DGifSlurp(gif) != GIF_OK) state.SkipWithError("giflib failed");
        benchmark::DoNotOptimize(gif->SavedImages);
        DGifCloseFile(gif, &error);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * data.size()));
}

void Quillon(benchmark::State& state, const Bytes& data) {
    for (auto _ : state) {
        quillon::TGIFImage image;
        if (!image.LoadFromStream(data)) state.SkipWithError("Quillon failed");
        benchmark::DoNotOptimize(image.Picture().Pixels().data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * data.size()));
}

void BM_Giflib_Photo(benchmark::State& state) {
    Giflib(state, Photo());
}
void BM_Quillon_Photo(benchmark::State& state) {
    Quillon(state, Photo());
}
void BM_Giflib_Animation(benchmark::State& state) {
    Giflib(state, Animation());
}
void BM_Quillon_Animation(benchmark::State& state) {
    Quillon(state, Animation());
}

// Showing every frame of the animation in turn (composition with disposal).
void BM_Quillon_AnimationAllFrames(benchmark::State& state) {
    quillon::TGIFImage image;
    image.LoadFromStream(Animation());
    for (auto _ : state) {
        for (int i = 1; i <= image.FrameCount(); ++i) image.SetCurrentFrame(i);
        benchmark::DoNotOptimize(image.Picture().Pixels().data());
    }
    state.SetItemsProcessed(state.iterations() * image.FrameCount());
}

BENCHMARK(BM_Giflib_Photo)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Quillon_Photo)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Giflib_Animation)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Quillon_Animation)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Quillon_AnimationAllFrames)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
