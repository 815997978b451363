#pragma once
// a * b / c rounded to the nearest integer (halves away from zero), computed in 64 bits.
// A zero divisor gives -1, as the platform routine the layout rules are written for.

#include <cstdint>

namespace quillon {

inline int MulDiv(int a, int b, int c) {
    if (c == 0) return -1;
    const std::int64_t num = static_cast<std::int64_t>(a) * b;
    const std::int64_t den = c;
    const bool negative = (num < 0) != (den < 0);
    const std::int64_t n = num < 0 ? -num : num;
    const std::int64_t d = den < 0 ? -den : den;
    const std::int64_t q = (n + d / 2) / d;
    return static_cast<int>(negative ? -q : q);
}

}  // namespace quillon
