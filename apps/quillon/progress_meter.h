#pragma once
// The progress line of "quillon run" on standard error (only when it is a terminal):
// records read, pages, records per second. Redrawn at most five times a second.

#include <chrono>
#include <cstddef>
#include <cstdio>

namespace quillon::app {

class ProgressMeter {
  public:
    // enabled: draw at all (standard error is a terminal and the user did not turn it off);
    // out: where the line is drawn.
    explicit ProgressMeter(bool enabled, std::FILE* out = stderr);
    // Called once per record; cheap when nothing is drawn.
    void Update(std::size_t records, int pages);
    // Draws the final figures and ends the line.
    void Finish(std::size_t records, int pages);

  private:
    void Draw(std::size_t records, int pages);

    bool enabled_;
    std::FILE* out_;
    bool drawn_ = false;
    unsigned calls_ = 0;
    std::chrono::steady_clock::time_point start_;
    std::chrono::steady_clock::time_point last_;
};

}  // namespace quillon::app
