#include "viewers/print_destination.h"

#include <QPrintDialog>
#include <QPrinter>
#include <system_error>

#include "html/view/qt/vw_printer.h"
#include "platform/qt/print_page_range.h"

namespace quillon {

namespace {

std::optional<std::filesystem::file_time_type> WriteTime(const std::string& file) {
    std::error_code ec;
    const auto time = std::filesystem::last_write_time(file, ec);
    if (ec) return std::nullopt;
    return time;
}

}  // namespace

bool RunPrintDialog(QPrinter& printer, int& FromPage, int& ToPage, QWidget* parent) {
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    OfferPageRange(dialog, FromPage, ToPage, true);
    if (dialog.exec() != QDialog::Accepted) return false;
    TakePageRange(dialog, FromPage, ToPage);
    return true;
}

std::string DefaultPdfFile(const std::string& document) {
    std::filesystem::path path(document.empty() ? std::string("report") : document);
    path.replace_extension(".pdf");
    return path.string();
}

void SelectPdfOutput(QPrinter& printer, const std::string& default_file) {
    const bool has_file =
        printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty();
    printer.setOutputFormat(QPrinter::PdfFormat);
    if (!has_file) printer.setOutputFileName(QString::fromStdString(default_file));
}

ScopedPrintOutput::ScopedPrintOutput(const QPrinter& printer) {
    const QPageLayout layout = printer.pageLayout();
    std::unique_ptr<TvwPrinter> output;
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        pdf_file_ = printer.outputFileName().toStdString();
        if (pdf_file_.empty()) throw EPrintError("no PDF file was named to print to");
        before_ = WriteTime(pdf_file_);
        output = TvwPrinter::ForPdf(pdf_file_);
    } else {
        output = TvwPrinter::ForPrinter(printer.printerName().toStdString());
    }
    output->SetPage(layout.pageSize(), layout.orientation());
    previous_ = vwSetPrinter(std::move(output));
}

ScopedPrintOutput::~ScopedPrintOutput() {
    vwSetPrinter(std::move(previous_));
}

bool ScopedPrintOutput::PdfWritten() const {
    if (pdf_file_.empty()) return false;
    std::error_code ec;
    if (std::filesystem::file_size(pdf_file_, ec) == 0 || ec) return false;
    const auto now = WriteTime(pdf_file_);
    return now && (!before_ || *now != *before_);
}

}  // namespace quillon
