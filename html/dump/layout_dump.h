#pragma once
// The laid-out document as JSON, for `quillon layout` and for tests:
//
//   {"width": W, "height": H, "sections": [
//     {"kind": "text", "y": 0, "height": 16,
//      "lines": [{"y": 0, "height": 16, "x": 0, "chars": 5, "text": "Hello"}],
//      "images": [{"x": 0, "y": 0, "w": 24, "h": 24}], "marker": "",
//      "runs": [{"at": 0, "family": "Times New Roman", "size": 16, "weight": 400,
//                "style": "normal", "decoration": null, "color": "#000000"}]},
//     {"kind": "space", "y": 16, "height": 14}, ...]}
//
// Kinds: "text", "pre", "list-item", "space", "rule", "table", "page". Text kinds carry
// their lines (y of the line top, its advance as height, its start x, its characters),
// the boxes of their images (floats where they were placed), the list marker ("" for
// none) and, when asked for (`quillon layout` always does), their font runs: the first character of
// each run, the font's family, size in pixels, weight (400 or 700), style ("normal" or "italic"),
// decoration ("underline", "line-through", both separated by a space, or null) and colour. Image
// and control placeholders appear in the text as \u0004 and \u0002, inline blocks as \u0003.
// A section with inline blocks carries "blocks": one {"x", "y", "w", "h", "baseline",
// "box", "sections"} per block, its margin box (x from the cell's left edge), its baseline
// from its top, its decoration ("box" as below, when it has one) and its own sections, laid
// out from its left edge. A section inside block boxes carries "boxes", outermost first:
//   {"first": true, "last": false, "background": "#rrggbb" or null,
//    "border": [{"width": 2, "style": "solid", "color": "#ff0000"}, x4],
//    "padding": [t, r, b, l], "margin": [t, r, b, l]}
// with the sides in the order top, right, bottom, left; "first" and "last" tell whether
// the box's top and bottom edges are around this section. Its "y" and "height" are those
// of its content, inside the room of its boxes.
// A table carries "columns" (the column widths), "body_width", "block_width",
// "block_indent", "row_heights", "height" (the whole table with its caption, also for a
// floating table, whose place in the flow is 0 high) and "cells": one list per row of
// {"x", "y", "w", "h", "sections": [...]}, the box of each real cell (its background) and
// its own sections in the same form. A cell with its own decoration also carries "box":
// {"background", "border", "padding", "margin"} as above, the borders as drawn (where the
// table collapses its borders, the narrower of two facing borders is "none"), and its
// "min_width" and "max_width" in pixels when its style gives them.

#include <iosfwd>
#include <string>

namespace quillon {

class TCell;

// The sections of a cell laid out for `width`, whose layout gave `height`; the text
// sections' "runs" only when `font_runs` is set.
std::string DumpLayout(const TCell& cell, int width, int height, bool font_runs = false);
// The same written to sink as it is made, for documents whose dump is too large to hold.
void DumpLayout(std::ostream& sink, const TCell& cell, int width, int height,
                bool font_runs = false);

}  // namespace quillon
