// The properties by name: how each value is applied, which longhands a declaration sets,
// and what inherit, initial and unset copy.

#include <algorithm>
#include <initializer_list>
#include <iterator>

#include "html/style/style_builder.h"

namespace quillon::css {
namespace {

using ApplyFn = bool (*)(StyleBuilder&, const Values&);
// Copies the property's fields from `from` (the parent, or the initial style).
using CopyFn = void (*)(StyleBuilder&, const ComputedStyle& from);

constexpr std::uint64_t Bits(std::initializer_list<Property> properties) {
    std::uint64_t bits = 0;
    for (Property p : properties) bits |= std::uint64_t{1} << static_cast<unsigned>(p);
    return bits;
}

static_assert(static_cast<std::size_t>(Property::Count) <= 64);

constexpr std::uint64_t kMargins = Bits(
    {Property::MarginTop, Property::MarginRight, Property::MarginBottom, Property::MarginLeft});
constexpr std::uint64_t kPaddings = Bits(
    {Property::PaddingTop, Property::PaddingRight, Property::PaddingBottom, Property::PaddingLeft});
constexpr std::uint64_t kBorders = Bits(
    {Property::BorderTop, Property::BorderRight, Property::BorderBottom, Property::BorderLeft});
constexpr Property kMarginSide[] = {Property::MarginTop, Property::MarginRight,
                                    Property::MarginBottom, Property::MarginLeft};
constexpr Property kPaddingSide[] = {Property::PaddingTop, Property::PaddingRight,
                                     Property::PaddingBottom, Property::PaddingLeft};
constexpr Property kBorderSide[] = {Property::BorderTop, Property::BorderRight,
                                    Property::BorderBottom, Property::BorderLeft};

struct PropertyEntry {
    std::string_view name;
    ApplyFn apply;
    CopyFn copy;
    std::uint64_t bits;
    bool inherited;
};

// Side-specific properties, one instance per side (0 top, 1 right, 2 bottom, 3 left).
template <int S>
bool MarginAt(StyleBuilder& b, const Values& v) {
    return props::MarginSide(b, v, S);
}
template <int S>
bool PaddingAt(StyleBuilder& b, const Values& v) {
    return props::PaddingSide(b, v, S);
}
template <int S>
bool BorderAt(StyleBuilder& b, const Values& v) {
    return props::Border(b, v, S);
}
template <int S>
bool BorderWidthAt(StyleBuilder& b, const Values& v) {
    return props::BorderSideWidth(b, v, S);
}
template <int S>
bool BorderStyleAt(StyleBuilder& b, const Values& v) {
    return props::BorderSideStyle(b, v, S);
}
template <int S>
bool BorderColorAt(StyleBuilder& b, const Values& v) {
    return props::BorderSideColor(b, v, S);
}
bool AllBorders(StyleBuilder& b, const Values& v) {
    return props::Border(b, v, -1);
}

template <int S>
void CopyMargin(StyleBuilder& b, const ComputedStyle& f) {
    b.style.margin[S] = f.margin[S];
}
template <int S>
void CopyPadding(StyleBuilder& b, const ComputedStyle& f) {
    b.style.padding[S] = f.padding[S];
}
template <int S>
void CopyBorder(StyleBuilder& b, const ComputedStyle& f) {
    b.style.border[S] = f.border[S];
}
template <int S>
void CopyBorderWidth(StyleBuilder& b, const ComputedStyle& f) {
    b.style.border[S].width = f.border[S].width;
}
template <int S>
void CopyBorderStyle(StyleBuilder& b, const ComputedStyle& f) {
    b.style.border[S].style = f.border[S].style;
}
template <int S>
void CopyBorderColor(StyleBuilder& b, const ComputedStyle& f) {
    b.style.border[S].color = f.border[S].color;
}
void CopyBorders(StyleBuilder& b, const ComputedStyle& f) {
    b.style.border = f.border;
}
void CopyBorderWidths(StyleBuilder& b, const ComputedStyle& f) {
    for (int s = 0; s < 4; ++s) b.style.border[s].width = f.border[s].width;
}
void CopyBorderStyles(StyleBuilder& b, const ComputedStyle& f) {
    for (int s = 0; s < 4; ++s) b.style.border[s].style = f.border[s].style;
}
void CopyBorderColors(StyleBuilder& b, const ComputedStyle& f) {
    for (int s = 0; s < 4; ++s) b.style.border[s].color = f.border[s].color;
}
void CopyBackgroundColor(StyleBuilder& b, const ComputedStyle& f) {
    b.background_is_current = false;
    b.style.background_color = f.background_color;
}
void CopyBackgroundImage(StyleBuilder& b, const ComputedStyle& f) {
    b.style.background_image = f.background_image;
}
void CopyBackgroundRepeat(StyleBuilder& b, const ComputedStyle& f) {
    b.style.background_repeat = f.background_repeat;
}
void CopyBackgroundPosition(StyleBuilder& b, const ComputedStyle& f) {
    b.style.background_position = f.background_position;
}
void CopyBackground(StyleBuilder& b, const ComputedStyle& f) {
    CopyBackgroundColor(b, f);
    CopyBackgroundImage(b, f);
    CopyBackgroundRepeat(b, f);
    CopyBackgroundPosition(b, f);
}
void CopyLineHeight(StyleBuilder& b, const ComputedStyle& f) {
    b.style.line_height = f.line_height;
    b.style.line_height_factor = f.line_height_factor;
}
void CopyFont(StyleBuilder& b, const ComputedStyle& f) {
    b.style.font_family = f.font_family;
    b.style.font_size = f.font_size;
    b.style.font_weight = f.font_weight;
    b.style.italic = f.italic;
    CopyLineHeight(b, f);
}

#define QUILLON_COPY(field) [](StyleBuilder& b, const ComputedStyle& f) { b.style.field = f.field; }

constexpr std::uint64_t kFontBits =
    Bits({Property::FontFamily, Property::FontSize, Property::FontWeight, Property::FontStyle,
          Property::LineHeight});

// Sorted by name.
constexpr PropertyEntry kProperties[] = {
    {"background", props::Background, CopyBackground,
     Bits({Property::BackgroundColor, Property::BackgroundImage, Property::BackgroundRepeat,
           Property::BackgroundPosition}),
     false},
    {"background-color", props::BackgroundColor, CopyBackgroundColor,
     Bits({Property::BackgroundColor}), false},
    {"background-image", props::BackgroundImage, CopyBackgroundImage,
     Bits({Property::BackgroundImage}), false},
    {"background-position", props::BackgroundPosition, CopyBackgroundPosition,
     Bits({Property::BackgroundPosition}), false},
    {"background-repeat", props::BackgroundRepeat, CopyBackgroundRepeat,
     Bits({Property::BackgroundRepeat}), false},
    {"border", AllBorders, CopyBorders, kBorders, false},
    {"border-bottom", BorderAt<2>, CopyBorder<2>, Bits({kBorderSide[2]}), false},
    {"border-bottom-color", BorderColorAt<2>, CopyBorderColor<2>, Bits({kBorderSide[2]}), false},
    {"border-bottom-style", BorderStyleAt<2>, CopyBorderStyle<2>, Bits({kBorderSide[2]}), false},
    {"border-bottom-width", BorderWidthAt<2>, CopyBorderWidth<2>, Bits({kBorderSide[2]}), false},
    {"border-collapse", props::BorderCollapse, QUILLON_COPY(border_collapse),
     Bits({Property::BorderCollapse}), true},
    {"border-color", props::BorderColor, CopyBorderColors, kBorders, false},
    {"border-left", BorderAt<3>, CopyBorder<3>, Bits({kBorderSide[3]}), false},
    {"border-left-color", BorderColorAt<3>, CopyBorderColor<3>, Bits({kBorderSide[3]}), false},
    {"border-left-style", BorderStyleAt<3>, CopyBorderStyle<3>, Bits({kBorderSide[3]}), false},
    {"border-left-width", BorderWidthAt<3>, CopyBorderWidth<3>, Bits({kBorderSide[3]}), false},
    {"border-right", BorderAt<1>, CopyBorder<1>, Bits({kBorderSide[1]}), false},
    {"border-right-color", BorderColorAt<1>, CopyBorderColor<1>, Bits({kBorderSide[1]}), false},
    {"border-right-style", BorderStyleAt<1>, CopyBorderStyle<1>, Bits({kBorderSide[1]}), false},
    {"border-right-width", BorderWidthAt<1>, CopyBorderWidth<1>, Bits({kBorderSide[1]}), false},
    {"border-spacing", props::BorderSpacing, QUILLON_COPY(border_spacing),
     Bits({Property::BorderSpacing}), true},
    {"border-style", props::BorderStyle, CopyBorderStyles, kBorders, false},
    {"border-top", BorderAt<0>, CopyBorder<0>, Bits({kBorderSide[0]}), false},
    {"border-top-color", BorderColorAt<0>, CopyBorderColor<0>, Bits({kBorderSide[0]}), false},
    {"border-top-style", BorderStyleAt<0>, CopyBorderStyle<0>, Bits({kBorderSide[0]}), false},
    {"border-top-width", BorderWidthAt<0>, CopyBorderWidth<0>, Bits({kBorderSide[0]}), false},
    {"border-width", props::BorderWidth, CopyBorderWidths, kBorders, false},
    {"break-after", props::BreakAfter, QUILLON_COPY(break_after), Bits({Property::BreakAfter}),
     false},
    {"break-before", props::BreakBefore, QUILLON_COPY(break_before), Bits({Property::BreakBefore}),
     false},
    {"break-inside", props::BreakInside, QUILLON_COPY(break_inside), Bits({Property::BreakInside}),
     false},
    {"clear", props::Clear, QUILLON_COPY(clear), Bits({Property::Clear}), false},
    {"color", props::Color, QUILLON_COPY(color), Bits({Property::Color}), true},
    {"display", props::Display, QUILLON_COPY(display), Bits({Property::Display}), false},
    {"float", props::Float, QUILLON_COPY(float_side), Bits({Property::Float}), false},
    {"font", props::Font, CopyFont, kFontBits, true},
    {"font-family", props::FontFamily, QUILLON_COPY(font_family), Bits({Property::FontFamily}),
     true},
    {"font-size", props::FontSize, QUILLON_COPY(font_size), Bits({Property::FontSize}), true},
    {"font-style", props::FontStyle, QUILLON_COPY(italic), Bits({Property::FontStyle}), true},
    {"font-weight", props::FontWeight, QUILLON_COPY(font_weight), Bits({Property::FontWeight}),
     true},
    {"height", props::Height, QUILLON_COPY(height), Bits({Property::Height}), false},
    {"line-height", props::LineHeight, CopyLineHeight, Bits({Property::LineHeight}), true},
    {"list-style", props::ListStyle, QUILLON_COPY(list_style), Bits({Property::ListStyleType}),
     true},
    {"list-style-type", props::ListStyleType, QUILLON_COPY(list_style),
     Bits({Property::ListStyleType}), true},
    {"margin", props::Margin, QUILLON_COPY(margin), kMargins, false},
    {"margin-bottom", MarginAt<2>, CopyMargin<2>, Bits({kMarginSide[2]}), false},
    {"margin-left", MarginAt<3>, CopyMargin<3>, Bits({kMarginSide[3]}), false},
    {"margin-right", MarginAt<1>, CopyMargin<1>, Bits({kMarginSide[1]}), false},
    {"margin-top", MarginAt<0>, CopyMargin<0>, Bits({kMarginSide[0]}), false},
    {"max-width", props::MaxWidth, QUILLON_COPY(max_width), Bits({Property::MaxWidth}), false},
    {"min-width", props::MinWidth, QUILLON_COPY(min_width), Bits({Property::MinWidth}), false},
    {"padding", props::Padding, QUILLON_COPY(padding), kPaddings, false},
    {"padding-bottom", PaddingAt<2>, CopyPadding<2>, Bits({kPaddingSide[2]}), false},
    {"padding-left", PaddingAt<3>, CopyPadding<3>, Bits({kPaddingSide[3]}), false},
    {"padding-right", PaddingAt<1>, CopyPadding<1>, Bits({kPaddingSide[1]}), false},
    {"padding-top", PaddingAt<0>, CopyPadding<0>, Bits({kPaddingSide[0]}), false},
    {"page-break-after", props::PageBreakAfter, QUILLON_COPY(break_after),
     Bits({Property::BreakAfter}), false},
    {"page-break-before", props::PageBreakBefore, QUILLON_COPY(break_before),
     Bits({Property::BreakBefore}), false},
    {"page-break-inside", props::PageBreakInside, QUILLON_COPY(break_inside),
     Bits({Property::BreakInside}), false},
    {"text-align", props::TextAlign, QUILLON_COPY(text_align), Bits({Property::TextAlign}), true},
    {"text-decoration", props::TextDecoration,
     [](StyleBuilder& b, const ComputedStyle& f) { b.own_decoration = f.decoration; },
     Bits({Property::TextDecoration}), false},
    {"text-decoration-line", props::TextDecorationLine,
     [](StyleBuilder& b, const ComputedStyle& f) { b.own_decoration = f.decoration; },
     Bits({Property::TextDecoration}), false},
    {"text-indent", props::TextIndent, QUILLON_COPY(text_indent), Bits({Property::TextIndent}),
     true},
    {"text-transform", props::TextTransform, QUILLON_COPY(text_transform),
     Bits({Property::TextTransform}), true},
    {"vertical-align", props::VerticalAlign, QUILLON_COPY(vertical_align),
     Bits({Property::VerticalAlign}), false},
    {"visibility", props::Visibility, QUILLON_COPY(visible), Bits({Property::Visibility}), true},
    {"white-space", props::WhiteSpace, QUILLON_COPY(white_space), Bits({Property::WhiteSpace}),
     true},
    {"width", props::Width, QUILLON_COPY(width), Bits({Property::Width}), false},
};

#undef QUILLON_COPY

static_assert(std::is_sorted(std::begin(kProperties), std::end(kProperties),
                             [](const PropertyEntry& a, const PropertyEntry& b) {
                                 return a.name < b.name;
                             }));

const PropertyEntry* Find(std::string_view name) {
    const auto* it =
        std::lower_bound(std::begin(kProperties), std::end(kProperties), name,
                         [](const PropertyEntry& e, std::string_view n) { return e.name < n; });
    if (it == std::end(kProperties) || it->name != name) return nullptr;
    return it;
}

const ComputedStyle& Initial() {
    static const ComputedStyle initial = InitialStyle();
    return initial;
}

enum class WideKeyword { None, Inherit, Initial, Unset };

WideKeyword WideKeywordOf(const Values& v) {
    if (v.size() != 1) return WideKeyword::None;
    if (v[0].IsIdent("inherit")) return WideKeyword::Inherit;
    if (v[0].IsIdent("initial")) return WideKeyword::Initial;
    if (v[0].IsIdent("unset")) return WideKeyword::Unset;
    return WideKeyword::None;
}

}  // namespace

bool ApplyDeclaration(StyleBuilder& b, const Declaration& d) {
    const PropertyEntry* entry = Find(d.name);
    if (!entry) return false;
    const Values values = SplitComponents(d.value);
    bool applied = true;
    switch (WideKeywordOf(values)) {
        case WideKeyword::Inherit:
            entry->copy(b, b.parent);
            break;
        case WideKeyword::Initial:
            entry->copy(b, Initial());
            break;
        case WideKeyword::Unset:
            entry->copy(b, entry->inherited ? b.parent : Initial());
            break;
        case WideKeyword::None:
            applied = entry->apply(b, values);
            break;
    }
    if (applied) b.style.specified |= decltype(b.style.specified)(entry->bits);
    return applied;
}

std::optional<double> DeclaredFontSize(const Declaration& d, double parent_size, double root_size) {
    const bool font_size = d.name == "font-size";
    if (!font_size && d.name != "font") return std::nullopt;
    const Values values = SplitComponents(d.value);
    switch (WideKeywordOf(values)) {
        case WideKeyword::Inherit:
        case WideKeyword::Unset:
            return parent_size;
        case WideKeyword::Initial:
            return Initial().font_size;
        case WideKeyword::None:
            break;
    }
    return font_size ? FontSizeValue(values, parent_size, root_size)
                     : FontShorthandSize(values, parent_size, root_size);
}

}  // namespace quillon::css
