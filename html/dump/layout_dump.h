#pragma once
// The laid-out document as JSON, for `quillon layout` and for tests:
//
//   {"width": W, "height": H, "sections": [
//     {"kind": "text", "y": 0, "height": 16,
//      "lines": [{"y": 0, "height": 16, "x": 0, "chars": 5, "text": "Hello"}],
//      "images": [{"x": 0, "y": 0, "w": 24, "h": 24}], "marker": ""},
//     {"kind": "space", "y": 16, "height": 14}, ...]}
//
// Kinds: "text", "pre", "list-item", "space", "rule", "table", "page". Text kinds carry
// their lines (y of the line top, its advance as height, its start x, its characters),
// the boxes of their images (floats where they were placed) and the list marker ("" for
// none). Image and control placeholders appear in the text as \u0004 and \u0002.
// A table carries "columns" (the column widths), "body_width", "block_width",
// "block_indent", "row_heights", "height" (the whole table with its caption, also for a
// floating table, whose place in the flow is 0 high) and "cells": one list per row of
// {"x", "y", "w", "h", "sections": [...]}, the box of each real cell (its background) and
// its own sections in the same form.

#include <string>

namespace quillon {

class TCell;

// The sections of a cell laid out for `width`, whose layout gave `height`.
std::string DumpLayout(const TCell& cell, int width, int height);

}  // namespace quillon
