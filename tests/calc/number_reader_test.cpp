#include "calc/number_reader.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

TEST(NumberReader, AcceptsTheStandardNotation) {
    const std::pair<const char*, double> cases[] = {
        {"0", 0},
        {"42", 42},
        {"-42", -42},
        {"+42", 42},
        {"3.25", 3.25},
        {"-0.5", -0.5},
        {".5", 0.5},
        {"5.", 5},
        {"1e3", 1000},
        {"1.5E-2", 0.015},
        {"2e+2", 200},
        {"007", 7},
        {"1e-400", 0},
        {"0.1", 0.1},
        {"1.7976931348623157e308", 1.7976931348623157e308},
        {"123456789012345678901234567890", 123456789012345678901234567890.0},
    };
    for (const auto& [text, value] : cases) {
        const std::optional<double> read = ReadNumber(text);
        ASSERT_TRUE(read.has_value()) << text;
        EXPECT_EQ(*read, value) << text;
    }
}

TEST(NumberReader, RejectsEverythingElse) {
    for (const char* text :
         {"",      " ",   "+",     "-",     ".",      "1,200",       "1.200,5",  "1 200",
          " 1",    "1 ",  "inf",   "-inf",  "nan",    "NaN",         "infinity", "0x10",
          "0X1p3", "$10", "1e",    "1e+",   "e5",     "1.2.3",       "--1",      "+-1",
          "1d",    "1f",  "12abc", "1e309", "-1e309", "\xef\xbc\x91"}) {
        EXPECT_FALSE(ReadNumber(text).has_value()) << text;
    }
    EXPECT_FALSE(ReadNumber(std::string_view("1\0", 2)).has_value());
}

TEST(NumberReader, FieldTextsReadAsZeroWhenNotANumber) {
    EXPECT_EQ(NumberOrZero("  12.5 "), 12.5);
    EXPECT_EQ(NumberOrZero("\t-3\r\n"), -3);
    EXPECT_EQ(NumberOrZero(""), 0);
    EXPECT_EQ(NumberOrZero("   "), 0);
    EXPECT_EQ(NumberOrZero("1,200"), 0);
    EXPECT_EQ(NumberOrZero("12 kg"), 0);
    EXPECT_EQ(NumberOrZero("inf"), 0);
}

}  // namespace
}  // namespace quillon
