// Layout and drawing of tables before the table layout engine exists. These bodies give
// "not laid out" results: zero height, nothing painted, no hits. They do number the cursor
// positions of the cells, so that the selection, copying and search work.

#include <algorithm>

#include "html/layout/html_table.h"
#include "html/layout/image_obj.h"
#include "html/layout/indent_manager.h"
#include "html/layout/section.h"
#include "html/layout/spacer_sections.h"

namespace quillon {

// --- ThtmlTable ---

int ThtmlTable::DrawLogic(Canvas& canvas, int y, IndentManager& /*im*/, int& /*max_width*/,
                          int& cursor) {
    FirstCursor = cursor;
    LayoutY = y;
    ForEachCell([&](TCellObj& cell) {
        int width = 0;
        cell.Body.DoLogic(canvas, y, 0, width, cursor);
    });
    Height = 0;
    PaintHeight = 0;
    return 0;
}

int ThtmlTable::Draw(Canvas& /*canvas*/, const Rect& /*clip*/, IndentManager& /*im*/, int x,
                     int y) {
    DrawX = x;
    DrawY = y;
    TopY = y;
    return y + Height;
}

std::optional<UrlHit> ThtmlTable::GetURL(Canvas& /*canvas*/, int /*x*/, int /*y*/) {
    return std::nullopt;
}

CursorHit ThtmlTable::FindCursor(Canvas& /*canvas*/, int /*x*/, int /*y*/) {
    return {};
}

std::optional<Point> ThtmlTable::CursorToXY(Canvas& /*canvas*/, int /*cursor*/) {
    return std::nullopt;
}

MinMax ThtmlTable::MinMaxWidth(Canvas& /*canvas*/) {
    return {};
}

}  // namespace quillon
