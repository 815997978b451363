// Parsing a large HTML report: Quillon's tokenizer alone, Quillon's parser building its
// document model, and Gumbo building its tree, all from the same bytes in memory.
//
//   python3 make_report_html.py 750 /tmp/report.htm    (about 10 MB)
//   QUILLON_BENCH_HTML=/tmp/report.htm build/bench/bench_html_parse --benchmark_min_time=3
//
// Without QUILLON_BENCH_HTML a report of the same shape is generated in memory.

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "bench/report_page_generator.h"
#include "html/layout/section_list.h"
#include "html/parse/html_tokenizer.h"
#include "html/tree/html_parser.h"

#ifdef QUILLON_BENCH_GUMBO
#include <gumbo.h>
#endif

namespace {

using quillon::bench::MakeReport;

const std::string& Report() {
    static const std::string report = [] {
        if (const char* path = std::getenv("QUILLON_BENCH_HTML")) {
            std::ifstream f(path, std::ios::binary);
            std::stringstream ss;
            ss << f.rdbuf();
            if (!ss.str().empty()) return ss.str();
            std::fprintf(stderr, "cannot read %s; using a generated report\n", path);
        }
        return MakeReport(750);
    }();
    return report;
}

void BM_QuillonTokenize(benchmark::State& state) {
    const std::string& html = Report();
    for (auto _ : state) {
        quillon::HtmlTokenizer tok(quillon::MakeBufferSource(html));
        tok.NextChar();
        std::size_t symbols = 0;
        do {
            tok.NextSymbol();
            ++symbols;
        } while (tok.Sy() != quillon::Symb::EofSy);
        benchmark::DoNotOptimize(symbols);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * html.size()));
}
BENCHMARK(BM_QuillonTokenize)->Unit(benchmark::kMillisecond);

void BM_QuillonParse(benchmark::State& state) {
    const std::string& html = Report();
    for (auto _ : state) {
        auto doc = std::make_unique<quillon::TSectionList>();
        quillon::TNameList names;
        quillon::HtmlParseBuffer(*doc, names, html);
        benchmark::DoNotOptimize(doc->Count());
        state.PauseTiming();  // the tree is freed outside the timing, as for Gumbo
        doc.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * html.size()));
}
BENCHMARK(BM_QuillonParse)->Unit(benchmark::kMillisecond);

#ifdef QUILLON_BENCH_GUMBO
void BM_GumboParse(benchmark::State& state) {
    const std::string& html = Report();
    for (auto _ : state) {
        GumboOutput* out =
            gumbo_parse_with_options(&kGumboDefaultOptions, html.data(), html.size());
        benchmark::DoNotOptimize(out->root);
        state.PauseTiming();
        gumbo_destroy_output(&kGumboDefaultOptions, out);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * html.size()));
}
BENCHMARK(BM_GumboParse)->Unit(benchmark::kMillisecond);
#endif

// The console report, then the parse times side by side: Gumbo's time over Quillon's (the
// medians when the runs are repeated).
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    RatioReporter() : ConsoleReporter(isatty(1) ? OO_Defaults : OO_Tabular) {}
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred || run.iterations == 0) continue;
            const std::string name = run.benchmark_name();
            const bool aggregate = run.run_type == Run::RT_Aggregate;
            if (aggregate && run.aggregate_name != "median") continue;
            const double ms = run.GetAdjustedRealTime();
            if (name.rfind("BM_QuillonParse", 0) == 0) Record(quillon_, aggregate, ms);
            if (name.rfind("BM_GumboParse", 0) == 0) Record(gumbo_, aggregate, ms);
        }
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        if (quillon_.ms > 0 && gumbo_.ms > 0) {
            std::printf("Gumbo parse / Quillon parse: %.2f (%.1f ms / %.1f ms)\n",
                        gumbo_.ms / quillon_.ms, gumbo_.ms, quillon_.ms);
        }
    }

  private:
    struct Figure {
        double ms = 0;
        bool from_aggregate = false;
    };
    static void Record(Figure& f, bool aggregate, double ms) {
        if (aggregate || !f.from_aggregate) f = {ms, aggregate};
    }
    Figure quillon_, gumbo_;
};

}  // namespace

int main(int argc, char** argv) {
    // Both parsers allocate a few hundred megabytes per run. Keep freed memory in the
    // process between runs, so that every run measures parsing in a warm heap rather than
    // the kernel handing out fresh zeroed pages (set QUILLON_BENCH_COLD=1 to measure that).
    if (!std::getenv("QUILLON_BENCH_COLD")) {
        mallopt(M_MMAP_THRESHOLD, 1 << 30);
        mallopt(M_TRIM_THRESHOLD, 1 << 30);
    }
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
