#pragma once
// The still-image decoder of the core's image loading, over QImageReader: BMP, PNG and
// JPEG (and single-frame GIFs when asked) from the bytes of a file.

#include "platform/core/still_image_decoder.h"

namespace quillon {

class QtImageDecoder : public StillImageDecoder {
  public:
    // Reads with the format the kind names (not guessed from the content again); refuses
    // pictures above kMaxImagePixels before reading their pixels.
    std::optional<RgbaImage> Decode(std::span<const std::uint8_t> bytes, ImageType kind) override;
};

// Makes QtImageDecoder the process-wide still-image decoder (replacing any other).
void RegisterQtImageDecoder();

// Registers QtImageDecoder when no decoder is registered yet; one an application set
// stays. The viewer control and the Qt host call it when they are made, so that an
// application that links the Qt layers shows PNG and JPEG pictures without a call of its
// own (a static initializer would be dropped by the linker from a static library).
void EnsureQtImageDecoder();

}  // namespace quillon
