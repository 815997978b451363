#include "calc/def_calc_proc.h"

#include <climits>
#include <cmath>
#include <numbers>

#include "calc/calc_errors.h"
#include "calc/calc_math.h"
#include "calc/calc_state.h"
#include "calc/rep_calculator.h"

namespace quillon {

namespace {

// The field number that "sum" reads: the argument rounded to the nearest integer.
// Numbers beyond the int range name no field.
int FieldNumber(double x) {
    const double n = std::nearbyint(x);
    if (!(n >= 1 && n <= INT_MAX)) return 0;
    return static_cast<int>(n);
}

}  // namespace

bool DefCalcProc(TCalcCBType kind, std::string_view name, double& value) {
    switch (kind) {
        case ctGetValue:
            if (name == "pi") {
                value = std::numbers::pi;
                return true;
            }
            if (name == "e") {
                value = std::numbers::e;
                return true;
            }
            return false;
        case ctSetValue:
            return false;
        case ctFunction:
            break;
    }
    if (name == "sum") {
        if (TCustomRepCalculator* calc = CurrentCalculator())
            value = calc->GetSumValue(FieldNumber(value));
    } else if (name == "round") {
        value = std::nearbyint(value);
    } else if (name == "trunc") {
        value = static_cast<double>(TruncToInt64(value));
    } else if (name == "int") {
        value = std::trunc(value);
    } else if (name == "frac") {
        value = value - std::trunc(value);
    } else if (name == "sign") {
        value = value > 0 ? 1.0 : (value < 0 ? -1.0 : 0.0);
    } else if (name == "sgn") {
        value = value > 0 ? 1.0 : 0.0;
    } else if (name == "xsgn") {
        value = value >= 0 ? value : 0.0;
    } else {
        return false;
    }
    return true;
}

}  // namespace quillon
