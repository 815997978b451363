#include "html/layout/alt_text_lines.h"

#include <algorithm>

namespace quillon {

namespace {

// The first window measured; it doubles until its text is wider than the line.
constexpr std::size_t kFirstWindow = 64;

}  // namespace

std::optional<std::u32string_view> AltTextLines::Next() {
    if (rest_.empty()) return std::nullopt;
    // Measure a window of the text that reaches past the line's width, or all of it.
    std::size_t window = std::min(rest_.size(), kFirstWindow);
    for (;;) {
        canvas_.TextPrefixWidths(rest_.substr(0, window), widths_);
        if (window == rest_.size() || widths_.back() > width_) break;
        window = std::min(rest_.size(), window * 2);
    }
    std::size_t end = rest_.size();
    if (widths_.back() > width_) {
        // The last space whose text before it fits; the first space when none does.
        std::size_t fit = 0;
        for (std::size_t space = rest_.find(U' '); space < window;
             space = rest_.find(U' ', space + 1)) {
            if (space > 0 && widths_[space - 1] > width_) break;
            fit = space;
        }
        if (fit == 0) fit = rest_.find(U' ');
        if (fit != std::u32string_view::npos && fit > 0) end = fit;
    }
    const std::u32string_view line = rest_.substr(0, end);
    rest_.remove_prefix(end);
    while (!rest_.empty() && rest_.front() == U' ') rest_.remove_prefix(1);
    return line;
}

}  // namespace quillon
