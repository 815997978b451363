#pragma once
// A font of the document: a value object with the size written in the document (the
// nominal size, scaled by the document's base size into the real size) and a flag telling
// that it uses the document's fixed-pitch face.
// The README's glossary of inherited names explains this and its neighbours.

#include <string>

#include "html/layout/html_enums.h"
#include "platform/core/canvas.h"

namespace quillon {

class TSectionList;

// Nominal point sizes of the seven HTML font sizes.
inline constexpr int kProportionalSizes[7] = {8, 10, 12, 14, 18, 24, 36};
inline constexpr int kFixedPitchSizes[7] = {7, 8, 10, 12, 15, 20, 30};

class TMyFont {
  public:
    std::string Name = "Times New Roman";
    int Size = 12;  // real size in points
    TFontStyles Style = 0;
    Color FontColor = 0x000000;
    int CharSet = 0;
    int NominalSize = 12;  // as written in the document
    bool FixedPitch = false;

    // Stores the nominal size and sets the real size to it scaled by the document's base
    // font size F (size * F / 12, rounded). Negative sizes count as 0.
    void SetNormalSize(const TSectionList& doc, int size);
    // Re-applies the document's settings: face (the fixed-pitch face when FixedPitch),
    // character set, real size from NominalSize, and the given colour.
    void UpdateFont(const TSectionList& doc, Color color);

    bool Bold() const { return (Style & fsBold) != 0; }
    bool Italic() const { return (Style & fsItalic) != 0; }
    bool Underline() const { return (Style & fsUnderline) != 0; }
    bool StrikeOut() const { return (Style & fsStrikeOut) != 0; }
    bool Hidden() const { return (Style & fsHidden) != 0; }

    // The font as the canvas takes it.
    FontSpec CanvasFont() const;

    friend bool operator==(const TMyFont&, const TMyFont&) = default;
};

}  // namespace quillon
