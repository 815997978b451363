#include "html/layout/attribute_access.h"

#include <algorithm>

#include "platform/core/text_encoding.h"

namespace quillon {

std::string AttrText(const TAttributeList& attrs, Symb sym) {
    const TAttribute* a = attrs.Find(sym);
    return a ? a->TextUtf8() : std::string();
}

std::optional<int> AttrNumber(const TAttributeList& attrs, Symb sym) {
    const TAttribute* a = attrs.Find(sym);
    if (!a) return std::nullopt;
    return a->Number;
}

std::optional<Color> AttrColor(const TAttributeList& attrs, Symb sym) {
    const TAttribute* a = attrs.Find(sym);
    if (!a) return std::nullopt;
    const std::optional<TColor> c = GetColor(a->Text);
    if (!c) return std::nullopt;
    return CanvasColor(*c);
}

std::optional<TLength> AttrLength(const TAttributeList& attrs, Symb sym) {
    const TAttribute* a = attrs.Find(sym);
    if (!a) return std::nullopt;
    TLength len;
    len.Value = a->Number;
    len.Percent = a->Text.find(U'%') != std::u32string::npos;
    return len;
}

bool EqualsIgnoringAsciiCase(std::u32string_view text, std::string_view lower_word) {
    if (text.size() != lower_word.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char32_t c = text[i] >= U'A' && text[i] <= U'Z' ? text[i] + 32 : text[i];
        if (c != static_cast<unsigned char>(lower_word[i])) return false;
    }
    return true;
}

std::string AttrUpper(const TAttributeList& attrs, Symb sym) {
    return text::AsciiUpperCase(AttrText(attrs, sym));
}

std::string AttrLower(const TAttributeList& attrs, Symb sym) {
    std::string s = AttrText(attrs, sym);
    for (char& c : s) c = text::AsciiLower(c);
    return s;
}

void ReadBlockWidth(const TAttributeList& attrs, int& value, bool& percent) {
    const auto w = AttrLength(attrs, Symb::WidthSy);
    if (!w) return;
    if (!w->Percent) {
        value = std::max(0, w->Value);
    } else if (w->Value >= 1 && w->Value <= 100) {
        value = w->Value;
        percent = true;
    }
}

}  // namespace quillon
