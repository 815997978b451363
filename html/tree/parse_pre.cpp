// Preformatted text: PRE blocks and plain-text documents.

#include "html/layout/cell.h"
#include "html/layout/section_list.h"
#include "html/layout/spacer_sections.h"
#include "html/tree/html_parser_state.h"

namespace quillon {

namespace {

using S = Symb;

constexpr SymbSet kPreStyles = {S::BSy,    S::BEndSy,    S::ISy,        S::IEndSy,   S::USy,
                                S::UEndSy, S::EmSy,      S::EmEndSy,    S::StrongSy, S::StrongEndSy,
                                S::CiteSy, S::CiteEndSy, S::VarSy,      S::VarEndSy, S::SSy,
                                S::SEndSy, S::StrikeSy,  S::StrikeEndSy};
constexpr SymbSet kPreAsCommon = {S::ASy,        S::AEndSy, S::ImageSy,   S::InputSy, S::SelectSy,
                                  S::TextAreaSy, S::FormSy, S::FormEndSy, S::MapSy};

constexpr char32_t kFormFeed = 12;

// Raw control characters become spaces, so that none can pose as the placeholder of an
// image or a form control.
inline char32_t Printable(char32_t c) {
    return c < 32 ? U' ' : c;
}

}  // namespace

void HtmlParser::Preformatted(int level) {
    AddSection();
    const bool pushed = PushFont();
    if (pushed) {
        if (!pre_font_) {
            SetFixedPitch(Top(), 10);
        } else {
            Top().Name = pre_font_->name;
            Top().FontColor = pre_font_->color;
            Top().FixedPitch = pre_font_->fixed;
            Top().SetNormalSize(doc_, pre_font_->nominal);
        }
    }
    StartPreSection(level);
    tok_.SetPreformatted(true);

    std::u32string line;
    auto flush = [&] {
        if (!line.empty()) {
            section_->AddText(line);
            line.clear();
        }
    };
    auto new_line = [&] {
        flush();
        AddSection();
        StartPreSection(level);
    };
    // A line end right after <PRE> is not part of the text.
    if (tok_.LCh() == kEolChar) tok_.NextChar();
    bool at_end_tag = false;  // ended by </TD> or </TH>, which the table still needs
    for (;;) {
        const char32_t c = tok_.LCh();
        if (c == kEofChar) break;
        if (c == kEolChar) {
            new_line();
            tok_.NextChar();
            continue;
        }
        if (c == U'&') {
            tok_.ReadEntity(line);
            if (line.size() > kFlushLength) flush();
            continue;
        }
        if (c != U'<') {
            line.push_back(Printable(c));
            tok_.NextChar();
            if (line.size() > kFlushLength) flush();
            continue;
        }
        tok_.ReadTag();
        const Symb s = Sy();
        if (s == S::PreEndSy) break;
        if (s == S::TDEndSy || s == S::THEndSy) {
            at_end_tag = true;
            break;
        }
        if (s == S::PSy || s == S::BRSy) {
            new_line();
            if (tok_.LCh() == kEolChar) tok_.NextChar();
        } else if (kPreStyles.Contains(s) || s == S::FontSy || s == S::BaseFontSy) {
            flush();
            CommonAction(level, true);
        } else if (s == S::FontEndSy) {
            flush();
            PopFont();
            ChangeFont();
        } else if (kPreAsCommon.Contains(s)) {
            flush();
            CommonAction(level, true);
        } else if (s == S::PageSy) {
            flush();
            CommonAction(level, true);
            StartPreSection(level);
        }
        // every other tag is dropped
    }
    flush();
    // The empty line after the last line end (just before </PRE>) is not kept.
    if (section_ && section_->CharCount() == 0) {
        section_.reset();
    } else {
        AddSection();
    }
    section_.reset();
    tok_.SetPreformatted(false);
    if (styles_) KeepSpacesAsStyled();
    pre_font_ = PreFont{Top().Name, Top().FontColor, Top().NominalSize, Top().FixedPitch};
    if (pushed) PopFont();
    if (!at_end_tag) Next();
}

THtmlParseResult HtmlParser::ParseText() {
    return Guarded([this] {
        InitState();
        section_.reset();
        PushFont();
        SetFixedPitch(Top(), 10);
        StartPreSection(0);
        // Plain text is read without comment removal: "<!--" is ordinary text here.
        std::u32string line;
        auto flush = [&] {
            if (!line.empty()) {
                section_->AddText(line);
                line.clear();
            }
        };
        // A form feed ends the page, as <PAGE> does in HTML: the text after it starts on
        // a new sheet. The line end right after a form feed belongs to it. A break is
        // made only once text follows, so that form feeds at the start or the end of the
        // text, or several in a row, leave no empty sheet.
        bool lines_added = false;
        bool break_pending = false;
        bool after_form_feed = false;
        auto end_line = [&] {
            flush();
            AddSection();
            StartPreSection(0);
            lines_added = true;
        };
        auto line_begins = [&] {
            if (!break_pending) return;
            cell_->Add(std::make_unique<TPage>(doc_));
            break_pending = false;
        };
        for (;;) {
            tok_.NextBasicChar();
            const char32_t c = tok_.LCh();
            if (c == kEofChar) break;
            if (c == kFormFeed) {
                if (!line.empty() || section_->CharCount() > 0) end_line();
                break_pending = lines_added;
                after_form_feed = true;
                continue;
            }
            if (c == kEolChar) {
                if (!after_form_feed) {
                    line_begins();
                    end_line();
                }
                after_form_feed = false;
                continue;
            }
            after_form_feed = false;
            line_begins();
            line.push_back(Printable(c));
            if (line.size() > kFlushLength) flush();
        }
        flush();
        // A last line end does not start one more (empty) line.
        if (section_->CharCount() > 0) AddSection();
        section_.reset();
    });
}

}  // namespace quillon
