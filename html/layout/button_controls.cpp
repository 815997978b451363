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
    ApplySize(button_.get(), width, height);
}

void TButtonFormControlObj::Click() {
    if (kind_ == Kind::Reset) {
        OwnerForm().ResetControls();
        return;
    }
    OwnerForm().SubmitTheForm(Name.empty() ? std::string() : Name + "=" + Value);
}

TCheckableFormControlObj::TCheckableFormControlObj(ThtmlForm& form, const TAttributeList& attrs,
                                                   int width, int height)
    : TFormControlObj(form, attrs),
      initial_(HasAttr(attrs, Symb::CheckedSy)),
      checked_(initial_),
      box_width_(width),
      box_height_(height) {
    BaseLine = true;
}

void TCheckableFormControlObj::Attach(std::unique_ptr<PlatformCheck> widget) {
    widget_ = std::move(widget);
    if (!widget_) return;
    PlaceOffScreen(*widget_, TextControlFont());
    widget_->SetChecked(checked_);
}

bool TCheckableFormControlObj::Checked() const {
    return widget_ ? widget_->Checked() : checked_;
}

void TCheckableFormControlObj::SetChecked(bool checked) {
    checked_ = checked;
    if (widget_) widget_->SetChecked(checked);
}

void TCheckableFormControlObj::TakeValueOf(const TFormControlObj& shown) {
    if (const auto* box = dynamic_cast<const TCheckableFormControlObj*>(&shown)) {
        SetChecked(box->Checked());
    }
}

void TCheckableFormControlObj::ResetToValue() {
    SetChecked(initial_);
}

bool TCheckableFormControlObj::GetSubmission(int index, std::string& out) {
    if (index != 0 || !Checked()) return false;
    out = Name + "=" + Value;
    return true;
}

void TCheckableFormControlObj::SetHeightWidth(Canvas& /*canvas*/) {
    ApplySize(widget_.get(), box_width_, box_height_);
}

TCheckBoxFormControlObj::TCheckBoxFormControlObj(ThtmlForm& form, const TAttributeList& attrs)
    : TCheckableFormControlObj(form, attrs, 13, 13) {
    if (!HasAttr(attrs, Symb::ValueSy)) Value = "On";
    if (ControlHost* host = Document().Host()) Attach(host->CreateCheckBox());
}

TRadioButtonFormControlObj::TRadioButtonFormControlObj(ThtmlForm& form, const TAttributeList& attrs)
    : TCheckableFormControlObj(form, attrs, 13, 14) {
    if (ControlHost* host = Document().Host()) Attach(host->CreateRadioButton());
    if (PlatformCheck* radio = Widget()) {
        radio->on_click = [this, radio] {
            if (radio->Checked()) Click();
        };
    }
}

void TRadioButtonFormControlObj::Click() {
    SetChecked(true);
    OwnerForm().RadioClicked(*this);
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
