#pragma once
// The host of windowed applications: message boxes, the printers known to the print system,
// the printer set-up dialog, the review of a message to be mailed, a progress window, and
// processing pending events. Needs a QApplication.
//
// Without an installed printer the print dialog with a page range (the viewer's printer
// set-up) still opens: its printer is then a PDF file, the one destination there is. The
// report's own set-up before a run needs a printer.

#include <memory>
#include <vector>

#include <QPrinter>
#include <QPrinterInfo>

#include "platform/core/host_services.h"

class QWidget;

namespace quillon {

class QtHost : public HostServices {
  public:
    // parent: the window that dialogs are modal to (may be nullptr).
    explicit QtHost(QWidget* parent = nullptr);
    ~QtHost() override;

    int MessageDlg(std::string_view message, TMsgDlgType type, TMsgDlgButtons buttons) override;
    void ProcessMessages() override;

    std::vector<PrinterInfo> Printers() const override;
    int CurrentPrinter() const override { return current_; }
    bool SetCurrentPrinter(int index) override;
    TPrinterOrientation PrinterOrientation() const override;
    void SetPrinterOrientation(TPrinterOrientation orientation) override;
    bool PrinterSetupDialog() override;
    bool PrintRangeDialog(int& FromPage, int& ToPage) override;
    bool ReviewMail(MailReview& message) override;

    std::unique_ptr<ProgressWindow> CreateProgressWindow(const ProgressWindowTexts& texts) override;

    // The printer of the current choice (printer, paper, orientation), for print jobs.
    QPrinter& Printer() { return *printer_; }
    // Re-reads the installed printers (they are read once, when the host is made).
    void RefreshPrinters();
    // Uses these printers instead of the installed ones (none: PDF files only).
    void SetPrinters(QList<QPrinterInfo> printers);

  private:
    // Without printers the printer becomes a PDF printer (named after the current
    // folder's report.pdf unless it names a file already).
    void PdfWhenNoPrinter();
    void TakeChosenPrinter();

    QWidget* parent_;
    QList<QPrinterInfo> printers_;
    int current_ = -1;
    std::unique_ptr<QPrinter> printer_;
};

}  // namespace quillon
