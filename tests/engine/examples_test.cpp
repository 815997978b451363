#include <gtest/gtest.h>

#include "engine/report_model.h"
#include "tests/engine/engine_test_util.h"

namespace quillon {
namespace {

using testing_util::Format;
using testing_util::MessageLog;
using testing_util::NameOf;
using Strings = std::vector<std::string>;

Strings SlotNames(ReportModel& model, int level) {
    Strings names;
    for (int n = 1; n <= model.ActiveLevels()->SlotCount(level); ++n) {
        names.push_back(NameOf(model, level, n));
    }
    return names;
}

bool Load(ReportModel& model, MessageLog& log, const std::string& example, std::string name) {
    const std::string path = std::string(QUILLON_SOURCE_DIR) + "/examples/" + example;
    return model.LoadFormat(path, name, 1, log.Settings());
}

TEST(Examples, SalesReportGroupedByCustomer) {
    ReportModel model;
    MessageLog log;
    ASSERT_TRUE(Load(model, log, "sales_report.htm", "sales"));
    EXPECT_TRUE(log.texts.empty());
    EXPECT_FALSE(model.IsRTF() || model.IsTXT());
    for (int level :
         {rlHead, rlNewPage, rlDetailHead, rlDetail, rlSum01, rlSum02, rlFooter, rlEnd}) {
        EXPECT_TRUE(model.ActiveLevels()->Has(level)) << level;
    }
    EXPECT_EQ(SlotNames(model, rlHead), Strings{"DATE"});
    EXPECT_EQ(SlotNames(model, rlNewPage), Strings{"PAGENO"});
    EXPECT_EQ(SlotNames(model, rlDetail),
              (Strings{"SALEDATE", "ITEM", "QTY", "PRICE", "AMOUNT", "VAT"}));
    EXPECT_EQ(model.FieldByName("VAT").AsExpression(), "amount *0.2");
    EXPECT_EQ(model.FieldByName("CUSTAMOUNT").AsExpression(), "sum(#amount)");
    EXPECT_EQ(Format(model, rlDetail, 5), std::make_pair(10, 2));
    // CUSTOMER in the sum line shares the detail heading's value.
    EXPECT_EQ(model.FieldByName("CUSTOMER").CurrentKey(), (FieldKey{rlDetailHead, 1}));
    EXPECT_EQ(model.ActiveNames().AliasOf(rlSum01, 1), (FieldKey{rlDetailHead, 1}));
}

TEST(Examples, InvoiceWithStrikeThroughNames) {
    ReportModel model;
    MessageLog log;
    ASSERT_TRUE(Load(model, log, "invoice.rtf", "*"));
    EXPECT_TRUE(log.texts.empty());
    EXPECT_TRUE(model.IsRTF());
    EXPECT_EQ(SlotNames(model, rlDetail), (Strings{"SALEDATE", "ITEM", "QTY", "PRICE", "AMOUNT"}));
    EXPECT_EQ(SlotNames(model, rlSum01), (Strings{"CUSTOMER", "INVTOTAL", "INVVAT"}));
    EXPECT_EQ(model.FieldByName("INVVAT").AsExpression(), "sum(#amount) *0.2");
}

TEST(Examples, PlainTextListing) {
    ReportModel model;
    MessageLog log;
    ASSERT_TRUE(Load(model, log, "listing.txt", "LISTING"));
    EXPECT_TRUE(log.texts.empty());
    EXPECT_TRUE(model.IsTXT());
    EXPECT_EQ(SlotNames(model, rlDetail),
              (Strings{"SALEDATE", "CUSTOMER", "ITEM", "QTY", "AMOUNT"}));
    EXPECT_EQ(SlotNames(model, rlEnd), (Strings{"TOTQTY", "TOTAMOUNT"}));
}

}  // namespace
}  // namespace quillon
