#pragma once
// Internal to the cascade: the state one element's style is built in, and the functions
// that apply each property's value to it.

#include <cstdint>
#include <optional>
#include <vector>

#include "html/style/computed_style.h"
#include "html/style/css_values.h"

namespace quillon::css {

using Values = std::vector<Component>;

struct StyleBuilder {
    ComputedStyle& style;
    const ComputedStyle& parent;
    FontBase base;  // em: the element's own final font size
    // background-color: currentColor, resolved once the element's color is known.
    bool background_is_current = false;
    // The element's own text-decoration lines, before the parent's are added.
    std::uint8_t own_decoration = 0;
};

// Each returns false, leaving the style as it was, when the value is not one the
// property takes.
namespace props {
bool Color(StyleBuilder& b, const Values& v);
bool BackgroundColor(StyleBuilder& b, const Values& v);
bool BackgroundImage(StyleBuilder& b, const Values& v);
bool Background(StyleBuilder& b, const Values& v);
bool BackgroundRepeat(StyleBuilder& b, const Values& v);
bool BackgroundPosition(StyleBuilder& b, const Values& v);
bool FontFamily(StyleBuilder& b, const Values& v);
bool FontSize(StyleBuilder& b, const Values& v);
bool FontWeight(StyleBuilder& b, const Values& v);
bool FontStyle(StyleBuilder& b, const Values& v);
bool Font(StyleBuilder& b, const Values& v);
bool TextDecoration(StyleBuilder& b, const Values& v);
bool TextDecorationLine(StyleBuilder& b, const Values& v);
bool TextAlign(StyleBuilder& b, const Values& v);
bool TextIndent(StyleBuilder& b, const Values& v);
bool TextTransform(StyleBuilder& b, const Values& v);
bool VerticalAlign(StyleBuilder& b, const Values& v);
bool LineHeight(StyleBuilder& b, const Values& v);
bool WhiteSpace(StyleBuilder& b, const Values& v);
bool ListStyleType(StyleBuilder& b, const Values& v);
bool ListStyle(StyleBuilder& b, const Values& v);
bool Visibility(StyleBuilder& b, const Values& v);

bool Width(StyleBuilder& b, const Values& v);
bool MinWidth(StyleBuilder& b, const Values& v);
bool MaxWidth(StyleBuilder& b, const Values& v);
bool Height(StyleBuilder& b, const Values& v);
bool Margin(StyleBuilder& b, const Values& v);
bool MarginSide(StyleBuilder& b, const Values& v, int side);
bool Padding(StyleBuilder& b, const Values& v);
bool PaddingSide(StyleBuilder& b, const Values& v, int side);
// side -1: all four.
bool Border(StyleBuilder& b, const Values& v, int side);
bool BorderWidth(StyleBuilder& b, const Values& v);
bool BorderStyle(StyleBuilder& b, const Values& v);
bool BorderColor(StyleBuilder& b, const Values& v);
bool BorderSideWidth(StyleBuilder& b, const Values& v, int side);
bool BorderSideStyle(StyleBuilder& b, const Values& v, int side);
bool BorderSideColor(StyleBuilder& b, const Values& v, int side);
bool BorderCollapse(StyleBuilder& b, const Values& v);
bool BorderSpacing(StyleBuilder& b, const Values& v);
bool Display(StyleBuilder& b, const Values& v);
bool Float(StyleBuilder& b, const Values& v);
bool Clear(StyleBuilder& b, const Values& v);
bool PageBreakBefore(StyleBuilder& b, const Values& v);
bool PageBreakAfter(StyleBuilder& b, const Values& v);
bool PageBreakInside(StyleBuilder& b, const Values& v);
bool BreakBefore(StyleBuilder& b, const Values& v);
bool BreakAfter(StyleBuilder& b, const Values& v);
bool BreakInside(StyleBuilder& b, const Values& v);
}  // namespace props

// The font size that `d`, a font-size or font declaration, gives an element whose parent's
// is `parent_size`; nothing when it is another property or its value is invalid.
std::optional<double> DeclaredFontSize(const Declaration& d, double parent_size, double root_size);

// Used by DeclaredFontSize for the values of font-size and of font.
std::optional<double> FontSizeValue(const Values& v, double parent_size, double root_size);
std::optional<double> FontShorthandSize(const Values& v, double parent_size, double root_size);

// How one declaration is applied: by name (lower case) to the builder. False when the
// property is unknown or the value is invalid.
bool ApplyDeclaration(StyleBuilder& b, const Declaration& d);

}  // namespace quillon::css
