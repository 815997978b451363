// Colour, background, font and text properties.

#include <algorithm>
#include <cmath>
#include <string>

#include "html/style/css_colors.h"
#include "html/style/properties_background.h"
#include "html/style/style_builder.h"

namespace quillon::css {
namespace {

bool IsSingle(const Values& v) {
    return v.size() == 1;
}

// The URL of url(...) in either form.
std::optional<std::string> UrlOf(const Component& c) {
    if (c.Is(TokenType::Url)) return c.token->value;
    if (!c.IsFunction("url")) return std::nullopt;
    const Values args = SplitComponents(c.args);
    if (args.size() != 1 || !args[0].Is(TokenType::String)) return std::nullopt;
    return args[0].token->value;
}

bool IsGradient(const Component& c) {
    if (!c.Is(TokenType::Function)) return false;
    const std::string name = AsciiLower(c.token->value);
    return name.ends_with("linear-gradient") || name.ends_with("radial-gradient") ||
           name.ends_with("conic-gradient");
}

// An image layer: its URL, or an empty string for none or a gradient.
std::optional<std::string> ImageOf(const Component& c) {
    if (c.IsIdent("none") || IsGradient(c)) return std::string();
    return UrlOf(c);
}

constexpr Keyword<int> kFontSizes[] = {
    {"xx-small", 9}, {"x-small", 10}, {"small", 13},    {"medium", 16},
    {"large", 18},   {"x-large", 24}, {"xx-large", 32}, {"xxx-large", 48},
};

std::optional<double> FontSizeOf(const Component& c, double parent_size, double root_size) {
    if (auto k = MatchKeyword(c, kFontSizes)) return *k;
    if (c.IsIdent("smaller")) return parent_size / 1.2;
    if (c.IsIdent("larger")) return parent_size * 1.2;
    const auto len = ParseLength(c, {.percent = true, .negative = false});
    if (!len) return std::nullopt;
    if (len->unit == LengthUnit::Percent) return parent_size * len->value / 100;
    return ToPixels(*len, {parent_size, root_size});
}

std::optional<int> FontWeightOf(const Component& c, int parent_weight) {
    if (c.IsIdent("normal")) return 400;
    if (c.IsIdent("bold")) return 700;
    if (c.IsIdent("bolder")) {
        if (parent_weight < 350) return 400;
        if (parent_weight < 550) return 700;
        return 900;
    }
    if (c.IsIdent("lighter")) {
        if (parent_weight < 100) return parent_weight;
        if (parent_weight < 550) return 100;
        if (parent_weight < 750) return 400;
        return 700;
    }
    // Any weight from 1 to 1000 is taken, to the nearest of the nine that fonts have.
    if (c.Is(TokenType::Number) && c.token->number >= 1 && c.token->number <= 1000) {
        const long hundreds = std::lround(c.token->number / 100);
        return static_cast<int>(std::clamp(hundreds, 1L, 9L) * 100);
    }
    return std::nullopt;
}

std::optional<bool> ItalicOf(const Component& c) {
    if (c.IsIdent("normal")) return false;
    if (c.IsIdent("italic") || c.IsIdent("oblique")) return true;
    return std::nullopt;
}

bool IsGenericFamily(const Component& c) {
    static constexpr std::string_view kGeneric[] = {
        "serif",     "sans-serif", "monospace",    "cursive",       "fantasy",
        "system-ui", "ui-serif",   "ui-monospace", "ui-sans-serif",
    };
    for (std::string_view g : kGeneric) {
        if (c.IsIdent(g)) return true;
    }
    return false;
}

// A comma-separated family list from `first` on: quoted names as written, unquoted ones
// with their words joined by single spaces, generic families in lower case.
std::optional<std::vector<std::string>> FamilyList(const Values& v, std::size_t first) {
    std::vector<std::string> out;
    std::string name;
    std::size_t words = 0;
    bool quoted = false;
    auto finish = [&]() {
        if (words == 0 && !quoted) return false;
        out.push_back(std::move(name));
        name.clear();
        words = 0;
        quoted = false;
        return true;
    };
    for (std::size_t i = first; i < v.size(); ++i) {
        const Component& c = v[i];
        if (c.Is(TokenType::Comma)) {
            if (!finish()) return std::nullopt;
        } else if (c.Is(TokenType::String) && words == 0 && !quoted) {
            name = c.token->value;
            quoted = true;
        } else if (c.Is(TokenType::Ident) && !quoted) {
            const bool alone = words == 0 && (i + 1 == v.size() || v[i + 1].Is(TokenType::Comma));
            // The keywords every property takes cannot name a family unless quoted.
            if (alone && (c.IsIdent("inherit") || c.IsIdent("initial") || c.IsIdent("unset") ||
                          c.IsIdent("default"))) {
                return std::nullopt;
            }
            if (alone && IsGenericFamily(c)) {
                name = AsciiLower(c.token->value);
            } else {
                if (words > 0) name += ' ';
                name += c.token->value;
            }
            ++words;
        } else {
            return std::nullopt;
        }
    }
    if (!finish()) return std::nullopt;
    return out;
}

// line-height as written, resolved against the element's font size.
struct LineHeightValue {
    std::optional<double> pixels;  // nothing: normal
    std::optional<double> factor;
};

std::optional<LineHeightValue> LineHeightOf(const Component& c, FontBase base) {
    if (c.IsIdent("normal")) return LineHeightValue{};
    if (c.Is(TokenType::Number)) {
        if (c.token->number < 0) return std::nullopt;
        return LineHeightValue{c.token->number * base.em, c.token->number};
    }
    const auto len = ParseLength(c, {.percent = true, .negative = false});
    if (!len) return std::nullopt;
    if (len->unit == LengthUnit::Percent) return LineHeightValue{base.em * len->value / 100, {}};
    return LineHeightValue{ToPixels(*len, base), {}};
}

void SetLineHeight(StyleBuilder& b, const LineHeightValue& lh) {
    b.style.line_height = lh.pixels;
    b.style.line_height_factor = lh.factor;
}

// The parts of the font shorthand.
struct FontParts {
    bool italic = false;
    int weight = 400;
    double size = 16;
    std::optional<LineHeightValue> line_height;
    std::vector<std::string> family;
};

constexpr std::string_view kFontStretch[] = {
    "ultra-condensed", "extra-condensed", "condensed",      "semi-condensed",
    "semi-expanded",   "expanded",        "extra-expanded", "ultra-expanded",
};

std::optional<FontParts> ParseFont(const Values& v, int parent_weight, double parent_size,
                                   double root_size, FontBase line_base) {
    FontParts parts;
    std::size_t i = 0;
    bool style_set = false, weight_set = false, variant_set = false, stretch_set = false;
    std::optional<double> size;
    for (; i < v.size() && !size; ++i) {
        const Component& c = v[i];
        if (c.IsIdent("normal")) continue;  // stands for any of the four
        if (auto italic = ItalicOf(c); italic && !style_set) {
            parts.italic = *italic;
            style_set = true;
        } else if (auto weight = FontWeightOf(c, parent_weight); weight && !weight_set) {
            parts.weight = *weight;
            weight_set = true;
        } else if (c.IsIdent("small-caps") && !variant_set) {
            variant_set = true;
        } else if (!stretch_set && c.Is(TokenType::Ident) &&
                   std::any_of(std::begin(kFontStretch), std::end(kFontStretch),
                               [&c](std::string_view s) { return c.IsIdent(s); })) {
            stretch_set = true;
        } else if (auto s = FontSizeOf(c, parent_size, root_size)) {
            size = s;
        } else {
            return std::nullopt;
        }
    }
    if (!size) return std::nullopt;
    parts.size = *size;
    if (i < v.size() && v[i].IsDelim('/')) {
        if (i + 1 >= v.size()) return std::nullopt;
        parts.line_height = LineHeightOf(v[i + 1], {line_base.em, line_base.rem});
        if (!parts.line_height) return std::nullopt;
        i += 2;
    }
    auto family = FamilyList(v, i);
    if (!family) return std::nullopt;
    parts.family = std::move(*family);
    return parts;
}

constexpr Keyword<css::TextAlign> kTextAlign[] = {
    {"left", TextAlign::Left},     {"right", TextAlign::Right},
    {"center", TextAlign::Center}, {"justify", TextAlign::Justify},
    {"start", TextAlign::Start},   {"end", TextAlign::Right},  // documents run left to right
};

constexpr Keyword<css::TextTransform> kTextTransform[] = {
    {"none", TextTransform::None},
    {"uppercase", TextTransform::Uppercase},
    {"lowercase", TextTransform::Lowercase},
    {"capitalize", TextTransform::Capitalize},
};

constexpr Keyword<css::VerticalAlign> kVerticalAlign[] = {
    {"baseline", VerticalAlign::Baseline}, {"top", VerticalAlign::Top},
    {"middle", VerticalAlign::Middle},     {"bottom", VerticalAlign::Bottom},
    {"sub", VerticalAlign::Sub},           {"super", VerticalAlign::Super},
    {"text-top", VerticalAlign::Top},      {"text-bottom", VerticalAlign::Bottom},
};

constexpr Keyword<css::WhiteSpace> kWhiteSpace[] = {
    {"normal", WhiteSpace::Normal},    {"nowrap", WhiteSpace::NoWrap},
    {"pre", WhiteSpace::Pre},          {"pre-wrap", WhiteSpace::PreWrap},
    {"pre-line", WhiteSpace::PreLine}, {"break-spaces", WhiteSpace::PreWrap},
};

constexpr Keyword<css::ListStyle> kListStyle[] = {
    {"disc", ListStyle::Disc},
    {"circle", ListStyle::Circle},
    {"square", ListStyle::Square},
    {"decimal", ListStyle::Decimal},
    {"decimal-leading-zero", ListStyle::Decimal},
    {"lower-alpha", ListStyle::LowerAlpha},
    {"lower-latin", ListStyle::LowerAlpha},
    {"upper-alpha", ListStyle::UpperAlpha},
    {"upper-latin", ListStyle::UpperAlpha},
    {"lower-roman", ListStyle::LowerRoman},
    {"upper-roman", ListStyle::UpperRoman},
    {"none", ListStyle::None},
};

constexpr Keyword<std::uint8_t> kDecorationLines[] = {
    {"underline", kUnderline},
    {"overline", kOverline},
    {"line-through", kLineThrough},
    {"blink", 0},
};

constexpr std::string_view kDecorationStyles[] = {"solid", "double", "dotted", "dashed", "wavy"};

// Lines of text-decoration (with its style and colour allowed, and ignored, when
// `shorthand`); nothing when invalid.
std::optional<std::uint8_t> DecorationLines(const Values& v, bool shorthand) {
    if (v.empty()) return std::nullopt;
    std::uint8_t lines = 0;
    bool none = false, any_line = false;
    for (const Component& c : v) {
        if (c.IsIdent("none")) {
            if (none || any_line) return std::nullopt;
            none = true;
        } else if (auto line = MatchKeyword(c, kDecorationLines)) {
            if (none) return std::nullopt;
            lines |= *line;
            any_line = true;
        } else if (shorthand &&
                   (std::any_of(std::begin(kDecorationStyles), std::end(kDecorationStyles),
                                [&c](std::string_view s) { return c.IsIdent(s); }) ||
                    ParseColor(c))) {
            continue;
        } else {
            return std::nullopt;
        }
    }
    if (!none && !any_line && !shorthand) return std::nullopt;
    return lines;
}

template <typename E, std::size_t N>
bool SetKeyword(const Values& v, const Keyword<E> (&table)[N], E& field) {
    if (!IsSingle(v)) return false;
    const auto k = MatchKeyword(v[0], table);
    if (!k) return false;
    field = *k;
    return true;
}

}  // namespace

std::optional<double> FontSizeValue(const Values& v, double parent_size, double root_size) {
    if (!IsSingle(v)) return std::nullopt;
    return FontSizeOf(v[0], parent_size, root_size);
}

std::optional<double> FontShorthandSize(const Values& v, double parent_size, double root_size) {
    const auto parts = ParseFont(v, 400, parent_size, root_size, {parent_size, root_size});
    if (!parts) return std::nullopt;
    return parts->size;
}

namespace props {

bool Color(StyleBuilder& b, const Values& v) {
    if (!IsSingle(v)) return false;
    const auto c = ParseColor(v[0]);
    if (!c) return false;
    // currentColor in color itself is the inherited colour.
    b.style.color = c->current ? b.parent.color : c->rgba;
    return true;
}

bool BackgroundColor(StyleBuilder& b, const Values& v) {
    if (!IsSingle(v)) return false;
    const auto c = ParseColor(v[0]);
    if (!c) return false;
    b.background_is_current = c->current;
    b.style.background_color = c->rgba;
    return true;
}

bool BackgroundImage(StyleBuilder& b, const Values& v) {
    std::optional<std::string> first;
    bool expect_layer = true;
    for (const Component& c : v) {
        if (expect_layer) {
            auto image = ImageOf(c);
            if (!image) return false;
            if (!first) first = std::move(image);
        } else if (!c.Is(TokenType::Comma)) {
            return false;
        }
        expect_layer = !expect_layer;
    }
    if (!first || expect_layer) return false;
    b.style.background_image = std::move(*first);
    return true;
}

bool Background(StyleBuilder& b, const Values& v) {
    static constexpr std::string_view kOther[] = {
        "repeat",     "repeat-x",    "repeat-y",    "no-repeat", "space", "round",   "scroll",
        "fixed",      "local",       "top",         "bottom",    "left",  "right",   "center",
        "border-box", "padding-box", "content-box", "text",      "cover", "contain", "auto",
    };
    if (v.empty()) return false;
    std::optional<CssColor> color;
    std::optional<std::string> image;
    bool color_in_layer = false;
    // The repeat and position of the first layer (the one whose image is used).
    bool first_layer = true;
    BackgroundLayout layout;
    for (std::size_t i = 0; i < v.size(); ++i) {
        const Component& c = v[i];
        if (c.Is(TokenType::Comma)) {
            if (color_in_layer) return false;  // only the last layer has a colour
            first_layer = false;
            continue;
        }
        if (c.IsDelim('/')) {
            // A size after the position: passed over.
            while (i + 1 < v.size() && (ParseLength(v[i + 1]) || v[i + 1].IsIdent("auto") ||
                                        v[i + 1].IsIdent("cover") || v[i + 1].IsIdent("contain"))) {
                ++i;
            }
            continue;
        }
        if (const std::size_t used = ReadBackgroundLayout(v, i, b.base, layout)) {
            if (!first_layer) layout = BackgroundLayout{};
            i += used - 1;
            continue;
        }
        if (auto url = UrlOf(c)) {
            if (!image || image->empty()) image = std::move(url);
        } else if (c.IsIdent("none") || IsGradient(c)) {
            if (!image) image = std::string();
        } else if (auto col = ParseColor(c)) {
            if (color_in_layer) return false;
            color = col;
            color_in_layer = true;
        } else if (c.IsDelim('/') || ParseLength(c) ||
                   std::any_of(std::begin(kOther), std::end(kOther),
                               [&c](std::string_view s) { return c.IsIdent(s); })) {
            continue;
        } else {
            return false;
        }
    }
    // What the shorthand leaves out goes back to its initial value.
    b.background_is_current = color && color->current;
    b.style.background_color = color ? std::optional<Rgba>(color->rgba) : std::nullopt;
    b.style.background_image = image.value_or(std::string());
    b.style.background_repeat = layout.repeat;
    b.style.background_position = layout.position;
    return true;
}

bool FontFamily(StyleBuilder& b, const Values& v) {
    auto family = FamilyList(v, 0);
    if (!family) return false;
    b.style.font_family = std::move(*family);
    return true;
}

bool FontSize(StyleBuilder& b, const Values& v) {
    const auto size = FontSizeValue(v, b.parent.font_size, b.base.rem);
    if (!size) return false;
    b.style.font_size = *size;
    return true;
}

bool FontWeight(StyleBuilder& b, const Values& v) {
    if (!IsSingle(v)) return false;
    const auto w = FontWeightOf(v[0], b.parent.font_weight);
    if (!w) return false;
    b.style.font_weight = *w;
    return true;
}

bool FontStyle(StyleBuilder& b, const Values& v) {
    if (!IsSingle(v)) return false;
    const auto italic = ItalicOf(v[0]);
    if (!italic) return false;
    b.style.italic = *italic;
    return true;
}

bool Font(StyleBuilder& b, const Values& v) {
    auto parts = ParseFont(v, b.parent.font_weight, b.parent.font_size, b.base.rem, b.base);
    if (!parts) return false;
    b.style.italic = parts->italic;
    b.style.font_weight = parts->weight;
    b.style.font_size = parts->size;
    SetLineHeight(b, parts->line_height.value_or(LineHeightValue{}));
    b.style.font_family = std::move(parts->family);
    return true;
}

bool TextDecoration(StyleBuilder& b, const Values& v) {
    const auto lines = DecorationLines(v, /*shorthand=*/true);
    if (!lines) return false;
    b.own_decoration = *lines;
    return true;
}

bool TextDecorationLine(StyleBuilder& b, const Values& v) {
    const auto lines = DecorationLines(v, /*shorthand=*/false);
    if (!lines) return false;
    b.own_decoration = *lines;
    return true;
}

bool TextAlign(StyleBuilder& b, const Values& v) {
    return SetKeyword(v, kTextAlign, b.style.text_align);
}

bool TextIndent(StyleBuilder& b, const Values& v) {
    if (!IsSingle(v)) return false;
    const auto len = ParseLength(v[0]);
    if (!len) return false;
    b.style.text_indent = Resolve(*len, b.base);
    return true;
}

bool TextTransform(StyleBuilder& b, const Values& v) {
    return SetKeyword(v, kTextTransform, b.style.text_transform);
}

bool VerticalAlign(StyleBuilder& b, const Values& v) {
    if (SetKeyword(v, kVerticalAlign, b.style.vertical_align)) return true;
    // A raise by a length or percentage is drawn on the baseline.
    if (!IsSingle(v) || !ParseLength(v[0])) return false;
    b.style.vertical_align = VerticalAlign::Baseline;
    return true;
}

bool LineHeight(StyleBuilder& b, const Values& v) {
    if (!IsSingle(v)) return false;
    const auto lh = LineHeightOf(v[0], b.base);
    if (!lh) return false;
    SetLineHeight(b, *lh);
    return true;
}

bool WhiteSpace(StyleBuilder& b, const Values& v) {
    return SetKeyword(v, kWhiteSpace, b.style.white_space);
}

bool ListStyleType(StyleBuilder& b, const Values& v) {
    return SetKeyword(v, kListStyle, b.style.list_style);
}

bool ListStyle(StyleBuilder& b, const Values& v) {
    if (v.empty()) return false;
    std::optional<css::ListStyle> type;
    int nones = 0;
    bool position = false, image = false;
    for (const Component& c : v) {
        if (c.IsIdent("none")) {
            ++nones;
        } else if (auto t = MatchKeyword(c, kListStyle)) {
            if (type) return false;
            type = t;
        } else if ((c.IsIdent("inside") || c.IsIdent("outside")) && !position) {
            position = true;
        } else if (UrlOf(c) && !image) {
            image = true;
        } else {
            return false;
        }
    }
    // "none" is the type unless both the type and the image are given otherwise.
    if (nones > (type ? 0 : 1) + (image ? 0 : 1)) return false;
    if (!type && nones > 0) type = css::ListStyle::None;
    b.style.list_style = type.value_or(css::ListStyle::Disc);
    return true;
}

bool Visibility(StyleBuilder& b, const Values& v) {
    if (!IsSingle(v)) return false;
    if (v[0].IsIdent("visible")) {
        b.style.visible = true;
    } else if (v[0].IsIdent("hidden") || v[0].IsIdent("collapse")) {
        b.style.visible = false;
    } else {
        return false;
    }
    return true;
}

}  // namespace props
}  // namespace quillon::css
