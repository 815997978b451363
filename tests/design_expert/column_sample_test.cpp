// What the expert makes of a column: its heading from the name, whether it holds numbers,
// the decimals they are written with and the slot width they need.

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "design/expert/column_sample.h"

namespace quillon::design {
namespace {

TEST(ColumnSample, HeadingsAreTheNamesWordsCapitalised) {
    const std::pair<const char*, const char*> cases[] = {
        {"unit_price", "Unit Price"},
        {"customerName", "Customer Name"},
        {"CUSTOMER", "Customer"},
        {"UNIT_PRICE", "Unit Price"},
        {"order-date", "Order Date"},
        {"customerID", "Customer ID"},
        {"HTMLPage", "HTML Page"},
        {"qty", "Qty"},
        {"line2Total", "Line2 Total"},
        {"  first  name ", "First Name"},
        {"__", "__"},
        {"straße", "Straße"},
    };
    for (const auto& [name, heading] : cases) EXPECT_EQ(HeadingFromName(name), heading) << name;
}

TEST(ColumnSample, NumbersAreTheReportsPlainOnes) {
    for (const char* yes : {"0", "7", "-3", "+12", "12.50", "0.5", "1043.00"}) {
        EXPECT_TRUE(IsPlainNumber(yes)) << yes;
    }
    for (const char* no : {"", "-", "007", "1.", ".5", "1e5", "1,000", "2026-01-01", "12 ", "x1"}) {
        EXPECT_FALSE(IsPlainNumber(no)) << no;
    }
}

ColumnSample Sample(std::initializer_list<const char*> values, const char* name = "c") {
    ColumnSample s(name);
    for (const char* v : values) s.Add(v);
    return s;
}

TEST(ColumnSample, DecimalsAreTheMostThatOneInTenNumbersHave) {
    EXPECT_EQ(Sample({"1", "22", "333"}).Decimals(), 0);
    EXPECT_EQ(Sample({"12.50", "7", "3.25"}).Decimals(), 2);
    // Floating-point sources drop trailing zeros: mostly one decimal, still money.
    EXPECT_EQ(Sample({"149.4", "273.9", "23.5", "9.4", "33.25", "21.6", "57.6", "1043.0", "149.0",
                      "979.0"})
                  .Decimals(),
              2);
    // One odd value among many does not decide.
    ColumnSample many("price");
    for (int i = 0; i < 20; ++i) many.Add("4.75");
    many.Add("3.14159");
    EXPECT_EQ(many.Decimals(), 2);
    EXPECT_EQ(Sample({"0.333333333333", "0.5"}).Decimals(), ColumnSample::kMaxDecimals);
}

TEST(ColumnSample, TextColumnsAndEmptyValues) {
    const ColumnSample mixed = Sample({"12", "n/a"});
    EXPECT_FALSE(mixed.Numeric());
    EXPECT_EQ(mixed.Decimals(), 0);
    EXPECT_FALSE(Sample({"", ""}).Numeric());
    EXPECT_FALSE(Sample({"007", "012"}).Numeric());
    // Empty values (NULL) leave a number column a number column.
    EXPECT_TRUE(Sample({"", "5", ""}).Numeric());
}

TEST(ColumnSample, WidthsHoldTheValuesWithRoomForNumbers) {
    // Text: the longest of the name and the values, in characters.
    EXPECT_EQ(Sample({"Riga", "Vilnius"}, "city").Width(), 7);
    EXPECT_EQ(Sample({"Šiauliai"}, "c").Width(), 8);
    EXPECT_EQ(Sample({"ab"}, "customer").Width(), 8);
    // Numbers: the widest integer part with its sign, two more digits, the point and the
    // decimals.
    EXPECT_EQ(Sample({"12.5", "-1043.25"}).Width(), 5 + 2 + 3);
    EXPECT_EQ(Sample({"7", "42"}).Width(), 2 + 2);
}

}  // namespace
}  // namespace quillon::design
