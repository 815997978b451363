// Any string of bytes evaluates to a value or to a calculator error code; arithmetic
// faults are the calculator's own exceptions. Nothing else may happen.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "calc/calc_errors.h"
#include "calc/calc_program.h"
#include "calc/calculate.h"
#include "calc/def_calc_proc.h"
#include "calc/degree.h"
#include "calc/number_reader.h"

namespace {

// Knows a few variables, accepts assignments and, like a report, reads "#" names.
bool Host(quillon::TCalcCBType kind, std::string_view name, double& value) {
    if (quillon::DefCalcProc(kind, name, value)) return true;
    switch (kind) {
        case quillon::ctGetValue:
            if (name == "a")
                value = 3.5;
            else if (name == "b")
                value = -2;
            else if (!name.empty() && name.front() == '#')
                value = static_cast<double>(name.size());
            else
                return false;
            return true;
        case quillon::ctSetValue:
            return name != "b";
        case quillon::ctFunction:
            if (name == "neg") {
                value = -value;
                return true;
            }
            return false;
    }
    return false;
}

struct Outcome {
    double value = 0;
    int code = 0;
    int fault = -1;  // the ECalcArithmetic kind, -1 for none
};

Outcome RunProgram(const quillon::CalcProgram& program) {
    Outcome out;
    try {
        out.code = program.Run(out.value, Host);
    } catch (const quillon::ECalcArithmetic& e) {
        out.fault = static_cast<int>(e.kind());
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    double value = 0;
    try {
        const int code = quillon::Evaluate(text, value, Host);
        if (code < 0 || code > 2) __builtin_trap();
    } catch (const quillon::ECalcArithmetic&) {
    }
    // The program with "a" bound to storage gives exactly what the callback gives.
    const quillon::CalcProgram program = quillon::CalcProgram::Compile(text);
    double a = 3.5;
    const quillon::CalcProgram bound =
        program.Bind([&a](std::string_view name) { return name == "a" ? &a : nullptr; });
    const Outcome asked = RunProgram(program);
    const Outcome read = RunProgram(bound);
    if (asked.code != read.code || asked.fault != read.fault ||
        (asked.fault < 0 && asked.value != read.value))
        __builtin_trap();
    (void)quillon::ReadNumber(text);
    try {
        (void)quillon::StrToDegree(text);
    } catch (const quillon::EConvertError&) {
    }
    return 0;
}
