#pragma once
// Small text helpers of the report package, for line building and for applications.

#include <string>
#include <string_view>

namespace quillon {

// Fixed-point text of value with decimals digits after a "." (no thousands separator),
// right-aligned with blanks to at least width characters; a longer text is not cut.
std::string NumToStr(double value, int width, int decimals);

// n copies of ch (none when n <= 0).
std::string Atkarpa(char ch, int n);

// Removes every occurrence of ch from s.
void DelChar(std::string& s, char ch);

}  // namespace quillon
