// Text runs, line ends and comments (character references: tokenizer_entity_test.cpp).

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "html/parse/parse_error.h"
#include "tests/html_parse/token_helpers.h"

namespace quillon::testing {
namespace {

using ::testing::ElementsAre;

TEST(TokenizerText, WhiteSpaceFoldsOutsidePreformatted) {
    EXPECT_THAT(Tokens("Tom  &amp;\r\n  Jerry"), ElementsAre(Txt("Tom "), Txt("&"), Txt(" Jerry")));
}

TEST(TokenizerText, LineEndsAndTabsNormalise) {
    for (const char* src : {"a\r\nb", "a\n\rb", "a\nb", "a\rb"}) {
        HtmlTokenizer tok(MakeBufferSource(src));
        tok.SetPreformatted(true);
        EXPECT_EQ(JoinedText(Drain(tok)), "a\rb") << src;
    }
    HtmlTokenizer tok(MakeBufferSource("a\tb\r\r\n"));
    tok.SetPreformatted(true);
    EXPECT_EQ(JoinedText(Drain(tok)), "a b\r\r");
}

TEST(TokenizerText, LongRunsSplitAt100Characters) {
    const std::string s(250, 'x');
    EXPECT_THAT(Tokens(s), ElementsAre(Txt(std::string(100, 'x')), Txt(std::string(100, 'x')),
                                       Txt(std::string(50, 'x'))));
    // The limit counts characters, not bytes.
    std::string u;
    for (int i = 0; i < 150; ++i) u += "\xC3\xA9";  // é
    const auto t = Tokens(u);
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(text::CharCount(t[0].text, text::TextEncoding::Utf8), 100u);
}

TEST(TokenizerText, StrayCharactersAreOtherChar) {
    EXPECT_THAT(Tokens("a>b\x01"), ElementsAre(Txt("a"), Tok(Symb::OtherChar, ">"), Txt("b"),
                                               Tok(Symb::OtherChar, "\x01")));
}

TEST(TokenizerText, CtrlZEndsInput) {
    EXPECT_THAT(Tokens(std::string("ab\x1A") + "cd"), ElementsAre(Txt("ab")));
}

TEST(TokenizerComments, CommentsAndDeclarationsDisappear) {
    EXPECT_EQ(JoinedText(Tokens("a<!-- x -- y -->b")), "ab");
    EXPECT_EQ(JoinedText(Tokens("<!DOCTYPE HTML PUBLIC \"x\">a")), "a");
    EXPECT_EQ(JoinedText(Tokens("a<!-- -- >b")), "ab");
    EXPECT_EQ(JoinedText(Tokens("a<!--1--><!--2--><!x>b")), "ab");
    EXPECT_EQ(JoinedText(Tokens("a<!-- - -> --->b")), "ab");
}

TEST(TokenizerComments, OpenCommentAtEndRaises) {
    EXPECT_THROW(Tokens("a<!-- never closed"), EParseError);
    EXPECT_THROW(Tokens("a<!DOCTYPE"), EParseError);
    try {
        Tokens("<!--");
        FAIL();
    } catch (const EParseError& e) {
        EXPECT_STREQ(e.what(), "Open Comment at End of HTML File");
    }
}

// The comment state ends with the comment: the end of input after it is no error.
TEST(TokenizerComments, InputAfterAClosedCommentIsNotAnOpenComment) {
    EXPECT_EQ(JoinedText(Tokens("<!-- c -->text")), "text");
    EXPECT_EQ(JoinedText(Tokens("<!DOCTYPE html>")), "");
    EXPECT_NO_THROW(Tokens("<!x>a<B>b"));
}

TEST(TokenizerTextArea, RawScanner) {
    HtmlTokenizer tok(MakeBufferSource("a &amp; <b>\r\nline2</TEXTAREA>x"));
    tok.NextChar();
    std::vector<Token> got;
    do {
        tok.NextTextAreaSymbol();
        got.push_back({tok.Sy(), text::ToUtf8(tok.LCToken()), 0});
    } while (tok.Sy() != Symb::TextAreaEndSy && tok.Sy() != Symb::EofSy);
    EXPECT_THAT(got,
                ElementsAre(Txt("a &amp; "), Tok(Symb::OtherSy, "<b"), Txt(">"), Tok(Symb::EolSy),
                            Txt("line2"), Tok(Symb::TextAreaEndSy, "</TEXTAREA")));
    EXPECT_EQ(tok.LCh(), U'>');
}

}  // namespace
}  // namespace quillon::testing
