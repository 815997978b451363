#pragma once
// Arithmetic of the expression language. Every operation either gives a finite double or
// raises ECalcArithmetic: no infinity, NaN or undefined integer conversion gets through.

#include <cmath>
#include <cstdint>

namespace quillon {

// X raised to Y. 0 ** 0 is 1, 0 ** positive is 0, 0 ** negative is a division by zero.
// A negative base needs an integral exponent ((-2) ** 3 is -8); with a fractional one
// the operation is invalid. A result beyond the double range is an overflow.
double power(double x, double y);

// X - Int(X / Y) * Y computed exactly: the truncating remainder with the sign of X.
// Y = 0 is a division by zero.
double fmod(double x, double y);

// X truncated toward zero to a 64-bit integer; a NaN, an infinity or a value outside the
// 64-bit range is an integer range fault.
std::int64_t TruncToInt64(double x);

// Raises the overflow fault.
[[noreturn]] void ThrowOverflow();

// X itself when finite, else an overflow fault (for results of finite operands).
inline double CheckedResult(double x) {
    if (!std::isfinite(x)) [[unlikely]]
        ThrowOverflow();
    return x;
}

}  // namespace quillon
