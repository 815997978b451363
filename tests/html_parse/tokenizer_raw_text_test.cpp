// SCRIPT, STYLE and TEMPLATE: their contents never become text; the text of STYLE is kept.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "html/parse/parse_error.h"
#include "tests/html_parse/token_helpers.h"

namespace quillon::testing {
namespace {

using ::testing::ElementsAre;

std::string StyleSheetOf(std::string_view html) {
    HtmlTokenizer tok(MakeBufferSource(html));
    Drain(tok);
    return text::ToUtf8(tok.StyleSheet());
}

TEST(TokenizerRawText, ScriptAndStyleGiveOneSymbolAndNoText) {
    EXPECT_THAT(Tokens("a<style>p { color: red }</style>b<SCRIPT LANGUAGE=js>if (a<b) x();"
                       "</SCRIPT>c"),
                ElementsAre(Txt("a"), Tok(Symb::StyleSy), Txt("b"), Tok(Symb::ScriptSy), Txt("c")));
    // With or without comment wrappers, and with markup-like text inside.
    for (const char* doc : {"<style><!-- td { x: '</td>' } --></style>ok",
                            "<script><!--\ndocument.write('<b>no</b>');\n// --></script>ok",
                            "<script>a = '</scripts>'; b = \"<!--\";</script >ok",
                            "<Script>x</sCRIPT\n>ok", "<style/>x { }</style>ok"}) {
        EXPECT_EQ(JoinedText(Tokens(doc)), "ok") << doc;
    }
}

TEST(TokenizerRawText, TextRunsToTheEndOfInputWithoutAnEndTag) {
    EXPECT_EQ(JoinedText(Tokens("a<script>never closed </scrip")), "a");
    // An open comment inside is text of the script, not an open comment.
    EXPECT_NO_THROW(Tokens("<script><!-- x"));
    EXPECT_EQ(StyleSheetOf("<style>p {}"), "p {}\n");
}

TEST(TokenizerRawText, StyleTextIsKeptInOrder) {
    EXPECT_EQ(StyleSheetOf("<style>a { b: c }</style>x<STYLE type=text/css>\r\n"
                           "td.num { text-align: right; }\t</style>"),
              "a { b: c }\n\ntd.num { text-align: right; } \n");
    EXPECT_EQ(StyleSheetOf("<style></style><script>no { }</script>"), "");
    // In a preformatted block the text is read the same way.
    HtmlTokenizer tok(MakeBufferSource("<style>x  y</style>"));
    tok.SetPreformatted(true);
    Drain(tok);
    EXPECT_EQ(text::ToUtf8(tok.StyleSheet()), "x  y\n");
}

TEST(TokenizerRawText, TemplatesAreSkippedWithTheirNestedTemplates) {
    EXPECT_THAT(Tokens("a<template><b>x</b><template>y</template>z<style>s{}</style>"
                       "</template>c"),
                ElementsAre(Txt("a"), Tok(Symb::OtherSy), Txt("c")));
    // A style inside a template is not part of the document's style sheet.
    EXPECT_EQ(StyleSheetOf("<template><style>s{}</style></template><style>t{}</style>"), "t{}\n");
    EXPECT_EQ(JoinedText(Tokens("a<template>never closed")), "a");
    // Deep nesting costs no stack.
    std::string deep;
    for (int i = 0; i < 100000; ++i) deep += "<template>";
    EXPECT_EQ(JoinedText(Tokens(deep + "x")), "");
}

// Self-closing syntax: the '/' is passed over; on a tag that has contents it is a start tag.
TEST(TokenizerRawText, SelfClosingSyntax) {
    EXPECT_THAT(Tokens("<br/>a<p/>b<hr />"),
                ElementsAre(Tok(Symb::BRSy), Txt("a"), Tok(Symb::PSy), Txt("b"), Tok(Symb::HRSy)));
    HtmlTokenizer tok(MakeBufferSource("<img src=\"a.gif\" alt='x'/><a/href=\"b.htm\">"));
    tok.NextChar();
    tok.NextSymbol();
    ASSERT_EQ(tok.Sy(), Symb::ImageSy);
    EXPECT_EQ(tok.Attributes().Find(Symb::SrcSy)->TextUtf8(), "a.gif");
    EXPECT_EQ(tok.Attributes().Find(Symb::AltSy)->TextUtf8(), "x");
    tok.NextSymbol();
    ASSERT_EQ(tok.Sy(), Symb::ASy);
    EXPECT_EQ(tok.Attributes().Find(Symb::HrefSy)->TextUtf8(), "b.htm");
}

}  // namespace
}  // namespace quillon::testing
