#pragma once
// Decoding of still images (BMP, PNG, JPEG and, when asked, single-frame GIFs) through a
// decoder the application registers: the Qt one in platform/qt. The core layers stay free
// of any toolkit; without a registered decoder only GIFs decode (through the GIF decoder).

#include <cstdint>
#include <memory>
#include <optional>
#include <span>

#include "platform/core/image_types.h"
#include "platform/core/rgba_image.h"

namespace quillon {

class StillImageDecoder {
  public:
    virtual ~StillImageDecoder() = default;
    // The picture of a whole image file of the given kind, transparency as alpha; nullopt
    // when the data cannot be decoded. Called only for files whose declared size passed
    // DeclaredSizeAcceptable.
    virtual std::optional<RgbaImage> Decode(std::span<const std::uint8_t> bytes,
                                            ImageType kind) = 0;
};

// The process-wide decoder (replaces the one before; null removes it).
void SetStillImageDecoder(std::unique_ptr<StillImageDecoder> decoder);
StillImageDecoder* GetStillImageDecoder();

}  // namespace quillon
