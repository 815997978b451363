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
};

// Pages `body` pixels high. An empty document makes one empty page.
std::vector<PlannedPage> PlanPages(const PageBreakMap& map, int body, bool repeat_headers);

}  // namespace quillon
