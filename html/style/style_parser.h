#pragma once
// Parsing style sheets and STYLE attributes. Errors never stop the parse: a declaration that
// cannot be read is dropped up to the next ';', a rule whose selector cannot be read is dropped
// with its block, and the rest is kept.

#include <cstdint>
#include <string_view>
#include <vector>

#include "html/style/style_sheet.h"

namespace quillon::css {

// The medium a document is laid out for: the screen (the viewer, layout dumps) or paper
// (printing, PDF and page images).
enum class Medium : std::uint8_t { Screen, Print };

// Rules under @media lists that do not apply to `medium` are left out.
StyleSheet ParseStyleSheet(std::string_view source, Medium medium = Medium::Screen);

// The declarations of a STYLE attribute ("color: red; margin: 0").
std::vector<Declaration> ParseDeclarationList(std::string_view source);

// Whether rules under the media list `media` (as in @media) apply to `medium`: some query
// names that medium or all (or only features), or negates another medium.
bool MediaApplies(std::string_view media, Medium medium);
// Whether the media list `media` applies to the screen and not to print or the other way.
bool DependsOnMedium(std::string_view media);

}  // namespace quillon::css
