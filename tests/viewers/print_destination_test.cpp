// Printing from the viewer window on a machine without printers: the print dialog step
// (answered here without a window) with PDF output chosen beside the report, the page
// range of the printer set-up, the PDF written for the HTML and the text viewer, the
// messages that say where the report went or why it did not, and the printer set-up
// offering the same PDF file.

#include <gtest/gtest.h>

#include <QApplication>
#include <QPrintDialog>
#include <QPrinter>
#include <QTimer>
#include <QToolButton>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "engine/quillon.h"
#include "html/view/qt/vw_printer.h"
#include "tests/common/temp_dir.h"
#include "tests/viewers/viewer_test_support.h"
#include "viewers/html_report_viewer.h"
#include "viewers/print_destination.h"

namespace quillon {
namespace {

using testing::FlushDeletes;
using testing::RecordingHost;
using testing::ScriptedTxtViewer;
using testing::TempDir;

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// What the dialog step was offered, and how it answers.
struct DialogScript {
    bool called = false;
    bool pdf_offered = false;
    std::string offered_file;
    int offered_from = 0;
    int offered_to = 0;
    std::string answer_file;  // empty: keep the offered file
    int answer_from = 1;
    int answer_to = 9999;
    bool confirm = true;

    PrintDialogStep Step() {
        return [this](QPrinter& printer, int& from, int& to) {
            called = true;
            pdf_offered = printer.outputFormat() == QPrinter::PdfFormat;
            offered_file = printer.outputFileName().toStdString();
            offered_from = from;
            offered_to = to;
            if (!answer_file.empty())
                printer.setOutputFileName(QString::fromStdString(answer_file));
            from = answer_from;
            to = answer_to;
            return confirm;
        };
    }
};

// The machine's printer for the viewer control is a system printer (as on a desktop), so
// that the window decides where the print goes; the previous one comes back afterwards.
class NoPrinterTest : public ::testing::Test {
  protected:
    NoPrinterTest() : previous_(vwSetPrinter(TvwPrinter::ForPrinter())) {}
    ~NoPrinterTest() override {
        vwSetPrinter(std::move(previous_));
        FlushDeletes();
    }

    TempDir dir_;
    RecordingHost host_;
    std::unique_ptr<TvwPrinter> previous_;
};

std::string TwoPageReport() {
    return "<HTML><HEAD><TITLE>Sales</TITLE></HEAD><BODY><P>first page</P><PAGE>"
           "<P>second page</P></BODY></HTML>";
}

TEST_F(NoPrinterTest, PrintOffersAPdfBesideTheReportAndWritesTheFileConfirmed) {
    TrptHTMLViewer viewer("viewer", host_);
    TQuillon report("report", host_);
    report.SetViewerExt(&viewer);
    const std::string page = dir_.Write("sales.htm", TwoPageReport()).string();
    report.SetPrnFile(page);
    ASSERT_TRUE(report.LoadFirst());
    DialogScript dialog;
    viewer.SetPrintDialog(dialog.Step());

    // Cancelled: nothing printed, nothing said.
    dialog.confirm = false;
    viewer.Button(vbPrint).click();
    EXPECT_TRUE(dialog.called);
    EXPECT_TRUE(dialog.pdf_offered);
    EXPECT_EQ(dialog.offered_file, dir_.File("sales.pdf"));
    EXPECT_EQ(dialog.offered_from, 1);
    EXPECT_EQ(dialog.offered_to, 9999);
    EXPECT_FALSE(std::filesystem::exists(dir_.File("sales.pdf")));
    EXPECT_TRUE(host_.messages.empty());

    // Confirmed with another file and the second page only: the set-up's range is offered
    // and stays the set-up's afterwards.
    viewer.FFromPage = 1;
    viewer.FToPage = 2;
    dialog.confirm = true;
    dialog.answer_file = dir_.File("chosen.pdf");
    dialog.answer_from = 2;
    dialog.answer_to = 2;
    viewer.Button(vbPrint).click();
    EXPECT_EQ(dialog.offered_to, 2);
    EXPECT_EQ(viewer.FFromPage, 1);
    EXPECT_EQ(viewer.FToPage, 2);
    const std::string pdf = FileBytes(dir_.File("chosen.pdf"));
    ASSERT_EQ(pdf.rfind("%PDF", 0), 0u);
    ASSERT_EQ(host_.messages.size(), 1u);
    EXPECT_EQ(host_.messages[0].text, "The report was printed to " + dir_.File("chosen.pdf"));
    EXPECT_FALSE(vwPrinter().IsPdf()) << "the machine's printer is put back";

    // The next print offers the file chosen last.
    dialog.answer_file.clear();
    viewer.Button(vbPrint).click();
    EXPECT_EQ(dialog.offered_file, dir_.File("chosen.pdf"));
    report.SetViewerExt(nullptr);
}

TEST_F(NoPrinterTest, AFileThatCannotBeWrittenIsReportedInTheWindow) {
    TrptHTMLViewer viewer("viewer", host_);
    viewer.LoadFromFile(dir_.Write("r.htm", TwoPageReport()).string());
    DialogScript dialog;
    dialog.answer_file = dir_.File("no/such/folder/r.pdf");
    viewer.SetPrintDialog(dialog.Step());
    viewer.Button(vbPrint).click();
    ASSERT_EQ(host_.messages.size(), 1u);
    EXPECT_NE(host_.messages[0].text.find("cannot write the PDF file " + dialog.answer_file),
              std::string::npos)
        << host_.messages[0].text;
    EXPECT_FALSE(vwPrinter().IsPdf());

    // Through an attached report the report says why, and the window that nothing came.
    TQuillon report("report", host_);
    report.SetViewerExt(&viewer);
    report.SetPrnFile(dir_.Write("s.htm", TwoPageReport()).string());
    ASSERT_TRUE(report.LoadFirst());
    viewer.Show(report, false);
    host_.messages.clear();
    viewer.Button(vbPrint).click();
    ASSERT_EQ(host_.messages.size(), 2u);
    EXPECT_NE(host_.messages[0].text.find("cannot write the PDF file"), std::string::npos);
    EXPECT_EQ(host_.messages[1].text, "The PDF file " + dialog.answer_file + " was not written.");
    viewer.CloseWindow();
    report.SetViewerExt(nullptr);
}

// Without a step of its own the window asks Qt's print dialog, which comes up with the PDF
// file beside the report as its destination.
TEST_F(NoPrinterTest, QtsPrintDialogIsTheDefaultStep) {
    TrptHTMLViewer viewer("viewer", host_);
    viewer.LoadFromFile(dir_.Write("sales.htm", TwoPageReport()).string());
    QString offered;
    QTimer::singleShot(0, [&offered] {
        auto* dialog = dynamic_cast<QPrintDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        offered = dialog->printer()->outputFileName();
        dialog->accept();
    });
    viewer.Button(vbPrint).click();
    EXPECT_EQ(offered.toStdString(), dir_.File("sales.pdf"));
    EXPECT_EQ(FileBytes(dir_.File("sales.pdf")).rfind("%PDF", 0), 0u);
    ASSERT_EQ(host_.messages.size(), 1u);
    EXPECT_EQ(host_.messages[0].text, "The report was printed to " + dir_.File("sales.pdf"));
}

// The text viewer prints through the rich edit on the window's printer: the same dialog
// sends it to the PDF file.
TEST_F(NoPrinterTest, TheTextViewerPrintsToThePdfFileToo) {
    ScriptedTxtViewer viewer(host_);
    viewer.LoadFromFile(dir_.Write("plain.txt", "plain report text\r\n").string());
    DialogScript dialog;
    viewer.SetPrintDialog(dialog.Step());
    viewer.Button(vbPrint).click();
    EXPECT_EQ(dialog.offered_file, dir_.File("plain.pdf"));
    EXPECT_EQ(FileBytes(dir_.File("plain.pdf")).rfind("%PDF", 0), 0u);
    ASSERT_EQ(host_.messages.size(), 1u);
    EXPECT_EQ(host_.messages[0].text, "The report was printed to " + dir_.File("plain.pdf"));
}

// An application that pointed the viewer control at a PDF file of its own prints there
// without a dialog.
TEST_F(NoPrinterTest, AnApplicationsPdfPrinterIsUsedWithoutTheDialog) {
    auto machine = vwSetPrinter(TvwPrinter::ForPdf(dir_.File("app.pdf")));
    TrptHTMLViewer viewer("viewer", host_);
    viewer.LoadFromFile(dir_.Write("r.htm", TwoPageReport()).string());
    DialogScript dialog;
    viewer.SetPrintDialog(dialog.Step());
    viewer.Button(vbPrint).click();
    EXPECT_FALSE(dialog.called);
    vwSetPrinter(std::move(machine));  // ends the application's PDF
    EXPECT_EQ(FileBytes(dir_.File("app.pdf")).rfind("%PDF", 0), 0u);
    EXPECT_TRUE(host_.messages.empty());
}

TEST_F(NoPrinterTest, PrinterSetUpOffersThePdfFileAPrintWouldWrite) {
    ScriptedTxtViewer viewer(host_);
    viewer.LoadFromFile(dir_.Write("plain.txt", "text\r\n").string());
    host_.range = std::make_pair(3, 4);
    viewer.Button(vbPrintSetup).click();
    EXPECT_EQ(host_.range_dialogs, 1);
    EXPECT_EQ(viewer.Printer().outputFormat(), QPrinter::PdfFormat);
    EXPECT_EQ(viewer.Printer().outputFileName().toStdString(), dir_.File("plain.pdf"));
    EXPECT_EQ(viewer.FFromPage, 3);
    EXPECT_EQ(viewer.FToPage, 4);
}

TEST(PrintDestination, DefaultPdfFileAndPdfOutput) {
    EXPECT_EQ(DefaultPdfFile("/srv/out/sales.htm"), "/srv/out/sales.pdf");
    EXPECT_EQ(DefaultPdfFile("/srv/out/PRX"), "/srv/out/PRX.pdf");
    EXPECT_EQ(DefaultPdfFile(""), "report.pdf");
    QPrinter printer;
    SelectPdfOutput(printer, "/tmp/a.pdf");
    EXPECT_EQ(printer.outputFormat(), QPrinter::PdfFormat);
    EXPECT_EQ(printer.outputFileName(), "/tmp/a.pdf");
    // A printer that names its PDF keeps the name.
    SelectPdfOutput(printer, "/tmp/b.pdf");
    EXPECT_EQ(printer.outputFileName(), "/tmp/a.pdf");
}

}  // namespace
}  // namespace quillon
