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

namespace {

const TCalcProc kDefaultProc(DefCalcProc);

double Quotient(double left, double right) {
    if (right == 0) Fault(ECalcArithmetic::Kind::DivisionByZero);
    return CheckedResult(left / right);
}

// The arithmetic operator with the loaded right operand of op (an ...Load form).
Op WithLoadOperand(Op op) {
    switch (op) {
        case Op::Add:
            return Op::AddLoad;
        case Op::Sub:
            return Op::SubLoad;
        case Op::Mul:
            return Op::MulLoad;
        case Op::Div:
            return Op::DivLoad;
        default:
            return op;
    }
}

}  // namespace

CalcProgram CalcProgram::BindSlots(const std::vector<const double*>& slots) const {
    CalcProgram bound;
    bound.names_ = names_;
    bound.max_stack_ = max_stack_;
    bound.empty_ = empty_;
    bound.code_.reserve(code_.size());
    for (std::size_t i = 0; i < code_.size(); ++i) {
        const Instr& in = code_[i];
        const double* ptr = in.op == Op::GetVar ? slots[in.arg] : nullptr;
        if (ptr == nullptr) {
            bound.code_.push_back(in);
            continue;
        }
        // A bound variable followed by an arithmetic operator becomes its right operand.
        const Op next = i + 1 < code_.size() ? code_[i + 1].op : Op::Pop;
        if (const Op fused = WithLoadOperand(next); fused != next) {
            bound.code_.push_back({fused, in.arg, 0, ptr});
            ++i;
        } else {
            bound.code_.push_back({Op::Load, in.arg, 0, ptr});
        }
    }
    return bound;
}

int CalcProgram::Run(double& value, const TCalcProc& proc, const CalcErrorHandler& on_error) const {
    if (empty_) return kCalcNoError;
    constexpr std::size_t kSmallStack = 32;
    std::array<double, kSmallStack> small;
    std::vector<double> large;
    double* stack = small.data();
    if (max_stack_ > kSmallStack) {
        large.resize(max_stack_);
        stack = large.data();
    }
    const TCalcProc& answer = proc ? proc : kDefaultProc;
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
            case Op::Load:
                *top++ = Finite(*in.ptr);
                break;
            case Op::GetVar: {
                double v = 0;
                if (!answer(ctGetValue, names_[in.arg], v)) {
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
            case Op::Div:
                --top;
                top[-1] = Quotient(top[-1], top[0]);
                break;
            case Op::AddConst:
                top[-1] = CheckedResult(top[-1] + in.value);
                break;
            case Op::SubConst:
                top[-1] = CheckedResult(top[-1] - in.value);
                break;
            case Op::MulConst:
                top[-1] = CheckedResult(top[-1] * in.value);
                break;
            case Op::DivConst:
                top[-1] = Quotient(top[-1], in.value);
                break;
            case Op::AddLoad:
                top[-1] = CheckedResult(top[-1] + Finite(*in.ptr));
                break;
            case Op::SubLoad:
                top[-1] = CheckedResult(top[-1] - Finite(*in.ptr));
                break;
            case Op::MulLoad:
                top[-1] = CheckedResult(top[-1] * Finite(*in.ptr));
                break;
            case Op::DivLoad:
                top[-1] = Quotient(top[-1], Finite(*in.ptr));
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
