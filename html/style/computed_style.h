#pragma once
// The style of one element after the cascade: the values of the properties report templates
// use, with lengths resolved to pixels where they can be (percentages are kept, for the
// layout to resolve against the room it has). `specified` says which properties the
// element's own declarations set (so that a document without style keeps the look its
// attributes give it); inherited properties are copied from the parent either way.

#include <array>
#include <bitset>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "html/style/style_sheet.h"

namespace quillon::css {

// 0xRRGGBB and an alpha of 0 (transparent) to 255 (opaque).
struct Rgba {
    std::uint32_t rgb = 0x000000;
    std::uint8_t alpha = 255;
    friend bool operator==(const Rgba&, const Rgba&) = default;
};

// A length after resolution: pixels, a percentage, or auto.
struct Length {
    enum class Kind : std::uint8_t { Auto, Px, Percent };
    Kind kind = Kind::Auto;
    double value = 0;  // Px: pixels (96 per inch); Percent: 0-100
    static Length Px(double v) { return {Kind::Px, v}; }
    static Length Percent(double v) { return {Kind::Percent, v}; }
    bool IsAuto() const { return kind == Kind::Auto; }
    friend bool operator==(const Length&, const Length&) = default;
};

enum class Display : std::uint8_t {
    Inline,
    Block,
    ListItem,
    InlineBlock,
    Table,
    TableRowGroup,
    TableHeaderGroup,
    TableFooterGroup,
    TableRow,
    TableCell,
    TableCaption,
    TableColumn,
    TableColumnGroup,
    None,
};

enum class TextAlign : std::uint8_t { Start, Left, Right, Center, Justify };
enum class TextTransform : std::uint8_t { None, Uppercase, Lowercase, Capitalize };
enum class WhiteSpace : std::uint8_t { Normal, NoWrap, Pre, PreWrap, PreLine };
enum class VerticalAlign : std::uint8_t { Baseline, Top, Middle, Bottom, Sub, Super };
enum class LineStyle : std::uint8_t { None, Hidden, Solid, Dashed, Dotted, Double, Other };
enum class FloatSide : std::uint8_t { None, Left, Right };
enum class BackgroundRepeat : std::uint8_t { Repeat, RepeatX, RepeatY, NoRepeat };
enum class ClearSide : std::uint8_t { None, Left, Right, Both };
// page-break-* and break-* map to these ("always" and "page" are Page; "avoid" is Avoid).
enum class BreakValue : std::uint8_t { Auto, Page, Avoid };
enum class ListStyle : std::uint8_t {
    Disc,
    Circle,
    Square,
    Decimal,
    LowerAlpha,
    UpperAlpha,
    LowerRoman,
    UpperRoman,
    None,
};

// text-decoration lines, as bits.
enum DecorationLine : std::uint8_t { kUnderline = 1, kOverline = 2, kLineThrough = 4 };

struct BorderSideStyle {
    double width = 3;  // pixels ("medium"); counts only when style is shown
    LineStyle style = LineStyle::None;
    std::optional<Rgba> color;  // nothing: the element's color
    friend bool operator==(const BorderSideStyle&, const BorderSideStyle&) = default;
};

// The properties, for `specified`.
enum class Property : std::uint8_t {
    Color,
    BackgroundColor,
    BackgroundImage,
    BackgroundRepeat,
    BackgroundPosition,
    FontFamily,
    FontSize,
    FontWeight,
    FontStyle,
    TextDecoration,
    TextAlign,
    TextIndent,
    TextTransform,
    VerticalAlign,
    LineHeight,
    WhiteSpace,
    Width,
    MinWidth,
    MaxWidth,
    Height,
    MarginTop,
    MarginRight,
    MarginBottom,
    MarginLeft,
    PaddingTop,
    PaddingRight,
    PaddingBottom,
    PaddingLeft,
    BorderTop,
    BorderRight,
    BorderBottom,
    BorderLeft,  // width, style or colour of that side
    BorderCollapse,
    BorderSpacing,
    Display,
    Visibility,
    ListStyleType,
    Float,
    Clear,
    BreakBefore,
    BreakAfter,
    BreakInside,
    Count,
};

struct ComputedStyle {
    // Inherited.
    Rgba color;
    std::vector<std::string> font_family;  // in order; generic families in lower case
    double font_size = 16;                 // pixels
    int font_weight = 400;                 // 100-900
    bool italic = false;
    TextAlign text_align = TextAlign::Start;
    Length text_indent = Length::Px(0);
    TextTransform text_transform = TextTransform::None;
    std::optional<double> line_height;  // pixels; nothing: normal
    // line-height given as a number: line_height is this times font_size, and descendants
    // inherit the number, so that each scales it by its own font size.
    std::optional<double> line_height_factor;
    WhiteSpace white_space = WhiteSpace::Normal;
    ListStyle list_style = ListStyle::Disc;
    bool visible = true;
    bool border_collapse = false;
    double border_spacing = 2;  // pixels

    // Not inherited (text-decoration lines are, in effect: they are drawn under the
    // descendants' text too, so they are carried down here).
    std::uint8_t decoration = 0;  // DecorationLine bits
    Display display = Display::Inline;
    std::optional<Rgba> background_color;  // nothing: transparent
    std::string background_image;          // the URL as written; empty: none
    BackgroundRepeat background_repeat = BackgroundRepeat::Repeat;
    // Where the image's first tile lies in the box: x then y, pixels or a percentage (which
    // places that point of the image at that point of the box, as CSS does).
    std::array<Length, 2> background_position{Length::Percent(0), Length::Percent(0)};
    Length width, min_width, max_width, height;  // max_width Auto means none
    std::array<Length, 4> margin{Length::Px(0), Length::Px(0), Length::Px(0), Length::Px(0)};
    // Pixels, or a percentage of the width of the room the box is in.
    std::array<Length, 4> padding{Length::Px(0), Length::Px(0), Length::Px(0), Length::Px(0)};
    std::array<BorderSideStyle, 4> border{};  // top, right, bottom, left
    VerticalAlign vertical_align = VerticalAlign::Baseline;
    FloatSide float_side = FloatSide::None;
    ClearSide clear = ClearSide::None;
    BreakValue break_before = BreakValue::Auto;
    BreakValue break_after = BreakValue::Auto;
    BreakValue break_inside = BreakValue::Auto;

    std::bitset<static_cast<std::size_t>(Property::Count)> specified;
    bool Has(Property p) const { return specified.test(static_cast<std::size_t>(p)); }
    friend bool operator==(const ComputedStyle&, const ComputedStyle&) = default;
};

// What resolving relative lengths needs besides the parent's style.
struct ResolveContext {
    double root_font_size = 16;  // pixels, for rem
};

// One declaration that applies to an element, with where it came from, for the cascade.
struct AppliedDeclaration {
    const Declaration* declaration = nullptr;
    Specificity specificity{0, 0, 0};
    std::size_t order = 0;        // source order among all rules (style attribute: after all)
    bool from_attribute = false;  // the element's own style attribute
};

// Orders `applied` as the cascade does: normal declarations by specificity then order, the
// style attribute's after the rules', then !important ones the same way, above all normal
// ones. The last declaration of a property wins.
void SortForCascade(std::vector<AppliedDeclaration>& applied);

// The element's style from its parent's and its declarations in cascade order. Unknown
// properties and values a property does not take are ignored, as browsers do; "inherit"
// takes the parent's value and "initial" the initial value.
ComputedStyle ComputeStyle(const std::vector<AppliedDeclaration>& in_cascade_order,
                           const ComputedStyle& parent, const ResolveContext& context);

// The initial style of the root's parent (a document's defaults).
ComputedStyle InitialStyle();

}  // namespace quillon::css
