#pragma once
// Colour attribute values (BGCOLOR, TEXT, LINK, COLOR, BORDERCOLOR).

#include <cstdint>
#include <optional>
#include <string_view>

namespace quillon {

// A colour in Windows order: red in bits 0-7, green in 8-15, blue in 16-23. Callers may
// or 0x02000000 into it (palette-relative), so only the low 24 bits are the colour.
using TColor = std::uint32_t;

// Converts one of the 16 colour names (any case) or a hexadecimal RRGGBB value (with or
// without a leading '#') into a colour. Empty or malformed values give nothing. The value
// is masked to 24 bits; more than 8 hexadecimal digits is malformed.
std::optional<TColor> GetColor(std::u32string_view value);

}  // namespace quillon
