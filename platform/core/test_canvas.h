#pragma once
// A canvas with fixed metrics for exact, font-free tests: every glyph has the same advance
// and every font the same height, ascent and descent, whatever its name and size. It paints
// rectangles and images into an RGBA surface and records every call as a line of text.

#include <string>
#include <vector>

#include "platform/core/canvas.h"

namespace quillon {

class TestCanvas : public Canvas {
  public:
    struct Config {
        int advance = 8;
        int ascent = 12;
        int descent = 4;
    };

    TestCanvas(int width, int height, Rgba background = Rgba{255, 255, 255, 255});
    TestCanvas(int width, int height, Config config, Rgba background);

    void SetFont(const FontSpec& font) override;
    FontMetrics Metrics() override;
    int TextWidth(std::u32string_view text) override;
    void DrawText(int x, int y, std::u32string_view text) override;

    void FillRect(const Rect& r, Color color) override;
    void FrameRect(const Rect& r, Color color, int width = 1) override;
    void DrawLine(Point from, Point to, Color color, int width = 1) override;
    void FillPolygon(const std::vector<Point>& points, Color color) override;
    void DrawImage(const Rect& dest, const RgbaImage& image) override;
    void SetClip(const Rect& clip) override;
    void ClearClip() override;

    const RgbaImage& Surface() const { return surface_; }
    const FontSpec& Font() const { return font_; }
    // One line per call, e.g. "text 10,20 Hello", "fill 0,0,10,10 #FF0000".
    const std::vector<std::string>& Log() const { return log_; }
    void ClearLog() { log_.clear(); }

  private:
    Rect Clipped(const Rect& r) const;

    Config config_;
    RgbaImage surface_;
    FontSpec font_;
    Rect clip_;
    std::vector<std::string> log_;
};

}  // namespace quillon
