#pragma once
// A TrueType face read from its tables: what a PDF needs to measure with it and embed it,
// and a copy of it that keeps only the glyphs a document uses.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon::pdf {

// The bytes of one table of the face by its four-letter tag ("glyf", "OS/2"), empty when
// the face has none.
using TableSource = std::function<std::string(std::string_view tag)>;

class TrueTypeFace {
  public:
    // Reads head, hhea, maxp, hmtx and OS/2 (when present). Throws std::runtime_error when
    // the face has no outlines as TrueType glyphs or its tables are malformed.
    explicit TrueTypeFace(TableSource tables);

    int UnitsPerEm() const { return units_per_em_; }
    int GlyphCount() const { return glyph_count_; }
    // Ascender and descender (descender negative), and the bounding box of all glyphs, in
    // font units.
    int Ascent() const { return ascent_; }
    int Descent() const { return descent_; }
    int CapHeight() const { return cap_height_; }
    const int* BoundingBox() const { return bbox_; }
    bool FixedPitch() const { return fixed_pitch_; }
    // Advance width of a glyph in font units (glyph ids beyond the face give 0).
    int Advance(std::uint16_t glyph) const;

    // A complete TrueType file of the face in which every glyph outside `used` (and the
    // composite glyphs' parts, which are kept) is empty; glyph ids do not change, so text
    // drawn with them needs no re-mapping. used[g] tells whether glyph g is kept.
    std::string Subset(const std::vector<bool>& used) const;

  private:
    TableSource tables_;
    int units_per_em_ = 1000;
    int glyph_count_ = 0;
    int ascent_ = 0, descent_ = 0, cap_height_ = 0;
    int bbox_[4] = {0, 0, 0, 0};
    bool fixed_pitch_ = false;
    bool long_loca_ = false;
    std::vector<std::uint16_t> advances_;
};

}  // namespace quillon::pdf
