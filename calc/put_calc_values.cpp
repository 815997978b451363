#include "calc/put_calc_values.h"

#include <algorithm>
#include <charconv>

#include "calc/calc_errors.h"

namespace quillon {

namespace {

constexpr int kMaxSlots = 250;
constexpr int kMaxDecimals = 255;

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
    return s;
}

}  // namespace

std::string FixedPointText(double value, int width, int decimals) {
    decimals = std::clamp(decimals, 0, kMaxDecimals);
    if (value == 0) value = 0;  // no "-0"
    std::string digits(330 + static_cast<std::size_t>(decimals), '\0');
    const auto result = std::to_chars(digits.data(), digits.data() + digits.size(), value,
                                      std::chars_format::fixed, decimals);
    digits.resize(result.ec == std::errc() ? static_cast<std::size_t>(result.ptr - digits.data())
                                           : 0);
    if (width > 0 && digits.size() < static_cast<std::size_t>(width))
        digits.insert(0, static_cast<std::size_t>(width) - digits.size(), ' ');
    return digits;
}

void PutCalcValues(TCustomRepCalculator& calculator, CalcReportAccess& report, int level,
                   CalcLineFields& fields) {
    calculator.SetReport(&report);
    calculator.SetLevel(level);
    for (int n = 1; n <= kMaxSlots; ++n) {
        const std::string text = fields.Expression(n);
        const std::string_view expression = TrimBlanks(text);
        if (expression == "*") break;
        if (expression.empty()) continue;
        int width = -1;
        int decimals = -1;
        fields.Format(n, width, decimals);
        calculator.SetExpression(expression);
        const double result = calculator.GetResult();
        if (calculator.GetErrorCode() == kCalcNoError) {
            fields.SetText(n, FixedPointText(result, width, decimals));
        } else {
            fields.SetText(n, std::string(static_cast<std::size_t>(std::max(width, 0)), '#'));
        }
    }
}

}  // namespace quillon
