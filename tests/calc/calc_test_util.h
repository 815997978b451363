#pragma once

#include <string_view>

#include "calc/calculate.h"

namespace quillon::test {

struct Outcome {
    double value;
    int error;
};

// Evaluates text starting from value 0 with proc (DefCalcProc when empty).
inline Outcome Eval(std::string_view text, const TCalcProc& proc = {}) {
    double value = 0;
    const int error = Evaluate(text, value, proc);
    return {value, error};
}

inline double Value(std::string_view text, const TCalcProc& proc = {}) {
    return Eval(text, proc).value;
}

inline int Error(std::string_view text, const TCalcProc& proc = {}) {
    return Eval(text, proc).error;
}

}  // namespace quillon::test
