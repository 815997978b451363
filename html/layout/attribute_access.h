#pragma once
// Reading tag attributes into model values: texts, numbers, lengths with an optional
// percent sign, and colours. Every colour of the model is a canvas Color (0x00RRGGBB);
// the tokenizer's colours (red in the low byte, maybe with the palette bit) are converted
// here.

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "html/parse/html_attribute.h"
#include "html/parse/html_color.h"
#include "html/parse/symb.h"
#include "platform/core/rgba_image.h"

namespace quillon {

// A tokenizer colour (Windows order, red in bits 0-7) as a canvas colour.
inline Color CanvasColor(TColor windows) {
    return ((windows & 0xFFu) << 16) | (windows & 0xFF00u) | ((windows >> 16) & 0xFFu);
}

// A WIDTH or HEIGHT value: pixels, or a percentage when the text ends in '%'.
struct TLength {
    int Value = 0;
    bool Percent = false;
};

inline bool HasAttr(const TAttributeList& attrs, Symb sym) {
    return attrs.Find(sym) != nullptr;
}
// The value text as UTF-8 (empty when absent).
std::string AttrText(const TAttributeList& attrs, Symb sym);
// The numeric value, if the attribute is present.
std::optional<int> AttrNumber(const TAttributeList& attrs, Symb sym);
// The colour of the value, if present and readable.
std::optional<Color> AttrColor(const TAttributeList& attrs, Symb sym);
// The value as a length, if present. The caller applies its own range rules.
std::optional<TLength> AttrLength(const TAttributeList& attrs, Symb sym);
// The WIDTH of a table or image: pixels (negative ones read 0) or a percentage of 1..100.
// Without a usable WIDTH, value and percent stay as they are.
void ReadBlockWidth(const TAttributeList& attrs, int& value, bool& percent);
// Whether text is `lower_word` (lower-case ASCII) with ASCII letters of either case.
bool EqualsIgnoringAsciiCase(std::u32string_view text, std::string_view lower_word);
// The value paired with the first keyword (lower-case ASCII) that the attribute's text is,
// ignoring ASCII case; nothing when the attribute is absent or is none of them.
template <class T>
std::optional<T> AttrKeyword(const TAttributeList& attrs, Symb sym,
                             std::initializer_list<std::pair<std::string_view, T>> keywords) {
    const TAttribute* a = attrs.Find(sym);
    if (!a) return std::nullopt;
    for (const auto& [word, value] : keywords) {
        if (EqualsIgnoringAsciiCase(a->Text, word)) return value;
    }
    return std::nullopt;
}
// The value text upper- or lower-cased (ASCII letters only).
std::string AttrUpper(const TAttributeList& attrs, Symb sym);
std::string AttrLower(const TAttributeList& attrs, Symb sym);

}  // namespace quillon
