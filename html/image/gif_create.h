#pragma once
// Offers a GIF to the animation decoder: animated GIFs come back as a TGIFImage, anything
// else (not a GIF, unreadable, a single frame) comes back as null so that the caller loads
// it as a still image.

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "html/image/gif_image.h"

namespace quillon {

// non_animated is true unless an animated image is returned. A GIF whose structure says
// animated but whose full load fails gives null after on_load_failure (the image cache
// purges itself there) has run.
std::unique_ptr<TGIFImage> CreateAGif(const std::string& path, bool& non_animated,
                                      const std::function<void()>& on_load_failure = {});
std::unique_ptr<TGIFImage> CreateAGifFromStream(bool& non_animated,
                                                std::span<const std::uint8_t> data,
                                                const std::function<void()>& on_load_failure = {});

}  // namespace quillon
