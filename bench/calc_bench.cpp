// The expression calculator against muparser on 20 typical calculated-field expressions:
//   (a) ParseEval: parse and evaluate each expression once (all 20 per iteration);
//   (b) Eval/N: evaluate expression N 1,000,000 times with changing variable values.
// Quillon reads variables through bound storage in (b), as muparser does with DefineVar,
// and through its callback in (a). The summary at the end gives the ratios
// Quillon / muparser (below 1: Quillon is faster).

#include <benchmark/benchmark.h>
#include <muParser.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "calc/calc_program.h"
#include "calc/calculate.h"
#include "calc/def_calc_proc.h"

namespace {

struct Expr {
    const char* quillon;
    const char* muparser;
};

// The same expressions in both notations ("**" is "^" in muparser, "<>" is "!=").
const std::array<Expr, 20> kExprs = {{
    {"amount * price", "amount * price"},
    {"amount * price * (1 + vat / 100)", "amount * price * (1 + vat / 100)"},
    {"(a + b + c) / 3", "(a + b + c) / 3"},
    {"round(amount * price * 100) / 100", "round(amount * price * 100) / 100"},
    {"a * b - c * d", "a * b - c * d"},
    {"(a - b) / b * 100", "(a - b) / b * 100"},
    {"a + b + c + d + f + g", "a + b + c + d + f + g"},
    {"amount * 0.19 + price", "amount * 0.19 + price"},
    {"int(a / b) * b", "int(a / b) * b"},
    {"(a * b + c) * (1 - d / 100)", "(a * b + c) * (1 - d / 100)"},
    {"a ** 2 + b ** 2", "a ^ 2 + b ^ 2"},
    {"sign(a - b) * c", "sign(a - b) * c"},
    {"(a > b) * c + (a <= b) * d", "(a > b) * c + (a <= b) * d"},
    {"qty * price - qty * price * discount / 100", "qty * price - qty * price * discount / 100"},
    {"frac(a / 7) * 7", "frac(a / 7) * 7"},
    {"(a + b) * (c + d) / (f + g)", "(a + b) * (c + d) / (f + g)"},
    {"amount * price * (1 - discount / 100) * (1 + vat / 100)",
     "amount * price * (1 - discount / 100) * (1 + vat / 100)"},
    {"round(a / b * 100)", "round(a / b * 100)"},
    {"a - b - c - d - f - g", "a - b - c - d - f - g"},
    {"(qty * price + rate) / (qty + 1)", "(qty * price + rate) / (qty + 1)"},
}};

// The variables of the expressions; every one is nonzero and finite.
struct Vars {
    double amount = 3, price = 2.5, vat = 19, qty = 7, discount = 5, rate = 1.25;
    double a = 11, b = 4, c = 6.5, d = 2, f = 3, g = 1.5;

    std::vector<std::pair<const char*, double*>> All() {
        return {{"amount", &amount},
                {"price", &price},
                {"vat", &vat},
                {"qty", &qty},
                {"discount", &discount},
                {"rate", &rate},
                {"a", &a},
                {"b", &b},
                {"c", &c},
                {"d", &d},
                {"f", &f},
                {"g", &g}};
    }
    // A new line: some values change.
    void Next() {
        amount = amount < 1000 ? amount + 1 : 1;
        a = a < 500 ? a + 0.5 : 11;
        c = c < 100 ? c + 0.25 : 6.5;
    }
};

double Round(double x) {
    return std::nearbyint(x);
}
double Int(double x) {
    return std::trunc(x);
}
double Frac(double x) {
    return x - std::trunc(x);
}

void DefineMuParser(mu::Parser& parser, Vars& vars) {
    for (auto& [name, storage] : vars.All()) parser.DefineVar(name, storage);
    parser.DefineFun("round", Round);
    parser.DefineFun("int", Int);
    parser.DefineFun("frac", Frac);
}

// The callback of a host that keeps its variables in a hash table.
quillon::TCalcProc QuillonProc(Vars& vars) {
    auto table = std::make_shared<std::unordered_map<std::string, double*>>();
    for (auto& [name, storage] : vars.All()) (*table)[name] = storage;
    return [table](quillon::TCalcCBType kind, std::string_view name, double& value) {
        if (quillon::DefCalcProc(kind, name, value)) return true;
        if (kind != quillon::ctGetValue) return false;
        auto it = table->find(std::string(name));
        if (it == table->end()) return false;
        value = *it->second;
        return true;
    };
}

void BM_ParseEval_Quillon(benchmark::State& state) {
    Vars vars;
    const quillon::TCalcProc proc = QuillonProc(vars);
    for (auto _ : state) {
        for (const Expr& e : kExprs) {
            const quillon::CalcProgram program = quillon::CalcProgram::Compile(e.quillon);
            double value = 0;
            program.Run(value, proc);
            benchmark::DoNotOptimize(value);
        }
    }
}

void BM_ParseEval_MuParser(benchmark::State& state) {
    Vars vars;
    mu::Parser parser;
    DefineMuParser(parser, vars);
    for (auto _ : state) {
        for (const Expr& e : kExprs) {
            parser.SetExpr(e.muparser);
            double value = parser.Eval();
            benchmark::DoNotOptimize(value);
        }
    }
}

// For information: the cached path a report takes (the text is compiled once per run).
void BM_CachedEvaluate_Quillon(benchmark::State& state) {
    Vars vars;
    const quillon::TCalcProc proc = QuillonProc(vars);
    for (auto _ : state) {
        for (const Expr& e : kExprs) {
            double value = 0;
            quillon::Evaluate(e.quillon, value, proc);
            benchmark::DoNotOptimize(value);
        }
    }
}

void BM_Eval_Quillon(benchmark::State& state) {
    Vars vars;
    const quillon::TCalcProc proc = QuillonProc(vars);
    const quillon::CalcProgram program =
        quillon::CalcProgram::Compile(kExprs[static_cast<std::size_t>(state.range(0))].quillon);
    std::map<std::string, double*> storage;
    for (auto& [name, p] : vars.All()) storage[name] = p;
    const quillon::CalcProgram bound = program.Bind([&](std::string_view name) -> const double* {
        auto it = storage.find(std::string(name));
        return it == storage.end() ? nullptr : it->second;
    });
    for (auto _ : state) {
        vars.Next();
        double value = 0;
        bound.Run(value, proc);
        benchmark::DoNotOptimize(value);
    }
}

void BM_Eval_MuParser(benchmark::State& state) {
    Vars vars;
    mu::Parser parser;
    DefineMuParser(parser, vars);
    parser.SetExpr(kExprs[static_cast<std::size_t>(state.range(0))].muparser);
    for (auto _ : state) {
        vars.Next();
        double value = parser.Eval();
        benchmark::DoNotOptimize(value);
    }
}

// Checks that both give the same values before timing anything.
bool SameResults() {
    bool same = true;
    for (const Expr& e : kExprs) {
        Vars vars;
        mu::Parser parser;
        DefineMuParser(parser, vars);
        parser.SetExpr(e.muparser);
        double value = 0;
        const int code = quillon::Evaluate(e.quillon, value, QuillonProc(vars));
        const double peer = parser.Eval();
        if (code != 0 || std::fabs(value - peer) > 1e-9 * std::fabs(peer)) {
            std::fprintf(stderr, "different results for %s: %.17g (code %d) vs %.17g\n", e.quillon,
                         value, code, peer);
            same = false;
        }
    }
    return same;
}

// Collects the CPU time per iteration of every run for the summary (the machine may be
// shared, so wall time is noisier).
class SummaryReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration)
                times_[run.benchmark_name()] = run.GetAdjustedCPUTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void PrintSummary() const {
        auto time = [this](const std::string& name) {
            auto it = times_.find(name);
            return it == times_.end() ? 0.0 : it->second;
        };
        const double qa = time("BM_ParseEval_Quillon");
        const double ma = time("BM_ParseEval_MuParser");
        double qb = 0, mb = 0;
        for (std::size_t i = 0; i < kExprs.size(); ++i) {
            std::string suffix = "/";
            suffix += std::to_string(i);
            suffix += "/iterations:1000000";
            qb += time("BM_Eval_Quillon" + suffix);
            mb += time("BM_Eval_MuParser" + suffix);
        }
        if (ma <= 0 || mb <= 0) return;
        std::printf("\nSummary (Quillon / muparser, below 1 means Quillon is faster)\n");
        std::printf(
            "  (a) parse + evaluate the 20 expressions once: %8.0f ns vs %8.0f ns, ratio %.2f\n",
            qa, ma, qa / ma);
        std::printf(
            "  (b) one evaluation, summed over the 20:      %8.1f ns vs %8.1f ns, ratio %.2f\n", qb,
            mb, qb / mb);
    }

  private:
    std::map<std::string, double> times_;
};

}  // namespace

BENCHMARK(BM_ParseEval_Quillon);
BENCHMARK(BM_ParseEval_MuParser);
BENCHMARK(BM_CachedEvaluate_Quillon);
BENCHMARK(BM_Eval_Quillon)->DenseRange(0, 19)->Iterations(1000000);
BENCHMARK(BM_Eval_MuParser)->DenseRange(0, 19)->Iterations(1000000);

int main(int argc, char** argv) {
    if (!SameResults()) return 1;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintSummary();
    benchmark::Shutdown();
    return 0;
}
