#pragma once
// The shared pictures that stand in for images: the error bitmap (an image that cannot be
// found or decoded) and the default bitmap (images are not shown). Both are 16 x 16 with
// their surroundings transparent, and leave room for ALT text from 24 pixels on.

#include <memory>

#include "platform/core/rgba_image.h"

namespace quillon {

const std::shared_ptr<const RgbaImage>& ErrorBitmap();
const std::shared_ptr<const RgbaImage>& DefaultBitmap();

}  // namespace quillon
