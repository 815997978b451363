// Names, values and text are taken straight from the decode buffer where it holds plain
// characters. A tokenizer whose buffer holds one character reads everything one character at
// a time, so it is the reference: every other buffer size must give the same symbols,
// attributes and current characters, wherever the buffer boundaries fall.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/html_parse/token_helpers.h"

namespace quillon::testing {
namespace {

// Every symbol with its attributes (of the tags that keep them) and the character after it.
std::vector<std::string> Trace(HtmlTokenizer& tok) {
    std::vector<std::string> out;
    tok.NextChar();
    do {
        tok.NextSymbol();
        std::string s = std::to_string(static_cast<int>(tok.Sy())) + " [" +
                        text::ToUtf8(tok.LCToken()) + "] " + std::to_string(tok.TagValue()) +
                        " next " + std::to_string(tok.LCh());
        for (const TAttribute& a : tok.Attributes()) {
            s += ' ';
            s += std::to_string(static_cast<int>(a.Sym));
            s += '=';
            s += std::to_string(a.Number);
            s += ':';
            s += a.TextUtf8();
        }
        out.push_back(std::move(s));
    } while (tok.Sy() != Symb::EofSy);
    return out;
}

std::vector<std::string> TraceChunked(const std::string& html, std::size_t chunk) {
    std::istringstream in(html);
    HtmlTokenizer tok(MakeStreamSource(in, chunk), chunk);
    return Trace(tok);
}

std::vector<std::string> TraceDefault(const std::string& html) {
    HtmlTokenizer tok(MakeBufferSource(html));
    return Trace(tok);
}

std::string Sample() {
    std::string s =
        "<HTML><BODY BGCOLOR=\"#FFFFFF\" text=navy>\r\n"
        "<TABLE BORDER CELLSPACING=0 cellpadding = 2 WIDTH=\"100%\">\r\n"
        "<TR><TD ALIGN=RIGHT valign=top WIDTH=40%>1.25</TD>"
        "<TD\r\nALIGN\r\n=\r\nleft\tWIDTH=30 %\n>Item  name 7</TD>"
        "<td width=\"5\r\n0\" height=+12px colspan=-3 nowrap>a b &amp; c</td></TR></TABLE>\r\n"
        "<!-- a comment -- with -- dashes --><P>x<y>z a<!x>b <B >bold</B >\n\r"
        "<A HREF='a?x=1&amp;y=2 ' NAME=\"it's\">link</A><IMG SRC=a.gif ALT=\" an\timage \">"
        "<H3 align=center>Heading</H3>&copy; &#233; &#x20AC; text  with   spaces \r\n"
        "x<<B>y</ B><A\r\nHREF=\"<b>\">z</A>a>b c";
    // Names far beyond the kept length, with known attributes after them.
    s += "<" + std::string(400, 'q') + " BORDER=1>";
    s += "<TD " + std::string(300, 'Z') + "=5 ALIGN=RIGHT>";
    s += "\xC3\xA9t\xC3\xA9 caf\xC3\xA9</BODY></HTML>\r\n";
    return s;
}

TEST(TokenizerBuffer, EveryBufferSizeReadsLikeOneCharacterAtATime) {
    const std::string doc = Sample();
    const auto reference = TraceChunked(doc, 1);
    ASSERT_GT(reference.size(), 50u);
    for (std::size_t chunk : {2u, 3u, 4u, 5u, 6u, 7u, 8u, 11u, 13u, 16u, 17u, 61u, 4096u}) {
        EXPECT_EQ(TraceChunked(doc, chunk), reference) << chunk;
    }
    EXPECT_EQ(TraceDefault(doc), reference);
    // Preformatted text keeps its spaces, also when they are read from the buffer.
    std::istringstream in(doc);
    HtmlTokenizer pre(MakeStreamSource(in, 1), 1);
    pre.SetPreformatted(true);
    const auto pre_reference = Trace(pre);
    HtmlTokenizer fast(MakeBufferSource(doc));
    fast.SetPreformatted(true);
    EXPECT_EQ(Trace(fast), pre_reference);
}

// A tag read from a 4096-character buffer, with the buffer's end at each of its characters.
TEST(TokenizerBuffer, TagAcrossTheBufferEnd) {
    const std::string tag = "<TD ALIGN=RIGHT WIDTH=\"50%\" height=+7 vAlign=top>ab cd</TD><P>";
    for (std::size_t k = 4096 - tag.size(); k <= 4096; ++k) {
        const std::string doc = std::string(k, 'x') + tag + "e f";
        const auto got = TraceDefault(doc);
        EXPECT_EQ(got, TraceChunked(doc, 1)) << k;
    }
}

// ASCII is widened in blocks: a non-ASCII character at every place in and after a block.
TEST(TokenizerBuffer, NonAsciiAtEveryOffset) {
    const std::string ascii = "The-quick-brown-fox-jumps-over-the-lazy-dog.0123456789";
    for (std::size_t k = 0; k <= 40; ++k) {
        const std::string head = ascii.substr(0, k);
        EXPECT_EQ(JoinedText(Tokens(head + "\xC3\xA9" + ascii)), head + "\xC3\xA9" + ascii) << k;
        EXPECT_EQ(JoinedText(Tokens(head + "\xE9" + ascii)), head + "\xC3\xA9" + ascii) << k;
    }
}

}  // namespace
}  // namespace quillon::testing
