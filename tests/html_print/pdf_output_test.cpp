// Real reports printed to PDF and page images, read back with poppler (pdfinfo, pdftotext):
// page counts equal the count made beforehand, every record row prints exactly once and
// whole, report pages start on new sheets; the printer object's job rules; quillon render.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QImage>
#include <QPageSize>
#include <filesystem>
#include <map>
#include <regex>
#include <string>

#include "bench/report_page_generator.h"
#include "html/layout/section_list.h"
#include "html/tree/html_parser.h"
#include "html/view/document_print.h"
#include "html/view/qt/page_targets.h"
#include "html/view/qt/vw_printer.h"
#include "platform/qt/qt_canvas.h"
#include "tests/common/pdf_text.h"
#include "tests/common/shell_command.h"
#include "tests/common/temp_dir.h"

namespace quillon::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

// A report as the engine writes it: pages of a heading and a 60-row table, separated by
// <PAGE> markers.
struct Report {
    std::unique_ptr<Canvas> screen = MakeMeasuringCanvas();
    TSectionList doc;
    explicit Report(const std::string& html) {
        doc.SetScreenCanvas(screen.get());
        TNameList names;
        HtmlParseBuffer(doc, names, html);
    }
};

TEST(PdfOutput, EveryRowPrintsOnceAndWholeAndReportPagesStartNewSheets) {
    const TempDir dir;
    const std::string pdf = dir.File("report.pdf");
    Report report(bench::MakeReport(3));
    auto printer = TvwPrinter::ForPdf(pdf);
    printer->SetPage(QPageSize(QPageSize::A4), QPageLayout::Landscape);
    PrinterPageTarget target(*printer);
    PrintSettings s;
    TDocumentPrint print(report.doc, s, target);
    const PrintResult count = print.CountPages();
    EXPECT_FALSE(std::filesystem::exists(pdf)) << "counting wrote the file";
    const PrintResult printed = print.Print(1, 9999);
    EXPECT_EQ(printed.PagesPrinted, count.LastPage);
    ASSERT_EQ(PdfPageCount(pdf), count.LastPage);
    ASSERT_GT(count.LastPage, 3);

    std::map<int, int> rows;  // record number -> times seen
    int report_pages = 0;
    static const std::regex ref(R"(REF(\d{7}))");
    for (int p = 1; p <= count.LastPage; ++p) {
        const std::string text = PdfText(pdf, p);
        for (auto it = std::sregex_iterator(text.begin(), text.end(), ref);
             it != std::sregex_iterator(); ++it) {
            ++rows[std::stoi((*it)[1])];
        }
        // A report page's heading is the first thing on its sheet.
        const auto heading = text.find("Sales by customer");
        if (heading != std::string::npos) {
            ++report_pages;
            EXPECT_EQ(text.find_first_not_of(" \n"), heading) << "page " << p;
        }
    }
    EXPECT_EQ(report_pages, 3);
    ASSERT_EQ(rows.size(), 180u);
    for (const auto& [n, times] : rows) EXPECT_EQ(times, 1) << "record " << n;
}

TEST(PdfOutput, ThePrinterObjectKeepsItsJobRulesAndAnAbortedPdfIsRemoved) {
    const TempDir dir;
    const std::string pdf = dir.File("job.pdf");
    auto printer = TvwPrinter::ForPdf(pdf);
    EXPECT_EQ(printer->PageNumber(), 0);
    EXPECT_THROW(printer->NewPage(), EPrintError);
    EXPECT_THROW(printer->EndDoc(), EPrintError);
    EXPECT_THROW(printer->Abort(), EPrintError);
    const PageDevice d = printer->Device();
    EXPECT_EQ(d.DpiX, 600);
    EXPECT_NEAR(d.PageWidth, 4961, 4);  // A4 printable to its edges
    EXPECT_EQ(d.OffsetX, 0);
    printer->BeginDoc();
    EXPECT_TRUE(printer->Printing());
    EXPECT_EQ(printer->PageNumber(), 1);
    EXPECT_THROW(printer->BeginDoc(), EPrintError);
    EXPECT_THROW(printer->SetPage(QPageSize(QPageSize::Letter), QPageLayout::Portrait),
                 EPrintError);
    printer->NewPage();
    EXPECT_EQ(printer->PageNumber(), 2);
    printer->Abort();
    EXPECT_TRUE(printer->Aborted());
    EXPECT_FALSE(printer->Printing());
    EXPECT_FALSE(std::filesystem::exists(pdf));

    // The current printer is process-wide and can be swapped.
    auto previous = vwSetPrinter(TvwPrinter::ForPdf(dir.File("current.pdf")));
    EXPECT_FALSE(vwPrinter().Printing());
    vwSetPrinter(std::move(previous));
}

#ifdef QUILLON_BINARY
ShellOutput Render(const std::string& args) {
    return RunShell("'" QUILLON_BINARY "' render " + args + " 2>/dev/null");
}

TEST(RenderCommand, PdfWithPageNumbersRangesAndPageBreaksAsJson) {
    const TempDir dir;
    const std::string html = dir.Write("report.htm", bench::MakeTextReport(2)).string();
    const std::string pdf = dir.File("out.pdf");
    const ShellOutput all =
        Render(ShellQuote(html) + " --pdf " + ShellQuote(pdf) + " --fixed-metrics --pages-json");
    ASSERT_EQ(all.status, 0);
    std::smatch m;
    ASSERT_TRUE(
        std::regex_search(all.out, m, std::regex(R"(\{"pages": (\d+), "breaks": \[0(, \d+)*\]\})")))
        << all.out;
    const int pages = std::stoi(m[1]);
    EXPECT_EQ(PdfPageCount(pdf), pages);
    EXPECT_THAT(PdfText(pdf, 2), HasSubstr("Page 2 of " + std::to_string(pages)));

    // Pages 2 to 3 only: the first sheet is page 2.
    const std::string part = dir.File("part.pdf");
    ASSERT_EQ(
        Render(ShellQuote(html) + " --pdf " + ShellQuote(part) + " --fixed-metrics --from 2 --to 3")
            .status,
        0);
    EXPECT_EQ(PdfPageCount(part), 2);
    EXPECT_THAT(PdfText(part, 1), HasSubstr("Page 2 of " + std::to_string(pages)));

    // Without page numbers.
    const std::string plain = dir.File("plain.pdf");
    ASSERT_EQ(
        Render(ShellQuote(html) + " --pdf " + ShellQuote(plain) + " --no-page-numbers").status, 0);
    EXPECT_THAT(PdfText(plain, 1), Not(HasSubstr("Page 1 of")));
}

#ifdef QUILLON_EXAMPLE_DB
// The bundled examples as the engine writes them: the grouped HTML sales report and the
// text listing, printed to PDF.
TEST(RenderCommand, TheEnginesExampleReportsPrintWithTheirPagesAndText) {
    const TempDir dir;
    const std::string quillon = "'" QUILLON_BINARY "' ";
    const std::string src = QUILLON_SOURCE_DIR "/examples/";
    const std::string htm = dir.File("sales.htm");
    ASSERT_EQ(
        RunShell(quillon + "run " + ShellQuote(src + "sales_report.htm") + " --data " +
                 ShellQuote(QUILLON_EXAMPLE_DB) + " --table sales_report --group CUSTOMER --out " +
                 ShellQuote(htm) + " >/dev/null 2>&1")
            .status,
        0);
    const std::string pdf = dir.File("sales.pdf");
    const ShellOutput r = Render(ShellQuote(htm) + " --pdf " + ShellQuote(pdf) + " --pages-json");
    ASSERT_EQ(r.status, 0);
    const int pages = std::stoi(r.out.substr(r.out.find(':') + 1));
    ASSERT_EQ(PdfPageCount(pdf), pages);
    ASSERT_GE(pages, 2);
    std::string all;
    for (int p = 1; p <= pages; ++p) {
        const std::string text = PdfText(pdf, p);
        EXPECT_THAT(text, HasSubstr("Page " + std::to_string(p) + " of " + std::to_string(pages)));
        all += text;
    }
    EXPECT_THAT(PdfText(pdf, 1), HasSubstr("Sales by customer"));
    EXPECT_THAT(all, HasSubstr("Baltic Timber"));
    EXPECT_THAT(all, Not(HasSubstr("<PAGE>")));

    const std::string txt = dir.File("listing.txt");
    ASSERT_EQ(RunShell(quillon + "run " + ShellQuote(src + "listing.txt") + " --data " +
                       ShellQuote(QUILLON_EXAMPLE_DB) +
                       " --query 'SELECT * FROM sales_report ORDER BY saledate, customer'"
                       " --auto-sum --out " +
                       ShellQuote(txt) + " >/dev/null 2>&1")
                  .status,
              0);
    const std::string listing = dir.File("listing.pdf");
    ASSERT_EQ(Render(ShellQuote(txt) + " --pdf " + ShellQuote(listing)).status, 0);
    ASSERT_GE(PdfPageCount(listing), 1);
    EXPECT_THAT(PdfText(listing, 1), HasSubstr("SALES LISTING"));
}
#endif

TEST(RenderCommand, PageImagesAt96Dpi) {
    const TempDir dir;
    const std::string html = dir.Write("report.htm", bench::MakeReport(1)).string();
    const std::string out = dir.File("pages");
    const ShellOutput r = Render(ShellQuote(html) + " --png " + ShellQuote(out) +
                                 " --landscape --pages-json --fixed-metrics");
    ASSERT_EQ(r.status, 0);
    const int pages = std::stoi(r.out.substr(r.out.find(':') + 1));
    ASSERT_GT(pages, 0);
    for (int p = 1; p <= pages; ++p) {
        char name[32];
        std::snprintf(name, sizeof name, "/page-%04d.png", p);
        const QImage image(QString::fromStdString(out + name));
        ASSERT_FALSE(image.isNull()) << name;
        EXPECT_EQ(image.width(), 1123);  // A4 sideways at 96 dpi
        EXPECT_EQ(image.height(), 794);
    }
    EXPECT_FALSE(std::filesystem::exists(out + "/page-" + std::to_string(pages + 1) + ".png"));
}

// The column of the leftmost dark pixel of a page image; -1 when there is none.
int LeftmostInk(const std::string& png) {
    const QImage image(QString::fromStdString(png));
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            if (qGray(image.pixel(x, y)) < 128) return x;
        }
    }
    return -1;
}

TEST(RenderCommand, TheReportsPageRuleGivesPaperAndMarginsTheOptionsLeaveOpen) {
    const TempDir dir;
    const std::string html =
        dir.Write("a5.htm",
                  "<html><head><style>@page { size: A5 landscape; margin: 1cm } "
                  "@page :first { size: A3 }</style></head><body><p>text</p></body></html>")
            .string();
    const auto page = [&](const std::string& options, const std::string& report = "") {
        const std::string pdf = dir.File("out.pdf");
        std::filesystem::remove(pdf);
        const std::string file = report.empty() ? html : report;
        EXPECT_EQ(Render(ShellQuote(file) + " --pdf " + ShellQuote(pdf) + " " + options).status, 0)
            << file << ' ' << options;
        return PdfPageSize(pdf);
    };
    constexpr double kA5Short = 419.5, kA5Long = 595.3, kA4Long = 841.9;
    const PdfPageBox own = page("");
    EXPECT_NEAR(own.width, kA5Long, 1);
    EXPECT_NEAR(own.height, kA5Short, 1);
    // --paper replaces the size with its orientation; --landscape turns whatever paper.
    const PdfPageBox a4 = page("--paper A4");
    EXPECT_NEAR(a4.width, kA5Long, 1);
    EXPECT_NEAR(a4.height, kA4Long, 1);
    const PdfPageBox a4_wide = page("--paper a4 --landscape");
    EXPECT_NEAR(a4_wide.width, kA4Long, 1);
    EXPECT_NEAR(a4_wide.height, kA5Long, 1);

    // A size in lengths keeps its shape; an orientation alone turns the default paper.
    const PdfPageBox lengths =
        page("", dir.Write("l.htm", "<style>@page { size: 20cm 10cm }</style>x").string());
    EXPECT_NEAR(lengths.width, 566.9, 1);
    EXPECT_NEAR(lengths.height, 283.5, 1);
    const PdfPageBox turned =
        page("", dir.Write("t.htm", "<style>@page { size: landscape }</style>x").string());
    EXPECT_NEAR(turned.width, kA4Long, 1);
    EXPECT_NEAR(turned.height, kA5Long, 1);

    // The text starts 1 cm (38 px at 96 dpi) further left than with --margins' 2 cm.
    const std::string own_png = dir.File("own"), given_png = dir.File("given");
    ASSERT_EQ(
        Render(ShellQuote(html) + " --png " + ShellQuote(own_png) + " --no-page-numbers").status,
        0);
    ASSERT_EQ(Render(ShellQuote(html) + " --png " + ShellQuote(given_png) +
                     " --no-page-numbers --margins 2,2,2,2")
                  .status,
              0);
    EXPECT_EQ(QImage(QString::fromStdString(own_png + "/page-0001.png")).size(), QSize(794, 559));
    const int own_left = LeftmostInk(own_png + "/page-0001.png");
    const int given_left = LeftmostInk(given_png + "/page-0001.png");
    ASSERT_GT(own_left, 0);
    EXPECT_NEAR(given_left - own_left, 38, 1);

    // A size out of range prints on the default paper with a warning; margins that leave
    // no page body are the page set-up's fault, however large they are written.
    const std::string tiny =
        dir.Write("tiny.htm", "<style>@page { size: 2mm }</style><p>x").string();
    const std::string pdf = dir.File("tiny.pdf");
    const ShellOutput warned = RunShell("'" QUILLON_BINARY "' render " + ShellQuote(tiny) +
                                        " --pdf " + ShellQuote(pdf) + " 2>&1");
    EXPECT_EQ(warned.status, 0);
    EXPECT_THAT(warned.out, HasSubstr("lies outside 10 to 5000 mm; printed on A4 instead"));
    EXPECT_NEAR(PdfPageSize(pdf).height, kA4Long, 1);
    for (const char* margin : {"margin: 8cm", "margin-left: 1e12mm"}) {
        const std::string wide = dir.Write("wide.htm", std::string("<style>@page { size: A5; ") +
                                                           margin + " }</style><p>x")
                                     .string();
        EXPECT_EQ(Render(ShellQuote(wide) + " --pdf " + ShellQuote(pdf)).status, 2) << margin;
    }
}

TEST(RenderCommand, ExitCodesSayWhatWentWrong) {
    const TempDir dir;
    const std::string html = dir.Write("short.htm", "<P>one page</P>").string();
    const std::string pdf = dir.File("x.pdf");
    // A range beyond the last page writes nothing.
    EXPECT_EQ(Render(ShellQuote(html) + " --pdf " + ShellQuote(pdf) + " --from 2").status, 3);
    EXPECT_FALSE(std::filesystem::exists(pdf));
    EXPECT_EQ(
        Render(ShellQuote(html) + " --pdf " + ShellQuote(pdf) + " --margins 15,15,2,2").status, 2);
    EXPECT_FALSE(std::filesystem::exists(pdf));
    EXPECT_EQ(Render(ShellQuote(dir.File("missing.htm")) + " --pdf " + ShellQuote(pdf)).status, 64);
    EXPECT_EQ(Render(ShellQuote(html)).status, 64);
    EXPECT_EQ(Render(ShellQuote(html) + " --pdf a.pdf --png dir").status, 64);
    EXPECT_EQ(Render(ShellQuote(html) + " --pdf " + ShellQuote(pdf) + " --paper B7").status, 64);
    EXPECT_EQ(Render(ShellQuote(html) + " --pdf " + ShellQuote(pdf) + " --margins 1,2,3").status,
              64);
    EXPECT_EQ(Render(ShellQuote(html) + " --pdf " + ShellQuote(pdf) + " --from 3 --to 2").status,
              64);
    EXPECT_EQ(
        Render(ShellQuote(html) + " --pdf " + ShellQuote(dir.File("no/such/dir/x.pdf"))).status, 4);
    // Letter paper, given in millimetres too.
    EXPECT_EQ(Render(ShellQuote(html) + " --pdf " + ShellQuote(pdf) + " --paper 216x279mm").status,
              0);
    EXPECT_EQ(PdfPageCount(pdf), 1);
}
#endif

}  // namespace
}  // namespace quillon::testing
