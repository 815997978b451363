// Arithmetic faults: every operation either gives a finite value or raises
// ECalcArithmetic, which is an ECalculate and a std::runtime_error.

#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "calc/calc_errors.h"
#include "calc/def_calc_proc.h"
#include "tests/calc/calc_test_util.h"

namespace quillon {
namespace {

using test::Eval;
using test::Value;
using K = ECalcArithmetic::Kind;

// The fault kind of evaluating text with variable "v" set to v.
K FaultOf(std::string_view text, double v = 0) {
    auto proc = [v](TCalcCBType kind, std::string_view name, double& value) {
        if (DefCalcProc(kind, name, value)) return true;
        if (kind != ctGetValue || name != "v") return false;
        value = v;
        return true;
    };
    try {
        Eval(text, proc);
    } catch (const ECalcArithmetic& e) {
        return e.kind();
    }
    ADD_FAILURE() << text << " did not fault";
    return K::Overflow;
}

TEST(CalcFaults, DivisionByZero) {
    EXPECT_EQ(FaultOf("1 / 0"), K::DivisionByZero);
    EXPECT_EQ(FaultOf("0 / 0"), K::DivisionByZero);
    EXPECT_EQ(FaultOf("1 / v", -0.0), K::DivisionByZero);
    EXPECT_EQ(FaultOf("5 % 0"), K::DivisionByZero);
    EXPECT_EQ(FaultOf("5 % 0.5"), K::DivisionByZero);  // 0.5 truncates to 0
}

TEST(CalcFaults, OverflowOfFiniteOperands) {
    EXPECT_EQ(FaultOf("1.0e308 * 10"), K::Overflow);
    EXPECT_EQ(FaultOf("1.0e308 + 1.0e308"), K::Overflow);
    EXPECT_EQ(FaultOf("-1.0e308 - 1.0e308"), K::Overflow);
    EXPECT_EQ(FaultOf("1.0e308 / 0.1"), K::Overflow);
    EXPECT_EQ(FaultOf("1.0e308 %% 1000"), K::Overflow);
    EXPECT_EQ(FaultOf("10 ** 309"), K::Overflow);
    // An overflow in an inner step is not hidden by a later step.
    EXPECT_EQ(FaultOf("1 / (1.0e308 * 10)"), K::Overflow);
    EXPECT_EQ(FaultOf("(v * v) > 0", 1e200), K::Overflow);
}

TEST(CalcFaults, IntegerConversionsAreRangeChecked) {
    for (const char* text : {"1.0e19 % 3", "3 % 1.0e19", "1.0e19 & 1", "1 | -1.0e19", "1.0e19 ^ 1",
                             "~ 1.0e19", "! 1.0e19", "trunc(1.0e19)", "0x8000000000000000 | 0"}) {
        EXPECT_EQ(FaultOf(text), K::IntegerRange) << text;
    }
    // INT64_MIN % -1: the quotient does not fit.
    EXPECT_EQ(FaultOf("v % (-1)", -9223372036854775808.0), K::IntegerRange);
    EXPECT_EQ(Value("-9 % (-1)"), 0);
    // The edges that fit.
    EXPECT_EQ(Value("~ (-0x8000000000000000)"), 9223372036854775807.0);
    EXPECT_EQ(Value("0x7ffffffffffffc00 & 0x7ffffffffffffc00"), 9223372036854774784.0);
}

TEST(CalcFaults, NonFiniteValuesFromTheHostAreRejected) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(FaultOf("v", inf), K::InvalidOperation);
    EXPECT_EQ(FaultOf("v * 0", nan), K::InvalidOperation);
    EXPECT_EQ(FaultOf("v > 0", -inf), K::InvalidOperation);
    auto bad_function = [](TCalcCBType kind, std::string_view, double& value) {
        if (kind != ctFunction) return false;
        value = std::numeric_limits<double>::quiet_NaN();
        return true;
    };
    EXPECT_THROW(Eval("f(1)", bad_function), ECalcArithmetic);
}

TEST(CalcFaults, FaultIsAnECalculateWithAMessage) {
    try {
        Eval("1 / 0");
        FAIL() << "no fault";
    } catch (const ECalculate& e) {
        EXPECT_STREQ(e.what(), "Division by zero.");
    }
    const std::runtime_error& base = ECalcArithmetic(K::Overflow);
    EXPECT_STREQ(base.what(), "Floating point overflow.");
}

TEST(CalcFaults, FaultsHappenInTheirPlace) {
    // Constants are computed at compile time only when that cannot fault: the callback
    // before the fault still runs.
    int reads = 0;
    auto proc = [&](TCalcCBType kind, std::string_view, double& value) {
        if (kind != ctGetValue) return false;
        ++reads;
        value = 1;
        return true;
    };
    EXPECT_THROW(Eval("a; 1 / 0", proc), ECalcArithmetic);
    EXPECT_EQ(reads, 1);
    // A fault behind an error code still faults.
    EXPECT_THROW(Eval("unknown; 1 / 0"), ECalcArithmetic);
}

}  // namespace
}  // namespace quillon
