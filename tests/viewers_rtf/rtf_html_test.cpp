#include "viewers/rtf/rtf_html.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "rtf_test_support.h"
#include "viewers/rtf/rtf_reader.h"

namespace quillon::rtf {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

constexpr std::string_view kHead = "<HTML><HEAD></HEAD><BODY>\n";
constexpr std::string_view kTail = "</BODY></HTML>\n";

// The HTML of an RTF document without the frame around the paragraphs.
std::string Body(const std::string& rtf) {
    const std::string html = RtfToHtml(ReadRtf(rtf));
    EXPECT_TRUE(html.starts_with(kHead)) << html;
    EXPECT_TRUE(html.ends_with(kTail)) << html;
    return html.substr(kHead.size(), html.size() - kHead.size() - kTail.size());
}

TEST(RtfToHtml, EmptyDocumentAndTitle) {
    EXPECT_EQ(RtfToHtml(RtfDocument{}), std::string(kHead) + std::string(kTail));
    EXPECT_EQ(Body(R"({\rtf1})"), "");
    EXPECT_THAT(RtfToHtml(RtfDocument{}, "a<b>&c.rtf"),
                HasSubstr("<TITLE>a&lt;b&gt;&amp;c.rtf</TITLE>"));
}

TEST(RtfToHtml, TextIsEscapedAndFormatsBecomeTags) {
    EXPECT_EQ(Body(R"({\rtf1 if a<b && c>d\par})"),
              "<DIV ALIGN=left><FONT SIZE=3>if a&lt;b &amp;&amp; c&gt;d</FONT></DIV>\n");
    // Every character format, closed in the reverse order.
    EXPECT_EQ(Body(R"({\rtf1{\colortbl;\red255\green0\blue128;})"
                   R"(\fs20 n{\b\i\ul\strike\cf1 x}{\super 2}{\sub 3}\par})"),
              "<DIV ALIGN=left><FONT SIZE=2>n</FONT>"
              "<FONT SIZE=2 COLOR=\"#ff0080\"><B><I><U><S>x</S></U></I></B></FONT>"
              "<FONT SIZE=2><SUP>2</SUP></FONT><FONT SIZE=2><SUB>3</SUB></FONT></DIV>\n");
    // Alignment; justified text is set flush left.
    EXPECT_EQ(Body(R"({\rtf1\qc c\par\pard\qr r\par\pard\qj j\par})"),
              "<DIV ALIGN=center><FONT SIZE=3>c</FONT></DIV>\n"
              "<DIV ALIGN=right><FONT SIZE=3>r</FONT></DIV>\n"
              "<DIV ALIGN=left><FONT SIZE=3>j</FONT></DIV>\n");
}

TEST(RtfToHtml, FontsByNameAndFixedPitchInTT) {
    const std::string html =
        Body(R"({\rtf1{\fonttbl{\f0\fswiss Helvetica;}{\f1\fmodern Courier New;}{\f2 Say "Hi";}})"
             R"(\f0 a{\f1 b}{\f2 c}\par})");
    EXPECT_EQ(html,
              "<DIV ALIGN=left><FONT FACE=\"Helvetica\" SIZE=3>a</FONT>"
              "<TT><FONT FACE=\"Courier New\" SIZE=3>b</FONT></TT>"
              "<FONT FACE=\"Say &quot;Hi&quot;\" SIZE=3>c</FONT></DIV>\n");
}

TEST(RtfToHtml, SizesGoToTheNearestOfTheSevenHtmlSizes) {
    EXPECT_EQ(HtmlFontSizeOf(1), 1);
    EXPECT_EQ(HtmlFontSizeOf(8), 1);
    EXPECT_EQ(HtmlFontSizeOf(9), 1);  // halfway: the smaller
    EXPECT_EQ(HtmlFontSizeOf(9.5), 2);
    EXPECT_EQ(HtmlFontSizeOf(10), 2);
    EXPECT_EQ(HtmlFontSizeOf(12), 3);
    EXPECT_EQ(HtmlFontSizeOf(16), 4);
    EXPECT_EQ(HtmlFontSizeOf(18), 5);
    EXPECT_EQ(HtmlFontSizeOf(24), 6);
    EXPECT_EQ(HtmlFontSizeOf(31), 7);
    EXPECT_EQ(HtmlFontSizeOf(1638), 7);
}

TEST(RtfToHtml, BlanksTabsAndLineBreaksKeepTheirPlaces) {
    // A single blank between words may break the line; further blanks and blanks at the
    // start of a line keep their width.
    EXPECT_EQ(Body(R"({\rtf1   a b   c\par})"),
              "<DIV ALIGN=left><FONT SIZE=3>&nbsp;&nbsp;a b &nbsp;&nbsp;c</FONT></DIV>\n");
    // A tab reaches the next multiple of eight characters of its line; \line starts a
    // new line, counted from its start.
    EXPECT_EQ(Body(R"({\rtf1 ab\tab c\line\tab de\par})"),
              "<DIV ALIGN=left><FONT SIZE=3>ab&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;c<BR>"
              "&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;de</FONT></DIV>\n");
    // Columns count characters, not bytes: "\u0160" is one character.
    EXPECT_EQ(Body(R"({\rtf1 \u352?\tab x\par})"),
              "<DIV ALIGN=left><FONT SIZE=3>\xC5\xA0&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;x"
              "</FONT></DIV>\n");
    // The blank state carries over from run to run.
    EXPECT_EQ(Body(R"({\rtf1 a {\b  b}\par})"),
              "<DIV ALIGN=left><FONT SIZE=3>a </FONT><FONT SIZE=3><B>&nbsp;b</B></FONT></DIV>\n");
}

TEST(RtfToHtml, EmptyParagraphsAndLinesKeepTheirHeight) {
    EXPECT_EQ(Body(R"({\rtf1\fs36 a\par\fs16\par b\line\par})"),
              "<DIV ALIGN=left><FONT SIZE=5>a</FONT></DIV>\n"
              "<DIV ALIGN=left><FONT SIZE=1>&nbsp;</FONT></DIV>\n"
              "<DIV ALIGN=left><FONT SIZE=1>b<BR></FONT><FONT SIZE=1>&nbsp;</FONT></DIV>\n");
}

TEST(RtfToHtml, PageBreaksBecomePageTagsButNeverAnEmptyFirstOrLastSheet) {
    EXPECT_EQ(Body(R"({\rtf1\page one\par\page two\par\pard\pagebb three\par\page})"),
              "<DIV ALIGN=left><FONT SIZE=3>one</FONT></DIV>\n"
              "<PAGE>\n"
              "<DIV ALIGN=left><FONT SIZE=3>two</FONT></DIV>\n"
              "<PAGE>\n"
              "<DIV ALIGN=left><FONT SIZE=3>three</FONT></DIV>\n");
}

TEST(RtfToHtml, TheEnginesInvoiceReportHasEveryInvoiceOnAPageOfItsOwn) {
    const std::string html =
        RtfToHtml(ReadRtf(testing::Fixture("engine_invoice.rtf")), "invoice.rtf");
    std::size_t pages = 0;
    for (std::size_t at = html.find("<PAGE>"); at != std::string::npos;
         at = html.find("<PAGE>", at + 1)) {
        ++pages;
    }
    EXPECT_EQ(pages, 5u);  // six invoices
    EXPECT_THAT(html, HasSubstr("<B>Customer: Baltic Timber"));
    EXPECT_THAT(html, HasSubstr("Total Baltic Timber &nbsp;"));
    EXPECT_THAT(html, HasSubstr("\xC5\xBD"
                                "algiris Sport"));  // UTF-8 of the Ž
    EXPECT_THAT(html, Not(HasSubstr("\\")));        // no RTF left
}

}  // namespace
}  // namespace quillon::rtf
