#include "platform/core/canvas.h"

#include <algorithm>

namespace quillon {

std::optional<Rect> StraightLineRect(Point from, Point to, int width) {
    const int before = (width - 1) / 2;
    if (from.y == to.y) {
        const int left = from.x < to.x ? from.x : to.x + 1;
        const int right = from.x < to.x ? to.x : from.x + 1;
        return Rect{left, from.y - before, right, from.y - before + width};
    }
    if (from.x == to.x) {
        const int top = from.y < to.y ? from.y : to.y + 1;
        const int bottom = from.y < to.y ? to.y : from.y + 1;
        return Rect{from.x - before, top, from.x - before + width, bottom};
    }
    return std::nullopt;
}

Rect Rect::Intersect(const Rect& o) const {
    Rect r{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
           std::min(bottom, o.bottom)};
    if (r.IsEmpty()) return Rect{r.left, r.top, r.left, r.top};
    return r;
}

void Canvas::SetFont(const FontSpec& font) {
    if (font == font_) return;
    font_ = font;
    FontChanged();
}

std::vector<int> Canvas::TextPrefixWidths(std::u32string_view text) {
    std::vector<int> widths;
    TextPrefixWidths(text, widths);
    return widths;
}

void Canvas::DrawText(int x, int y, std::u32string_view text, std::optional<Color> background) {
    const Point at{x + origin_.x, y + origin_.y};
    // A line wholly above, below or right of the clip shows nothing: it is not handed on,
    // so that no file (a PDF page) holds text that no reader of the sheet can see.
    if (!clips_.empty()) {
        const Rect& clip = clips_.back();
        if (at.y >= clip.bottom || at.y + Metrics().height <= clip.top || at.x >= clip.right) {
            return;
        }
    }
    DoDrawText(at, text, background);
}

void Canvas::FillRect(const Rect& r, Color color) {
    if (r.IsEmpty()) return;
    DoFillRect(r.Offset(origin_.x, origin_.y), color);
}

void Canvas::FrameRect(const Rect& r, Color color, int width) {
    if (r.IsEmpty() || width <= 0) return;
    DoFrameRect(r.Offset(origin_.x, origin_.y), color, width);
}

void Canvas::DoFrameRect(const Rect& r, Color color, int width) {
    const int w = std::min(width, (r.Width() + 1) / 2);
    const int h = std::min(width, (r.Height() + 1) / 2);
    DoFillRect(Rect{r.left, r.top, r.right, r.top + h}, color);
    DoFillRect(Rect{r.left, r.bottom - h, r.right, r.bottom}, color);
    DoFillRect(Rect{r.left, r.top + h, r.left + w, r.bottom - h}, color);
    DoFillRect(Rect{r.right - w, r.top + h, r.right, r.bottom - h}, color);
}

void Canvas::DrawLine(Point from, Point to, Color color, int width) {
    if (from == to || width <= 0) return;
    DoDrawLine(Point{from.x + origin_.x, from.y + origin_.y},
               Point{to.x + origin_.x, to.y + origin_.y}, color, width);
}

std::vector<Point> Canvas::Translated(const std::vector<Point>& points) const {
    std::vector<Point> out;
    out.reserve(points.size());
    for (const Point& p : points) out.push_back(Point{p.x + origin_.x, p.y + origin_.y});
    return out;
}

void Canvas::DrawPolyline(const std::vector<Point>& points, Color color, int width, bool closed) {
    if (points.size() < 2 || width <= 0) return;
    DoDrawPolyline(Translated(points), color, width, closed);
}

void Canvas::DoDrawPolyline(const std::vector<Point>& points, Color color, int width, bool closed) {
    for (std::size_t i = 1; i < points.size(); ++i) {
        if (points[i - 1] != points[i]) DoDrawLine(points[i - 1], points[i], color, width);
    }
    if (closed && points.back() != points.front()) {
        DoDrawLine(points.back(), points.front(), color, width);
    }
}

void Canvas::FillPolygon(const std::vector<Point>& points, Color color) {
    if (points.size() < 3) return;
    DoFillPolygon(Translated(points), color);
}

void Canvas::FillEllipse(const Rect& r, Color color) {
    if (r.IsEmpty()) return;
    DoFillEllipse(r.Offset(origin_.x, origin_.y), color);
}

void Canvas::FrameEllipse(const Rect& r, Color color, int width) {
    if (r.IsEmpty() || width <= 0) return;
    DoFrameEllipse(r.Offset(origin_.x, origin_.y), color, width);
}

void Canvas::DrawImage(const Rect& dest, const RgbaImage& image) {
    DrawImage(dest, image, Rect{0, 0, image.Width(), image.Height()});
}

void Canvas::DrawImage(const Rect& dest, const RgbaImage& image, const Rect& source) {
    // A source reaching outside the image is cut to it; nothing is read beyond its pixels.
    const Rect src = source.Intersect(Rect{0, 0, image.Width(), image.Height()});
    if (dest.IsEmpty() || src.IsEmpty()) return;
    DoDrawImage(dest.Offset(origin_.x, origin_.y), image, src);
}

void Canvas::PushClip(const Rect& r) {
    Rect abs = r.Offset(origin_.x, origin_.y);
    if (!clips_.empty()) abs = abs.Intersect(clips_.back());
    if (abs.IsEmpty()) abs = Rect{abs.left, abs.top, abs.left, abs.top};
    clips_.push_back(abs);
    ClipChanged(abs);
}

void Canvas::PopClip() {
    if (clips_.empty()) return;
    clips_.pop_back();
    ClipChanged(clips_.empty() ? std::nullopt : std::optional<Rect>(clips_.back()));
}

std::optional<Rect> Canvas::ClipRect() const {
    if (clips_.empty()) return std::nullopt;
    return clips_.back().Offset(-origin_.x, -origin_.y);
}

Rect Canvas::VisiblePart(const Rect& r) const {
    Rect abs = r.Offset(origin_.x, origin_.y);
    if (!clips_.empty()) abs = abs.Intersect(clips_.back());
    return abs;
}

bool Canvas::VisibleLine(Point p) const {
    const int y = p.y + origin_.y;
    return clips_.empty() || (y >= clips_.back().top && y < clips_.back().bottom);
}

void Canvas::MarkLink(const Rect& area, std::string_view uri) {
    if (!KeepsMarks()) return;
    const Rect abs = VisiblePart(area);
    if (!abs.IsEmpty() && !uri.empty()) DoMarkLink(abs, uri);
}

void Canvas::MarkJump(const Rect& area, std::string_view name) {
    if (!KeepsMarks()) return;
    const Rect abs = VisiblePart(area);
    if (!abs.IsEmpty() && !name.empty()) DoMarkJump(abs, name);
}

void Canvas::MarkAnchor(std::string_view name, Point at) {
    if (KeepsMarks() && !name.empty() && VisibleLine(at)) {
        DoMarkAnchor(name, Point{at.x + origin_.x, at.y + origin_.y});
    }
}

void Canvas::MarkHeading(int level, std::string_view title, Point at) {
    if (KeepsMarks() && VisibleLine(at))
        DoMarkHeading(level, title, Point{at.x + origin_.x, at.y + origin_.y});
}

void Canvas::PushOrigin(int dx, int dy) {
    origins_.push_back(origin_);
    origin_ = Point{origin_.x + dx, origin_.y + dy};
}

void Canvas::PopOrigin() {
    if (origins_.empty()) return;
    origin_ = origins_.back();
    origins_.pop_back();
}

}  // namespace quillon
