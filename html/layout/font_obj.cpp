#include "html/layout/font_obj.h"

#include <algorithm>

#include "html/layout/section_list.h"

namespace quillon {

TFontObj::TFontObj(const TSectionList& doc, int char_pos, const TMyFont& font,
                   SubSuperType sub_super)
    : CharPos(char_pos), SScript(sub_super), font_(font) {
    Measure(doc);
}

void TFontObj::SetFont(const TSectionList& doc, const TMyFont& font) {
    font_ = font;
    Measure(doc);
}

void TFontObj::UpdateFont(const TSectionList& doc) {
    font_.UpdateFont(doc, Link.Empty() ? doc.TextColor() : doc.LinkColor());
    Measure(doc);
}

void TFontObj::Measure(const TSectionList& doc) {
    Canvas& canvas = doc.ScreenCanvas();
    canvas.SetFont(font_.CanvasFont());
    const FontMetrics m = canvas.Metrics();
    CharHeight = std::max(0, m.height);
    LineHeight = CharHeight;
    Descent = std::max(0, m.descent);
    Overhang = 0;
}

TFontObj& TFontList::Add(std::unique_ptr<TFontObj> run) {
    runs_.push_back(std::move(run));
    return *runs_.back();
}

const TFontObj* TFontList::GetFontObjAt(int pos, int* index) const {
    if (runs_.empty()) return nullptr;
    auto it =
        std::upper_bound(runs_.begin(), runs_.end(), pos,
                         [](int p, const std::unique_ptr<TFontObj>& r) { return p < r->CharPos; });
    if (it != runs_.begin()) --it;
    if (index) *index = static_cast<int>(it - runs_.begin());
    return it->get();
}

const TMyFont* TFontList::GetFontAt(int pos, int& overhang) const {
    const TFontObj* run = GetFontObjAt(pos);
    overhang = run ? run->Overhang : 0;
    return run ? &run->Font() : nullptr;
}

int TFontList::GetFontCountAt(int pos, int len) const {
    auto it =
        std::upper_bound(runs_.begin(), runs_.end(), pos,
                         [](int p, const std::unique_ptr<TFontObj>& r) { return p < r->CharPos; });
    const int next = it == runs_.end() ? len : (*it)->CharPos;
    return std::max(0, next - pos);
}

}  // namespace quillon
