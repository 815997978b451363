// TrptCalculator: its variable table, its callback, and its binding to a report through
// CalcReportAccess and PutCalcValues.

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "calc/calc_errors.h"
#include "calc/calc_state.h"
#include "calc/calculate.h"
#include "calc/put_calc_values.h"
#include "calc/rpt_calculator.h"
#include "platform/core/host_services.h"

namespace quillon {
namespace {

// A report with named fields (upper-case names, slot numbers, texts), defined levels and
// running sums per (level, slot) of the detail level.
class FakeReport : public CalcReportAccess {
  public:
    struct Field {
        int slot;
        std::string text;
    };
    std::map<std::string, Field> fields;
    std::set<int> levels;
    std::map<std::pair<int, int>, double> sums;
    std::vector<std::string> sum_reads;

    static std::string Upper(std::string_view s) {
        std::string out(s);
        for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return out;
    }
    std::optional<std::string> FieldText(std::string_view name) override {
        auto it = fields.find(Upper(name));
        if (it == fields.end()) return std::nullopt;
        return it->second.text;
    }
    int FieldSlot(std::string_view name) override {
        auto it = fields.find(Upper(name));
        return it == fields.end() ? 0 : it->second.slot;
    }
    double SumByNumber(int level, int field_level, int n) override {
        sum_reads.push_back(std::to_string(level) + "/" + std::to_string(field_level) + "/" +
                            std::to_string(n));
        auto it = sums.find({level, n});
        return it == sums.end() ? 0 : it->second;
    }
    bool LevelDefined(int level) override { return levels.contains(level); }
};

// The calculated fields of one level: slot -> (expression, width, decimals, text).
class FakeLine : public CalcLineFields {
  public:
    struct Slot {
        std::string expression;
        int width = 0;
        int decimals = 0;
        std::string text;
    };
    std::map<int, Slot> slots;

    std::string Expression(int n) override {
        auto it = slots.find(n);
        return it == slots.end() ? "*" : it->second.expression;
    }
    void Format(int n, int& width, int& decimals) override {
        width = slots.at(n).width;
        decimals = slots.at(n).decimals;
    }
    void SetText(int n, std::string_view text) override { slots.at(n).text = text; }
};

class CalculatorTest : public ::testing::Test {
  protected:
    void SetUp() override {
        report.fields = {{"AMOUNT", {1, " 3 "}},    {"PRICE", {2, "2.50"}}, {"EMPTY", {3, ""}},
                         {"GROUPED", {4, "1,200"}}, {"TOTAL", {5, "7"}},    {"NAME", {6, "abc"}}};
        calc.SetReport(&report);
        calc.SetLevel(kCalcLevelDetail);
    }
    double Result(std::string_view expression) {
        calc.SetExpression(expression);
        return calc.GetResult();
    }

    FakeReport report;
    TrptCalculator calc;
};

TEST_F(CalculatorTest, VariablesAreTheLineFields) {
    EXPECT_EQ(Result("amount * price"), 7.5);
    EXPECT_EQ(calc.GetErrorCode(), 0);
    EXPECT_EQ(Result("AMOUNT + empty"), 3);      // an empty field is 0
    EXPECT_EQ(Result("grouped + 1"), 1);         // "1,200" is not a number: 0
    EXPECT_EQ(Result("name + nosuchfield"), 0);  // no error: unknown fields read 0
    EXPECT_EQ(calc.GetErrorCode(), 0);
    EXPECT_EQ(Result("#price * 10 + #nosuch"), 20);  // slot numbers
    EXPECT_EQ(Result("x = 5; x"), 0);                // assignments are accepted and kept nowhere
    EXPECT_EQ(Result("sqrt(4)"), 4);
    EXPECT_EQ(calc.GetErrorCode(), kCalcFunctionError);
    EXPECT_EQ(Result("1 +"), 1);
    EXPECT_EQ(calc.GetErrorCode(), kCalcSyntaxError);
    EXPECT_EQ(Result("pi * 0 + round(2.5)"), 2);
    EXPECT_EQ(calc.GetErrorCode(), 0);  // reset by each GetResult
}

TEST_F(CalculatorTest, WithoutAReportEveryFieldIsZero) {
    TrptCalculator lone;
    lone.SetExpression("amount + 1 + sum(#amount)");
    EXPECT_EQ(lone.GetResult(), 1);
    EXPECT_EQ(lone.GetErrorCode(), 0);
}

TEST_F(CalculatorTest, SumsAtSumAndDetailLevels) {
    report.levels = {kCalcLevelSum01 + 1, kCalcLevelFooter, kCalcLevelSum01 + 3};
    report.sums[{kCalcLevelSum01 + 3, 5}] = 100;
    report.sums[{kCalcLevelSum01 + 1, 5}] = 40;
    report.sums[{kCalcLevelEnd, 5}] = 900;
    // A sum line reads the sums kept for its own level.
    calc.SetLevel(kCalcLevelSum01 + 3);
    EXPECT_EQ(Result("sum(#TOTAL)"), 100);
    EXPECT_EQ(report.sum_reads.back(), "7/3/5");
    calc.SetLevel(kCalcLevelEnd);
    EXPECT_EQ(Result("sum(#total) / 3"), 300);
    // A detail line reads the innermost sum level the format defines.
    calc.SetLevel(kCalcLevelDetail);
    EXPECT_EQ(Result("sum(#total)"), 40);
    EXPECT_EQ(report.sum_reads.back(), "5/3/5");
    // Without sum levels: the report end (the page footer is not a sum level).
    report.levels = {kCalcLevelFooter};
    calc.SetLevel(0);
    EXPECT_EQ(Result("sum(#total)"), 900);
    EXPECT_EQ(Result("sum(0)") + Result("sum(-3)"), 0);  // no field 0 or below
    EXPECT_EQ(Result("sum(4.6)"), 900);                  // rounded to field 5
}

TEST_F(CalculatorTest, CheckNamesLimitTheVariablesAndShowErrors) {
    std::vector<std::string> shown;
    HeadlessHost host([&](const HeadlessHost::Message& m) {
        shown.push_back(m.text);
        return static_cast<int>(mrOk);
    });
    calc.SetHost(&host);
    calc.SetCheckNames("*AMOUNT*");
    EXPECT_EQ(Result("amount * 2"), 6);
    EXPECT_EQ(calc.GetErrorCode(), 0);
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(Result("price * 2"), 0);
    EXPECT_EQ(calc.GetErrorCode(), kCalcFunctionError);
    EXPECT_EQ(shown, (std::vector<std::string>{"Unknown function or variable \"price\"."}));
    EXPECT_EQ(Result("#amount + pi * 0"), 1);  // "#NAME" passes with NAME
    EXPECT_EQ(calc.GetErrorCode(), 0);
    calc.SetCheckNames("AMOUNT*PRICE*");  // only names between two asterisks count
    EXPECT_EQ(Result("amount"), 0);
    EXPECT_EQ(Result("price"), 2.5);
    calc.SetCheckNames("");
    shown.clear();
    EXPECT_EQ(Result("1 +"), 1);
    EXPECT_TRUE(shown.empty());  // no message box at run time
}

TEST(RptCalculatorVars, Table) {
    TrptCalculator calc;
    calc.SetVar("Rate", 1.5);
    calc.SetVar("rate", 2);
    calc.SetVar("Rate", 3);
    EXPECT_EQ(calc.VarCount(), 2u);
    EXPECT_EQ(calc.GetVar("Rate"), 3);
    EXPECT_EQ(calc.GetVar("rate"), 2);
    EXPECT_EQ(calc.NameOf(0), "Rate");
    EXPECT_EQ(calc.NameOf(1), "rate");
    EXPECT_EQ(calc.NameOf(2), "");
    EXPECT_EQ(calc.NameOf(65535), "");
    try {
        calc.GetVar("RATE");
        FAIL() << "no exception";
    } catch (const ECalculate& e) {
        EXPECT_STREQ(e.what(), "Unknown function or variable \"RATE\".");
    }
    calc.ClearVars();
    EXPECT_EQ(calc.VarCount(), 0u);
    EXPECT_THROW(calc.GetVar("Rate"), ECalculate);
    const std::string long_name(300, 'v');
    calc.SetVar(long_name, 1);
    EXPECT_EQ(calc.NameOf(0), long_name);
}

TEST_F(CalculatorTest, PutCalcValuesFillsTheCalculatedSlots) {
    FakeLine line;
    line.slots[1] = {"", 5, 0, "keep"};  // no expression: left alone
    line.slots[2] = {" amount * price ", 8, 2, ""};
    line.slots[3] = {"amount +", 8, 0, ""};
    line.slots[4] = {"1 / 3", 3, 4, ""};  // longer than the slot: not cut
    line.slots[5] = {"sum(#total)", 6, -1, ""};
    line.slots[7] = {"1", 4, 0, ""};  // after the first missing slot: not reached
    report.levels = {kCalcLevelSum01};
    report.sums[{kCalcLevelSum01, 5}] = 12.5;
    TrptCalculator other;
    PutCalcValues(other, report, kCalcLevelSum01, line);
    EXPECT_EQ(other.Report(), &report);
    EXPECT_EQ(other.Level(), kCalcLevelSum01);
    EXPECT_EQ(line.slots[1].text, "keep");
    EXPECT_EQ(line.slots[2].text, "    7.50");
    EXPECT_EQ(line.slots[3].text, "########");
    EXPECT_EQ(line.slots[4].text, "0.3333");
    EXPECT_EQ(line.slots[5].text, "    12");  // 12.5 with no decimals: to even
    EXPECT_EQ(line.slots[7].text, "");
}

TEST_F(CalculatorTest, PutCalcValuesLetsArithmeticFaultsThrough) {
    FakeLine line;
    line.slots[1] = {"amount / 0", 8, 2, ""};
    EXPECT_THROW(PutCalcValues(calc, report, kCalcLevelDetail, line), ECalcArithmetic);
}

TEST(FixedPointText, Formats) {
    EXPECT_EQ(FixedPointText(3.14159, 8, 2), "    3.14");
    EXPECT_EQ(FixedPointText(-3.14159, 0, 3), "-3.142");
    EXPECT_EQ(FixedPointText(1234567.5, 4, 1), "1234567.5");
    EXPECT_EQ(FixedPointText(-0.0, 3, 0), "  0");
    EXPECT_EQ(FixedPointText(2.5, -1, -1), "2");
    EXPECT_EQ(FixedPointText(1e300, 0, 0).size(), 301u);
    EXPECT_EQ(FixedPointText(1, 0, 1000), "1." + std::string(255, '0'));
}

TEST(CurrentCalculator, NestedEvaluationsKeepTheirCalculator) {
    // Calculator A's expression reads a name whose value comes from calculator B; A's own
    // "sum" must still go to A.
    struct SumsOnly : FakeReport {};
    SumsOnly report_a;
    report_a.levels = {kCalcLevelSum01};
    report_a.sums[{kCalcLevelSum01, 1}] = 10;
    class Outer : public TrptCalculator {
      public:
        TrptCalculator* inner = nullptr;
        bool Callback(TCalcCBType kind, std::string_view name, double& value) override {
            if (kind == ctGetValue && name == "fromb") {
                inner->SetExpression("2 * 3");
                value = inner->GetResult();
                return true;
            }
            return TrptCalculator::Callback(kind, name, value);
        }
    };
    TrptCalculator b;
    Outer a;
    a.inner = &b;
    a.SetReport(&report_a);
    a.SetLevel(kCalcLevelSum01);
    a.SetExpression("fromb + sum(1)");
    EXPECT_EQ(a.GetResult(), 16);
    EXPECT_EQ(CurrentCalculator(), &a);
    {
        TrptCalculator gone;
        gone.SetExpression("1");
        gone.GetResult();
        EXPECT_EQ(CurrentCalculator(), &gone);
    }
    EXPECT_EQ(CurrentCalculator(), nullptr);  // not left dangling
    double value = 0;
    Calculate("sum(3)", value);
    EXPECT_EQ(value, 3);
}

}  // namespace
}  // namespace quillon

namespace quillon {
namespace {

TEST(CalculatorComponent, ALinkToADestroyedCalculatorClears) {
    bool told = false;
    ComponentLink<TCustomRepCalculator> link([&] { told = true; });
    {
        TrptCalculator calc;
        link.Set(&calc);
        ASSERT_EQ(link.Get(), &calc);
        calc.SetExpression("1 + 1");
        EXPECT_EQ(link->GetResult(), 2);
    }
    EXPECT_EQ(link.Get(), nullptr);
    EXPECT_TRUE(told);
}

}  // namespace
}  // namespace quillon
