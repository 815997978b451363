// Laying out a table: its target width, the column widths, the row heights from the cells'
// laid-out sections, the cells' places, and the table's place beside the enclosing cell's
// floats.

#include <algorithm>

#include "html/layout/html_table.h"
#include "html/layout/indent_manager.h"
#include "html/layout/mul_div.h"
#include "html/layout/section_list.h"

namespace quillon {

MinMax ThtmlTable::MinMaxWidth(Canvas& canvas) {
    const int pass = Document ? Document->LayoutPass() : -1;
    if (pass >= 0 && pass == minmax_pass_) return minmax_;
    AddDummyCells();
    ColumnLimits l = IntrinsicLimits(canvas);
    if (CellPercentages) {
        // The cells' percentages are of the width the table takes where it has room;
        // resolved, they widen it. Layout's resolution is restored afterwards.
        ResolveCellPercentages(-1);
        l = IntrinsicLimits(canvas);
        ResolveCellPercentages(l.TotalMax + Spacing);
        l = IntrinsicLimits(canvas);
        ResolveCellPercentages(percent_base_);
    }
    MinMax m{l.TotalMin + Spacing, l.TotalMax + Spacing};
    if (WidthValue > 0 && !WidthIsPercent) {
        m.Min = std::max(m.Min, WidthValue);
        m.Max = std::max(m.Max, WidthValue);
    }
    const int caption = CaptionCell ? CaptionCell->ContentWidths(canvas).Min : 0;
    m.Min = std::max(m.Min, caption);
    m.Max = std::max(m.Max, caption);
    if (MaxWidth && MaxWidth->Percent < 0) {
        m.Max = std::max(m.Min, std::min(m.Max, MaxWidth->Pixels));
    }
    if (MinWidth && MinWidth->Percent < 0) {
        m.Min = std::max(m.Min, MinWidth->Pixels);
        m.Max = std::max(m.Max, MinWidth->Pixels);
    }
    minmax_ = m;
    minmax_pass_ = pass;
    return m;
}

ColumnLimits ThtmlTable::IntrinsicLimits(Canvas& canvas) {
    if (HasAbsWidths && WidthValue == 0) return GetMinMaxAbs(canvas);
    return GetWidths(canvas, WidthIsPercent ? 0 : WidthValue);
}

void ThtmlTable::ResolveCellPercentages(int body_width) {
    // Browsers resolve them against the table's width less its outer spacing.
    const int width = body_width < 0 ? -1 : std::max(0, body_width - 2 * Spacing);
    for (const auto& row : RowList) {
        for (const auto& cell : row->Cells()) {
            if (cell->SpanCols <= 0) continue;
            if (CellBox* box = cell->MutableBox()) box->Resolve(width);
        }
    }
}

void ThtmlTable::RowHeights(Canvas& canvas, std::vector<int>& heights) {
    const int rows = static_cast<int>(RowList.size());
    heights.assign(static_cast<std::size_t>(rows), 0);
    int largest = 1;
    for (const auto& row : RowList) {
        for (const auto& cell : row->Cells()) largest = std::max(largest, cell->SpanRows);
    }
    int scratch_cursor = 0;
    for (int span = 1; span <= largest; ++span) {
        for (int r = 0; r + span <= rows; ++r) {
            TCellList& row = *RowList[static_cast<std::size_t>(r)];
            int need = 0;
            bool any = false;
            for (const auto& cell : row.Cells()) {
                if (cell->SpanCols <= 0 || cell->SpanRows != span) continue;
                int scroll_width = 0;
                const int content =
                    cell->Body.DoLogic(canvas, 0, std::max(0, cell->SpanWidth - AddedWidth(*cell)),
                                       scroll_width, scratch_cursor);
                cell->InnerHeight = content;
                // HEIGHT counts the cell's padding but not the spacing.
                const int room = CellRoom(*cell, kBoxTop) + CellRoom(*cell, kBoxBottom);
                need = std::max(
                    need, std::max(content, cell->HeightValue - room + 2) + AddedHeight(*cell));
                any = true;
            }
            if (!any) continue;
            if (span == 1) {
                heights[static_cast<std::size_t>(r)] = need;
                continue;
            }
            int sum = 0;
            for (int k = r; k < r + span; ++k) sum += heights[static_cast<std::size_t>(k)];
            if (sum < need) {
                const int grow = (need - sum) / span;
                for (int k = r; k < r + span; ++k) heights[static_cast<std::size_t>(k)] += grow;
                heights[static_cast<std::size_t>(r + span - 1)] += (need - sum) % span;
            }
        }
    }
}

void ThtmlTable::ColumnsAndRows(Canvas& canvas, int available, int room) {
    AddDummyCells();  // first: collapsed borders take the spacing away
    // The cells' percentages count as nothing for the width the table takes; resolved
    // against that width, they make room for themselves.
    if (CellPercentages) ResolveCellPercentages(-1);
    int width = available;
    if (WidthValue > 0) width = WidthIsPercent ? MulDiv(room, WidthValue, 100) : WidthValue;
    bool specified = WidthValue > 0;
    if (MinWidth || MaxWidth) width = LimitWidth(canvas, room, width, specified);
    width = std::max(width - Spacing, 20);
    if (CellPercentages) {
        SpreadColumns(canvas, width, specified);
        percent_base_ = Spacing;
        for (const int w : ColumnWidths) percent_base_ += w;
        ResolveCellPercentages(percent_base_);
    }
    SpreadColumns(canvas, width, specified);

    BodyWidth = Spacing;
    for (const int w : ColumnWidths) BodyWidth += w;
    CaptionNarrowest = CaptionCell ? CaptionCell->ContentWidths(canvas).Min : 0;
    BlockWidth = std::max(BodyWidth, CaptionNarrowest);

    for (const auto& row : RowList) {
        for (int c = 0; c < row->Count(); ++c) {
            TCellObj& cell = (*row)[c];
            if (cell.SpanCols <= 0) continue;
            cell.SpanWidth = 0;
            for (int k = c; k < std::min(c + cell.SpanCols, ColumnCount); ++k) {
                cell.SpanWidth += ColumnWidths[static_cast<std::size_t>(k)];
            }
        }
    }
    RowHeights(canvas, row_heights_);
}

void ThtmlTable::SpreadColumns(Canvas& canvas, int width, bool specified) {
    const auto n = static_cast<std::size_t>(ColumnCount);
    ColumnWidths.assign(n, 0);
    if (HasAbsWidths && !specified) {
        GetWidthsAbs(GetMinMaxAbs(canvas), width, false);
    } else {
        ColumnLimits l = GetWidths(canvas, width);
        ColumnPercents = l.Percent;
        if (width <= l.TotalMin) {
            ColumnWidths = l.Min;
        } else if (specified && SpreadAsBrowsers) {
            SpreadLikeBrowsers(l, width);
        } else if (specified) {
            SpreadSpecifiedWidth(l, width);
        } else if (!FitPercentages(l, width)) {
            for (std::size_t c = 0; c < n; ++c) {
                ColumnWidths[c] = width < l.TotalMax && l.TotalMax != l.TotalMin
                                      ? l.Min[c] + MulDiv(l.Max[c] - l.Min[c], width - l.TotalMin,
                                                          l.TotalMax - l.TotalMin)
                                      : l.Max[c];
            }
        }
    }
}

int ThtmlTable::LimitWidth(Canvas& canvas, int room, int width, bool& specified) {
    if (MaxWidth) width = std::min(width, MaxWidth->Resolve(room));
    if (MinWidth) {
        const int least = MinWidth->Resolve(room);
        if (!specified) {
            // An auto table takes its content's width within the room, but not less than
            // min-width: that width is then spread as a specified one.
            const ColumnLimits l = HasAbsWidths ? GetMinMaxAbs(canvas) : GetWidths(canvas, 0);
            width = std::min(width, l.TotalMax + Spacing);
            specified = true;
        }
        width = std::max(width, least);
    }
    return width;
}

int ThtmlTable::DrawLogic(Canvas& canvas, int y, IndentManager& im, int& max_width, int& cursor) {
    LayoutY = y;
    FirstCursor = cursor;
    im.SetLevel(y, NestLevel);
    const int left = im.LeftIndent(y);
    const int available = im.RightSide(y) - left;
    int room = available;
    if (OwnMargins) {
        if (const SectionBoxes* boxes = Boxes(); boxes && !boxes->List().empty()) {
            const std::size_t own = boxes->List().size() - 1;
            room += boxes->MarginOf(own, kBoxLeft) + boxes->MarginOf(own, kBoxRight);
        }
    }
    const int pass = Document ? Document->LayoutPass() : -1;
    if (pass < 0 || pass != grid_pass_ || available != grid_room_) {
        ColumnsAndRows(canvas, available, room);
        grid_pass_ = pass;
        grid_room_ = available;
    }
    const std::vector<int>& heights = row_heights_;

    int height = 0;
    int scroll_width = 0;
    CaptionSpace = 0;
    if (CaptionCell && CaptionOnTop) {
        CaptionSpace = CaptionCell->Body.DoLogic(canvas, y, BlockWidth, scroll_width, cursor);
        height = CaptionSpace;
    }
    int row_y = y + height;
    for (std::size_t r = 0; r < RowList.size(); ++r) {
        TCellList& row = *RowList[r];
        row.RowSize = heights[r];
        row.RowSpanHeight = heights[r];
        for (const auto& cell : row.Cells()) {
            if (cell->SpanCols <= 0) continue;
            cell->SpanHeight = 0;
            for (std::size_t k = r;
                 k < std::min(r + static_cast<std::size_t>(std::max(1, cell->SpanRows)),
                              heights.size());
                 ++k) {
                cell->SpanHeight += heights[k];
            }
            row.RowSpanHeight = std::max(row.RowSpanHeight, cell->SpanHeight);
            const int free = std::max(0, cell->SpanHeight - cell->InnerHeight - AddedHeight(*cell));
            cell->InnerOffset = cell->VertAlign == AlignmentType::Top      ? 0
                                : cell->VertAlign == AlignmentType::Bottom ? free
                                                                           : free / 2;
            cell->Body.DoLogic(
                canvas, row_y + Spacing + CellRoom(*cell, kBoxTop) + cell->InnerOffset,
                std::max(0, cell->SpanWidth - AddedWidth(*cell)), scroll_width, cursor);
        }
        row_y += heights[r];
    }
    BodyHeight = row_y - (y + height) + Spacing;
    height += BodyHeight;
    if (CaptionCell && !CaptionOnTop) {
        CaptionSpace =
            CaptionCell->Body.DoLogic(canvas, y + height, BlockWidth, scroll_width, cursor);
        height += CaptionSpace;
    }

    // Centred and right-aligned tables wider than the room stay at the left edge rather
    // than starting left of it.
    int offset = 0;
    if (BlockAlign == JustifyType::Centered) offset = (available - BlockWidth) / 2;
    if (BlockAlign == JustifyType::Right) offset = available - BlockWidth;
    BlockIndent = std::max(0, offset) + left;
    BodyIndent = BlockIndent + (BlockWidth - BodyWidth) / 2;
    max_width = std::max(max_width, BlockWidth);

    DrawHeight = height;
    PaintHeight = height;
    if (Floating == AlignmentType::ALeft || Floating == AlignmentType::ARight) {
        im.UpdateTable(y, BodyWidth + SideSpace + 1, Floating, height);
        Height = 0;
    } else {
        Height = height;
    }
    return Height;
}

}  // namespace quillon
