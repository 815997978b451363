// Which selectors are read, what they are read as, and their specificity.

#include <gtest/gtest.h>

#include "html/style/css_nth.h"
#include "html/style/css_selector.h"

namespace quillon::testing {
namespace {

TEST(CssSelectorParse, ValidSelectors) {
    for (const char* s : {"*",
                          "p",
                          "P.a.b",
                          "#x",
                          "div#x.y",
                          "[href]",
                          "a[ href = 'x' ]",
                          "a[rel~=x]",
                          "[lang|=en]",
                          "[a^=b][c$=\"d\"][e*=f]",
                          "ul li",
                          "ul>li",
                          "h1 + p",
                          "h1~p",
                          "h1 ~ p > a  b",
                          ":first-child",
                          "li:nth-child(2n+1)",
                          "tr:nth-child( odd )",
                          ":not(.x)",
                          "p:not([a]):not(#b):not(*)",
                          ":root",
                          "a:link",
                          "A:LINK",
                          ":FIRST-CHILD",
                          "a, b ,c",
                          "*.x",
                          "\\31 23",
                          ".\\31 a"}) {
        EXPECT_TRUE(css::ParseSelectorList(s).has_value()) << s;
    }
}

TEST(CssSelectorParse, InvalidSelectors) {
    for (const char* s : {"",
                          " ",
                          "a,",
                          ",a",
                          "a,,b",
                          "a >",
                          "> a",
                          "a > > b",
                          "p::before",
                          "p:before",
                          "a:hover",
                          "a:visited",
                          "p:last-child",
                          "p:nth-of-type(1)",
                          "p:lang(en)",
                          ":not(a b)",
                          ":not(.a.b)",
                          ":not(:not(a))",
                          ":not()",
                          "ns|p",
                          "*|p",
                          "|p",
                          "[a=]",
                          "[a b]",
                          "[=b]",
                          "[a=b i]",
                          "[a==b]",
                          "#1x",
                          ". a",
                          "p.",
                          "a!",
                          "a{",
                          ":nth-child(2 n)",
                          ":nth-child(+ 2)",
                          ":nth-child()",
                          ":nth-child(x)",
                          "p:nth-child(1",
                          "a::",
                          "[a"}) {
        EXPECT_FALSE(css::ParseSelectorList(s).has_value()) << s;
    }
}

TEST(CssSelectorParse, Structure) {
    const auto list = css::ParseSelectorList("DIV.a > P:not(#z) + q ~ [Href^=\"http\"]");
    ASSERT_TRUE(list.has_value());
    ASSERT_EQ(list->size(), 1u);
    const auto& c = (*list)[0].compounds;
    ASSERT_EQ(c.size(), 4u);
    EXPECT_EQ(c[0].tag, "div");
    EXPECT_EQ(c[0].conditions[0].name, "a");
    EXPECT_EQ(c[1].combinator, css::Combinator::Child);
    EXPECT_EQ(c[1].tag, "p");
    EXPECT_TRUE(c[1].conditions[0].negated);
    EXPECT_EQ(c[2].combinator, css::Combinator::Adjacent);
    EXPECT_EQ(c[3].combinator, css::Combinator::Sibling);
    EXPECT_EQ(c[3].tag, "");
    EXPECT_EQ(c[3].conditions[0].name, "href");   // attribute names fold case
    EXPECT_EQ(c[3].conditions[0].value, "http");  // values do not
    EXPECT_EQ(c[3].conditions[0].op, css::AttrOp::Prefix);
}

TEST(CssSelectorParse, NthChildArguments) {
    const struct {
        const char* text;
        int a, b;
    } cases[] = {
        {"odd", 2, 1},     {"EVEN", 2, 0},      {"3", 0, 3},    {"-2", 0, -2},
        {"n", 1, 0},       {"-n+3", -1, 3},     {"+n", 1, 0},   {"2n+1", 2, 1},
        {"2n - 1", 2, -1}, {" 10N+ 5 ", 10, 5}, {"0n+0", 0, 0}, {"-3n", -3, 0},
    };
    for (const auto& c : cases) {
        const auto nth = css::ParseNth(c.text);
        ASSERT_TRUE(nth.has_value()) << c.text;
        EXPECT_EQ(nth->first, c.a) << c.text;
        EXPECT_EQ(nth->second, c.b) << c.text;
    }
    for (const char* bad : {"", "n+", "2n+-1", "2 n", "- n", "n 1", "2n1", "1.5n", "x"}) {
        EXPECT_FALSE(css::ParseNth(bad).has_value()) << bad;
    }
}

TEST(CssSelectorParse, Specificity) {
    const struct {
        const char* sel;
        css::Specificity expected;
    } cases[] = {
        {"*", {0, 0, 0}},
        {"li", {0, 0, 1}},
        {"ul li", {0, 0, 2}},
        {"ul ol+li", {0, 0, 3}},
        {"h1 + *[rel=up]", {0, 1, 1}},
        {"ul ol li.red", {0, 1, 3}},
        {"li.red.level", {0, 2, 1}},
        {"#x34y", {1, 0, 0}},
        {"#s12:not(FOO)", {1, 0, 1}},
        {"a:link:first-child", {0, 2, 1}},
        {":not(*)", {0, 0, 0}},
        {"tr:nth-child(odd) td:root", {0, 2, 2}},
    };
    for (const auto& c : cases) {
        const auto list = css::ParseSelectorList(c.sel);
        ASSERT_TRUE(list.has_value()) << c.sel;
        EXPECT_EQ((*list)[0].specificity, c.expected) << c.sel;
    }
}

}  // namespace
}  // namespace quillon::testing
