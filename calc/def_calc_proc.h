#pragma once
// The built-in names of the expression language.

#include <string_view>

#include "calc/calc_callback.h"

namespace quillon {

// Variables "pi" and "e"; functions "sum" (running sum of a detail field through the
// current calculator component), "round" (halves to even), "trunc" (through a 64-bit
// integer), "int", "frac", "sign", "sgn" and "xsgn". Declines every other name and every
// assignment.
bool DefCalcProc(TCalcCBType kind, std::string_view name, double& value);

}  // namespace quillon
