#include "calc/number_reader.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>

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

// Short plain numbers take a shorter way than the rest; both must give the correctly
// rounded value that the standard library's reader gives.
TEST(NumberReader, ShortNumbersReadExactlyAsLongOnes) {
    const auto reference = [](const std::string& text) {
        double value = 0;
        const char* begin = text.data() + (text[0] == '-' ? 1 : 0);
        std::from_chars(begin, text.data() + text.size(), value);
        return text[0] == '-' ? -value : value;
    };
    std::uint64_t state = 88172645463325252ull;
    for (int i = 0; i < 20000; ++i) {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        const int digits = 1 + static_cast<int>(state % 17);
        const int point = static_cast<int>((state >> 8) % static_cast<std::uint64_t>(digits + 1));
        std::string text = (state >> 20) % 2 ? "-" : "";
        std::uint64_t r = state >> 24;
        for (int d = 0; d < digits; ++d, r = r * 6364136223846793005ull + 1) {
            if (d == point) text += '.';
            text += static_cast<char>('0' + (r >> 33) % 10);
        }
        if (text.back() == '-' || text == "-." || text == ".") continue;
        const auto value = ReadNumber(text);
        ASSERT_TRUE(value.has_value()) << text;
        EXPECT_EQ(*value, reference(text)) << text;
    }
    EXPECT_EQ(ReadNumber("999999999999999").value(), 999999999999999.0);
    EXPECT_EQ(ReadNumber("9007199254740993").value(), 9007199254740992.0);  // 16 digits
    EXPECT_TRUE(std::signbit(ReadNumber("-0").value()));
    EXPECT_EQ(ReadNumber("1.").value(), 1.0);
    EXPECT_EQ(ReadNumber(".5").value(), 0.5);
    EXPECT_EQ(ReadNumber("007").value(), 7.0);
    EXPECT_FALSE(ReadNumber("1.2.3").has_value());
    EXPECT_FALSE(ReadNumber("-").has_value());
    EXPECT_FALSE(ReadNumber("--1").has_value());
}

}  // namespace
}  // namespace quillon
