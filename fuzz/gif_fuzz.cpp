// Feeds arbitrary bytes to the GIF decoder the way a document does: structure first, then
// the full load, frames chosen, a few timer ticks, a draw, the first frame's bitmaps and a
// copy.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "html/image/gif_create.h"
#include "html/image/gif_image.h"
#include "platform/core/test_canvas.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quillon;
    const std::span<const std::uint8_t> bytes(data, size);
    bool non_animated = true;
    std::int64_t now = 0;
    auto image = CreateAGifFromStream(non_animated, bytes);
    if (!image) {
        image = std::make_unique<TGIFImage>();
        if (!image->LoadFromStream(bytes)) return 0;
    }
    image->SetClock([&now] { return now; });
    for (int i = 2; i <= image->FrameCount() && i <= 8; ++i) image->SetCurrentFrame(i);
    image->SetVisible(true);
    image->SetAnimate(true);
    for (int tick = 0; tick < 8; ++tick) {
        now += 250;
        image->CheckTime([](const Rect&) {});
    }
    TestCanvas canvas(16, 16);
    image->Draw(canvas, 2, 3, 11, 7);
    image->GetMaskedBitmap();
    image->GetMask();
    TGIFImage copy(*image);
    copy.SetCurrentFrame(copy.FrameCount());
    image->ClearAll();
    return 0;
}
