// Parser: headings, paragraphs, breaks, rules, pages, fonts, links, BODY and plain text.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "html/parse/parse_error.h"
#include "tests/html_tree/html_parser_test_support.h"

namespace quillon::testing {
namespace {

TEST(HtmlParserBlocks, HeadingsParagraphsBreaksRulesPages) {
    EXPECT_EQ(ParseDump("<H1>Title</H1><P>Para <B>bold</B> <I>it</I><BR>line2<HR SIZE=3>"
                        "<PAGE>after"),
              "heading-space 1 h=16\n"
              "section: {24 B} \"Title\"\n"
              "heading-space 1 h=16\n"
              "space h=14\n"
              "section: {12} \"Para \" {12 B} \"bold\" {12} \" \" {12 I} \"it\"\n"
              "section: {12} \"line2\"\n"
              "rule size=3 h=21\n"
              "page\n"
              "section: {12} \"after\"\n");
    // Several P in a row give one space; the last ALIGN counts.
    EXPECT_EQ(ParseDump("<P><P></P><P ALIGN=right>text"),
              "space h=14\nsection align=right: {12} \"text\"\n");
    // H7 reads as a level-0 heading (the 7 goes with the rest of the tag); H3 aligned.
    EXPECT_EQ(ParseDump("<H3 ALIGN=center>a</H3><H7>b</H7>"),
              "heading-space 3 h=10\nsection align=center: {15 B} \"a\"\nheading-space 3 h=10\n"
              "heading-space 0 h=8\nsection: {12} \"b\"\nheading-space 0 h=8\n");
}

TEST(HtmlParserBlocks, BreakKeepsAlignmentAndClears) {
    EXPECT_EQ(ParseDump("<P ALIGN=center>a<BR>b<BR CLEAR=left><BR CLEAR=all>c"),
              "space h=14\n"
              "section align=center: {12} \"a\"\n"
              "section align=center: {12} \"b\"\n"
              "section align=center clear=left: {12} \" \"\n"
              "section align=center clear=all: {12} \"c\"\n");
}

TEST(HtmlParserBlocks, CenterAndDiv) {
    EXPECT_EQ(ParseDump("a<CENTER>b<DIV ALIGN=right>c</DIV>d</CENTER>e"),
              "section: {12} \"a\"\n"
              "section align=center: {12} \"b\"\n"
              "section align=right: {12} \"c\"\n"
              "section align=center: {12} \"d\"\n"
              "section: {12} \"e\"\n");
}

TEST(HtmlParserBlocks, FontsAndStyles) {
    EXPECT_EQ(ParseDump("<FONT SIZE=+1>a</FONT><BASEFONT SIZE=5>b<FONT SIZE=+1>c</FONT>"
                        "<FONT SIZE=9 COLOR=red FACE=\" Arial , Helvetica\">d</FONT>"),
              "section: {14} \"a\" {18} \"b\" {24} \"c\" {\"Arial\" 36 #FF0000} \"d\"\n");
    EXPECT_EQ(ParseDump("<TT>t</TT><U>u</U><S>s</S>H<SUB>2</SUB>O<SUP>x</SUP>"),
              "section: {fixed 10} \"t\" {12 U} \"u\" {12 S} \"s\" {12} \"H\" {9 sub} \"2\" "
              "{12} \"O\" {9 sup} \"x\"\n");
}

// BASEFONT before the first block sets the font; later it only sets the base size.
TEST(HtmlParserBlocks, BaseFontOnlyAtTheStart) {
    EXPECT_EQ(ParseDump("<BASEFONT SIZE=5>a"), "section: {18} \"a\"\n");
    EXPECT_EQ(ParseDump("a<P><BASEFONT SIZE=5>b<FONT SIZE=-1>c"),
              "section: {12} \"a\"\nspace h=14\nsection: {12} \"b\" {14} \"c\"\n");
}

TEST(HtmlParserBlocks, BigAndSmallPopTheirOwnFont) {
    // BIG at size 7 pushes an unchanged copy: </BIG> restores the size-7 font, not 12.
    EXPECT_EQ(ParseDump("<FONT SIZE=7><BIG>a</BIG>b</FONT>c"),
              "section: {36} \"a\" {36} \"b\" {12} \"c\"\n");
    // SMALL at size 1, and BIG inside a heading (a size in no table).
    EXPECT_EQ(ParseDump("<FONT SIZE=1><SMALL>a</SMALL>b</FONT>c"),
              "section: {8} \"a\" {8} \"b\" {12} \"c\"\n");
    EXPECT_EQ(ParseDump("<H3><BIG>a</BIG>b</H3>"),
              "heading-space 3 h=10\nsection: {15 B} \"a\" {15 B} \"b\"\nheading-space 3 h=10\n");
    EXPECT_EQ(ParseDump("<BIG>a</BIG><SMALL>b</SMALL>"), "section: {14} \"a\" {10} \"b\"\n");
}

TEST(HtmlParserBlocks, LinksAndNames) {
    TSectionList doc;
    TNameList names;
    HtmlParseBuffer(doc, names, "<A NAME=Top>x</A><P><A HREF=\"b.htm\" TARGET=main>link</A> after");
    EXPECT_EQ(DumpSections(doc),
              "section: {12} \"x\"\nspace h=14\n"
              "section: {12 U href=\"b.htm\" target=\"main\"} \"link\" {12} \" after\"\n");
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(names[0].Name, "TOP");
    EXPECT_EQ(names[0].Section, &doc[0]);
}

TEST(HtmlParserBlocks, TitleAndBase) {
    TSectionList doc;
    TNameList names;
    const auto r = HtmlParseBuffer(doc, names,
                                   "<HEAD><TITLE>Caf&eacute; list</TITLE><BASE HREF=\"http://x/\" "
                                   "TARGET=_top></HEAD>text");
    EXPECT_EQ(r.Title, "Caf\xC3\xA9 list");
    EXPECT_EQ(r.Base, "http://x/");
    EXPECT_EQ(r.BaseTarget, "_top");
}

TEST(HtmlParserBlocks, BodyAppliesOnlyBeforeContent) {
    TSectionList doc;
    TNameList names;
    HtmlParseBuffer(doc, names,
                    "<TITLE>t</TITLE><BODY TEXT=navy LINK=#00FF00 BGCOLOR=yellow "
                    "BACKGROUND=paper.gif>a");
    EXPECT_EQ(doc.TextColor(), 0x000080u);
    EXPECT_EQ(doc.LinkColor(), 0x00FF00u);
    EXPECT_EQ(doc.Background(), 0xFFFF00u);
    EXPECT_EQ(doc.BackgroundImageName(), "paper.gif");
    EXPECT_EQ(
        DumpDocument(doc),
        "document base=\"Times New Roman\" fixed=\"Courier New\" size=12 text=#000080 "
        "link=#00FF00 background=#FFFF00 background-image=\"paper.gif\"\nsection: {12} \"a\"\n");

    // Text typed before BODY is kept, and the late BODY is ignored.
    TSectionList late;
    HtmlParseBuffer(late, names, "some text<BODY BGCOLOR=red>more");
    EXPECT_EQ(late.Background(), 0xFFFFFFu);
    EXPECT_EQ(DumpSections(late), "section: {12} \"some textmore\"\n");
}

TEST(HtmlParserBlocks, CommentsAndScripts) {
    EXPECT_EQ(ParseDump("<!DOCTYPE html>a<!-- x -->b<SCRIPT><!-- hidden() --></SCRIPT>c"),
              "section: {12} \"abc\"\n");
}

TEST(HtmlParserBlocks, PlainText) {
    TSectionList doc;
    TNameList names;
    HtmlParseTextStrings(doc, names, {"<B>not a tag</B> &amp;", "", "tab\there <!-- x"});
    EXPECT_EQ(DumpSections(doc),
              "pre: {fixed 10} \"<B>not a tag</B> &amp;\"\n"
              "pre: {fixed 10} \" \"\n"
              "pre: {fixed 10} \"tab here <!-- x\"\n");
}

TEST(HtmlParserBlocks, ControlCharactersCannotPoseAsPlaceholders) {
    EXPECT_EQ(ParseDump(std::string("<PRE>a\x02"
                                    "b\x04"
                                    "c</PRE>")),
              "pre: {fixed 10} \"a b c\"\n");
    TSectionList doc;
    TNameList names;
    HtmlParseTextStrings(doc, names, {std::string("x\x04y\x02")});
    EXPECT_EQ(DumpSections(doc), "pre: {fixed 10} \"x y \"\n");
    // Outside PRE they are dropped.
    EXPECT_EQ(ParseDump(std::string("a\x04"
                                    "b")),
              "section: {12} \"ab\"\n");
}

TEST(HtmlParserBlocks, FormFeedsInPlainTextEndThePage) {
    const auto dump = [](const std::vector<std::string>& lines) {
        TSectionList doc;
        TNameList names;
        HtmlParseTextStrings(doc, names, lines);
        return DumpSections(doc);
    };
    // As the engine writes a text report: the footer line, then the marker starting the
    // next page's first line.
    EXPECT_EQ(dump({"one", "(continued)", "\fPage 2"}),
              "pre: {fixed 10} \"one\"\n"
              "pre: {fixed 10} \"(continued)\"\n"
              "page\n"
              "pre: {fixed 10} \"Page 2\"\n");
    // Inside a line it splits the line; alone on its line the line end goes with it, an
    // empty line after that stays.
    EXPECT_EQ(dump({"a\fb", "\f", "", "c"}),
              "pre: {fixed 10} \"a\"\n"
              "page\n"
              "pre: {fixed 10} \"b\"\n"
              "page\n"
              "pre: {fixed 10} \" \"\n"
              "pre: {fixed 10} \"c\"\n");
    // No empty sheets: none at the start or the end, several in a row make one break.
    EXPECT_EQ(dump({"\f\fx\f\f", "y\f", "\f"}),
              "pre: {fixed 10} \"x\"\n"
              "page\n"
              "pre: {fixed 10} \"y\"\n");
    // Other control characters still read as blanks.
    EXPECT_EQ(dump({"p\vq"}), "pre: {fixed 10} \"p q\"\n");
}

TEST(HtmlParserBlocks, ErrorLeavesAnEmptyDocument) {
    TSectionList doc;
    TNameList names = {{"OLD", nullptr}};
    EXPECT_THROW(HtmlParseBuffer(doc, names,
                                 "<BODY BGCOLOR=red><A NAME=x>text</A><FORM><INPUT>"
                                 "<MAP NAME=m></MAP><TABLE><TR><TD>cell<!-- open"),
                 EParseError);
    EXPECT_TRUE(doc.Empty());
    EXPECT_TRUE(doc.Forms().empty());
    EXPECT_TRUE(doc.ImageMaps().empty());
    EXPECT_EQ(doc.Background(), 0xFFFFFFu);
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(names[0].Name, "OLD");
    EXPECT_THROW(HtmlParseFile(doc, names, "/nonexistent/x.htm"), std::ios_base::failure);
}

TEST(HtmlParserBlocks, AllSourcesAgree) {
    const std::string html = "<P>one\r\n<B>two</B>\r\n";
    const std::string expected = ParseDump(html);
    TNameList names;
    TSectionList a;
    HtmlParseStrings(a, names, {"<P>one", "<B>two</B>"});
    EXPECT_EQ(DumpSections(a), expected);
    TSectionList b;
    std::istringstream in(html);
    HtmlParseStream(b, names, in);
    EXPECT_EQ(DumpSections(b), expected);
}

}  // namespace
}  // namespace quillon::testing
