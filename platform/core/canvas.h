#pragma once
// The drawing surface of layout and drawing. Implementations: the Qt canvas (screen, PNG,
// PDF, printer) and the fixed-metric TestCanvas.
//
// Coordinates are logical pixels of 1/96 inch on every device: a canvas on a 600-dpi printer
// scales them, so a page laid out for the screen prints at the same size. Rectangles exclude
// their right and bottom edges. The public drawing calls apply the current translation and
// clip rectangle and then hand absolute coordinates to the implementation's Do... hooks, so
// both implementations agree on what translation and clipping mean.

#include <optional>
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
    bool Contains(Point p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    Rect Offset(int dx, int dy) const { return Rect{left + dx, top + dy, right + dx, bottom + dy}; }
    // The common part; empty rectangles intersect to an empty one.
    Rect Intersect(const Rect& o) const;
    friend bool operator==(const Rect&, const Rect&) = default;
};

// A font described by value. The canvas picks the nearest installed face.
struct FontSpec {
    std::string name = "Times New Roman";
    double size_pt = 12;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike_out = false;
    bool fixed_pitch = false;  // prefer a fixed-pitch face when the name is not installed
    Color color = 0x000000;
    friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

// Metrics of the current font, in logical pixels.
struct FontMetrics {
    int height = 0;  // ascent + descent
    int ascent = 0;
    int descent = 0;
    int external_leading = 0;
    int average_char_width = 0;
    int max_char_width = 0;
    int overhang = 0;  // extra width of synthesised styles; 0 on both canvases
    friend bool operator==(const FontMetrics&, const FontMetrics&) = default;
};

// The rectangle a horizontal or vertical line of the given width covers (the end point
// excluded, the width centred on the line with the odd pixel after it), or nullopt for a
// slanted line. Canvases fill it so that a straight line of any width is crisp.
std::optional<Rect> StraightLineRect(Point from, Point to, int width);

class Canvas {
  public:
    static constexpr int kLogicalDpi = 96;

    Canvas() = default;
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    virtual ~Canvas() = default;

    // Device facts.
    // Resolution of the device itself (96 for the screen, 300 or 600 for printers); drawing
    // coordinates stay logical whatever it is.
    virtual int DevicePixelsPerInch() const = 0;
    virtual bool IsPrinter() const = 0;
    // A one-bit device: 3D frames are drawn black on it.
    virtual bool IsMonochrome() const { return false; }

    // Text. The font stays until the next SetFont; its colour is the text colour.
    void SetFont(const FontSpec& font);
    const FontSpec& Font() const { return font_; }
    virtual FontMetrics Metrics() = 0;
    // Advance width of the text in the current font.
    virtual int TextWidth(std::u32string_view text) = 0;
    // widths[i] = advance width of text[0..i] (so widths.back() == TextWidth(text)), all from
    // one measurement, so that line breaking never measures a prefix twice.
    virtual void TextPrefixWidths(std::u32string_view text, std::vector<int>& widths) = 0;
    std::vector<int> TextPrefixWidths(std::u32string_view text);
    // Draws text with the top of its line (ascent above the baseline) at y and its first
    // character starting at x, in the font's colour. With a background, the box of the
    // text (TextWidth by the font height) is filled with it first.
    void DrawText(int x, int y, std::u32string_view text,
                  std::optional<Color> background = std::nullopt);

    // Shapes.
    void FillRect(const Rect& r, Color color);
    // A frame of the given width inside r.
    void FrameRect(const Rect& r, Color color, int width = 1);
    // A line from `from` to `to`, the end point excluded (so joined lines touch without
    // overlapping). Width 1 is one logical pixel.
    void DrawLine(Point from, Point to, Color color, int width = 1);
    // Lines through the points; closed joins the last point to the first.
    void DrawPolyline(const std::vector<Point>& points, Color color, int width = 1,
                      bool closed = false);
    // The inside of the polygon under the non-zero winding rule.
    void FillPolygon(const std::vector<Point>& points, Color color);
    // The ellipse inscribed in r: filled, or its one-pixel outline.
    void FillEllipse(const Rect& r, Color color);
    void FrameEllipse(const Rect& r, Color color, int width = 1);

    // An image stretched into dest (a source rectangle selects a part of it). Its alpha
    // decides: 0 keeps what lies under the pixel, 255 replaces it, values between blend.
    void DrawImage(const Rect& dest, const RgbaImage& image);
    void DrawImage(const Rect& dest, const RgbaImage& image, const Rect& source);

    // Clipping: PushClip intersects the current clip with r (in current coordinates) until
    // the matching PopClip.
    void PushClip(const Rect& r);
    void PopClip();
    // The current clip in current coordinates, or nullopt when nothing is clipped.
    std::optional<Rect> ClipRect() const;

    // Translation: PushOrigin moves the origin by (dx, dy) until the matching PopOrigin.
    void PushOrigin(int dx, int dy);
    void PopOrigin();
    Point Origin() const { return origin_; }

    // Print marks: where the links, anchors and headings of a printed document land. A
    // canvas that keeps them (a PDF page) turns them into clickable areas, jump targets and
    // the outline; on the others the calls do nothing, and drawing code asks KeepsMarks
    // before it works them out. Areas and points are in current coordinates; what lies outside the
    // clip is not marked (a line cut off at a page's end is marked on the page showing it).
    virtual bool KeepsMarks() const { return false; }
    // A link to an address outside the document (a URL, or a file name as written).
    void MarkLink(const Rect& area, std::string_view uri);
    // A link to the anchor `name` of the document itself.
    void MarkJump(const Rect& area, std::string_view name);
    // The anchor `name` (an A NAME) at `at`.
    void MarkAnchor(std::string_view name, Point at);
    // A heading of `level` (1 for H1) titled `title` (UTF-8) at `at`.
    void MarkHeading(int level, std::string_view title, Point at);

  protected:
    // Hooks of the implementations, in absolute logical coordinates.
    virtual void FontChanged() {}
    virtual void DoDrawText(Point at, std::u32string_view text,
                            std::optional<Color> background) = 0;
    virtual void DoFillRect(const Rect& r, Color color) = 0;
    // By default four filled strips.
    virtual void DoFrameRect(const Rect& r, Color color, int width);
    virtual void DoDrawLine(Point from, Point to, Color color, int width) = 0;
    // By default one DoDrawLine per segment.
    virtual void DoDrawPolyline(const std::vector<Point>& points, Color color, int width,
                                bool closed);
    virtual void DoFillPolygon(const std::vector<Point>& points, Color color) = 0;
    virtual void DoFillEllipse(const Rect& r, Color color) = 0;
    virtual void DoFrameEllipse(const Rect& r, Color color, int width) = 0;
    virtual void DoDrawImage(const Rect& dest, const RgbaImage& image, const Rect& source) = 0;
    // The clip changed: nullopt removes clipping.
    virtual void ClipChanged(const std::optional<Rect>& clip) = 0;
    // The print marks, clipped, by default ignored.
    virtual void DoMarkLink(const Rect& /*area*/, std::string_view /*uri*/) {}
    virtual void DoMarkJump(const Rect& /*area*/, std::string_view /*name*/) {}
    virtual void DoMarkAnchor(std::string_view /*name*/, Point /*at*/) {}
    virtual void DoMarkHeading(int /*level*/, std::string_view /*title*/, Point /*at*/) {}

  private:
    std::vector<Point> Translated(const std::vector<Point>& points) const;
    // The part of r (current coordinates) inside the clip, absolute; empty when none.
    Rect VisiblePart(const Rect& r) const;
    // Whether the point's line (current coordinates) lies inside the clip.
    bool VisibleLine(Point p) const;

    FontSpec font_;
    Point origin_;
    std::vector<Point> origins_;
    std::vector<Rect> clips_;  // absolute, each inside the one before
};

// Keeps a clip rectangle or an origin for the lifetime of the scope.
class ClipScope {
  public:
    ClipScope(Canvas& canvas, const Rect& r) : canvas_(canvas) { canvas_.PushClip(r); }
    ~ClipScope() { canvas_.PopClip(); }
    ClipScope(const ClipScope&) = delete;
    ClipScope& operator=(const ClipScope&) = delete;

  private:
    Canvas& canvas_;
};

class OriginScope {
  public:
    OriginScope(Canvas& canvas, int dx, int dy) : canvas_(canvas) { canvas_.PushOrigin(dx, dy); }
    ~OriginScope() { canvas_.PopOrigin(); }
    OriginScope(const OriginScope&) = delete;
    OriginScope& operator=(const OriginScope&) = delete;

  private:
    Canvas& canvas_;
};

}  // namespace quillon
