#include "html/parse/html_number.h"

namespace quillon {

std::optional<std::int32_t> ParseSignedInt(std::u32string_view s) {
    bool negative = false;
    if (!s.empty() && (s[0] == U'+' || s[0] == U'-')) {
        negative = s[0] == U'-';
        s.remove_prefix(1);
    }
    if (s.empty()) return std::nullopt;
    std::int64_t v = 0;
    for (char32_t c : s) {
        if (c < U'0' || c > U'9') return std::nullopt;
        v = v * 10 + static_cast<std::int64_t>(c - U'0');
        if (v > std::int64_t{INT32_MAX} + 1) return std::nullopt;
    }
    if (negative) v = -v;
    if (v > INT32_MAX || v < INT32_MIN) return std::nullopt;
    return static_cast<std::int32_t>(v);
}

}  // namespace quillon
