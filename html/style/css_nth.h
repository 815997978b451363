#pragma once
// The an+b notation of :nth-child(), read from the text between the parentheses.

#include <optional>
#include <string_view>
#include <utility>

namespace quillon::css {

// (a, b) of "odd", "even", "3", "-n+2", "2n + 1" and the like (ASCII case-insensitive);
// nothing when the text is not in that form.
std::optional<std::pair<int, int>> ParseNth(std::string_view text);

}  // namespace quillon::css
