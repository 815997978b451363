// Painting a table (cell backgrounds, contents, 3D frames, the border colour between the
// cells) and its hit tests: a point or a cursor index is handed to the cell that holds it.

#include <algorithm>

#include "html/layout/html_table.h"
#include "html/layout/indent_manager.h"
#include "html/layout/section_list.h"
#include "html/layout/system_colors.h"

namespace quillon {

namespace {

// A 1-pixel 3D frame on the edges of [r.left, r.right] x [r.top, r.bottom] (inclusive):
// raised is light on the left and top and dark on the right and bottom, sunken the reverse.
void RaisedRect(const TSectionList& doc, Canvas& canvas, const Rect& r, bool raised) {
    Color light = doc.IsPrinting || doc.Background() == 0xFFFFFF ? system_colors::kSilver
                                                                 : system_colors::kButtonHighlight;
    Color dark = system_colors::kButtonShadow;
    if (canvas.IsPrinter() && canvas.IsMonochrome()) light = dark = 0x000000;
    const Color top_left = raised ? light : dark;
    const Color bottom_right = raised ? dark : light;
    canvas.DrawLine({r.left, r.top}, {r.right + 1, r.top}, top_left);
    canvas.DrawLine({r.left, r.top}, {r.left, r.bottom + 1}, top_left);
    canvas.DrawLine({r.right, r.top}, {r.right, r.bottom + 1}, bottom_right);
    canvas.DrawLine({r.left, r.bottom}, {r.right + 1, r.bottom}, bottom_right);
}

// Fills the part of `area` that none of `holes` covers, band by band.
void FillOutside(Canvas& canvas, const Rect& area, const std::vector<Rect>& holes, Color color) {
    std::vector<int> edges{area.top, area.bottom};
    for (const Rect& h : holes) {
        edges.push_back(std::clamp(h.top, area.top, area.bottom));
        edges.push_back(std::clamp(h.bottom, area.top, area.bottom));
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    std::vector<std::pair<int, int>> spans;
    for (std::size_t i = 0; i + 1 < edges.size(); ++i) {
        const int top = edges[i], bottom = edges[i + 1];
        spans.clear();
        for (const Rect& h : holes) {
            if (h.top <= top && h.bottom >= bottom) spans.emplace_back(h.left, h.right);
        }
        std::sort(spans.begin(), spans.end());
        int x = area.left;
        for (const auto& [l, r] : spans) {
            if (l > x) canvas.FillRect(Rect{x, top, std::min(l, area.right), bottom}, color);
            x = std::max(x, r);
            if (x >= area.right) break;
        }
        if (x < area.right) canvas.FillRect(Rect{x, top, area.right, bottom}, color);
    }
}

}  // namespace

void ThtmlTable::PaintBackground(Canvas& canvas, const Rect& area, const Rect& part) const {
    if (part.IsEmpty()) return;
    if (HasBackColor) canvas.FillRect(part, BackColor);
    if (!Document) return;
    if (const RgbaImage* image = Picture->Load(*Document)) {
        PaintPicture(canvas, area, part, *image, *Picture);
    }
}

void ThtmlTable::PaintRowBackground(Canvas& canvas, const TCellList& row, int column,
                                    const Rect& area, const Rect& part) const {
    if (part.IsEmpty()) return;
    // Under the row's picture its colour, else the column's, else the table's where the
    // table does not paint it itself.
    if (row.BkGnd) {
        canvas.FillRect(part, row.BkColor);
    } else if (const Color* colour = ColumnColour(column)) {
        canvas.FillRect(part, *colour);
    } else if (HasBackColor && !Picture) {
        canvas.FillRect(part, BackColor);
    }
    if (!Document) return;
    if (const RgbaImage* image = row.Picture->Load(*Document)) {
        PaintPicture(canvas, area, part, *image, *row.Picture);
    }
}

int ThtmlTable::Draw(Canvas& canvas, const Rect& clip, IndentManager& /*im*/, int x, int y) {
    DrawX = x;
    DrawY = y;
    TopY = y;
    TSectionList& doc = *Document;
    if (y + DrawHeight <= clip.top || y >= clip.bottom) return y + Height;

    if (CaptionCell && CaptionOnTop) {
        CaptionCell->Body.Draw(canvas, clip, BlockWidth, x + BlockIndent, y);
    }
    const int body_x = x + BodyIndent;
    const int body_y = y + (CaptionOnTop ? CaptionSpace : 0);
    const Rect body{body_x, body_y, body_x + BodyWidth, body_y + BodyHeight};
    // The whole body is one picture, also when a printed page shows only part of it.
    if (Picture) PaintBackground(canvas, body, body.Intersect(clip));
    std::vector<Rect> drawn;
    // Cells with borders of their own, drawn after every cell's background so that where
    // cells touch a border is not painted over by the neighbour's background.
    std::vector<std::pair<Rect, const CellBox*>> framed;
    int row_y = body_y;
    for (const auto& row : RowList) {
        const int reach = std::max(row->RowSize, row->RowSpanHeight);
        if (row_y >= clip.bottom) break;
        if (row_y + reach > clip.top) {
            int cx = body_x;
            for (int c = 0; c < row->Count(); ++c) {
                TCellObj& cell = (*row)[c];
                if (cell.SpanCols > 0) {
                    const Rect back{cx + Spacing, row_y + Spacing, cx + cell.SpanWidth + 1,
                                    row_y + cell.SpanHeight + 1};
                    if (row->Picture) {
                        // The row's picture lies over the whole row and shows in its cells.
                        const Rect row_box{body_x + Spacing, row_y + Spacing,
                                           body_x + BodyWidth - Spacing + 1,
                                           row_y + row->RowSize + 1};
                        PaintRowBackground(canvas, *row, c, row_box, back.Intersect(clip));
                    }
                    const CellBox* box = cell.Box();
                    // A hidden cell keeps its room; its content draws itself (or not).
                    const bool hidden = cell.Hidden || (box && box->Style->Hidden);
                    if (!hidden && box && box->Style->Background) {
                        canvas.FillRect(back, *box->Style->Background);
                    } else if (!hidden && cell.Body.BkGnd) {
                        canvas.FillRect(back, cell.Body.BkColor);
                    }
                    if (box && box->Style->Picture && !hidden) {
                        if (const RgbaImage* image = box->Style->Picture->Load(doc)) {
                            PaintPicture(canvas, back, clip, *image, *box->Style->Picture);
                        }
                    }
                    if (HasEdgeColor) drawn.push_back(back);
                    cell.Body.Draw(canvas, clip, std::max(0, cell.SpanWidth - AddedWidth(cell)),
                                   cx + Spacing + CellRoom(cell, kBoxLeft),
                                   row_y + Spacing + CellRoom(cell, kBoxTop) + cell.InnerOffset);
                    if (box && box->HasEdges()) {
                        if (!hidden) framed.emplace_back(back, box);
                    } else if (HasBorder && !hidden) {
                        RaisedRect(doc, canvas,
                                   Rect{cx + Spacing, row_y + Spacing, cx + cell.SpanWidth,
                                        row_y + cell.SpanHeight},
                                   false);
                    }
                }
                if (c < ColumnCount) cx += ColumnWidths[static_cast<std::size_t>(c)];
            }
        }
        row_y += row->RowSize;
    }
    for (const auto& [rect, box] : framed) {
        PaintBoxBorders(canvas, rect, box->Edges, {true, true, true, true});
    }
    if (HasEdgeColor && !Hidden) {
        const Rect area = body.Intersect(clip);
        if (!area.IsEmpty()) FillOutside(canvas, area, drawn, EdgeColor);
    }
    if (HasBorder && !Hidden) {
        RaisedRect(doc, canvas, Rect{body.left, body.top, body.right - 1, body.bottom - 1}, true);
    }
    if (CaptionCell && !CaptionOnTop) {
        CaptionCell->Body.Draw(canvas, clip, BlockWidth, x + BlockIndent, body_y + BodyHeight);
    }
    return y + Height;
}

TCellObj* ThtmlTable::CellAt(int x, int y, int& content_x) {
    if (y < LayoutY || y >= LayoutY + DrawHeight) return nullptr;
    const int body_top = LayoutY + (CaptionOnTop ? CaptionSpace : 0);
    const int body_bottom = body_top + BodyHeight;
    const bool in_caption = CaptionOnTop ? y < body_top : y >= body_bottom;
    if (in_caption) {
        if (!CaptionCell || x < BlockIndent || x >= BlockIndent + BlockWidth) return nullptr;
        content_x = BlockIndent;
        return CaptionCell.get();
    }
    if (x < BodyIndent || x >= BodyIndent + BodyWidth) return nullptr;
    int row_y = body_top;
    for (const auto& row : RowList) {
        if (row_y > y) break;
        int cx = BodyIndent;
        for (int c = 0; c < row->Count(); ++c) {
            TCellObj& cell = (*row)[c];
            if (cell.SpanCols > 0 && x >= cx && x < cx + cell.SpanWidth && y >= row_y &&
                y < row_y + cell.SpanHeight) {
                content_x = cx + Spacing + CellRoom(cell, kBoxLeft);
                return &cell;
            }
            if (c < ColumnCount) cx += ColumnWidths[static_cast<std::size_t>(c)];
        }
        row_y += row->RowSize;
    }
    return nullptr;
}

std::optional<UrlHit> ThtmlTable::GetURL(Canvas& canvas, int x, int y) {
    int content_x = 0;
    TCellObj* cell = CellAt(x, y, content_x);
    if (!cell) return std::nullopt;
    return cell->Body.GetURL(canvas, x - content_x, y);
}

CursorHit ThtmlTable::FindCursor(Canvas& canvas, int x, int y) {
    int content_x = 0;
    TCellObj* cell = CellAt(x, y, content_x);
    if (!cell) return {};
    CursorHit hit = cell->Body.FindCursor(canvas, x - content_x, y);
    if (hit.Index >= 0) hit.X += content_x;
    return hit;
}

std::optional<Point> ThtmlTable::CursorToXY(Canvas& canvas, int cursor) {
    std::optional<Point> found;
    auto look = [&](TCellObj& cell, int content_x) {
        if (found || cursor < cell.Body.StartCurs || cursor >= cell.Body.StartCurs + cell.Body.Len)
            return;
        if (auto p = cell.Body.CursorToXY(canvas, cursor)) found = Point{p->x + content_x, p->y};
    };
    if (CaptionCell && CaptionOnTop) look(*CaptionCell, BlockIndent);
    for (const auto& row : RowList) {
        int cx = BodyIndent;
        for (int c = 0; c < row->Count() && !found; ++c) {
            TCellObj& cell = (*row)[c];
            if (cell.SpanCols > 0) look(cell, cx + Spacing + CellRoom(cell, kBoxLeft));
            if (c < ColumnCount) cx += ColumnWidths[static_cast<std::size_t>(c)];
        }
        if (found) return found;
    }
    if (CaptionCell && !CaptionOnTop) look(*CaptionCell, BlockIndent);
    return found;
}

}  // namespace quillon
