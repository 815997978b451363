// Parser: elements with display: inline-block take one place in the line they are in, their
// content goes to a cell of their own, and the line goes on after them; nesting, lists and
// tables inside them, and elements that never close.

#include <gtest/gtest.h>

#include "tests/html_tree/html_parser_test_support.h"

namespace quillon::testing {
namespace {

std::string Styled(std::string_view css, std::string_view body) {
    return ParseDump("<html><head><style>" + std::string(css) + "</style></head><body>" +
                     std::string(body) + "</body></html>");
}

constexpr std::string_view kBlock = ".b { display: inline-block }";

TEST(HtmlParserInlineBlock, TheLineGoesOnAfterTheBlock) {
    EXPECT_EQ(Styled(".b { display: inline-block; width: 50px; border: 1px solid red }",
                     "<p>a <span class=b>b<br>c</span> d</p>"),
              "space h=14\nsection: {12} \"a \" [inline-block] \" d\"\n"
              "  inline-block width=50\n    section: {12} \"b\"\n    section: {12} \"c\"\n"
              "space h=14\n");
    // DIV and its newer names too: their lines are the block's own.
    EXPECT_EQ(Styled(kBlock, "<div class=b>x<div class=b>y</div>z</div>w"),
              "section: {12} [inline-block] \"w\"\n  inline-block\n"
              "    section: {12} \"x\" [inline-block] \"z\"\n      inline-block\n"
              "        section: {12} \"y\"\n");
    // Sizes and placement in the line.
    EXPECT_EQ(
        Styled(".b { display: inline-flex; width: 10%; max-width: 90px; vertical-align: top }",
               "<section class=b>s</section>"),
        "section: {12} [inline-block]\n  inline-block width=10% max-width=90 top\n"
        "    section: {12} \"s\"\n");
}

TEST(HtmlParserInlineBlock, ListsAndTablesInsideStayInside) {
    // A list inside counts its level from the block.
    EXPECT_EQ(Styled(kBlock, "<ul><li>i <span class=b>s<ul><li>n</ul></span> t</ul>"),
              "ul level=1: {12} \"i \" [inline-block] \" t\"\n  inline-block\n"
              "    section: {12} \"s\"\n    ul level=1: {12} \"n\"\n");
    // An end tag inside a table does not close the block around the table.
    EXPECT_EQ(Styled(kBlock, "<span class=b><table><tr><td>x</span>y</td></tr></table>z</span>q"),
              "section: {12} [inline-block] \"q\"\n  inline-block\n"
              "    table padding=1 spacing=3\n      row\n        cell\n"
              "          section: {12} \"xy\"\n    section: {12} \"z\"\n");
    // A cell's end closes a block that began in the cell.
    EXPECT_EQ(Styled(kBlock, "<table><tr><td>a<span class=b>b</td><td>c</td></tr></table>"),
              "table padding=1 spacing=3\n  row\n    cell\n"
              "      section: {12} \"a\" [inline-block]\n        inline-block\n"
              "          section: {12} \"b\"\n    cell\n      section: {12} \"c\"\n");
}

TEST(HtmlParserInlineBlock, UnclosedEmptyVoidAndUnstyledElements) {
    EXPECT_EQ(Styled(kBlock, "<span class=b>never closed"),
              "section: {12} [inline-block]\n  inline-block\n    section: {12} \"never closed\"\n");
    // An empty block keeps an empty line of its own for its box.
    EXPECT_EQ(Styled(kBlock, "a<span class=b></span>"),
              "section: {12} \"a\" [inline-block]\n  inline-block\n    section: {12}\n");
    // Images are already boxes on the line; paragraphs stay blocks.
    EXPECT_EQ(Styled("img, p { display: inline-block }", "<img src=x.png><p>p</p>"),
              "section: {12} [img \"x.png\"]\nspace h=14\nsection: {12} \"p\"\nspace h=14\n");
    // Deeper than the nesting limit the elements are read as inline.
    std::string deep;
    for (int i = 0; i < 40; ++i) deep += "<span class=b>";
    EXPECT_NE(Styled(kBlock, deep + "x").find("\"x\""), std::string::npos);
    // Without style nothing changes.
    EXPECT_EQ(ParseDump("<div>plain</div><span>x</span>"),
              "section: {12} \"plain\"\nsection: {12} \"x\"\n");
}

}  // namespace
}  // namespace quillon::testing
