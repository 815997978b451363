#include "html/parse/html_color.h"

#include <array>
#include <string>

namespace quillon {

namespace {

struct NamedColor {
    std::string_view name;
    std::uint32_t rgb;  // 0xRRGGBB as written in documents
};

constexpr std::array<NamedColor, 16> kColorNames = {{
    {"BLACK", 0x000000},
    {"MAROON", 0x800000},
    {"GREEN", 0x008000},
    {"OLIVE", 0x808000},
    {"NAVY", 0x000080},
    {"PURPLE", 0x800080},
    {"TEAL", 0x008080},
    {"GRAY", 0x808080},
    {"SILVER", 0xC0C0C0},
    {"RED", 0xFF0000},
    {"LIME", 0x00FF00},
    {"YELLOW", 0xFFFF00},
    {"BLUE", 0x0000FF},
    {"FUCHSIA", 0xFF00FF},
    {"AQUA", 0x00FFFF},
    {"WHITE", 0xFFFFFF},
}};

TColor RgbToWindows(std::uint32_t rgb) {
    return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}

int HexDigit(char32_t c) {
    if (c >= '0' && c <= '9') return static_cast<int>(c - '0');
    if (c >= 'A' && c <= 'F') return static_cast<int>(c - 'A' + 10);
    if (c >= 'a' && c <= 'f') return static_cast<int>(c - 'a' + 10);
    return -1;
}

}  // namespace

std::optional<TColor> GetColor(std::u32string_view value) {
    if (value.empty()) return std::nullopt;
    // Names are compared on the upper-cased value cut to 10 characters.
    std::string upper;
    for (char32_t c : value.substr(0, 10)) {
        if (c >= 'a' && c <= 'z') c -= 32;
        upper.push_back(c < 128 ? static_cast<char>(c) : '?');
    }
    for (const auto& nc : kColorNames) {
        if (upper == nc.name) return RgbToWindows(nc.rgb);
    }
    // Otherwise a hexadecimal number, with the first '#' removed wherever it stands.
    std::u32string hex(value);
    if (auto p = hex.find(U'#'); p != std::u32string::npos) hex.erase(p, 1);
    if (hex.empty() || hex.size() > 8) return std::nullopt;
    std::uint32_t v = 0;
    for (char32_t c : hex) {
        const int d = HexDigit(c);
        if (d < 0) return std::nullopt;
        v = (v << 4) | static_cast<std::uint32_t>(d);
    }
    return RgbToWindows(v & 0xFFFFFF);
}

}  // namespace quillon
