// Column widths of a table: the columns' minimum and maximum widths from their cells (with
// and without percentages) and the ways a target width is spread over them. All arithmetic
// is integer with MulDiv's rounding; every division has a nonzero divisor.

#include <algorithm>

#include "html/layout/html_table.h"
#include "html/layout/mul_div.h"

namespace quillon {

namespace {

// The largest column span of the table's real cells.
int LargestSpan(const ThtmlTable& t) {
    int largest = 1;
    for (const auto& row : t.RowList) {
        for (const auto& cell : row->Cells()) largest = std::max(largest, cell->SpanCols);
    }
    return largest;
}

// Calls f(cell, column) for every real cell spanning exactly `span` columns.
template <class F>
void ForSpan(ThtmlTable& t, int span, F&& f) {
    for (const auto& row : t.RowList) {
        for (int c = 0; c < row->Count(); ++c) {
            TCellObj& cell = (*row)[c];
            if (cell.SpanCols == span) f(cell, c);
        }
    }
}

// Spreads `shortfall` over values[c .. c+span) in proportion to them (evenly when they
// are all 0, the remainder to the last).
void Spread(std::vector<int>& values, int c, int span, int shortfall, int sum) {
    if (sum > 0) {
        for (int k = c; k < c + span; ++k) {
            auto& v = values[static_cast<std::size_t>(k)];
            v += MulDiv(v, shortfall, sum);
        }
        return;
    }
    for (int k = c; k < c + span; ++k) values[static_cast<std::size_t>(k)] += shortfall / span;
    values[static_cast<std::size_t>(c + span - 1)] += shortfall % span;
}

int Sum(const std::vector<int>& v, int c, int span) {
    int s = 0;
    for (int k = c; k < c + span; ++k) s += v[static_cast<std::size_t>(k)];
    return s;
}

}  // namespace

void ThtmlTable::LimitCell(const TCellObj& cell, int added, int& min, int& max) const {
    const CellBox* box = cell.Box();
    if (!box) return;
    // max-width lets the content wrap narrower than its widest line, never narrower than
    // its longest word; min-width widens the column, also beyond what the content needs.
    const BoxSizing& size = box->Style->Size;
    if (const auto most = FixedPixels(size.MaxWidth)) {
        max = std::max(min, std::min(max, *most + added));
    }
    if (const auto least = FixedPixels(size.MinWidth)) {
        min = std::max(min, *least + added);
        max = std::max(max, min);
    }
}

ColumnLimits ThtmlTable::GetMinMaxAbs(Canvas& canvas) {
    ColumnLimits l(ColumnCount);
    const int largest = LargestSpan(*this);
    for (int span = 1; span <= largest; ++span) {
        ForSpan(*this, span, [&](TCellObj& cell, int c) {
            const int added = AddedWidth(cell);
            const MinMax content = cell.ContentWidths(canvas);
            int min = content.Min + added;
            int max = content.Max + added + 1;
            if (cell.WidthValue > 0 && !cell.WidthIsPercent) {
                min = std::max(min, cell.WidthValue + added);
                max = std::max(min, cell.WidthValue + added);
            }
            if (SpreadAsBrowsers) LimitCell(cell, added, min, max);
            if (span == 1) {
                auto& cmin = l.Min[static_cast<std::size_t>(c)];
                auto& cmax = l.Max[static_cast<std::size_t>(c)];
                cmin = std::max(cmin, min);
                cmax = std::max(cmax, max);
                return;
            }
            const int smin = Sum(l.Min, c, span);
            if (min > smin) Spread(l.Min, c, span, min - smin, smin);
            const int smax = Sum(l.Max, c, span);
            if (max > smax) Spread(l.Max, c, span, max - smax, smax);
        });
    }
    l.Total();
    return l;
}

void ThtmlTable::GetWidthsAbs(const ColumnLimits& l, int target, bool specified) {
    const auto n = static_cast<std::size_t>(ColumnCount);
    ColumnWidths.assign(n, 0);
    if (n == 0) return;
    if (l.TotalMin >= target) {
        ColumnWidths = l.Min;
        return;
    }
    if (l.TotalMax <= target && !specified) {
        ColumnWidths = l.Max;
        return;
    }
    const int d = l.TotalMax - l.TotalMin;
    const int e = target - l.TotalMin;
    for (std::size_t c = 0; c < n; ++c) {
        if (d >= 1) {
            ColumnWidths[c] = l.Min[c] + MulDiv(l.Max[c] - l.Min[c], e, d);
        } else if (l.TotalMin > 0) {
            ColumnWidths[c] = l.Min[c] + MulDiv(l.Min[c], e, l.TotalMin);
        } else {
            // Nothing to weigh the columns by: they share the width evenly.
            ColumnWidths[c] = e / static_cast<int>(n) + (c == 0 ? e % static_cast<int>(n) : 0);
        }
    }
}

ColumnLimits ThtmlTable::GetWidths(Canvas& canvas, int the_width) {
    ColumnLimits l(ColumnCount);
    // Spread as browsers do, a pixel width is the width of the cell's content, kept exact
    // rather than turned into a percentage of the table.
    if (SpreadAsBrowsers) l.Fixed.assign(static_cast<std::size_t>(ColumnCount), false);
    const int largest = LargestSpan(*this);
    for (int span = 1; span <= largest; ++span) {
        ForSpan(*this, span, [&](TCellObj& cell, int c) {
            const int added = AddedWidth(cell);
            const MinMax content = cell.ContentWidths(canvas);
            int min = content.Min + added;
            int max = content.Max + added;
            int p = 0;
            bool fixed = false;
            if (cell.WidthValue > 0) {
                if (cell.WidthIsPercent) {
                    p = cell.WidthValue;
                } else if (SpreadAsBrowsers) {
                    max = std::max(min, cell.WidthValue + added);
                    fixed = true;
                } else if (the_width > 0) {
                    p = std::min(100, MulDiv(cell.WidthValue, 100, the_width));
                }
            }
            if (SpreadAsBrowsers) LimitCell(cell, added, min, max);
            if (span == 1) {
                const auto i = static_cast<std::size_t>(c);
                l.Min[i] = std::max(l.Min[i], min);
                l.Max[i] = std::max(l.Max[i], max);
                l.Percent[i] = std::max(l.Percent[i], p);
                if (fixed) l.Fixed[i] = true;
                return;
            }
            const int smin = Sum(l.Min, c, span);
            const int smax = Sum(l.Max, c, span);
            int sp = 0, np = 0;
            for (int k = c; k < c + span; ++k) {
                const int pk = l.Percent[static_cast<std::size_t>(k)];
                if (pk > 0) sp += pk;
                if (pk <= 0) ++np;
            }
            if (p < 1 && sp < 1) {
                if (max > smax) {
                    if (smax == 0) {
                        Spread(l.Max, c, span, max, 0);
                    } else {
                        for (int k = c; k < c + span; ++k) {
                            auto& v = l.Max[static_cast<std::size_t>(k)];
                            v = MulDiv(max, v, smax);
                        }
                    }
                }
                if (min >= smin + 1) {
                    if (smin == 0) {
                        Spread(l.Min, c, span, min, 0);
                    } else {
                        for (int k = c; k < c + span; ++k) {
                            auto& v = l.Min[static_cast<std::size_t>(k)];
                            v = MulDiv(min, v, smin);
                        }
                    }
                }
                return;
            }
            if (np > 0) {
                const int share = std::max(0, (p - sp) / np);
                if (share > 0) {
                    for (int k = c; k < c + span; ++k) {
                        auto& pk = l.Percent[static_cast<std::size_t>(k)];
                        if (pk <= 0) pk = share;
                    }
                }
            } else if (p > sp && sp > 0) {
                for (int k = c; k < c + span; ++k) {
                    auto& pk = l.Percent[static_cast<std::size_t>(k)];
                    pk = MulDiv(pk, p, sp);
                }
            }
            int now = 0;
            for (int k = c; k < c + span; ++k)
                now += std::max(0, l.Percent[static_cast<std::size_t>(k)]);
            const int pt = std::max({now, p, 1});
            for (int k = c; k < c + span; ++k) {
                const auto i = static_cast<std::size_t>(k);
                if (max > smax) l.Max[i] = std::max(l.Max[i], MulDiv(max, l.Percent[i], pt));
                if (min > smin) l.Min[i] = std::max(l.Min[i], MulDiv(min, l.Percent[i], pt));
            }
        });
    }
    l.Total();
    return l;
}

void ThtmlTable::SpreadSpecifiedWidth(const ColumnLimits& l, int the_width) {
    const auto n = static_cast<std::size_t>(ColumnCount);
    ColumnWidths.assign(n, 0);
    if (n == 0) return;
    std::vector<bool> fixed(n, false);
    for (std::size_t c = 0; c < n; ++c) {
        if (l.Percent[c] <= 0) {
            ColumnWidths[c] = l.Min[c];
            continue;
        }
        const int w = MulDiv(the_width, l.Percent[c], 100);
        if (w > l.Min[c]) {
            ColumnWidths[c] = w;
        } else {
            ColumnWidths[c] = l.Min[c];
            fixed[c] = true;
        }
    }
    int sum = 0;
    for (const int w : ColumnWidths) sum += w;
    if (sum < the_width) {
        const int short_by = the_width - sum;
        int free_count = 0, slack = 0, open_percent = 0;
        for (std::size_t c = 0; c < n; ++c) {
            if (l.Percent[c] <= 0) {
                ++free_count;
                slack += l.Max[c] - l.Min[c];
            } else if (!fixed[c]) {
                open_percent += l.Percent[c];
            }
        }
        for (std::size_t c = 0; c < n; ++c) {
            if (free_count == 0) {
                if (!fixed[c] && open_percent > 0) {
                    ColumnWidths[c] += MulDiv(short_by, l.Percent[c], open_percent);
                }
            } else if (l.Percent[c] <= 0) {
                ColumnWidths[c] += slack > 0 ? MulDiv(short_by, l.Max[c] - l.Min[c], slack)
                                             : short_by / free_count;
            }
        }
    } else if (sum > the_width) {
        int excess = sum - the_width;
        int open_percent = 0;
        for (std::size_t c = 0; c < n; ++c) {
            if (l.Percent[c] > 0 && !fixed[c]) open_percent += l.Percent[c];
        }
        // Columns that would drop below their minimum take it and leave the rest to the
        // others; a few passes settle it, each fixing at least one column or stopping.
        for (int pass = 0; pass < 4 && open_percent > 0; ++pass) {
            bool changed = false;
            for (std::size_t c = 0; c < n; ++c) {
                if (l.Percent[c] <= 0 || fixed[c] || open_percent <= 0) continue;
                const int share = MulDiv(excess, l.Percent[c], open_percent);
                if (ColumnWidths[c] - share < l.Min[c]) {
                    excess -= ColumnWidths[c] - l.Min[c];
                    open_percent -= l.Percent[c];
                    ColumnWidths[c] = l.Min[c];
                    fixed[c] = true;
                    changed = true;
                }
            }
            if (!changed) break;
        }
        if (open_percent > 0) {
            const int total_excess = excess;
            for (std::size_t c = 0; c < n; ++c) {
                if (l.Percent[c] > 0 && !fixed[c]) {
                    ColumnWidths[c] -= MulDiv(total_excess, l.Percent[c], open_percent);
                }
            }
        }
    }
    sum = 0;
    for (const int w : ColumnWidths) sum += w;
    if (sum < the_width) {
        ColumnWidths[0] += the_width - sum;
    } else if (sum > the_width) {
        for (std::size_t c = 0; c < n; ++c) {
            if (l.Percent[c] > 0 && !fixed[c]) {
                ColumnWidths[c] = std::max(0, ColumnWidths[c] - (sum - the_width));
                break;
            }
        }
    }
}

bool ThtmlTable::FitPercentages(ColumnLimits& l, int width) {
    const auto n = static_cast<std::size_t>(ColumnCount);
    int ps = 0;
    for (const int p : l.Percent) ps += std::max(0, p);
    if (ps < 1 || ps > 100) return false;
    int need_percent = 0, others_max = 0;
    for (std::size_t c = 0; c < n; ++c) {
        if (l.Percent[c] > 0) {
            need_percent = std::max(need_percent, MulDiv(l.Max[c], 100, l.Percent[c]));
        } else {
            others_max += l.Max[c];
        }
    }
    const int need_others =
        ps == 100 ? (others_max > 0 ? 30000 : 0) : MulDiv(others_max, 100, 100 - ps);
    const int natural = std::max(need_percent, need_others);
    if (natural <= width) {
        const int others_share = MulDiv(natural, 100 - ps, 100);
        for (std::size_t c = 0; c < n; ++c) {
            if (l.Percent[c] > 0) {
                ColumnWidths[c] = MulDiv(natural, l.Percent[c], 100);
            } else {
                ColumnWidths[c] = others_max > 0 ? MulDiv(others_share, l.Max[c], others_max) : 0;
            }
        }
        return true;
    }
    // Too narrow: percentages that cannot hold their column's minimum are dropped and the
    // others scaled down until they fit. Every pass either ends or lowers the sum of the
    // percentages (at most 100), so the loop is bounded.
    for (int pass = 0; pass <= 100; ++pass) {
        bool any = false;
        int others_min = 0, percent_widths = 0, sum_before = 0;
        for (std::size_t c = 0; c < n; ++c) {
            auto& p = l.Percent[c];
            if (p > 0 && MulDiv(width, p, 100) - 1 < l.Min[c]) p = 0;
            if (p > 0) {
                any = true;
                percent_widths += MulDiv(width, p, 100);
                sum_before += p;
            } else {
                others_min += l.Min[c];
            }
        }
        if (!any) break;
        if (others_min + percent_widths > width) {
            const int room = std::max(0, width - others_min);
            int sum_after = 0;
            for (auto& p : l.Percent) {
                if (p > 0) {
                    p = std::max(0, MulDiv(p, room, percent_widths));
                    sum_after += p;
                }
            }
            if (sum_after >= sum_before) {
                // Rounding kept the sum: take one point from the largest percentage.
                auto it = std::max_element(l.Percent.begin(), l.Percent.end());
                --*it;
            }
            continue;
        }
        for (std::size_t c = 0; c < n; ++c) {
            if (l.Percent[c] > 0) l.Min[c] = l.Max[c] = MulDiv(width, l.Percent[c], 100);
        }
        l.Total();
        break;
    }
    return false;
}

}  // namespace quillon
