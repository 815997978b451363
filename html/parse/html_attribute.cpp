#include "html/parse/html_attribute.h"

#include "platform/core/text_encoding.h"

namespace quillon {

std::string TAttribute::TextUtf8() const {
    return text::ToUtf8(Text);
}

const TAttribute* TAttributeList::Find(Symb sym) const {
    for (const auto& a : items_) {
        if (a.Sym == sym) return &a;
    }
    return nullptr;
}

}  // namespace quillon
