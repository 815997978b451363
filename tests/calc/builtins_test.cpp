// Built-in constants and functions, power, fmod and the degree notation.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

#include "calc/calc_errors.h"
#include "calc/calc_math.h"
#include "calc/def_calc_proc.h"
#include "calc/degree.h"
#include "tests/calc/calc_test_util.h"

namespace quillon {
namespace {

using test::Error;
using test::Eval;
using test::Value;

TEST(CalcBuiltins, ConstantsAreCaseInsensitive) {
    EXPECT_EQ(Value("pi"), std::numbers::pi);
    EXPECT_EQ(Value("PI"), std::numbers::pi);
    EXPECT_EQ(Value("Pi"), std::numbers::pi);
    EXPECT_EQ(Value("e"), std::numbers::e);
    EXPECT_EQ(Value("E"), std::numbers::e);
    EXPECT_EQ(Error("pie"), kCalcFunctionError);
}

struct FunctionCase {
    const char* text;
    double value;
};

TEST(CalcBuiltins, FunctionsAndTheirEdges) {
    const FunctionCase cases[] = {
        {"round(2.5)", 2},
        {"round(3.5)", 4},
        {"round(-2.5)", -2},
        {"round(-3.5)", -4},
        {"round(2.4999)", 2},
        {"ROUND(0.5)", 0},
        {"round(1.0e300)", 1e300},
        {"trunc(2.9)", 2},
        {"trunc(-2.9)", -2},
        {"trunc(0x7ffffffffffffc00)", 9223372036854774784.0},
        {"int(2.9)", 2},
        {"int(-2.9)", -2},
        {"int(1.0e300)", 1e300},
        {"frac(2.75)", 0.75},
        {"frac(-2.75)", -0.75},
        {"frac(3)", 0},
        {"sign(5)", 1},
        {"sign(-0.1)", -1},
        {"sign(0)", 0},
        {"sgn(3)", 1},
        {"sgn(-3)", 0},
        {"sgn(0)", 0},
        {"xsgn(3)", 3},
        {"xsgn(-3)", 0},
        {"xsgn(0)", 0},
        {"sum(7)", 7},  // no calculator component: the argument stays
    };
    for (const FunctionCase& c : cases) {
        const test::Outcome out = Eval(c.text);
        EXPECT_EQ(out.error, 0) << c.text;
        EXPECT_DOUBLE_EQ(out.value, c.value) << c.text;
    }
}

TEST(CalcBuiltins, UnknownFunctionsAndAssignmentsAreDeclined) {
    EXPECT_EQ(Error("sqrt(4)"), kCalcFunctionError);
    EXPECT_EQ(Value("sqrt(4)"), 4);  // the argument, unchanged by the declining callback
    EXPECT_EQ(Error("x = 4"), kCalcFunctionError);
    EXPECT_EQ(Value("x = 4"), 4);
    EXPECT_EQ(Error("pi = 3"), kCalcFunctionError);
    double value = 0;
    EXPECT_FALSE(DefCalcProc(ctGetValue, "x", value));
    EXPECT_FALSE(DefCalcProc(ctSetValue, "pi", value));
    EXPECT_FALSE(DefCalcProc(ctFunction, "pi", value));
}

TEST(CalcBuiltins, TruncRangeIsChecked) {
    for (const char* text : {"trunc(1.0e19)", "trunc(-1.0e19)", "trunc(0x8000000000000000)"}) {
        EXPECT_THROW(Eval(text), ECalcArithmetic) << text;
    }
    EXPECT_EQ(Value("trunc(-0x8000000000000000)"), -9223372036854775808.0);
}

TEST(CalcPower, Values) {
    EXPECT_EQ(power(5, 3), 125);  // exact, not exp(ln(5) * 3)
    EXPECT_EQ(power(10, 15), 1e15);
    EXPECT_EQ(power(2, -1), 0.5);
    EXPECT_EQ(power(0, 0), 1);
    EXPECT_EQ(power(0, 3), 0);
    EXPECT_EQ(power(-2, 2), 4);
    EXPECT_EQ(power(-2, 3), -8);
    EXPECT_EQ(power(-2, -2), 0.25);
    EXPECT_EQ(power(7, 0), 1);
    EXPECT_EQ(power(4, 0.5), 2);
    EXPECT_EQ(power(10, -400), 0);  // underflow is 0
    EXPECT_EQ(Value("5 ** 3"), 125);
    EXPECT_EQ(Value("(-2) ** 2"), 4);
    EXPECT_EQ(Value("(-2) ** 3"), -8);
}

TEST(CalcPower, Faults) {
    auto kind_of = [](double x, double y) {
        try {
            power(x, y);
        } catch (const ECalcArithmetic& e) {
            return e.kind();
        }
        ADD_FAILURE() << x << " ** " << y << " did not fault";
        return ECalcArithmetic::Kind::Overflow;
    };
    using K = ECalcArithmetic::Kind;
    EXPECT_EQ(kind_of(0, -1), K::DivisionByZero);
    EXPECT_EQ(kind_of(0, -0.5), K::DivisionByZero);
    EXPECT_EQ(kind_of(-2, 0.5), K::InvalidOperation);
    EXPECT_EQ(kind_of(10, 400), K::Overflow);
    EXPECT_EQ(kind_of(-10, 401), K::Overflow);
    EXPECT_EQ(kind_of(std::numeric_limits<double>::quiet_NaN(), 0), K::InvalidOperation);
    EXPECT_EQ(kind_of(std::numeric_limits<double>::infinity(), 1), K::InvalidOperation);
    EXPECT_THROW(Eval("0 ** (-1)"), ECalcArithmetic);
    EXPECT_THROW(Eval("(-8) ** (1/3)"), ECalcArithmetic);
}

TEST(CalcFmod, TruncatingRemainderWithTheSignOfX) {
    EXPECT_EQ(fmod(7, 3), 1);
    EXPECT_EQ(fmod(-7, 3), -1);
    EXPECT_EQ(fmod(7, -3), 1);
    EXPECT_EQ(fmod(7.5, 2), 1.5);
    EXPECT_EQ(fmod(1e300, 3), std::fmod(1e300, 3));  // exact, not 1e300 - Int(...) * 3
    EXPECT_THROW(fmod(1, 0), ECalcArithmetic);
    EXPECT_THROW(fmod(std::numeric_limits<double>::infinity(), 2), ECalcArithmetic);
}

TEST(CalcDegrees, ToText) {
    const double rad = std::numbers::pi / 180;
    EXPECT_EQ(DegreeToStr(45 * rad), "45`");
    EXPECT_EQ(DegreeToStr((45 + 30.0 / 60) * rad), "45`30");
    EXPECT_EQ(DegreeToStr((45 + 15.0 / 3600) * rad), "45``15");
    EXPECT_EQ(DegreeToStr((10 + 20.0 / 60 + 30.0 / 3600) * rad), "10`20`30");
    EXPECT_EQ(DegreeToStr(-std::numbers::pi / 4), "-45`");
    EXPECT_EQ(DegreeToStr(1e-21), "0`");
    EXPECT_EQ(DegreeToStr(0), "0`");
    EXPECT_THROW(DegreeToStr(std::numeric_limits<double>::quiet_NaN()), ECalcArithmetic);
    EXPECT_THROW(DegreeToStr(1e300), ECalcArithmetic);
}

TEST(CalcDegrees, FromText) {
    const double rad = std::numbers::pi / 180;
    EXPECT_DOUBLE_EQ(StrToDegree("90"), std::numbers::pi / 2);
    EXPECT_DOUBLE_EQ(StrToDegree("45`30"), (45 + 30.0 / 60) * rad);
    EXPECT_DOUBLE_EQ(StrToDegree("45``15"), (45 + 15.0 / 3600) * rad);
    EXPECT_DOUBLE_EQ(StrToDegree("-90`"), -std::numbers::pi / 2);
    EXPECT_DOUBLE_EQ(StrToDegree("+90`"), std::numbers::pi / 2);
    EXPECT_EQ(StrToDegree("360`"), 0);
    EXPECT_DOUBLE_EQ(StrToDegree("370"), 10 * rad);
    for (double deg : {0.0, 1.0, 45.5, 179.75, 359.0}) {
        EXPECT_NEAR(StrToDegree(DegreeToStr(deg * rad)), deg * rad, 1e-12) << deg;
    }
}

TEST(CalcDegrees, InvalidText) {
    for (const char* text : {"", "-", "`30", "x", "+-1", " 45", "45.5", "45`30x", "45 "}) {
        try {
            StrToDegree(text);
            ADD_FAILURE() << '"' << text << "\" was accepted";
        } catch (const EConvertError& e) {
            EXPECT_EQ(std::string(e.what()), "Invalid degree " + std::string(text));
        }
    }
}

}  // namespace
}  // namespace quillon
