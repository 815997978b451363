// Layout and drawing of text sections, rules and tables before the
// paragraph and table layout engines exist. These bodies give "not laid out" results:
// no lines, zero heights, nothing painted, no hits. They do number the cursor positions,
// so that the selection, copying and search work on a freshly built document.

#include <algorithm>

#include "html/layout/html_table.h"
#include "html/layout/indent_manager.h"
#include "html/layout/section.h"
#include "html/layout/spacer_sections.h"

namespace quillon {

// --- TSection ---

int TSection::DrawLogic(Canvas& /*canvas*/, int /*y*/, IndentManager& /*im*/, int& /*max_width*/,
                        int& cursor) {
    FirstCursor = cursor;
    cursor += CharCount();
    LineList.clear();
    Height = 0;
    PaintHeight = 0;
    return 0;
}

int TSection::Draw(Canvas& /*canvas*/, const Rect& /*clip*/, IndentManager& /*im*/, int /*x*/,
                   int y) {
    TopY = y;
    return y + Height;
}

std::optional<UrlHit> TSection::GetURL(Canvas& /*canvas*/, int /*x*/, int /*y*/) {
    return std::nullopt;
}

CursorHit TSection::FindCursor(Canvas& /*canvas*/, int /*x*/, int /*y*/) {
    return {};
}

std::optional<Point> TSection::CursorToXY(Canvas& /*canvas*/, int /*cursor*/) {
    return std::nullopt;
}

MinMax TSection::MinMaxWidth(Canvas& /*canvas*/) {
    return {};
}

// --- TPreFormated ---

int TPreFormated::DrawLogic(Canvas& canvas, int y, IndentManager& im, int& max_width, int& cursor) {
    return TSection::DrawLogic(canvas, y, im, max_width, cursor);
}

MinMax TPreFormated::MinMaxWidth(Canvas& /*canvas*/) {
    return {};
}

// --- THorzLine ---

int THorzLine::DrawLogic(Canvas& canvas, int y, IndentManager& im, int& max_width, int& cursor) {
    return TSectionBase::DrawLogic(canvas, y, im, max_width, cursor);
}

int THorzLine::Draw(Canvas& /*canvas*/, const Rect& /*clip*/, IndentManager& /*im*/, int /*x*/,
                    int y) {
    TopY = y;
    return y + Height;
}

// --- ThtmlTable ---

int ThtmlTable::DrawLogic(Canvas& canvas, int y, IndentManager& /*im*/, int& /*max_width*/,
                          int& cursor) {
    FirstCursor = cursor;
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
