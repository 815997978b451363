#pragma once
// THTMLBorderStyle: how the HTML viewer control draws its border. Shared by the control and
// the report's viewer parameters, which set it.

#include <cstdint>

namespace quillon {

// htFocused: the border shows only while the control has the focus; htNone: never;
// htSingle: always.
enum THTMLBorderStyle : std::uint8_t { htFocused, htNone, htSingle };

}  // namespace quillon
