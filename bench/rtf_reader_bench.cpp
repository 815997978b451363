// Reading a long report in the engine's RTF: the invoice fixture's six pages repeated to
// about 600 pages (1 MB), first into the reader's model, then into a QTextDocument as the
// RTF viewer does. Figures: bytes_per_second of the RTF.
//   build/bench/bench_rtf_reader

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QTextDocument>
#include <fstream>
#include <sstream>
#include <string>

#include "viewers/rtf/rtf_reader.h"
#include "viewers/rtf/rtf_text_document.h"

namespace {

// The fixture's header, its body (pages) `copies` times with a page break between, its end.
std::string LongReport(int copies) {
    std::ifstream in(QUILLON_TEST_DATA "/rtf/engine_invoice.rtf", std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    const std::string rtf = bytes.str();
    const std::size_t body = rtf.find("{\\b\\fs36");
    const std::size_t end = rtf.rfind('}');
    std::string out = rtf.substr(0, body);
    for (int i = 0; i < copies; ++i) {
        if (i > 0) out += "\\page\r\n";
        out += rtf.substr(body, end - body);
    }
    return out + "}";
}

const std::string& Report() {
    static const std::string report = LongReport(100);
    return report;
}

void BM_ReadRtf(benchmark::State& state) {
    const std::string& rtf = Report();
    for (auto _ : state) {
        quillon::rtf::RtfDocument doc = quillon::rtf::ReadRtf(rtf);
        benchmark::DoNotOptimize(doc);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * rtf.size()));
}
BENCHMARK(BM_ReadRtf)->Unit(benchmark::kMillisecond);

void BM_LoadRtfIntoDocument(benchmark::State& state) {
    const std::string& rtf = Report();
    for (auto _ : state) {
        QTextDocument doc;
        quillon::LoadRtfIntoDocument(doc, rtf);
        benchmark::DoNotOptimize(doc.blockCount());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * rtf.size()));
}
BENCHMARK(BM_LoadRtfIntoDocument)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
