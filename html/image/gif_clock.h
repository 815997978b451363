#pragma once
// The millisecond clock that drives GIF animation. Tests inject their own so that
// animation runs without sleeping.

#include <cstdint>
#include <functional>

namespace quillon {

using GifClock = std::function<std::int64_t()>;

// Milliseconds of the monotonic system clock.
std::int64_t SteadyMilliseconds();

}  // namespace quillon
