#pragma once
// Wall-clock and processor time of a benchmark step.

#include <chrono>
#include <ctime>

namespace quillon::bench {

using Clock = std::chrono::steady_clock;

// The moment a step started, on both clocks.
struct Since {
    Clock::time_point wall = Clock::now();
    std::clock_t cpu = std::clock();
};

struct Took {
    double wall_ms;
    double cpu_ms;
};

// Milliseconds of wall-clock and processor time since a start.
inline Took Ms(const Since& since) {
    return Took{std::chrono::duration<double, std::milli>(Clock::now() - since.wall).count(),
                1000.0 * static_cast<double>(std::clock() - since.cpu) / CLOCKS_PER_SEC};
}

}  // namespace quillon::bench
