#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "calc/rpt_calculator.h"
#include "engine/quillon.h"
#include "engine_test_support.h"

namespace quillon {
namespace {

using testing::RecordingHost;
using testing::TempDir;
using testing::WriteFile;

class CalcBindingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::string path = dir_.File("t.htm");
        WriteFile(path,
                  "^^R\r\n@3\r\n<\xBF"
                  "AMOUNT>??? <\xBFPRICE>????? "
                  "<\xBFTOTAL=amount*price>?????^?? <\xBF"
                  "BAD=amount*>????\r\n");
        std::string name = "R";
        ASSERT_TRUE(report_.LoadFormat(path, name, 1));
        report_.OnGetDetailLine = [](TQuillon& r) {
            r.FieldByName("AMOUNT").SetAsString("3");
            r.FieldByName("PRICE").SetAsString("1.5");
        };
    }

    std::string Line() {
        EilPlist list;
        report_.MakeLine(rlDetail, list);
        return list.Empty() ? std::string() : list[0].Val;
    }

    TempDir dir_;
    RecordingHost host_;
    TQuillon report_{host_};
};

TEST_F(CalcBindingTest, CalculatedFieldsNeedACalculator) {
    EXPECT_EQ(Line(), "  3   1.5              \r\n");
    TrptCalculator calculator;
    report_.SetXCalcExt(&calculator);
    EXPECT_EQ(report_.XCalcExt(), &calculator);
    EXPECT_EQ(Line(), "  3   1.5     4.50 ####\r\n");
    EXPECT_EQ(calculator.Report(), &report_);
    EXPECT_EQ(calculator.Level(), rlDetail);
    EXPECT_EQ(report_.FieldSlot("PRICE"), 2);
    EXPECT_EQ(report_.FieldText("AMOUNT"), "3");
    EXPECT_EQ(report_.FieldText("NOPE"), std::nullopt);
    EXPECT_TRUE(report_.LevelDefined(rlDetail));
    EXPECT_FALSE(report_.LevelDefined(rlSum01));
    EXPECT_EQ(report_.SumByNumber(rlSum01, rlDetail, 1), 0.0);
}

TEST_F(CalcBindingTest, CalculatorDestroyedBeforeTheReport) {
    auto calculator = std::make_unique<TrptCalculator>();
    report_.SetXCalcExt(calculator.get());
    EXPECT_EQ(Line(), "  3   1.5     4.50 ####\r\n");
    calculator.reset();
    EXPECT_EQ(report_.XCalcExt(), nullptr);
    EXPECT_EQ(Line(), "  3   1.5              \r\n");
}

TEST_F(CalcBindingTest, ReportDestroyedBeforeTheCalculator) {
    TrptCalculator calculator;
    {
        TQuillon other(host_);
        other.SetXCalcExt(&calculator);
        calculator.SetReport(&other);
    }
    EXPECT_EQ(calculator.Report(), nullptr);
    calculator.SetExpression("#AMOUNT + 1");
    EXPECT_EQ(calculator.GetResult(), 1.0);  // no report: names read 0

    // Letting a calculator go unbinds it as well.
    report_.SetXCalcExt(&calculator);
    Line();
    EXPECT_EQ(calculator.Report(), &report_);
    report_.SetXCalcExt(nullptr);
    EXPECT_EQ(calculator.Report(), nullptr);
}

}  // namespace
}  // namespace quillon
