// The document's image loader: the process-wide cache first, then the viewer's request
// callbacks, else files; and the background image.

#include <filesystem>
#include <span>

#include "html/image/gif_create.h"
#include "html/image/image_cache.h"
#include "html/image/image_decode.h"
#include "html/image/image_kind.h"
#include "html/image/image_mask.h"
#include "html/layout/section_list.h"
#include "platform/core/text_encoding.h"

namespace quillon {

namespace {

std::span<const std::uint8_t> Bytes(std::string_view s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

void PurgeAfterFailedGif() {
    BitmapList().PurgeCache();
}

// A cache entry from an image file's bytes: an animated GIF, or a still picture with its
// transparency. nullopt when nothing can be decoded.
std::optional<TBitmapItem> DecodeEntry(std::span<const std::uint8_t> bytes, bool gif_test,
                                       Transparency requested) {
    TBitmapItem item;
    const ImageType kind = KindOfImage(bytes);
    if (kind == ImageType::Gif || kind == ImageType::Gif89) {
        bool non_animated = true;
        if (auto gif = CreateAGifFromStream(non_animated, bytes, PurgeAfterFailedGif)) {
            item.Gif = std::move(gif);
            return item;
        }
        if (!non_animated) return std::nullopt;  // animated, but the full load failed
    }
    // Only streams and files named ".gif" are tested for a GIF's transparent colour.
    std::optional<TImageAndMask> still;
    if (gif_test) {
        still = GetImageAndMaskFromStream(bytes, requested);
    } else if (auto image = GetImageFromStream(bytes)) {
        still = TImageAndMask{std::move(*image), Transparency::NotTransp};
        if (requested == Transparency::LLCorner && MaskLowerLeft(still->image)) {
            still->transp = Transparency::LLCorner;
        }
    }
    if (!still) return std::nullopt;
    item.TranspKind = still->transp;
    item.Picture = std::make_shared<const RgbaImage>(std::move(still->image));
    if (item.TranspKind == Transparency::LLCorner) item.LowerLeftMasked = item.Picture;
    return item;
}

TLoadedImage FromEntry(TBitmapItem& item, Transparency requested) {
    TLoadedImage r;
    if (item.Gif) {
        r.Gif = item.Gif;
        return r;
    }
    r.Bitmap = item.Picture;
    if (item.TranspKind == Transparency::TGif) {
        r.Transp = Transparency::TGif;
    } else if (requested == Transparency::LLCorner) {
        if (!item.LowerLeftMasked) {
            auto masked = std::make_shared<RgbaImage>(*item.Picture);
            MaskLowerLeft(*masked);
            item.LowerLeftMasked = std::move(masked);
        }
        r.Bitmap = item.LowerLeftMasked;
        r.Transp = Transparency::LLCorner;
    }
    return r;
}

}  // namespace

std::string TSectionList::ImageCacheKey(std::string_view name) const {
    const std::string_view trimmed = text::Trim(name);
    if (OnBitmapRequest || OnImageRequest) return "request:" + text::AsciiUpperCase(trimmed);
    std::error_code ec;
    std::filesystem::path path(trimmed);
    auto canonical = std::filesystem::weakly_canonical(path, ec);
    if (ec) canonical = std::filesystem::absolute(path, ec);
    if (ec) canonical = path;
    return "file:" + canonical.lexically_normal().string();
}

std::optional<TLoadedImage> TSectionList::GetTheBitmap(std::string_view name,
                                                       Transparency requested) {
    const std::string trimmed(text::Trim(name));
    if (trimmed.empty()) return std::nullopt;
    TStringBitmapList& cache = BitmapList();
    std::string key = ImageCacheKey(trimmed);

    if (TBitmapItem* cached = cache.GetImage(key)) {
        image_uses_.push_back(key);
        TLoadedImage r = FromEntry(*cached, requested);
        r.FromCache = true;
        return r;
    }

    std::optional<TBitmapItem> item;
    if (OnBitmapRequest) {
        std::shared_ptr<const RgbaImage> bitmap;
        std::int64_t colour = -1;
        OnBitmapRequest(*this, trimmed, bitmap, colour);
        if (!bitmap || bitmap->Empty()) return std::nullopt;
        item.emplace();
        if (colour != -1) {
            auto masked = std::make_shared<RgbaImage>(*bitmap);
            MaskColour(*masked, static_cast<Color>(colour) & 0xFFFFFF);
            bitmap = std::move(masked);
            item->TranspKind = Transparency::TGif;
        }
        item->Picture = std::move(bitmap);
    } else if (OnImageRequest) {
        std::string bytes;
        OnImageRequest(*this, trimmed, bytes);
        if (bytes.empty()) return std::nullopt;
        item = DecodeEntry(Bytes(bytes), true, requested);
    } else {
        const auto bytes = ReadImageFile(key.substr(5));  // after "file:"
        if (!bytes) return std::nullopt;
        item = DecodeEntry(*bytes, HasGifExtension(trimmed), requested);
    }
    if (!item) return std::nullopt;

    TBitmapItem& stored = cache.AddObject(key, std::move(*item));
    image_uses_.push_back(std::move(key));
    return FromEntry(stored, requested);
}

const std::shared_ptr<const RgbaImage>& TSectionList::GetBackgroundBitmap() {
    if (!ImagesShown || back_image_name_.empty() || BackImageTried) return BackImage;
    BackImageTried = true;
    std::string name = back_image_name_;
    if (!OnBitmapRequest && !OnImageRequest && OnExpandFilename) {
        name = OnExpandFilename(*this, name);
    }
    if (auto loaded = GetTheBitmap(name, Transparency::NotTransp); loaded && loaded->Bitmap) {
        BackImage = loaded->Bitmap;
    }
    return BackImage;
}

}  // namespace quillon
