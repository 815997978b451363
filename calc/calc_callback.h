#pragma once
// The callback through which the host of an evaluation supplies variables and functions.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace quillon {

enum TCalcCBType : std::uint8_t {
    ctGetValue,  // read a variable: store its value in Value
    ctSetValue,  // assign a variable: Value holds the value being assigned
    ctFunction,  // apply a one-argument function: Value holds the argument, gets the result
};

// Answers one name (always lower-cased by the evaluator); true when it handled the name.
// A callback calls DefCalcProc first and handles only what that declines.
using TCalcProc = std::function<bool(TCalcCBType kind, std::string_view name, double& value)>;

// Told of each error of an evaluation as it happens: its code and message text.
using CalcErrorHandler = std::function<void(int code, const std::string& message)>;

}  // namespace quillon
