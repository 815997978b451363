// Lists (OL, UL, DIR, MENU, DL) and blockquotes.

#include <limits>

#include "html/layout/attribute_access.h"
#include "html/layout/cell.h"
#include "html/layout/list_item.h"
#include "html/layout/section_list.h"
#include "html/layout/spacer_sections.h"
#include "html/tree/html_parser_state.h"

namespace quillon {

namespace {

using S = Symb;

constexpr SymbSet kListStarts = {S::OLSy, S::ULSy, S::DirSy, S::MenuSy, S::DLSy};
// Any list end tag ends any list.
constexpr SymbSet kListEnds = {S::OLEndSy, S::ULEndSy,         S::DirEndSy, S::MenuEndSy,
                               S::DLEndSy, S::BlockQuoteEndSy, S::EofSy};

bool IsLetterOrRoman(char32_t style) {
    return style == U'a' || style == U'A' || style == U'i' || style == U'I';
}

}  // namespace

// Returns true when the list ended at a list end tag (or the end of input), which the
// caller reads past; false when it returned on one of the caller's terminators, which
// stays current for the caller.
bool HtmlParser::ListRoutine(int level, Symb list, const SymbSet& term) {
    ++blocks_;
    int number = 1;
    char32_t number_style = U'1';
    bool plain = false;
    if (list == S::OLSy) {
        if (const auto* a = Attrs().Find(S::StartSy); a && a->Number >= 0) number = a->Number;
        if (const auto* a = Attrs().Find(S::TypeSy); a && !a->Text.empty()) {
            number_style = a->Text[0];
        }
        // Letters and roman numerals have no form for 0 or less: such a list counts in
        // decimal.
        if (number < 1 && IsLetterOrRoman(number_style)) number_style = U'1';
    } else if (list == S::ULSy) {
        plain = Attrs().Find(S::PlainSy) != nullptr;
    }
    if (styles_) ListStyleOf(list, number_style, plain);
    AddSection();
    Next();
    if (kListEnds.Contains(Sy()) && Sy() != S::EofSy) {
        --blocks_;
        return true;
    }
    int item_level = level;
    bool ended = true;
    while (!kListEnds.Contains(Sy())) {
        const Symb s = Sy();
        if (s == S::TableSy) {
            if (section_) section_->BreakInfo();
            TableRoutine(item_level);
        } else if (IsCommon(s)) {
            Common(item_level);
        } else if (s == S::HRSy) {
            AddSection();
            cell_->Add(std::make_unique<THorzLine>(doc_, Attrs()));
            Next();
        } else if (kListStarts.Contains(s) || s == S::BlockQuoteSy) {
            if (blocks_ >= kMaxBlocks) {
                Next();
                continue;
            }
            AddSection();
            if (ListRoutine(level + 1, s, term)) Next();
        } else if (s == S::LISy) {
            AddSection();
            if (list == S::OLSy) {
                section_ = std::make_unique<TOListItem>(
                    doc_, level, number, number_style, EffectiveFont(), in_link_ ? &link_ : nullptr,
                    justify_, EffectiveStyle());
                // The count stops at the largest number (START may already be it).
                if (number < std::numeric_limits<int>::max()) ++number;
            } else {
                auto item = std::make_unique<TUListItem>(doc_, level, EffectiveFont(),
                                                         in_link_ ? &link_ : nullptr, justify_,
                                                         EffectiveStyle());
                item->Plain = plain;
                section_ = std::move(item);
            }
            section_named_ = false;
            if (styles_) StyleSection(*section_);
            item_level = level;
            tok_.SkipWhiteSpace();
            Next();
            if (Sy() == S::PSy) Next();
        } else if (s == S::DDSy || s == S::DTSy) {
            AddSection();
            item_level = s == S::DDSy ? level : level - 1;
            section_ = std::make_unique<TDListItem>(doc_, item_level, EffectiveFont(),
                                                    in_link_ ? &link_ : nullptr, justify_,
                                                    EffectiveStyle());
            section_named_ = false;
            if (styles_) StyleSection(*section_);
            Next();
        } else if (s == S::Centersy || s == S::DivSy) {
            CenterDiv(item_level, term + kListEnds);
        } else if (term.Contains(s)) {
            ended = false;  // the current section stays open for the caller
            break;
        } else {
            Next();
        }
    }
    if (ended) AddSection();
    --blocks_;
    return ended;
}

}  // namespace quillon
