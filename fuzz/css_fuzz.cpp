// Any bytes give a style sheet, declarations and selectors, never a crash; tokens tile the
// source in order, and whatever is kept is well formed.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "html/style/css_token.h"
#include "html/style/style_parser.h"

namespace {

void Check(bool ok) {
    if (!ok) __builtin_trap();
}

void CheckDeclarations(const std::vector<quillon::css::Declaration>& decls) {
    for (const auto& d : decls) Check(!d.name.empty() && !d.value.empty() && !d.text.empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    namespace css = quillon::css;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto tokens = css::Tokenize(text);
    std::size_t pos = 0;
    for (const css::Token& t : tokens) {
        Check(t.begin >= pos && t.end >= t.begin && t.end <= size);
        Check(t.end > t.begin || t.type == css::TokenType::Eof);
        pos = t.end;
    }
    Check(!tokens.empty() && tokens.back().type == css::TokenType::Eof);
    const css::StyleSheet sheet = css::ParseStyleSheet(text);
    for (const css::StyleRule& r : sheet.rules) {
        Check(!r.selectors.empty());
        for (const css::Selector& s : r.selectors) Check(!s.compounds.empty());
        CheckDeclarations(r.declarations);
    }
    for (const css::PageRule& p : sheet.pages) CheckDeclarations(p.declarations);
    CheckDeclarations(css::ParseDeclarationList(text));
    if (const auto list = css::ParseSelectorList(text)) Check(!list->empty());
    return 0;
}
