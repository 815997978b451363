#pragma once
// `TvwPrinter`: the printer object of the viewer control, a print job on a system printer
// (QPrinter, through the system's print service) or on a PDF file (QPdfWriter). One job at
// a time: BeginDoc opens it with its first page, NewPage turns the page, EndDoc delivers it,
// Abort drops it. Calls out of order throw EPrintError.
// The README's glossary of inherited names explains this and its neighbours.

#include <memory>
#include <string>

#include <QPageLayout>
#include <QPainter>

#include "html/view/page_geometry.h"
#include "html/view/print_settings.h"

class QPagedPaintDevice;
class QPrinter;
class QPdfWriter;

namespace quillon {

class TvwPrinter {
  public:
    // The system printer of that name (empty: the default printer).
    static std::unique_ptr<TvwPrinter> ForPrinter(const std::string& printer_name = {});
    // A PDF file, written while the job runs and complete when it ends.
    static std::unique_ptr<TvwPrinter> ForPdf(const std::string& path, int dpi = 600);
    ~TvwPrinter();
    TvwPrinter(const TvwPrinter&) = delete;
    TvwPrinter& operator=(const TvwPrinter&) = delete;

    // The job's name (a PDF file's title).
    const std::string& Title() const { return title_; }
    void SetTitle(std::string title) { title_ = std::move(title); }
    // Paper size and orientation; a printer keeps its own unprintable strips as margins,
    // a PDF page is printable to its edges. Not while a job is open.
    void SetPage(const QPageSize& size, QPageLayout::Orientation orientation);

    // A PDF file rather than a system printer, and that file's path (empty for a printer).
    bool IsPdf() const { return pdf_ != nullptr; }
    const std::string& PdfPath() const { return pdf_path_; }
    bool Printing() const { return printing_; }
    bool Aborted() const { return aborted_; }
    // 1 after BeginDoc, one more per NewPage, 0 after EndDoc.
    int PageNumber() const { return page_number_; }

    void BeginDoc();
    void NewPage();
    void EndDoc();
    void Abort();
    // Throws unless a job is open (expected true) or none is (expected false).
    void CheckPrinting(bool expected) const;

    // The printable area in device pixels and the device's facts.
    int PageWidth() const { return Device().PageWidth; }
    int PageHeight() const { return Device().PageHeight; }
    PageDevice Device() const;
    // The painter of the open job.
    QPainter& Painter();
    QPagedPaintDevice& PaintDevice() { return *device_; }

  private:
    TvwPrinter() = default;

    std::unique_ptr<QPrinter> printer_;
    std::unique_ptr<QPdfWriter> pdf_;
    QPagedPaintDevice* device_ = nullptr;
    std::string pdf_path_;
    std::string title_;
    QPainter painter_;
    bool printing_ = false;
    bool aborted_ = false;
    int page_number_ = 0;
};

// The process-wide current printer (a default system printer, made on first use).
TvwPrinter& vwPrinter();
// Makes p current and returns the previous one.
std::unique_ptr<TvwPrinter> vwSetPrinter(std::unique_ptr<TvwPrinter> p);

}  // namespace quillon
