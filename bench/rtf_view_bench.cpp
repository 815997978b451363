// Writes a long report as the engine writes RTF (a heading, a column header and table lines
// per page, \page between pages) and times the RTF viewer window opening it: loading the
// file, showing the window and painting the first page; then Next, Last and First. Runs
// offscreen without a display and prints the figures with the load average.
//
//   build/bench/bench_rtf_view                        (60,000 paragraphs, 1,000 pages)
//   build/bench/bench_rtf_view 6000                   (6,000 paragraphs)
//   build/bench/bench_rtf_view 60000 /tmp/long.rtf    (also keeps the file)
//   QUILLON_BENCH_CJK=1 build/bench/bench_rtf_view    (item names in Shift-JIS \'hh pairs)

#include <QApplication>
#include <QImage>
#include <QTextDocument>
#include <QToolButton>
#include <QWidget>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/bench_clock.h"
#include "engine/quillon.h"
#include "viewers/rtf/rtf_reader.h"
#include "viewers/rtf/rtf_text_document.h"
#include "viewers/rtf_viewer.h"

namespace {

using quillon::bench::Ms;
using quillon::bench::Since;
using quillon::bench::Took;

constexpr int kParagraphsPerPage = 60;

// Japanese item names in Shift-JIS, as a word processor writes them: "日本語", "表", "中".
constexpr const char* kJapaneseItems[] = {"\\'93\\'fa\\'96\\'7b\\'8c\\'ea", "\\'95\\\\",
                                          "\\'92\\'86"};

// A report of `paragraphs` paragraphs, kParagraphsPerPage to a page; with `japanese` its
// item names are Japanese in a Shift-JIS font.
std::string MakeRtf(int paragraphs, bool japanese) {
    std::string rtf =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}"
        "{\\f1\\fmodern\\fprq1\\fcharset0 Courier New;}{\\f2\\fcharset128 MS Gothic;}}\r\n"
        "{\\colortbl;\\red0\\green0\\blue0;\\red0\\green0\\blue160;}\r\n"
        "\\paperw11906\\paperh16838\\margl1134\\margr1134\\margt1134\\margb1134\r\n";
    for (int p = 0; p < paragraphs; ++p) {
        const int line = p % kParagraphsPerPage;
        const int page = p / kParagraphsPerPage + 1;
        if (line == 0 && p > 0) rtf += "\\page\r\n";
        if (line == 0) {
            rtf += "\\pard\\qc\\plain\\f0\\fs32\\b\\cf2 Sales report, page " +
                   std::to_string(page) + "\\par\r\n";
        } else if (line == 1) {
            rtf +=
                "\\pard\\plain\\f1\\fs18\\b No.\\tab Customer\\tab Item\\tab "
                "Qty\\tab Price\\tab Amount\\par\r\n";
        } else {
            const int n = page * 100 + line;
            rtf += "\\pard\\plain\\f1\\fs18 " + std::to_string(n) + "\\tab Customer " +
                   std::to_string(n % 37) + "\\tab " +
                   (japanese ? std::string("{\\f2 ") + kJapaneseItems[n % 3] + "}"
                             : "Widget type " + std::to_string(n % 11)) +
                   "\\tab " + std::to_string(n % 9 + 1) + "\\tab 12.50\\tab {\\b " +
                   std::to_string((n % 9 + 1) * 12) + ".50}\\par\r\n";
        }
    }
    return rtf + "}\r\n";
}

std::string LoadAverage() {
    std::ifstream in("/proc/loadavg");
    std::string one, five, fifteen;
    in >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

std::string PageBox(quillon::TrptRTFViewer& viewer) {
    return viewer.Button(quillon::vbPageNumber).text().toStdString();
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int paragraphs = argc > 1 && std::atoi(argv[1]) > 0 ? std::atoi(argv[1]) : 60000;
    const bool keep = argc > 2;
    const std::filesystem::path file =
        keep ? std::filesystem::path(argv[2])
             : std::filesystem::temp_directory_path() / "quillon_bench_rtf_view.rtf";

    auto t = Since{};
    const bool japanese = !qEnvironmentVariableIsEmpty("QUILLON_BENCH_CJK");
    const std::string rtf = MakeRtf(paragraphs, japanese);
    std::ofstream(file, std::ios::binary) << rtf;
    const Took write = Ms(t);

    const std::string load_before = LoadAverage();
    // The parts of opening on their own: reading the RTF, and filling a document that no
    // layout watches (the reading included).
    t = Since{};
    const std::size_t read_paragraphs = quillon::rtf::ReadRtf(rtf).paragraphs.size();
    const Took read = Ms(t);
    t = Since{};
    {
        QTextDocument doc;
        quillon::LoadRtfIntoDocument(doc, rtf);
    }
    const Took fill = Ms(t);

    quillon::TQuillon report;
    quillon::TrptRTFViewer viewer("bench");
    report.SetViewerExt(&viewer);
    viewer.SetViewerMaximize(false);
    viewer.SetViewerWidth(1000);
    viewer.SetViewerHeight(700);
    viewer.SetVisibleButtons(0xFFFF);
    viewer.SetDefaultMenuON(false);

    // Opening: the file read into the control, the window shown and its first page painted.
    t = Since{};
    viewer.LoadFromFile(file.string());
    const Took load = Ms(t);
    viewer.Show(report, false);
    QApplication::processEvents();
    const QImage first = viewer.Form().grab().toImage();
    const Took open = Ms(t);
    const std::string box_open = PageBox(viewer);

    t = Since{};
    for (int i = 0; i < 10; ++i) viewer.Button(quillon::vbNext).click();
    QApplication::processEvents();
    const Took next = Ms(t);
    const std::string box_next = PageBox(viewer);

    t = Since{};
    viewer.Button(quillon::vbLast).click();
    QApplication::processEvents();
    viewer.Form().grab();
    const Took last = Ms(t);
    const std::string box_last = PageBox(viewer);

    t = Since{};
    viewer.Button(quillon::vbFirst).click();
    QApplication::processEvents();
    viewer.Form().grab();
    const Took back = Ms(t);
    const std::string box_first = PageBox(viewer);
    viewer.CloseWindow();
    if (!keep) std::filesystem::remove(file);

    std::printf("report: %d paragraphs (%zu read), %d pages, %zu bytes%s\n", paragraphs,
                read_paragraphs, (paragraphs + kParagraphsPerPage - 1) / kParagraphsPerPage,
                rtf.size(), japanese ? ", Japanese item names" : "");
    std::printf("load average before %s, after %s\n", load_before.c_str(), LoadAverage().c_str());
    std::printf("                                   wall ms     cpu ms   page box\n");
    std::printf("write the RTF:                   %9.1f  %9.1f\n", write.wall_ms, write.cpu_ms);
    std::printf("read the RTF into paragraphs:    %9.1f  %9.1f\n", read.wall_ms, read.cpu_ms);
    std::printf("read + fill a QTextDocument:     %9.1f  %9.1f\n", fill.wall_ms, fill.cpu_ms);
    std::printf("load the file into the viewer:   %9.1f  %9.1f\n", load.wall_ms, load.cpu_ms);
    std::printf("open: load + show + first paint: %9.1f  %9.1f   %s\n", open.wall_ms, open.cpu_ms,
                box_open.c_str());
    std::printf("Next x 10:                       %9.1f  %9.1f   %s\n", next.wall_ms, next.cpu_ms,
                box_next.c_str());
    std::printf("Last + paint:                    %9.1f  %9.1f   %s\n", last.wall_ms, last.cpu_ms,
                box_last.c_str());
    std::printf("First + paint:                   %9.1f  %9.1f   %s\n", back.wall_ms, back.cpu_ms,
                box_first.c_str());
    return first.isNull() ? 1 : 0;
}
