// A specified table width spread over the columns the way browsers spread it (automatic
// table layout): percentage columns take their share, columns without a width grow from
// their minimum to their maximum width and then share what is left by their maximum
// widths, so that a wide column stays the wider one.

#include <algorithm>

#include "html/layout/html_table.h"
#include "html/layout/mul_div.h"

namespace quillon {

void ThtmlTable::SpreadLikeBrowsers(const ColumnLimits& l, int the_width) {
    const auto n = static_cast<std::size_t>(ColumnCount);
    ColumnWidths.assign(n, 0);
    if (n == 0) return;
    int sum = 0;
    int free_count = 0, slack = 0, free_max = 0, percent = 0;
    for (std::size_t c = 0; c < n; ++c) {
        if (l.Percent[c] > 0) {
            ColumnWidths[c] = std::max(l.Min[c], MulDiv(the_width, l.Percent[c], 100));
            percent += l.Percent[c];
        } else {
            ColumnWidths[c] = l.Min[c];
            ++free_count;
            slack += l.Max[c] - l.Min[c];
            free_max += l.Max[c];
        }
        sum += ColumnWidths[c];
    }
    if (sum >= the_width) {
        // Narrower than the columns want: the percentage columns give way as before.
        SpreadSpecifiedWidth(l, the_width);
        return;
    }
    const int extra = the_width - sum;
    std::size_t last = n - 1;  // takes what rounding leaves
    if (free_count > 0) {
        const int beyond = std::max(0, extra - slack);
        for (std::size_t c = 0; c < n; ++c) {
            if (l.Percent[c] > 0) continue;
            last = c;
            if (beyond == 0) {
                ColumnWidths[c] += MulDiv(extra, l.Max[c] - l.Min[c], std::max(1, slack));
            } else if (free_max > 0) {
                ColumnWidths[c] = l.Max[c] + MulDiv(beyond, l.Max[c], free_max);
            } else {
                ColumnWidths[c] = l.Max[c] + beyond / free_count;
            }
        }
    } else if (percent > 0) {
        for (std::size_t c = 0; c < n; ++c) ColumnWidths[c] += MulDiv(extra, l.Percent[c], percent);
    }
    sum = 0;
    for (const int w : ColumnWidths) sum += w;
    ColumnWidths[last] = std::max(0, ColumnWidths[last] + the_width - sum);
}

}  // namespace quillon
