#pragma once
// background-repeat and background-position, alone and inside the background shorthand.

#include <array>
#include <cstddef>

#include "html/style/computed_style.h"
#include "html/style/style_builder.h"

namespace quillon::css {

struct BackgroundLayout {
    BackgroundRepeat repeat = BackgroundRepeat::Repeat;
    std::array<Length, 2> position{Length::Percent(0), Length::Percent(0)};
};

// Reads a repeat keyword or a position (one or two components) at v[i] into `out`; returns
// how many components it took (0: v[i] is neither).
std::size_t ReadBackgroundLayout(const Values& v, std::size_t i, FontBase base,
                                 BackgroundLayout& out);

}  // namespace quillon::css
