#include "html/layout/section_text_style.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace quillon {

int SectionTextStyle::IndentPx(int width) const {
    const double px = IndentIsPercent ? Indent * width / 100.0 : Indent;
    constexpr double kLimit = 1 << 20;  // far beyond any page, and well inside an int
    return static_cast<int>(std::lround(std::clamp(px, -kLimit, kLimit)));
}

std::uint16_t SectionTextStyles::Intern(const SectionTextStyle& style) {
    const auto key = style.Key();
    if (const auto it = numbers_.find(key); it != numbers_.end()) return it->second;
    if (styles_.size() >= std::numeric_limits<std::uint16_t>::max()) return 0;
    styles_.push_back(style);
    const auto n = static_cast<std::uint16_t>(styles_.size());
    numbers_.emplace(key, n);
    return n;
}

}  // namespace quillon
