// Runs a compiled expression on a small value stack.

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "calc/calc_errors.h"
#include "calc/calc_math.h"
#include "calc/calc_program.h"
#include "calc/def_calc_proc.h"

namespace quillon {

namespace {

using Op = CalcProgram::Op;

[[noreturn]] void Fault(ECalcArithmetic::Kind kind) {
    throw ECalcArithmetic(kind);
}

double Remainder(double left, double right) {
    const std::int64_t a = TruncToInt64(left);
    const std::int64_t b = TruncToInt64(right);
    if (b == 0) Fault(ECalcArithmetic::Kind::DivisionByZero);
    // The quotient of INT64_MIN / -1 does not fit: the machine would trap.
    if (a == std::numeric_limits<std::int64_t>::min() && b == -1)
        Fault(ECalcArithmetic::Kind::IntegerRange);
    return static_cast<double>(a % b);
}

double Bits(Op op, double left, double right) {
    const std::int64_t a = TruncToInt64(left);
    const std::int64_t b = TruncToInt64(right);
    switch (op) {
        case Op::Or:
            return static_cast<double>(a | b);
        case Op::Xor:
            return static_cast<double>(a ^ b);
        default:
            return static_cast<double>(a & b);
    }
}

double Finite(double value) {
    if (!std::isfinite(value)) Fault(ECalcArithmetic::Kind::InvalidOperation);
    return value;
}

}  // namespace

double ApplyCalcOp(Op op, double left, double right) {
    switch (op) {
        case Op::Neg:
            return -left;
        case Op::Inv:
            return static_cast<double>(~TruncToInt64(left));
        case Op::Not:
            return TruncToInt64(left) == 0 ? 1.0 : 0.0;
        case Op::Pow:
            return power(left, right);
        case Op::Mul:
            return CheckedResult(left * right);
        case Op::Div:
            if (right == 0) Fault(ECalcArithmetic::Kind::DivisionByZero);
            return CheckedResult(left / right);
        case Op::Mod:
            return Remainder(left, right);
        case Op::Per:
            return CheckedResult(left * right / 100.0);
        case Op::Add:
            return CheckedResult(left + right);
        case Op::Sub:
            return CheckedResult(left - right);
        case Op::Lt:
            return left < right ? 1.0 : 0.0;
        case Op::Le:
            return left <= right ? 1.0 : 0.0;
        case Op::Eq:
            return left == right ? 1.0 : 0.0;
        case Op::Ne:
            return left != right ? 1.0 : 0.0;
        case Op::Ge:
            return left >= right ? 1.0 : 0.0;
        case Op::Gt:
            return left > right ? 1.0 : 0.0;
        case Op::Or:
        case Op::Xor:
        case Op::And:
            return Bits(op, left, right);
        default:
            return left;
    }
}

int CalcProgram::Run(double& value, const TCalcProc& proc, const CalcErrorHandler& on_error,
                     std::span<const double* const> bound) const {
    if (empty_) return kCalcNoError;
    constexpr std::size_t kSmallStack = 32;
    std::array<double, kSmallStack> small;
    std::vector<double> large;
    double* stack = small.data();
    if (max_stack_ > kSmallStack) {
        large.resize(max_stack_);
        stack = large.data();
    }
    const bool use_bound = bound.size() == names_.size();
    const TCalcProc default_proc = proc ? TCalcProc() : TCalcProc(DefCalcProc);
    const TCalcProc& answer = proc ? proc : default_proc;
    int error = kCalcNoError;
    auto record = [&](int code, const std::string& message) {
        error = code;
        if (on_error) on_error(code, message);
    };

    double* top = stack;  // the next free entry; top[-1] is the top value
    for (const Instr& in : code_) {
        switch (in.op) {
            case Op::Const:
                *top++ = in.value;
                break;
            case Op::GetVar: {
                double v = 0;
                if (use_bound && bound[in.arg] != nullptr) {
                    v = *bound[in.arg];
                } else if (!answer(ctGetValue, names_[in.arg], v)) {
                    v = 0;
                    record(kCalcFunctionError, FunctionErrorText(names_[in.arg]));
                }
                *top++ = Finite(v);
                break;
            }
            case Op::SetVar: {
                double v = top[-1];
                if (!answer(ctSetValue, names_[in.arg], v))
                    record(kCalcFunctionError, FunctionErrorText(names_[in.arg]));
                break;
            }
            case Op::Call:
                if (!answer(ctFunction, names_[in.arg], top[-1]))
                    record(kCalcFunctionError, FunctionErrorText(names_[in.arg]));
                Finite(top[-1]);
                break;
            case Op::Pop:
                --top;
                break;
            case Op::SyntaxError:
                record(kCalcSyntaxError, std::string(SSyntaxError));
                break;
            case Op::Fault:
                Fault(static_cast<ECalcArithmetic::Kind>(in.arg));
            case Op::Neg:
                top[-1] = -top[-1];
                break;
            case Op::Add:
                --top;
                top[-1] = CheckedResult(top[-1] + top[0]);
                break;
            case Op::Sub:
                --top;
                top[-1] = CheckedResult(top[-1] - top[0]);
                break;
            case Op::Mul:
                --top;
                top[-1] = CheckedResult(top[-1] * top[0]);
                break;
            case Op::Inv:
            case Op::Not:
                top[-1] = ApplyCalcOp(in.op, top[-1], 0);
                break;
            default:
                --top;
                top[-1] = ApplyCalcOp(in.op, top[-1], top[0]);
                break;
        }
    }
    value = top[-1];
    return error;
}

}  // namespace quillon
