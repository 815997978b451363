#include "design/line_change.h"

namespace quillon::design {

namespace {

bool IsDelimiter(char16_t c, char16_t open, char16_t close) {
    return c == open || c == close;
}

// Whether longer is shorter with exactly one character inserted at index at.
bool OneInsertedAt(std::u16string_view longer, std::u16string_view shorter, std::size_t at) {
    return longer.size() == shorter.size() + 1 && longer.substr(0, at) == shorter.substr(0, at) &&
           longer.substr(at + 1) == shorter.substr(at);
}

}  // namespace

std::size_t CompareStrP(std::u16string_view a, std::u16string_view b) {
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t k = 0; k < n; ++k) {
        if (a[k] != b[k]) return k + 1;
    }
    return 0;
}

LineChange DecideLineChange(bool same_line, std::u16string_view last, std::u16string_view now,
                            char16_t open, char16_t close) {
    if (now.empty() || now.front() < u' ') return LineChange::Ignore;
    if (!same_line) return LineChange::Recolour;
    std::size_t d = CompareStrP(last, now);
    if (d == 0 && last.size() == now.size()) return LineChange::Unchanged;
    const std::size_t shorter = last.size() < now.size() ? last.size() : now.size();
    const std::size_t longer = last.size() < now.size() ? now.size() : last.size();
    if (longer - shorter != 1) return LineChange::Recolour;
    if (d == 0) d = shorter + 1;
    const std::size_t at = d - 1;
    // A length difference of one is a single keystroke only when the texts agree apart from
    // that character; a selection replaced by one character is not, and may have removed
    // a delimiter elsewhere.
    const bool single =
        now.size() > last.size() ? OneInsertedAt(now, last, at) : OneInsertedAt(last, now, at);
    if (!single) return LineChange::Recolour;
    if ((at < now.size() && IsDelimiter(now[at], open, close)) ||
        (at < last.size() && IsDelimiter(last[at], open, close))) {
        return LineChange::Recolour;
    }
    const std::u16string_view after = at + 1 < now.size() ? now.substr(at + 1) : u"";
    const std::size_t first_close = after.find(close);
    const std::size_t first_open = after.find(open);
    if (first_close == std::u16string_view::npos ||
        (first_open != std::u16string_view::npos && first_open < first_close)) {
        return LineChange::OutsideSpan;
    }
    return LineChange::Recolour;
}

}  // namespace quillon::design
