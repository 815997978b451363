#pragma once
// What COL and COLGROUP give the columns of a table: a width and a background colour.

#include "platform/core/rgba_image.h"

namespace quillon {

struct ColumnStyle {
    int Value = 0;  // the width; 0: none given
    bool Percent = false;
    // A pixel width from style is that of the column's cells with their padding and
    // borders, as browsers take it; WIDTH is that of their content.
    bool BorderBox = false;
    bool HasBack = false;
    Color Back = 0;
};

}  // namespace quillon
