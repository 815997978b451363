#pragma once
// The compiled form of an expression: a compact postfix program that evaluates the
// expression with exactly the results, callback calls and error codes of reading the
// text, in the same order. Compile once, run many times.

#include <cstdint>
#include <span>
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
        GetVar,       // push the variable names[arg]
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
    };
    struct Instr {
        Op op;
        std::uint32_t arg;
        double value;
    };

    // Compiles text (up to its first NUL character). Never fails: syntax errors become
    // instructions that record them when the program runs.
    static CalcProgram Compile(std::string_view text);

    // True when the text held no token at all: running leaves the value unchanged.
    bool Empty() const { return empty_; }

    // The lower-cased names the program hands to the callback, each once.
    const std::vector<std::string>& Names() const { return names_; }

    // Storage for the variables of the program, for running it many times with changing
    // values: entry i is the address to read variable Names()[i] from, or nullptr to ask
    // the callback. resolve gives the address for a name or nullptr.
    template <typename Resolve>
    std::vector<const double*> Bind(Resolve&& resolve) const {
        std::vector<const double*> slots(names_.size(), nullptr);
        for (std::size_t i = 0; i < names_.size(); ++i) slots[i] = resolve(names_[i]);
        return slots;
    }

    // Evaluates the program into value and returns the code of its last error (0 when
    // none). proc answers names (DefCalcProc when empty); on_error, when set, is told of
    // each error as it happens; bound (from Bind, or empty) supplies variables directly.
    // Arithmetic faults raise ECalcArithmetic, as do non-finite values from the callback.
    int Run(double& value, const TCalcProc& proc, const CalcErrorHandler& on_error = {},
            std::span<const double* const> bound = {}) const;

    const std::vector<Instr>& Code() const { return code_; }

  private:
    friend class CalcCompiler;

    std::vector<Instr> code_;
    std::vector<std::string> names_;
    std::size_t max_stack_ = 0;
    bool empty_ = false;
};

}  // namespace quillon
