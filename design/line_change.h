#pragma once
// Whether an edit of the caret's line can have changed which of its characters belong to a
// span, so that typing re-colours at most one line and most keystrokes none.

#include <cstddef>
#include <string_view>

namespace quillon::design {

// Compares a and b over the length of the shorter: 0 when they agree there, otherwise the
// 1-based position of the first character that differs.
std::size_t CompareStrP(std::u16string_view a, std::u16string_view b);

enum class LineChange {
    Ignore,       // the line is empty or begins below the space character (a tab)
    Unchanged,    // same line, same text
    OutsideSpan,  // one character typed or deleted where it cannot change any span
    Recolour,     // the line must be re-coloured
};

// The decision for the caret's line `now` against the text `last` that the line had when
// it was last examined; same_line tells whether it is the same line.
LineChange DecideLineChange(bool same_line, std::u16string_view last, std::u16string_view now,
                            char16_t open, char16_t close);

}  // namespace quillon::design
