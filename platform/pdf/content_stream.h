#pragma once
// The drawing operators of one PDF page, appended to a string: colours, paths, clips,
// transforms, text by glyph ids and images. Numbers are written short (integers without a
// point, others with at most three decimals), as the page's size depends on them.

#include <cstdint>
#include <string>
#include <string_view>

namespace quillon::pdf {

class ContentStream {
  public:
    explicit ContentStream(std::string& out) : out_(out) {}

    void Save() { out_.append("q\n"); }
    void Restore() { out_.append("Q\n"); }
    // Multiplies the current transform by [a b c d e f].
    void Transform(double a, double b, double c, double d, double e, double f);
    // Colours as 0xRRGGBB.
    void FillColor(std::uint32_t rgb);
    void StrokeColor(std::uint32_t rgb);
    void LineWidth(double width);

    void Rectangle(double x, double y, double w, double h);
    void MoveTo(double x, double y);
    void LineTo(double x, double y);
    void CurveTo(double x1, double y1, double x2, double y2, double x3, double y3);
    void ClosePath() { out_.append("h\n"); }
    void Fill() { out_.append("f\n"); }
    void Stroke() { out_.append("S\n"); }
    // Intersects the clip with the current path and ends the path.
    void Clip() { out_.append("W n\n"); }

    // Text: one run of glyphs of font resource `font` (as "F3") at `size` units, its
    // baseline origin at (x, y) in a space whose y axis points down.
    void BeginText() { out_.append("BT\n"); }
    void SetFont(std::string_view font, double size);
    void TextOrigin(double x, double y);
    // Appends a glyph id to the run being shown (between BeginGlyphs and EndGlyphs).
    void BeginGlyphs() { out_.push_back('<'); }
    void Glyph(std::uint16_t id);
    void EndGlyphs() { out_.append("> Tj\n"); }
    void EndText() { out_.append("ET\n"); }
    // Marks what follows as standing for `utf16be` when text is extracted.
    void BeginActualText(std::u16string_view text);
    void EndMarkedContent() { out_.append("EMC\n"); }

    // The image XObject `name` (as "Im2") drawn into the unit square of the current
    // transform.
    void Image(std::string_view name);

    void Num(double v);
    void Int(long long v);

  private:
    void Op(std::string_view op) {
        out_.append(op);
        out_.push_back('\n');
    }
    std::string& out_;
};

}  // namespace quillon::pdf
