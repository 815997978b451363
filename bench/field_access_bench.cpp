// Field access as a level event does it: FieldByName("X").SetAsString(value), then the
// value read back, on a format with 30 named fields.
//
//   build/bench/bench_field_access

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "engine/report_model.h"

namespace {

using namespace quillon;

struct Fixture {
    ReportModel model;
    std::vector<std::string> names;

    Fixture() {
        std::string tpl = "<HTML>\r\n^^BENCH<BR>\r\n@3<BR>\r\n<TR>";
        for (int i = 0; i < 30; ++i) {
            names.push_back("FIELD_" + std::to_string(i));
            tpl += "<TD><\xC2\xBF" + names.back() + ">" + std::string(10, '?') + "</TD>";
        }
        tpl += "</TR>\r\n";
        std::string name = "BENCH";
        LoadSettings settings;
        settings.message = [](std::string_view, TMsgDlgType, TMsgDlgButtons) { return 1; };
        if (!model.LoadFormatText("bench.htm", tpl, name, 1, settings)) std::abort();
    }
};

void BM_FieldByNameSetAndGet(benchmark::State& state) {
    Fixture f;
    const std::string value = "1234.50";
    std::size_t i = 0;
    for (auto _ : state) {
        tRNAMEList& field = f.model.FieldByName(f.names[i]);
        field.SetAsString(value);
        benchmark::DoNotOptimize(field.AsString());
        i = (i + 1) % f.names.size();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FieldByNameSetAndGet);

// The same with a second lookup before the read, as line building does per slot.
void BM_FieldByNameSetThenFieldByNumberGet(benchmark::State& state) {
    Fixture f;
    const std::string value = "1234.50";
    std::size_t i = 0;
    for (auto _ : state) {
        f.model.FieldByName(f.names[i]).SetAsString(value);
        benchmark::DoNotOptimize(
            f.model.FieldByNumber(rlDetail, static_cast<int>(i) + 1).AsString());
        i = (i + 1) % f.names.size();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FieldByNameSetThenFieldByNumberGet);

// One line's worth: clear the values, set all 30 fields, read all 30 back.
void BM_WholeLine(benchmark::State& state) {
    Fixture f;
    const std::string value = "1234.50";
    for (auto _ : state) {
        f.model.ActiveNames().ClrVAL();
        for (const std::string& n : f.names) f.model.FieldByName(n).SetAsString(value);
        for (int n = 1; n <= 30; ++n) {
            benchmark::DoNotOptimize(f.model.FieldByNumber(rlDetail, n).AsString());
        }
    }
    state.SetItemsProcessed(state.iterations() * 30);
}
BENCHMARK(BM_WholeLine);

}  // namespace

BENCHMARK_MAIN();
