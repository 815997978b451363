#pragma once
// Numeric readings of attribute values.

#include <cstdint>
#include <optional>
#include <string_view>

namespace quillon {

// A signed decimal integer: an optional '+' or '-' and at least one digit, nothing else.
// A value outside the 32-bit range is not a number.
std::optional<std::int32_t> ParseSignedInt(std::u32string_view s);

// ParseSignedInt, 0 when the text is not a number.
inline std::int32_t IntOrZero(std::u32string_view s) {
    return ParseSignedInt(s).value_or(0);
}

}  // namespace quillon
