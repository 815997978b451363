// The viewer widget with a long report: times to load it (parse and layout for the
// window's width), to page through it with a repaint per page, to find the last page's
// text from the top, to select everything and copy it. Runs offscreen without a display.
//
//   build/bench/bench_html_view               (1000 pages)
//   QUILLON_BENCH_PAGES=100 build/bench/bench_html_view

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QPainter>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "bench/bench_clock.h"
#include "bench/report_page_generator.h"
#include "html/view/qt/html_viewer.h"

namespace {

using quillon::bench::Ms;
using quillon::bench::Since;
using quillon::bench::Took;

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const char* env = std::getenv("QUILLON_BENCH_PAGES");
    const int pages = env && std::atoi(env) > 0 ? std::atoi(env) : 1000;
    const std::string report = quillon::bench::MakeReport(pages);

    quillon::THTMLViewer viewer;
    viewer.resize(1000, 700);
    viewer.show();
    QApplication::processEvents();

    auto t = Since{};
    viewer.LoadFromBuffer(report);
    const Took load = Ms(t);

    // Page Down through the whole report, painting the panel each time.
    QImage frame(viewer.PaintPanel().size(), QImage::Format_RGB32);
    const int steps = viewer.GetScrollBarRange() / viewer.Bars().VLargeStep + 1;
    t = Since{};
    for (int i = 0; i < steps; ++i) {
        viewer.KeyDown(quillon::TViewerKey::PageDown);
        QPainter painter(&frame);
        viewer.PaintDocument(painter, frame.rect());
    }
    const Took scroll = Ms(t);

    viewer.SetCaretPos(0);
    t = Since{};
    const bool found = viewer.Find("Continued on page " + std::to_string(pages + 1), false);
    const Took find = Ms(t);

    t = Since{};
    viewer.SelectAll();
    const std::string copied = viewer.CopyToClipboard();
    const Took copy = Ms(t);

    std::printf("report: %d pages, %zu bytes, document height %d px, %d sections\n", pages,
                report.size(), viewer.DocHeight(), viewer.Document().Count());
    std::printf("                              wall ms     cpu ms\n");
    std::printf("load (parse + layout):      %9.1f  %9.1f\n", load.wall_ms, load.cpu_ms);
    std::printf("page down + repaint x %5d: %9.1f  %9.1f  (%.2f ms cpu per page)\n", steps,
                scroll.wall_ms, scroll.cpu_ms, scroll.cpu_ms / steps);
    std::printf("find text on the last page: %9.1f  %9.1f  (%s)\n", find.wall_ms, find.cpu_ms,
                found ? "found" : "MISSING");
    std::printf("select all + copy:          %9.1f  %9.1f  (%zu bytes, clipboard %lld chars)\n",
                copy.wall_ms, copy.cpu_ms, copied.size(),
                static_cast<long long>(QGuiApplication::clipboard()->text().size()));
    return found ? 0 : 1;
}
