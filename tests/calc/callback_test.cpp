// The host callback, the error codes and messages, nested evaluations and the compiled
// form with bound variables.

#include <gtest/gtest.h>

#include <limits>
#include <map>
#include <string>
#include <vector>

#include "calc/calc_errors.h"
#include "calc/calc_program.h"
#include "calc/calc_state.h"
#include "calc/def_calc_proc.h"
#include "tests/calc/calc_test_util.h"

namespace quillon {
namespace {

using test::Error;
using test::Eval;
using test::Value;

// A host with variables in a map; it logs every call.
struct Host {
    std::map<std::string, double, std::less<>> vars;
    std::vector<std::string> log;

    TCalcProc Proc() {
        return [this](TCalcCBType kind, std::string_view name, double& value) {
            log.push_back(std::to_string(kind) + ":" + std::string(name) + "=" +
                          std::to_string(static_cast<int>(value)));
            if (DefCalcProc(kind, name, value)) return true;
            if (kind == ctGetValue) {
                auto it = vars.find(name);
                if (it == vars.end()) return false;
                value = it->second;
                return true;
            }
            if (kind == ctSetValue) {
                vars[std::string(name)] = value;
                return true;
            }
            if (name == "double") {
                value *= 2;
                return true;
            }
            return false;
        };
    }
};

TEST(CalcCallback, AssignmentThenReadInOrder) {
    Host host;
    EXPECT_EQ(Value("x = 4 ; x * 2", host.Proc()), 8);
    EXPECT_EQ(host.log, (std::vector<std::string>{"1:x=4", "0:x=0"}));
    // With DefCalcProc alone both are declined; the value read stays 0.
    const test::Outcome out = Eval("x = 4 ; x * 2");
    EXPECT_EQ(out.error, kCalcFunctionError);
    EXPECT_EQ(out.value, 0);
}

TEST(CalcCallback, NamesReachTheCallbackLowerCased) {
    Host host;
    host.vars["amount"] = 3;
    EXPECT_EQ(Value("AMOUNT * Amount", host.Proc()), 9);
    EXPECT_EQ(Value("DOUBLE(Amount)", host.Proc()), 6);
    EXPECT_EQ(host.log.back(), "2:double=3");
    EXPECT_EQ(Value("a = b = 5; a + b", host.Proc()), 10);
}

TEST(CalcCallback, ErrorsAreRecordedInOrderAndTheLastWins) {
    std::vector<std::pair<int, std::string>> errors;
    auto collect = [&](int code, const std::string& message) {
        errors.emplace_back(code, message);
    };
    double value = 0;
    EXPECT_EQ(Evaluate("Foo + )", value, {}, collect), kCalcSyntaxError);
    ASSERT_EQ(errors.size(), 3u);
    EXPECT_EQ(errors[0], std::make_pair(2, std::string("Unknown function or variable \"foo\".")));
    EXPECT_EQ(errors[1], std::make_pair(1, std::string("Syntax error.")));
    EXPECT_EQ(errors[2].first, 1);  // ")" is left over at the end
    errors.clear();
    EXPECT_EQ(Evaluate("nofunc(1", value, {}, collect), kCalcFunctionError);
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_EQ(errors[0].first, 1);
    EXPECT_EQ(errors[1].second, "Unknown function or variable \"nofunc\".");
}

TEST(CalcCallback, CalcErrorCodeStaysUntilAnotherError) {
    SetCalcErrorCode(0);
    double value = 0;
    Calculate("1 +", value);
    EXPECT_EQ(CalcErrorCode(), kCalcSyntaxError);
    Calculate("1 + 1", value);  // records nothing: the code stays
    EXPECT_EQ(CalcErrorCode(), kCalcSyntaxError);
    EXPECT_EQ(value, 2);
    Calculate("nope", value);
    EXPECT_EQ(CalcErrorCode(), kCalcFunctionError);
    SetCalcErrorCode(0);
}

TEST(CalcCallback, ACallbackMayEvaluateAgain) {
    // "inner" is answered by evaluating another expression, which has an error of its
    // own; the outer evaluation's state and code are its own.
    auto proc = [](TCalcCBType kind, std::string_view name, double& value) {
        if (DefCalcProc(kind, name, value)) return true;
        if (kind == ctGetValue && name == "inner") {
            double inner = 0;
            EXPECT_EQ(Evaluate("(2 + 3", inner), kCalcSyntaxError);
            value = inner;
            return true;
        }
        return false;
    };
    SetCalcErrorCode(0);
    const test::Outcome out = Eval("10 * inner + 1", proc);
    EXPECT_EQ(out.value, 51);
    EXPECT_EQ(out.error, 0);
    EXPECT_EQ(CalcErrorCode(), 0);
    // The same text nested in itself: the compiled form is shared, the runs are not.
    int depth = 0;
    TCalcProc self;
    self = [&](TCalcCBType kind, std::string_view name, double& value) {
        if (kind != ctGetValue || name != "r") return false;
        if (++depth < 5) {
            double v = 0;
            Evaluate("r + 1", v, self);
            value = v;
        } else {
            value = 0;
        }
        return true;
    };
    EXPECT_EQ(Value("r + 1", self), 5);
}

TEST(CalcProgramForm, BoundVariablesGiveTheSameResults) {
    const CalcProgram program =
        CalcProgram::Compile("a * b + round(c) - PI * 0 + unknown + c / a - b");
    EXPECT_EQ(program.Names(), (std::vector<std::string>{"a", "b", "round", "c", "pi", "unknown"}));
    double a = 2, b = 3, c = 4.5;
    const CalcProgram bound = program.Bind([&](std::string_view name) -> const double* {
        if (name == "a") return &a;
        if (name == "b") return &b;
        if (name == "c") return &c;
        return nullptr;
    });
    Host host;
    auto unbound = [&](double& value) {
        host.vars = {{"a", a}, {"b", b}, {"c", c}};
        return program.Run(value, host.Proc());
    };
    double value = 0, expected = 0;
    EXPECT_EQ(bound.Run(value, {}), kCalcFunctionError);  // "unknown"
    EXPECT_EQ(unbound(expected), kCalcFunctionError);
    EXPECT_EQ(value, 9.25);
    EXPECT_EQ(value, expected);
    a = 5;
    bound.Run(value, {});
    unbound(expected);
    EXPECT_EQ(value, expected);
    // Faults stay in place: division by a bound zero, a non-finite stored value.
    a = 0;
    EXPECT_THROW(bound.Run(value, {}), ECalcArithmetic);
    a = 1;
    b = std::numeric_limits<double>::infinity();
    try {
        bound.Run(value, {});
        FAIL() << "no fault";
    } catch (const ECalcArithmetic& e) {
        EXPECT_EQ(e.kind(), ECalcArithmetic::Kind::InvalidOperation);
    }
}

TEST(CalcProgramForm, ConstantsAreFoldedWithoutChangingResults) {
    const CalcProgram folded = CalcProgram::Compile("2 * (3 + 4) - -1");
    ASSERT_EQ(folded.Code().size(), 1u);
    EXPECT_EQ(folded.Code()[0].value, 15);
    // A constant right operand is part of its operator's instruction.
    EXPECT_EQ(CalcProgram::Compile("x * 1.19").Code().size(), 2u);
    EXPECT_EQ(CalcProgram::Compile("x / 0").Code().size(), 2u);
    const CalcProgram kept = CalcProgram::Compile("1 / 0");  // faults when it runs
    EXPECT_GT(kept.Code().size(), 1u);
    EXPECT_TRUE(CalcProgram::Compile(" ").Empty());
    EXPECT_FALSE(CalcProgram::Compile(";").Empty());
}

}  // namespace
}  // namespace quillon
