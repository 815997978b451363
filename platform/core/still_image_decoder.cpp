#include "platform/core/still_image_decoder.h"

namespace quillon {

namespace {

std::unique_ptr<StillImageDecoder>& Registered() {
    static std::unique_ptr<StillImageDecoder> decoder;
    return decoder;
}

}  // namespace

void SetStillImageDecoder(std::unique_ptr<StillImageDecoder> decoder) {
    Registered() = std::move(decoder);
}

StillImageDecoder* GetStillImageDecoder() {
    return Registered().get();
}

}  // namespace quillon
