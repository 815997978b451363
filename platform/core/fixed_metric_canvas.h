#pragma once
// Draws through another canvas with fixed metrics: every character advances the same width
// and every font has the same ascent and descent, as on the fixed-metric test canvas. A
// document laid out with fixed metrics and printed through this canvas shows on the sheet
// where its layout put it: each character is drawn in its own cell with a fixed-pitch
// face sized to fit the cell, whatever font the document asks for (its weight, slant,
// decorations and colour are kept). Shapes, images, clips and print marks pass through.
//
// The inner canvas is used with no translation of its own: this canvas hands it absolute
// coordinates and keeps at most one clip on it, which balanced clip scopes take off again.

#include <string>
#include <vector>

#include "platform/core/canvas.h"

namespace quillon {

struct FixedMetrics {
    int advance = 8;
    int ascent = 12;
    int descent = 4;
};

class FixedMetricCanvas : public Canvas {
  public:
    // The face is drawn at the size whose advance is metrics.advance when its glyphs are
    // `face_advance` ems wide (DejaVu Sans Mono's are 1233/2048).
    explicit FixedMetricCanvas(Canvas& inner, FixedMetrics metrics = {},
                               std::string face = "DejaVu Sans Mono",
                               double face_advance = 1233.0 / 2048.0);
    FixedMetricCanvas(const FixedMetricCanvas&) = delete;
    FixedMetricCanvas& operator=(const FixedMetricCanvas&) = delete;

    const Canvas& Inner() const { return inner_; }

    int DevicePixelsPerInch() const override { return inner_.DevicePixelsPerInch(); }
    bool IsPrinter() const override { return inner_.IsPrinter(); }
    bool IsMonochrome() const override { return inner_.IsMonochrome(); }
    bool KeepsMarks() const override { return inner_.KeepsMarks(); }

    FontMetrics Metrics() override;
    int TextWidth(std::u32string_view text) override;
    void TextPrefixWidths(std::u32string_view text, std::vector<int>& widths) override;
    using Canvas::TextPrefixWidths;

  protected:
    void DoDrawText(Point at, std::u32string_view text, std::optional<Color> background) override;
    void DoFillRect(const Rect& r, Color color) override;
    void DoFrameRect(const Rect& r, Color color, int width) override;
    void DoDrawLine(Point from, Point to, Color color, int width) override;
    void DoDrawPolyline(const std::vector<Point>& points, Color color, int width,
                        bool closed) override;
    void DoFillPolygon(const std::vector<Point>& points, Color color) override;
    void DoFillEllipse(const Rect& r, Color color) override;
    void DoFrameEllipse(const Rect& r, Color color, int width) override;
    void DoDrawImage(const Rect& dest, const RgbaImage& image, const Rect& source) override;
    void ClipChanged(const std::optional<Rect>& clip) override;
    void DoMarkLink(const Rect& area, std::string_view uri) override;
    void DoMarkJump(const Rect& area, std::string_view name) override;
    void DoMarkAnchor(std::string_view name, Point at) override;
    void DoMarkHeading(int level, std::string_view title, Point at) override;

  private:
    Canvas& inner_;
    FixedMetrics metrics_;
    std::string face_;
    double size_pt_;
    bool clipped_ = false;  // a clip of ours is pushed on the inner canvas
};

}  // namespace quillon
