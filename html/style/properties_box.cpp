// Box properties: display, sizes, margins, padding, borders, floats and page breaks.

#include "html/style/css_colors.h"
#include "html/style/style_builder.h"

namespace quillon::css {
namespace {

bool IsSingle(const Values& v) {
    return v.size() == 1;
}

// The four sides from one to four values: top, right, bottom, left, with the missing ones
// taken from the opposite side (and all from the first).
template <typename T, typename Parse>
std::optional<std::array<T, 4>> FourSides(const Values& v, Parse parse) {
    if (v.empty() || v.size() > 4) return std::nullopt;
    std::array<std::optional<T>, 4> given;
    for (std::size_t i = 0; i < v.size(); ++i) {
        given[i] = parse(v[i]);
        if (!given[i]) return std::nullopt;
    }
    std::array<T, 4> out{*given[0], given[1] ? *given[1] : *given[0],
                         given[2] ? *given[2] : *given[0], T{}};
    out[3] = given[3] ? *given[3] : out[1];
    return out;
}

std::optional<Length> MarginOf(const Component& c, FontBase base) {
    if (c.IsIdent("auto")) return Length{};
    const auto len = ParseLength(c);
    if (!len) return std::nullopt;
    return Resolve(*len, base);
}

std::optional<Length> PaddingOf(const Component& c, FontBase base) {
    const auto len = ParseLength(c, {.percent = true, .negative = false});
    if (!len) return std::nullopt;
    if (len->unit == LengthUnit::Percent) return Length::Percent(len->value);
    return Length::Px(ToPixels(*len, base));
}

std::optional<double> BorderWidthOf(const Component& c, FontBase base) {
    if (c.IsIdent("thin")) return 1.0;
    if (c.IsIdent("medium")) return 3.0;
    if (c.IsIdent("thick")) return 5.0;
    const auto len = ParseLength(c, {.percent = false, .negative = false});
    if (!len) return std::nullopt;
    return ToPixels(*len, base);
}

constexpr Keyword<LineStyle> kLineStyles[] = {
    {"none", LineStyle::None},     {"hidden", LineStyle::Hidden}, {"solid", LineStyle::Solid},
    {"dashed", LineStyle::Dashed}, {"dotted", LineStyle::Dotted}, {"double", LineStyle::Double},
    {"groove", LineStyle::Other},  {"ridge", LineStyle::Other},   {"inset", LineStyle::Other},
    {"outset", LineStyle::Other},
};

// A border colour: nothing for currentColor (the element's color).
std::optional<std::optional<Rgba>> BorderColorOf(const Component& c) {
    const auto color = ParseColor(c);
    if (!color) return std::nullopt;
    if (color->current) return std::optional<Rgba>();
    return std::optional<Rgba>(color->rgba);
}

// width, min-width and height: auto or a length; max-width: none or a length.
bool SetSize(StyleBuilder& b, const Values& v, std::string_view none_word, Length& field) {
    if (!IsSingle(v)) return false;
    if (v[0].IsIdent(none_word)) {
        field = Length{};
        return true;
    }
    const auto len = ParseLength(v[0], {.percent = true, .negative = false});
    if (!len) return false;
    field = Resolve(*len, b.base);
    return true;
}

constexpr Keyword<css::Display> kDisplay[] = {
    {"inline", Display::Inline},
    {"block", Display::Block},
    {"list-item", Display::ListItem},
    {"inline-block", Display::InlineBlock},
    {"table", Display::Table},
    {"inline-table", Display::Table},
    {"table-row-group", Display::TableRowGroup},
    {"table-header-group", Display::TableHeaderGroup},
    {"table-footer-group", Display::TableFooterGroup},
    {"table-row", Display::TableRow},
    {"table-cell", Display::TableCell},
    {"table-caption", Display::TableCaption},
    {"table-column", Display::TableColumn},
    {"table-column-group", Display::TableColumnGroup},
    {"none", Display::None},
    // Layouts drawn as the nearest of the above.
    {"flex", Display::Block},
    {"grid", Display::Block},
    {"flow-root", Display::Block},
    {"inline-flex", Display::InlineBlock},
    {"inline-grid", Display::InlineBlock},
};

constexpr Keyword<FloatSide> kFloat[] = {
    {"none", FloatSide::None}, {"left", FloatSide::Left}, {"right", FloatSide::Right}};

constexpr Keyword<ClearSide> kClear[] = {{"none", ClearSide::None},
                                         {"left", ClearSide::Left},
                                         {"right", ClearSide::Right},
                                         {"both", ClearSide::Both}};

constexpr Keyword<BreakValue> kPageBreak[] = {
    {"auto", BreakValue::Auto},  {"always", BreakValue::Page}, {"left", BreakValue::Page},
    {"right", BreakValue::Page}, {"avoid", BreakValue::Avoid},
};

constexpr Keyword<BreakValue> kPageBreakInside[] = {
    {"auto", BreakValue::Auto},
    {"avoid", BreakValue::Avoid},
};

// break-before and break-after: what forces or avoids a page break counts; column and
// region breaks do not apply to pages.
constexpr Keyword<BreakValue> kBreak[] = {
    {"auto", BreakValue::Auto},         {"page", BreakValue::Page},
    {"left", BreakValue::Page},         {"right", BreakValue::Page},
    {"recto", BreakValue::Page},        {"verso", BreakValue::Page},
    {"all", BreakValue::Page},          {"avoid", BreakValue::Avoid},
    {"avoid-page", BreakValue::Avoid},  {"column", BreakValue::Auto},
    {"region", BreakValue::Auto},       {"avoid-column", BreakValue::Auto},
    {"avoid-region", BreakValue::Auto},
};

constexpr Keyword<BreakValue> kBreakInside[] = {
    {"auto", BreakValue::Auto},         {"avoid", BreakValue::Avoid},
    {"avoid-page", BreakValue::Avoid},  {"avoid-column", BreakValue::Auto},
    {"avoid-region", BreakValue::Auto},
};

template <typename E, std::size_t N>
bool SetKeyword(const Values& v, const Keyword<E> (&table)[N], E& field) {
    if (!IsSingle(v)) return false;
    const auto k = MatchKeyword(v[0], table);
    if (!k) return false;
    field = *k;
    return true;
}

}  // namespace

namespace props {

bool Width(StyleBuilder& b, const Values& v) {
    return SetSize(b, v, "auto", b.style.width);
}

bool MinWidth(StyleBuilder& b, const Values& v) {
    return SetSize(b, v, "auto", b.style.min_width);
}

bool MaxWidth(StyleBuilder& b, const Values& v) {
    return SetSize(b, v, "none", b.style.max_width);
}

bool Height(StyleBuilder& b, const Values& v) {
    return SetSize(b, v, "auto", b.style.height);
}

bool Margin(StyleBuilder& b, const Values& v) {
    const auto sides =
        FourSides<Length>(v, [&b](const Component& c) { return MarginOf(c, b.base); });
    if (!sides) return false;
    b.style.margin = *sides;
    return true;
}

bool MarginSide(StyleBuilder& b, const Values& v, int side) {
    if (!IsSingle(v)) return false;
    const auto m = MarginOf(v[0], b.base);
    if (!m) return false;
    b.style.margin[side] = *m;
    return true;
}

bool Padding(StyleBuilder& b, const Values& v) {
    const auto sides =
        FourSides<Length>(v, [&b](const Component& c) { return PaddingOf(c, b.base); });
    if (!sides) return false;
    b.style.padding = *sides;
    return true;
}

bool PaddingSide(StyleBuilder& b, const Values& v, int side) {
    if (!IsSingle(v)) return false;
    const auto p = PaddingOf(v[0], b.base);
    if (!p) return false;
    b.style.padding[side] = *p;
    return true;
}

bool Border(StyleBuilder& b, const Values& v, int side) {
    if (v.empty() || v.size() > 3) return false;
    // Each part at most once, in any order; what is left out is reset.
    std::optional<double> width;
    std::optional<LineStyle> style;
    std::optional<std::optional<Rgba>> color;
    for (const Component& c : v) {
        if (auto w = BorderWidthOf(c, b.base); w && !width) {
            width = w;
        } else if (auto s = MatchKeyword(c, kLineStyles); s && !style) {
            style = s;
        } else if (auto col = BorderColorOf(c); col && !color) {
            color = col;
        } else {
            return false;
        }
    }
    const css::BorderSideStyle value{width.value_or(3.0), style.value_or(LineStyle::None),
                                     color.value_or(std::nullopt)};
    for (int s = 0; s < 4; ++s) {
        if (side < 0 || side == s) b.style.border[s] = value;
    }
    return true;
}

bool BorderWidth(StyleBuilder& b, const Values& v) {
    const auto sides =
        FourSides<double>(v, [&b](const Component& c) { return BorderWidthOf(c, b.base); });
    if (!sides) return false;
    for (int s = 0; s < 4; ++s) b.style.border[s].width = (*sides)[s];
    return true;
}

bool BorderStyle(StyleBuilder& b, const Values& v) {
    const auto sides =
        FourSides<LineStyle>(v, [](const Component& c) { return MatchKeyword(c, kLineStyles); });
    if (!sides) return false;
    for (int s = 0; s < 4; ++s) b.style.border[s].style = (*sides)[s];
    return true;
}

bool BorderColor(StyleBuilder& b, const Values& v) {
    const auto sides = FourSides<std::optional<Rgba>>(v, BorderColorOf);
    if (!sides) return false;
    for (int s = 0; s < 4; ++s) b.style.border[s].color = (*sides)[s];
    return true;
}

bool BorderSideWidth(StyleBuilder& b, const Values& v, int side) {
    if (!IsSingle(v)) return false;
    const auto w = BorderWidthOf(v[0], b.base);
    if (!w) return false;
    b.style.border[side].width = *w;
    return true;
}

bool BorderSideStyle(StyleBuilder& b, const Values& v, int side) {
    return SetKeyword(v, kLineStyles, b.style.border[side].style);
}

bool BorderSideColor(StyleBuilder& b, const Values& v, int side) {
    if (!IsSingle(v)) return false;
    const auto col = BorderColorOf(v[0]);
    if (!col) return false;
    b.style.border[side].color = *col;
    return true;
}

bool BorderCollapse(StyleBuilder& b, const Values& v) {
    if (!IsSingle(v)) return false;
    if (v[0].IsIdent("collapse")) {
        b.style.border_collapse = true;
    } else if (v[0].IsIdent("separate")) {
        b.style.border_collapse = false;
    } else {
        return false;
    }
    return true;
}

bool BorderSpacing(StyleBuilder& b, const Values& v) {
    // One length for both directions or two (horizontal, vertical); the horizontal is kept.
    if (v.empty() || v.size() > 2) return false;
    std::optional<SpecifiedLength> first;
    for (const Component& c : v) {
        const auto len = ParseLength(c, {.percent = false, .negative = false});
        if (!len) return false;
        if (!first) first = len;
    }
    b.style.border_spacing = ToPixels(*first, b.base);
    return true;
}

bool Display(StyleBuilder& b, const Values& v) {
    return SetKeyword(v, kDisplay, b.style.display);
}

bool Float(StyleBuilder& b, const Values& v) {
    return SetKeyword(v, kFloat, b.style.float_side);
}

bool Clear(StyleBuilder& b, const Values& v) {
    return SetKeyword(v, kClear, b.style.clear);
}

bool PageBreakBefore(StyleBuilder& b, const Values& v) {
    return SetKeyword(v, kPageBreak, b.style.break_before);
}

bool PageBreakAfter(StyleBuilder& b, const Values& v) {
    return SetKeyword(v, kPageBreak, b.style.break_after);
}

bool PageBreakInside(StyleBuilder& b, const Values& v) {
    return SetKeyword(v, kPageBreakInside, b.style.break_inside);
}

bool BreakBefore(StyleBuilder& b, const Values& v) {
    return SetKeyword(v, kBreak, b.style.break_before);
}

bool BreakAfter(StyleBuilder& b, const Values& v) {
    return SetKeyword(v, kBreak, b.style.break_after);
}

bool BreakInside(StyleBuilder& b, const Values& v) {
    return SetKeyword(v, kBreakInside, b.style.break_inside);
}

}  // namespace props
}  // namespace quillon::css
