#include "calc/number_reader.h"

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <system_error>

namespace quillon {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t DigitRun(std::string_view s, std::size_t pos) {
    std::size_t end = pos;
    while (end < s.size() && IsDigit(s[end])) ++end;
    return end - pos;
}

// Exponent digits saturated far beyond any double exponent.
long SaturatedExponent(std::string_view digits) {
    constexpr long kLimit = 100'000'000;
    long value = 0;
    for (char c : digits) {
        value = value * 10 + (c - '0');
        if (value > kLimit) return kLimit;
    }
    return value;
}

// Decimal exponent of the leading nonzero digit of int_digits.frac_digits (without the
// written exponent); 0 when every digit is zero.
long LeadingDigitExponent(std::string_view int_digits, std::string_view frac_digits) {
    std::size_t first = int_digits.find_first_not_of('0');
    if (first != std::string_view::npos) return static_cast<long>(int_digits.size() - first) - 1;
    first = frac_digits.find_first_not_of('0');
    if (first != std::string_view::npos) return -static_cast<long>(first) - 1;
    return 0;
}

}  // namespace

double DecimalDigitsValue(std::string_view int_digits, std::string_view frac_digits,
                          bool exponent_negative, std::string_view exponent_digits) {
    // Up to 15 digits without exponent (the common field value): the digits make an exact
    // integer and the power of ten is exact, so one division rounds correctly.
    if (exponent_digits.empty() && int_digits.size() + frac_digits.size() <= 15) {
        static constexpr double kPowers[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                             1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
        std::uint64_t digits = 0;
        for (const char c : int_digits) digits = digits * 10 + static_cast<unsigned>(c - '0');
        for (const char c : frac_digits) digits = digits * 10 + static_cast<unsigned>(c - '0');
        return static_cast<double>(digits) / kPowers[frac_digits.size()];
    }
    long exponent = SaturatedExponent(exponent_digits);
    if (exponent_negative) exponent = -exponent;
    std::string text;
    text.reserve(int_digits.size() + frac_digits.size() + 16);
    if (int_digits.empty()) text += '0';
    text += int_digits;
    if (!frac_digits.empty()) {
        text += '.';
        text += frac_digits;
    }
    if (exponent != 0) {
        text += 'e';
        text += std::to_string(exponent);
    }
    double value = 0;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec == std::errc::result_out_of_range) {
        if (LeadingDigitExponent(int_digits, frac_digits) + exponent > 0)
            return std::numeric_limits<double>::infinity();
        return 0.0;
    }
    if (ec != std::errc() || ptr != text.data() + text.size()) return 0.0;
    return value;
}

std::optional<double> ReadNumber(std::string_view text) {
    // The common form first: an optional "-", up to 15 digits with an optional fraction.
    {
        static constexpr double kPowers[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                             1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
        const char* p = text.data();
        const char* const end = p + text.size();
        const bool minus = p != end && *p == '-';
        if (minus) ++p;
        // The integer digits, then the fraction digits after a point: one run each.
        std::uint64_t digits = 0;
        const char* const int_start = p;
        while (p != end && static_cast<unsigned char>(*p - '0') < 10) {
            digits = digits * 10 + static_cast<unsigned>(*p++ - '0');
        }
        std::ptrdiff_t count = p - int_start;
        std::ptrdiff_t fraction = 0;
        if (p != end && *p == '.') {
            const char* const frac_start = ++p;
            while (p != end && static_cast<unsigned char>(*p - '0') < 10) {
                digits = digits * 10 + static_cast<unsigned>(*p++ - '0');
            }
            fraction = p - frac_start;
            count += fraction;
        }
        if (p == end && count > 0 && count <= 15) {
            const double value = static_cast<double>(digits) / kPowers[fraction];
            return minus ? -value : value;
        }
    }
    std::size_t pos = 0;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    const std::size_t int_len = DigitRun(text, pos);
    const std::string_view int_digits = text.substr(pos, int_len);
    pos += int_len;
    std::string_view frac_digits;
    if (pos < text.size() && text[pos] == '.') {
        ++pos;
        const std::size_t frac_len = DigitRun(text, pos);
        frac_digits = text.substr(pos, frac_len);
        pos += frac_len;
    }
    if (int_digits.empty() && frac_digits.empty()) return std::nullopt;
    bool exponent_negative = false;
    std::string_view exponent_digits;
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        ++pos;
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
            exponent_negative = text[pos] == '-';
            ++pos;
        }
        const std::size_t exp_len = DigitRun(text, pos);
        if (exp_len == 0) return std::nullopt;
        exponent_digits = text.substr(pos, exp_len);
        pos += exp_len;
    }
    if (pos != text.size()) return std::nullopt;
    const double value =
        DecimalDigitsValue(int_digits, frac_digits, exponent_negative, exponent_digits);
    if (value == std::numeric_limits<double>::infinity()) return std::nullopt;
    return negative ? -value : value;
}

double NumberOrZero(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= ' ') ++begin;
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= ' ') --end;
    return ReadNumber(text.substr(begin, end - begin)).value_or(0.0);
}

}  // namespace quillon
