// Laying out the generated report (one table of 60 rows per page) at 100 and 1000 pages on
// the fixed-metric canvas. Per-row figures should stay flat as the pages grow.
//
//   build/bench/bench_table_layout --benchmark_min_time=1

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "bench/report_page_generator.h"
#include "html/layout/section_list.h"
#include "html/tree/html_parser.h"
#include "platform/core/test_canvas.h"

namespace {

constexpr int kWidth = 600;
constexpr int kRowsPerPage = 61;  // the heading row and 60 records

quillon::TestCanvas& MeasuringCanvas() {
    static quillon::TestCanvas canvas(1, 1);
    return canvas;
}

void BM_TableLayout(benchmark::State& state) {
    const int pages = static_cast<int>(state.range(0));
    auto doc = std::make_unique<quillon::TSectionList>();
    doc->SetScreenCanvas(&MeasuringCanvas());
    quillon::TNameList names;
    quillon::HtmlParseBuffer(*doc, names, quillon::bench::MakeReport(pages));
    int height = 0;
    for (auto _ : state) {
        int max_width = 0, cursor = 0;
        benchmark::DoNotOptimize(height =
                                     doc->DoLogic(MeasuringCanvas(), 0, kWidth, max_width, cursor));
    }
    state.counters["height"] = height;
    state.counters["rows"] = pages * kRowsPerPage;
    state.counters["per_row"] = benchmark::Counter(
        static_cast<double>(pages * kRowsPerPage),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_TableLayout)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
