#pragma once
// The face Qt draws a font with, read once per face: glyph ids and advance widths of the
// characters, for measuring text without shaping it and for writing it into PDF files.
//
// Text is "simple" when every character has a glyph of this face and none needs shaping
// (no combining marks, no right-to-left or complex scripts, no controls). Simple text is
// as wide as the sum of its glyphs' advances, because fonts are made without kerning or
// ligatures (MakeQFont); everything else is left to Qt's text layout. Faces are shared by
// the whole process and read lazily: use them from one thread at a time (the GUI thread).

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <QFont>
#include <QRawFont>

#include "platform/pdf/truetype_face.h"

namespace quillon {

class FontFace {
  public:
    struct Glyph {
        std::uint16_t id = 0;       // 0: the face has no glyph for the character
        std::uint16_t advance = 0;  // in font units
    };

    // The face of a QFont (shared by every size of it).
    static FontFace& Of(const QFont& font);
    // The face of a raw font that Qt's layout picked (a fallback face, say).
    static FontFace& Of(const QRawFont& raw);

    const QRawFont& Raw() const { return raw_; }
    int UnitsPerEm() const { return units_per_em_; }
    // The TrueType tables behind the face, or null when it has none (a CFF face).
    const std::shared_ptr<const pdf::TrueTypeFace>& TrueType() const { return truetype_; }
    // Family and style without spaces, as a PDF names the face.
    const std::string& PostScriptName() const { return name_; }
    bool Bold() const { return bold_; }
    bool Italic() const { return italic_; }
    bool Serif() const { return serif_; }

    Glyph Lookup(char32_t ch) {
        if (ch < 0x10000) {
            auto& page = pages_[ch >> 8];
            if (!page) LoadPage(ch >> 8);
            return (*page)[ch & 0xFF];
        }
        return LookupAstral(ch);
    }
    // Whether the text is simple for this face (see above).
    bool IsSimple(std::u32string_view text);
    // The advance of the text in font units when it is simple, else false.
    bool SimpleAdvance(std::u32string_view text, std::int64_t& units);

  private:
    explicit FontFace(const QRawFont& raw);
    void LoadPage(char32_t page);
    Glyph LookupAstral(char32_t ch);

    QRawFont raw_;
    int units_per_em_ = 1000;
    std::shared_ptr<const pdf::TrueTypeFace> truetype_;
    std::string name_;
    bool bold_ = false, italic_ = false, serif_ = false;
    std::array<std::unique_ptr<std::array<Glyph, 256>>, 256> pages_;
    std::unordered_map<char32_t, Glyph> astral_;
};

// Characters that need no shaping and have no special meaning for the layout of a line.
bool IsSimpleCharacter(char32_t ch);

}  // namespace quillon
