#include "platform/core/fixed_metric_canvas.h"

#include <algorithm>

namespace quillon {

FixedMetricCanvas::FixedMetricCanvas(Canvas& inner, FixedMetrics metrics, std::string face,
                                     double face_advance)
    : inner_(inner),
      metrics_(metrics),
      face_(std::move(face)),
      // Pixels per em that make one advance, in points of 1/72 inch.
      size_pt_(metrics.advance / std::max(face_advance, 0.1) * 72.0 / kLogicalDpi) {}

FontMetrics FixedMetricCanvas::Metrics() {
    FontMetrics m;
    m.ascent = metrics_.ascent;
    m.descent = metrics_.descent;
    m.height = metrics_.ascent + metrics_.descent;
    m.average_char_width = m.max_char_width = metrics_.advance;
    return m;
}

int FixedMetricCanvas::TextWidth(std::u32string_view text) {
    return static_cast<int>(text.size()) * metrics_.advance;
}

void FixedMetricCanvas::TextPrefixWidths(std::u32string_view text, std::vector<int>& widths) {
    widths.resize(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        widths[i] = static_cast<int>(i + 1) * metrics_.advance;
    }
}

void FixedMetricCanvas::DoDrawText(Point at, std::u32string_view text,
                                   std::optional<Color> background) {
    if (text.empty()) return;
    if (background) {
        inner_.FillRect(
            Rect{at.x, at.y, at.x + TextWidth(text), at.y + metrics_.ascent + metrics_.descent},
            *background);
    }
    FontSpec font = Font();
    font.name = face_;
    font.size_pt = size_pt_;
    font.fixed_pitch = true;
    inner_.SetFont(font);
    // The face's baseline on ours; each character at the start of its own cell, so that
    // rounding of the face's advances never adds up along a line.
    const int y = at.y + metrics_.ascent - inner_.Metrics().ascent;
    for (std::size_t i = 0; i < text.size(); ++i) {
        inner_.DrawText(at.x + static_cast<int>(i) * metrics_.advance, y, text.substr(i, 1));
    }
}

void FixedMetricCanvas::DoFillRect(const Rect& r, Color color) {
    inner_.FillRect(r, color);
}

void FixedMetricCanvas::DoFrameRect(const Rect& r, Color color, int width) {
    inner_.FrameRect(r, color, width);
}

void FixedMetricCanvas::DoDrawLine(Point from, Point to, Color color, int width) {
    inner_.DrawLine(from, to, color, width);
}

void FixedMetricCanvas::DoDrawPolyline(const std::vector<Point>& points, Color color, int width,
                                       bool closed) {
    inner_.DrawPolyline(points, color, width, closed);
}

void FixedMetricCanvas::DoFillPolygon(const std::vector<Point>& points, Color color) {
    inner_.FillPolygon(points, color);
}

void FixedMetricCanvas::DoFillEllipse(const Rect& r, Color color) {
    inner_.FillEllipse(r, color);
}

void FixedMetricCanvas::DoFrameEllipse(const Rect& r, Color color, int width) {
    inner_.FrameEllipse(r, color, width);
}

void FixedMetricCanvas::DoDrawImage(const Rect& dest, const RgbaImage& image, const Rect& source) {
    inner_.DrawImage(dest, image, source);
}

void FixedMetricCanvas::ClipChanged(const std::optional<Rect>& clip) {
    if (clipped_) inner_.PopClip();
    clipped_ = clip.has_value();
    if (clip) inner_.PushClip(*clip);
}

void FixedMetricCanvas::DoMarkLink(const Rect& area, std::string_view uri) {
    inner_.MarkLink(area, uri);
}

void FixedMetricCanvas::DoMarkJump(const Rect& area, std::string_view name) {
    inner_.MarkJump(area, name);
}

void FixedMetricCanvas::DoMarkAnchor(std::string_view name, Point at) {
    inner_.MarkAnchor(name, at);
}

void FixedMetricCanvas::DoMarkHeading(int level, std::string_view title, Point at) {
    inner_.MarkHeading(level, title, at);
}

}  // namespace quillon
