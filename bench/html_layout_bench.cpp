// Laying out a long report: Quillon's paragraph layout (after parsing, and parse plus
// layout) beside litehtml on the same bytes, both measuring text through the same canvas,
// for two shapes of the 1000-page report: records as tables and records as paragraphs.
//
//   build/bench/bench_html_layout --benchmark_min_time=1
//   QUILLON_BENCH_PAGES=100 build/bench/bench_html_layout     (a shorter report)
//
// litehtml's time grows faster than the number of paragraphs in one body: on the text
// report of 1000 pages its layout alone takes about half a minute of CPU, so its parse plus
// layout is measured on the table report only.
//
// The canvas is the fixed-metric one (every character 8 px, lines 16 px), so both engines
// measure exactly the same widths and the figures compare layout work, not font speed.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/report_page_generator.h"
#include "html/layout/section_list.h"
#include "html/tree/html_parser.h"
#include "platform/core/test_canvas.h"
#include "platform/core/text_encoding.h"

#ifdef QUILLON_BENCH_LITEHTML
#include <litehtml.h>
#endif

namespace {

constexpr int kWidth = 600;

// 1000 pages, or QUILLON_BENCH_PAGES.
int Pages() {
    const char* env = std::getenv("QUILLON_BENCH_PAGES");
    const int pages = env ? std::atoi(env) : 0;
    return pages > 0 ? pages : 1000;
}

const std::string& Report(int shape) {
    static const std::string tables = quillon::bench::MakeReport(Pages());
    static const std::string text = quillon::bench::MakeTextReport(Pages());
    return shape == 0 ? tables : text;
}

const char* ShapeName(int shape) {
    return shape == 0 ? "tables" : "text";
}

quillon::TestCanvas& MeasuringCanvas() {
    static quillon::TestCanvas canvas(1, 1);
    return canvas;
}

std::unique_ptr<quillon::TSectionList> Parse(const std::string& html) {
    auto doc = std::make_unique<quillon::TSectionList>();
    doc->SetScreenCanvas(&MeasuringCanvas());
    quillon::TNameList names;
    quillon::HtmlParseBuffer(*doc, names, html);
    return doc;
}

int Layout(quillon::TSectionList& doc) {
    int max_width = 0, cursor = 0;
    return doc.DoLogic(MeasuringCanvas(), 0, kWidth, max_width, cursor);
}

void BM_QuillonLayout(benchmark::State& state) {
    const auto doc = Parse(Report(static_cast<int>(state.range(0))));
    int height = 0;
    for (auto _ : state) benchmark::DoNotOptimize(height = Layout(*doc));
    state.SetLabel(ShapeName(static_cast<int>(state.range(0))));
    state.counters["height"] = height;
}
BENCHMARK(BM_QuillonLayout)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_QuillonParseAndLayout(benchmark::State& state) {
    const std::string& html = Report(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        auto doc = Parse(html);
        benchmark::DoNotOptimize(Layout(*doc));
        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
    state.SetLabel(ShapeName(static_cast<int>(state.range(0))));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * html.size()));
}
BENCHMARK(BM_QuillonParseAndLayout)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

#ifdef QUILLON_BENCH_LITEHTML
// A container that measures through the same canvas and paints nothing.
class CanvasContainer : public litehtml::document_container {
  public:
    litehtml::uint_ptr create_font(const litehtml::tchar_t* face, int size, int weight,
                                   litehtml::font_style italic, unsigned int decoration,
                                   litehtml::font_metrics* fm) override {
        quillon::FontSpec f;
        f.name = face ? face : "Times New Roman";
        f.size_pt = size * 0.75;
        f.bold = weight >= 600;
        f.italic = italic == litehtml::fontStyleItalic;
        f.underline = (decoration & litehtml::font_decoration_underline) != 0;
        fonts_.push_back(f);
        quillon::Canvas& c = MeasuringCanvas();
        c.SetFont(f);
        const quillon::FontMetrics m = c.Metrics();
        if (fm) {
            fm->height = m.height;
            fm->ascent = m.ascent;
            fm->descent = m.descent;
            fm->x_height = m.ascent / 2;
            fm->draw_spaces = false;
        }
        return fonts_.size();
    }
    void delete_font(litehtml::uint_ptr) override {}
    int text_width(const litehtml::tchar_t* text, litehtml::uint_ptr font) override {
        quillon::Canvas& c = MeasuringCanvas();
        c.SetFont(fonts_[font - 1]);
        return c.TextWidth(quillon::text::DecodeText(text));
    }
    void draw_text(litehtml::uint_ptr, const litehtml::tchar_t*, litehtml::uint_ptr,
                   litehtml::web_color, const litehtml::position&) override {}
    int pt_to_px(int pt) const override { return pt * 96 / 72; }
    int get_default_font_size() const override { return 16; }
    const litehtml::tchar_t* get_default_font_name() const override { return "Times New Roman"; }
    void draw_list_marker(litehtml::uint_ptr, const litehtml::list_marker&) override {}
    void load_image(const litehtml::tchar_t*, const litehtml::tchar_t*, bool) override {}
    void get_image_size(const litehtml::tchar_t*, const litehtml::tchar_t*,
                        litehtml::size& sz) override {
        sz.width = 0;
        sz.height = 0;
    }
    void draw_background(litehtml::uint_ptr, const litehtml::background_paint&) override {}
    void draw_borders(litehtml::uint_ptr, const litehtml::borders&, const litehtml::position&,
                      bool) override {}
    void set_caption(const litehtml::tchar_t*) override {}
    void set_base_url(const litehtml::tchar_t*) override {}
    void link(const std::shared_ptr<litehtml::document>&, const litehtml::element::ptr&) override {}
    void on_anchor_click(const litehtml::tchar_t*, const litehtml::element::ptr&) override {}
    void set_cursor(const litehtml::tchar_t*) override {}
    void transform_text(litehtml::tstring&, litehtml::text_transform) override {}
    void import_css(litehtml::tstring&, const litehtml::tstring&, litehtml::tstring&) override {}
    void set_clip(const litehtml::position&, const litehtml::border_radiuses&, bool,
                  bool) override {}
    void del_clip() override {}
    void get_client_rect(litehtml::position& client) const override {
        client.x = 0;
        client.y = 0;
        client.width = kWidth;
        client.height = 800;
    }
    std::shared_ptr<litehtml::element> create_element(
        const litehtml::tchar_t*, const litehtml::string_map&,
        const std::shared_ptr<litehtml::document>&) override {
        return nullptr;
    }
    void get_media_features(litehtml::media_features& media) const override {
        media.type = litehtml::media_type_screen;
        media.width = media.device_width = kWidth;
        media.height = media.device_height = 800;
        media.color = 8;
        media.resolution = 96;
    }
    void get_language(litehtml::tstring& language, litehtml::tstring& culture) const override {
        language = "en";
        culture.clear();
    }

  private:
    std::vector<quillon::FontSpec> fonts_;
};

// The styles HTML 3 elements have by default (block, list, table and hidden elements),
// written for this benchmark.
constexpr const char* kMasterCss = R"(
html, body, div, p, h1, h2, h3, h4, h5, h6, ul, ol, dl, dt, dd, pre, form, center, address,
blockquote, hr { display: block; }
head, title, script, style, meta, link { display: none; }
body { margin: 8px; }
p { margin-top: 1em; margin-bottom: 1em; }
h2 { font-size: 1.5em; font-weight: bold; margin-top: 0.83em; margin-bottom: 0.83em; }
b, strong, th { font-weight: bold; }
i, em { font-style: italic; }
a { text-decoration: underline; color: #0000FF; }
ul, ol { margin-top: 1em; margin-bottom: 1em; padding-left: 40px; }
li { display: list-item; }
ul { list-style-type: disc; }
table { display: table; border-collapse: separate; border-spacing: 2px; }
tr { display: table-row; }
td, th { display: table-cell; padding: 1px; }
)";

litehtml::context& LitehtmlContext() {
    static litehtml::context ctx;
    static const bool loaded = (ctx.load_master_stylesheet(kMasterCss), true);
    (void)loaded;
    return ctx;
}

void BM_LitehtmlLayout(benchmark::State& state) {
    CanvasContainer container;
    auto doc = litehtml::document::createFromString(
        Report(static_cast<int>(state.range(0))).c_str(), &container, &LitehtmlContext());
    for (auto _ : state) benchmark::DoNotOptimize(doc->render(kWidth));
    state.SetLabel(ShapeName(static_cast<int>(state.range(0))));
    state.counters["height"] = doc->height();
}
BENCHMARK(BM_LitehtmlLayout)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_LitehtmlParseAndLayout(benchmark::State& state) {
    const std::string& html = Report(static_cast<int>(state.range(0)));
    CanvasContainer container;
    for (auto _ : state) {
        auto doc =
            litehtml::document::createFromString(html.c_str(), &container, &LitehtmlContext());
        benchmark::DoNotOptimize(doc->render(kWidth));
        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
    state.SetLabel(ShapeName(static_cast<int>(state.range(0))));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * html.size()));
}
BENCHMARK(BM_LitehtmlParseAndLayout)->Arg(0)->Unit(benchmark::kMillisecond);
#endif

// The console report, then litehtml's CPU time over Quillon's for each benchmark pair
// (CPU time: the machine the figures come from is often shared).
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    RatioReporter() : ConsoleReporter(isatty(1) ? OO_Defaults : OO_Tabular) {}
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred || run.iterations == 0) continue;
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median") continue;
            ms_[run.benchmark_name()] = run.GetAdjustedCPUTime();
        }
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        for (const char* what : {"Layout", "ParseAndLayout"}) {
            for (const char* arg : {"0", "1"}) {
                const auto q = Find(std::string("BM_Quillon") + what + "/" + arg);
                const auto l = Find(std::string("BM_Litehtml") + what + "/" + arg);
                if (q > 0 && l > 0) {
                    std::printf("%s, %s report: litehtml / Quillon = %.2f (%.1f ms / %.1f ms)\n",
                                what, arg[0] == '0' ? "tables" : "text", l / q, l, q);
                }
            }
        }
    }

  private:
    double Find(const std::string& prefix) const {
        for (const auto& [name, ms] : ms_) {
            if (name.rfind(prefix, 0) == 0) return ms;
        }
        return 0;
    }
    std::map<std::string, double> ms_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
