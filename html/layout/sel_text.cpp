#include "html/layout/sel_text.h"

#include <limits>

#include "html/layout/html_enums.h"

namespace quillon {

void SelTextCount::AddText(std::u32string_view text) {
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == kImageChar || text[i] == kFormControlChar ||
            text[i] == kInlineBlockChar) {
            if (i > start) Put(text.substr(start, i - start));
            start = i + 1;
        }
    }
}

void SelTextCount::Put(std::u32string_view text) {
    length_ += text.size();
}

SelTextBuf::SelTextBuf(int sel_start, int sel_end, std::size_t limit)
    : SelTextCount(sel_start, sel_end), limit_(limit) {}

void SelTextBuf::Put(std::u32string_view text) {
    const std::size_t room = limit_ - text_.size();
    const std::u32string_view taken = text.substr(0, room);
    text_.append(taken);
    SelTextCount::Put(taken);
}

ClipBuffer::ClipBuffer(int sel_start, int sel_end)
    : SelTextBuf(sel_start, sel_end, std::numeric_limits<std::size_t>::max()) {}

}  // namespace quillon
