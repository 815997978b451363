#pragma once
// The selection between two caret positions. The content of an inline block is numbered
// from its placeholder's cursor index, apart from the text around it, so a selection lies
// in one numbering: the document's own text, or the content of one inline block. Its two
// ends are taken to the innermost content that holds both; an end deeper inside a block
// stands for that block's placeholder, which then lies in the selection whole.

#include "html/layout/section_base.h"

namespace quillon {

class TInlineBlock;

struct SelRange {
    int Start = 0;  // cursor indices [Start, End)
    int End = 0;
    // The inline block whose content the indices number, or null for the document's text.
    const TInlineBlock* Block = nullptr;

    friend bool operator==(const SelRange&, const SelRange&) = default;
};

// The selection from the caret position `anchor` to `focus` (either may come first).
SelRange SelectionBetween(const CursorHit& anchor, const CursorHit& focus);

}  // namespace quillon
