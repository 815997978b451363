#include "platform/core/text_encoding.h"

#include <gtest/gtest.h>

namespace quillon::text {
namespace {

TEST(TextEncoding, ValidityRejectsMalformedSequences) {
    EXPECT_TRUE(IsValidUtf8(""));
    EXPECT_TRUE(IsValidUtf8("plain ASCII"));
    EXPECT_TRUE(IsValidUtf8("\xC5\xA0ilas \xE2\x82\xAC \xF0\x9F\x98\x80"));
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));          // overlong "/"
    EXPECT_FALSE(IsValidUtf8("\xE0\x80\xAF"));      // overlong
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));      // surrogate
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));  // above U+10FFFF
    EXPECT_FALSE(IsValidUtf8("abc\xC5"));           // truncated at the end
    EXPECT_FALSE(IsValidUtf8("\xBF"));              // lone continuation (the 1252 name mark)
    EXPECT_EQ(DetectEncoding("Gr\xFC\xDF"), TextEncoding::Cp1252);
}

TEST(TextEncoding, CountingAndCuttingNeverSplitACharacter) {
    const std::string s = "a\xC5\xA1\xE2\x82\xAC\xF0\x9F\x98\x80z";  // a š € 😀 z
    EXPECT_EQ(CharCount(s, TextEncoding::Utf8), 5u);
    EXPECT_EQ(CharCount(s, TextEncoding::Cp1252), s.size());
    EXPECT_EQ(CharPrefix(s, 2, TextEncoding::Utf8), "a\xC5\xA1");
    EXPECT_EQ(CharPrefix(s, 4, TextEncoding::Utf8), "a\xC5\xA1\xE2\x82\xAC\xF0\x9F\x98\x80");
    EXPECT_EQ(CharPrefix(s, 99, TextEncoding::Utf8), s);
    EXPECT_EQ(CharPrefix(s, 0, TextEncoding::Utf8), "");
    EXPECT_EQ(s.substr(SuffixOffset(s, 2, TextEncoding::Utf8)), "\xF0\x9F\x98\x80z");
    // A stray byte inside UTF-8 text counts as one character of its own.
    EXPECT_EQ(CharCount("a\xFFz", TextEncoding::Utf8), 3u);
    EXPECT_EQ(CharPrefix("\xE2\x82", 1, TextEncoding::Utf8), "\xE2");
}

TEST(TextEncoding, Windows1252Decoding) {
    EXPECT_EQ(Cp1252ToUnicode(0x80), U'\u20AC');
    EXPECT_EQ(Cp1252ToUnicode(0x9F), U'\u0178');
    EXPECT_EQ(Cp1252ToUnicode(0x81), U'\u0081');
    EXPECT_EQ(Cp1252ToUnicode(0xBF), U'\u00BF');
    EXPECT_EQ(Cp1252ToUtf8("\x80\xBF"), "\xE2\x82\xAC\xC2\xBF");
    EXPECT_EQ(DecodeText("\xE2\x82\xAC"), U"\u20AC");
    EXPECT_EQ(DecodeText("\x80"), U"\u20AC");
    EXPECT_EQ(ToUtf8(U"\u20AC\U0001F600"), "\xE2\x82\xAC\xF0\x9F\x98\x80");
    std::string bad;
    AppendUtf8(bad, 0xD800);
    EXPECT_EQ(bad, "\xEF\xBF\xBD");
}

TEST(TextEncoding, CaseAndTrimHelpers) {
    EXPECT_TRUE(EqualsIgnoreCase("PageNo", "PAGENO"));
    EXPECT_FALSE(EqualsIgnoreCase("PageNo", "PAGEN"));
    EXPECT_EQ(AsciiUpperCase("abc\xE4"), "ABC\xE4");
    EXPECT_EQ(Trim(" \t x y \r\n"), "x y");
    EXPECT_EQ(Trim("   "), "");
}

}  // namespace
}  // namespace quillon::text
