// The common part of form controls: registration, sizes, showing and hiding.
#include <algorithm>

#include "html/layout/attribute_access.h"
#include "html/layout/form_controls.h"
#include "html/layout/html_form.h"
#include "html/layout/section_list.h"

namespace quillon {

TFormControlObj::TFormControlObj(ThtmlForm& form, const TAttributeList& attrs)
    : doc_(&form.Document()), form_(&form) {
    Value = AttrText(attrs, Symb::ValueSy);
    Name = AttrText(attrs, Symb::NameSy);
}

TFormControlObj::~TFormControlObj() = default;

void TFormControlObj::Draw(Canvas& /*canvas*/, int /*x*/, int /*y*/) {}

bool TFormControlObj::GetSubmission(int /*index*/, std::string& /*out*/) {
    return false;
}

void TFormControlObj::SetHeightWidth(Canvas& /*canvas*/) {}

int TFormControlObj::Width() const {
    const PlatformControl* c = Control();
    return c ? c->Width() : width_;
}

int TFormControlObj::Height() const {
    const PlatformControl* c = Control();
    return c ? c->Height() : height_;
}

void TFormControlObj::Show(int x, int y) {
    ShownThisPaint = true;
    if (PlatformControl* c = Control()) {
        c->SetPosition(x, y);
        c->SetVisible(true);
    }
}

void TFormControlObj::Hide() {
    if (PlatformControl* c = Control()) c->SetVisible(false);
}

FontSpec TFormControlObj::TextControlFont() const {
    FontSpec font;
    font.name = doc_->FixedFontName();
    font.size_pt = 10;
    return font;
}

Point TFormControlObj::MeasureA(Canvas& canvas, const FontSpec& font) {
    canvas.SetFont(font);
    return Point{std::max(0, canvas.TextWidth(U"A")), std::max(0, canvas.Metrics().height)};
}

void TFormControlObj::PlaceOffScreen(PlatformControl& control, const FontSpec& font) {
    control.SetFont(font);
    control.SetVisible(false);
    control.SetPosition(0, -400);
}

void TFormControlObj::SetComputedSize(int width, int height) {
    width_ = std::max(0, width);
    height_ = std::max(0, height);
}

void TFormControlObj::ApplySize(PlatformControl* widget, int width, int height) {
    if (!widget) {
        SetComputedSize(width, height);
        return;
    }
    widget->SetSize(width, height);
    SetComputedSize(widget->Width(), widget->Height());
}

}  // namespace quillon
