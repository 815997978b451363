#pragma once
// A form of the document: its method and action and the controls it owns. A control found
// outside any FORM belongs to an implicit form without attributes, so that it still submits.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "html/parse/html_attribute.h"

namespace quillon {

class TSectionList;
class TFormControlObj;
class TRadioButtonFormControlObj;

class ThtmlForm {
  public:
    // Creates a form from the FORM tag's attributes and registers it in the document.
    static ThtmlForm& Create(TSectionList& doc, const TAttributeList& attrs);
    // Creates a form without attributes and registers it in the document.
    static ThtmlForm& CreateImplicit(TSectionList& doc);

    explicit ThtmlForm(TSectionList& doc);
    ThtmlForm(const ThtmlForm&) = delete;
    ThtmlForm& operator=(const ThtmlForm&) = delete;
    ~ThtmlForm();

    TSectionList& Document() const { return *doc_; }
    const std::string& Method() const { return method_; }  // at most 4 characters
    const std::string& Action() const { return action_; }
    bool Implicit() const { return implicit_; }

    // Takes a new control: it joins this form and the document's control list.
    template <class T>
    T& InsertControl(std::unique_ptr<T> control) {
        T& ref = *control;
        Insert(std::move(control));
        return ref;
    }
    const std::vector<std::unique_ptr<TFormControlObj>>& FormControls() const { return controls_; }
    int NonHiddenCount() const { return non_hidden_; }

    // Every control back to its initial value.
    void ResetControls();
    // Sends the form: unless the document has no submit callback, collects each control's
    // submissions in order (empty strings skipped), adds the pressed button's own (when
    // not empty) and calls the callback with the action, the list and the method.
    void SubmitTheForm(std::string_view button_submission);
    // Checking a radio button unchecks the others of the same name (case-insensitive).
    void RadioClicked(const TRadioButtonFormControlObj& checked);

  private:
    void Insert(std::unique_ptr<TFormControlObj> control);

    TSectionList* doc_;
    std::string method_ = "Get";
    std::string action_;
    bool implicit_ = true;
    std::vector<std::unique_ptr<TFormControlObj>> controls_;
    int non_hidden_ = 0;
};

}  // namespace quillon
