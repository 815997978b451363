#include "platform/qt/qt_image_decoder.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>

#include <limits>

#include "platform/qt/rgba_qimage.h"

namespace quillon {

namespace {

const char* FormatOf(ImageType kind) {
    switch (kind) {
        case ImageType::Bmp:
            return "bmp";
        case ImageType::Png:
            return "png";
        case ImageType::Jpg:
            return "jpeg";
        case ImageType::Gif:
        case ImageType::Gif89:
            return "gif";
        case ImageType::NoImage:
            break;
    }
    return nullptr;
}

}  // namespace

std::optional<RgbaImage> QtImageDecoder::Decode(std::span<const std::uint8_t> bytes,
                                                ImageType kind) {
    const char* format = FormatOf(kind);
    if (!format || bytes.empty() ||
        bytes.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
        return std::nullopt;
    }
    // The reader works on the caller's bytes without copying them.
    const QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                                    static_cast<qsizetype>(bytes.size()));
    QBuffer buffer;
    buffer.setData(data);
    if (!buffer.open(QIODevice::ReadOnly)) return std::nullopt;
    QImageReader reader(&buffer, format);
    reader.setDecideFormatFromContent(false);
    const QSize size = reader.size();
    if (size.isValid() &&
        std::int64_t{size.width()} * std::int64_t{size.height()} > kMaxImagePixels) {
        return std::nullopt;
    }
    QImage image;
    if (!reader.read(&image) || image.isNull()) return std::nullopt;
    return FromQImage(image);
}

void RegisterQtImageDecoder() {
    SetStillImageDecoder(std::make_unique<QtImageDecoder>());
}

void EnsureQtImageDecoder() {
    if (GetStillImageDecoder() == nullptr) RegisterQtImageDecoder();
}

}  // namespace quillon
