// The body routine and the handling of inline and paragraph tags.

#include <utility>

#include "html/layout/attribute_access.h"
#include "html/layout/cell.h"
#include "html/layout/html_form.h"
#include "html/layout/section_list.h"
#include "html/layout/spacer_sections.h"
#include "html/parse/html_color.h"
#include "html/tree/html_parser_state.h"
#include "platform/core/text_encoding.h"

namespace quillon {

namespace {

using S = Symb;

constexpr SymbSet kCommon = {
    S::PSy,        S::PEndSy,        S::BSy,          S::StrongSy,     S::BEndSy,    S::StrongEndSy,
    S::ISy,        S::EmSy,          S::CiteSy,       S::VarSy,        S::IEndSy,    S::EmEndSy,
    S::CiteEndSy,  S::VarEndSy,      S::USy,          S::UEndSy,       S::SSy,       S::StrikeSy,
    S::SEndSy,     S::StrikeEndSy,   S::SubSy,        S::SupSy,        S::SubEndSy,  S::SupEndSy,
    S::BRSy,       S::HeadingSy,     S::HeadingEndSy, S::TTSy,         S::CodeSy,    S::KbdSy,
    S::SampSy,     S::TTEndSy,       S::CodeEndSy,    S::KbdEndSy,     S::SampEndSy, S::FontEndSy,
    S::BigEndSy,   S::SmallEndSy,    S::AddressSy,    S::AddressEndSy, S::PreSy,     S::ImageSy,
    S::ASy,        S::AEndSy,        S::TextSy,       S::TableSy,      S::InputSy,   S::SelectSy,
    S::TextAreaSy, S::TextAreaEndSy, S::FormSy,       S::FormEndSy,    S::FontSy,    S::BaseFontSy,
    S::BigSy,      S::SmallSy,       S::MapSy,        S::PageSy,       S::ScriptSy,
};

constexpr SymbSet kLists = {S::OLSy, S::ULSy, S::DirSy, S::MenuSy, S::DLSy};
constexpr SymbSet kCenterEnds = {S::CenterEndSy, S::DivEndSy};

constexpr int kHeadingSizes[7] = {12, 24, 18, 15, 12, 10, 8};

}  // namespace

bool HtmlParser::IsCommon(Symb s) {
    return kCommon.Contains(s);
}

void HtmlParser::Body(int level, const SymbSet& term) {
    while (Sy() != S::EofSy && Sy() != S::BodyEndSy) {
        const Symb s = Sy();
        if (s == S::TitleSy) {
            Next();
            while (Sy() == S::TextSy) {
                title_ += tok_.LCToken();
                Next();
            }
        } else if (s == S::BodySy) {
            ApplyBody();
            Next();
        } else if (s == S::HRSy) {
            AddSection();
            cell_->Add(std::make_unique<THorzLine>(doc_, Attrs()));
            Next();
        } else if (s == S::BaseSy) {
            if (const auto* a = Attrs().Find(S::HrefSy)) result_.Base = a->TextUtf8();
            if (const auto* a = Attrs().Find(S::TargetSy)) result_.BaseTarget = a->TextUtf8();
            Next();
        } else if (kLists.Contains(s) || s == S::BlockQuoteSy) {
            if (blocks_ >= kMaxBlocks) {
                Next();  // nested too deep: the tag is ignored
                continue;
            }
            if (s == S::BlockQuoteSy) AddSection();
            // Lists in the body are always at level 1, whatever the body's level.
            if (ListRoutine(1, s, term)) Next();
        } else if (s == S::Centersy || s == S::DivSy) {
            CenterDiv(level, term);
        } else if (IsCommon(s)) {
            Common(level);
        } else if (term.Contains(s)) {
            return;
        } else {
            Next();
        }
    }
    Next();
}

// BODY attributes take effect only while nothing has been produced; afterwards (text
// typed before BODY, or a second BODY) they are ignored.
void HtmlParser::ApplyBody() {
    if (!NothingProduced()) return;
    const TAttributeList& attrs = Attrs();
    if (const auto* a = attrs.Find(S::TextSy)) {
        if (auto c = GetColor(a->Text)) {
            Top().FontColor = CanvasColor(*c);
            doc_.SetTextColor(CanvasColor(*c));
        }
    }
    if (const auto* a = attrs.Find(S::LinkSy)) {
        if (auto c = GetColor(a->Text)) doc_.SetLinkColor(CanvasColor(*c));
    }
    if (const auto* a = attrs.Find(S::BGColorSy)) {
        if (auto c = GetColor(a->Text)) doc_.SetBackground(CanvasColor(*c));
    }
    if (const auto* a = attrs.Find(S::BackgroundSy)) doc_.SetBackgroundBitmap(a->TextUtf8());
    StartSection(0, justify_);
}

void HtmlParser::Common(int level) {
    if (!CommonAction(level, false)) Next();
}

// One inline or paragraph symbol. Returns true when the routine has already read the
// next symbol (P reads ahead over further P tags; PRE and TABLE read past their end).
bool HtmlParser::CommonAction(int level, bool preformatted) {
    const Symb s = Sy();
    switch (s) {
        case S::PSy:
        case S::PEndSy:
            Paragraph(level);
            return true;
        case S::BRSy:
            LineBreak(level);
            return false;
        case S::HeadingSy:
            HeadingStart(level);
            return false;
        case S::HeadingEndSy:
            HeadingEnd();
            return false;
        case S::BSy:
        case S::StrongSy:
        case S::BEndSy:
        case S::StrongEndSy:
        case S::ISy:
        case S::EmSy:
        case S::CiteSy:
        case S::VarSy:
        case S::IEndSy:
        case S::EmEndSy:
        case S::CiteEndSy:
        case S::VarEndSy:
        case S::USy:
        case S::UEndSy:
        case S::SSy:
        case S::StrikeSy:
        case S::SEndSy:
        case S::StrikeEndSy:
        case S::SubSy:
        case S::SupSy:
        case S::SubEndSy:
        case S::SupEndSy:
            StyleTag(s);
            return false;
        case S::TTSy:
        case S::CodeSy:
        case S::KbdSy:
        case S::SampSy:
            if (PushFont()) SetFixedPitch(Top(), 10);
            ChangeFont();
            return false;
        case S::TTEndSy:
        case S::CodeEndSy:
        case S::KbdEndSy:
        case S::SampEndSy:
        case S::FontEndSy:
        case S::BigEndSy:
        case S::SmallEndSy:
            PopFont();
            ChangeFont();
            return false;
        case S::AddressSy:
            AddSection();
            if (PushFont()) Top().Style |= fsItalic;
            StartSection(level, justify_);
            return false;
        case S::AddressEndSy:
            AddSection();
            PopFont();
            return false;
        case S::PreSy:
            Preformatted(level);
            return true;
        case S::ImageSy:
            StartSectionIfNone(level);
            if (styles_) {
                StyleImageElement(section_->AddImage(Attrs(), cell_));
            } else {
                section_->AddImage(Attrs(), cell_);
            }
            return false;
        case S::ASy:
            Anchor(level);
            return false;
        case S::AEndSy:
            CloseLink();
            return false;
        case S::TextSy:
            StartSectionIfNone(level);
            if (styles_) {
                AddStyledText(tok_.LCToken());
            } else {
                section_->AddText(tok_.LCToken());
            }
            return false;
        case S::TableSy:
            TableRoutine(level);
            return true;
        case S::InputSy:
        case S::SelectSy:
        case S::TextAreaSy:
            FormControl(level);
            return false;
        case S::FormSy:
            form_ = &ThtmlForm::Create(doc_, Attrs());
            return false;
        case S::FormEndSy:
            // An implicit form made for controls outside FORM stays current until the
            // next FORM or /FORM, so that such controls submit together.
            form_ = nullptr;
            return false;
        case S::FontSy:
        case S::BaseFontSy:
            if (FontRoutine(preformatted)) ChangeFont();
            return false;
        case S::BigSy:
        case S::SmallSy:
            BigSmallRoutine(preformatted);
            ChangeFont();
            return false;
        case S::MapSy:
            MapRoutine();
            return false;
        case S::PageSy:
            AddSection();
            cell_->Add(std::make_unique<TPage>(doc_));
            return false;
        default:  // TextAreaEndSy, ScriptSy (the tokenizer has read the script's text)
            return false;
    }
}

void HtmlParser::Paragraph(int level) {
    AddSection();
    auto space = std::make_unique<TParagraphSpace>(doc_);
    TParagraphSpace& added = *space;
    cell_->Add(std::move(space));
    tok_.SkipWhiteSpace();
    JustifyType align = Sy() == S::PSy ? AlignFor(Attrs(), justify_) : justify_;
    Next();
    while (Sy() == S::PSy || Sy() == S::PEndSy) {  // several in a row give one space
        align = Sy() == S::PSy ? AlignFor(Attrs(), justify_) : justify_;
        tok_.SkipWhiteSpace();
        Next();
    }
    if (styles_) {
        if (auto px = MarginSpace(14, false)) {
            added.Pixels = *px;
            added.UpdateSpacing();
        }
    }
    StartSection(level, align);
}

// The current section ends with a line break and keeps its alignment for the next one.
// A BR without CLEAR leaves the new section's clear mode alone (no float is cleared).
void HtmlParser::LineBreak(int level) {
    JustifyType align = justify_;
    if (section_) {
        section_->BreakInfo();
        align = section_->BlockAlign;
    }
    AddSection();
    StartSection(level, align);
    section_->DoClearAttribute(Attrs());
}

void HtmlParser::HeadingStart(int level) {
    if (fonts_.size() > kMaxFonts) return;  // the font stack is full: ignored
    const int h = tok_.TagValue();
    AddSection();
    PushFont();
    Top().SetNormalSize(doc_, kHeadingSizes[h]);
    if (h > 0) Top().Style |= fsBold;
    auto space = std::make_unique<THeadingSpace>(doc_, h);
    if (styles_) {
        if (auto px = MarginSpace(space->Height, true)) {
            space->Pixels = *px;
            space->UpdateSpacing();
        }
    }
    cell_->Add(std::move(space));
    heading_ = OpenHeading{cell_, cell_->Count(), h};
    StartSection(level, AlignFor(Attrs(), justify_));
}

void HtmlParser::HeadingEnd() {
    if (fonts_.size() <= 1) return;  // only the base font: ignored
    AddSection();
    MarkHeading();
    auto space = std::make_unique<THeadingSpace>(doc_, tok_.TagValue());
    // The heading's bottom margin, when its style gives one.
    if (styles_ && pending_margin_) {
        space->Pixels = *std::exchange(pending_margin_, std::nullopt);
        space->UpdateSpacing();
    }
    cell_->Add(std::move(space));
    PopFont();
}

// The heading that ends gives its first text section its level and its text as a title
// (for the outline of a printed document). A heading whose end lies in another cell (a
// table began inside it) is not marked.
void HtmlParser::MarkHeading() {
    const OpenHeading h = std::exchange(heading_, OpenHeading{});
    if (!h.cell || h.cell != cell_) return;
    const TSection* first = nullptr;
    std::u32string title;
    for (int i = h.first; i < cell_->Count(); ++i) {
        const auto* s = dynamic_cast<const TSection*>(&(*cell_)[i]);
        if (!s) continue;
        if (!first) first = s;
        if (!title.empty()) title.push_back(U' ');
        title += s->Text();
    }
    if (first) doc_.PrintMarks().SetHeading(*first, h.level, HeadingTitle(title));
}

void HtmlParser::StyleTag(Symb s) {
    switch (s) {
        case S::BSy:
        case S::StrongSy:
            style_.styles |= fsBold;
            break;
        case S::BEndSy:
        case S::StrongEndSy:
            style_.styles &= ~fsBold;
            break;
        case S::ISy:
        case S::EmSy:
        case S::CiteSy:
        case S::VarSy:
            style_.styles |= fsItalic;
            break;
        case S::IEndSy:
        case S::EmEndSy:
        case S::CiteEndSy:
        case S::VarEndSy:
            style_.styles &= ~fsItalic;
            break;
        case S::USy:
            style_.styles |= fsUnderline;
            break;
        case S::UEndSy:
            style_.styles &= ~fsUnderline;
            break;
        case S::SSy:
        case S::StrikeSy:
            style_.styles |= fsStrikeOut;
            break;
        case S::SEndSy:
        case S::StrikeEndSy:
            style_.styles &= ~fsStrikeOut;
            break;
        case S::SubSy:
            style_.sub_super = SubSuperType::SubSc;
            break;
        case S::SupSy:
            style_.sub_super = SubSuperType::SupSc;
            break;
        default:  // SubEndSy, SupEndSy
            style_.sub_super = SubSuperType::Normal;
            break;
    }
    ChangeFont();
}

void HtmlParser::Anchor(int level) {
    for (const TAttribute& a : Attrs()) {
        if (a.Text.empty()) continue;
        if (a.Sym == S::HrefSy) {
            OpenLink(a);
        } else if (a.Sym == S::NameSy) {
            StartSectionIfNone(level);
            std::string name = text::AsciiUpperCase(a.TextUtf8());
            doc_.PrintMarks().AddAnchor(*section_, name);
            names_.push_back({std::move(name), section_.get()});
            section_named_ = true;
        }
    }
}

void HtmlParser::CenterDiv(int level, const SymbSet& term) {
    if (blocks_ >= kMaxBlocks) {  // nested too deep: the tag is ignored
        Next();
        return;
    }
    ++blocks_;
    if (InInlineBlockElement()) {
        // An inline block: its content goes to the block's cell, its lines are its own.
        Next();
        Body(level, term + kCenterEnds);
        if (Sy() == S::CenterEndSy || Sy() == S::DivEndSy) Next();
        --blocks_;
        return;
    }
    AddSection();
    const JustifyType saved = justify_;
    justify_ = Sy() == S::Centersy ? JustifyType::Centered : AlignFor(Attrs(), justify_);
    StartSection(level, justify_);
    Next();
    Body(level, term + kCenterEnds);
    AddSection();
    justify_ = saved;
    StartSection(level, justify_);
    if (Sy() == S::CenterEndSy || Sy() == S::DivEndSy) Next();
    --blocks_;
}

void HtmlParser::FormControl(int level) {
    const Symb s = Sy();
    StartSectionIfNone(level);
    TFormControlObj& control = section_->AddFormControl(s, Attrs(), cell_, form_);
    if (s == S::SelectSy) {
        OptionRoutine(control);
    } else if (s == S::TextAreaSy) {
        TextAreaRoutine(control);
    }
}

}  // namespace quillon
