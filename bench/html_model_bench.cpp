// Building, copying and dumping a report-sized document model: paragraphs of text with
// font changes and links, the shape a long paged report has after parsing.
#include <benchmark/benchmark.h>

#include "html/dump/section_dump.h"
#include "html/layout/section.h"
#include "html/layout/section_list.h"
#include "html/layout/spacer_sections.h"
#include "platform/core/test_canvas.h"

namespace {

using namespace quillon;

// Fonts are measured on a fixed-metric canvas, as a viewer measures on its screen.
TestCanvas& Screen() {
    static TestCanvas screen(1, 1);
    return screen;
}

void Build(TSectionList& doc, int paragraphs) {
    TMyFont font;
    font.SetNormalSize(doc, 12);
    TUrlTarget link;
    link.Assign("detail.htm", "");
    for (int i = 0; i < paragraphs; ++i) {
        auto s = std::make_unique<TSection>(doc, 0, font, nullptr, JustifyType::Left);
        s->AddText(U"Customer 4711 ordered ");
        s->ChangeStyle(Symb::BSy);
        s->AddText(U"12 items");
        s->ChangeStyle(Symb::BEndSy);
        s->AddText(U" for a total of 1234.56, see ");
        s->HRef(Symb::ASy, link, font, {});
        s->AddText(U"details");
        s->HRef(Symb::AEndSy, link, font, {});
        s->AddText(U".");
        doc.Add(std::move(s));
        doc.Add(std::make_unique<TParagraphSpace>(doc));
    }
}

void BM_BuildDocument(benchmark::State& state) {
    for (auto _ : state) {
        TSectionList doc(Screen());
        Build(doc, static_cast<int>(state.range(0)));
        benchmark::DoNotOptimize(doc.Count());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_BuildDocument)->Arg(1000)->Arg(10000);

void BM_CopyDocument(benchmark::State& state) {
    TSectionList doc(Screen());
    Build(doc, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        auto copy = TSectionList::CreateCopy(doc);
        benchmark::DoNotOptimize(copy->Count());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_CopyDocument)->Arg(10000);

void BM_DumpDocument(benchmark::State& state) {
    TSectionList doc(Screen());
    Build(doc, static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(DumpDocument(doc).size());
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_DumpDocument)->Arg(10000);

void BM_SelectAll(benchmark::State& state) {
    TSectionList doc(Screen());
    Build(doc, static_cast<int>(state.range(0)));
    TestCanvas canvas(10, 10);
    int width = 0, cursor = 0;
    doc.DoLogic(canvas, 0, 600, width, cursor);
    doc.SelStart = 0;
    doc.SelEnd = cursor;
    for (auto _ : state) benchmark::DoNotOptimize(doc.CopyToClipboard().size());
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SelectAll)->Arg(10000);

}  // namespace

BENCHMARK_MAIN();
