#include "html/layout/section.h"

#include <algorithm>

#include "html/layout/attribute_access.h"
#include "html/layout/form_controls.h"
#include "html/layout/html_form.h"
#include "html/layout/mul_div.h"
#include "html/layout/section_list.h"
#include "html/layout/sel_text.h"
#include "html/layout/text_fold.h"

namespace quillon {

namespace {

// The font a run gets: the style set added, sub- and superscript at three quarters of the
// nominal size.
TMyFont StyledFont(const TSectionList& doc, const TMyFont& font, const TextStyleState& style) {
    TMyFont f = font;
    f.Style |= style.styles;
    if (style.sub_super != SubSuperType::Normal) f.SetNormalSize(doc, MulDiv(f.NominalSize, 3, 4));
    return f;
}

}  // namespace

TSection::TSection(TSectionList& doc, int level, const TMyFont& font, const TUrlTarget* link,
                   JustifyType align, const TextStyleState& style)
    : TSectionBase(&doc), NestLevel(std::max(0, level)), BlockAlign(align) {
    const TMyFont f = StyledFont(doc, font, style);
    TFontObj& run = FontRuns.Add(TFontObj(doc, 0, f, style.sub_super));
    if (link) run.SetLink(doc, *link);
}

const SectionTextStyle* TSection::TextStyleOf() const {
    return TextStyle != 0 && Document ? Document->TextStyles().Find(TextStyle) : nullptr;
}

TSection::TSection(TSectionList& doc, const TSection& src)
    : TSectionBase(&doc),
      NestLevel(src.NestLevel),
      LineList(src.LineList),
      text_(src.text_),
      ItemKind(src.ItemKind),
      BlockAlign(src.BlockAlign),
      ClearMode(src.ClearMode) {
    CopyBase(src);
    if (const SectionTextStyle* style = src.TextStyleOf())
        TextStyle = doc.TextStyles().Intern(*style);
    if (src.Document && !src.Document->PrintMarks().Empty()) {
        doc.PrintMarks().CopyFrom(src.Document->PrintMarks(), src, *this);
    }
    for (const TFontObj& run : src.FontRuns) FontRuns.Add(TFontObj(doc, run));
    if (src.inlines_) {
        Inlines& mine = MutableInlines();
        for (const auto& image : src.inlines_->Images) {
            mine.Images.push_back(std::make_unique<TImageObj>(*image));
        }
        mine.Controls = src.inlines_->Controls;
        for (const auto& block : src.inlines_->Blocks) {
            mine.Blocks.push_back(std::make_unique<TInlineBlock>(doc, *block));
        }
        mine.ImageBoxes = src.inlines_->ImageBoxes;
        mine.ControlPlaces = src.inlines_->ControlPlaces;
        mine.BlockPlaces = src.inlines_->BlockPlaces;
    }
}

const TSection::Inlines TSection::kNoInlines;

TSection::Inlines& TSection::MutableInlines() {
    if (!inlines_) inlines_ = std::make_unique<Inlines>();
    return *inlines_;
}

std::unique_ptr<TSectionBase> TSection::CreateCopy(TSectionList& doc) const {
    return std::make_unique<TSection>(doc, *this);
}

bool TSection::OnlyFloatingImages() const {
    if (text_.empty()) return false;
    for (std::size_t i = 0; i < text_.size(); ++i) {
        if (text_[i] != kImageChar) return false;
    }
    return std::all_of(InlineImages().begin(), InlineImages().end(),
                       [](const auto& image) { return image->Floating(); });
}

void TSection::AddText(std::u32string_view s) {
    if (s.empty()) return;
    if (s.front() == U' ' && (text_.empty() || text_.back() == U' ' || OnlyFloatingImages())) {
        s.remove_prefix(1);
    }
    text_.append(s);
}

TFontObj& TSection::RunAtEnd() {
    TFontObj& last = FontRuns.Last();
    if (last.CharPos == CharCount()) return last;
    TFontObj run = last;
    run.CharPos = CharCount();
    return FontRuns.Add(std::move(run));
}

void TSection::ChangeFont(const TMyFont& font, const TextStyleState& style) {
    TFontObj& run = RunAtEnd();
    run.SScript = style.sub_super;
    run.SetFont(*Document, StyledFont(*Document, font, style));
}

void TSection::ChangeStyle(Symb sym) {
    TFontStyles set = 0;
    TFontStyles clear = 0;
    switch (sym) {
        case Symb::BSy:
        case Symb::StrongSy:
            set = fsBold;
            break;
        case Symb::BEndSy:
        case Symb::StrongEndSy:
            clear = fsBold;
            break;
        case Symb::ISy:
        case Symb::EmSy:
        case Symb::CiteSy:
        case Symb::VarSy:
            set = fsItalic;
            break;
        case Symb::IEndSy:
        case Symb::EmEndSy:
        case Symb::CiteEndSy:
        case Symb::VarEndSy:
            clear = fsItalic;
            break;
        case Symb::USy:
            set = fsUnderline;
            break;
        case Symb::UEndSy:
            clear = fsUnderline;
            break;
        default:
            return;
    }
    TFontObj& run = RunAtEnd();
    TMyFont f = run.Font();
    f.Style = static_cast<TFontStyles>((f.Style | set) & ~clear);
    run.SetFont(*Document, f);
}

void TSection::HRef(Symb sym, const TUrlTarget& link, const TMyFont& font,
                    const TextStyleState& style) {
    ChangeFont(font, style);
    TFontObj& run = FontRuns.Last();
    if (sym == Symb::ASy) {
        run.SetLink(*Document, link);
    } else {
        run.ClearLink();
    }
}

TImageObj& TSection::AddImage(const TAttributeList& attrs, TCell* cell) {
    TImageList& images = MutableInlines().Images;
    images.push_back(std::make_unique<TImageObj>(CharCount(), attrs, cell));
    text_.push_back(kImageChar);
    return *images.back();
}

TFormControlObj& TSection::AddFormControl(Symb tag, const TAttributeList& attrs, TCell* cell,
                                          ThtmlForm*& form) {
    if (!form) form = &ThtmlForm::CreateImplicit(*Document);
    TFormControlObj* control = nullptr;
    if (tag == Symb::SelectSy) {
        const auto size = AttrNumber(attrs, Symb::SizeSy);
        if (HasAttr(attrs, Symb::MultipleSy) || (size && *size > 1)) {
            control = &form->InsertControl(std::make_unique<TListBoxFormControlObj>(*form, attrs));
        } else {
            control = &form->InsertControl(std::make_unique<TComboFormControlObj>(*form, attrs));
        }
    } else if (tag == Symb::TextAreaSy) {
        control = &form->InsertControl(std::make_unique<TTextAreaFormControlObj>(*form, attrs));
    } else {
        std::string type = AttrLower(attrs, Symb::TypeSy);
        if (type.size() > 20) type.resize(20);
        using Button = TButtonFormControlObj;
        if (type == "submit") {
            control =
                &form->InsertControl(std::make_unique<Button>(*form, attrs, Button::Kind::Submit));
        } else if (type == "reset") {
            control =
                &form->InsertControl(std::make_unique<Button>(*form, attrs, Button::Kind::Reset));
        } else if (type == "radio") {
            control =
                &form->InsertControl(std::make_unique<TRadioButtonFormControlObj>(*form, attrs));
        } else if (type == "checkbox") {
            control = &form->InsertControl(std::make_unique<TCheckBoxFormControlObj>(*form, attrs));
        } else if (type == "hidden") {
            control = &form->InsertControl(std::make_unique<THiddenFormControlObj>(*form, attrs));
        } else if (type == "image") {
            auto& image_control =
                form->InsertControl(std::make_unique<TImageFormControlObj>(*form, attrs));
            TImageObj& image = AddImage(attrs, cell);
            image.MyFormControl = &image_control;
            image_control.MyImage = &image;
            control = &image_control;
        } else {
            control = &form->InsertControl(
                std::make_unique<TEditFormControlObj>(*form, attrs, type == "password"));
        }
    }
    control->CharPos = CharCount();
    MutableInlines().Controls.push_back(control);
    text_.push_back(kFormControlChar);
    return *control;
}

TInlineBlock& TSection::AddInlineBlock() {
    auto& blocks = MutableInlines().Blocks;
    blocks.push_back(std::make_unique<TInlineBlock>(*Document, CharCount()));
    text_.push_back(kInlineBlockChar);
    return *blocks.back();
}

void TSection::DoClearAttribute(const TAttributeList& attrs) {
    if (!HasAttr(attrs, Symb::ClearSy)) return;
    ClearMode = AttrKeyword<ClearAttrType>(
                    attrs, Symb::ClearSy,
                    {{"left", ClearAttrType::clLeft}, {"right", ClearAttrType::clRight}})
                    .value_or(ClearAttrType::clAll);
}

void TSection::BreakInfo() {
    if (text_.empty()) text_.push_back(U' ');
}

void TSection::CopyToClipboard(SelTextCount& sink) const {
    const int first = FirstCursor;
    const int end = first + CharCount();
    const int from = std::max(sink.SelStart, first);
    const int to = std::min(sink.SelEnd, end);
    if (from >= to) return;
    std::u32string scratch;
    const std::u32string_view text = text_.View(scratch);
    // The characters [b, e): an inline block among them gives all of its content.
    const auto take = [&](int b, int e) {
        for (const auto& block : InlineBlocks()) {
            if (block->CharPos < b) continue;
            if (block->CharPos >= e) break;
            sink.AddText(text.substr(static_cast<std::size_t>(b),
                                     static_cast<std::size_t>(block->CharPos - b)));
            SelTextInner inner(sink, block->Body.StartCurs,
                               block->Body.StartCurs + block->Body.Len);
            block->Body.CopyToClipboard(inner);
            b = block->CharPos + 1;
        }
        if (b < e) {
            sink.AddText(text.substr(static_cast<std::size_t>(b), static_cast<std::size_t>(e - b)));
        }
    };
    // Hidden text is left out.
    int at = from - first;
    for (const auto& [b, e] : HiddenRanges()) {
        if (e <= at) continue;
        if (b >= to - first) break;
        if (b > at) take(at, b);
        at = e;
    }
    if (at < to - first) take(at, to - first);
    // The selection goes on past this block: its text ends a line.
    if (sink.SelEnd > end) sink.AddLineEnd();
}

std::optional<char32_t> TSection::GetChAtPos(int pos) const {
    if (pos < FirstCursor || pos >= FirstCursor + CharCount()) return std::nullopt;
    return text_[static_cast<std::size_t>(pos - FirstCursor)];
}

void TSection::UpdateFonts() {
    for (TFontObj& run : FontRuns) run.UpdateFont(*Document);
    for (const auto& block : InlineBlocks()) block->Body.UpdateFonts();
    UpdateSpacing();
}

TPreFormated::TPreFormated(TSectionList& doc, int level, const TMyFont& font,
                           const TUrlTarget* link, const TextStyleState& style)
    : TSection(doc, level, font, link, JustifyType::Left, style) {}

void TPreFormated::AddText(std::u32string_view s) {
    AppendRaw(s);
}

std::unique_ptr<TSectionBase> TPreFormated::CreateCopy(TSectionList& doc) const {
    return std::make_unique<TPreFormated>(doc, *this);
}

}  // namespace quillon
