#pragma once
// A canvas with fixed metrics for exact, font-free tests: every character (space included)
// has the same advance and every font the same height, ascent and descent, whatever its
// name, size and style; no external leading, no overhang. It paints shapes, text
// backgrounds and images into an RGBA surface (glyphs themselves are not painted) and
// records every call as a line of text.

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
        int device_dpi = kLogicalDpi;
        bool printer = false;
        bool monochrome = false;
        bool marks = false;  // keeps print marks (logs them)
    };

    TestCanvas(int width, int height, Rgba background = Rgba{255, 255, 255, 255});
    TestCanvas(int width, int height, Config config, Rgba background);

    int DevicePixelsPerInch() const override { return config_.device_dpi; }
    bool IsPrinter() const override { return config_.printer; }
    bool IsMonochrome() const override { return config_.monochrome; }
    bool KeepsMarks() const override { return config_.marks; }

    FontMetrics Metrics() override;
    int TextWidth(std::u32string_view text) override;
    void TextPrefixWidths(std::u32string_view text, std::vector<int>& widths) override;
    using Canvas::TextPrefixWidths;

    const RgbaImage& Surface() const { return surface_; }
    // One line per call, in absolute coordinates, e.g.
    //   "font Arial 10 bold #000000", "text 10,20 Hello", "text 10,20 on #000080 Hello",
    //   "fill 0,0,10,10 #FF0000", "frame 0,0,10,10 #000000 1", "line 0,0,5,0 #000000 1",
    //   "polyline 0,0 5,0 5,5 #000000 1 closed", "polygon 0,0 5,0 5,5 #FF0000",
    //   "ellipse 0,0,5,5 #FF0000", "ellipse-frame 0,0,5,5 #000000 1",
    //   "image 0,0,4,2 2x1", "image 0,0,4,2 2x1 from 1,0,2,1", "clip 0,0,10,10", "noclip";
    //   with marks kept: "link 0,0,10,10 http://x", "jump 0,0,10,10 NAME", "anchor 0,20 NAME",
    //   "heading 2 0,20 Title".
    const std::vector<std::string>& Log() const { return log_; }
    void ClearLog() { log_.clear(); }

  protected:
    void FontChanged() override;
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
    Rect Clipped(const Rect& r) const;
    void Paint(const Rect& r, Color color);
    void PaintLine(Point from, Point to, Color color, int width);
    // Paints the pixels of r whose centres satisfy inside(x + 0.5, y + 0.5).
    template <typename Inside>
    void PaintWhere(const Rect& r, Color color, Inside inside);

    Config config_;
    RgbaImage surface_;
    Rect clip_;
    std::vector<std::string> log_;
};

}  // namespace quillon
