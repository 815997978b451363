#pragma once
// The host of windowed applications: message boxes, the printers known to the print system,
// the printer set-up dialog, a progress window, and processing pending events. Needs a
// QApplication.

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

    std::unique_ptr<ProgressWindow> CreateProgressWindow(const ProgressWindowTexts& texts) override;

    // The printer of the current choice (printer, paper, orientation), for print jobs.
    QPrinter& Printer() { return *printer_; }
    // Re-reads the installed printers (they are read once, when the host is made).
    void RefreshPrinters();

  private:
    QWidget* parent_;
    QList<QPrinterInfo> printers_;
    int current_ = -1;
    std::unique_ptr<QPrinter> printer_;
};

}  // namespace quillon
