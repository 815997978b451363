#pragma once
// What a computed style says of the sizes and floats of the boxes the layout builds:
// widths and heights of block boxes and tables, floating images and tables, and which
// floats a block clears. Used only for documents with style.

#include <memory>
#include <optional>

#include "html/layout/box_style.h"
#include "html/layout/html_enums.h"
#include "html/style/computed_style.h"

namespace quillon {

class ThtmlTable;
class TImageObj;

// Whether the style sets a width, minimum or maximum width or a height.
bool HasSizeProperties(const css::ComputedStyle& s);
// The background picture the style gives a box (null: none).
std::shared_ptr<BoxPicture> PictureOf(const css::ComputedStyle& s);
// The sizes of a block box and its auto side margins.
BoxSizing SizingOf(const css::ComputedStyle& s);
// min-width, max-width and float of a table (its width is read with its other properties),
// and the browsers' way of spreading a specified width over its columns.
void SizeTable(ThtmlTable& table, const css::ComputedStyle& s);
// float and pixel width and height of an image.
void StyleImage(TImageObj& image, const css::ComputedStyle& s);
// The alignment of lines text-align gives (nothing: start, as the parent's).
std::optional<JustifyType> JustifyOf(css::TextAlign a);
// The floats an element's clear property clears (nothing: none).
std::optional<ClearAttrType> ClearOf(const css::ComputedStyle& s);

}  // namespace quillon
