#pragma once
// Attributes of a tag as the tokenizer reads them.

#include <cstdint>
#include <string>
#include <vector>

#include "html/parse/symb.h"

namespace quillon {

// One attribute: its symbol, its name, the numeric reading of its value (0 when the value is not a
// number; 1 for a bare BORDER) and the value text.
struct TAttribute {
    Symb Sym = Symb::OtherAttribute;
    std::int32_t Number = 0;
    std::u32string Text;
    // As written, upper case (letters only); only while the tokenizer keeps names (empty
    // otherwise).
    std::string Name;

    // The value text as UTF-8 (for names, URLs and file names).
    std::string TextUtf8() const;
};

// The attributes of the last attribute-collecting tag, in source order.
class TAttributeList {
  public:
    // The first attribute whose symbol is `sym`, or nullptr.
    const TAttribute* Find(Symb sym) const;

    void Add(TAttribute a) { NewSlot() = std::move(a); }
    // Appends an empty attribute to be filled in; the storage of cleared attributes is
    // reused, so reading tag after tag allocates nothing once the list has grown.
    TAttribute& NewSlot();
    void DropLast() {
        if (count_ > 0) --count_;
    }
    void Clear() { count_ = 0; }
    std::size_t Count() const { return count_; }
    bool Empty() const { return count_ == 0; }
    const TAttribute& operator[](std::size_t i) const { return items_[i]; }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.begin() + static_cast<std::ptrdiff_t>(count_); }

  private:
    std::vector<TAttribute> items_;  // the first count_ are in use
    std::size_t count_ = 0;
};

}  // namespace quillon
