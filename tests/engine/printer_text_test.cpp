// How report lines become printer text: tag replacements, line breaks, rules, centring,
// and the bytes of the printer's code page.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/printer_text.h"
#include "platform/core/text_encoding.h"

namespace quillon {
namespace {

// Converts lines in order with one converter; the results as UTF-8.
std::vector<std::string> ConvertLines(const std::vector<std::string>& lines, int width,
                                      const PrinterTagTable& tags = {}) {
    PrinterLineConverter converter(tags, width);
    std::vector<std::string> out;
    for (const std::string& line : lines) {
        out.push_back(text::ToUtf8(converter.Convert(text::DecodeText(line))));
    }
    return out;
}

std::string Convert(const std::string& line, int width, const PrinterTagTable& tags = {}) {
    return ConvertLines({line}, width, tags)[0];
}

TEST(PrinterTextTest, SectionTagsBecomeControlSequencesAndOtherTagsAreDropped) {
    PrinterTagTable tags;
    tags.Add(U"<B>", U"&#27E");
    tags.Add(U"<i>", U"&#274&#275");  // every code of a value, case-free key
    tags.Add(U"<B>", U"ignored");     // the first registration wins
    tags.Add(U"<U>", U"");            // a key without a value inserts nothing
    EXPECT_EQ(Convert("<b>Total</b>", 80, tags),
              "\x1b"
              "ETotal");
    EXPECT_EQ(Convert("<I>x<u>y", 80, tags),
              "\x1b"
              "4\x1b"
              "5xy");
    // The second parse's name leftovers and unknown tags never print; entities stay.
    EXPECT_EQ(Convert("a<¿\\NAME>b<font size=2>c&amp;", 80, tags), "abc&amp;");
    // After a stray ">" the rest of the line prints as it is.
    EXPECT_EQ(Convert("<b>a > <b>b", 80, tags),
              "\x1b"
              "Ea > <b>b");
}

TEST(PrinterTextTest, ReplacementValuesKeepEveryCodeAndTheirWholeLength) {
    PrinterTagTable tags;
    const std::u32string long_value(300, U'x');
    tags.Add(U"<L>", long_value + U"&#13&#10&#1x&#99");
    EXPECT_EQ(Convert("<L>", 80, tags), std::string(300, 'x') + "\r\n&#1xc");
}

TEST(PrinterTextTest, LineBreakEndsTheLineOnlyWhenTextFollows) {
    EXPECT_EQ(Convert("ab<BR>cd", 80), "ab\r\ncd");
    EXPECT_EQ(Convert("ab<br >", 80), "ab");
    EXPECT_EQ(Convert("ab<BR>   ", 80), "ab   ");
    EXPECT_EQ(Convert("<BR>x", 80), "\r\nx");
}

TEST(PrinterTextTest, RulesCountCharactersOfTheLineWidth) {
    // 3 characters before the rule, 20 after, width 80: half the line, centred.
    EXPECT_EQ(
        Convert("abc<HR WIDTH=50%>" + std::string(20, 'z'), 80),
        "abc\r\n" + std::string(20, ' ') + std::string(40, '_') + "\r\n" + std::string(20, 'z'));
    EXPECT_EQ(Convert("<HR>", 30), std::string(30, '_'));
    EXPECT_EQ(Convert("<hr>", 300), std::string(300, '_'));  // no wrap at 256
    EXPECT_EQ(Convert("<HR WIDTH=abc>", 80), "");
    EXPECT_EQ(Convert("x<HR WIDTH=0%>y", 80), "xy");
    EXPECT_EQ(Convert("<HR WIDTH=\"25%\">", 40), std::string(15, ' ') + std::string(10, '_'));
    // 12.5 and 13.5 round to the even neighbour.
    EXPECT_EQ(Convert("<HR WIDTH=50%>", 25), std::string(6, ' ') + std::string(12, '_'));
    EXPECT_EQ(Convert("<HR WIDTH=50%>", 27), std::string(6, ' ') + std::string(14, '_'));
    // Wider than the line: no pad, and never more than the widest line.
    EXPECT_EQ(Convert("<HR WIDTH=150%>", 10), std::string(15, '_'));
    EXPECT_EQ(Convert("<HR WIDTH=9999999999>", 10).size(),
              static_cast<std::size_t>(kMaxPrinterLineWidth));
}

TEST(PrinterTextTest, CentringPadsWithinTheLineAndCarriesAcrossLines) {
    EXPECT_EQ(Convert("<CENTER>Title</CENTER>", 20), std::string(7, ' ') + "Title");
    // Text before and after a passage goes to lines of its own.
    EXPECT_EQ(Convert("ab<center>Title</center>rest", 20),
              "ab\r\n" + std::string(7, ' ') + "Title\r\nrest");
    const std::vector<std::string> lines =
        ConvertLines({"<CENTER>one", "three", "four</CENTER>", "left"}, 11);
    EXPECT_EQ(lines, (std::vector<std::string>{"    one", "   three", "   four", "left"}));
    // Widths count characters, not bytes.
    EXPECT_EQ(Convert("<CENTER>Ąžuolas</CENTER>", 20), std::string(6, ' ') + "Ąžuolas");
    // A pad of more than 255 characters is not cut.
    EXPECT_EQ(Convert("<CENTER>x</CENTER>", 600), std::string(299, ' ') + "x");
}

TEST(PrinterTextTest, BytesFollowThePrintersCodePage) {
    const text::CodePage& cp1252 = text::CodePage::Windows1252();
    const text::CodePage& cp437 = *text::CodePage::Find("cp437");
    const std::u32string line = U"é\u00A0Ž€ж\x1b";
    EXPECT_EQ(EncodeForPrinter(line, cp1252, false), "\xE9\xA0\x8E\x80?\x1b");
    // The no-break space is the code page's own (FF in the PC page), never C2 A0.
    EXPECT_EQ(EncodeForPrinter(line, cp437, false), "\x82\xFF???\x1b");
    EXPECT_EQ(EncodeForPrinter(U"\u2028x", cp437, false), "?x");
}

TEST(PrinterTextTest, NationalLettersBecomeThePrintersNationalBytes) {
    const std::u32string letters = U"ĄąČčĘęĖėĮįŠšŲųŪūŽž";
    std::string expected;
    for (int b : {0xDC, 0xDD, 0xDE, 0xDF, 0xF0, 0xF1, 0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF7, 0xF8,
                  0xF9, 0xFA, 0xFB, 0xFC, 0xFD}) {
        expected += static_cast<char>(b);
    }
    EXPECT_EQ(EncodeForPrinter(letters, text::CodePage::Windows1252(), true), expected);
    // Without the conversion they follow the code page; other letters are never touched.
    EXPECT_EQ(EncodeForPrinter(U"Šaé", text::CodePage::Windows1252(), false),
              "\x8A"
              "a\xE9");
    EXPECT_EQ(EncodeForPrinter(U"Šaé", text::CodePage::Windows1252(), true),
              "\xF6"
              "a\xE9");
}

}  // namespace
}  // namespace quillon
