#pragma once
// Small value types shared by the document model, layout and drawing.

#include <cstdint>

#include "platform/core/image_types.h"

namespace quillon {

// Horizontal alignment of a block.
enum class JustifyType : std::uint8_t { NoJustify, Left, Centered, Right };

// Vertical placement of an image or a table cell's content; ALeft and ARight float.
enum class AlignmentType : std::uint8_t { ANone, Top, Middle, Bottom, ALeft, ARight };

// The kind of list item a section is.
enum class ListTypeType : std::uint8_t { None, Ordered, Unordered, Definition };

// The CLEAR attribute of a line break.
enum class ClearAttrType : std::uint8_t { clrNone, clLeft, clRight, clAll };

// Sub- and superscript state of a font run.
enum class SubSuperType : std::uint8_t { Normal, SubSc, SupSc };

// Font styles as a bit set. fsHidden marks text (and the pictures in it) that takes its
// room but is not drawn (visibility: hidden).
enum TFontStyle : std::uint8_t {
    fsBold = 1,
    fsItalic = 2,
    fsUnderline = 4,
    fsStrikeOut = 8,
    fsHidden = 16
};
using TFontStyles = std::uint8_t;

// The text style the parser keeps while it reads: added to every font run it starts.
struct TextStyleState {
    TFontStyles styles = 0;
    SubSuperType sub_super = SubSuperType::Normal;
};

// Placeholder characters in section text: one form control, one inline block, one image.
inline constexpr char32_t kFormControlChar = 2;
inline constexpr char32_t kInlineBlockChar = 3;
inline constexpr char32_t kImageChar = 4;

// Pixels of indent per list level.
inline constexpr int kListIndent = 35;

}  // namespace quillon
