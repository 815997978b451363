// Parser: lists, preformatted text, tables, forms, maps, and nesting limits.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/html_tree/html_parser_test_support.h"

namespace quillon::testing {
namespace {

TEST(HtmlParserLists, EveryKindAndNesting) {
    EXPECT_EQ(ParseDump("<UL><LI>a<OL START=3 TYPE=a><LI>b<LI>c</OL><LI>d</UL>"
                        "<DL><DT>t<DD>d</DL><DIR><LI>e</DIR><MENU><LI><P>f</MENU>"
                        "<UL PLAIN><LI>g</UL>"),
              "ul level=1: {12} \"a\"\n"
              "ol 3 a level=2: {12} \"b\"\n"
              "ol 4 a level=2: {12} \"c\"\n"
              "ul level=1: {12} \"d\"\n"
              "dl: {12} \"t\"\n"
              "dl level=1: {12} \"d\"\n"
              "ul level=1: {12} \"e\"\n"
              "ul level=1: {12} \"f\"\n"
              "ul plain level=1: {12} \"g\"\n");
    // Any list end tag ends the innermost list; the outer one ends at the end of input.
    EXPECT_EQ(ParseDump("<UL><LI>a<OL><LI>b</UL>c"),
              "ul level=1: {12} \"a\"\nol 1 1 level=2: {12} \"b\"\nsection level=1: {12} \"c\"\n");
    EXPECT_EQ(ParseDump("<BLOCKQUOTE>q<UL><LI>i</UL></BLOCKQUOTE>after"),
              "section level=1: {12} \"q\"\nul level=2: {12} \"i\"\nsection: {12} \"after\"\n");
}

// START below 1 has no letter or roman form: such lists count in decimal.
TEST(HtmlParserLists, StartBelowOneCountsInDecimal) {
    EXPECT_EQ(ParseDump("<OL START=0 TYPE=I><LI>a<LI>b</OL><OL START=0><LI>c</OL>"
                        "<OL START=-4 TYPE=i><LI>d</OL>"),
              "ol 0 1 level=1: {12} \"a\"\nol 1 1 level=1: {12} \"b\"\n"
              "ol 0 1 level=1: {12} \"c\"\nol 1 i level=1: {12} \"d\"\n");
}

// Numbering stops at the largest int instead of wrapping to negative numbers.
TEST(HtmlParserLists, NumbersSaturateAtTheLargestStart) {
    EXPECT_EQ(ParseDump("<OL START=2147483646><LI>a<LI>b<LI>c</OL>"),
              "ol 2147483646 1 level=1: {12} \"a\"\nol 2147483647 1 level=1: {12} \"b\"\n"
              "ol 2147483647 1 level=1: {12} \"c\"\n");
    EXPECT_EQ(ParseDump("<OL START=2147483647 TYPE=A><LI>a<LI>b</OL>"),
              "ol 2147483647 A level=1: {12} \"a\"\nol 2147483647 A level=1: {12} \"b\"\n");
}

TEST(HtmlParserLists, ListInsideACellEndsAtTheNextCell) {
    // The TD that ends the list's cell is not swallowed: it starts the second cell.
    EXPECT_EQ(ParseDump("<TABLE><TR><TD><UL><LI>a<TD>b</TABLE>"),
              "table padding=1 spacing=3\n"
              "  row\n"
              "    cell\n"
              "      ul level=1: {12} \"a\"\n"
              "    cell\n"
              "      section: {12} \"b\"\n");
}

TEST(HtmlParserPre, LinesTagsAndFonts) {
    EXPECT_EQ(ParseDump("<PRE>\r\nab  c\r\n\r\n<B>x</B> &lt;y&gt;<BR>z<TABLE>\r\n</PRE>next"),
              "pre: {fixed 10} \"ab  c\"\n"
              "pre: {fixed 10} \" \"\n"
              "pre: {fixed 10 B} \"x\" {fixed 10} \" <y>\"\n"
              "pre: {fixed 10} \"z\"\n"
              "section: {12} \"next\"\n");
    // A second block starts in the font the first one ended with.
    EXPECT_EQ(ParseDump("<PRE><FONT SIZE=5>a</PRE><PRE>b</PRE>"),
              "pre: {fixed 15} \"a\"\npre: {fixed 15} \"b\"\n");
    // Long lines are flushed in pieces into the same section.
    const std::string longline(450, 'x');
    EXPECT_EQ(ParseDump("<PRE>" + longline + "</PRE>"), "pre: {fixed 10} \"" + longline + "\"\n");
}

TEST(HtmlParserTables, CellsRowsSpansCaptions) {
    EXPECT_EQ(ParseDump("<TABLE BORDER=1 CELLPADDING=4 WIDTH=\"90%\">"
                        "<CAPTION ALIGN=bottom>cap</CAPTION>"
                        "<TR ALIGN=right VALIGN=top><TH>h<TD COLSPAN=2 ROWSPAN=3 ALIGN=center>c"
                        "<TR><TD VALIGN=bottom><P ALIGN=right>p</TD></TR></TABLE>"),
              "table border padding=5 spacing=3 width=90%\n"
              "  row\n"
              "    cell valign=top\n"
              "      section align=right: {12 B} \"h\"\n"
              "    cell span=2x3 valign=top\n"
              "      section align=center: {12} \"c\"\n"
              "  row\n"
              "    cell valign=bottom\n"
              "      section align=right: {12} \"p\"\n"
              "  caption bottom\n"
              "    section align=center: {12} \"cap\"\n");
}

TEST(HtmlParserTables, TextBetweenCellsGoesBeforeTheTable) {
    EXPECT_EQ(ParseDump("<TABLE>x<TR><TD>y</TD> z <TD>w</TABLE>after"),
              "section: {12} \"x\"\n"
              "section: {12} \"z \"\n"
              "table padding=1 spacing=3\n"
              "  row\n"
              "    cell\n"
              "      section: {12} \"y\"\n"
              "    cell\n"
              "      section: {12} \"w\"\n"
              "section: {12} \"after\"\n");
    // A TD without TR starts a row; an unclosed table ends with the input.
    EXPECT_EQ(ParseDump("<TABLE><TD>a<TD>b"),
              "table padding=1 spacing=3\n  row\n    cell\n      section: {12} \"a\"\n"
              "    cell\n      section: {12} \"b\"\n");
}

TEST(HtmlParserTables, CellsRestoreFontsAndStyles) {
    EXPECT_EQ(ParseDump("<TABLE><TR><TD><FONT SIZE=7><B>a<TD>b</TABLE>c"),
              "table padding=1 spacing=3\n"
              "  row\n"
              "    cell\n"
              "      section: {36 B} \"a\"\n"
              "    cell\n"
              "      section: {12} \"b\"\n"
              "section: {12} \"c\"\n");
}

TEST(HtmlParserForms, EveryControl) {
    const std::string dump = ParseDocDump(
        "<FORM METHOD=post ACTION=\"/cgi/x\">"
        "<INPUT NAME=a SIZE=5 MAXLENGTH=9><INPUT TYPE=password NAME=p>"
        "<INPUT TYPE=checkbox NAME=c VALUE=y CHECKED><INPUT TYPE=radio NAME=r VALUE=1>"
        "<INPUT TYPE=hidden NAME=h VALUE=v><INPUT TYPE=submit VALUE=Go><INPUT TYPE=reset>"
        "<INPUT TYPE=image NAME=i SRC=go.gif><INPUT TYPE=foo NAME=f>"
        "<SELECT NAME=s><OPTION>one<OPTION SELECTED VALUE=2>two </OPTION> stray</SELECT>"
        "<SELECT NAME=m SIZE=2><OPTION>x</SELECT>"
        "<TEXTAREA NAME=t ROWS=2>\r\nl1 <b>\r\nl2</TEXTAREA>after</FORM>");
    EXPECT_THAT(dump, ::testing::HasSubstr("form method=post action=\"/cgi/x\"\n"));
    EXPECT_THAT(dump, ::testing::HasSubstr("  combo name=\"s\"\n    option \"one\"\n"
                                           "    option \"two\" value=\"2\" selected\n"));
    EXPECT_THAT(dump, ::testing::HasSubstr("  listbox name=\"m\""));
    EXPECT_THAT(dump, ::testing::HasSubstr("  textarea name=\"t\" rows=2 cols=30\n"
                                           "    line \"l1 <b>\"\n    line \"l2\"\n"));
    for (const char* kind :
         {"edit name=\"a\"", "checkbox name=\"c\"", "radio name=\"r\"", "hidden name=\"h\"",
          "submit", "reset", "image name=\"i\"", "edit name=\"f\""}) {
        EXPECT_THAT(dump, ::testing::HasSubstr(kind)) << kind;
    }
    EXPECT_THAT(dump, ::testing::HasSubstr("\"after\""));
}

// Controls outside FORM share one implicit form until the next FORM or /FORM.
TEST(HtmlParserForms, ImplicitFormLastsUntilFormOrFormEnd) {
    TSectionList doc;
    TNameList names;
    HtmlParseBuffer(doc, names,
                    "<INPUT NAME=a><INPUT NAME=b></FORM><INPUT NAME=c><FORM><INPUT NAME=d>");
    ASSERT_EQ(doc.Forms().size(), 3u);
    EXPECT_EQ(doc.Forms()[0]->FormControls().size(), 2u);
    EXPECT_EQ(doc.Forms()[1]->FormControls().size(), 1u);
    EXPECT_EQ(doc.Forms()[2]->FormControls().size(), 1u);
}

TEST(HtmlParserMaps, ClosedMapsJoinTheDocument) {
    const std::string dump = ParseDocDump(
        "<MAP NAME=nav><AREA SHAPE=rect COORDS=\"0,0,10,10\" HREF=a.htm>"
        "<AREA SHAPE=circle COORDS=5,5,2 NOHREF></MAP><MAP NAME=open><AREA>");
    EXPECT_THAT(dump, ::testing::HasSubstr("map \"NAV\"\n  area rect 0,0,10,10 href=\"a.htm\"\n"));
    EXPECT_THAT(dump, ::testing::Not(::testing::HasSubstr("OPEN")));
}

// Nesting is capped, so deep input cannot exhaust the stack; deeper tags are ignored.
TEST(HtmlParserLimits, DeepNestingIsCapped) {
    std::string deep;
    for (int i = 0; i < 20000; ++i) deep += "<TABLE><TR><TD><UL><LI><CENTER><DIV><BLOCKQUOTE>";
    deep += "x";
    const std::string dump = ParseDump(deep);
    EXPECT_THAT(dump, ::testing::HasSubstr("\"x\""));
    std::string fonts;
    for (int i = 0; i < 1000; ++i) fonts += "<FONT SIZE=7><H1><BIG><TT><A HREF=x>";
    EXPECT_THAT(ParseDump(fonts + "y"), ::testing::HasSubstr("\"y\""));
}

}  // namespace
}  // namespace quillon::testing
