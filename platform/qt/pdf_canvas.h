#pragma once
// A canvas that writes one PDF page at a time into a PdfWriter. It measures exactly as the
// Qt canvas does (it asks one), and writes simple text as glyphs of the embedded faces,
// each glyph advancing by its own width, so text lands where layout measured it. Text that
// needs shaping (other scripts, combining marks, characters from fallback faces) goes
// through Qt's layout and is written glyph by glyph with its text attached.
//
// Coordinates are logical pixels; one of them is 1/screen_dpi inch on the paper, and (0, 0)
// is the sheet's top-left corner.

#include <memory>
#include <optional>
#include <unordered_map>

#include "platform/core/canvas.h"
#include "platform/pdf/content_stream.h"
#include "platform/pdf/pdf_writer.h"
#include "platform/qt/qt_canvas.h"

namespace quillon {

class PdfCanvas : public Canvas {
  public:
    // device_dpi is what the canvas reports as the device resolution.
    PdfCanvas(pdf::PdfWriter& writer, int device_dpi);

    int DevicePixelsPerInch() const override { return device_dpi_; }
    bool IsPrinter() const override { return true; }
    // Links become link annotations, anchors destinations, headings outline entries.
    bool KeepsMarks() const override { return true; }

    FontMetrics Metrics() override { return measure_.Metrics(); }
    int TextWidth(std::u32string_view text) override { return measure_.TextWidth(text); }
    void TextPrefixWidths(std::u32string_view text, std::vector<int>& widths) override {
        measure_.TextPrefixWidths(text, widths);
    }
    using Canvas::TextPrefixWidths;

    // Starts a page of width x height points; canvas units are 1/screen_dpi inch.
    void BeginPage(double width_pt, double height_pt, int screen_dpi);
    void EndPage();

  protected:
    void FontChanged() override;
    void DoDrawText(Point at, std::u32string_view text, std::optional<Color> background) override;
    void DoFillRect(const Rect& r, Color color) override;
    void DoDrawLine(Point from, Point to, Color color, int width) override;
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
    // Canvas units to the page's points (y up from the bottom edge).
    pdf::PdfRect PageRect(const Rect& r) const;
    double PageY(int y) const { return page_h_ - y * scale_; }
    void Fill(Color color);
    void Stroke(Color color, double width);
    int PdfFont(FontFace& face);
    void DrawShapedText(double x, double baseline, std::u32string_view text);
    void EllipsePath(double left, double top, double right, double bottom);
    void Decorations(double x, double baseline, double width);

    pdf::PdfWriter& writer_;
    std::optional<pdf::ContentStream> out_;
    int device_dpi_;
    QtImageCanvas measure_;
    std::unordered_map<const FontFace*, int> pdf_fonts_;
    // The state the page's content has set, so that it is set again only when it changes;
    // a clip change returns to the page's initial state.
    std::optional<Color> fill_;
    std::optional<Color> stroke_;
    double line_width_ = 1;
    double scale_ = 1;  // points per canvas unit
    double page_h_ = 0;
};

}  // namespace quillon
