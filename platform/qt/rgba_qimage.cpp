#include "platform/qt/rgba_qimage.h"

#include <cstring>

namespace quillon {

QImage ToQImage(const RgbaImage& image) {
    if (image.Empty()) return QImage();
    QImage out(image.Width(), image.Height(), QImage::Format_RGBA8888);
    if (out.isNull()) return out;  // too large to allocate
    const auto row_bytes = static_cast<std::size_t>(image.Width()) * sizeof(Rgba);
    for (int y = 0; y < image.Height(); ++y) std::memcpy(out.scanLine(y), image.Row(y), row_bytes);
    return out;
}

RgbaImage FromQImage(const QImage& image) {
    if (image.isNull()) return RgbaImage();
    const QImage rgba = image.convertToFormat(QImage::Format_RGBA8888);
    if (rgba.isNull()) return RgbaImage();
    RgbaImage out(rgba.width(), rgba.height());
    const auto row_bytes = static_cast<std::size_t>(rgba.width()) * sizeof(Rgba);
    for (int y = 0; y < rgba.height(); ++y)
        std::memcpy(out.Row(y), rgba.constScanLine(y), row_bytes);
    return out;
}

}  // namespace quillon
