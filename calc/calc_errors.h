#pragma once
// Error codes, message texts and exceptions of the expression calculator.
//
// Evaluation errors (a syntax error, a name that the host does not know) are recorded as
// error codes and never thrown. Arithmetic faults (division by zero, overflow, a value
// beyond the 64-bit integer range, ...) abort the evaluation with ECalcArithmetic.

#include <stdexcept>
#include <string>
#include <string_view>

namespace quillon {

// Error codes of an evaluation (CalcErrorCode, TCustomRepCalculator::GetErrorCode).
inline constexpr int kCalcNoError = 0;
inline constexpr int kCalcSyntaxError = 1;
inline constexpr int kCalcFunctionError = 2;

// Message texts.
inline constexpr std::string_view SSyntaxError = "Syntax error.";
inline constexpr std::string_view SFunctionError = "Unknown function or variable";
inline constexpr std::string_view SInvalidDegree = "Invalid degree %s";

// SFunctionError followed by a blank, the name in double quotation marks and a full stop.
std::string FunctionErrorText(std::string_view name);

// Raised by the calculator components (TrptCalculator::GetVar for a name not stored).
class ECalculate : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// An arithmetic fault inside an evaluation. It ends the evaluation; the report run
// catches it and reports its message.
class ECalcArithmetic : public ECalculate {
  public:
    enum class Kind {
        DivisionByZero,    // "/" or "%" by zero, zero to a negative power
        Overflow,          // a result beyond the double range
        IntegerRange,      // a value that does not fit a 64-bit integer
        InvalidOperation,  // a negative base with a fractional exponent, a non-finite value
    };
    explicit ECalcArithmetic(Kind kind);
    Kind kind() const { return kind_; }

    static const char* MessageOf(Kind kind);

  private:
    Kind kind_;
};

// A text that is not in the degree notation (StrToDegree).
class EConvertError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace quillon
