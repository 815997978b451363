#include "calc/calc_math.h"

#include <cmath>

#include "calc/calc_errors.h"

namespace quillon {

namespace {

using Kind = ECalcArithmetic::Kind;

[[noreturn]] void Fault(Kind kind) {
    throw ECalcArithmetic(kind);
}

}  // namespace

double power(double x, double y) {
    if (!std::isfinite(x) || !std::isfinite(y)) Fault(Kind::InvalidOperation);
    if (x == 0) {
        if (y == 0) return 1;
        if (y > 0) return 0;
        Fault(Kind::DivisionByZero);
    }
    if (x < 0 && y != std::trunc(y)) Fault(Kind::InvalidOperation);
    return CheckedResult(std::pow(x, y));
}

double fmod(double x, double y) {
    if (!std::isfinite(x) || !std::isfinite(y)) Fault(Kind::InvalidOperation);
    if (y == 0) Fault(Kind::DivisionByZero);
    return std::fmod(x, y);
}

std::int64_t TruncToInt64(double x) {
    // 2^63 is exact as a double; the negated comparisons also reject NaN.
    constexpr double kTwo63 = 9223372036854775808.0;
    if (!(x >= -kTwo63 && x < kTwo63)) Fault(Kind::IntegerRange);
    return static_cast<std::int64_t>(x);
}

void ThrowOverflow() {
    Fault(Kind::Overflow);
}

}  // namespace quillon
