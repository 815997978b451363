// Parser: documents written in the newer HTML - sections of a page, newer inline tags,
// row groups and columns, and the contents of STYLE, SCRIPT and TEMPLATE kept out of view.

#include <gtest/gtest.h>

#include "tests/html_tree/html_parser_test_support.h"

namespace quillon::testing {
namespace {

THtmlParseResult Parse(std::string_view html) {
    TSectionList doc;
    TNameList names;
    return HtmlParseBuffer(doc, names, html);
}

TEST(HtmlParserNewerTags, PageSectionsBreakLinesLikeDiv) {
    for (const char* tag : {"section", "article", "header", "footer", "nav", "aside", "main",
                            "figure", "figcaption"}) {
        const std::string t = tag;
        EXPECT_EQ(ParseDump("a<" + t + " align=center>b</" + t + ">c"),
                  "section: {12} \"a\"\n"
                  "section align=center: {12} \"b\"\n"
                  "section: {12} \"c\"\n")
            << tag;
    }
    // Nested sections each end their own block.
    EXPECT_EQ(ParseDump("<article><header>h</header>body<footer>f</footer></article>x"),
              "section: {12} \"h\"\nsection: {12} \"body\"\nsection: {12} \"f\"\n"
              "section: {12} \"x\"\n");
}

TEST(HtmlParserNewerTags, InlineTags) {
    EXPECT_EQ(ParseDump("<span>a</span><small>b</small><mark>c</mark><del>d</del><s>e</s>"
                        "<ins>f</ins>g"),
              "section: {12} \"a\" {10} \"b\" {12} \"c\" {12 S} \"d\" {12 S} \"e\" {12 U} \"f\" "
              "{12} \"g\"\n");
}

TEST(HtmlParserNewerTags, SelfClosingTags) {
    EXPECT_EQ(ParseDump("a<br/>b<p/>c<hr/>"),
              "section: {12} \"a\"\nsection: {12} \"b\"\nspace h=14\nsection: {12} \"c\"\n"
              "rule size=2 h=20\n");
}

TEST(HtmlParserNewerTags, StyleScriptAndTemplateAreNotShown) {
    const char* doc =
        "<!DOCTYPE html><html><head><title>T</title>"
        "<style>body { font-family: Arial; }</style>"
        "<script>var x = 1 < 2;</script></head>"
        "<body>a<template><p>hidden</template><style><!-- p { } --></style>b</body></html>";
    // The style sheet's font applies; its text never shows.
    EXPECT_EQ(ParseDump(doc), "section: {\"Arial\" 12} \"ab\"\n");
    const THtmlParseResult r = Parse(doc);
    EXPECT_EQ(r.Title, "T");
    EXPECT_EQ(r.StyleSheet, "body { font-family: Arial; }\n<!-- p { } -->\n");
    // Inside a table and inside PRE too.
    EXPECT_EQ(ParseDump("<table><style>x{}</style><tr><td>a<script>b</script></table>"
                        "<pre>c<style>d</style>e</pre>"),
              "table padding=1 spacing=3\n  row\n    cell\n      section: {12} \"a\"\n"
              "pre: {fixed 10} \"ce\"\n");
}

TEST(HtmlParserNewerTags, RowGroupsAndColumnsInTables) {
    EXPECT_EQ(ParseDump("<table><colgroup><col width=100><col></colgroup>"
                        "<thead><tr><th>h</th></tr></thead>"
                        "<tbody><tr><td>b</td></tr></tbody>"
                        "<tfoot><tr><td>f</td></tr></tfoot></table>"),
              "table padding=1 spacing=3\n"
              "  row\n    cell\n      section align=center: {12 B} \"h\"\n"
              "  row\n    cell\n      section: {12} \"b\"\n"
              "  row\n    cell\n      section: {12} \"f\"\n");
}

// The first lines of a report written as HTML5.
TEST(HtmlParserNewerTags, Invoice) {
    EXPECT_EQ(ParseDump("<!DOCTYPE html><html lang=\"en\"><head><meta charset=\"utf-8\">"
                        "<title>Invoice</title><style>td.num { text-align: right; }</style></head>"
                        "<body><h1>Invoice &#8470; 2026&ndash;117</h1>"
                        "<p>Caf&eacute; &mdash; &euro; &hellip;</p><section>Terms.</section>"),
              "heading-space 1 h=16\n"
              "section: {24 B} \"Invoice \xE2\x84\x96 2026\xE2\x80\x93"
              "117\"\n"
              "heading-space 1 h=16\n"
              "space h=14\n"
              "section: {12} \"Caf\xC3\xA9 \xE2\x80\x94 \xE2\x82\xAC \xE2\x80\xA6\"\n"
              "space h=14\n"
              "section: {12} \"Terms.\"\n");
}

}  // namespace
}  // namespace quillon::testing
