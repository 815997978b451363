#pragma once
// The compiled form of an expression: a compact postfix program that evaluates the
// expression with exactly the results, callback calls and error codes of reading the
// text, in the same order. Compile once, run many times.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "calc/calc_callback.h"

namespace quillon {

// Deepest nesting of parentheses, function arguments, assignments and prefix operators;
// deeper text is a syntax error (the compiler is recursive).
inline constexpr int kCalcMaxNesting = 256;

class CalcProgram {
  public:
    enum class Op : std::uint8_t {
        Const,        // push value
        GetVar,       // push the variable names[arg] (asks the callback)
        Load,         // push *ptr (a bound variable)
        SetVar,       // assign the top to names[arg] (the top stays)
        Call,         // replace the top by the function names[arg] of it
        Pop,          // drop the top
        SyntaxError,  // record error 1
        Fault,        // raise the arithmetic fault arg (a literal beyond the double range)
        Neg,
        Inv,
        Not,
        Pow,
        Mul,
        Div,
        Mod,
        Per,
        Add,
        Sub,
        Lt,
        Le,
        Eq,
        Ne,
        Ge,
        Gt,
        Or,
        Xor,
        And,
        // The four arithmetic operators with their right operand in the instruction:
        // the constant value, or the bound variable *ptr.
        AddConst,
        SubConst,
        MulConst,
        DivConst,
        AddLoad,
        SubLoad,
        MulLoad,
        DivLoad,
    };
    struct Instr {
        Op op;
        std::uint32_t arg;
        double value;
        const double* ptr;
    };

    // Compiles text (up to its first NUL character). Never fails: syntax errors become
    // instructions that record them when the program runs.
    static CalcProgram Compile(std::string_view text);

    // True when the text held no token at all: running leaves the value unchanged.
    bool Empty() const { return empty_; }

    // The lower-cased names the program hands to the callback, each once.
    const std::vector<std::string>& Names() const { return names_; }

    // A copy that reads variables straight from the host's storage, for running the same
    // expression many times with changing values: resolve(name) gives the address of the
    // variable name, or nullptr to leave the name to the callback. The storage must
    // outlive the copy. Results are those of a callback that answers the name with the
    // stored value.
    template <typename Resolve>
    CalcProgram Bind(Resolve&& resolve) const {
        std::vector<const double*> bound(names_.size(), nullptr);
        for (std::size_t i = 0; i < names_.size(); ++i) bound[i] = resolve(names_[i]);
        return BindSlots(bound);
    }

    // Evaluates the program into value and returns the code of its last error (0 when
    // none). proc answers names (DefCalcProc when empty); on_error, when set, is told of
    // each error as it happens. Arithmetic faults raise ECalcArithmetic, as do non-finite
    // values of variables and functions.
    int Run(double& value, const TCalcProc& proc, const CalcErrorHandler& on_error = {}) const;

    const std::vector<Instr>& Code() const { return code_; }

  private:
    friend class CalcCompiler;

    CalcProgram BindSlots(const std::vector<const double*>& bound) const;

    std::vector<Instr> code_;
    std::vector<std::string> names_;
    std::size_t max_stack_ = 0;
    bool empty_ = false;
};

}  // namespace quillon
