// A specified table width spread over the columns the way browsers spread it (automatic
// table layout): percentage columns take their share, columns with a pixel width grow from
// their minimum to that width, columns without a width from their minimum to their maximum
// width; what is left goes to the columns without a width by their maximum widths (so that
// a wide column stays the wider one), else to the pixel columns by their widths.

#include <algorithm>

#include "html/layout/html_table.h"
#include "html/layout/mul_div.h"

namespace quillon {

namespace {

// Grows the columns `which` picks by `extra` in proportion to weight(c) (evenly when every
// weight is 0); returns the last column grown, or `last` when none is.
template <class Which, class Weight>
std::size_t Share(std::vector<int>& widths, int extra, Which&& which, Weight&& weight,
                  std::size_t last) {
    int total = 0, count = 0;
    for (std::size_t c = 0; c < widths.size(); ++c) {
        if (!which(c)) continue;
        total += weight(c);
        ++count;
    }
    if (count == 0) return last;
    for (std::size_t c = 0; c < widths.size(); ++c) {
        if (!which(c)) continue;
        widths[c] += total > 0 ? MulDiv(extra, weight(c), total) : extra / count;
        last = c;
    }
    return last;
}

}  // namespace

void ThtmlTable::SpreadLikeBrowsers(const ColumnLimits& l, int the_width) {
    const auto n = static_cast<std::size_t>(ColumnCount);
    ColumnWidths.assign(n, 0);
    if (n == 0) return;
    const auto fixed = [&](std::size_t c) { return !l.Fixed.empty() && l.Fixed[c]; };
    const auto percent = [&](std::size_t c) { return l.Percent[c] > 0; };
    const auto free = [&](std::size_t c) { return !percent(c) && !fixed(c); };
    int sum = 0;
    for (std::size_t c = 0; c < n; ++c) {
        ColumnWidths[c] =
            percent(c) ? std::max(l.Min[c], MulDiv(the_width, l.Percent[c], 100)) : l.Min[c];
        sum += ColumnWidths[c];
    }
    if (sum >= the_width) {
        // Narrower than the columns want: the percentage columns give way as before.
        SpreadSpecifiedWidth(l, the_width);
        return;
    }
    int extra = the_width - sum;
    std::size_t last = n - 1;  // takes what rounding leaves
    const auto slack = [&](std::size_t c) { return l.Max[c] - l.Min[c]; };
    // Pixel columns first reach their widths, then the others their widest content, each
    // step in proportion to what the columns still want.
    for (const bool pixels : {true, false}) {
        const auto which = [&](std::size_t c) { return pixels ? fixed(c) : free(c); };
        int want = 0;
        for (std::size_t c = 0; c < n; ++c) {
            if (which(c)) want += slack(c);
        }
        if (want <= 0 || extra <= 0) continue;
        if (extra < want) {
            last = Share(ColumnWidths, extra, which, slack, last);
            extra = 0;
            break;
        }
        for (std::size_t c = 0; c < n; ++c) {
            if (which(c)) ColumnWidths[c] = l.Max[c];
        }
        extra -= want;
    }
    if (extra > 0) {
        const auto max = [&](std::size_t c) { return l.Max[c]; };
        bool any_free = false, any_fixed = false;
        for (std::size_t c = 0; c < n; ++c) {
            any_free = any_free || free(c);
            any_fixed = any_fixed || fixed(c);
        }
        if (any_free) {
            last = Share(ColumnWidths, extra, free, max, last);
        } else if (any_fixed) {
            last = Share(ColumnWidths, extra, fixed, max, last);
        } else {
            last = Share(
                ColumnWidths, extra, percent, [&](std::size_t c) { return l.Percent[c]; }, last);
        }
    }
    sum = 0;
    for (const int w : ColumnWidths) sum += w;
    ColumnWidths[last] = std::max(0, ColumnWidths[last] + the_width - sum);
}

}  // namespace quillon
