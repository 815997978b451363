#include "calc/calc_errors.h"

namespace quillon {

std::string FunctionErrorText(std::string_view name) {
    std::string text(SFunctionError);
    text += " \"";
    text += name;
    text += "\".";
    return text;
}

ECalcArithmetic::ECalcArithmetic(Kind kind) : ECalculate(MessageOf(kind)), kind_(kind) {}

const char* ECalcArithmetic::MessageOf(Kind kind) {
    switch (kind) {
        case Kind::DivisionByZero:
            return "Division by zero.";
        case Kind::Overflow:
            return "Floating point overflow.";
        case Kind::IntegerRange:
            return "Integer overflow.";
        case Kind::InvalidOperation:
            break;
    }
    return "Invalid floating point operation.";
}

}  // namespace quillon
