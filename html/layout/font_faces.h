#pragma once
// The fonts a document's text runs use, each with its metrics. A report holds hundreds of
// thousands of runs but only a handful of distinct fonts, so runs refer to a shared face
// instead of each holding the font's name and metrics.

#include <cstddef>
#include <unordered_set>

#include "html/layout/my_font.h"

namespace quillon {

// A font and its metrics as measured on the document's screen canvas.
struct TFontFace {
    TMyFont Font;
    int LineHeight = 0;  // text height plus leading
    int CharHeight = 0;  // ascent plus descent
    int Overhang = 0;
    int Descent = 0;

    friend bool operator==(const TFontFace&, const TFontFace&) = default;
};

// The distinct faces of one document. A face, once added, keeps its address until the
// table is destroyed (runs point at it), so faces are never removed; a document measured
// on another canvas simply adds the new measurements.
class TFontFaces {
  public:
    TFontFaces() = default;
    TFontFaces(const TFontFaces&) = delete;
    TFontFaces& operator=(const TFontFaces&) = delete;

    // The table's face equal to `face`, added when there is none.
    const TFontFace& Intern(const TFontFace& face);
    std::size_t Count() const { return faces_.size(); }

  private:
    struct Hash {
        std::size_t operator()(const TFontFace& f) const;
    };
    std::unordered_set<TFontFace, Hash> faces_;
    const TFontFace* last_ = nullptr;  // runs mostly repeat the face asked for last
};

}  // namespace quillon
