#include "platform/core/test_canvas.h"

#include <algorithm>
#include <cstdio>

#include "platform/core/text_encoding.h"

namespace quillon {

namespace {

std::string RectText(const Rect& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

std::string ColorText(Color c) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%06X", static_cast<unsigned>(c & 0xFFFFFF));
    return buf;
}

Rgba Blend(Rgba under, Rgba over) {
    if (over.a == 255) return over;
    if (over.a == 0) return under;
    const auto mix = [&](std::uint8_t u, std::uint8_t o) {
        return static_cast<std::uint8_t>((o * over.a + u * (255 - over.a) + 127) / 255);
    };
    return Rgba{mix(under.r, over.r), mix(under.g, over.g), mix(under.b, over.b),
                static_cast<std::uint8_t>(std::max(under.a, over.a))};
}

}  // namespace

TestCanvas::TestCanvas(int width, int height, Rgba background)
    : TestCanvas(width, height, Config{}, background) {}

TestCanvas::TestCanvas(int width, int height, Config config, Rgba background)
    : config_(config), surface_(width, height, background), clip_{0, 0, width, height} {}

void TestCanvas::SetFont(const FontSpec& font) {
    font_ = font;
}

FontMetrics TestCanvas::Metrics() {
    return FontMetrics{config_.ascent + config_.descent, config_.ascent, config_.descent,
                       config_.advance};
}

int TestCanvas::TextWidth(std::u32string_view text) {
    return static_cast<int>(text.size()) * config_.advance;
}

void TestCanvas::DrawText(int x, int y, std::u32string_view text) {
    log_.push_back("text " + std::to_string(x) + "," + std::to_string(y) + " " +
                   text::ToUtf8(text));
}

Rect TestCanvas::Clipped(const Rect& r) const {
    return Rect{std::max(r.left, clip_.left), std::max(r.top, clip_.top),
                std::min(r.right, clip_.right), std::min(r.bottom, clip_.bottom)};
}

void TestCanvas::FillRect(const Rect& r, Color color) {
    log_.push_back("fill " + RectText(r) + " " + ColorText(color));
    const Rect c = Clipped(r);
    for (int y = c.top; y < c.bottom; ++y) {
        for (int x = c.left; x < c.right; ++x) surface_.At(x, y) = ToRgba(color);
    }
}

void TestCanvas::FrameRect(const Rect& r, Color color, int width) {
    log_.push_back("frame " + RectText(r) + " " + ColorText(color) + " " + std::to_string(width));
}

void TestCanvas::DrawLine(Point from, Point to, Color color, int width) {
    log_.push_back("line " + std::to_string(from.x) + "," + std::to_string(from.y) + "," +
                   std::to_string(to.x) + "," + std::to_string(to.y) + " " + ColorText(color) +
                   " " + std::to_string(width));
}

void TestCanvas::FillPolygon(const std::vector<Point>& points, Color color) {
    std::string line = "polygon";
    for (const Point& p : points) {
        line += ' ';
        line += std::to_string(p.x);
        line += ',';
        line += std::to_string(p.y);
    }
    log_.push_back(line + " " + ColorText(color));
}

void TestCanvas::DrawImage(const Rect& dest, const RgbaImage& image) {
    log_.push_back("image " + RectText(dest) + " " + std::to_string(image.Width()) + "x" +
                   std::to_string(image.Height()));
    if (image.Empty() || dest.IsEmpty()) return;
    const Rect c = Clipped(dest);
    // Nearest-neighbour stretch: destination pixel (x, y) takes the source pixel under its
    // centre.
    for (int y = c.top; y < c.bottom; ++y) {
        const long long sy =
            (static_cast<long long>(y - dest.top) * 2 + 1) * image.Height() / (2LL * dest.Height());
        for (int x = c.left; x < c.right; ++x) {
            const long long sx = (static_cast<long long>(x - dest.left) * 2 + 1) * image.Width() /
                                 (2LL * dest.Width());
            surface_.At(x, y) =
                Blend(surface_.At(x, y), image.At(static_cast<int>(sx), static_cast<int>(sy)));
        }
    }
}

void TestCanvas::SetClip(const Rect& clip) {
    log_.push_back("clip " + RectText(clip));
    clip_ = Rect{std::max(clip.left, 0), std::max(clip.top, 0),
                 std::min(clip.right, surface_.Width()), std::min(clip.bottom, surface_.Height())};
}

void TestCanvas::ClearClip() {
    log_.push_back("noclip");
    clip_ = Rect{0, 0, surface_.Width(), surface_.Height()};
}

}  // namespace quillon
