// What the document's style says of the lines of a block: the first line's indent, the
// height of the line boxes, how white space and line ends in the text are kept and whether
// lines wrap, and text that takes its room without being shown. Only documents that have
// shown style come here.

#include <algorithm>
#include <cmath>

#include "html/layout/html_table.h"
#include "html/layout/section_list.h"
#include "html/tree/html_parser_state.h"
#include "html/tree/style_tracker.h"
#include "platform/core/text_case.h"

namespace quillon {

namespace {

bool KeepsSpaces(css::WhiteSpace w) {
    return w == css::WhiteSpace::Pre || w == css::WhiteSpace::PreWrap;
}

}  // namespace

StyledElement* HtmlParser::InnermostBlock() {
    for (std::size_t i = styles_->Depth(); i-- > 0;) {
        StyledElement& e = styles_->MutableAt(i);
        if (IsBlockElement(e)) return &e;
    }
    return nullptr;
}

void HtmlParser::StyleSection(TSection& section) {
    StyledElement* block = InnermostBlock();
    if (!block) return;
    const css::ComputedStyle& s = block->Style();
    SectionTextStyle text;
    // Only the block's first line is indented: the first section started inside it.
    if (!block->lines_started && s.text_indent.kind != css::Length::Kind::Auto &&
        s.text_indent.value != 0) {
        text.FirstLine = true;
        text.Indent = s.text_indent.value;
        text.IndentIsPercent = s.text_indent.kind == css::Length::Kind::Percent;
    }
    block->lines_started = true;
    // A number scales with the font of each line (the tag's own size counts, as a heading's,
    // which the style's font size does not know); a length is the same for every line.
    if (s.line_height_factor) {
        text.LineHeightFactor = std::clamp(*s.line_height_factor, 0.01, 100.0);
    } else if (s.line_height) {
        text.LineHeight = static_cast<int>(std::lround(std::clamp(*s.line_height, 1.0, 32000.0)));
    }
    text.NoWrap = s.white_space == css::WhiteSpace::NoWrap || s.white_space == css::WhiteSpace::Pre;
    if (text == SectionTextStyle{}) return;
    section.TextStyle = doc_.TextStyles().Intern(text);
}

void HtmlParser::KeepSpacesAsStyled() {
    const StyledElement* e = styles_->Current();
    tok_.SetPreformatted(e && KeepsSpaces(e->Style().white_space));
}

void HtmlParser::AddKeptText(std::u32string_view text) {
    // Every line end ends the line, as <BR> does; an empty line keeps its height.
    while (true) {
        const std::size_t eol = text.find(kEolChar);
        StartSectionIfNone(0);
        section_->AppendKept(text.substr(0, eol));
        if (eol == std::u32string_view::npos) return;
        text.remove_prefix(eol + 1);
        const int level = section_->NestLevel;
        const JustifyType align = section_->BlockAlign;
        section_->BreakInfo();
        AddSection();
        StartSection(level, align);
    }
}

void HtmlParser::AddStyledText(const std::u32string& text) {
    const StyledElement* e = styles_->Current();
    const css::TextTransform transform = e ? e->Style().text_transform : css::TextTransform::None;
    const bool keep = e && KeepsSpaces(e->Style().white_space);
    if (transform == css::TextTransform::None) {
        if (keep) {
            AddKeptText(text);
        } else {
            section_->AddText(text);
        }
        return;
    }
    std::u32string changed = text;
    const int n = section_->CharCount();
    const bool word_start = n == 0 || section_->CharAt(n - 1) == U' ';
    text::ChangeCase(changed,
                     transform == css::TextTransform::Uppercase   ? text::CaseChange::Upper
                     : transform == css::TextTransform::Lowercase ? text::CaseChange::Lower
                                                                  : text::CaseChange::Capitalize,
                     word_start);
    if (keep) {
        AddKeptText(changed);
    } else {
        section_->AddText(changed);
    }
}

void HtmlParser::HideCell(TCellObj& cell) {
    cell.Hidden = true;
    cell.Body.BkGnd = false;
    if (const CellBox* box = cell.Box()) {
        BoxStyle style = *box->Style;
        style.Hidden = true;
        cell.SetBox(style);
    }
}

}  // namespace quillon
