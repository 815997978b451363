// Buttons, check boxes, radio buttons and image buttons.
#include <algorithm>

#include "html/layout/attribute_access.h"
#include "html/layout/form_controls.h"
#include "html/layout/html_form.h"
#include "html/layout/section_list.h"
#include "platform/core/text_encoding.h"

namespace quillon {

TButtonFormControlObj::TButtonFormControlObj(ThtmlForm& form, const TAttributeList& attrs,
                                             Kind kind)
    : TFormControlObj(form, attrs), kind_(kind) {
    caption_ = !Value.empty() ? Value : (kind == Kind::Submit ? "Submit" : "Reset");
    if (ControlHost* host = Document().Host()) {
        button_ = host->CreateButton(caption_);
        if (button_) {
            PlaceOffScreen(*button_, TextControlFont());
            button_->on_click = [this] { Click(); };
        }
    }
}

void TButtonFormControlObj::SetHeightWidth(Canvas& canvas) {
    const FontSpec font = TextControlFont();
    const Point a = MeasureA(canvas, font);
    canvas.SetFont(font);
    const int width = std::max(0, canvas.TextWidth(text::DecodeText(caption_))) + 20;
    const int height = a.y + 8;
    if (button_) {
        button_->SetSize(width, height);
        SetComputedSize(button_->Width(), button_->Height());
    } else {
        SetComputedSize(width, height);
    }
}

void TButtonFormControlObj::Click() {
    if (kind_ == Kind::Reset) {
        OwnerForm().ResetControls();
        return;
    }
    OwnerForm().SubmitTheForm(Name.empty() ? std::string() : Name + "=" + Value);
}

TCheckBoxFormControlObj::TCheckBoxFormControlObj(ThtmlForm& form, const TAttributeList& attrs)
    : TFormControlObj(form, attrs), initial_(HasAttr(attrs, Symb::CheckedSy)), checked_(initial_) {
    BaseLine = true;
    if (!HasAttr(attrs, Symb::ValueSy)) Value = "On";
    if (ControlHost* host = Document().Host()) {
        check_ = host->CreateCheckBox();
        if (check_) {
            PlaceOffScreen(*check_, TextControlFont());
            check_->SetChecked(checked_);
        }
    }
}

bool TCheckBoxFormControlObj::Checked() const {
    return check_ ? check_->Checked() : checked_;
}

void TCheckBoxFormControlObj::SetChecked(bool checked) {
    checked_ = checked;
    if (check_) check_->SetChecked(checked);
}

void TCheckBoxFormControlObj::ResetToValue() {
    SetChecked(initial_);
}

bool TCheckBoxFormControlObj::GetSubmission(int index, std::string& out) {
    if (index != 0 || !Checked()) return false;
    out = Name + "=" + Value;
    return true;
}

void TCheckBoxFormControlObj::SetHeightWidth(Canvas& /*canvas*/) {
    if (check_) {
        check_->SetSize(13, 13);
        SetComputedSize(check_->Width(), check_->Height());
    } else {
        SetComputedSize(13, 13);
    }
}

TRadioButtonFormControlObj::TRadioButtonFormControlObj(ThtmlForm& form, const TAttributeList& attrs)
    : TFormControlObj(form, attrs), initial_(HasAttr(attrs, Symb::CheckedSy)), checked_(initial_) {
    BaseLine = true;
    if (ControlHost* host = Document().Host()) {
        radio_ = host->CreateRadioButton();
        if (radio_) {
            PlaceOffScreen(*radio_, TextControlFont());
            radio_->SetChecked(checked_);
            radio_->on_click = [this] {
                if (radio_->Checked()) Click();
            };
        }
    }
}

bool TRadioButtonFormControlObj::Checked() const {
    return radio_ ? radio_->Checked() : checked_;
}

void TRadioButtonFormControlObj::SetChecked(bool checked) {
    checked_ = checked;
    if (radio_) radio_->SetChecked(checked);
}

void TRadioButtonFormControlObj::Click() {
    SetChecked(true);
    OwnerForm().RadioClicked(*this);
}

void TRadioButtonFormControlObj::ResetToValue() {
    SetChecked(initial_);
}

bool TRadioButtonFormControlObj::GetSubmission(int index, std::string& out) {
    if (index != 0 || !Checked()) return false;
    out = Name + "=" + Value;
    return true;
}

void TRadioButtonFormControlObj::SetHeightWidth(Canvas& /*canvas*/) {
    if (radio_) {
        radio_->SetSize(13, 14);
        SetComputedSize(radio_->Width(), radio_->Height());
    } else {
        SetComputedSize(13, 14);
    }
}

bool TImageFormControlObj::GetSubmission(int index, std::string& out) {
    if (!clicked_ || index < 0 || index > 1) return false;
    const std::string prefix = Name.empty() ? std::string() : Name + ".";
    if (index == 0) {
        out = prefix + "x=" + std::to_string(x_);
    } else {
        out = prefix + "y=" + std::to_string(y_);
        clicked_ = false;  // sent once
    }
    return true;
}

void TImageFormControlObj::SetClickPosition(int x, int y) {
    x_ = x;
    y_ = y;
    clicked_ = true;
}

void TImageFormControlObj::ImageClick(int x, int y) {
    SetClickPosition(x, y);
    OwnerForm().SubmitTheForm("");
}

}  // namespace quillon
