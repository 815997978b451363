#include "engine/field_value.h"

#include <gtest/gtest.h>

#include <string>

namespace quillon {
namespace {

using text::TextEncoding;

std::string Slot(std::string_view value, int width, TPrintOptions options,
                 TextEncoding enc = TextEncoding::Cp1252) {
    std::string out = "[";
    AppendSlotText(out, value, width, options, enc);
    return out.substr(1);
}

const TPrintOptions kNone{};
const TPrintOptions kRight{prNumbersAlignRight};

TEST(FieldValue, PadsAndCutsToTheSlotWidth) {
    EXPECT_EQ(Slot("abc", 5, kNone), "abc  ");
    EXPECT_EQ(Slot("abcdefghij", 4, kNone), "abcd");
    EXPECT_EQ(Slot("", 3, kNone), "   ");
    EXPECT_EQ(Slot("abc", 0, kNone), "");
    EXPECT_EQ(Slot("abcdefghij", 4, TPrintOptions{prDontCutField}), "abcdefghij");
    EXPECT_EQ(Slot("ab", 4, TPrintOptions{prDontCutField}), "ab  ");
}

TEST(FieldValue, WideSlotsAreNotCountedModulo256) {
    const std::string value(300, 'x');
    EXPECT_EQ(Slot(value, 300, kNone).size(), 300u);
    EXPECT_EQ(Slot("a", 300, kNone).size(), 300u);
    EXPECT_EQ(Slot("1", 300, kRight).size(), 300u);
}

TEST(FieldValue, NumbersAreRightAligned) {
    EXPECT_EQ(Slot("12.5", 8, kRight), "    12.5");
    EXPECT_EQ(Slot("12,5", 8, kRight), "12,5    ");
    EXPECT_EQ(Slot("-1e3", 6, kRight), "  -1e3");
    EXPECT_EQ(Slot(" 7 ", 5, kRight), "   7 ");  // the untrimmed value is aligned
    EXPECT_EQ(Slot("12.5", 8, kNone), "12.5    ");
    // A number as long as the slot, or longer, is cut like any value.
    EXPECT_EQ(Slot("123456", 4, kRight), "1234");
    EXPECT_EQ(Slot("123456", 4, kRight + prDontCutField), "123456");
}

TEST(FieldValue, RecognisesDecimalNumbers) {
    for (const char* yes : {"0", "+1", "-12.50", ".5", "5.", "1e10", "2.5E-3"}) {
        EXPECT_TRUE(IsDecimalNumber(yes)) << yes;
    }
    for (const char* no : {"", "-", ".", "1,5", "1e", "e5", "12a", "1 2", "0x10", "inf"}) {
        EXPECT_FALSE(IsDecimalNumber(no)) << no;
    }
}

TEST(FieldValue, TrimsTheWrittenText) {
    const TPrintOptions trim{prTrimField};
    EXPECT_EQ(Slot("  a", 5, trim), "a");
    EXPECT_EQ(Slot("abcdef", 3, trim), "abc");
    EXPECT_EQ(Slot("12", 6, trim + prNumbersAlignRight), "12");
    // Only blanks go: the line-suppression character and line ends stay.
    EXPECT_EQ(Slot("\x1b", 3, trim), "\x1b");
    EXPECT_EQ(Slot("a\r\n", 5, trim), "a\r\n");
}

TEST(FieldValue, LinkMarkupTakesNoRoom) {
    // The visible text shares the slot with what follows the link; the tags are extra.
    EXPECT_EQ(Slot("<A href=x>x</A>", 3, kNone), "<A href=x>x</A>  ");
    EXPECT_EQ(Slot("<A href=x>x</A>", 3, kNone).size(), 3u + 14u);
    EXPECT_EQ(Slot("<A href=u>ab</A>cd", 3, kNone), "<A href=u>ab</A>c");
    // A visible text longer than the slot is cut and the closing tag kept.
    EXPECT_EQ(Slot("<A href=u>abcdef</A>", 3, kNone), "<A href=u>abc</A>");
    // Trimming does not apply to links.
    EXPECT_EQ(Slot("<A href=u>a</A>", 3, TPrintOptions{prTrimField}), "<A href=u>a</A>  ");
    // An unclosed link keeps the room of both tags.
    EXPECT_EQ(Slot("<A href=x>", 3, kNone), "<A href=x>       ");
}

TEST(FieldValue, OnlyALeadingWellFormedTagIsALink) {
    EXPECT_EQ(Slot("x<A b>c</A>", 4, kNone), "x<A ");
    EXPECT_EQ(Slot("<ABBR>long text", 4, kNone), "<ABB");
    EXPECT_EQ(Slot("<A <b>>z", 4, kNone), "<A <");
    EXPECT_EQ(Slot("a > b <A", 4, kNone), "a > ");
}

TEST(FieldValue, CountsCharactersOfUtf8Templates) {
    const std::string value = "\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F";  // four letters, 8 bytes
    EXPECT_EQ(Slot(value, 2, kNone, TextEncoding::Utf8), "\xC3\xA4\xC3\xB6");
    EXPECT_EQ(Slot(value, 6, kNone, TextEncoding::Utf8), value + "  ");
    EXPECT_EQ(Slot("\xE2\x82\xAC"
                   "5",
                   4, kNone, TextEncoding::Utf8),
              "\xE2\x82\xAC"
              "5  ");
    // The same bytes in a single-byte template are eight characters.
    EXPECT_EQ(Slot(value, 3, kNone, TextEncoding::Cp1252), "\xC3\xA4\xC3");
    EXPECT_EQ(Slot("<A href=u>\xC3\xA4\xC3\xB6\xC3\xBC</A>", 2, kNone, TextEncoding::Utf8),
              "<A href=u>\xC3\xA4\xC3\xB6</A>");
}

TEST(FieldValue, AnyByteBeyondAsciiIsCountedAsPartOfACharacter) {
    // Values of every length up to 20 bytes with one two-byte letter at every place: the
    // letter is one character wherever it stands, so the slot keeps every letter and one
    // blank less than the bytes suggest.
    for (std::size_t length = 1; length <= 20; ++length) {
        for (std::size_t at = 0; at < length; ++at) {
            std::string value(length, 'a');
            value.replace(at, 1, "\xC3\xA4");
            const std::string slot = Slot(value, 24, kNone, TextEncoding::Utf8);
            EXPECT_EQ(slot, value + std::string(24 - length, ' ')) << length << " " << at;
            // Cut to the characters before the letter, the slot holds no part of it.
            EXPECT_EQ(Slot(value, static_cast<int>(at), kNone, TextEncoding::Utf8),
                      std::string(at, 'a'));
        }
    }
}

TEST(FieldValue, OnlyWholeNumbersBetweenBlanksAreAlignedRight) {
    EXPECT_EQ(Slot("\t5", 4, kRight), "  \t5");
    EXPECT_EQ(Slot("  ", 4, kRight), "    ");
    EXPECT_EQ(Slot("", 4, kRight), "    ");
    for (const char* text : {"+", "-", ".", "2026-12-06", "1.2.3", "5 x", "x5", "12a"}) {
        const std::string value = text;
        EXPECT_EQ(Slot(value, 12, kRight), value + std::string(12 - value.size(), ' ')) << text;
    }
    for (const char* number : {"+.5", "-7", "1e-3", " 42", "3.25 "}) {
        const std::string value = number;
        EXPECT_EQ(Slot(value, 12, kRight), std::string(12 - value.size(), ' ') + value) << number;
    }
}

// Every text over the bytes that matter (digits and their neighbours, sign, dot, exponent,
// blanks, bytes beyond ASCII) is a number between blanks exactly when its trimmed part is a
// decimal number. Short texts are read a word at a time, so every length up to a word and
// every place in it are covered.
TEST(FieldValue, NumbersBetweenBlanksAsTheTrimmedTextReads) {
    const auto reference = [](std::string_view s) {
        while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
        while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
        return IsDecimalNumber(s);
    };
    std::string text;
    std::size_t numbers = 0;
    const auto all = [&](const std::string& alphabet, std::size_t length,
                         const auto& self) -> void {
        if (text.size() == length) {
            const bool expected = reference(text);
            numbers += expected ? 1 : 0;
            ASSERT_EQ(IsBlankPaddedNumber(text), expected) << "\"" << text << "\"";
            return;
        }
        for (const char c : alphabet) {
            text.push_back(c);
            self(alphabet, length, self);
            text.pop_back();
            if (::testing::Test::HasFatalFailure()) return;
        }
    };
    for (std::size_t length = 0; length <= 4; ++length) {
        all(std::string(" \t+-.eE09/:x\xB0\xAE", 15), length, all);
    }
    for (std::size_t length = 5; length <= 9; ++length) all("09./:", length, all);
    all("1. e", 10, all);
    EXPECT_GT(numbers, 1000u);
}

TEST(FieldValue, SecondParsePlaceholders) {
    std::string out;
    AppendSecondParsePlaceholder(out, "&NAME", 3, 0, false, "strike", TextEncoding::Cp1252);
    EXPECT_EQ(out, "<\xBF&NAME>???");
    out.clear();
    AppendSecondParsePlaceholder(out, "&TOTAL", 6, 2, false, "strike", TextEncoding::Utf8);
    EXPECT_EQ(out, "<\xC2\xBF&TOTAL>???^??");
    out.clear();
    AppendSecondParsePlaceholder(out, "&NAME", 3, 0, true, "strike", TextEncoding::Cp1252);
    EXPECT_EQ(out, "{\\strike &NAME}???");
    out.clear();
    AppendSecondParsePlaceholder(out, "&W", 300, 0, false, "strike", TextEncoding::Cp1252);
    EXPECT_EQ(out.size(), 5u + 300u);
}

}  // namespace
}  // namespace quillon
