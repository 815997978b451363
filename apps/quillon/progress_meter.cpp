#include "apps/quillon/progress_meter.h"

#include <cstdio>

namespace quillon::app {

namespace {
constexpr auto kRedraw = std::chrono::milliseconds(200);
}  // namespace

ProgressMeter::ProgressMeter(bool enabled, std::FILE* out)
    : enabled_(enabled), out_(out), start_(std::chrono::steady_clock::now()), last_(start_) {}

void ProgressMeter::Update(std::size_t records, int pages) {
    if (!enabled_ || (++calls_ & 1023u) != 0) return;
    const auto now = std::chrono::steady_clock::now();
    if (now - last_ < kRedraw) return;
    last_ = now;
    Draw(records, pages);
}

void ProgressMeter::Draw(std::size_t records, int pages) {
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    const double rate = seconds > 0 ? static_cast<double>(records) / seconds : 0.0;
    std::fprintf(out_, "\r%12zu records  %8d pages  %10.0f records/s", records, pages, rate);
    std::fflush(out_);
    drawn_ = true;
}

void ProgressMeter::Finish(std::size_t records, int pages) {
    if (!enabled_) return;
    Draw(records, pages);
    std::fputc('\n', out_);
}

}  // namespace quillon::app
