#include "calc/degree.h"

#include <cmath>
#include <numbers>

#include "calc/calc_errors.h"
#include "calc/calc_math.h"
#include "calc/number_reader.h"

namespace quillon {

namespace {

double DigitsValue(std::string_view digits) {
    return digits.empty() ? 0.0 : DecimalDigitsValue(digits, {}, false, {});
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view TakeDigits(std::string_view s, std::size_t& pos) {
    const std::size_t start = pos;
    while (pos < s.size() && IsDigit(s[pos])) ++pos;
    return s.substr(start, pos - start);
}

// Whole units of value and the remainder, with the same small allowance for values a
// hair below a whole number.
std::int64_t WholeUnits(double value) {
    return TruncToInt64(value + 5e-10);
}

}  // namespace

double DegreeDigitsValue(std::string_view degrees, std::string_view minutes,
                         std::string_view seconds) {
    const double total =
        DigitsValue(degrees) + DigitsValue(minutes) / 60.0 + DigitsValue(seconds) / 3600.0;
    if (!std::isfinite(total)) return total;
    return std::fmod(total, 360.0) * (std::numbers::pi / 180.0);
}

std::string DegreeToStr(double x) {
    if (!std::isfinite(x)) throw ECalcArithmetic(ECalcArithmetic::Kind::InvalidOperation);
    if (std::fabs(x) < 1e-20) x = 0;
    std::string text;
    if (x < 0) {
        text += '-';
        x = -x;
    }
    const double degrees = x * (180.0 / std::numbers::pi);
    const std::int64_t d = WholeUnits(degrees);
    const double minutes = (degrees - static_cast<double>(d)) * 60.0;
    const std::int64_t m = WholeUnits(minutes);
    const double seconds = (minutes - static_cast<double>(m)) * 60.0;
    const std::int64_t s = WholeUnits(seconds);
    text += std::to_string(d);
    text += '`';
    if (m != 0) text += std::to_string(m);
    if (s != 0) {
        text += '`';
        text += std::to_string(s);
    }
    return text;
}

double StrToDegree(std::string_view s) {
    auto invalid = [s]() {
        const std::size_t arg = SInvalidDegree.find("%s");
        std::string message(SInvalidDegree.substr(0, arg));
        message += s;
        message += SInvalidDegree.substr(arg + 2);
        return EConvertError(message);
    };
    std::size_t pos = 0;
    bool negative = false;
    if (pos < s.size() && (s[pos] == '+' || s[pos] == '-')) {
        negative = s[pos] == '-';
        ++pos;
    }
    if (pos >= s.size() || !IsDigit(s[pos])) throw invalid();
    const std::string_view degrees = TakeDigits(s, pos);
    std::string_view minutes;
    std::string_view seconds;
    if (pos < s.size() && s[pos] == '`') {
        ++pos;
        minutes = TakeDigits(s, pos);
        if (pos < s.size() && s[pos] == '`') {
            ++pos;
            seconds = TakeDigits(s, pos);
        }
    }
    if (pos != s.size()) throw invalid();
    const double value = DegreeDigitsValue(degrees, minutes, seconds);
    if (!std::isfinite(value)) throw invalid();
    return negative ? -value : value;
}

}  // namespace quillon
