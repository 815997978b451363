#include "html/layout/sel_range.h"

#include <algorithm>
#include <cstddef>

namespace quillon {

SelRange SelectionBetween(const CursorHit& anchor, const CursorHit& focus) {
    // The blocks both ends lie in.
    std::size_t shared = 0;
    while (shared < anchor.Blocks.size() && shared < focus.Blocks.size() &&
           anchor.Blocks[shared].Block == focus.Blocks[shared].Block) {
        ++shared;
    }
    SelRange range;
    if (shared > 0) range.Block = anchor.Blocks[shared - 1].Block;
    // An end inside a further block is that block's placeholder; `deeper` tells it apart
    // from a caret before the placeholder.
    struct End {
        int index = 0;
        bool deeper = false;
    };
    const auto end_of = [shared](const CursorHit& hit) {
        return shared < hit.Blocks.size() ? End{hit.Blocks[shared].Placeholder, true}
                                          : End{hit.Index, false};
    };
    const End a = end_of(anchor);
    const End b = end_of(focus);
    const bool a_first = a.index < b.index || (a.index == b.index && !a.deeper);
    const End& first = a_first ? a : b;
    const End& last = a_first ? b : a;
    range.Start = first.index;
    // The last end, inside a block, takes that block in.
    range.End = last.deeper ? last.index + 1 : last.index;
    range.End = std::max(range.End, range.Start);
    return range;
}

}  // namespace quillon
