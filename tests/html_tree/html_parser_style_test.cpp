// Parser: what style sheets and STYLE attributes do to the document built - fonts and
// colours, alignment, hidden elements, page breaks, boxes around blocks, tables - and the
// style sheet files a document names.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "html/layout/box_style.h"
#include "html/layout/cell.h"
#include "html/layout/section_list.h"
#include "tests/html_tree/html_parser_test_support.h"

namespace quillon::testing {
namespace {

std::string Styled(std::string_view css, std::string_view body) {
    return ParseDump("<html><head><style>" + std::string(css) + "</style></head><body>" +
                     std::string(body) + "</body></html>");
}

TEST(HtmlParserStyle, SelectorsAndTheCascadeChooseTheFont) {
    // Type, class and id selectors; the more specific rule wins, then the later one.
    EXPECT_EQ(Styled("p { color: red } .a { color: #00f } #i { color: lime } p { color: red }",
                     "<p>x<p class=a>y<p class=a id=i>z"),
              "space h=14\nsection: {12 #FF0000} \"x\"\nspace h=14\nsection: {12 #0000FF} "
              "\"y\"\nspace h=14\nsection: {12 #00FF00} \"z\"\n");
    // The STYLE attribute beats every rule but an !important one.
    EXPECT_EQ(Styled("span { font-weight: bold } em { color: red !important }",
                     "<span style='font-weight: normal'>a</span><em style='color: blue'>b</em>"),
              "section: {12} \"a\" {12 I #FF0000} \"b\"\n");
    // Sizes in points; a heading keeps its own size unless the style sets one.
    EXPECT_EQ(Styled("body { font-size: 10pt } h2 { color: green } h3 { font-size: 9pt }",
                     "t<h2>A</h2><h3>B</h3>"),
              "section: {10} \"t\"\nheading-space 2 h=12\nsection: {18 B #008000} \"A\"\n"
              "heading-space 2 h=12\nheading-space 3 h=10\nsection: {9 B} \"B\"\n"
              "heading-space 3 h=10\n");
    // A FONT inside a styled element wins over it; the styled element's colour comes back
    // after the FONT ends.
    EXPECT_EQ(Styled(".c { color: red; font-family: monospace }",
                     "<span class=c>a<font color=blue>b</font>c</span>d"),
              "section: {fixed 12 #FF0000} \"a\" {fixed 12 #0000FF} \"b\" {fixed 12 #FF0000} "
              "\"c\" {12} \"d\"\n");
}

TEST(HtmlParserStyle, TextTransformChangesTheCaseOfTheText) {
    EXPECT_EQ(Styled(".u { text-transform: uppercase } .c { text-transform: capitalize }",
                     "<span class=u>caf&eacute; stra&szlig;e</span> <span class=c>vienna "
                     "o</span><span class=c>pera</span> <b class=u>x</b>"),
              "section: {12} \"CAFÉ STRAßE Vienna Opera \" {12 B} \"X\"\n");
}

TEST(HtmlParserStyle, MarginsSetTheSpaceBetweenParagraphsAndAroundHeadings) {
    // The larger of a bottom and the next top margin; a paragraph's top margin not given
    // counts as the space it has without style.
    EXPECT_EQ(Styled("p { margin: 0 } p.b { margin-bottom: 20px } h2 { margin: 3px 0 5px }",
                     "<p>a<p class=b>b<p>c</p><h2>h</h2>d"),
              "space h=0\nsection: {12} \"a\"\nspace h=0\nsection: {12} \"b\"\nspace "
              "h=20\nsection: {12} \"c\"\nspace h=0\nheading-space 2 h=3\nsection: {18 B} \"h\"\n"
              "heading-space 2 h=5\nsection: {12} \"d\"\n");
}

TEST(HtmlParserStyle, RaisedAndLoweredText) {
    EXPECT_EQ(Styled(".new { vertical-align: super } .idx { vertical-align: sub }",
                     "a<span class=new>N</span>b<span class=idx>2</span><sup>x<span "
                     "style='vertical-align: baseline'>y</span></sup>"),
              ParseDump("a<sup>N</sup>b<sub>2</sub><sup>x</sup>y"));
}

TEST(HtmlParserStyle, CellFontsAndWeights) {
    // TH is bold unless the style says otherwise; B inside it is still bold.
    EXPECT_EQ(Styled("th { font-weight: normal; color: white; background: #2a5d9f }",
                     "<table><tr><th>a<b>b</b></th><td>c</td></tr></table>"),
              "table padding=1 spacing=3\n  row\n    cell bgcolor=#2A5D9F\n      section "
              "align=center: {12 #FFFFFF} \"a\" {12 B #FFFFFF} \"b\"\n    cell\n      section: "
              "{12} \"c\"\n");
    // A row's weight and background reach its cells.
    EXPECT_EQ(Styled(".total { font-weight: bold; background: #eef }",
                     "<table><tr class=total><td>x</td></tr></table>"),
              "table padding=1 spacing=3\n  row bgcolor=#EEEEFF\n    cell\n      section: {12 B} "
              "\"x\"\n");
}

TEST(HtmlParserStyle, AlignmentFromTheStyleAndFromAttributes) {
    EXPECT_EQ(Styled("td.num { text-align: right } p { text-align: center }",
                     "<p>a<table><tr><td class=num>1</td><td align=center>2</td></tr></table>"),
              "space h=14\nsection align=center: {12} \"a\"\ntable padding=1 spacing=3\n  row\n"
              "    cell\n      section align=right: {12} \"1\"\n    cell\n      section "
              "align=center: {12} \"2\"\n");
    // An inherited alignment gives way to the element's own ALIGN.
    EXPECT_EQ(Styled("div { text-align: right }", "<div><p align=center>a<p>b</div>"),
              "space h=14\nsection align=center: {12} \"a\"\nspace h=14\nsection align=right: "
              "{12} \"b\"\n");
}

TEST(HtmlParserStyle, HiddenElementsLeaveNothing) {
    const char* css = ".h { display: none } img.h { display: none }";
    EXPECT_EQ(Styled(css, "a<span class=h>b<b>c</b></span>d"), "section: {12} \"ad\"\n");
    // Closed by the next paragraph rather than by an end tag.
    EXPECT_EQ(Styled(css, "<p class=h>gone<p>kept"), "space h=14\nsection: {12} \"kept\"\n");
    // Rows and cells, one after another, and a hidden picture.
    EXPECT_EQ(Styled(css,
                     "<table><tr class=h><td>1</td></tr><tr class=h><td>2</td></tr><tr><td "
                     "class=h>3</td><td>4<img class=h src=x.gif></td></tr></table>"),
              "table padding=1 spacing=3\n  row\n    cell\n      section: {12} \"4\"\n");
    // Hidden to the end of the document: nothing after it, and no failure.
    EXPECT_EQ(Styled(css, "a<div class=h>b<p>c"), "section: {12} \"a\"\n");
}

TEST(HtmlParserStyle, InlineElementsMadeBlocksStandOnTheirOwnLines) {
    EXPECT_EQ(Styled(".b { display: block; color: red }", "a<span class=b>b</span>c<b>d</b>"),
              "section: {12} \"a\"\nsection: {12 #FF0000} \"b\"\nsection: {12} \"c\" {12 B} "
              "\"d\"\n");
}

TEST(HtmlParserStyle, ListMarkersFromTheStyle) {
    const std::string out =
        Styled("ol.a { list-style-type: lower-alpha } ul.n { list-style: none }",
               "<ol class=a><li>x</ol><ul class=n><li>y</ul><ol><li>z</ol>");
    const std::string plain = Styled("", "<ol type=a><li>x</ol><ul plain><li>y</ul><ol><li>z</ol>");
    EXPECT_EQ(out, plain);
}

TEST(HtmlParserStyle, PageBreaksBeforeAndAfterBlocks) {
    EXPECT_EQ(Styled(".n { page-break-before: always } .e { break-after: page }",
                     "a<div class=n>b</div><div class=e>c</div>d<span class=n>e</span>"),
              "section: {12} \"a\"\npage\nsection: {12} \"b\"\nsection: {12} \"c\"\npage\n"
              "section: {12} \"de\"\n");
    // Not inside a table: a cell cannot break the page.
    EXPECT_EQ(Styled("p { page-break-before: always }", "<table><tr><td><p>x</td></tr></table>"),
              "table padding=1 spacing=3\n  row\n    cell\n      section: {12} \"x\"\n");
}

TEST(HtmlParserStyle, TableWidthAndCollapse) {
    EXPECT_EQ(Styled("table { width: 100%; border-collapse: collapse }",
                     "<table><tr><td>x</td></tr></table>"),
              "table padding=1 spacing=3 width=100% collapse\n  row\n    cell\n      section: {12} "
              "\"x\"\n");
}

// The boxes of the document's own sections, as "first/last" marks per section.
std::vector<std::string> BoxMarks(std::string_view html) {
    TSectionList doc;
    TNameList names;
    HtmlParseBuffer(doc, names, html);
    std::vector<std::string> marks;
    for (int i = 0; i < doc.Count(); ++i) {
        std::string m;
        if (const SectionBoxes* boxes = doc[i].Boxes()) {
            for (const BoxMembership& b : boxes->List()) {
                m += '[';
                if (b.First) m += 'F';
                if (b.Last) m += 'L';
                if (b.Style->Background) m += 'b';
                if (b.Style->Border[kBoxBottom].Shown()) m += '_';
                m += ']';
            }
        }
        marks.push_back(m.empty() ? "-" : m);
    }
    return marks;
}

TEST(HtmlParserStyle, BlocksWithBordersOrBackgroundsBecomeBoxes) {
    // A heading with a rule under it: the box holds the heading's text, not the spacing
    // before or after it.
    EXPECT_EQ(BoxMarks("<style>h1 { border-bottom: 2px solid #2a5d9f }</style><h1>T</h1>x"),
              (std::vector<std::string>{"-", "[FL_]", "-", "-"}));
    // Nested boxes list the outer one first; a box spans every section inside it.
    EXPECT_EQ(BoxMarks("<style>.o { background: #eee } .i { border: 1px solid red }</style>"
                       "<div class=o>a<br>b<div class=i>c</div></div>d"),
              (std::vector<std::string>{"[Fb]", "[b]", "[Lb][FL_]", "-"}));
    // Without style nothing has a box.
    EXPECT_EQ(BoxMarks("<div>a</div>"), (std::vector<std::string>{"-"}));
}

TEST(HtmlParserStyle, AttributeSelectorsTakeHyphenatedNames) {
    EXPECT_EQ(
        Styled("[data-total] { font-weight: bold } span[aria-label='Sum row'] { color: red }"
               "[data-x=\"2\"] { font-style: italic } [data-lang|=en] { color: blue }",
               "<span data-total>a</span><span aria-label='Sum row'>b</span>"
               "<span data-x=2>c</span><span data-x=3>d</span><span data-lang=en-GB>e</span>"),
        "section: {12 B} \"a\" {12 #FF0000} \"b\" {12 I} \"c\" {12} \"d\" {12 #0000FF} "
        "\"e\"\n");
    // Such an attribute no longer ends the tag's attributes, with or without style.
    EXPECT_EQ(ParseDump("<p data-row=1 align=center>x<p aria-hidden align=right>y"),
              ParseDump("<p align=center>x<p align=right>y"));
}

class StyleFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ =
            std::filesystem::temp_directory_path() /
            ("quillon-style-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_ / "css");
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    void Write(const std::string& name, const std::string& text) {
        std::ofstream(dir_ / name) << text;
    }
    std::string DumpFile(const std::string& name, css::Medium medium = css::Medium::Screen) {
        TSectionList doc;
        TNameList names;
        HtmlParseFile(doc, names, (dir_ / name).string(), medium);
        return DumpSections(doc);
    }
    std::filesystem::path dir_;
};

TEST_F(StyleFiles, LinkAndImportReadLocalFilesRelativeToTheirSheet) {
    Write("css/main.css", "@import 'colors.css'; p { font-weight: bold }");
    Write("css/colors.css", "p { color: red } @import 'late.css';");  // too late: ignored
    Write("css/late.css", "p { color: blue }");
    Write("print.css", "p { font-style: italic }");
    Write("doc.html",
          "<link rel=stylesheet href='css/main.css'><link rel=stylesheet href=print.css "
          "media=print><link rel=stylesheet href='http://example.invalid/x.css'>"
          "<link rel=icon href='css/late.css'><p>x");
    // The print sheet applies only when the document is laid out for paper.
    EXPECT_EQ(DumpFile("doc.html"), "space h=14\nsection: {12 B #FF0000} \"x\"\n");
    EXPECT_EQ(DumpFile("doc.html", css::Medium::Print),
              "space h=14\nsection: {12 B I #FF0000} \"x\"\n");
}

TEST_F(StyleFiles, ImportsAndMediaBlocksFollowTheMedium) {
    Write("print.css", "p { font-style: italic }");
    Write("doc.html",
          "<style>@import 'print.css' print; @media print { p { color: red } }"
          "@media screen { p { color: blue } }</style><p>x");
    EXPECT_EQ(DumpFile("doc.html"), "space h=14\nsection: {12 #0000FF} \"x\"\n");
    EXPECT_EQ(DumpFile("doc.html", css::Medium::Print),
              "space h=14\nsection: {12 I #FF0000} \"x\"\n");

    // A STYLE element's MEDIA list: its sheet counts only for that medium, also between
    // sheets for every medium, whose rules keep their order.
    Write("media.html",
          "<style>p { color: red }</style><style media=print>p { font-style: italic } "
          "p { color: green }</style><style media='screen'>p { font-weight: bold }}</style>"
          "<style>p { text-decoration: underline }</style><p>x");
    EXPECT_EQ(DumpFile("media.html"), "space h=14\nsection: {12 B U #FF0000} \"x\"\n");
    EXPECT_EQ(DumpFile("media.html", css::Medium::Print),
              "space h=14\nsection: {12 I U #008000} \"x\"\n");
}

// Whether the document may lay out differently for print: only media lists that take one
// of screen and print and not the other count, wherever they are written.
TEST_F(StyleFiles, TheParseTellsWhetherTheStyleDependsOnTheMedium) {
    const auto depends = [this](const std::string& html) {
        Write("doc.html", html);
        TSectionList doc;
        TNameList names;
        return HtmlParseFile(doc, names, (dir_ / "doc.html").string()).DependsOnMedium;
    };
    Write("plain.css", "p { color: red }");
    Write("nested.css", "@media print { p { color: red } }");
    EXPECT_FALSE(depends("<p>no style"));
    EXPECT_FALSE(depends("<p style='color: red'>x"));
    EXPECT_FALSE(depends("<style>p { color: red } @media all { p { margin: 0 } }</style><p>x"));
    EXPECT_FALSE(depends("<style>@media screen, print { p { color: red } }</style><p>x"));
    EXPECT_FALSE(depends("<style>@media (min-width: 10px) { p { color: red } }</style><p>x"));
    EXPECT_FALSE(depends("<link rel=stylesheet href=plain.css media='all'><p>x"));
    EXPECT_TRUE(depends("<style>@media print { p { color: red } }</style><p>x"));
    EXPECT_TRUE(depends("<style>@media only screen { p { color: red } }</style><p>x"));
    EXPECT_TRUE(depends("<style>@media not print { p { color: red } }</style><p>x"));
    EXPECT_TRUE(depends("<style>@media all { @media print { p { color: red } } }</style><p>x"));
    EXPECT_TRUE(depends("<style>@import 'plain.css' print;</style><p>x"));
    EXPECT_TRUE(depends("<style>@import 'nested.css';</style><p>x"));
    EXPECT_TRUE(depends("<link rel=stylesheet href=plain.css media=screen><p>x"));
    EXPECT_TRUE(depends("<link rel=stylesheet href=nested.css><p>x"));
    EXPECT_TRUE(depends("<style media=print>p { color: red }</style><p>x"));
    EXPECT_FALSE(depends("<style media=all>p { color: red }</style><p>x"));
    // A STYLE element later in the body counts too, and the answer is the same either way.
    Write("late.html", "<p>x<style>@media print { p { color: red } }</style><p>y");
    TSectionList doc;
    TNameList names;
    EXPECT_TRUE(HtmlParseFile(doc, names, (dir_ / "late.html").string(), css::Medium::Print)
                    .DependsOnMedium);
}

TEST_F(StyleFiles, ImportCyclesAndMissingFilesEndQuietly) {
    Write("a.css", "@import 'b.css'; p { color: red }");
    Write("b.css", "@import 'a.css'; @import 'missing.css'; p { font-weight: bold }");
    Write("doc.html", "<style>@import 'a.css';</style><p>x");
    EXPECT_EQ(DumpFile("doc.html"), "space h=14\nsection: {12 B #FF0000} \"x\"\n");
}

}  // namespace
}  // namespace quillon::testing
