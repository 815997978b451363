#include "platform/qt/pdf_canvas.h"

#include <algorithm>
#include <cmath>

#include <QGlyphRun>
#include <QString>
#include <QTextLayout>

namespace quillon {

namespace {
// Control points of a quarter ellipse drawn with one cubic curve.
constexpr double kKappa = 0.5522847498;
}  // namespace

PdfCanvas::PdfCanvas(pdf::PdfWriter& writer, int device_dpi)
    : writer_(writer), device_dpi_(std::max(device_dpi, 1)), measure_(1, 1) {
    FontChanged();
}

void PdfCanvas::BeginPage(double width_pt, double height_pt, int screen_dpi) {
    writer_.BeginPage(width_pt, height_pt);
    out_.emplace(writer_.Content());
    const double s = 72.0 / std::max(screen_dpi, 1);
    scale_ = s;
    page_h_ = height_pt;
    // y points down from the sheet's top, as on every other canvas.
    out_->Transform(s, 0, 0, -s, 0, height_pt);
    out_->Save();
    fill_.reset();
    stroke_.reset();
    line_width_ = 1;
}

void PdfCanvas::EndPage() {
    if (!out_) return;
    out_->Restore();
    out_.reset();
    writer_.EndPage();
}

void PdfCanvas::FontChanged() {
    measure_.SetFont(Font());
}

void PdfCanvas::Fill(Color color) {
    if (fill_ != color) {
        out_->FillColor(color);
        fill_ = color;
    }
}

void PdfCanvas::Stroke(Color color, double width) {
    if (stroke_ != color) {
        out_->StrokeColor(color);
        stroke_ = color;
    }
    if (line_width_ != width) {
        out_->LineWidth(width);
        line_width_ = width;
    }
}

int PdfCanvas::PdfFont(FontFace& face) {
    auto it = pdf_fonts_.find(&face);
    if (it != pdf_fonts_.end()) return it->second;
    pdf::FontInfo info;
    info.postscript_name = face.PostScriptName();
    info.bold = face.Bold();
    info.italic = face.Italic();
    info.serif = face.Serif();
    info.face = face.TrueType();
    const int index = writer_.AddFont(std::move(info));
    pdf_fonts_.emplace(&face, index);
    return index;
}

void PdfCanvas::DoDrawText(Point at, std::u32string_view text, std::optional<Color> background) {
    if (!out_ || text.empty()) return;
    const FontMetrics m = measure_.Metrics();
    if (background) {
        Fill(*background);
        out_->Rectangle(at.x, at.y, TextWidth(text), m.height);
        out_->Fill();
    }
    FontFace& face = measure_.CurrentFace();
    const double baseline = at.y + m.ascent;
    Fill(Font().color);
    if (face.TrueType() && face.IsSimple(text)) {
        const int font = PdfFont(face);
        out_->BeginText();
        out_->SetFont(writer_.FontResource(font), measure_.PixelsPerEm());
        out_->TextOrigin(at.x, baseline);
        out_->BeginGlyphs();
        for (const char32_t c : text) {
            const FontFace::Glyph g = face.Lookup(c);
            writer_.UseGlyph(font, g.id, c);
            out_->Glyph(g.id);
        }
        out_->EndGlyphs();
        out_->EndText();
    } else {
        DrawShapedText(at.x, baseline, text);
    }
    if (Font().underline || Font().strike_out) Decorations(at.x, baseline, TextWidth(text));
}

void PdfCanvas::DrawShapedText(double x, double baseline, std::u32string_view text) {
    const QString s = QString::fromUcs4(text.data(), static_cast<qsizetype>(text.size()));
    QTextLayout layout(s, measure_.CurrentQFont(), nullptr);
    const QTextLine line = LayOutUnwrapped(layout);
    const double ascent = line.ascent();
    // The glyphs stand for the whole text when it is copied or searched.
    out_->BeginActualText(std::u16string_view(reinterpret_cast<const char16_t*>(s.utf16()),
                                              static_cast<std::size_t>(s.size())));
    for (const QGlyphRun& run : layout.glyphRuns()) {
        const QRawFont raw = run.rawFont();
        FontFace& face = FontFace::Of(raw);
        const QList<quint32> glyphs = run.glyphIndexes();
        const QList<QPointF> places = run.positions();
        if (face.TrueType()) {
            const int font = PdfFont(face);
            out_->BeginText();
            out_->SetFont(writer_.FontResource(font), raw.pixelSize());
            for (qsizetype i = 0; i < glyphs.size() && i < places.size(); ++i) {
                const auto id = static_cast<std::uint16_t>(glyphs[i]);
                writer_.UseGlyph(font, id, 0);
                out_->TextOrigin(x + places[i].x(), baseline + places[i].y() - ascent);
                out_->BeginGlyphs();
                out_->Glyph(id);
                out_->EndGlyphs();
            }
            out_->EndText();
            continue;
        }
        // A face without TrueType outlines: its glyphs are drawn as shapes.
        for (qsizetype i = 0; i < glyphs.size() && i < places.size(); ++i) {
            const QPainterPath path = raw.pathForGlyph(glyphs[i]);
            const double gx = x + places[i].x(), gy = baseline + places[i].y() - ascent;
            for (int e = 0; e < path.elementCount(); ++e) {
                const QPainterPath::Element el = path.elementAt(e);
                if (el.isMoveTo()) {
                    out_->MoveTo(gx + el.x, gy + el.y);
                } else if (el.isLineTo()) {
                    out_->LineTo(gx + el.x, gy + el.y);
                } else if (el.isCurveTo() && e + 2 < path.elementCount()) {
                    const auto c2 = path.elementAt(e + 1), end = path.elementAt(e + 2);
                    out_->CurveTo(gx + el.x, gy + el.y, gx + c2.x, gy + c2.y, gx + end.x,
                                  gy + end.y);
                    e += 2;
                }
            }
            if (path.elementCount()) out_->Fill();
        }
    }
    out_->EndMarkedContent();
}

void PdfCanvas::Decorations(double x, double baseline, double width) {
    const QFontMetricsF& qm = measure_.CurrentQMetrics();
    const double thickness = std::max(qm.lineWidth(), 0.5);
    if (Font().underline) {
        out_->Rectangle(x, baseline + qm.underlinePos(), width, thickness);
        out_->Fill();
    }
    if (Font().strike_out) {
        out_->Rectangle(x, baseline - qm.strikeOutPos(), width, thickness);
        out_->Fill();
    }
}

void PdfCanvas::DoFillRect(const Rect& r, Color color) {
    if (!out_ || r.IsEmpty()) return;
    Fill(color);
    out_->Rectangle(r.left, r.top, r.Width(), r.Height());
    out_->Fill();
}

void PdfCanvas::DoDrawLine(Point from, Point to, Color color, int width) {
    if (!out_) return;
    if (const auto r = StraightLineRect(from, to, width)) {
        DoFillRect(*r, color);
        return;
    }
    Stroke(color, width);
    out_->MoveTo(from.x + 0.5, from.y + 0.5);
    out_->LineTo(to.x + 0.5, to.y + 0.5);
    out_->Stroke();
}

void PdfCanvas::DoFillPolygon(const std::vector<Point>& points, Color color) {
    if (!out_ || points.size() < 3) return;
    Fill(color);
    out_->MoveTo(points[0].x, points[0].y);
    for (std::size_t i = 1; i < points.size(); ++i) out_->LineTo(points[i].x, points[i].y);
    out_->ClosePath();
    out_->Fill();
}

void PdfCanvas::EllipsePath(double left, double top, double right, double bottom) {
    const double cx = (left + right) / 2, cy = (top + bottom) / 2;
    const double rx = (right - left) / 2, ry = (bottom - top) / 2;
    const double kx = rx * kKappa, ky = ry * kKappa;
    out_->MoveTo(cx + rx, cy);
    out_->CurveTo(cx + rx, cy + ky, cx + kx, cy + ry, cx, cy + ry);
    out_->CurveTo(cx - kx, cy + ry, cx - rx, cy + ky, cx - rx, cy);
    out_->CurveTo(cx - rx, cy - ky, cx - kx, cy - ry, cx, cy - ry);
    out_->CurveTo(cx + kx, cy - ry, cx + rx, cy - ky, cx + rx, cy);
    out_->ClosePath();
}

void PdfCanvas::DoFillEllipse(const Rect& r, Color color) {
    if (!out_ || r.IsEmpty()) return;
    Fill(color);
    EllipsePath(r.left, r.top, r.right, r.bottom);
    out_->Fill();
}

void PdfCanvas::DoFrameEllipse(const Rect& r, Color color, int width) {
    if (!out_ || r.IsEmpty()) return;
    Stroke(color, width);
    const double half = width / 2.0;
    EllipsePath(r.left + half, r.top + half, r.right - half, r.bottom - half);
    out_->Stroke();
}

void PdfCanvas::DoDrawImage(const Rect& dest, const RgbaImage& image, const Rect& source) {
    if (!out_ || dest.IsEmpty() || source.IsEmpty() || image.Width() <= 0 || image.Height() <= 0) {
        return;
    }
    const std::string& name = writer_.ImageResource(image);
    const double sx = static_cast<double>(dest.Width()) / source.Width();
    const double sy = static_cast<double>(dest.Height()) / source.Height();
    const double w = image.Width() * sx, h = image.Height() * sy;
    const double x = dest.left - source.left * sx, y = dest.top - source.top * sy;
    out_->Save();
    if (source != Rect{0, 0, image.Width(), image.Height()}) {
        out_->Rectangle(dest.left, dest.top, dest.Width(), dest.Height());
        out_->Clip();
    }
    // The image fills the unit square, its first row at the top.
    out_->Transform(w, 0, 0, -h, x, y + h);
    out_->Image(name);
    out_->Restore();
}

void PdfCanvas::ClipChanged(const std::optional<Rect>& clip) {
    if (!out_) return;
    out_->Restore();
    out_->Save();
    fill_.reset();
    stroke_.reset();
    line_width_ = 1;
    if (clip) {
        out_->Rectangle(clip->left, clip->top, clip->Width(), clip->Height());
        out_->Clip();
    }
}

pdf::PdfRect PdfCanvas::PageRect(const Rect& r) const {
    return pdf::PdfRect{r.left * scale_, PageY(r.bottom), r.right * scale_, PageY(r.top)};
}

void PdfCanvas::DoMarkLink(const Rect& area, std::string_view uri) {
    if (out_) writer_.AddUriLink(PageRect(area), uri);
}

void PdfCanvas::DoMarkJump(const Rect& area, std::string_view name) {
    if (out_) writer_.AddJumpLink(PageRect(area), name);
}

void PdfCanvas::DoMarkAnchor(std::string_view name, Point at) {
    if (out_) writer_.AddDestination(name, PageY(at.y));
}

void PdfCanvas::DoMarkHeading(int level, std::string_view title, Point at) {
    if (out_) writer_.AddOutlineItem(level, title, PageY(at.y));
}

}  // namespace quillon
