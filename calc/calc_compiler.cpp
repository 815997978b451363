// Compiles an expression into a CalcProgram by recursive descent, lowest precedence
// first:
//   Program    = Expression { ";" Expression } EOF        (the value of the last one)
//   Expression = Relation { ("|" | "^" | "&") Relation }
//   Relation   = Sum { ("<" | "<=" | "==" | "<>" | ">=" | ">") Sum }
//   Sum        = Term { ("+" | "-") Term }
//   Term       = Unary { ("*" | "/" | "%" | "%%") Unary }
//   Unary      = ("~" | "!" | "+" | "-") Unary | Power
//   Power      = Primary [ "**" Primary ]
//   Primary    = "(" Expression ")" | number | ident "(" Expression ")"
//              | ident "=" Expression | ident
// An error does not stop the compilation: it is recorded at its place in the program and
// the parser goes on with the token at hand (a failed Primary counts as 0).

#include <cmath>
#include <string>
#include <unordered_map>

#include "calc/calc_errors.h"
#include "calc/calc_program.h"
#include "calc/calc_scanner.h"

namespace quillon {

namespace {

using Op = CalcProgram::Op;

std::string LowerAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

bool IsUnaryOp(Op op) {
    return op == Op::Neg || op == Op::Inv || op == Op::Not;
}

// The form of an arithmetic operator whose right operand is a constant in the
// instruction; op itself for other operators.
Op WithConstOperand(Op op) {
    switch (op) {
        case Op::Add:
            return Op::AddConst;
        case Op::Sub:
            return Op::SubConst;
        case Op::Mul:
            return Op::MulConst;
        case Op::Div:
            return Op::DivConst;
        default:
            return op;
    }
}

}  // namespace

// Evaluates an operator on constants; declared in calc_program.cpp's evaluator.
double ApplyCalcOp(Op op, double left, double right);

class CalcCompiler {
  public:
    CalcCompiler(std::string_view text, CalcProgram& program) : scanner_(text), out_(program) {}

    void Program() {
        if (scanner_.Next() == tkEOF) {
            out_.empty_ = true;
            return;
        }
        Expression();
        while (scanner_.token() == tkSEMICOLON) {
            scanner_.Next();
            Emit(Op::Pop);
            Expression();
        }
        if (scanner_.token() != tkEOF) Emit(Op::SyntaxError);
    }

  private:
    // Enters one level of nesting; false (with a syntax error and a 0 value) when the
    // text nests too deep.
    bool Enter() {
        if (++depth_ <= kCalcMaxNesting) return true;
        --depth_;
        Emit(Op::SyntaxError);
        EmitConst(0);
        return false;
    }

    void Expression() {
        if (!Enter()) return;
        Relation();
        for (;;) {
            Op op;
            switch (scanner_.token()) {
                case tkOR:
                    op = Op::Or;
                    break;
                case tkXOR:
                    op = Op::Xor;
                    break;
                case tkAND:
                    op = Op::And;
                    break;
                default:
                    --depth_;
                    return;
            }
            scanner_.Next();
            Relation();
            Emit(op);
        }
    }

    void Relation() {
        Sum();
        for (;;) {
            Op op;
            switch (scanner_.token()) {
                case tkLT:
                    op = Op::Lt;
                    break;
                case tkLE:
                    op = Op::Le;
                    break;
                case tkEQ:
                    op = Op::Eq;
                    break;
                case tkNE:
                    op = Op::Ne;
                    break;
                case tkGE:
                    op = Op::Ge;
                    break;
                case tkGT:
                    op = Op::Gt;
                    break;
                default:
                    return;
            }
            scanner_.Next();
            Sum();
            Emit(op);
        }
    }

    void Sum() {
        Term();
        while (scanner_.token() == tkADD || scanner_.token() == tkSUB) {
            const Op op = scanner_.token() == tkADD ? Op::Add : Op::Sub;
            scanner_.Next();
            Term();
            Emit(op);
        }
    }

    void Term() {
        Unary();
        for (;;) {
            Op op;
            switch (scanner_.token()) {
                case tkMUL:
                    op = Op::Mul;
                    break;
                case tkDIV:
                    op = Op::Div;
                    break;
                case tkMOD:
                    op = Op::Mod;
                    break;
                case tkPER:
                    op = Op::Per;
                    break;
                default:
                    return;
            }
            scanner_.Next();
            Unary();
            Emit(op);
        }
    }

    void Unary() {
        const TToken token = scanner_.token();
        if (token != tkINV && token != tkNOT && token != tkADD && token != tkSUB) {
            Power();
            return;
        }
        if (!Enter()) return;
        scanner_.Next();
        Unary();
        if (token == tkINV) Emit(Op::Inv);
        if (token == tkNOT) Emit(Op::Not);
        if (token == tkSUB) Emit(Op::Neg);
        --depth_;
    }

    void Power() {
        Primary();
        if (scanner_.token() == tkPOW) {
            scanner_.Next();
            Primary();
            Emit(Op::Pow);
        }
    }

    void Primary() {
        switch (scanner_.token()) {
            case tkLBRACE:
                scanner_.Next();
                Expression();
                CloseBrace();
                return;
            case tkNUMBER:
                if (std::isfinite(scanner_.number())) {
                    EmitConst(scanner_.number());
                } else {
                    Emit(Op::Fault, static_cast<std::uint32_t>(ECalcArithmetic::Kind::Overflow));
                }
                scanner_.Next();
                return;
            case tkIDENT: {
                const std::uint32_t name = NameIndex(scanner_.ident());
                scanner_.Next();
                if (scanner_.token() == tkLBRACE) {
                    scanner_.Next();
                    Expression();
                    CloseBrace();
                    Emit(Op::Call, name);
                } else if (scanner_.token() == tkASSIGN) {
                    scanner_.Next();
                    Expression();
                    Emit(Op::SetVar, name);
                } else {
                    Emit(Op::GetVar, name);
                }
                return;
            }
            default:
                Emit(Op::SyntaxError);
                EmitConst(0);
                return;
        }
    }

    void CloseBrace() {
        if (scanner_.token() == tkRBRACE) {
            scanner_.Next();
        } else {
            Emit(Op::SyntaxError);
        }
    }

    std::uint32_t NameIndex(std::string_view ident) {
        std::string name = LowerAscii(ident);
        auto [it, added] =
            name_index_.try_emplace(name, static_cast<std::uint32_t>(out_.names_.size()));
        if (added) out_.names_.push_back(std::move(name));
        return it->second;
    }

    void EmitConst(double value) { Emit(Op::Const, 0, value); }

    void Emit(Op op, std::uint32_t arg = 0, double value = 0) {
        if (Fold(op)) return;
        auto& code = out_.code_;
        if (const Op fused = WithConstOperand(op);
            fused != op && !code.empty() && code.back().op == Op::Const) {
            code.back().op = fused;  // the constant becomes the right operand
            --stack_;
            return;
        }
        code.push_back({op, arg, value, nullptr});
        switch (op) {
            case Op::Const:
            case Op::GetVar:
            case Op::Fault:
                ++stack_;
                break;
            case Op::SetVar:
            case Op::Call:
            case Op::SyntaxError:
            case Op::Neg:
            case Op::Inv:
            case Op::Not:
                break;
            default:  // Pop and the two-operand operators
                --stack_;
                break;
        }
        if (stack_ > out_.max_stack_) out_.max_stack_ = stack_;
    }

    // Computes an operator on constant operands at compile time, unless that would fault
    // (the fault must happen when the program runs, in its place).
    bool Fold(Op op) {
        auto& code = out_.code_;
        const std::size_t n = code.size();
        const bool unary = IsUnaryOp(op);
        const bool binary = op >= Op::Pow && op <= Op::And;
        if (!unary && !binary) return false;
        const std::size_t operands = unary ? 1 : 2;
        if (n < operands) return false;
        for (std::size_t i = n - operands; i < n; ++i) {
            if (code[i].op != Op::Const) return false;
        }
        double result;
        try {
            result = unary ? ApplyCalcOp(op, code[n - 1].value, 0)
                           : ApplyCalcOp(op, code[n - 2].value, code[n - 1].value);
        } catch (const ECalcArithmetic&) {
            return false;
        }
        if (binary) {
            code.pop_back();
            --stack_;
        }
        code.back().value = result;
        return true;
    }

    CalcScanner scanner_;
    CalcProgram& out_;
    std::unordered_map<std::string, std::uint32_t> name_index_;
    int depth_ = -1;  // the outermost Expression is level 0
    std::size_t stack_ = 0;
};

CalcProgram CalcProgram::Compile(std::string_view text) {
    CalcProgram program;
    CalcCompiler(text, program).Program();
    return program;
}

}  // namespace quillon
