#include "html/image/image_decode.h"

#include <filesystem>
#include <fstream>

#include "html/image/bmp16_decode.h"
#include "html/image/gif_image.h"
#include "html/image/image_kind.h"
#include "html/image/image_mask.h"
#include "platform/core/still_image_decoder.h"

namespace quillon {

namespace {

std::optional<RgbaImage> DecodeGif(std::span<const std::uint8_t> bytes) {
    TGIFImage gif;
    if (!gif.LoadFromStream(bytes) || gif.FrameCount() == 0 || gif.Picture().Empty()) {
        return std::nullopt;
    }
    return gif.Picture();
}

std::optional<TImageAndMask> ImageAndMask(std::span<const std::uint8_t> bytes,
                                          Transparency requested, bool gif_test) {
    std::optional<Color> gif_colour;
    if (gif_test) gif_colour = IsTransparent(bytes);
    auto image = GetImageFromStream(bytes);
    if (!image) return std::nullopt;
    TImageAndMask result;
    if (gif_colour) {
        MaskColour(*image, *gif_colour);
        result.transp = Transparency::TGif;
    } else if (requested == Transparency::LLCorner) {
        if (!MaskLowerLeft(*image)) return std::nullopt;
        result.transp = Transparency::LLCorner;
    } else if (requested == Transparency::TGif) {
        // A GIF colour was asked for but the file names none: no mask, so no image.
        return std::nullopt;
    }
    result.image = std::move(*image);
    return result;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> ReadImageFile(const std::string& path) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec || size > kMaxImageFileBytes) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

std::optional<RgbaImage> GetImageFromStream(std::span<const std::uint8_t> bytes) {
    const ImageType kind = KindOfImage(bytes);
    if (kind == ImageType::NoImage || !DeclaredSizeAcceptable(bytes, kind)) return std::nullopt;
    if (kind == ImageType::Gif || kind == ImageType::Gif89) return DecodeGif(bytes);
    // 16-bit BMPs are decoded here: the still decoder widens their channels too dark.
    if (kind == ImageType::Bmp && IsBmp16(bytes)) return DecodeBmp16(bytes);
    StillImageDecoder* decoder = GetStillImageDecoder();
    if (!decoder) return std::nullopt;
    auto image = decoder->Decode(bytes, kind);
    if (!image || image->Empty() ||
        std::int64_t{image->Width()} * image->Height() > kMaxImagePixels) {
        return std::nullopt;
    }
    return image;
}

std::optional<RgbaImage> GetImageFromFile(const std::string& path) {
    const auto bytes = ReadImageFile(path);
    if (!bytes) return std::nullopt;
    return GetImageFromStream(*bytes);
}

std::optional<TImageAndMask> GetImageAndMaskFromStream(std::span<const std::uint8_t> bytes,
                                                       Transparency requested) {
    return ImageAndMask(bytes, requested, true);
}

std::optional<TImageAndMask> GetImageAndMaskFromFile(const std::string& path,
                                                     Transparency requested) {
    const auto bytes = ReadImageFile(path);
    if (!bytes) return std::nullopt;
    return ImageAndMask(*bytes, requested, HasGifExtension(path));
}

bool HasGifExtension(const std::string& path) {
    if (path.size() < 4) return false;
    const std::string_view ext = std::string_view(path).substr(path.size() - 4);
    return ext[0] == '.' && (ext[1] | 0x20) == 'g' && (ext[2] | 0x20) == 'i' &&
           (ext[3] | 0x20) == 'f';
}

}  // namespace quillon
