#pragma once
// The canvas of screens, images, PDF files and printers: QPainter on any QPaintDevice.
// Coordinates are logical pixels of 1/96 inch; on a device of another resolution the
// painter is scaled by dpi / 96. Fonts are unhinted and drawn without kerning, so text is as
// wide as its glyphs' advances on every device: simple text (FontFace) is measured by adding
// them up, other text by Qt's layout on the same device.

#include <memory>
#include <optional>
#include <vector>

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QTextLayout>
#include <QTransform>

#include "platform/core/canvas.h"
#include "platform/qt/font_face.h"

class QPaintDevice;

namespace quillon {

class QtCanvas : public Canvas {
  public:
    // Paints on the device with a painter of its own (ended when the canvas goes).
    explicit QtCanvas(QPaintDevice& device);
    // Paints through a painter that is already active (a widget's paint event, a print job
    // that turns pages itself). Its state is saved and restored around the canvas's life.
    explicit QtCanvas(QPainter& painter);
    ~QtCanvas() override;

    int DevicePixelsPerInch() const override { return dpi_; }
    bool IsPrinter() const override { return printer_; }
    bool IsMonochrome() const override { return monochrome_; }

    FontMetrics Metrics() override;
    int TextWidth(std::u32string_view text) override;
    void TextPrefixWidths(std::u32string_view text, std::vector<int>& widths) override;
    using Canvas::TextPrefixWidths;

    QPainter& Painter() { return *painter_; }
    // The QFont drawn for the current FontSpec.
    const QFont& CurrentQFont() const { return font_->qfont; }
    const QFontMetricsF& CurrentQMetrics() const { return font_->qmetrics; }
    // The face of the current font and its size in logical pixels per em.
    FontFace& CurrentFace() const { return *font_->face; }
    double PixelsPerEm() const { return font_->pixels_per_em; }
    // Ends painting on a device painted with an own painter (nothing is drawn afterwards).
    void End();

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

  private:
    // What a FontSpec (its colour aside) turns into on this device, made once.
    struct FontEntry {
        FontEntry(const FontSpec& wanted, int dpi, QPaintDevice* device);
        FontSpec font;
        QFont qfont;
        QFontMetricsF qmetrics;
        FontMetrics metrics;
        FontFace* face = nullptr;
        double pixels_per_em = 0;
    };
    void Setup(QPaintDevice& device);
    // Width of text in the current font, unrounded.
    double ExactTextWidth(std::u32string_view text) const;
    // What the painter can paint on: its device (and clip), in the painter's coordinates.
    QRectF VisibleArea() const;

    // Runs of text longer than this are drawn piece by piece.
    static constexpr std::size_t kLongRun = 1024;

    std::unique_ptr<QPainter> own_painter_;
    QPainter* painter_ = nullptr;
    QPaintDevice* device_ = nullptr;
    // The painter's own transform and clip before the canvas scaled it: the canvas's clips
    // lie inside that clip.
    QTransform base_transform_;
    bool base_clipping_ = false;
    QPainterPath base_clip_;
    int dpi_ = kLogicalDpi;
    bool printer_ = false;
    bool monochrome_ = false;
    // Most recently used first.
    std::vector<std::unique_ptr<FontEntry>> fonts_;
    FontEntry* font_ = nullptr;
};

// A Qt canvas on an image of its own: PNG output, and measuring without a display (a 1 x 1
// image measures as any screen does).
namespace detail {
struct ImageHolder {
    QImage image;
};
}  // namespace detail

class QtImageCanvas : private detail::ImageHolder, public QtCanvas {
  public:
    QtImageCanvas(int width, int height, Color background = 0xFFFFFF,
                  int dpi = Canvas::kLogicalDpi);
    // Ends painting and returns the picture.
    const QImage& Image();
};

std::unique_ptr<Canvas> MakeMeasuringCanvas();

// Lays the layout's whole text out as one line that never wraps, and returns the line.
QTextLine LayOutUnwrapped(QTextLayout& layout);

}  // namespace quillon
