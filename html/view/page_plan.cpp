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

    // The tables whose header rows repeat on a page starting at `top`, outermost first.
    const auto headers_at = [&](int top, PlannedPage& page) {
        page.Headers.clear();
        page.HeaderHeight = 0;
        if (!repeat_headers || top <= 0) return;
        while (next < headers.size() && headers[next].Top < top) {
            open.push_back(static_cast<int>(next++));
        }
        std::erase_if(
            open, [&](int i) { return headers[static_cast<std::size_t>(i)].BodyBottom <= top; });
        for (const int i : open) {
            const RepeatedHeader& h = headers[static_cast<std::size_t>(i)];
            // Only a table continuing below its header rows, and never more than half a page
            // of headers in all.
            if (h.Bottom > top || page.HeaderHeight + h.Height() > body / 2) continue;
            page.Headers.push_back(i);
            page.HeaderHeight += h.Height();
        }
    };

    std::vector<PlannedPage> pages;
    int top = 0;
    do {
        PlannedPage page;
        headers_at(top, page);
        int end = map.PageEnd(top, body - page.HeaderHeight);
        if (end > top && end < map.End() && !map.PrintsBetween(top, end)) {
            // Only space before something that would not fit below it: the page starts
            // with that instead of being left blank.
            top = end;
            headers_at(top, page);
            end = map.PageEnd(top, body - page.HeaderHeight);
        }
        if (!page.Headers.empty() && map.CutsFitting(end)) {
            // What starts the page fits a page but not below the header rows: it is not
            // cut, the header rows give way.
            const int bare = map.PageEnd(top, body);
            if (!map.CutsFitting(bare)) {
                page.Headers.clear();
                page.HeaderHeight = 0;
                end = bare;
            }
        }
        if (end <= top) end = top + body - page.HeaderHeight;
        page.Slice = end < map.End() && !map.CutsNothing(end);
        page.Top = top;
        page.Bottom = end;
        pages.push_back(std::move(page));
        top = end;
    } while (top < map.End());
    return pages;
}

}  // namespace quillon
