#pragma once
// The drawing surface of layout and drawing. Implementations: the Qt canvas (screen, PNG,
// PDF, printer) and the fixed-metric TestCanvas. Coordinates are device pixels.

#include <string>
#include <string_view>
#include <vector>

#include "platform/core/rgba_image.h"

namespace quillon {

struct Point {
    int x = 0, y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

struct FontSpec {
    std::string name = "Times New Roman";
    double size_pt = 12;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike_out = false;
    Color color = 0x000000;
    friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

struct FontMetrics {
    int height = 0;  // ascent + descent
    int ascent = 0;
    int descent = 0;
    int average_char_width = 0;
};

class Canvas {
  public:
    virtual ~Canvas() = default;

    // Text.
    virtual void SetFont(const FontSpec& font) = 0;
    virtual FontMetrics Metrics() = 0;
    virtual int TextWidth(std::u32string_view text) = 0;
    // Draws text with its baseline-independent top-left corner at (x, y).
    virtual void DrawText(int x, int y, std::u32string_view text) = 0;

    // Shapes, in the given colour.
    virtual void FillRect(const Rect& r, Color color) = 0;
    virtual void FrameRect(const Rect& r, Color color, int width = 1) = 0;
    virtual void DrawLine(Point from, Point to, Color color, int width = 1) = 0;
    virtual void FillPolygon(const std::vector<Point>& points, Color color) = 0;

    // An image stretched into dest. Its alpha decides: 0 keeps what lies under the pixel,
    // 255 replaces it, values between blend.
    virtual void DrawImage(const Rect& dest, const RgbaImage& image) = 0;

    // Clipping: drawing outside the clip rectangle has no effect until ClearClip.
    virtual void SetClip(const Rect& clip) = 0;
    virtual void ClearClip() = 0;
};

}  // namespace quillon
