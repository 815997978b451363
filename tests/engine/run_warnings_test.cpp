// What an application asks of a run that the template or the set-up cannot give is said,
// once, in one warning at the end of the run: a field name the template lacks, calculated
// fields without a calculator, sum() without running sums or of a field that is not there.
// Numbers written into fields take their slot's decimals.

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "calc/rpt_calculator.h"
#include "engine/quillon.h"
#include "platform/core/stream.h"
#include "tests/common/recording_host.h"
#include "tests/common/temp_dir.h"

namespace quillon {
namespace {

using testing::RecordingHost;
using testing::TempDir;

#define NM "<\xC2\xBF"

class RunWarningsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        report_.SetFormatName("*");
        report_.OnNext = [this](TQuillon&, bool& next) { next = ++record_ <= 3; };
    }
    void Template(const std::string& detail_line) {
        report_.SetFormatFile(dir_.Write("t.htm", "^^R\r\n@3\r\n" + detail_line + "\r\n").string());
    }
    std::string Run() {
        record_ = 0;
        TMemoryStream stream;
        EXPECT_TRUE(report_.Execute(&stream)) << host_.FirstText();
        return stream.Data();
    }
    std::vector<RecordingHost::Message> Warnings() const {
        std::vector<RecordingHost::Message> found;
        for (const auto& m : host_.messages) {
            if (m.type == TMsgDlgType::mtWarning) found.push_back(m);
        }
        return found;
    }

    TempDir dir_;
    RecordingHost host_;
    TQuillon report_{host_};
    int record_ = 0;
};

TEST_F(RunWarningsTest, AFieldNameTheTemplateLacksIsSaidOnceAfterTheRun) {
    Template(NM "AMOUNT>????");
    report_.OnGetDetailLine = [](TQuillon& r) {
        r.FieldByName("AMOUNTT").SetAsString("12");  // a typo, on every record
        r.FieldByName(" amount ").SetAsString("7");  // the same field, written loosely
    };
    EXPECT_EQ(Run(), "   7\r\n   7\r\n   7\r\n");
    ASSERT_EQ(Warnings().size(), 1u);
    EXPECT_EQ(Warnings()[0].text,
              "The template has no field AMOUNTT: the application's value for it is not shown.");

    // Outside a run (a design tool probing names) nothing is noted.
    host_.messages.clear();
    report_.FieldByName("NOPE");
    EXPECT_TRUE(host_.messages.empty());
    // A clean run says nothing.
    report_.OnGetDetailLine = [](TQuillon& r) { r.FieldByName("AMOUNT").SetAsString("1"); };
    Run();
    EXPECT_TRUE(Warnings().empty());
}

TEST_F(RunWarningsTest, CalculatedFieldsAndSumsThatCannotWorkAreNamed) {
    Template(NM "QTY>?? " NM "TOTAL=qty*2>???? " NM "ALL=sum(#QTY)>???? " NM "OOPS=sum(#QTYY)>??");
    report_.OnGetDetailLine = [this](TQuillon& r) {
        r.FieldByName("QTY").SetAsString(std::to_string(record_));
    };
    // Without a calculator every calculated field is blank: the warning names them all.
    Run();
    ASSERT_EQ(Warnings().size(), 1u);
    EXPECT_EQ(Warnings()[0].text,
              "The template has calculated fields (TOTAL, ALL, OOPS) but no calculator is "
              "connected (SetXCalcExt): they stay blank.");

    // With one, sum() needs the running sums, and #QTYY is no field.
    host_.messages.clear();
    TrptCalculator calculator;
    report_.SetXCalcExt(&calculator);
    const std::string without_sums = Run();
    EXPECT_NE(without_sums.find(" 1    2    0"), std::string::npos) << without_sums;
    ASSERT_EQ(Warnings().size(), 1u);
    EXPECT_EQ(Warnings()[0].text,
              "A calculated field uses sum(), but the report keeps no running sums: add the "
              "option prAutoSum (quillon run: --auto-sum), else every sum is 0.\nA calculated "
              "field sums #QTYY, a field the template does not have: that sum is 0.");

    host_.messages.clear();
    report_.SetOptions(report_.Options() + prAutoSum);
    const std::string with_sums = Run();
    // sum() at a detail line adds the records before it.
    EXPECT_NE(with_sums.find(" 3    6    3"), std::string::npos) << with_sums;
    ASSERT_EQ(Warnings().size(), 1u);
    EXPECT_EQ(Warnings()[0].text,
              "A calculated field sums #QTYY, a field the template does not have: that sum is 0.");
}

// Faults of the template or the set-up that would print nothing useful end the run before
// anything is written, saying what to mend and where.
TEST_F(RunWarningsTest, AnInvalidExpressionOrNoFormatNameEndsTheRun) {
    Template(NM "QTY>?? " NM "BAD=qty*(>?????");
    TrptCalculator calculator;
    report_.SetXCalcExt(&calculator);
    TMemoryStream stream;
    EXPECT_FALSE(report_.Execute(&stream));
    EXPECT_TRUE(stream.Data().empty());
    ASSERT_EQ(host_.messages.size(), 1u);
    EXPECT_EQ(host_.messages[0].type, TMsgDlgType::mtError);
    EXPECT_EQ(host_.messages[0].text,
              "The calculated field BAD of " + dir_.File("t.htm") +
                  ", line 3, cannot be calculated: \"qty*(\" is not a valid expression.");

    host_.messages.clear();
    Template(NM "QTY>??");
    report_.SetFormatName(" ");
    EXPECT_FALSE(report_.Execute(&stream));
    ASSERT_EQ(host_.messages.size(), 1u);
    EXPECT_EQ(host_.messages[0].text,
              "Format name property not valid: set FormatName to the name after \"^^\" in the "
              "template, or to \"*\" for its first format.");
}

TEST_F(RunWarningsTest, NumbersTakeTheDecimalsOfTheirSlot) {
    Template(NM "PRICE>????^?? " NM "COUNT>??? " NM "RATE>??????");
    report_.OnGetDetailLine = [this](TQuillon& r) {
        r.FieldByName("PRICE").SetAsNumber(10.5 * record_);
        r.FieldByName("COUNT").SetAsInteger(record_ * 4);
        r.FieldByName("RATE").SetAsNumber(record_ == 3 ? 0.125 : record_ * 1e3);
    };
    EXPECT_EQ(Run(), "  10.50   4   1000\r\n  21.00   8   2000\r\n  31.50  12  0.125\r\n");

    // On a loaded format outside a run: an integer into a slot with decimals, the largest
    // doubles, not-a-number, and a name that is no field (ignored).
    std::string name = "*";
    ASSERT_TRUE(report_.LoadFormat(dir_.File("t.htm"), name, 1));
    tRNAMEList& price = report_.FieldByName("PRICE");
    price.SetAsInteger(-3);
    EXPECT_EQ(price.AsString(), "-3.00");
    price.SetAsNumber(-1.7976931348623157e308);
    EXPECT_EQ(price.AsString().size(), 1u + 309u + 3u);
    price.SetAsNumber(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(price.AsString(), "");
    report_.FieldByName("COUNT").SetAsNumber(2.5);
    EXPECT_EQ(report_.FieldByName("COUNT").AsString(), "2.5");
    report_.FieldByName("NOPE").SetAsNumber(1.0);
    EXPECT_EQ(report_.FieldByName("COUNT").AsString(), "2.5");
}

}  // namespace
}  // namespace quillon
