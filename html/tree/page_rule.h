#pragma once
// The page set-up a document asks for in its style sheets: the size, orientation and
// margins of the @page rules that apply to every page (those without a selector; :first,
// :left, :right and named pages are not read). Printing takes it as its defaults.

#include <array>
#include <optional>
#include <span>

#include "html/style/style_sheet.h"

namespace quillon {

struct TPageSetup {
    // The sheet's size in millimetres, as written (a landscape keyword does not swap them).
    std::optional<double> WidthMm;
    std::optional<double> HeightMm;
    // A portrait or landscape keyword, alone or after a paper name.
    std::optional<bool> Landscape;
    // Top, right, bottom, left, in millimetres.
    std::array<std::optional<double>, 4> MarginMm;

    bool Empty() const {
        return !WidthMm && !HeightMm && !Landscape && !MarginMm[0] && !MarginMm[1] &&
               !MarginMm[2] && !MarginMm[3];
    }
    bool HasSize() const { return WidthMm && HeightMm; }
    bool HasMargins() const { return MarginMm[0] || MarginMm[1] || MarginMm[2] || MarginMm[3]; }
};

// Reads `size`, `margin` and `margin-top` .. `margin-left` of the rules for every page, in
// order: a later declaration wins unless the earlier one is !important and it is not. A
// value this cannot read (percentages, negative or unknown lengths, unknown keywords) is
// passed over, as a style sheet passes over an invalid declaration.
TPageSetup ReadPageSetup(std::span<const css::PageRule> rules);

}  // namespace quillon
