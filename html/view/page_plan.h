#pragma once
// A document cut into printed pages: for each page, the document span it prints and the
// table header rows drawn again above it. Made in one pass over the page break map.

#include <vector>

#include "html/layout/page_breaks.h"

namespace quillon {

struct PlannedPage {
    int Top = 0;  // the document span printed, [Top, Bottom)
    int Bottom = 0;
    // Header rows drawn above the span, outermost table first (indices into the map's
    // Headers()), and their height together.
    std::vector<int> Headers;
    int HeaderHeight = 0;
    // The page ends inside something taller than a page (a slice of it): what lies across
    // Bottom is drawn on the next page, and nothing of it below Bottom on this one.
    bool Slice = false;
};

// Pages `body` pixels high. Header rows repeat on the pages a table continues on, slices of
// a row taller than a page included, except on a page whose first span fits a page only
// without them. An empty document makes one empty page.
std::vector<PlannedPage> PlanPages(const PageBreakMap& map, int body, bool repeat_headers);

}  // namespace quillon
