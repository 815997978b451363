// Feeds arbitrary bytes to image loading: kind detection, header sizes, the GIF
// transparency test, decoding with masks, and a document loading, laying out and drawing
// the bytes as an image through the cache (twice: decoded, then from the cache). Still
// images go to a stand-in decoder that aborts when it is handed a file whose declared size
// should have been refused. Nothing may crash, hang or allocate beyond the limits.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "html/image/image_cache.h"
#include "html/image/image_decode.h"
#include "html/image/image_kind.h"
#include "html/layout/image_obj.h"
#include "html/layout/section_list.h"
#include "platform/core/still_image_decoder.h"
#include "platform/core/test_canvas.h"

namespace {

class CheckingDecoder : public quillon::StillImageDecoder {
  public:
    std::optional<quillon::RgbaImage> Decode(std::span<const std::uint8_t> bytes,
                                             quillon::ImageType kind) override {
        if (!quillon::DeclaredSizeAcceptable(bytes, kind)) std::abort();
        return quillon::RgbaImage(2, 2, quillon::Rgba{1, 2, 3, 255});
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool registered = [] {
        quillon::SetStillImageDecoder(std::make_unique<CheckingDecoder>());
        return true;
    }();
    (void)registered;
    const std::span<const std::uint8_t> bytes(data, size);
    const quillon::ImageType kind = quillon::KindOfImage(bytes);
    (void)quillon::DeclaredImageSize(bytes, kind);
    (void)quillon::IsTransparent(bytes);
    (void)quillon::GetImageAndMaskFromStream(bytes, quillon::Transparency::LLCorner);

    quillon::TestCanvas canvas(64, 64);
    {
        quillon::TSectionList doc(canvas);
        const std::string served(reinterpret_cast<const char*>(data), size);
        doc.OnImageRequest = [&](quillon::TSectionList&, const std::string&, std::string& out) {
            out = served;
        };
        for (const char* name : {"img", " IMG "}) {
            quillon::TAttributeList attrs;
            quillon::TAttribute src;
            src.Sym = quillon::Symb::SrcSy;
            src.Text = U"img";
            attrs.Add(src);
            quillon::TAttribute transp;
            transp.Sym = quillon::Symb::TranspSy;
            attrs.Add(transp);
            quillon::TImageObj image(0, attrs, nullptr);
            image.SourceName = name;
            image.DrawLogic(doc, canvas, nullptr, 64);
            image.DrawnWidth = std::min(image.DrawnWidth, 256);
            image.DrawnHeight = std::min(image.DrawnHeight, 256);
            image.Draw(canvas, 0, 0, nullptr);
        }
        doc.Clear();
    }
    quillon::BitmapList().PurgeCache();
    if (quillon::BitmapList().Count() != 0) std::abort();
    return 0;
}
