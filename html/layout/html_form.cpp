#include "html/layout/html_form.h"

#include "html/layout/attribute_access.h"
#include "html/layout/form_controls.h"
#include "html/layout/section_list.h"
#include "platform/core/text_encoding.h"

namespace quillon {

ThtmlForm& ThtmlForm::Create(TSectionList& doc, const TAttributeList& attrs) {
    auto form = std::make_unique<ThtmlForm>(doc);
    form->implicit_ = false;
    if (HasAttr(attrs, Symb::MethodSy)) {
        const std::string method = AttrText(attrs, Symb::MethodSy);
        form->method_ = std::string(text::CharPrefix(method, 4, text::DetectEncoding(method)));
    }
    form->action_ = AttrText(attrs, Symb::ActionSy);
    return doc.AddForm(std::move(form));
}

ThtmlForm& ThtmlForm::CreateImplicit(TSectionList& doc) {
    return doc.AddForm(std::make_unique<ThtmlForm>(doc));
}

ThtmlForm::ThtmlForm(TSectionList& doc) : doc_(&doc) {}

ThtmlForm::~ThtmlForm() = default;

void ThtmlForm::Insert(std::unique_ptr<TFormControlObj> control) {
    if (!control->IsHidden()) ++non_hidden_;
    doc_->RegisterControl(*control);
    controls_.push_back(std::move(control));
}

void ThtmlForm::ResetControls() {
    for (const auto& c : controls_) c->ResetToValue();
}

void ThtmlForm::SubmitTheForm(std::string_view button_submission) {
    if (!doc_->OnFormSubmit) return;
    std::vector<std::string> submissions;
    for (const auto& c : controls_) {
        std::string s;
        for (int index = 0; c->GetSubmission(index, s); ++index) {
            if (!s.empty()) submissions.push_back(std::move(s));
            s.clear();
        }
    }
    if (!button_submission.empty()) submissions.emplace_back(button_submission);
    doc_->OnFormSubmit(*doc_, action_, submissions, method_);
}

void ThtmlForm::RadioClicked(const TRadioButtonFormControlObj& checked) {
    for (const auto& c : controls_) {
        auto* radio = dynamic_cast<TRadioButtonFormControlObj*>(c.get());
        if (radio && radio != &checked && text::EqualsIgnoreCase(radio->Name, checked.Name)) {
            radio->SetChecked(false);
        }
    }
}

}  // namespace quillon
