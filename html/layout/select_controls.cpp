// SELECT controls: list boxes and drop-down lists.
#include <algorithm>

#include "html/layout/attribute_access.h"
#include "html/layout/form_controls.h"
#include "html/layout/html_form.h"
#include "html/layout/section_list.h"
#include "platform/core/text_encoding.h"

namespace quillon {

TSelectFormControlObj::TSelectFormControlObj(ThtmlForm& form, const TAttributeList& attrs)
    : TFormControlObj(form, attrs) {}

void TSelectFormControlObj::AddStr(std::string_view text, std::string_view value, bool selected) {
    options_.push_back(TSelectOption{std::string(text), std::string(value), selected});
    selected_.push_back(false);
    if (PlatformList* list = List()) list->AddItem(text);
}

bool TSelectFormControlObj::Selected(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= options_.size()) return false;
    if (const PlatformList* list = List()) return list->Selected(index);
    return selected_[static_cast<std::size_t>(index)];
}

void TSelectFormControlObj::SetSelected(int index, bool selected) {
    if (index < 0 || static_cast<std::size_t>(index) >= options_.size()) return;
    if (selected && !MultiSelect()) std::fill(selected_.begin(), selected_.end(), false);
    selected_[static_cast<std::size_t>(index)] = selected;
    if (PlatformList* list = List()) list->SetSelected(index, selected);
}

void TSelectFormControlObj::TakeValueOf(const TFormControlObj& shown) {
    const auto* list = dynamic_cast<const TSelectFormControlObj*>(&shown);
    if (!list || list->options_ != options_) return;
    const int n = static_cast<int>(options_.size());
    for (int i = 0; i < n; ++i) SetSelected(i, false);
    for (int i = 0; i < n; ++i) {
        if (list->Selected(i)) SetSelected(i, true);
    }
}

void TSelectFormControlObj::ResetToValue() {
    for (int i = 0; i < static_cast<int>(options_.size()); ++i) SetSelected(i, false);
    for (int i = 0; i < static_cast<int>(options_.size()); ++i) {
        if (options_[static_cast<std::size_t>(i)].InitiallySelected) SetSelected(i, true);
    }
}

bool TSelectFormControlObj::GetSubmission(int index, std::string& out) {
    int n = 0;
    for (int i = 0; i < static_cast<int>(options_.size()); ++i) {
        if (!Selected(i)) continue;
        if (n++ == index) {
            const TSelectOption& o = options_[static_cast<std::size_t>(i)];
            out = Name + "=" + (o.Value.empty() ? o.Text : o.Value);
            return true;
        }
    }
    return false;
}

int TSelectFormControlObj::LongestOption() const {
    std::size_t longest = 0;
    for (const TSelectOption& o : options_) {
        longest = std::max(longest, text::CharCount(o.Text, text::DetectEncoding(o.Text)));
    }
    return static_cast<int>(longest);
}

TListBoxFormControlObj::TListBoxFormControlObj(ThtmlForm& form, const TAttributeList& attrs)
    : TSelectFormControlObj(form, attrs), multiple_(HasAttr(attrs, Symb::MultipleSy)) {
    if (const auto n = AttrNumber(attrs, Symb::SizeSy); n && *n > 0) size_ = *n;
    if (ControlHost* host = Document().Host()) {
        list_ = host->CreateListBox(multiple_);
        if (list_) PlaceOffScreen(*list_, TextControlFont());
    }
}

int TListBoxFormControlObj::Rows() const {
    if (size_ > 0) return size_;
    return std::clamp(static_cast<int>(Options().size()), 1, 8);
}

void TListBoxFormControlObj::SetHeightWidth(Canvas& canvas) {
    const Point a = MeasureA(canvas, TextControlFont());
    const int width = a.x * LongestOption() + 15;
    const int height = a.y * Rows();
    if (list_) {
        list_->SetClientSize(width, height);
        SetComputedSize(list_->Width(), list_->Height());
    } else {
        SetComputedSize(width, height);
    }
}

TComboFormControlObj::TComboFormControlObj(ThtmlForm& form, const TAttributeList& attrs)
    : TSelectFormControlObj(form, attrs) {
    if (ControlHost* host = Document().Host()) {
        combo_ = host->CreateComboBox();
        if (combo_) PlaceOffScreen(*combo_, TextControlFont());
    }
}

void TComboFormControlObj::ResetToValue() {
    // A drop-down list always shows one option: the last one marked SELECTED, else the first.
    const auto& options = Options();
    if (options.empty()) return;
    int chosen = 0;
    for (int i = 0; i < static_cast<int>(options.size()); ++i) {
        if (options[static_cast<std::size_t>(i)].InitiallySelected) chosen = i;
    }
    SetSelected(chosen, true);
}

void TComboFormControlObj::SetHeightWidth(Canvas& canvas) {
    const Point a = MeasureA(canvas, TextControlFont());
    const int width = a.x * LongestOption() + 30;
    if (combo_) {
        combo_->SetClientSize(width, -1);
        SetComputedSize(combo_->Width(), combo_->Height());
    } else {
        SetComputedSize(width, a.y + 8);
    }
}

}  // namespace quillon
