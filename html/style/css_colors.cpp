#include "html/style/css_colors.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace quillon::css {
namespace {

struct NamedEntry {
    std::string_view name;
    std::uint32_t rgb;
};

// Sorted by name for a binary search.
constexpr NamedEntry kNamed[] = {
    {"aliceblue", 0xf0f8ff},
    {"antiquewhite", 0xfaebd7},
    {"aqua", 0x00ffff},
    {"aquamarine", 0x7fffd4},
    {"azure", 0xf0ffff},
    {"beige", 0xf5f5dc},
    {"bisque", 0xffe4c4},
    {"black", 0x000000},
    {"blanchedalmond", 0xffebcd},
    {"blue", 0x0000ff},
    {"blueviolet", 0x8a2be2},
    {"brown", 0xa52a2a},
    {"burlywood", 0xdeb887},
    {"cadetblue", 0x5f9ea0},
    {"chartreuse", 0x7fff00},
    {"chocolate", 0xd2691e},
    {"coral", 0xff7f50},
    {"cornflowerblue", 0x6495ed},
    {"cornsilk", 0xfff8dc},
    {"crimson", 0xdc143c},
    {"cyan", 0x00ffff},
    {"darkblue", 0x00008b},
    {"darkcyan", 0x008b8b},
    {"darkgoldenrod", 0xb8860b},
    {"darkgray", 0xa9a9a9},
    {"darkgreen", 0x006400},
    {"darkgrey", 0xa9a9a9},
    {"darkkhaki", 0xbdb76b},
    {"darkmagenta", 0x8b008b},
    {"darkolivegreen", 0x556b2f},
    {"darkorange", 0xff8c00},
    {"darkorchid", 0x9932cc},
    {"darkred", 0x8b0000},
    {"darksalmon", 0xe9967a},
    {"darkseagreen", 0x8fbc8f},
    {"darkslateblue", 0x483d8b},
    {"darkslategray", 0x2f4f4f},
    {"darkslategrey", 0x2f4f4f},
    {"darkturquoise", 0x00ced1},
    {"darkviolet", 0x9400d3},
    {"deeppink", 0xff1493},
    {"deepskyblue", 0x00bfff},
    {"dimgray", 0x696969},
    {"dimgrey", 0x696969},
    {"dodgerblue", 0x1e90ff},
    {"firebrick", 0xb22222},
    {"floralwhite", 0xfffaf0},
    {"forestgreen", 0x228b22},
    {"fuchsia", 0xff00ff},
    {"gainsboro", 0xdcdcdc},
    {"ghostwhite", 0xf8f8ff},
    {"gold", 0xffd700},
    {"goldenrod", 0xdaa520},
    {"gray", 0x808080},
    {"green", 0x008000},
    {"greenyellow", 0xadff2f},
    {"grey", 0x808080},
    {"honeydew", 0xf0fff0},
    {"hotpink", 0xff69b4},
    {"indianred", 0xcd5c5c},
    {"indigo", 0x4b0082},
    {"ivory", 0xfffff0},
    {"khaki", 0xf0e68c},
    {"lavender", 0xe6e6fa},
    {"lavenderblush", 0xfff0f5},
    {"lawngreen", 0x7cfc00},
    {"lemonchiffon", 0xfffacd},
    {"lightblue", 0xadd8e6},
    {"lightcoral", 0xf08080},
    {"lightcyan", 0xe0ffff},
    {"lightgoldenrodyellow", 0xfafad2},
    {"lightgray", 0xd3d3d3},
    {"lightgreen", 0x90ee90},
    {"lightgrey", 0xd3d3d3},
    {"lightpink", 0xffb6c1},
    {"lightsalmon", 0xffa07a},
    {"lightseagreen", 0x20b2aa},
    {"lightskyblue", 0x87cefa},
    {"lightslategray", 0x778899},
    {"lightslategrey", 0x778899},
    {"lightsteelblue", 0xb0c4de},
    {"lightyellow", 0xffffe0},
    {"lime", 0x00ff00},
    {"limegreen", 0x32cd32},
    {"linen", 0xfaf0e6},
    {"magenta", 0xff00ff},
    {"maroon", 0x800000},
    {"mediumaquamarine", 0x66cdaa},
    {"mediumblue", 0x0000cd},
    {"mediumorchid", 0xba55d3},
    {"mediumpurple", 0x9370db},
    {"mediumseagreen", 0x3cb371},
    {"mediumslateblue", 0x7b68ee},
    {"mediumspringgreen", 0x00fa9a},
    {"mediumturquoise", 0x48d1cc},
    {"mediumvioletred", 0xc71585},
    {"midnightblue", 0x191970},
    {"mintcream", 0xf5fffa},
    {"mistyrose", 0xffe4e1},
    {"moccasin", 0xffe4b5},
    {"navajowhite", 0xffdead},
    {"navy", 0x000080},
    {"oldlace", 0xfdf5e6},
    {"olive", 0x808000},
    {"olivedrab", 0x6b8e23},
    {"orange", 0xffa500},
    {"orangered", 0xff4500},
    {"orchid", 0xda70d6},
    {"palegoldenrod", 0xeee8aa},
    {"palegreen", 0x98fb98},
    {"paleturquoise", 0xafeeee},
    {"palevioletred", 0xdb7093},
    {"papayawhip", 0xffefd5},
    {"peachpuff", 0xffdab9},
    {"peru", 0xcd853f},
    {"pink", 0xffc0cb},
    {"plum", 0xdda0dd},
    {"powderblue", 0xb0e0e6},
    {"purple", 0x800080},
    {"rebeccapurple", 0x663399},
    {"red", 0xff0000},
    {"rosybrown", 0xbc8f8f},
    {"royalblue", 0x4169e1},
    {"saddlebrown", 0x8b4513},
    {"salmon", 0xfa8072},
    {"sandybrown", 0xf4a460},
    {"seagreen", 0x2e8b57},
    {"seashell", 0xfff5ee},
    {"sienna", 0xa0522d},
    {"silver", 0xc0c0c0},
    {"skyblue", 0x87ceeb},
    {"slateblue", 0x6a5acd},
    {"slategray", 0x708090},
    {"slategrey", 0x708090},
    {"snow", 0xfffafa},
    {"springgreen", 0x00ff7f},
    {"steelblue", 0x4682b4},
    {"tan", 0xd2b48c},
    {"teal", 0x008080},
    {"thistle", 0xd8bfd8},
    {"tomato", 0xff6347},
    {"turquoise", 0x40e0d0},
    {"violet", 0xee82ee},
    {"wheat", 0xf5deb3},
    {"white", 0xffffff},
    {"whitesmoke", 0xf5f5f5},
    {"yellow", 0xffff00},
    {"yellowgreen", 0x9acd32},
};

static_assert(std::is_sorted(std::begin(kNamed), std::end(kNamed),
                             [](const NamedEntry& a, const NamedEntry& b) {
                                 return a.name < b.name;
                             }));

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Compares `name` in any case with `lower`, as strcmp does.
int CompareIgnoreCase(std::string_view name, std::string_view lower) {
    const std::size_t n = std::min(name.size(), lower.size());
    for (std::size_t i = 0; i < n; ++i) {
        const char a = LowerAscii(name[i]);
        if (a != lower[i]) return a < lower[i] ? -1 : 1;
    }
    if (name.size() == lower.size()) return 0;
    return name.size() < lower.size() ? -1 : 1;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// #rgb, #rgba, #rrggbb and #rrggbbaa.
std::optional<Rgba> HexColor(std::string_view digits) {
    const std::size_t n = digits.size();
    if (n != 3 && n != 4 && n != 6 && n != 8) return std::nullopt;
    std::uint32_t channels[4] = {0, 0, 0, 255};
    const bool short_form = n <= 4;
    const std::size_t count = short_form ? n : n / 2;
    for (std::size_t i = 0; i < count; ++i) {
        int value = 0;
        if (short_form) {
            const int d = HexDigit(digits[i]);
            if (d < 0) return std::nullopt;
            value = d * 17;
        } else {
            const int hi = HexDigit(digits[2 * i]);
            const int lo = HexDigit(digits[2 * i + 1]);
            if (hi < 0 || lo < 0) return std::nullopt;
            value = hi * 16 + lo;
        }
        channels[i] = static_cast<std::uint32_t>(value);
    }
    return Rgba{(channels[0] << 16) | (channels[1] << 8) | channels[2],
                static_cast<std::uint8_t>(channels[3])};
}

std::uint32_t Channel(double v) {
    return static_cast<std::uint32_t>(std::lround(std::clamp(v, 0.0, 255.0)));
}

std::uint8_t Alpha(const Token& t) {
    double a = t.Is(TokenType::Percentage) ? t.number / 100 : t.number;
    return static_cast<std::uint8_t>(std::lround(std::clamp(a, 0.0, 1.0) * 255));
}

// The arguments of a colour function: three values and an optional alpha, in the comma
// form "a, b, c[, alpha]" or the space form "a b c[ / alpha]".
struct ColorArgs {
    const Token* v[3] = {nullptr, nullptr, nullptr};
    const Token* alpha = nullptr;
    bool commas = false;
};

std::optional<ColorArgs> SplitArgs(const Component& c) {
    const std::vector<Component> parts = SplitComponents(c.args);
    ColorArgs out;
    out.commas = parts.size() >= 2 && parts[1].Is(TokenType::Comma);
    std::size_t values = 0;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const bool separator_expected = out.commas && i % 2 == 1;
        if (separator_expected) {
            if (!parts[i].Is(TokenType::Comma)) return std::nullopt;
            continue;
        }
        if (!out.commas && values == 3) {
            // Only "/ alpha" may follow the three values.
            if (!parts[i].IsDelim('/') || i + 2 != parts.size()) return std::nullopt;
            out.alpha = parts[i + 1].token;
            break;
        }
        if (values == 3) {
            if (i + 1 != parts.size()) return std::nullopt;
            out.alpha = parts[i].token;
            break;
        }
        out.v[values++] = parts[i].token;
    }
    if (values != 3) return std::nullopt;
    if (out.commas && parts.size() % 2 == 0) return std::nullopt;  // a trailing comma
    if (out.alpha && !out.alpha->Is(TokenType::Number) && !out.alpha->Is(TokenType::Percentage)) {
        return std::nullopt;
    }
    return out;
}

std::optional<Rgba> RgbFunction(const Component& c) {
    const auto args = SplitArgs(c);
    if (!args) return std::nullopt;
    std::uint32_t rgb = 0;
    for (const Token* t : args->v) {
        double v = 0;
        if (t->Is(TokenType::Number)) {
            v = t->number;
        } else if (t->Is(TokenType::Percentage)) {
            v = t->number * 255 / 100;
        } else {
            return std::nullopt;
        }
        // The comma form takes numbers or percentages, not both.
        if (args->commas && t->type != args->v[0]->type) return std::nullopt;
        rgb = (rgb << 8) | Channel(v);
    }
    return Rgba{rgb, args->alpha ? Alpha(*args->alpha) : std::uint8_t{255}};
}

std::optional<double> HueDegrees(const Token& t) {
    if (t.Is(TokenType::Number)) return t.number;
    if (!t.Is(TokenType::Dimension)) return std::nullopt;
    const std::string_view unit = t.value;
    constexpr double kPi = 3.14159265358979323846;
    if (EqualsIgnoreCase(unit, "deg")) return t.number;
    if (EqualsIgnoreCase(unit, "rad")) return t.number * 180 / kPi;
    if (EqualsIgnoreCase(unit, "grad")) return t.number * 0.9;
    if (EqualsIgnoreCase(unit, "turn")) return t.number * 360;
    return std::nullopt;
}

double HueToChannel(double m1, double m2, double h) {
    if (h < 0) h += 1;
    if (h > 1) h -= 1;
    if (h * 6 < 1) return m1 + (m2 - m1) * h * 6;
    if (h * 2 < 1) return m2;
    if (h * 3 < 2) return m1 + (m2 - m1) * (2.0 / 3 - h) * 6;
    return m1;
}

std::optional<Rgba> HslFunction(const Component& c) {
    const auto args = SplitArgs(c);
    if (!args) return std::nullopt;
    const auto hue = HueDegrees(*args->v[0]);
    if (!hue) return std::nullopt;
    double fractions[2] = {0, 0};
    for (int i = 0; i < 2; ++i) {
        const Token& t = *args->v[i + 1];
        // Saturation and lightness are percentages; the space form also takes numbers.
        if (t.Is(TokenType::Percentage) || (!args->commas && t.Is(TokenType::Number))) {
            fractions[i] = std::clamp(t.number / 100, 0.0, 1.0);
        } else {
            return std::nullopt;
        }
    }
    const double h = std::fmod(std::fmod(*hue, 360) + 360, 360) / 360;
    const double s = fractions[0];
    const double l = fractions[1];
    const double m2 = l <= 0.5 ? l * (s + 1) : l + s - l * s;
    const double m1 = l * 2 - m2;
    const std::uint32_t r = Channel(HueToChannel(m1, m2, h + 1.0 / 3) * 255);
    const std::uint32_t g = Channel(HueToChannel(m1, m2, h) * 255);
    const std::uint32_t b = Channel(HueToChannel(m1, m2, h - 1.0 / 3) * 255);
    return Rgba{(r << 16) | (g << 8) | b, args->alpha ? Alpha(*args->alpha) : std::uint8_t{255}};
}

}  // namespace

std::optional<Rgba> NamedColor(std::string_view name) {
    const auto* it = std::lower_bound(
        std::begin(kNamed), std::end(kNamed), name,
        [](const NamedEntry& e, std::string_view n) { return CompareIgnoreCase(n, e.name) > 0; });
    if (it == std::end(kNamed) || CompareIgnoreCase(name, it->name) != 0) return std::nullopt;
    return Rgba{it->rgb, 255};
}

std::optional<CssColor> ParseColor(const Component& c) {
    const Token& t = *c.token;
    std::optional<Rgba> rgba;
    if (t.Is(TokenType::Ident)) {
        if (EqualsIgnoreCase(t.value, "currentcolor")) return CssColor{{}, true};
        if (EqualsIgnoreCase(t.value, "transparent")) return CssColor{{0, 0}, false};
        rgba = NamedColor(t.value);
    } else if (t.Is(TokenType::Hash)) {
        rgba = HexColor(t.value);
    } else if (c.IsFunction("rgb") || c.IsFunction("rgba")) {
        rgba = RgbFunction(c);
    } else if (c.IsFunction("hsl") || c.IsFunction("hsla")) {
        rgba = HslFunction(c);
    }
    if (!rgba) return std::nullopt;
    return CssColor{*rgba, false};
}

}  // namespace quillon::css
