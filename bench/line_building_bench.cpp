// Building one detail line of ten slots whose values the detail event sets, by name or by
// the index of each field found once: the work of line building for every record.
//
//   cmake --build build --target bench_line_building && ./build/bench/bench_line_building

#include <benchmark/benchmark.h>

#include <array>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>
#include <string>

#include "engine/quillon.h"

// The replaced global allocation functions below pair malloc with free.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

namespace {

// Counts heap allocations, to report how many a line costs.
std::atomic<long> g_allocations{0};

}  // namespace

void* operator new(std::size_t size) {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

using namespace quillon;

const std::array<std::string, 10> kNames = {"CUSTOMER", "CITY",  "ORDERNO", "DATEORD", "ITEM",
                                            "QUANTITY", "PRICE", "AMOUNT",  "TAX",     "NOTE"};

std::string Template() {
    std::string t = "<HTML>\r\n^^R<BR>\r\n@0<BR>\r\n<TABLE>\r\n@3<BR>\r\n<TR>";
    const int widths[] = {20, 12, 8, 10, 16, 6, 10, 12, 8, 24};
    for (std::size_t i = 0; i < kNames.size(); ++i) {
        t += "<TD><\xBF" + kNames[i] + ">" + std::string(static_cast<std::size_t>(widths[i]), '?') +
             "</TD>";
    }
    t += "</TR>\r\n@15<BR>\r\n</TABLE></HTML>\r\n";
    return t;
}

// Sets the ten values through the field table: by name, or by the index found once.
enum class SetBy { kName, kIndex };

void BuildDetailLines(benchmark::State& state, SetBy set_by) {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / "quillon_bench_line_building.htm";
    std::ofstream(path, std::ios::binary) << Template();
    TQuillon report;
    std::string name = "R";
    if (!report.LoadFormat(path.string(), name, 1)) {
        state.SkipWithError("template did not load");
        return;
    }
    const std::array<std::string, 10> values = {"Sunflower Trading Ltd",
                                                "Vilnius",
                                                "100234",
                                                "2024-03-01",
                                                "Garden hose 25 m",
                                                "3",
                                                "19.90",
                                                "59.70",
                                                "11.94",
                                                "deliver before noon"};
    std::array<std::size_t, 10> slots{};
    tRNAMEList& names = report.Model().ActiveNames();
    for (std::size_t i = 0; i < kNames.size(); ++i) slots[i] = names.IndexOf(kNames[i]);
    if (set_by == SetBy::kName) {
        report.OnGetDetailLine = [&values](TQuillon& r) {
            for (std::size_t i = 0; i < kNames.size(); ++i) {
                r.FieldByName(kNames[i]).SetAsString(values[i]);
            }
        };
    } else {
        report.OnGetDetailLine = [&values, &slots](TQuillon& r) {
            tRNAMEList& table = r.Model().ActiveNames();
            for (std::size_t i = 0; i < kNames.size(); ++i) table.SetValueAt(slots[i], values[i]);
        };
    }
    // The lines go into a list that is recycled as the report's record loop does.
    EilPlist list;
    std::size_t bytes = 0;
    report.MakeLine(rlDetail, list);  // warm up the reused buffers
    list.Recycle();
    const long allocations_before = g_allocations.load();
    for (auto _ : state) {
        report.MakeLine(rlDetail, list);
        if (list.Count() >= 1024) {
            bytes += list[0].Val.size();
            list.Recycle();
        }
    }
    benchmark::DoNotOptimize(bytes);
    state.SetItemsProcessed(state.iterations());
    state.counters["allocs_per_line"] =
        static_cast<double>(g_allocations.load() - allocations_before) /
        static_cast<double>(state.iterations());
    std::filesystem::remove(path);
}

void BM_DetailLineTenSlots(benchmark::State& state) {
    BuildDetailLines(state, SetBy::kName);
}
BENCHMARK(BM_DetailLineTenSlots);

void BM_DetailLineTenSlotsByIndex(benchmark::State& state) {
    BuildDetailLines(state, SetBy::kIndex);
}
BENCHMARK(BM_DetailLineTenSlotsByIndex);

}  // namespace

BENCHMARK_MAIN();
