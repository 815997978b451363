#include "platform/core/test_canvas.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/core/text_encoding.h"

namespace quillon {

namespace {

std::string PointText(Point p) {
    return std::to_string(p.x) + "," + std::to_string(p.y);
}

std::string RectText(const Rect& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

std::string ColorText(Color c) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%06X", static_cast<unsigned>(c & 0xFFFFFF));
    return buf;
}

std::string SizeText(double size) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", size);
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

// Non-zero winding number of the polygon around (x, y).
int Winding(const std::vector<Point>& pts, double x, double y) {
    int winding = 0;
    for (std::size_t i = 0; i < pts.size(); ++i) {
        const Point a = pts[i];
        const Point b = pts[(i + 1) % pts.size()];
        const double cross = (b.x - a.x) * (y - a.y) - (x - a.x) * (b.y - a.y);
        if (a.y <= y) {
            if (b.y > y && cross > 0) ++winding;
        } else if (b.y <= y && cross < 0) {
            --winding;
        }
    }
    return winding;
}

// Whether (x, y) lies inside the ellipse inscribed in r.
bool InEllipse(const Rect& r, double x, double y) {
    const double rx = r.Width() / 2.0, ry = r.Height() / 2.0;
    if (rx <= 0 || ry <= 0) return false;
    const double dx = (x - (r.left + rx)) / rx, dy = (y - (r.top + ry)) / ry;
    return dx * dx + dy * dy <= 1.0;
}

}  // namespace

TestCanvas::TestCanvas(int width, int height, Rgba background)
    : TestCanvas(width, height, Config{}, background) {}

TestCanvas::TestCanvas(int width, int height, Config config, Rgba background)
    : config_(config), surface_(width, height, background), clip_{0, 0, width, height} {}

void TestCanvas::FontChanged() {
    const FontSpec& f = Font();
    std::string line = "font " + f.name + " " + SizeText(f.size_pt);
    if (f.bold) line += " bold";
    if (f.italic) line += " italic";
    if (f.underline) line += " underline";
    if (f.strike_out) line += " strike";
    if (f.fixed_pitch) line += " fixed";
    log_.push_back(line + " " + ColorText(f.color));
}

FontMetrics TestCanvas::Metrics() {
    FontMetrics m;
    m.ascent = config_.ascent;
    m.descent = config_.descent;
    m.height = config_.ascent + config_.descent;
    m.average_char_width = config_.advance;
    m.max_char_width = config_.advance;
    return m;
}

int TestCanvas::TextWidth(std::u32string_view text) {
    return static_cast<int>(text.size()) * config_.advance;
}

void TestCanvas::TextPrefixWidths(std::u32string_view text, std::vector<int>& widths) {
    widths.resize(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        widths[i] = static_cast<int>(i + 1) * config_.advance;
    }
}

void TestCanvas::DoDrawText(Point at, std::u32string_view text, std::optional<Color> background) {
    std::string line = "text " + PointText(at) + " ";
    if (background) {
        line += "on " + ColorText(*background) + " ";
        Paint(Rect{at.x, at.y, at.x + TextWidth(text), at.y + config_.ascent + config_.descent},
              *background);
    }
    log_.push_back(line + text::ToUtf8(text));
}

Rect TestCanvas::Clipped(const Rect& r) const {
    return r.Intersect(clip_);
}

void TestCanvas::Paint(const Rect& r, Color color) {
    const Rect c = Clipped(r);
    for (int y = c.top; y < c.bottom; ++y) {
        for (int x = c.left; x < c.right; ++x) surface_.At(x, y) = ToRgba(color);
    }
}

template <typename Inside>
void TestCanvas::PaintWhere(const Rect& r, Color color, Inside inside) {
    const Rect c = Clipped(r);
    for (int y = c.top; y < c.bottom; ++y) {
        for (int x = c.left; x < c.right; ++x) {
            if (inside(x + 0.5, y + 0.5)) surface_.At(x, y) = ToRgba(color);
        }
    }
}

void TestCanvas::DoFillRect(const Rect& r, Color color) {
    log_.push_back("fill " + RectText(r) + " " + ColorText(color));
    Paint(r, color);
}

void TestCanvas::DoFrameRect(const Rect& r, Color color, int width) {
    log_.push_back("frame " + RectText(r) + " " + ColorText(color) + " " + std::to_string(width));
    const int w = std::min(width, (r.Width() + 1) / 2);
    const int h = std::min(width, (r.Height() + 1) / 2);
    Paint(Rect{r.left, r.top, r.right, r.top + h}, color);
    Paint(Rect{r.left, r.bottom - h, r.right, r.bottom}, color);
    Paint(Rect{r.left, r.top + h, r.left + w, r.bottom - h}, color);
    Paint(Rect{r.right - w, r.top + h, r.right, r.bottom - h}, color);
}

// Bresenham from `from` towards `to`, the end point excluded; a wider line paints a square of
// the width at every step.
void TestCanvas::PaintLine(Point from, Point to, Color color, int width) {
    const int dx = std::abs(to.x - from.x), dy = -std::abs(to.y - from.y);
    const int sx = from.x < to.x ? 1 : -1, sy = from.y < to.y ? 1 : -1;
    int err = dx + dy;
    Point p = from;
    const int before = (width - 1) / 2;
    while (p != to) {
        Paint(Rect{p.x - before, p.y - before, p.x - before + width, p.y - before + width}, color);
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            p.x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            p.y += sy;
        }
    }
}

void TestCanvas::DoDrawLine(Point from, Point to, Color color, int width) {
    log_.push_back("line " + PointText(from) + "," + PointText(to) + " " + ColorText(color) + " " +
                   std::to_string(width));
    PaintLine(from, to, color, width);
}

void TestCanvas::DoDrawPolyline(const std::vector<Point>& points, Color color, int width,
                                bool closed) {
    std::string line = "polyline";
    for (const Point& p : points) line.append(" ").append(PointText(p));
    line.append(" ").append(ColorText(color)).append(" ").append(std::to_string(width));
    if (closed) line += " closed";
    log_.push_back(std::move(line));
    for (std::size_t i = 1; i < points.size(); ++i) {
        PaintLine(points[i - 1], points[i], color, width);
    }
    if (closed) PaintLine(points.back(), points.front(), color, width);
}

void TestCanvas::DoFillPolygon(const std::vector<Point>& points, Color color) {
    std::string line = "polygon";
    Rect box{points[0].x, points[0].y, points[0].x, points[0].y};
    for (const Point& p : points) {
        line += ' ';
        line += PointText(p);
        box = Rect{std::min(box.left, p.x), std::min(box.top, p.y), std::max(box.right, p.x),
                   std::max(box.bottom, p.y)};
    }
    log_.push_back(line + " " + ColorText(color));
    PaintWhere(box, color, [&](double x, double y) { return Winding(points, x, y) != 0; });
}

void TestCanvas::DoFillEllipse(const Rect& r, Color color) {
    log_.push_back("ellipse " + RectText(r) + " " + ColorText(color));
    PaintWhere(r, color, [&](double x, double y) { return InEllipse(r, x, y); });
}

void TestCanvas::DoFrameEllipse(const Rect& r, Color color, int width) {
    log_.push_back("ellipse-frame " + RectText(r) + " " + ColorText(color) + " " +
                   std::to_string(width));
    const Rect inner{r.left + width, r.top + width, r.right - width, r.bottom - width};
    PaintWhere(r, color,
               [&](double x, double y) { return InEllipse(r, x, y) && !InEllipse(inner, x, y); });
}

void TestCanvas::DoDrawImage(const Rect& dest, const RgbaImage& image, const Rect& source) {
    std::string line = "image " + RectText(dest) + " " + std::to_string(image.Width()) + "x" +
                       std::to_string(image.Height());
    if (source != Rect{0, 0, image.Width(), image.Height()}) line += " from " + RectText(source);
    log_.push_back(line);
    const Rect c = Clipped(dest);
    // Nearest-neighbour stretch: destination pixel (x, y) takes the source pixel under its
    // centre.
    for (int y = c.top; y < c.bottom; ++y) {
        const long long sy = source.top + (static_cast<long long>(y - dest.top) * 2 + 1) *
                                              source.Height() / (2LL * dest.Height());
        for (int x = c.left; x < c.right; ++x) {
            const long long sx = source.left + (static_cast<long long>(x - dest.left) * 2 + 1) *
                                                   source.Width() / (2LL * dest.Width());
            surface_.At(x, y) =
                Blend(surface_.At(x, y), image.At(static_cast<int>(sx), static_cast<int>(sy)));
        }
    }
}

void TestCanvas::ClipChanged(const std::optional<Rect>& clip) {
    const Rect whole{0, 0, surface_.Width(), surface_.Height()};
    if (clip) {
        log_.push_back("clip " + RectText(*clip));
        clip_ = clip->Intersect(whole);
    } else {
        log_.push_back("noclip");
        clip_ = whole;
    }
}

void TestCanvas::DoMarkLink(const Rect& area, std::string_view uri) {
    log_.push_back("link " + RectText(area) + " " + std::string(uri));
}

void TestCanvas::DoMarkJump(const Rect& area, std::string_view name) {
    log_.push_back("jump " + RectText(area) + " " + std::string(name));
}

void TestCanvas::DoMarkAnchor(std::string_view name, Point at) {
    log_.push_back("anchor " + PointText(at) + " " + std::string(name));
}

void TestCanvas::DoMarkHeading(int level, std::string_view title, Point at) {
    log_.push_back("heading " + std::to_string(level) + " " + PointText(at) + " " +
                   std::string(title));
}

}  // namespace quillon
