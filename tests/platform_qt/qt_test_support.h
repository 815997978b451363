#pragma once
// Pixel probes for pictures drawn through the Qt canvas.

#include <QColor>
#include <QImage>
#include <QRect>

#include <gtest/gtest.h>

namespace quillon {

// Whether the pixel at (x, y) is within tolerance of the colour in every channel.
inline testing::AssertionResult Near(const QImage& image, int x, int y, QColor want,
                                     int tolerance = 24) {
    const QColor got = image.pixelColor(x, y);
    if (std::abs(got.red() - want.red()) <= tolerance &&
        std::abs(got.green() - want.green()) <= tolerance &&
        std::abs(got.blue() - want.blue()) <= tolerance) {
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure()
           << "pixel " << x << "," << y << " is " << got.name().toStdString() << ", wanted "
           << want.name().toStdString();
}

// The bounding box of the pixels darker than light grey (empty when there are none).
inline QRect InkBounds(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) < 160) box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

}  // namespace quillon
