// Text controls: single-line edits, text areas and hidden fields.
#include <algorithm>

#include "html/layout/attribute_access.h"
#include "html/layout/form_controls.h"
#include "html/layout/html_form.h"
#include "html/layout/section_list.h"
#include "platform/core/text_encoding.h"

namespace quillon {

TEditFormControlObj::TEditFormControlObj(ThtmlForm& form, const TAttributeList& attrs,
                                         bool password)
    : TFormControlObj(form, attrs), password_(password) {
    if (const auto n = AttrNumber(attrs, Symb::SizeSy); n && *n > 0) size_ = *n;
    if (const auto n = AttrNumber(attrs, Symb::MaxLengthSy); n && *n > 0) max_length_ = *n;
    if (ControlHost* host = Document().Host()) {
        edit_ = host->CreateEdit(EditOptions{password_, max_length_, false});
        if (edit_) {
            PlaceOffScreen(*edit_, TextControlFont());
            edit_->on_key = [this](ControlKey key) { return KeyPressed(key); };
        }
    }
    ResetToValue();
}

void TEditFormControlObj::ResetToValue() {
    SetText(Value);
}

std::string TEditFormControlObj::Text() const {
    return edit_ ? edit_->Text() : text_;
}

void TEditFormControlObj::SetText(std::string_view text) {
    text_ = text;
    if (edit_) edit_->SetText(text);
}

void TEditFormControlObj::TakeValueOf(const TFormControlObj& shown) {
    if (const auto* edit = dynamic_cast<const TEditFormControlObj*>(&shown)) SetText(edit->Text());
}

bool TEditFormControlObj::GetSubmission(int index, std::string& out) {
    if (index != 0) return false;
    out = Name + "=" + Text();
    return true;
}

void TEditFormControlObj::SetHeightWidth(Canvas& canvas) {
    const Point a = MeasureA(canvas, TextControlFont());
    const int width = a.x * size_ + 5;
    if (edit_) {
        edit_->SetSize(width, -1);
        SetComputedSize(edit_->Width(), edit_->Height());
    } else {
        SetComputedSize(width, a.y + 8);
    }
}

bool TEditFormControlObj::KeyPressed(ControlKey key) {
    if (key == ControlKey::Enter) {
        if (OwnerForm().NonHiddenCount() != 1) return false;
        OwnerForm().SubmitTheForm("");
        return true;
    }
    TSectionList& doc = Document();
    if (doc.OnControlKey) doc.OnControlKey(doc, key);
    return true;
}

TTextAreaFormControlObj::TTextAreaFormControlObj(ThtmlForm& form, const TAttributeList& attrs)
    : TFormControlObj(form, attrs) {
    if (const auto n = AttrNumber(attrs, Symb::RowsSy); n && *n > 0) rows_ = *n;
    if (const auto n = AttrNumber(attrs, Symb::ColsSy); n && *n > 0) cols_ = *n;
    if (ControlHost* host = Document().Host()) {
        edit_ = host->CreateEdit(EditOptions{false, 0, true});
        if (edit_) PlaceOffScreen(*edit_, TextControlFont());
    }
}

void TTextAreaFormControlObj::AddStr(std::string_view line) {
    initial_.emplace_back(line);
}

void TTextAreaFormControlObj::ResetToValue() {
    std::string text;
    for (std::size_t i = 0; i < initial_.size(); ++i) {
        if (i > 0) text += '\n';
        text += initial_[i];
    }
    SetText(text);
}

std::string TTextAreaFormControlObj::Text() const {
    return edit_ ? edit_->Text() : text_;
}

void TTextAreaFormControlObj::SetText(std::string_view text) {
    text_ = text;
    if (edit_) edit_->SetText(text);
}

void TTextAreaFormControlObj::TakeValueOf(const TFormControlObj& shown) {
    if (const auto* area = dynamic_cast<const TTextAreaFormControlObj*>(&shown)) {
        SetText(area->Text());
    }
}

bool TTextAreaFormControlObj::GetSubmission(int index, std::string& out) {
    const std::vector<std::string> lines = text::SplitLines(Text());
    if (index < 0 || static_cast<std::size_t>(index) >= lines.size()) return false;
    out = Name + "=" + lines[static_cast<std::size_t>(index)];
    return true;
}

void TTextAreaFormControlObj::SetHeightWidth(Canvas& canvas) {
    const Point a = MeasureA(canvas, TextControlFont());
    const int width = a.x * cols_ + 5;
    const int height = a.y * rows_ + 5;
    if (edit_) {
        edit_->SetClientSize(width, height);
        SetComputedSize(edit_->Width(), edit_->Height());
    } else {
        SetComputedSize(width, height);
    }
}

bool THiddenFormControlObj::GetSubmission(int index, std::string& out) {
    if (index != 0) return false;
    out = Name + "=" + Value;
    return true;
}

}  // namespace quillon
