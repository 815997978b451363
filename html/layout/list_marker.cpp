#include "html/layout/list_marker.h"

#include <algorithm>
#include <string_view>

namespace quillon {

namespace {

constexpr std::string_view kRoman[20] = {"i",    "ii",  "iii",  "iv",    "v",   "vi",   "vii",
                                         "viii", "ix",  "x",    "xi",    "xii", "xiii", "xiv",
                                         "xv",   "xvi", "xvii", "xviii", "xix", "xx"};

std::u32string Decimal(int n) {
    std::u32string s;
    const std::string digits = std::to_string(n);
    s.assign(digits.begin(), digits.end());
    return s;
}

}  // namespace

std::u32string ItemNumberText(int number, char32_t style) {
    std::u32string s;
    const bool letters = style == U'a' || style == U'A';
    const bool roman = style == U'i' || style == U'I';
    const bool upper = style == U'A' || style == U'I';
    if (number >= 1 && letters) {
        s.push_back((upper ? U'A' : U'a') + static_cast<char32_t>(std::min(number - 1, 25)));
    } else if (number >= 1 && roman) {
        for (const char c : kRoman[std::min(number, 20) - 1]) {
            s.push_back(upper ? static_cast<char32_t>(c - 'a' + 'A') : static_cast<char32_t>(c));
        }
    } else {
        s = Decimal(number);
    }
    s.push_back(U'.');
    return s;
}

Color BulletColor(int level) {
    static constexpr Color kCycle[3] = {0xFF0000, 0x000080, 0x800000};
    return kCycle[std::max(0, level - 1) % 3];
}

bool LightBackground(Color background) {
    return background == 0xFFFFFF || background == 0xC0C0C0 || background == 0xF0F0F0;
}

}  // namespace quillon
