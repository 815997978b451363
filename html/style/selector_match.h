#pragma once
// Matching selectors against elements, right to left: the last compound against the element,
// then each combinator walks to the parent or earlier siblings.

#include "html/style/css_selector.h"
#include "html/style/style_element.h"

namespace quillon::css {

bool Matches(const Selector& selector, const StyleElement& element);

bool MatchesCompound(const CompoundSelector& compound, const StyleElement& element);

}  // namespace quillon::css
