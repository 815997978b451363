// Print from the viewer window's button and menu: straight to the printer, or, on a machine
// without one, through the print dialog into a PDF file.

#include <QPrinter>

#include "html/view/qt/vw_printer.h"
#include "viewers/wwwrep_viewer.h"

namespace quillon {

namespace {

// The page range of one print, put back afterwards: the range chosen in the print dialog
// is not the window's printer set-up.
class ScopedPageRange {
  public:
    ScopedPageRange(int& from, int& to, int new_from, int new_to)
        : from_(from), to_(to), saved_from_(from), saved_to_(to) {
        from_ = new_from;
        to_ = new_to;
    }
    ~ScopedPageRange() {
        from_ = saved_from_;
        to_ = saved_to_;
    }
    ScopedPageRange(const ScopedPageRange&) = delete;
    ScopedPageRange& operator=(const ScopedPageRange&) = delete;

  private:
    int& from_;
    int& to_;
    int saved_from_;
    int saved_to_;
};

}  // namespace

void TCustomWWWRepViewer::PrintClicked(QObject* Sender) {
    // The dialog is for a machine without printers; an application that gave the window a
    // printer of its own, or pointed the viewer control at a PDF file, has chosen already.
    if (!FHost.Printers().empty() || FPrinter != nullptr || vwPrinter().IsPdf()) {
        ThePrintClick(Sender);
        return;
    }
    QPrinter& printer = Printer();
    SelectPdfOutput(printer, DefaultPdfFile(CurrentFile()));
    int from = FFromPage;
    int to = FToPage;
    const bool confirmed =
        FPrintDialog ? FPrintDialog(printer, from, to) : RunPrintDialog(printer, from, to, &Form());
    if (!confirmed) return;

    const ScopedPrintOutput output(printer);
    {
        const ScopedPageRange range(FFromPage, FToPage, from, to);
        ThePrintClick(Sender);
    }
    if (output.PdfFile().empty()) return;
    if (output.PdfWritten()) {
        ShowMessage("The report was printed to " + output.PdfFile());
    } else {
        FHost.MessageDlg("The PDF file " + output.PdfFile() + " was not written.",
                         TMsgDlgType::mtError, mbOK);
    }
}

}  // namespace quillon
