// Automatic sums: adding detail values into the innermost sum level, rolling closed groups
// up, and reading sums by slot and by name.

#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "calc/number_reader.h"
#include "engine/report_model.h"
#include "engine/sums.h"

namespace quillon {
namespace {

class SumsTest : public ::testing::Test {
  protected:
    void Load(const std::string& text) {
        std::string name = "*";
        LoadSettings settings;
        settings.message = [this](std::string_view msg, TMsgDlgType, TMsgDlgButtons) {
            messages_ += std::string(msg);
            return 0;
        };
        ASSERT_TRUE(model_.LoadFormatText("sums.txt", text, name, 1, settings)) << messages_;
    }
    // Sets the detail fields 1 and 2 and adds them as a built detail line would.
    void Detail(const std::string& a, const std::string& b) {
        model_.ActiveNames().ClrVAL();
        model_.FieldByNumber(rlDetail, 1).SetAsString(a);
        model_.FieldByNumber(rlDetail, 2).SetAsString(b);
        sums_.DetailLineAutoSum(model_);
    }
    double Sum(int level, int slot) { return sums_.SumByNumber(level, rlDetail, slot, model_); }

    ReportModel model_;
    ReportSums sums_;
    std::string messages_;
};

constexpr const char* kTwoGroups =
    "^^S\r\n@3\r\n????? ?????\r\n@4\r\nS1 ?????\r\n@5\r\nS2 ?????\r\n@15\r\nEND ?????\r\n";

TEST(DetailNumbers, ReadWithPointDecimalsWhateverTheLocale) {
    std::setlocale(LC_ALL, "");  // the user's locale must not change the reading
    EXPECT_EQ(ReadNumber("12.5"), 12.5);
    EXPECT_EQ(ReadNumber("-.5e1"), -5.0);
    EXPECT_EQ(ReadNumber("+3"), 3.0);
    for (const char* bad : {"12,5", "1.2.3", "inf", "nan", "0x10", "", "-", "1e", " 1", "1 000"}) {
        EXPECT_FALSE(ReadNumber(bad).has_value()) << bad;
    }
    std::setlocale(LC_ALL, "C");
}

TEST_F(SumsTest, GroupTotalsRollUpIntoTheNextDefinedLevel) {
    Load(kTwoGroups);
    Detail("x", "1");
    Detail("x", "2");
    EXPECT_DOUBLE_EQ(Sum(rlSum01, 2), 3.0);  // while the line of group A is built
    sums_.RollUp(rlSum01, model_);
    EXPECT_DOUBLE_EQ(Sum(rlSum01, 2), 0.0);
    Detail("y", "5");
    EXPECT_DOUBLE_EQ(Sum(rlSum01, 2), 5.0);
    sums_.RollUp(rlSum01, model_);
    EXPECT_DOUBLE_EQ(Sum(rlSum02, 2), 8.0);
    sums_.RollUp(rlSum02, model_);
    EXPECT_DOUBLE_EQ(Sum(rlEnd, 2), 8.0);
    // A text field is no longer summed, empty values are skipped.
    EXPECT_FALSE(sums_.Cells(rlSum01)[0].Numeric);
    Detail("", "");
    EXPECT_TRUE(sums_.Cells(rlSum01)[1].Numeric);
}

TEST_F(SumsTest, ANonNumberStopsSummingAndRollingUpThatField) {
    Load(kTwoGroups);
    Detail("1", "1");
    Detail("2", "1,5");
    Detail("4", "7");
    EXPECT_DOUBLE_EQ(Sum(rlSum01, 1), 7.0);
    EXPECT_DOUBLE_EQ(Sum(rlSum01, 2), 1.0);  // what came before the non-number
    sums_.RollUp(rlSum01, model_);
    EXPECT_DOUBLE_EQ(Sum(rlSum02, 1), 7.0);
    EXPECT_DOUBLE_EQ(Sum(rlSum02, 2), 0.0);
}

TEST_F(SumsTest, OutermostTotalsReachTheReportEndAlsoWithAPageFooter) {
    Load("^^S\r\n@3\r\n????? ?????\r\n@4\r\nS1 ?????\r\n@14\r\nFOOT ?????\r\n@15\r\nEND\r\n");
    Detail("1", "2");
    sums_.RollUp(rlSum01, model_);
    Detail("1", "3");
    sums_.RollUp(rlSum01, model_);
    // The footer keeps its running total, the report end gets the grand total.
    EXPECT_DOUBLE_EQ(Sum(rlFooter, 2), 5.0);
    EXPECT_DOUBLE_EQ(Sum(rlEnd, 2), 5.0);
}

TEST_F(SumsTest, WithoutSumLevelsDetailsAddIntoTheReportEndAndNothingRollsUp) {
    Load("^^S\r\n@3\r\n????? ?????\r\n@15\r\nEND ?????\r\n");
    Detail("1", "2");
    Detail("1", "3");
    sums_.RollUp(rlSum01, model_);  // not defined: nothing happens
    EXPECT_DOUBLE_EQ(Sum(rlEnd, 2), 5.0);
    EXPECT_EQ(InnermostSumLevel(model_.ActiveLevels()), rlEnd);
}

TEST_F(SumsTest, RollUpBeforeAnyDetailLineAddsNothing) {
    Load(kTwoGroups);
    sums_.RollUp(rlSum01, model_);
    sums_.RollUp(rlSum02, model_);
    EXPECT_TRUE(sums_.Cells(rlSum02).empty());
    EXPECT_DOUBLE_EQ(Sum(rlEnd, 1), 0.0);
}

TEST_F(SumsTest, SumByNameUsesTheDetailSlotThatCarriesTheName) {
    // AMOUNT is named first in the heading (slot 1) and reused by detail slot 2; QTY is
    // detail slot 1. A heading slot number must not select the detail cell.
    Load(
        "^^S\r\n@2\r\n<\xC2\xBF"
        "AMOUNT>?????\r\n@3\r\n<\xC2\xBFQTY>????? <\xC2\xBF"
        "AMOUNT>?????\r\n"
        "@4\r\nS1\r\n@15\r\nEND\r\n");
    Detail("2", "10");
    Detail("3", "20");
    EXPECT_DOUBLE_EQ(sums_.SumByName(rlSum01, "amount", model_), 30.0);
    EXPECT_DOUBLE_EQ(sums_.SumByName(rlSum01, " qty ", model_), 5.0);
    EXPECT_DOUBLE_EQ(sums_.SumByName(rlSum01, "missing", model_), 0.0);
    EXPECT_DOUBLE_EQ(sums_.SumByName(rlDetail, "qty", model_), 0.0);
    EXPECT_DOUBLE_EQ(sums_.SumByNumber(rlSum01, rlDetail, 7, model_), 0.0);
}

TEST_F(SumsTest, CalculatedFieldsOutsideSumLinesReadTheInnermostLevel) {
    Load("^^S\r\n@3\r\n?????\r\n@6\r\nS3\r\n@14\r\nF\r\n@15\r\nE\r\n");
    const LevelTable* levels = model_.ActiveLevels();
    EXPECT_EQ(CalcSumLevel(levels, rlDetail), rlSum03);
    EXPECT_EQ(CalcSumLevel(levels, rlHead), rlSum03);
    EXPECT_EQ(CalcSumLevel(levels, rlFooter), rlFooter);
    EXPECT_EQ(NextSumLevel(levels, rlSum03), rlFooter);
}

}  // namespace
}  // namespace quillon
