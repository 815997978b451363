#include "html/layout/font_obj.h"

#include <algorithm>

#include "html/layout/section_list.h"

namespace quillon {

TFontObj::TFontObj(const TSectionList& doc, int char_pos, const TMyFont& font,
                   SubSuperType sub_super)
    : CharPos(char_pos), SScript(sub_super), face_(&doc.FontFace(font)) {}

TFontObj::TFontObj(const TSectionList& doc, const TFontObj& src)
    : CharPos(src.CharPos),
      SScript(src.SScript),
      face_(&doc.AdoptFontFace(*src.face_)),
      link_(src.link_ ? &doc.Link(*src.link_) : nullptr) {}

void TFontObj::SetFont(const TSectionList& doc, const TMyFont& font) {
    face_ = &doc.FontFace(font);
}

const TUrlTarget& TFontObj::Link() const {
    static const TUrlTarget kNoLink;
    return link_ ? *link_ : kNoLink;
}

void TFontObj::SetLink(const TSectionList& doc, const TUrlTarget& link) {
    link_ = link.Empty() && link.Target.empty() ? nullptr : &doc.Link(link);
}

void TFontObj::UpdateFont(const TSectionList& doc) {
    TMyFont font = face_->Font;
    font.UpdateFont(doc, Link().Empty() ? doc.TextColor() : doc.LinkColor());
    face_ = &doc.FontFace(font);
}

int TFontList::FirstRunAfter(int pos) const {
    // Binary search: runs are in position order.
    int lo = 0, hi = Count();
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if ((*this)[mid].CharPos <= pos) {
            lo = mid + 1;
        } else {
            hi = mid;
        }
    }
    return lo;
}

const TFontObj* TFontList::GetFontObjAt(int pos, int* index) const {
    if (Empty()) return nullptr;
    const int i = std::max(0, FirstRunAfter(pos) - 1);
    if (index) *index = i;
    return &(*this)[i];
}

const TMyFont* TFontList::GetFontAt(int pos, int& overhang) const {
    const TFontObj* run = GetFontObjAt(pos);
    overhang = run ? run->Overhang() : 0;
    return run ? &run->Font() : nullptr;
}

int TFontList::GetFontCountAt(int pos, int len) const {
    const int i = FirstRunAfter(pos);
    const int next = i >= Count() ? len : (*this)[i].CharPos;
    return std::max(0, next - pos);
}

}  // namespace quillon
