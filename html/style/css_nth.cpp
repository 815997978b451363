#include "html/style/css_nth.h"

#include <limits>

#include "html/style/css_token.h"

namespace quillon::css {
namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
    return s;
}

// Digits only, at least one; large values are clamped (no index comes near them).
std::optional<int> Digits(std::string_view s) {
    if (s.empty()) return std::nullopt;
    long long v = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return std::nullopt;
        if (v < std::numeric_limits<int>::max()) v = v * 10 + (c - '0');
    }
    return static_cast<int>(v < std::numeric_limits<int>::max() ? v
                                                                : std::numeric_limits<int>::max());
}

// An optional sign followed by digits, nothing between them.
std::optional<int> SignedDigits(std::string_view s) {
    int sign = 1;
    if (!s.empty() && (s[0] == '+' || s[0] == '-')) {
        sign = s[0] == '-' ? -1 : 1;
        s.remove_prefix(1);
    }
    const auto d = Digits(s);
    if (!d) return std::nullopt;
    return sign * *d;
}

}  // namespace

std::optional<std::pair<int, int>> ParseNth(std::string_view text) {
    const std::string lower = AsciiLower(Trim(text));
    std::string_view s = lower;
    if (s == "odd") return std::pair{2, 1};
    if (s == "even") return std::pair{2, 0};
    const std::size_t n = s.find('n');
    if (n == std::string_view::npos) {
        const auto b = SignedDigits(s);
        if (!b) return std::nullopt;
        return std::pair{0, *b};
    }
    int a = 0;
    const std::string_view head = s.substr(0, n);
    if (head.empty() || head == "+") {
        a = 1;
    } else if (head == "-") {
        a = -1;
    } else if (const auto v = SignedDigits(head)) {
        a = *v;
    } else {
        return std::nullopt;
    }
    std::string_view rest = Trim(s.substr(n + 1));
    if (rest.empty()) return std::pair{a, 0};
    if (rest[0] != '+' && rest[0] != '-') return std::nullopt;
    const int sign = rest[0] == '-' ? -1 : 1;
    const auto b = Digits(Trim(rest.substr(1)));
    if (!b) return std::nullopt;
    return std::pair{a, sign * *b};
}

}  // namespace quillon::css
