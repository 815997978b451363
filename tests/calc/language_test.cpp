// The grammar: precedence, associativity, literal forms and syntax errors.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

#include "calc/calc_errors.h"
#include "calc/calc_state.h"
#include "tests/calc/calc_test_util.h"

namespace quillon {
namespace {

using test::Error;
using test::Eval;
using test::Value;

struct Case {
    const char* text;
    double value;
};

void ExpectAll(std::initializer_list<Case> cases) {
    for (const Case& c : cases) {
        const test::Outcome out = Eval(c.text);
        EXPECT_EQ(out.error, 0) << c.text;
        EXPECT_DOUBLE_EQ(out.value, c.value) << c.text;
    }
}

TEST(CalcLanguage, PrecedenceFromLowestToHighest) {
    ExpectAll({
        {"1 + 2 * 3", 7},
        {"(1 + 2) * 3", 9},
        {"2 ** 10", 1024},
        {"- 2 ** 2", -4},  // unary minus binds looser than "**"
        {"-2 * 3 ** 2", -18},
        {"1 + 2 < 4", 1},  // sum before comparison
        {"1 < 2 + 3", 1},
        {"1 | 2 == 2", 1},     // comparison before bitwise: 1 | (2 == 2)
        {"6 & 3 + 1", 4},      // 6 & 4
        {"2 + 3 %% 50", 3.5},  // percentage is a Term operator
        {"10 - 7 % 4", 7},
        {"! 0 + 1", 2},  // prefix before Term
        {"~ 0 * 2", -2},
        {"- 7 % 3", -1},  // (-7) % 3
        {"3 * - 2", -6},
        {"2 ** 3 * 2", 16},
    });
}

TEST(CalcLanguage, TwoOperandOperatorsAssociateLeft) {
    ExpectAll({
        {"10 - 4 - 3", 3},
        {"64 / 4 / 2", 8},
        {"100 %% 50 %% 50", 25},
        {"17 % 7 % 2", 1},
        {"3 > 2 > 0", 1},    // (3 > 2) > 0
        {"1 < 3 < 2", 1},    // (1 < 3) < 2
        {"12 & 10 | 1", 9},  // (12 & 10) | 1, one level
        {"12 | 1 & 10", 8},  // (12 | 1) & 10
        {"6 ^ 3 ^ 1", 4},
    });
}

TEST(CalcLanguage, OperatorsAndTheirValues) {
    ExpectAll({
        {"7 % 3", 1},    {"50 %% 20", 10}, {"3 > 2", 1},  {"3 <> 3", 0},    {"3 != 3", 0},
        {"3 >< 4", 1},   {"2 <= 2", 1},    {"2 >= 3", 0}, {"2 == 2", 1},    {"2 < 2", 0},
        {"1 | 2", 3},    {"6 & 3", 2},     {"6 ^ 3", 5},  {"~ 0", -1},      {"! 0", 1},
        {"! 5", 0},      {"! 0.5", 1},     {"+ 4", 4},    {"7.9 % 2.5", 1}, {"-7.9 & -1", -7},
        {"1 / 4", 0.25},
    });
}

TEST(CalcLanguage, NumberLiterals) {
    ExpectAll({
        {"0FFh", 255},
        {"0ffH", 255},
        {"12abh", 0x12ab},
        {"0xff", 255},
        {"0XFF", 255},
        {"$ff", 255},
        {"$", 0},
        {"0x", 0},
        {"0b101", 5},
        {"0B11", 3},
        {"0b", 0},
        {"1.5e2", 150},
        {"1.5e-2", 0.015},
        {"1.5E+2", 150},
        {"1.5e0", 1.5},
        {"1.e1", 10},
        {"1.", 1},
        {"0.5", 0.5},
        {"007", 7},
        {"0x7fffffffffffffff", 9223372036854775807.0},
        {"1.7976931348623157e308", 1.7976931348623157e308},
        {"4.9e-324", 4.9e-324},
        {"1.0e-400", 0},
        {"90`", std::numbers::pi / 2},
        {"180`30", std::numbers::pi + std::numbers::pi / 360},
        {"45``15", (45 + 15.0 / 3600) * std::numbers::pi / 180},
        {"45`30`15", (45 + 30.0 / 60 + 15.0 / 3600) * std::numbers::pi / 180},
        {"360`", 0},
        {"450`", std::numbers::pi / 2},
    });
}

TEST(CalcLanguage, MalformedLiteralsAreSyntaxErrors) {
    for (const char* text :
         {"12e3", "1e5", ".5", "0BAh", "0x1g", "$fh", "1.5e", "1.5e+", "2ab", "0b102"}) {
        EXPECT_EQ(Error(text), kCalcSyntaxError) << text;
    }
    // 0BAh is the base-2 number 0 followed by the name Ah.
    EXPECT_EQ(Value("0BAh"), 0);
}

TEST(CalcLanguage, LiteralBeyondTheDoubleRangeIsAnArithmeticFault) {
    EXPECT_THROW(Eval("1.0e309"), ECalcArithmetic);
    EXPECT_THROW(Eval("1.0e99999999999999999999"), ECalcArithmetic);
    EXPECT_THROW(Eval("$" + std::string(300, 'f')), ECalcArithmetic);
    EXPECT_THROW(Eval(std::string(400, '9') + "`"), ECalcArithmetic);
    // A syntax error does not stop the evaluation before the literal.
    EXPECT_THROW(Eval("(1 ; 1.0e309"), ECalcArithmetic);
}

TEST(CalcLanguage, PowerAtMostOnceWithoutParentheses) {
    EXPECT_EQ(Error("2 ** 3 ** 2"), kCalcSyntaxError);
    EXPECT_EQ(Value("2 ** 3 ** 2"), 8);  // what was computed before the error
    EXPECT_EQ(Eval("(2 ** 3) ** 2").value, 64);
    EXPECT_EQ(Eval("2 ** (3 ** 2)").value, 512);
    EXPECT_EQ(Eval("2 ** (- 1)").value, 0.5);
    EXPECT_EQ(Error("2 ** - 1"), kCalcSyntaxError);
}

TEST(CalcLanguage, ProgramOfSeveralExpressions) {
    EXPECT_EQ(Eval("1; 2; 3").value, 3);
    EXPECT_EQ(Error("1;"), kCalcSyntaxError);
    EXPECT_EQ(Error(";"), kCalcSyntaxError);
    EXPECT_EQ(Error("1 2"), kCalcSyntaxError);
    EXPECT_EQ(Error("(1"), kCalcSyntaxError);
    EXPECT_EQ(Value("(1 + 2"), 3);
    EXPECT_EQ(Error("1 )"), kCalcSyntaxError);
    EXPECT_EQ(Error("1 = 2"), kCalcSyntaxError);
    EXPECT_EQ(Error("1 @ 2"), kCalcSyntaxError);
    EXPECT_EQ(Error("1 + "), kCalcSyntaxError);
    EXPECT_EQ(Error("\xc3\xa9"), kCalcSyntaxError);
}

TEST(CalcLanguage, EmptyTextLeavesTheValueAndRecordsNothing) {
    SetCalcErrorCode(0);
    for (const char* text : {"", "   ", "\t\r\n", " \x01 "}) {
        double value = 42;
        EXPECT_EQ(Evaluate(text, value), 0);
        EXPECT_EQ(value, 42);
    }
    EXPECT_EQ(CalcErrorCode(), 0);
}

TEST(CalcLanguage, TextEndsAtItsFirstNul) {
    EXPECT_EQ(Eval(std::string("1 + 2\0 garbage", 14)).value, 3);
    EXPECT_EQ(Error(std::string("1 + 2\0 garbage", 14)), 0);
    double value = 0;
    StrCalculate("6 * 7", value);
    EXPECT_EQ(value, 42);
    value = 5;
    StrCalculate(nullptr, value);
    EXPECT_EQ(value, 5);
}

TEST(CalcLanguage, IdentifiersOfAnyLength) {
    const std::string long_name(100, 'x');
    std::string seen;
    auto proc = [&](TCalcCBType kind, std::string_view name, double& value) {
        if (kind != ctGetValue) return false;
        seen = name;
        value = 3;
        return true;
    };
    EXPECT_EQ(Value(long_name + " * 2", proc), 6);
    EXPECT_EQ(seen, long_name);
    // "_" and "#" only lead a name: TOTAL_SUM is TOTAL followed by _SUM.
    EXPECT_EQ(Error("TOTAL_SUM", proc), kCalcSyntaxError);
    EXPECT_EQ(Value("_a1 + #B2", proc), 6);
}

TEST(CalcLanguage, NestingBeyondTheLimitIsASyntaxError) {
    const int limit = kCalcMaxNesting;
    auto nested = [](int depth) {
        return std::string(static_cast<std::size_t>(depth), '(') + "1" +
               std::string(static_cast<std::size_t>(depth), ')');
    };
    EXPECT_EQ(Eval(nested(limit)).error, 0);
    EXPECT_EQ(Eval(nested(limit)).value, 1);
    EXPECT_EQ(Error(nested(limit + 1)), kCalcSyntaxError);
    EXPECT_EQ(Error(nested(100000)), kCalcSyntaxError);
    EXPECT_EQ(Error(std::string(100000, '-') + "1"), kCalcSyntaxError);
    EXPECT_EQ(Value(std::string(limit, '-') + "1"), 1);
    EXPECT_EQ(Error(std::string(100000, '(')), kCalcSyntaxError);
    std::string calls;
    for (int i = 0; i < 100000; ++i) calls += "int(";
    EXPECT_EQ(Error(calls + "1"), kCalcSyntaxError);
    std::string assignments;
    for (int i = 0; i < 100000; ++i) assignments += "a=";
    EXPECT_EQ(Error(assignments + "1"), kCalcSyntaxError);
}

TEST(CalcLanguage, LongFlatExpressionsAreFine) {
    std::string sum = "1";
    for (int i = 0; i < 100000; ++i) sum += "+1";
    EXPECT_EQ(Eval(sum).value, 100001);
    EXPECT_EQ(Eval(sum).error, 0);
}

}  // namespace
}  // namespace quillon
