#pragma once
// Font runs of a section: a font change at a character position, with the font's metrics
// (a face shared through the document) and the link the run belongs to.
// The README's glossary of inherited names explains this and its neighbours.

#include <cstddef>
#include <memory>
#include <utility>

#include "html/layout/font_faces.h"
#include "html/layout/html_enums.h"
#include "html/layout/inline_first_vector.h"
#include "html/layout/my_font.h"
#include "html/layout/url_target.h"

namespace quillon {

class TSectionList;

class TFontObj {
  public:
    TFontObj(const TSectionList& doc, int char_pos, const TMyFont& font,
             SubSuperType sub_super = SubSuperType::Normal);
    // A copy of src for the document doc: the same font, metrics and link, with the face
    // taken from doc's table so that the copy does not depend on src's document.
    TFontObj(const TSectionList& doc, const TFontObj& src);

    int CharPos = 0;  // first character of the run
    SubSuperType SScript = SubSuperType::Normal;

    // Metrics of the font, measured on the document's screen canvas whenever it changes.
    int LineHeight() const { return face_->LineHeight; }  // text height plus leading
    int CharHeight() const { return face_->CharHeight; }  // ascent plus descent
    int Overhang() const { return face_->Overhang; }
    int Descent() const { return face_->Descent; }

    const TMyFont& Font() const { return face_->Font; }
    // The link the run belongs to; an empty URL when it is not a link. Runs share their
    // links through the document's link table.
    const TUrlTarget& Link() const;
    void SetLink(const TSectionList& doc, const TUrlTarget& link);
    void ClearLink() { link_ = nullptr; }

    // Changes the font and measures it again.
    void SetFont(const TSectionList& doc, const TMyFont& font);
    // Re-applies the document's font settings: the link colour for a run with a URL,
    // else the text colour.
    void UpdateFont(const TSectionList& doc);

  private:
    friend struct InlineSlot<TFontObj>;
    // The state of an unused slot: no face. Every run made through the public
    // constructors has one.
    TFontObj() = default;

    const TFontFace* face_ = nullptr;   // owned by the document's face table
    const TUrlTarget* link_ = nullptr;  // owned by the document's link table; null: no link
};

// A run without a face marks an unused first slot of a run list.
template <>
struct InlineSlot<TFontObj> {
    bool Has() const { return value_.face_ != nullptr; }
    TFontObj& Get() { return value_; }
    const TFontObj& Get() const { return value_; }
    TFontObj& Set(TFontObj&& v) { return value_ = std::move(v); }
    void Reset() { value_ = TFontObj(); }

  private:
    TFontObj value_;
};

// A section's font runs in position order. The first run starts at position 0. Adding a
// run may move the runs after the first: references to them stay valid only until the
// next Add.
class TFontList {
  public:
    TFontObj& Add(TFontObj run) { return runs_.push_back(std::move(run)); }

    int Count() const { return static_cast<int>(runs_.size()); }
    bool Empty() const { return runs_.empty(); }
    TFontObj& operator[](int i) { return runs_[static_cast<std::size_t>(i)]; }
    const TFontObj& operator[](int i) const { return runs_[static_cast<std::size_t>(i)]; }
    TFontObj& Last() { return runs_.back(); }
    const TFontObj& Last() const { return runs_.back(); }
    void Clear() { runs_.clear(); }

    // The run with the greatest CharPos not after pos (the first run for positions before
    // it), with its index; nullptr when there is no run.
    const TFontObj* GetFontObjAt(int pos, int* index = nullptr) const;
    // The font of that run and its overhang.
    const TMyFont* GetFontAt(int pos, int& overhang) const;
    // How many characters from pos until the next run starts, or until len.
    int GetFontCountAt(int pos, int len) const;

    auto begin() { return runs_.begin(); }
    auto end() { return runs_.end(); }
    auto begin() const { return runs_.begin(); }
    auto end() const { return runs_.end(); }

  private:
    // The index of the first run that starts after pos (Count() when none does).
    int FirstRunAfter(int pos) const;

    InlineFirstVector<TFontObj> runs_;
};

}  // namespace quillon
