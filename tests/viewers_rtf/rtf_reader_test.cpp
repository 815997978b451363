#include "viewers/rtf/rtf_reader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "rtf_test_support.h"

namespace quillon::rtf {
namespace {

using testing::DescribeAll;
using ::testing::ElementsAre;

std::vector<std::string> Read(const std::string& rtf) {
    return DescribeAll(ReadRtf(rtf));
}

std::string TextOf(const std::string& rtf) {
    return ReadRtf(rtf).Text();
}

TEST(RtfReaderFormatting, GroupsRestoreWhatTheyChanged) {
    EXPECT_THAT(Read(R"({\rtf1 a{\b b{\i c}d}e\par})"), ElementsAre("a|<b>b|<b,i>c|<b>d|e"));
    // Switches with 0 turn off, \ulnone ends every underline kind.
    EXPECT_THAT(Read(R"({\rtf1\b\i\ul\strike x\b0 y\i0 z\ulnone w\uldb v\ul0 u\strike0 t})"),
                ElementsAre("<b,i,u,s>x|<i,u,s>y|<u,s>z|<s>w|<u,s>v|<s>u|t"));
    // \plain resets character formatting, \pard only the paragraph's.
    EXPECT_THAT(Read(R"({\rtf1\qc\b\fs40 x\pard y\plain z\par})"), ElementsAre("<b,20pt>xy|z"));
    // Hidden text is not shown; super- and subscripts are kept.
    EXPECT_THAT(Read(R"({\rtf1 H{\sub 2}O{\v hidden} x{\super 2}})"),
                ElementsAre("H|<_>2|O x|<^>2"));
}

TEST(RtfReaderFormatting, FontSizeAndColourTable) {
    const std::string rtf =
        R"({\rtf1{\colortbl;\red255\green0\blue0;\red0\green128\blue0;\blue200;})"
        R"(\fs20 small {\cf1 red}{\cf2\fs36 big green}{\cf3 blue}{\cf0 auto }{\cf9 none}\par})";
    EXPECT_THAT(Read(rtf), ElementsAre("<10pt>small |<10pt,#ff0000>red|<18pt,#008000>big green|"
                                       "<10pt,#0000c8>blue|<10pt>auto none"));
    // Odd half points, sizes clamped to what a page can hold, \fs alone is 12 points.
    EXPECT_THAT(Read(R"({\rtf1\fs21 a\fs999999999 b\fs-5 c\fs d})"),
                ElementsAre("<10.5pt>a|<1638pt>b|<1pt>c|d"));
}

TEST(RtfReaderFormatting, ParagraphAlignmentIsTheOneAtItsEnd) {
    const RtfDocument doc = ReadRtf(R"({\rtf1\qr right\par\pard centred\qc\par\qj just\par})");
    ASSERT_EQ(doc.paragraphs.size(), 3u);
    EXPECT_EQ(doc.paragraphs[0].alignment, RtfAlignment::Right);
    EXPECT_EQ(doc.paragraphs[1].alignment, RtfAlignment::Center);
    EXPECT_EQ(doc.paragraphs[2].alignment, RtfAlignment::Justify);
}

TEST(RtfReaderFonts, FontTableNamesFamiliesAndDefault) {
    const RtfDocument doc = ReadRtf(
        R"({\rtf1\deff1{\fonttbl{\f0\froman Times New Roman;}{\f1\fswiss\fprq2 Arial{\*\falt Helv};})"
        R"({\f7\fmodern Courier New;}}a{\f7 b}\plain c{\f99 d}})");
    ASSERT_EQ(doc.fonts.size(), 3u);
    EXPECT_EQ(doc.fonts[0].name, "Times New Roman");
    EXPECT_EQ(doc.fonts[1].name, "Arial");
    EXPECT_EQ(doc.fonts[1].family, RtfFontFamily::Swiss);
    EXPECT_TRUE(doc.fonts[2].fixed_pitch);
    EXPECT_THAT(DescribeAll(doc, {.fonts = true}),
                ElementsAre("<f=Arial>a|<f=Courier New>b|<f=Arial>cd"));
    // A table written without inner groups, the last entry without its ';'.
    const RtfDocument flat = ReadRtf(R"({\rtf1{\fonttbl\f0\fnil Symbol;\f1 Courier}\f1 x})");
    ASSERT_EQ(flat.fonts.size(), 2u);
    EXPECT_EQ(flat.fonts[1].name, "Courier");
    EXPECT_EQ(flat.paragraphs[0].runs[0].format.font, 1);
}

TEST(RtfReaderText, SkippedDestinationsShowNothing) {
    const std::string rtf =
        R"({\rtf1{\stylesheet{\s1 Heading;}}{\info{\title T}{\author A}})"
        R"({\header head}{\footer foot}{\*\generator Writer;}{\*\bkmkstart b}{\*\unknownword x})"
        R"({\pict\pngblip 89504e47}{\field{\*\fldinst HYPERLINK "x"}{\fldrslt link}} )"
        R"({\object\objemb{\objdata 0102}{\result shown}} body\par})";
    EXPECT_EQ(TextOf(rtf), "link shown body");
    // \upr's ANSI half is dropped for its \ud twin.
    EXPECT_EQ(TextOf(R"({\rtf1{\upr{ansi}{\*\ud{unicode}}}})"), "unicode");
    // \bin data is skipped by length, braces and backslashes inside included.
    EXPECT_EQ(TextOf(std::string(R"({\rtf1 a{\pict\bin4 }{\\}b})")), "ab");
}

TEST(RtfReaderText, BreaksTabsAndEscapes) {
    EXPECT_THAT(Read(R"({\rtf1 one\line two\tab three\par\par four\par})"),
                ElementsAre("one\u2028two\tthree", "", "four"));
    EXPECT_EQ(TextOf(R"({\rtf1 \\ \{ \} a\~b c\-d e\_f})"), "\\ { } a\u00A0b c\u00ADd e\u2011f");
    EXPECT_EQ(TextOf(R"({\rtf1\emdash\endash\bullet\lquote\rquote\ldblquote\rdblquote})"),
              "\u2014\u2013\u2022\u2018\u2019\u201C\u201D");
    // Line ends in the source are no text; a backslash before one ends the paragraph.
    EXPECT_THAT(Read("{\\rtf1 a\r\nb\\\nc}"), ElementsAre("ab", "c"));
    // Table cells become tab-separated lines.
    EXPECT_THAT(Read(R"({\rtf1\trowd\cellx100\cellx200 a\cell b\cell\row c\cell d\cell\row})"),
                ElementsAre("a\tb", "c\td"));
}

TEST(RtfReaderText, PageBreaks) {
    const RtfDocument doc = ReadRtf(
        R"({\rtf1 one\par\page two\page three\par\pard\pagebb four\par\pard five\par\page})");
    EXPECT_THAT(DescribeAll(doc),
                ElementsAre("one", "[page]two", "[page]three", "[page]four", "five"));
}

TEST(RtfReaderEncoding, CodePagesDecodeHexBytes) {
    // Windows-1252 without \ansicpg.
    EXPECT_EQ(TextOf(R"({\rtf1\ansi caf\'e9 \'80 \'93q\'94})"), "café € “q”");
    EXPECT_EQ(TextOf(R"({\rtf1\ansi\ansicpg1250 \'8a\'e8 \'b3\'f3d\'9f})"), "Šč łódź");
    EXPECT_EQ(TextOf(R"({\rtf1\ansi\ansicpg1251 \'cc\'ee\'f1\'ea\'e2\'e0})"), "Москва");
    EXPECT_EQ(TextOf(R"({\rtf1\ansi\ansicpg1257 \'d0iauli\'f8})"), "Šiaulių");
    // A code page unknown here falls back to 1252; undefined bytes are marked.
    EXPECT_EQ(TextOf(R"({\rtf1\ansi\ansicpg99999 \'e9\'81})"), "é\uFFFD");
    // A font's character set takes precedence over the document's code page.
    EXPECT_EQ(TextOf(R"({\rtf1\ansi\ansicpg1252{\fonttbl{\f0\fcharset0 A;}{\f1\fcharset204 B;}})"
                     R"(\f0\'e0{\f1\'e0}\'e0})"),
              "àаà");
    // Raw bytes above 0x7F are read as UTF-8 where they form it, else through the code page.
    EXPECT_EQ(TextOf("{\\rtf1\\ansicpg1251 \xcf\xf0\xe8}"), "При");
    EXPECT_EQ(TextOf("{\\rtf1\\ansicpg1251 \xc5\xbd"
                     "algiris \xe0}"),
              "Žalgiris а");
    EXPECT_EQ(TextOf("{\\rtf1\\uc1\\u1052 \xc5\xbd\xc5\xbd}"), "МŽ");
}

TEST(RtfReaderEncoding, GreekAndTurkishByDocumentCodePageOrFontCharset) {
    EXPECT_EQ(TextOf(R"({\rtf1\ansi\ansicpg1253 \'c1\'e8\'de\'ed\'e1})"), "Αθήνα");
    // Fonts of the Greek (161) and Turkish (162) character sets in a Western document; a
    // font's code page (\cpg) names the page itself.
    const std::string fonts =
        R"({\rtf1\ansi\ansicpg1252{\fonttbl{\f0\fcharset0 Arial;}{\f1\fcharset161 Arial Greek;})"
        R"({\f2\fcharset162 Arial Tur;}{\f3\cpg1253 Greek Too;}})";
    EXPECT_EQ(TextOf(fonts + R"(\f1\'e1\'e2{\f2 \'dd\'f0\'fc\'fe}\'e1 {\f3\'e1}\f0\'e1})"),
              "αβİğüşα αá");
}

TEST(RtfReaderEncoding, DoubleBytePagesReadHexBytePairs) {
    // Shift-JIS (128), GB 2312 (134) and Big5 (136) fonts: two \'hh bytes make one
    // character; a trail byte may also be written as itself or as an escaped symbol.
    const std::string fonts =
        R"({\rtf1\ansi\ansicpg1252\deff0{\fonttbl{\f0 Arial;}{\f1\fcharset128 MS Mincho;})"
        R"({\f2\fcharset134 SimSun;}{\f3\fcharset136 MingLiU;}})";
    EXPECT_EQ(TextOf(fonts + R"({\f1\'93\'fa\'96\'7b\'8c\'ea} {\f2\'d6\'d0\'ce\'c4} )"
                             R"({\f3\'a4\'a4\'a4\'e5}})"),
              "日本語 中文 中文");
    EXPECT_EQ(TextOf(fonts + R"(\f1\'96\{\'95\\\'93\'fax})"), "本表日x");
    // Korean through the document's code page.
    EXPECT_EQ(TextOf(R"({\rtf1\ansi\ansicpg949 \'c7\'d1\'b1\'b9})"), "한국");
    // A lead byte without its trail byte (cut off by a group or a control word) is marked,
    // and so is one whose next byte cannot trail it (that byte stays).
    EXPECT_EQ(TextOf(fonts + R"(\f1\'96{x}\'93\par\'93 x})"), "\uFFFDx\uFFFD\n\uFFFD x");
    // A whole Japanese document, and a Japanese font name in its font table.
    const RtfDocument doc = ReadRtf(
        R"({\rtf1\ansi\ansicpg932{\fonttbl{\f0\fcharset128 \'82\'6c\'82\'72 \'96\'be\'92\'a9;}})"
        R"(\f0\'93\'fa\'96\'7b})");
    ASSERT_EQ(doc.fonts.size(), 1u);
    EXPECT_EQ(doc.fonts[0].name, "ＭＳ 明朝");
    EXPECT_EQ(doc.Text(), "日本");
    // \uN with \uc2 skips the two bytes of its double-byte fallback.
    EXPECT_EQ(TextOf(fonts + R"(\f1\uc2\u26085\'93\'fa\u26412\'96\'7b!})"), "日本!");
}

TEST(RtfReaderEncoding, EveryWindowsPageByDocumentOrFontCharset) {
    // Hebrew, Arabic, Thai, Turkish and the double-byte pages as the document's code page.
    EXPECT_EQ(TextOf(R"({\rtf1\ansi\ansicpg1255 \'f9\'ec\'e5\'ed})"), "שלום");
    EXPECT_EQ(TextOf(R"({\rtf1\ansi\ansicpg1256 \'e3\'d1\'cd\'c8\'c7})"), "مرحبا");
    EXPECT_EQ(TextOf(R"({\rtf1\ansi\ansicpg874 \'e4\'b7\'c2})"), "ไทย");
    EXPECT_EQ(TextOf(R"({\rtf1\ansi\ansicpg1254 \'ddstanbul})"), "İstanbul");
    EXPECT_EQ(TextOf(R"({\rtf1\ansi\ansicpg936 \'d6\'d0\'b9\'fa})"), "中国");
    EXPECT_EQ(TextOf(R"({\rtf1\ansi\ansicpg950 \'a4\'a4\'a4\'e5})"), "中文");
    EXPECT_EQ(TextOf("{\\rtf1\\ansi\\ansicpg932 \x93\xfa\x8c\xea}"), "日語");  // raw bytes
    // The same through fonts' character sets in a Western document.
    const std::string fonts =
        R"({\rtf1\ansi\ansicpg1252{\fonttbl{\f0 Arial;}{\f1\fcharset177 Hebrew;})"
        R"({\f2\fcharset178 Arabic;}{\f3\fcharset222 Thai;}{\f4\fcharset129 Korean;}})";
    EXPECT_EQ(TextOf(fonts + R"({\f1\'f9\'ec\'e5\'ed} {\f2\'e3\'d1\'cd\'c8\'c7} )"
                             R"({\f3\'e4\'b7\'c2} {\f4\'c7\'d1\'b1\'b9} \'e9})"),
              "שלום مرحبا ไทย 한국 é");
}

TEST(RtfReaderEncoding, VietnameseToneMarksJoinTheirLetters) {
    // Windows-1258 writes a tone mark after its letter; the pair becomes one character
    // where Unicode has one, and stays a letter and a combining mark where it has none.
    EXPECT_EQ(TextOf(R"({\rtf1\ansi\ansicpg1258 Vi\'ea\'f2t Nam})"), "Việt Nam");
    EXPECT_EQ(
        TextOf(R"({\rtf1\ansi{\fonttbl{\f0\fcharset163 Times;}}\f0 Ti\'ea\'ecng Vi\'ea\'f2t})"),
        "Tiếng Việt");
    EXPECT_EQ(TextOf(R"({\rtf1\ansi\ansicpg1258 x\'ec \'ec})"), "x\u0301 \u0301");
    // A group or control word between letter and mark keeps them apart; a letter held for
    // its mark still ends a font's name.
    EXPECT_EQ(TextOf(R"({\rtf1\ansi\ansicpg1258 a{\b \'ec}e\par\'ecu})"), "a\u0301e\n\u0301u");
    const RtfDocument doc =
        ReadRtf(R"({\rtf1\ansi\ansicpg1258{\fonttbl{\f0 Vi\'ea\'f2t;}{\f1 Ha;}}\f0 x})");
    ASSERT_EQ(doc.fonts.size(), 2u);
    EXPECT_EQ(doc.fonts[0].name, "Việt");
    EXPECT_EQ(doc.fonts[1].name, "Ha");
}

TEST(RtfReaderEncoding, MacintoshCharacterSets) {
    // \mac makes Mac Roman the document's page; fonts name Mac Roman (77), Mac Central
    // European (88) and Mac Cyrillic (89) through their character sets.
    EXPECT_EQ(TextOf(R"({\rtf1\mac caf\'8e \'96 \'9f})"), "café ñ ü");
    const std::string fonts =
        R"({\rtf1\ansi\ansicpg1252{\fonttbl{\f0 Arial;}{\f1\fcharset77 Geneva;})"
        R"({\f2\fcharset88 Geneva CE;}{\f3\fcharset89 Geneva Cyr;}})";
    EXPECT_EQ(TextOf(fonts + R"({\f1\'8e} {\f2\'fc\'97d\'90} {\f3\'8f\'f0\'e8\'e2\'e5\'f2} \'8e})"),
              "é Łódź Привет Ž");
    EXPECT_EQ(TextOf(R"({\rtf1\ansi\ansicpg10000 \'8e})"), "é");
}

TEST(RtfReaderEncoding, UnicodeWithFallbackSkipping) {
    // \uN skips one fallback character by default, \ucN sets how many; a group end stops
    // the skipping; negative N stands for N + 65536.
    EXPECT_EQ(TextOf(R"({\rtf1 \u352?iauli\u371\'3f})"), "Šiaulių");
    EXPECT_EQ(TextOf(R"({\rtf1\uc2 \u1052\'cc\'cc a{\uc0 \u1086 b}\u1089??c})"), "М aоbсc");
    EXPECT_EQ(TextOf(R"({\rtf1\uc3{\u1052 x}y})"), "Мy");
    EXPECT_EQ(TextOf(R"({\rtf1 \u-3913 ?})"), "\uF0B7");
    // Surrogate pairs, written negative or positive; a lone half becomes U+FFFD.
    EXPECT_EQ(TextOf(R"({\rtf1 \u-10188?\u-8930?})"), "\U0001D11E");
    EXPECT_EQ(TextOf(R"({\rtf1 \u55348?\u56606?})"), "\U0001D11E");
    EXPECT_EQ(TextOf(R"({\rtf1 \u55348?x\u56606?\par})"), "\uFFFDx\uFFFD");
    // A fallback control word is skipped as one character.
    EXPECT_EQ(TextOf(R"({\rtf1 \u8364\emdash x})"), "€x");
}

TEST(RtfReaderHostile, RefusesWhatIsNoRtfWithAPosition) {
    try {
        ReadRtf("Hello, world");
        FAIL() << "no error";
    } catch (const ERtfError& e) {
        EXPECT_EQ(e.Position(), 0u);
        EXPECT_THAT(e.what(), ::testing::HasSubstr("not an RTF document"));
    }
    EXPECT_NO_THROW(ReadRtf("\xEF\xBB\xBF \r\n{\\rtf1 x}"));
    EXPECT_TRUE(LooksLikeRtf("  {\\rtf1"));
    EXPECT_FALSE(LooksLikeRtf("{\\RTF1"));
}

TEST(RtfReaderHostile, DeepNestingIsRefusedWithItsPosition) {
    std::string deep = "{\\rtf1 ";
    deep += std::string(100000, '{');
    try {
        ReadRtf(deep);
        FAIL() << "no error";
    } catch (const ERtfError& e) {
        EXPECT_EQ(e.Position(), 7u + kMaxRtfDepth - 1);
        EXPECT_THAT(e.what(), ::testing::HasSubstr("at byte"));
    }
    std::string fine = "{\\rtf1 " + std::string(kMaxRtfDepth - 1, '{') + "x";
    EXPECT_EQ(TextOf(fine), "x");
}

TEST(RtfReaderHostile, BrokenAndHugeInputNeverFails) {
    // Truncated documents keep what they hold; text after the last brace is ignored.
    EXPECT_EQ(TextOf(R"({\rtf1{\b bold)"), "bold");
    EXPECT_EQ(TextOf(R"({\rtf1 a} trailing {b})"), "a");
    // Broken escapes, a backslash at the very end, huge numbers and \bin lengths.
    EXPECT_EQ(TextOf(R"({\rtf1 a\'zzb\'4)"), "azzb4");
    EXPECT_EQ(TextOf("{\\rtf1 a\\"), "a");
    EXPECT_EQ(TextOf(R"({\rtf1\uc0\u99999999999 x\cf-99999999999 y\f123456789012 z)"
                     R"(\fs-2147483648 w})"),
              "xyzw");
    EXPECT_EQ(TextOf(R"({\rtf1\uc99999999999 \u1052 abcdefghijklmnopqrstuvwxyz})"), "Мqrstuvwxyz");
    EXPECT_EQ(TextOf(R"({\rtf1\uc1 \u-99999999999 xy})"), "y");
    EXPECT_EQ(TextOf(R"({\rtf1 a{\bin99999999999 xyz}})"), "a");
    EXPECT_EQ(TextOf(R"({\rtf1 a\bin-5 b})"), "ab");
    // A \u with no number and a control word of many letters are just unknown words.
    EXPECT_EQ(TextOf("{\\rtf1 \\u x\\" + std::string(1000, 'a') + " y}"), "xy");
    // Control characters in the text are dropped, a tab kept.
    EXPECT_EQ(TextOf("{\\rtf1 a\x01\tb\\'00c}"), "a\tbc");
}

}  // namespace
}  // namespace quillon::rtf
