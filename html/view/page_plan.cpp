#include "html/view/page_plan.h"

#include <algorithm>

namespace quillon {

std::vector<PlannedPage> PlanPages(const PageBreakMap& map, int body, bool repeat_headers) {
    body = std::max(body, 1);
    const auto& headers = map.Headers();
    // Headers of the tables the page top lies in, found in one sweep down the document:
    // `next` is the first table not reached yet, `open` the tables reached and not ended.
    std::size_t next = 0;
    std::vector<int> open;

    std::vector<PlannedPage> pages;
    int top = 0;
    do {
        PlannedPage page;
        page.Top = top;
        if (repeat_headers && top > 0) {
            while (next < headers.size() && headers[next].Top < top) {
                open.push_back(static_cast<int>(next++));
            }
            std::erase_if(open, [&](int i) {
                return headers[static_cast<std::size_t>(i)].BodyBottom <= top;
            });
            for (const int i : open) {
                const RepeatedHeader& h = headers[static_cast<std::size_t>(i)];
                // Only a table continuing below its header rows, and never more than half a
                // page of headers in all.
                if (h.Bottom > top || page.HeaderHeight + h.Height() > body / 2) continue;
                page.Headers.push_back(i);
                page.HeaderHeight += h.Height();
            }
        }
        const int room = body - page.HeaderHeight;
        int end = map.PageEnd(top, room);
        if (end <= top) end = top + room;
        page.Bottom = end;
        pages.push_back(std::move(page));
        top = end;
    } while (top < map.End());
    return pages;
}

}  // namespace quillon
