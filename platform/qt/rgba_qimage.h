#pragma once
// Conversion between the core's RGBA pixel buffers and QImage (straight alpha both ways).

#include <QImage>

#include "platform/core/rgba_image.h"

namespace quillon {

// Rows of Rgba are read as QImage::Format_RGBA8888 bytes.
static_assert(sizeof(Rgba) == 4 && alignof(Rgba) == 1);

QImage ToQImage(const RgbaImage& image);
// Any QImage format; a null image gives an empty RgbaImage.
RgbaImage FromQImage(const QImage& image);

}  // namespace quillon
