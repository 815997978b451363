#include "html/image/gif_create.h"

namespace quillon {

namespace {

template <typename InfoLoad, typename FullLoad>
std::unique_ptr<TGIFImage> Create(bool& non_animated, InfoLoad info_load, FullLoad full_load,
                                  const std::function<void()>& on_load_failure) {
    non_animated = true;
    auto image = std::make_unique<TGIFImage>();
    if (!info_load(*image) || !image->Animated()) return nullptr;
    image->SetAnimate(false);
    image->SetVisible(false);
    non_animated = false;
    if (full_load(*image)) return image;
    image.reset();
    if (on_load_failure) on_load_failure();
    return nullptr;
}

}  // namespace

std::unique_ptr<TGIFImage> CreateAGif(const std::string& path, bool& non_animated,
                                      const std::function<void()>& on_load_failure) {
    return Create(
        non_animated, [&](TGIFImage& image) { return image.LoadInfoFromFile(path); },
        [&](TGIFImage& image) { return image.LoadFromFile(path); }, on_load_failure);
}

std::unique_ptr<TGIFImage> CreateAGifFromStream(bool& non_animated,
                                                std::span<const std::uint8_t> data,
                                                const std::function<void()>& on_load_failure) {
    return Create(
        non_animated, [&](TGIFImage& image) { return image.LoadInfoFromStream(data); },
        [&](TGIFImage& image) { return image.LoadFromStream(data); }, on_load_failure);
}

}  // namespace quillon
