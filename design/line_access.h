#pragma once
// Caret placement by line and column, clamped into the text.

namespace quillon::design {

// A line number clamped to 0 .. line_count - 1 (0 for a text without lines).
inline int ClampLine(int line, int line_count) {
    if (line >= line_count) line = line_count - 1;
    return line < 0 ? 0 : line;
}

// A column clamped to 0 .. line_length (the caret may stand after the last character).
inline int ClampColumn(int column, int line_length) {
    if (column > line_length) column = line_length;
    return column < 0 ? 0 : column;
}

}  // namespace quillon::design
