// Tags, attributes, attribute values and colours.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "html/parse/html_color.h"
#include "html/parse/html_number.h"
#include "tests/html_parse/token_helpers.h"

namespace quillon::testing {
namespace {

using ::testing::ElementsAre;

// Reads the first symbol of `html` and hands the tokenizer to the caller.
struct FirstTag {
    explicit FirstTag(std::string s) : src(std::move(s)), tok(MakeBufferSource(src)) {
        tok.NextChar();
        tok.NextSymbol();
    }
    const TAttribute& Attr(Symb s) const {
        const TAttribute* a = tok.Attributes().Find(s);
        if (!a) throw std::runtime_error("attribute missing");
        return *a;
    }
    std::string src;
    HtmlTokenizer tok;
};

TEST(TokenizerTags, StartAndEndTags) {
    EXPECT_THAT(Tokens("<html><B>x</b></HTML>"),
                ElementsAre(Tok(Symb::HtmlSy), Tok(Symb::BSy), Txt("x"), Tok(Symb::BEndSy),
                            Tok(Symb::HtmlEndSy)));
    // Tags without an end symbol, and unknown tags, give OtherSy.
    EXPECT_THAT(Tokens("</BR></li><blink><TR></TR><Page>"),
                ElementsAre(Tok(Symb::OtherSy), Tok(Symb::OtherSy), Tok(Symb::OtherSy),
                            Tok(Symb::TRSy), Tok(Symb::TREndSy), Tok(Symb::PageSy)));
}

// Names are looked up by their first eight characters packed together, then the rest: only
// the exact name matches, whatever it shares with a known one.
TEST(TokenizerTags, NamesMatchExactly) {
    EXPECT_EQ(FirstTag("<BLOCKQUOTE>").tok.Sy(), Symb::BlockQuoteSy);
    for (const char* name : {"BLOCKQUOTX", "BLOCKQUOT", "BLOCKQUOTES", "TABL", "TABLES", "BASEFON",
                             "BASEFONTS", "TEXTAREAS", "TDX"}) {
        EXPECT_EQ(FirstTag(std::string("<") + name + ">").tok.Sy(), Symb::OtherSy) << name;
    }
    FirstTag td("<TD CELLPADDING=1 CELLPADDINX=2 MARGINHEIGHT=3 MARGINHEIGHX=4 MARGINHEIGH=5>");
    std::vector<Symb> syms;
    for (const TAttribute& a : td.tok.Attributes()) syms.push_back(a.Sym);
    EXPECT_THAT(syms, ElementsAre(Symb::CellPaddingSy, Symb::OtherAttribute, Symb::MarginHeightSy,
                                  Symb::OtherAttribute, Symb::OtherAttribute));
    EXPECT_EQ(JoinedText(Tokens("&frac14;&frac16x;&Agrave;&AGRAVE;&sup2;&sup")),
              "\xC2\xBC&frac16x;\xC3\x80&AGRAVE;\xC2\xB2&sup");
}

TEST(TokenizerTags, HeadingLevels) {
    FirstTag h("<h3 align=center>");
    EXPECT_EQ(h.tok.Sy(), Symb::HeadingSy);
    EXPECT_EQ(h.tok.TagValue(), 3);
    ASSERT_EQ(h.tok.Attributes().Count(), 1u);
    EXPECT_EQ(h.Attr(Symb::AlignSy).Text, U"center");
    EXPECT_THAT(Tokens("<H7>x</H2>"),
                ElementsAre(Tok(Symb::HeadingSy, "", 0), Txt("x"), Tok(Symb::HeadingEndSy, "", 2)));
}

TEST(TokenizerAttributes, Values) {
    EXPECT_EQ(FirstTag("<TABLE BORDER>").Attr(Symb::BorderSy).Number, 1);
    EXPECT_EQ(FirstTag("<TABLE BORDER=abc>").Attr(Symb::BorderSy).Number, 1);
    EXPECT_EQ(FirstTag("<TABLE BORDER=0>").Attr(Symb::BorderSy).Number, 0);

    FirstTag td("<TD WIDTH=\"50%\" height=' 7 ' align=RIGHT>");
    EXPECT_EQ(td.Attr(Symb::WidthSy).Text, U"50%");
    EXPECT_EQ(td.Attr(Symb::WidthSy).Number, 50);
    EXPECT_EQ(td.Attr(Symb::HeightSy).Text, U"7");
    EXPECT_EQ(td.Attr(Symb::HeightSy).Number, 7);
    EXPECT_EQ(td.Attr(Symb::AlignSy).Text, U"RIGHT");

    FirstTag font("<FONT SIZE=+2 color=#00ff00 face=\"Arial, Helvetica\">");
    EXPECT_EQ(font.Attr(Symb::SizeSy).Text, U"+2");
    EXPECT_EQ(font.Attr(Symb::SizeSy).Number, 2);
    EXPECT_EQ(font.Attr(Symb::ColorSy).Text, U"#00ff00");
    EXPECT_EQ(font.Attr(Symb::FaceSy).Text, U"Arial, Helvetica");

    FirstTag numeric("<TD width=30 % height=12px colspan=-3>");
    EXPECT_EQ(numeric.Attr(Symb::WidthSy).Text, U"30%");
    EXPECT_EQ(numeric.Attr(Symb::WidthSy).Number, 30);
    EXPECT_EQ(numeric.Attr(Symb::HeightSy).Text, U"12PX");  // numeric values are upper-cased
    EXPECT_EQ(numeric.Attr(Symb::HeightSy).Number, 0);
    EXPECT_EQ(numeric.Attr(Symb::ColSpanSy).Number, -3);
}

TEST(TokenizerAttributes, QuotedValuesDecodeEntitiesAndDropLineEnds) {
    FirstTag a("<A HREF=\"a?x=1&amp;y=2\r\n&lt;\" NAME='it''s'>");
    EXPECT_EQ(a.tok.Sy(), Symb::ASy);
    EXPECT_EQ(a.Attr(Symb::HrefSy).Text, U"a?x=1&y=2<");
    EXPECT_EQ(a.Attr(Symb::NameSy).Text, U"it");
}

TEST(TokenizerAttributes, NamesWithDigitsAndHyphensAreReadWhole) {
    // An unknown name with '-', '_', ':', '.' or digits after its first letter neither ends
    // the attribute list nor loses the attributes after it.
    FirstTag img("<IMG data-x=1 aria_2:b.c SRC=a.gif -y=2 ALT=z>");
    ASSERT_EQ(img.tok.Attributes().Count(), 3u);
    EXPECT_EQ(img.tok.Attributes()[0].Sym, Symb::OtherAttribute);
    EXPECT_EQ(img.tok.Attributes()[1].Sym, Symb::OtherAttribute);
    ASSERT_NE(img.tok.Attributes().Find(Symb::SrcSy), nullptr);
    EXPECT_EQ(img.tok.Attributes().Find(Symb::SrcSy)->Text, U"a.gif");
    // A name must start with a letter: "-y=2" ends the list there.
    EXPECT_EQ(img.tok.Attributes().Find(Symb::AltSy), nullptr);
    // Known names are still recognised when a digit or hyphen follows nothing of theirs.
    FirstTag td("<TD ALIGN=right data-row=3 VALIGN=top>");
    EXPECT_NE(td.tok.Attributes().Find(Symb::AlignSy), nullptr);
    EXPECT_NE(td.tok.Attributes().Find(Symb::VAlignSy), nullptr);
}

TEST(TokenizerAttributes, EveryStartTagHasItsOwnListWithNames) {
    HtmlTokenizer tok(MakeBufferSource("<IMG SRC=a.gif><B CLASS=x data-k=v>t</B><P ALIGN=center>"));
    tok.KeepAttributeNames(true);
    tok.NextChar();
    tok.NextSymbol();
    tok.NextSymbol();
    EXPECT_EQ(tok.Sy(), Symb::BSy);
    EXPECT_EQ(tok.TagName(), "B");
    EXPECT_EQ(tok.Attributes().Find(Symb::SrcSy), nullptr);
    ASSERT_NE(tok.Attributes().Find(Symb::ClassSy), nullptr);
    ASSERT_EQ(tok.Attributes().Count(), 2u);
    EXPECT_EQ(tok.Attributes()[1].Name, "DATA-K");  // upper case, hyphen kept
    tok.NextSymbol();
    tok.NextSymbol();  // an end tag keeps the start tag's list
    EXPECT_TRUE(tok.EndTag());
    EXPECT_NE(tok.Attributes().Find(Symb::ClassSy), nullptr);
    tok.NextSymbol();
    EXPECT_EQ(tok.Sy(), Symb::PSy);
    EXPECT_EQ(tok.Attributes().Find(Symb::ClassSy), nullptr);
    EXPECT_NE(tok.Attributes().Find(Symb::AlignSy), nullptr);
    EXPECT_FALSE(tok.StyleHint());
}

TEST(TokenizerAttributes, StyleIsHintedByItsThreeSigns) {
    const auto hinted = [](const char* html) {
        HtmlTokenizer tok(MakeBufferSource(html));
        tok.NextChar();
        do tok.NextSymbol();
        while (tok.Sy() != Symb::EofSy);
        return tok.StyleHint();
    };
    EXPECT_FALSE(hinted("<p class=a id=b align=center>x<font color=red>y</font>"));
    EXPECT_TRUE(hinted("<span style='color: red'>x</span>"));
    EXPECT_TRUE(hinted("<link rel=stylesheet href=a.css>"));
    EXPECT_TRUE(hinted("<style></style>x"));
}

TEST(TokenizerAttributes, EndOfInputInsideATagOrValue) {
    EXPECT_THAT(Tokens("x<A HREF=\"never"), ElementsAre(Txt("x"), Tok(Symb::ASy)));
    EXPECT_THAT(Tokens("x<TABLE BORDER"), ElementsAre(Txt("x"), Tok(Symb::TableSy)));
}

TEST(TokenizerNumbers, OverflowReadsAsInvalid) {
    EXPECT_EQ(ParseSignedInt(U"2147483647"), 2147483647);
    EXPECT_EQ(ParseSignedInt(U"-2147483648"), INT32_MIN);
    EXPECT_EQ(ParseSignedInt(U"2147483648"), std::nullopt);
    EXPECT_EQ(ParseSignedInt(U"99999999999999999999999"), std::nullopt);
    EXPECT_EQ(ParseSignedInt(U"+"), std::nullopt);
    EXPECT_EQ(ParseSignedInt(U"1 2"), std::nullopt);
    EXPECT_EQ(FirstTag("<TD WIDTH=99999999999999999999>").Attr(Symb::WidthSy).Number, 0);
    EXPECT_EQ(FirstTag("<TD WIDTH=\"-99999999999%\">").Attr(Symb::WidthSy).Number, 0);
}

TEST(TokenizerColors, NamesAndHexValues) {
    EXPECT_EQ(GetColor(U"red"), 0x0000FFu);
    EXPECT_EQ(GetColor(U"#FF0000"), 0x0000FFu);
    EXPECT_EQ(GetColor(U"FF0000"), 0x0000FFu);
    EXPECT_EQ(GetColor(U"Navy"), 0x800000u);
    EXPECT_EQ(GetColor(U"#123456"), 0x563412u);
    EXPECT_EQ(GetColor(U"#GG0000"), std::nullopt);
    EXPECT_EQ(GetColor(U""), std::nullopt);
    EXPECT_EQ(GetColor(U"#"), std::nullopt);
    // Masked to 24 bits; more than 32 bits is malformed.
    EXPECT_EQ(GetColor(U"#7F123456"), 0x563412u);
    EXPECT_EQ(GetColor(U"#1FFFFFFFF"), std::nullopt);
}

}  // namespace
}  // namespace quillon::testing
