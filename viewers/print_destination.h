#pragma once
// Where the viewer window prints when the machine has no printer: the print dialog opens with
// PDF output chosen (a file beside the report, same name, .pdf), the page range of the
// window's printer set-up filled in, and the print goes to the file the user confirms.
//
// The dialog is one step that a viewer takes through a PrintDialogStep, so that tests and
// applications can answer it without a modal window.

#include <QPageLayout>
#include <QPageSize>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QPrinter;
class QWidget;

namespace quillon {

class TvwPrinter;

// Shows the print dialog for printer with the page range FromPage..ToPage (9999: to the
// end); true when the user confirmed, with printer and the range as chosen.
using PrintDialogStep = std::function<bool(QPrinter& printer, int& FromPage, int& ToPage)>;

// The Qt print dialog, modal to parent: the printer's PDF output (with its file name) is
// the selected destination when printer is set to PDF; the whole document is chosen unless
// the range is narrower than 1..9999.
bool RunPrintDialog(QPrinter& printer, int& FromPage, int& ToPage, QWidget* parent);

// The PDF file a document prints to when nothing else was chosen: beside it, with its name
// and the extension .pdf ("report.pdf" for an unnamed document, in the current folder).
std::string DefaultPdfFile(const std::string& document);

// Sets printer to PDF output; a printer already writing a PDF keeps its file name, any
// other gets default_file.
void SelectPdfOutput(QPrinter& printer, const std::string& default_file);

// For its lifetime, the viewer control prints where printer points (a PDF file, or the
// system printer it names) on the printer's paper and orientation; the previous current
// printer comes back afterwards.
class ScopedPrintOutput {
  public:
    explicit ScopedPrintOutput(const QPrinter& printer);
    ~ScopedPrintOutput();
    ScopedPrintOutput(const ScopedPrintOutput&) = delete;
    ScopedPrintOutput& operator=(const ScopedPrintOutput&) = delete;

    // The PDF file printed to (empty for a system printer).
    const std::string& PdfFile() const { return pdf_file_; }
    // The PDF file was written (or rewritten) since this object was made.
    bool PdfWritten() const;

  private:
    std::unique_ptr<TvwPrinter> previous_;
    std::string pdf_file_;
    std::optional<std::filesystem::file_time_type> before_;
};

}  // namespace quillon
