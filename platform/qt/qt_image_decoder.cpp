#include "platform/qt/qt_image_decoder.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <QRgba64>

#include <limits>

#include "platform/qt/png_colour_key.h"
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

// The image Qt reads from the bytes in the given format; a null image when they cannot be
// read or declare more than kMaxImagePixels.
QImage ReadWithQt(std::span<const std::uint8_t> bytes, const char* format) {
    if (bytes.empty() || bytes.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
        return QImage();
    }
    // The reader works on the caller's bytes without copying them.
    const QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                                    static_cast<qsizetype>(bytes.size()));
    QBuffer buffer;
    buffer.setData(data);
    if (!buffer.open(QIODevice::ReadOnly)) return QImage();
    QImageReader reader(&buffer, format);
    reader.setDecideFormatFromContent(false);
    const QSize size = reader.size();
    if (size.isValid() &&
        std::int64_t{size.width()} * std::int64_t{size.height()} > kMaxImagePixels) {
        return QImage();
    }
    QImage image;
    if (!reader.read(&image)) return QImage();
    return image;
}

// A grey or RGB PNG with a transparent colour: read without it at 16 bits a sample, so
// that the colour is compared with the samples as the file holds them, then the pixels of
// that colour made transparent.
std::optional<RgbaImage> DecodeColourKeyedPng(const PngWithoutColourKey& png) {
    QImage image = ReadWithQt(png.bytes, "png");
    if (image.isNull()) return std::nullopt;
    image.convertTo(QImage::Format_RGBA64);
    if (image.isNull()) return std::nullopt;
    if (png.key) {
        const PngColourKey key = *png.key;
        for (int y = 0; y < image.height(); ++y) {
            auto* row = reinterpret_cast<QRgba64*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                QRgba64& pixel = row[x];
                if (pixel.red() == key.red && pixel.green() == key.green &&
                    pixel.blue() == key.blue) {
                    pixel.setAlpha(0);
                }
            }
        }
    }
    return FromQImage(image);
}

}  // namespace

std::optional<RgbaImage> QtImageDecoder::Decode(std::span<const std::uint8_t> bytes,
                                                ImageType kind) {
    const char* format = FormatOf(kind);
    if (!format) return std::nullopt;
    if (kind == ImageType::Png) {
        if (const auto keyed = SplitPngColourKey(bytes)) return DecodeColourKeyedPng(*keyed);
    }
    const QImage image = ReadWithQt(bytes, format);
    if (image.isNull()) return std::nullopt;
    return FromQImage(image);
}

void RegisterQtImageDecoder() {
    SetStillImageDecoder(std::make_unique<QtImageDecoder>());
}

void EnsureQtImageDecoder() {
    if (GetStillImageDecoder() == nullptr) RegisterQtImageDecoder();
}

}  // namespace quillon
