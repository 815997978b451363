#include "html/view/qt/page_targets.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/core/fixed_metric_canvas.h"
#include "platform/pdf/pdf_writer.h"
#include "platform/qt/pdf_canvas.h"
#include "platform/qt/qt_canvas.h"

namespace quillon {

QtPageTargetBase::QtPageTargetBase() : layout_(MakeMeasuringCanvas()) {}

QtPageTargetBase::~QtPageTargetBase() = default;

Canvas& QtPageTargetBase::Drawn(Canvas& page) {
    if (!fixed_pages_) return page;
    if (!fixed_ || &fixed_->Inner() != &page) fixed_ = std::make_unique<FixedMetricCanvas>(page);
    return *fixed_;
}

void QtPageTargetBase::ForgetDrawn() {
    fixed_.reset();
}

std::unique_ptr<QtCanvas> QtPageTargetBase::MakePageCanvas(QPainter& painter, int screen_dpi) {
    // The canvas maps 1/96 inch to the device; a screen of another resolution makes its
    // pixels larger or smaller on paper.
    painter.resetTransform();
    if (screen_dpi > 0 && screen_dpi != Canvas::kLogicalDpi) {
        const qreal f = static_cast<qreal>(Canvas::kLogicalDpi) / screen_dpi;
        painter.scale(f, f);
    }
    return std::make_unique<QtCanvas>(painter);
}

PrinterPageTarget::PrinterPageTarget(TvwPrinter& printer) : printer_(printer) {}

PrinterPageTarget::~PrinterPageTarget() {
    ForgetDrawn();
    canvas_.reset();
}

void PrinterPageTarget::BeginDoc(const std::string& title, int screen_dpi, int /*NumPage*/) {
    if (!title.empty()) printer_.SetTitle(title);
    printer_.BeginDoc();
    canvas_ = MakePageCanvas(printer_.Painter(), screen_dpi);
}

Canvas& PrinterPageTarget::PageCanvas() {
    printer_.CheckPrinting(true);
    return Drawn(*canvas_);
}

void PrinterPageTarget::NewPage(int /*NumPage*/) {
    printer_.NewPage();
}

void PrinterPageTarget::EndDoc() {
    ForgetDrawn();
    canvas_.reset();
    printer_.EndDoc();
}

void PrinterPageTarget::Abort() {
    ForgetDrawn();
    canvas_.reset();
    printer_.Abort();
}

PngPageTarget::PngPageTarget(std::string folder, const QPageSize& size,
                             QPageLayout::Orientation orientation, int dpi)
    : folder_(std::move(folder)), dpi_(std::max(dpi, 1)) {
    // Rounded, not cut: A4 at 96 dpi is 794 x 1123.
    const QSizeF mm = size.size(QPageSize::Millimeter);
    pixels_ = QSize(static_cast<int>(std::lround(mm.width() / 25.4 * dpi_)),
                    static_cast<int>(std::lround(mm.height() / 25.4 * dpi_)));
    if (orientation == QPageLayout::Landscape) pixels_.transpose();
}

PngPageTarget::~PngPageTarget() {
    ForgetDrawn();
    canvas_.reset();
    painter_.reset();
}

PageDevice PngPageTarget::Device() {
    PageDevice d;
    d.PageWidth = d.PhysicalWidth = pixels_.width();
    d.PageHeight = d.PhysicalHeight = pixels_.height();
    d.DpiX = d.DpiY = dpi_;
    return d;
}

void PngPageTarget::StartPage(int NumPage) {
    page_ = NumPage;
    image_ = QImage(pixels_, QImage::Format_RGB32);
    const int dpm = static_cast<int>(dpi_ / 0.0254 + 0.5);
    image_.setDotsPerMeterX(dpm);
    image_.setDotsPerMeterY(dpm);
    image_.fill(Qt::white);
    painter_ = std::make_unique<QPainter>(&image_);
    canvas_ = MakePageCanvas(*painter_, screen_dpi_);
}

void PngPageTarget::FinishPage() {
    ForgetDrawn();
    canvas_.reset();
    if (painter_) painter_->end();
    painter_.reset();
    char name[32];
    std::snprintf(name, sizeof name, "/page-%04d.png", page_);
    const std::string path = folder_ + name;
    if (!image_.save(QString::fromStdString(path), "PNG")) {
        throw EPrintError("cannot write the page image " + path);
    }
    files_.push_back(path);
}

void PngPageTarget::BeginDoc(const std::string& /*title*/, int screen_dpi, int NumPage) {
    if (painter_) throw EPrintError("a print job is already open");
    screen_dpi_ = screen_dpi;
    files_.clear();
    StartPage(NumPage);
}

Canvas& PngPageTarget::PageCanvas() {
    if (!canvas_) throw EPrintError("no print job is open");
    return Drawn(*canvas_);
}

void PngPageTarget::NewPage(int NumPage) {
    if (!painter_) throw EPrintError("no print job is open");
    FinishPage();
    StartPage(NumPage);
}

void PngPageTarget::EndDoc() {
    if (!painter_) throw EPrintError("no print job is open");
    FinishPage();
}

void PngPageTarget::Abort() {
    ForgetDrawn();
    canvas_.reset();
    painter_.reset();
    for (const std::string& f : files_) std::remove(f.c_str());
    files_.clear();
}

PdfPageTarget::PdfPageTarget(std::string path, const QPageSize& size,
                             QPageLayout::Orientation orientation, int dpi)
    : path_(std::move(path)),
      layout_(size, orientation, QMarginsF(0, 0, 0, 0)),
      dpi_(std::max(dpi, 1)) {}

PdfPageTarget::~PdfPageTarget() {
    ForgetDrawn();
    canvas_.reset();
    writer_.reset();  // an unfinished file is removed
}

PageDevice PdfPageTarget::Device() {
    PageDevice d;
    const QRect full = layout_.fullRectPixels(dpi_);
    d.DpiX = d.DpiY = dpi_;
    d.PageWidth = d.PhysicalWidth = full.width();
    d.PageHeight = d.PhysicalHeight = full.height();
    return d;
}

void PdfPageTarget::StartPage() {
    const QRectF points = layout_.fullRect(QPageLayout::Point);
    canvas_->BeginPage(points.width(), points.height(), screen_dpi_);
}

void PdfPageTarget::BeginDoc(const std::string& title, int screen_dpi, int /*NumPage*/) {
    if (writer_) throw EPrintError("a print job is already open");
    screen_dpi_ = screen_dpi > 0 ? screen_dpi : Canvas::kLogicalDpi;
    title_ = title;
    try {
        writer_ = std::make_unique<pdf::PdfWriter>(path_);
    } catch (const pdf::PdfError& e) {
        throw EPrintError(e.what());
    }
    canvas_ = std::make_unique<PdfCanvas>(*writer_, dpi_);
    StartPage();
}

Canvas& PdfPageTarget::PageCanvas() {
    if (!canvas_) throw EPrintError("no print job is open");
    return Drawn(*canvas_);
}

void PdfPageTarget::NewPage(int /*NumPage*/) {
    if (!canvas_) throw EPrintError("no print job is open");
    try {
        canvas_->EndPage();
    } catch (const pdf::PdfError& e) {
        throw EPrintError(e.what());
    }
    StartPage();
}

void PdfPageTarget::EndDoc() {
    if (!canvas_) throw EPrintError("no print job is open");
    try {
        canvas_->EndPage();
        ForgetDrawn();
        canvas_.reset();
        writer_->Finish(title_);
        writer_.reset();
    } catch (const pdf::PdfError& e) {
        Abort();
        throw EPrintError(e.what());
    }
}

void PdfPageTarget::Abort() {
    ForgetDrawn();
    canvas_.reset();
    if (writer_) writer_->Abort();
    writer_.reset();
}

}  // namespace quillon
