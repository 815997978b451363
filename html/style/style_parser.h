#pragma once
// Parsing style sheets and STYLE attributes. Errors never stop the parse: a declaration that
// cannot be read is dropped up to the next ';', a rule whose selector cannot be read is dropped
// with its block, and the rest is kept.

#include <string_view>
#include <vector>

#include "html/style/style_sheet.h"

namespace quillon::css {

StyleSheet ParseStyleSheet(std::string_view source);

// The declarations of a STYLE attribute ("color: red; margin: 0").
std::vector<Declaration> ParseDeclarationList(std::string_view source);

// Whether rules under the media list `media` (lower case, as in @media) can apply to a
// printed or on-screen report: some query names print, screen or all, or only features.
bool MediaApplies(std::string_view media);

}  // namespace quillon::css
