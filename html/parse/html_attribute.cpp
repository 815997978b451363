#include "html/parse/html_attribute.h"

#include "platform/core/text_encoding.h"

namespace quillon {

std::string TAttribute::TextUtf8() const {
    return text::ToUtf8(Text);
}

const TAttribute* TAttributeList::Find(Symb sym) const {
    for (const auto& a : *this) {
        if (a.Sym == sym) return &a;
    }
    return nullptr;
}

TAttribute& TAttributeList::NewSlot() {
    if (count_ == items_.size()) items_.emplace_back();
    TAttribute& a = items_[count_++];
    a.Sym = Symb::OtherAttribute;
    a.Number = 0;
    a.Text.clear();
    return a;
}

}  // namespace quillon
