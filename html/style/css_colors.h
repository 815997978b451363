#pragma once
// CSS colour values: names, hex notations, rgb()/rgba() and hsl()/hsla().

#include <optional>
#include <string_view>

#include "html/style/computed_style.h"
#include "html/style/css_values.h"

namespace quillon::css {

// A colour as written: a value, or currentColor (the element's own color).
struct CssColor {
    Rgba rgba;
    bool current = false;
    friend bool operator==(const CssColor&, const CssColor&) = default;
};

// The colour of a name (any ASCII case): the named colours, not transparent or currentColor.
std::optional<Rgba> NamedColor(std::string_view name);

// The colour `c` is, if it is one.
std::optional<CssColor> ParseColor(const Component& c);

}  // namespace quillon::css
