#include "platform/qt/qt_canvas.h"

#include <algorithm>
#include <cmath>

#include <QPagedPaintDevice>
#include <QPaintDevice>
#include <QPolygon>
#include <QPrinter>
#include <QString>
#include <QTextLayout>

#include "platform/qt/font_families.h"
#include "platform/qt/rgba_qimage.h"

namespace quillon {

namespace {

QColor ToQColor(Color c) {
    return QColor(static_cast<int>((c >> 16) & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                  static_cast<int>(c & 0xFF));
}

QString ToQString(std::u32string_view text) {
    return QString::fromUcs4(text.data(), static_cast<qsizetype>(text.size()));
}

QRectF ToQRectF(const Rect& r) {
    return QRectF(r.left, r.top, r.Width(), r.Height());
}

int Round(qreal v) {
    return static_cast<int>(std::lround(v));
}

}  // namespace

QtCanvas::QtCanvas(QPaintDevice& device) : own_painter_(std::make_unique<QPainter>()) {
    own_painter_->begin(&device);
    painter_ = own_painter_.get();
    Setup(device);
}

QtCanvas::QtCanvas(QPainter& painter) : painter_(&painter) {
    painter_->save();
    Setup(*painter.device());
}

QtCanvas::~QtCanvas() {
    if (own_painter_) {
        End();
    } else if (painter_) {
        painter_->restore();
    }
}

void QtCanvas::End() {
    if (own_painter_ && own_painter_->isActive()) own_painter_->end();
}

void QtCanvas::Setup(QPaintDevice& device) {
    device_ = &device;
    dpi_ = std::max(device.logicalDpiY(), 1);
    const int dpi_x = std::max(device.logicalDpiX(), 1);
    // Printers and PDF writers are the paged devices.
    printer_ = dynamic_cast<const QPagedPaintDevice*>(&device) != nullptr;
    if (const auto* printer = dynamic_cast<const QPrinter*>(&device)) {
        monochrome_ = printer->colorMode() == QPrinter::GrayScale;
    } else {
        monochrome_ = device.depth() == 1;
    }
    base_transform_ = painter_->transform();
    base_clipping_ = painter_->hasClipping();
    if (base_clipping_) base_clip_ = painter_->clipPath();
    if (dpi_x != kLogicalDpi || dpi_ != kLogicalDpi) {
        painter_->scale(static_cast<qreal>(dpi_x) / kLogicalDpi,
                        static_cast<qreal>(dpi_) / kLogicalDpi);
    }
    // Crisp shapes as on the screen of a report; text keeps its smoothing.
    painter_->setRenderHint(QPainter::Antialiasing, false);
    painter_->setRenderHint(QPainter::TextAntialiasing, true);
    painter_->setRenderHint(QPainter::SmoothPixmapTransform, false);
    FontChanged();
}

QtCanvas::FontEntry::FontEntry(const FontSpec& wanted, int dpi, QPaintDevice* device)
    : font(wanted), qfont(MakeQFont(wanted, dpi)), qmetrics(qfont, device) {
    face = &FontFace::Of(qfont);
    // Qt's font engines draw at whole pixels per em of the painter's space, which is
    // logical pixels on every device.
    const double points = wanted.size_pt > 0 ? wanted.size_pt : 12.0;
    pixels_per_em = std::max(1.0, std::round(points * kLogicalDpi / 72.0));
    metrics.ascent = Round(qmetrics.ascent());
    metrics.descent = Round(qmetrics.descent());
    metrics.height = metrics.ascent + metrics.descent;
    metrics.external_leading = std::max(0, Round(qmetrics.leading()));
    metrics.average_char_width = Round(qmetrics.averageCharWidth());
    metrics.max_char_width = Round(qmetrics.maxWidth());
    metrics.overhang = 0;
}

void QtCanvas::FontChanged() {
    const FontSpec& wanted = Font();
    auto same = [&](const FontSpec& f) {
        return f.size_pt == wanted.size_pt && f.bold == wanted.bold && f.italic == wanted.italic &&
               f.underline == wanted.underline && f.strike_out == wanted.strike_out &&
               f.fixed_pitch == wanted.fixed_pitch && f.name == wanted.name;
    };
    if (font_ && same(font_->font)) return;
    auto it =
        std::find_if(fonts_.begin(), fonts_.end(), [&](const auto& e) { return same(e->font); });
    if (it == fonts_.end()) {
        // Documents use a handful of fonts; a long list means they keep changing.
        if (fonts_.size() >= 32) fonts_.pop_back();
        fonts_.insert(fonts_.begin(), std::make_unique<FontEntry>(wanted, dpi_, device_));
    } else if (it != fonts_.begin()) {
        std::rotate(fonts_.begin(), it, it + 1);
    }
    font_ = fonts_.front().get();
}

FontMetrics QtCanvas::Metrics() {
    return font_->metrics;
}

int QtCanvas::TextWidth(std::u32string_view text) {
    if (text.empty()) return 0;
    FontFace& face = *font_->face;
    std::int64_t units = 0;
    if (face.SimpleAdvance(text, units)) {
        return Round(static_cast<double>(units) * font_->pixels_per_em / face.UnitsPerEm());
    }
    return Round(font_->qmetrics.horizontalAdvance(ToQString(text)));
}

void QtCanvas::TextPrefixWidths(std::u32string_view text, std::vector<int>& widths) {
    widths.resize(text.size());
    if (text.empty()) return;
    // Simple text: the advances added up in one pass, until a character needs shaping.
    FontFace& face = *font_->face;
    const double scale = font_->pixels_per_em / face.UnitsPerEm();
    std::int64_t sum = 0;
    std::size_t simple = 0;
    for (; simple < text.size(); ++simple) {
        const FontFace::Glyph g = face.Lookup(text[simple]);
        if (g.id == 0) break;
        sum += g.advance;
        widths[simple] = Round(static_cast<double>(sum) * scale);
    }
    if (simple == text.size()) return;
    const QString s = ToQString(text);
    // One shaping pass for the whole run; the advance after each character is the x of
    // the cursor behind it.
    QTextLayout layout(s, font_->qfont, device_);
    const QTextLine line = LayOutUnwrapped(layout);
    int utf16 = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        utf16 += text[i] > 0xFFFF ? 2 : 1;
        widths[i] = Round(line.cursorToX(utf16));
    }
    // Every prefix is at most as wide as its successor, whatever the shaper's rounding.
    for (std::size_t i = 1; i < widths.size(); ++i) widths[i] = std::max(widths[i], widths[i - 1]);
}

double QtCanvas::ExactTextWidth(std::u32string_view text) const {
    FontFace& face = *font_->face;
    std::int64_t units = 0;
    if (face.SimpleAdvance(text, units)) {
        return static_cast<double>(units) * font_->pixels_per_em / face.UnitsPerEm();
    }
    return font_->qmetrics.horizontalAdvance(ToQString(text));
}

QRectF QtCanvas::VisibleArea() const {
    QRectF area;
    if (const QPaintDevice* device = painter_->device()) {
        area = painter_->worldTransform().inverted().mapRect(
            QRectF(0, 0, device->width(), device->height()));
    }
    if (painter_->hasClipping()) area = area.intersected(painter_->clipBoundingRect());
    return area;
}

void QtCanvas::DoDrawText(Point at, std::u32string_view text, std::optional<Color> background) {
    painter_->setFont(font_->qfont);
    painter_->setPen(ToQColor(Font().color));
    const double baseline = at.y + font_->metrics.ascent;
    if (text.size() <= kLongRun) {
        if (background) {
            painter_->fillRect(QRectF(at.x, at.y, TextWidth(text), font_->metrics.height),
                               ToQColor(*background));
        }
        painter_->drawText(QPointF(at.x, baseline), ToQString(text));
        return;
    }
    // A long run (a word of megabytes) is drawn in pieces, and only the pieces that can be
    // seen: Qt shapes a string whole and keeps the glyphs of all of it while it draws.
    const QRectF visible = VisibleArea();
    double x = at.x;
    for (std::size_t i = 0; i < text.size() && x <= visible.right(); i += kLongRun) {
        const std::u32string_view piece = text.substr(i, kLongRun);
        const double width = ExactTextWidth(piece);
        if (x + width >= visible.left()) {
            if (background) {
                painter_->fillRect(QRectF(x, at.y, width, font_->metrics.height),
                                   ToQColor(*background));
            }
            painter_->drawText(QPointF(x, baseline), ToQString(piece));
        }
        x += width;
    }
}

void QtCanvas::DoFillRect(const Rect& r, Color color) {
    painter_->fillRect(ToQRectF(r), ToQColor(color));
}

void QtCanvas::DoDrawLine(Point from, Point to, Color color, int width) {
    if (const auto r = StraightLineRect(from, to, width)) {
        DoFillRect(*r, color);
        return;
    }
    // A flat cap ends the line at the centre of its end pixel.
    QPen pen(ToQColor(color), width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    painter_->setPen(pen);
    painter_->drawLine(QPointF(from.x + 0.5, from.y + 0.5), QPointF(to.x + 0.5, to.y + 0.5));
}

void QtCanvas::DoFillPolygon(const std::vector<Point>& points, Color color) {
    QPolygon polygon;
    polygon.reserve(static_cast<qsizetype>(points.size()));
    for (const Point& p : points) polygon.append(QPoint(p.x, p.y));
    painter_->setPen(Qt::NoPen);
    painter_->setBrush(ToQColor(color));
    painter_->drawPolygon(polygon, Qt::WindingFill);
    painter_->setBrush(Qt::NoBrush);
}

void QtCanvas::DoFillEllipse(const Rect& r, Color color) {
    painter_->setPen(Qt::NoPen);
    painter_->setBrush(ToQColor(color));
    painter_->drawEllipse(ToQRectF(r));
    painter_->setBrush(Qt::NoBrush);
}

void QtCanvas::DoFrameEllipse(const Rect& r, Color color, int width) {
    const qreal half = width / 2.0;
    painter_->setPen(QPen(ToQColor(color), width));
    painter_->setBrush(Qt::NoBrush);
    painter_->drawEllipse(
        QRectF(r.left + half, r.top + half, r.Width() - width, r.Height() - width));
}

void QtCanvas::DoDrawImage(const Rect& dest, const RgbaImage& image, const Rect& source) {
    // Wraps the pixels without copying them: RgbaImage holds R, G, B, A bytes with straight
    // alpha, which is Format_RGBA8888.
    const QImage view(reinterpret_cast<const uchar*>(image.Pixels().data()), image.Width(),
                      image.Height(), static_cast<qsizetype>(image.Width()) * 4,
                      QImage::Format_RGBA8888);
    painter_->drawImage(ToQRectF(dest), view, ToQRectF(source));
}

void QtCanvas::ClipChanged(const std::optional<Rect>& clip) {
    if (base_clipping_) {
        const QTransform scaled = painter_->transform();
        painter_->setTransform(base_transform_);
        painter_->setClipPath(base_clip_);
        painter_->setTransform(scaled);
    } else {
        painter_->setClipping(false);
    }
    if (clip) {
        painter_->setClipRect(ToQRectF(*clip),
                              base_clipping_ ? Qt::IntersectClip : Qt::ReplaceClip);
    }
}

QtImageCanvas::QtImageCanvas(int width, int height, Color background, int dpi)
    : detail::ImageHolder{[&] {
          QImage image(std::max(width, 1), std::max(height, 1), QImage::Format_ARGB32);
          const int dpm = static_cast<int>(std::lround(dpi / 0.0254));
          image.setDotsPerMeterX(dpm);
          image.setDotsPerMeterY(dpm);
          image.fill(ToQColor(background));
          return image;
      }()},
      QtCanvas(image) {}

const QImage& QtImageCanvas::Image() {
    End();
    return image;
}

QTextLine LayOutUnwrapped(QTextLayout& layout) {
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(1e9);
    layout.endLayout();
    return line;
}

std::unique_ptr<Canvas> MakeMeasuringCanvas() {
    return std::make_unique<QtImageCanvas>(1, 1);
}

}  // namespace quillon
