#pragma once
// Page targets over Qt: a `TvwPrinter` job (system printer or PDF file), a PDF file written
// directly, and page images (one PNG file per page). All lay the document out on a Qt canvas
// measuring like the screen, unless another layout canvas is given (the fixed-metric one,
// for exact tests).

#include <memory>
#include <string>
#include <vector>

#include <QImage>
#include <QPageSize>
#include <QPainter>

#include "html/view/page_target.h"
#include "html/view/qt/vw_printer.h"

namespace quillon {

class QtCanvas;
class PdfCanvas;
class FixedMetricCanvas;
namespace pdf {
class PdfWriter;
}

class QtPageTargetBase : public PageTarget {
  public:
    QtPageTargetBase();
    ~QtPageTargetBase() override;
    Canvas& LayoutCanvas() override { return *layout_; }
    void SetLayoutCanvas(std::unique_ptr<Canvas> canvas) { layout_ = std::move(canvas); }
    // Pages are drawn with the fixed metrics of the fixed-metric layout canvas (a
    // fixed-pitch face in cells of its advance), so that a document laid out with them
    // shows on the sheet where its layout put it.
    void SetFixedMetricPages(bool on) { fixed_pages_ = on; }

  protected:
    // A canvas over the painter whose unit is 1/screen_dpi inch.
    std::unique_ptr<QtCanvas> MakePageCanvas(QPainter& painter, int screen_dpi);
    // What a page is drawn on: the page canvas, or its fixed-metric view.
    Canvas& Drawn(Canvas& page);
    // The page canvas goes: its view goes with it.
    void ForgetDrawn();

  private:
    std::unique_ptr<Canvas> layout_;
    bool fixed_pages_ = false;
    std::unique_ptr<FixedMetricCanvas> fixed_;
};

// Prints through a printer object (not owned).
class PrinterPageTarget : public QtPageTargetBase {
  public:
    explicit PrinterPageTarget(TvwPrinter& printer);
    ~PrinterPageTarget() override;
    PageDevice Device() override { return printer_.Device(); }
    void BeginDoc(const std::string& title, int screen_dpi, int NumPage) override;
    Canvas& PageCanvas() override;
    void NewPage(int NumPage) override;
    void EndDoc() override;
    void Abort() override;

  private:
    TvwPrinter& printer_;
    std::unique_ptr<QtCanvas> canvas_;
};

// One PNG file per page, named page-0001.png after the page's number, in a folder.
class PngPageTarget : public QtPageTargetBase {
  public:
    PngPageTarget(std::string folder, const QPageSize& size, QPageLayout::Orientation orientation,
                  int dpi = Canvas::kLogicalDpi);
    ~PngPageTarget() override;
    PageDevice Device() override;
    void BeginDoc(const std::string& title, int screen_dpi, int NumPage) override;
    Canvas& PageCanvas() override;
    void NewPage(int NumPage) override;
    void EndDoc() override;
    void Abort() override;
    // The files written, in order.
    const std::vector<std::string>& Files() const { return files_; }

  private:
    void StartPage(int NumPage);
    void FinishPage();

    std::string folder_;
    QSize pixels_;
    int dpi_;
    int screen_dpi_ = Canvas::kLogicalDpi;
    int page_ = 0;
    QImage image_;
    std::unique_ptr<QPainter> painter_;
    std::unique_ptr<QtCanvas> canvas_;
    std::vector<std::string> files_;
};

// Writes the pages straight into a PDF file, each page going to the file as it ends: the
// fast way to a PDF, with memory that does not grow with the pages. The file is created
// when the job opens and removed again when the job is dropped or fails.
class PdfPageTarget : public QtPageTargetBase {
  public:
    PdfPageTarget(std::string path, const QPageSize& size, QPageLayout::Orientation orientation,
                  int dpi = 600);
    ~PdfPageTarget() override;
    PageDevice Device() override;
    void BeginDoc(const std::string& title, int screen_dpi, int NumPage) override;
    Canvas& PageCanvas() override;
    void NewPage(int NumPage) override;
    void EndDoc() override;
    void Abort() override;

  private:
    void StartPage();

    std::string path_;
    QPageLayout layout_;
    int dpi_;
    int screen_dpi_ = Canvas::kLogicalDpi;
    std::string title_;
    std::unique_ptr<pdf::PdfWriter> writer_;
    std::unique_ptr<PdfCanvas> canvas_;
};

}  // namespace quillon
