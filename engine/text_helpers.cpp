#include "engine/text_helpers.h"

#include <algorithm>
#include <charconv>

namespace quillon {

std::string NumToStr(double value, int width, int decimals) {
    decimals = std::clamp(decimals, 0, 340);
    // Room for 309 integer digits, the sign, the point and the decimals.
    std::string text(static_cast<std::size_t>(decimals) + 320, '\0');
    const auto result = std::to_chars(text.data(), text.data() + text.size(), value,
                                      std::chars_format::fixed, decimals);
    text.resize(result.ec == std::errc() ? static_cast<std::size_t>(result.ptr - text.data()) : 0);
    if (width > 0 && text.size() < static_cast<std::size_t>(width)) {
        text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
    }
    return text;
}

std::string Atkarpa(char ch, int n) {
    return n > 0 ? std::string(static_cast<std::size_t>(n), ch) : std::string();
}

void DelChar(std::string& s, char ch) {
    s.erase(std::remove(s.begin(), s.end(), ch), s.end());
}

}  // namespace quillon
