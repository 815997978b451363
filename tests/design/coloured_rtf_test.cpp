// The coloured RTF document: header, spans, "\par" lines, escaping of RTF's own characters
// and of everything outside ASCII.

#include <gtest/gtest.h>

#include <string>

#include "design/coloured_rtf.h"

namespace quillon::design {
namespace {

const std::string kHeader =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deftab720\r\n"
    "{\\fonttbl\r\n"
    "{\\f1\\fmodern\\fcharset0 Courier New;}\r\n"
    "{\\f2\\fnil\\fcharset1 Arial;}}\r\n"
    "{\\colortbl\\red0\\green0\\blue0;\\red0\\green128\\blue0;}\r\n"
    "\\deflang1063\\pard\\plain\\f1\\fs20\\cf0\r\n";

std::string Body(const std::vector<std::u16string>& lines, ColouredRtfOptions options = {}) {
    const std::string rtf = BuildColouredRtf(lines, options);
    const std::size_t end = rtf.find("\\cf0\r\n") + 6;
    return rtf.substr(end);
}

// Whether the braces that RTF reads as groups (not escaped) balance and never go below 0.
bool GroupsBalance(const std::string& rtf) {
    int depth = 0;
    for (std::size_t i = 0; i < rtf.size(); ++i) {
        if (rtf[i] == '\\') {
            ++i;  // the escaped character or the control word's first letter
        } else if (rtf[i] == '{') {
            ++depth;
        } else if (rtf[i] == '}' && --depth < 0) {
            return false;
        }
    }
    return depth == 0;
}

TEST(ColouredRtfTest, HeaderLinesAndParagraphs) {
    EXPECT_EQ(BuildColouredRtf({u"<HTML>", u"^^R<BR>", u"@0<BR>", u"text"}, {}),
              kHeader +
                  "\\cf1 <HTML>\\cf0 \r\n"
                  "\\par ^^R\\cf1 <BR>\\cf0 \r\n"
                  "\\par @0\\cf1 <BR>\\cf0 \r\n"
                  "\\par text\r\n"
                  "\\par }\r\n");
    EXPECT_EQ(BuildColouredRtf({}, {}), kHeader + "\\par }\r\n");
    EXPECT_EQ(Body({u""}), "\r\n\\par }\r\n");
}

TEST(ColouredRtfTest, FontSizeColourAndName) {
    ColouredRtfOptions options;
    options.font_name = "Liberation Mono";
    options.font_charset = 186;
    options.font_size_pt = 10.5;
    options.span_color = 0x123456;
    const std::string rtf = BuildColouredRtf({u"x"}, options);
    EXPECT_NE(rtf.find("{\\f1\\fmodern\\fcharset186 Liberation Mono;}\r\n"), std::string::npos);
    EXPECT_NE(rtf.find("\\red18\\green52\\blue86;}"), std::string::npos);
    EXPECT_NE(rtf.find("\\f1\\fs21\\cf0"), std::string::npos);
    // A font name outside ASCII or with RTF's own characters stays one well-formed name.
    options.font_name = "Mono{\xC3\xA9}";
    const std::string odd = BuildColouredRtf({u"x"}, options);
    EXPECT_NE(odd.find("Mono\\{\\u233?\\};}"), std::string::npos);
    EXPECT_TRUE(GroupsBalance(odd));
}

TEST(ColouredRtfTest, RtfCharactersAreEscapedInAndOutOfSpans) {
    EXPECT_EQ(Body({u"a{b}\\c"}), "a\\{b\\}\\\\c\r\n\\par }\r\n");
    EXPECT_EQ(Body({u"<a href=\"{x}\">\\</a>"}),
              "\\cf1 <a href=\"\\{x\\}\">\\cf0 \\\\\\cf1 </a>\\cf0 \r\n\\par }\r\n");
    EXPECT_EQ(Body({u"x\ty"}), "x\\tab y\r\n\\par }\r\n");
}

TEST(ColouredRtfTest, RtfCharactersAsDelimitersCannotBreakTheDocument) {
    ColouredRtfOptions braces;
    braces.open = u'{';
    braces.close = u'}';
    const std::string body = Body({u"a{b}c", u"}{x{"}, braces);
    EXPECT_EQ(body, "a\\cf1 \\{b\\}\\cf0 c\r\n\\par \\}\\{x\\{\r\n\\par }\r\n");
    ColouredRtfOptions backslash;
    backslash.open = u'\\';
    backslash.close = u'/';
    EXPECT_EQ(Body({u"a\\b/c"}, backslash), "a\\cf1 \\\\b/\\cf0 c\r\n\\par }\r\n");
    for (const auto& options : {braces, backslash}) {
        EXPECT_TRUE(GroupsBalance(BuildColouredRtf({u"{\\}{", u"\\{}}", u"{a}\\b/"}, options)));
    }
}

TEST(ColouredRtfTest, CharactersOutsideAsciiAreEscapedNeverRaw) {
    // e acute, the euro sign, a character of the upper half of the BMP, and an emoji
    // (a surrogate pair, each unit written as a signed 16-bit number).
    const std::u16string line = u"\u00E9\u20AC\uFFFD\U0001F600";
    EXPECT_EQ(Body({line}), "\\u233?\\u8364?\\u-3?\\u-10179?\\u-8704?\r\n\\par }\r\n");
    EXPECT_EQ(Body({u"\u00A0<\u00E9>"}), "\\u160?\\cf1 <\\u233?>\\cf0 \r\n\\par }\r\n");
    const std::string rtf = BuildColouredRtf({u"\u00FF\u0100\x7F\x01 \u4E2D\u6587"}, {});
    for (unsigned char c : rtf) {
        EXPECT_TRUE(c == '\r' || c == '\n' || (c >= 0x20 && c < 0x7F)) << int(c);
    }
}

}  // namespace
}  // namespace quillon::design
