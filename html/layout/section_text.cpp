#include "html/layout/section_text.h"

#include <algorithm>

namespace quillon {

namespace {

bool FitsNarrow(std::u32string_view s) {
    return std::all_of(s.begin(), s.end(), [](char32_t c) { return c <= 0xFF; });
}

}  // namespace

void TSectionText::Widen() {
    if (Wide()) return;
    const std::string& narrow = std::get<std::string>(text_);
    std::u32string wide(narrow.size(), U'\0');
    std::transform(narrow.begin(), narrow.end(), wide.begin(),
                   [](char c) { return static_cast<char32_t>(static_cast<unsigned char>(c)); });
    text_ = std::move(wide);
}

void TSectionText::append(std::u32string_view s) {
    if (auto* n = std::get_if<std::string>(&text_)) {
        if (FitsNarrow(s)) {
            const std::size_t old = n->size();
            n->resize(old + s.size());
            std::transform(s.begin(), s.end(), n->begin() + static_cast<std::ptrdiff_t>(old),
                           [](char32_t c) { return static_cast<char>(c); });
            return;
        }
        Widen();
    }
    std::get<std::u32string>(text_).append(s);
}

void TSectionText::set(std::size_t i, char32_t c) {
    if (auto* n = std::get_if<std::string>(&text_)) {
        if (c <= 0xFF) {
            (*n)[i] = static_cast<char>(c);
            return;
        }
        Widen();
    }
    std::get<std::u32string>(text_)[i] = c;
}

std::size_t TSectionText::find(std::u32string_view s, std::size_t start) const {
    if (const auto* w = std::get_if<std::u32string>(&text_)) return w->find(s, start);
    // Narrow text holds no character above U+00FF, so such a search text never matches.
    if (!FitsNarrow(s)) return std::u32string::npos;
    std::string narrow(s.size(), '\0');
    std::transform(s.begin(), s.end(), narrow.begin(),
                   [](char32_t c) { return static_cast<char>(c); });
    return std::get<std::string>(text_).find(narrow, start);
}

std::u32string TSectionText::str() const {
    std::u32string out;
    const std::u32string_view v = View(out);
    if (v.data() != out.data()) out.assign(v);
    return out;
}

std::u32string_view TSectionText::View(std::u32string& scratch) const {
    if (const auto* w = std::get_if<std::u32string>(&text_)) return *w;
    const std::string& narrow = std::get<std::string>(text_);
    scratch.resize(narrow.size());
    std::transform(narrow.begin(), narrow.end(), scratch.begin(),
                   [](char c) { return static_cast<char32_t>(static_cast<unsigned char>(c)); });
    return scratch;
}

}  // namespace quillon
