#include "html/view/qt/vw_printer.h"

#include <cstdio>

#include <QPageSize>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>

namespace quillon {

std::unique_ptr<TvwPrinter> TvwPrinter::ForPrinter(const std::string& printer_name) {
    std::unique_ptr<TvwPrinter> p(new TvwPrinter());
    p->printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (!printer_name.empty()) p->printer_->setPrinterName(QString::fromStdString(printer_name));
    p->printer_->setFullPage(false);
    p->device_ = p->printer_.get();
    return p;
}

std::unique_ptr<TvwPrinter> TvwPrinter::ForPdf(const std::string& path, int dpi) {
    std::unique_ptr<TvwPrinter> p(new TvwPrinter());
    p->pdf_ = std::make_unique<QPdfWriter>(QString::fromStdString(path));
    p->pdf_->setResolution(dpi);
    p->pdf_->setCreator(QStringLiteral("Quillon"));
    p->pdf_path_ = path;
    p->device_ = p->pdf_.get();
    p->SetPage(QPageSize(QPageSize::A4), QPageLayout::Portrait);
    return p;
}

TvwPrinter::~TvwPrinter() {
    if (printing_) EndDoc();
}

void TvwPrinter::SetPage(const QPageSize& size, QPageLayout::Orientation orientation) {
    CheckPrinting(false);
    if (pdf_) {
        pdf_->setPageLayout(QPageLayout(size, orientation, QMarginsF(0, 0, 0, 0)));
        return;
    }
    printer_->setPageSize(size);
    printer_->setPageOrientation(orientation);
    QPageLayout layout = printer_->pageLayout();
    layout.setMargins(layout.minimumMargins());
    printer_->setPageLayout(layout);
}

void TvwPrinter::CheckPrinting(bool expected) const {
    if (printing_ == expected) return;
    throw EPrintError(expected ? "no print job is open" : "a print job is already open");
}

void TvwPrinter::BeginDoc() {
    CheckPrinting(false);
    if (printer_) {
        if (!printer_->isValid()) throw EPrintError("no printer is available to print on");
        printer_->setDocName(QString::fromStdString(title_));
    } else {
        pdf_->setTitle(QString::fromStdString(title_));
    }
    if (!painter_.begin(device_)) {
        throw EPrintError(pdf_ ? "cannot write the PDF file " + pdf_path_
                               : "the printer refused the print job");
    }
    printing_ = true;
    aborted_ = false;
    page_number_ = 1;
}

void TvwPrinter::NewPage() {
    CheckPrinting(true);
    if (!device_->newPage()) throw EPrintError("the printer cannot start a new page");
    ++page_number_;
}

void TvwPrinter::EndDoc() {
    CheckPrinting(true);
    painter_.end();
    printing_ = false;
    page_number_ = 0;
}

void TvwPrinter::Abort() {
    CheckPrinting(true);
    if (printer_) printer_->abort();
    aborted_ = true;
    painter_.end();
    // An aborted PDF is no document: the half-written file goes.
    if (pdf_) std::remove(pdf_path_.c_str());
    printing_ = false;
    page_number_ = 0;
}

QPainter& TvwPrinter::Painter() {
    CheckPrinting(true);
    return painter_;
}

PageDevice TvwPrinter::Device() const {
    PageDevice d;
    const QPageLayout layout = device_->pageLayout();
    const int dpi = printer_ ? printer_->resolution() : pdf_->resolution();
    const QRect full = layout.fullRectPixels(dpi);
    const QRect paint = layout.paintRectPixels(dpi);
    d.DpiX = d.DpiY = dpi;
    d.PageWidth = paint.width();
    d.PageHeight = paint.height();
    d.PhysicalWidth = full.width();
    d.PhysicalHeight = full.height();
    d.OffsetX = paint.left() - full.left();
    d.OffsetY = paint.top() - full.top();
    return d;
}

namespace {

std::unique_ptr<TvwPrinter>& CurrentPrinter() {
    static std::unique_ptr<TvwPrinter> current;
    return current;
}

}  // namespace

TvwPrinter& vwPrinter() {
    auto& current = CurrentPrinter();
    if (!current) current = TvwPrinter::ForPrinter();
    return *current;
}

std::unique_ptr<TvwPrinter> vwSetPrinter(std::unique_ptr<TvwPrinter> p) {
    auto& current = CurrentPrinter();
    std::swap(current, p);
    return p;
}

}  // namespace quillon
