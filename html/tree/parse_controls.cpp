// Contents of SELECT and TEXTAREA controls, and client-side image maps.

#include "html/layout/attribute_access.h"
#include "html/layout/form_controls.h"
#include "html/layout/map_item.h"
#include "html/layout/section_list.h"
#include "html/tree/html_parser_state.h"
#include "platform/core/text_encoding.h"

namespace quillon {

namespace {

using S = Symb;

constexpr std::size_t kMaxOptionText = 80;  // characters of an option's text and value

std::u32string_view TrimU32(std::u32string_view s) {
    while (!s.empty() && s.front() <= 32) s.remove_prefix(1);
    while (!s.empty() && s.back() <= 32) s.remove_suffix(1);
    return s;
}

}  // namespace

void HtmlParser::OptionRoutine(TFormControlObj& control) {
    auto* select = dynamic_cast<TSelectFormControlObj*>(&control);
    std::u32string text;
    std::u32string value;
    bool selected = false;
    bool pending = false;
    auto add_pending = [&] {
        const std::u32string_view t = TrimU32(text);
        if (pending && !t.empty() && select) {
            select->AddStr(text::ToUtf8(t), text::ToUtf8(value), selected);
        }
        pending = false;
    };
    Next();
    while (Sy() != S::SelectEndSy && Sy() != S::EofSy) {
        if (Sy() == S::TextSy) {
            if (pending && text.size() < kMaxOptionText) {
                text += tok_.LCToken().substr(0, kMaxOptionText - text.size());
            }
        } else if (Sy() == S::OptionSy || Sy() == S::OptionEndSy) {
            add_pending();
            if (Sy() == S::OptionSy) {
                pending = true;
                text.clear();
                const TAttribute* v = Attrs().Find(S::ValueSy);
                value = v ? v->Text.substr(0, kMaxOptionText) : std::u32string();
                selected = Attrs().Find(S::SelectedSy) != nullptr;
            }
        }
        Next();
    }
    add_pending();
    control.ResetToValue();
}

void HtmlParser::TextAreaRoutine(TFormControlObj& control) {
    auto* area = dynamic_cast<TTextAreaFormControlObj*>(&control);
    std::u32string line;
    // A line end right after <TEXTAREA> is not part of the text.
    if (tok_.LCh() == kEolChar) tok_.NextChar();
    for (;;) {
        tok_.NextTextAreaSymbol();
        if (Sy() == S::TextAreaEndSy || Sy() == S::EofSy) break;
        if (Sy() == S::EolSy) {
            if (area) area->AddStr(text::ToUtf8(line));
            line.clear();
        } else {
            line += tok_.LCToken();
        }
    }
    while (tok_.LCh() != U'>' && tok_.LCh() != kEofChar) tok_.NextChar();
    tok_.NextChar();
    if (!line.empty() && area) area->AddStr(text::ToUtf8(line));
    control.ResetToValue();
}

void HtmlParser::MapRoutine() {
    auto map = std::make_unique<TMapItem>(AttrText(Attrs(), S::NameSy));
    Next();
    while (Sy() != S::MapEndSy && Sy() != S::EofSy) {
        if (Sy() == S::AreaSy) map->AddArea(Attrs());
        Next();
    }
    // A map still open at the end of the input is dropped.
    if (Sy() == S::MapEndSy) doc_.AddImageMap(std::move(map));
}

}  // namespace quillon
