// The grid of a table: column spans become placeholder cells after their cell, row spans
// placeholder cells in the rows below, so that every cell sits at the index of its column.

#include <algorithm>

#include "html/layout/html_table.h"
#include "html/layout/process_error.h"
#include "html/layout/section_list.h"

namespace quillon {

namespace {

constexpr const char* kTooManyColumns = "Table has too many Columns";
constexpr const char* kTooManyCells = "Table has too many Cells";

class PlaceholderMaker {
  public:
    explicit PlaceholderMaker(TSectionList& doc) : doc_(doc) {}
    std::unique_ptr<TCellObj> Make(int span_rows) {
        if (++made_ > kMaxPlaceholderCells) throw EProcessError(kTooManyCells);
        auto cell = std::make_unique<TCellObj>(doc_, AlignmentType::Middle);
        cell->SpanCols = 0;
        cell->SpanRows = span_rows;
        return cell;
    }

  private:
    TSectionList& doc_;
    long made_ = 0;
};

}  // namespace

void ThtmlTable::AddDummyCells() {
    if (Prepared) return;
    // A grid that failed is half expanded: it is not expanded again.
    if (!GridError.empty()) throw EProcessError(GridError);
    try {
        ExpandGrid();
    } catch (const EProcessError& e) {
        GridError = e.what();
        throw;
    }
}

// Cells of one column without a WIDTH take the width COL or COLGROUP gave their column; a
// pixel width from style widens those with a narrower one.
void ThtmlTable::ApplyColumnStyles() {
    if (ColStyles.empty()) return;
    for (auto& row : RowList) {
        const int n = std::min(row->Count(), static_cast<int>(ColStyles.size()));
        for (int c = 0; c < n; ++c) {
            TCellObj& cell = (*row)[c];
            const ColumnStyle& column = ColStyles[static_cast<std::size_t>(c)];
            if (cell.SpanCols != 1 || column.Value <= 0) continue;
            if (column.BorderBox) {
                // As browsers do, the wider of the column's width and the cell's own.
                if (cell.WidthIsPercent && cell.WidthValue > 0) continue;
                const int room = CellRoom(cell, kBoxLeft) + CellRoom(cell, kBoxRight);
                cell.WidthValue = std::max({1, cell.WidthValue, column.Value - room});
                cell.WidthIsPercent = false;
                HasAbsWidths = true;
                continue;
            }
            if (cell.WidthValue > 0) continue;
            cell.WidthValue = column.Value;
            cell.WidthIsPercent = column.Percent;
            if (!column.Percent) HasAbsWidths = true;
        }
    }
}

void ThtmlTable::TakeColumnColours() {
    for (auto& row : RowList) {
        // A row with a picture paints the colour under it itself.
        if (row->Picture) continue;
        for (int c = 0; c < row->Count(); ++c) {
            TCellObj& cell = (*row)[c];
            if (cell.SpanCols <= 0 || cell.Body.BkGnd || cell.Hidden) continue;
            // A cell spanning columns takes the colour of its first, as browsers paint it.
            if (const Color* colour = ColumnColour(c)) {
                cell.Body.BkGnd = true;
                cell.Body.BkColor = *colour;
            } else if (HasBackColor && !Picture) {
                cell.Body.BkGnd = true;
                cell.Body.BkColor = BackColor;
            }
        }
    }
}

void ThtmlTable::ExpandGrid() {
    if (!Document->IsPrinting && !HasBackColor && EnclosingCell && EnclosingCell->BkGnd) {
        HasBackColor = true;
        BackColor = EnclosingCell->BkColor;
    }
    // Columns with colours: cells take the table's colour with theirs, once the grid shows
    // which column each cell is in.
    const bool column_colours =
        std::any_of(ColStyles.begin(), ColStyles.end(),
                    [](const ColumnStyle& col_style) { return col_style.HasBack; });
    PlaceholderMaker placeholders(*Document);
    ColumnCount = 0;
    for (auto& row : RowList) {
        auto& cells = row->MutableCells();
        // A cell takes the colour of its row, else its column's or the table's, unless the
        // row or table has a picture: that one paints its colour under the picture itself.
        auto take_colours = [&](TCellObj& cell) {
            if (cell.SpanCols <= 0) return;
            if (cell.WidthValue > 0 && !cell.WidthIsPercent) HasAbsWidths = true;
            if (row->Picture) return;
            if (!cell.Body.BkGnd && row->BkGnd && !cell.Hidden) {
                cell.Body.BkGnd = true;
                cell.Body.BkColor = row->BkColor;
            }
            if (!cell.Body.BkGnd && HasBackColor && !Picture && !cell.Hidden && !column_colours) {
                cell.Body.BkGnd = true;
                cell.Body.BkColor = BackColor;
            }
        };
        // Placeholders go after their cell. The spans are checked against the room left
        // before anything is made for them, and the cells move only once every placeholder
        // is made, so that a row that fails keeps its cells.
        std::vector<std::unique_ptr<TCellObj>> expanded;  // from the first span on
        bool spread = false;
        std::size_t width = 0;
        for (const auto& cell : cells) {
            take_colours(*cell);
            const int span = std::max(1, cell->SpanCols);
            if (span > kMaxColumns - static_cast<int>(width)) throw EProcessError(kTooManyColumns);
            if (span > 1 && !spread) {
                spread = true;
                expanded.reserve(cells.size() + static_cast<std::size_t>(span) - 1);
                expanded.resize(width);  // the places of the cells before
            }
            width += static_cast<std::size_t>(span);
            if (!spread) continue;
            expanded.emplace_back();  // the cell's place
            for (int k = 1; k < span; ++k) expanded.push_back(placeholders.Make(cell->SpanRows));
        }
        // Without spans there is nothing to insert: the row keeps its list (a report has
        // many such rows).
        if (!spread) {
            ColumnCount = std::max(ColumnCount, row->Count());
            continue;
        }
        std::size_t at = 0;
        for (auto& cell : cells) {
            const int span = std::max(1, cell->SpanCols);
            expanded[at] = std::move(cell);
            at += static_cast<std::size_t>(span);
        }
        cells = std::move(expanded);
        ColumnCount = std::max(ColumnCount, row->Count());
    }

    const int rows = static_cast<int>(RowList.size());
    for (int c = 0; c < ColumnCount; ++c) {
        for (int r = 0; r < rows; ++r) {
            TCellList& row = *RowList[static_cast<std::size_t>(r)];
            if (row.Count() <= c) continue;
            TCellObj& cell = row[c];
            cell.SpanRows = std::clamp(cell.SpanRows, 0, rows - r);
            for (int k = 1; k < cell.SpanRows; ++k) {
                TCellList& below = *RowList[static_cast<std::size_t>(r + k)];
                while (below.Count() < c) below.Add(placeholders.Make(0));
                below.Insert(c, placeholders.Make(0));
                if (below.Count() > kMaxColumns) throw EProcessError(kTooManyColumns);
                ColumnCount = std::max(ColumnCount, below.Count());
            }
        }
    }
    ColumnCount = 0;
    for (const auto& row : RowList) ColumnCount = std::max(ColumnCount, row->Count());
    if (ColumnCount > kMaxColumns) throw EProcessError(kTooManyColumns);
    ColumnWidths.assign(static_cast<std::size_t>(ColumnCount), 0);
    ColumnPercents.assign(static_cast<std::size_t>(ColumnCount), 0);
    if (CollapseBorders) {
        Spacing = 0;
        CollapseCellEdges();
    }
    // After the borders are settled: a width from style includes the cells' borders.
    ApplyColumnStyles();
    if (column_colours) TakeColumnColours();
    Prepared = true;
}

void ThtmlTable::CollapseCellEdges() {
    // The real cell covering every slot of the grid.
    const auto rows = RowList.size();
    const auto columns = static_cast<std::size_t>(ColumnCount);
    std::vector<TCellObj*> owner(rows * columns, nullptr);
    bool any = false;
    for (std::size_t r = 0; r < rows; ++r) {
        TCellList& row = *RowList[r];
        for (int c = 0; c < row.Count(); ++c) {
            TCellObj& cell = row[c];
            if (cell.SpanCols <= 0) continue;
            any = any || cell.Box();
            for (std::size_t rr = r; rr < std::min(rows, r + std::max(1, cell.SpanRows)); ++rr) {
                for (auto cc = static_cast<std::size_t>(c);
                     cc < std::min(columns, static_cast<std::size_t>(c + cell.SpanCols)); ++cc) {
                    if (!owner[rr * columns + cc]) owner[rr * columns + cc] = &cell;
                }
            }
        }
    }
    if (!any) return;
    // Each shared edge is settled from the cell left of it or above it: the narrower of
    // the two facing borders is not drawn (the later cell's, when they are as wide).
    auto settle = [](TCellObj* a, BoxSide a_side, TCellObj* b, BoxSide b_side) {
        if (!a || !b || a == b) return;
        CellBox* ab = a->MutableBox();
        CellBox* bb = b->MutableBox();
        if (!ab || !bb) return;
        BorderEdge& ae = ab->Edges[a_side];
        BorderEdge& be = bb->Edges[b_side];
        if (ae.Room() >= be.Room()) {
            be = BorderEdge{};
        } else {
            ae = BorderEdge{};
        }
    };
    for (std::size_t r = 0; r < rows; ++r) {
        for (std::size_t c = 0; c < columns; ++c) {
            TCellObj* cell = owner[r * columns + c];
            if (c + 1 < columns && owner[r * columns + c + 1] != cell) {
                settle(cell, kBoxRight, owner[r * columns + c + 1], kBoxLeft);
            }
            if (r + 1 < rows && owner[(r + 1) * columns + c] != cell) {
                settle(cell, kBoxBottom, owner[(r + 1) * columns + c], kBoxTop);
            }
        }
    }
}

}  // namespace quillon
