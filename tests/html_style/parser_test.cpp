// Style sheets and STYLE attributes: what is kept, and how errors are recovered from.

#include <gtest/gtest.h>

#include <string>

#include "html/style/style_parser.h"

namespace quillon::testing {
namespace {

// The sheet as "selectors{name:value!;...}" per rule, '!' marking important ones, and
// "@media" noted as "[media]".
std::string Summary(const css::StyleSheet& sheet) {
    std::string out;
    for (const css::StyleRule& r : sheet.rules) {
        if (!out.empty()) out += ' ';
        for (const std::string& m : r.media) out += "[" + m + "]";
        out += r.selector_text + "{";
        for (const css::Declaration& d : r.declarations) {
            out += d.name + ":" + d.text + (d.important ? "!" : "") + ";";
        }
        out += "}";
    }
    return out;
}

std::string Summary(std::string_view css, css::Medium medium = css::Medium::Screen) {
    return Summary(css::ParseStyleSheet(css, medium));
}

TEST(CssParser, RulesAndDeclarations) {
    const struct {
        const char* css;
        const char* kept;
    } cases[] = {
        {"p { color: red }", "p{color:red;}"},
        {"H1, h2.x{COLOR:Blue;;margin :0 auto}", "H1, h2.x{color:Blue;margin:0 auto;}"},
        {"td { width: 10px !important; x: y ! IMPORTANT }", "td{width:10px!;x:y!;}"},
        {"a{font:12px/1.5 \"Times New Roman\", serif}",
         "a{font:12px/1.5 \"Times New Roman\", serif;}"},
        {"a{} b{c:d}", "a{} b{c:d;}"},
        {"<!-- p { a: b } -->", "p{a:b;}"},
        {"p { color: red", "p{color:red;}"},  // the end of input closes what is open
        {"a{b:url(x.png) no-repeat}", "a{b:url(x.png) no-repeat;}"},
    };
    for (const auto& c : cases) EXPECT_EQ(Summary(c.css), c.kept) << c.css;
}

TEST(CssParser, BadDeclarationsAreDroppedTheRestKept) {
    const struct {
        const char* css;
        const char* kept;
    } cases[] = {
        {"p { color red; margin: 0 }", "p{margin:0;}"},  // no colon
        {"p { : red; a: b }", "p{a:b;}"},                // no name
        {"p { *zoom: 1; a: b }", "p{a:b;}"},             // a hack, not a name
        {"p { a: ; b: c }", "p{b:c;}"},                  // empty value
        {"p { a: !important; b: c }", "p{b:c;}"},
        {"p { a: 'x\n; b: c }", "p{b:c;}"},             // bad string
        {"p { a: f(;) g; b: c }", "p{a:f(;) g;b:c;}"},  // ';' inside a function
        {"p { a: {x;y}; b: c }", "p{a:{x;y};b:c;}"},
        {"p { a: x); b: c }", "p{b:c;}"},         // stray ')'
        {"p { a: url(x y); b: c }", "p{b:c;}"},   // bad url
        {"p { @foo { x: y } a: b }", "p{a:b;}"},  // at-rule inside a block
        {"p { a: b !importantx }", "p{a:b !importantx;}"},
    };
    for (const auto& c : cases) EXPECT_EQ(Summary(c.css), c.kept) << c.css;
}

TEST(CssParser, BadRulesAreDroppedTheRestKept) {
    const struct {
        const char* css;
        const char* kept;
    } cases[] = {
        {"p::before { a: b } q { c: d }", "q{c:d;}"},
        {"p, ::x { a: b } q { c: d }", "q{c:d;}"},  // one bad selector drops the rule
        {"p:hover { a: b } q { c: d }", "q{c:d;}"},
        {"} q { c: d }", ""},  // '}' starts a prelude that eats q's
        {"p [ { } ] { a: b } q { c: d }", "q{c:d;}"},
        {"@unknown x { a { b: c } } q { c: d }", "q{c:d;}"},
        {"@font-face { src: x } q { c: d }", "q{c:d;}"},
        {"@foo; q { c: d }", "q{c:d;}"},
        {"q { c: d } r", "q{c:d;}"},  // a prelude without a block
        {"{ a: b } q { c: d }", "q{c:d;}"},
    };
    for (const auto& c : cases) EXPECT_EQ(Summary(c.css), c.kept) << c.css;
}

TEST(CssParser, MediaBlocksKeepTheRulesOfTheMediumLaidOutFor) {
    // Printing.
    const struct {
        const char* css;
        const char* kept;
    } cases[] = {
        {"@media print { p { a: b } } q { c: d }", "[print]p{a:b;} q{c:d;}"},
        {"@media SCREEN, Print { p { a: b } }", "[screen, print]p{a:b;}"},
        {"@media speech { p { a: b } } q { c: d }", "q{c:d;}"},
        {"@media only print and (color) { p { a: b } }", "[only print and (color)]p{a:b;}"},
        {"@media not print { p { a: b } }", ""},
        {"@media not speech { p { a: b } }", "[not speech]p{a:b;}"},
        {"@media (min-width: 1px) { p { a: b } }", "[(min-width: 1px)]p{a:b;}"},
        {"@media all { p::x { a: b } q { c: d } }", "[all]q{c:d;}"},
        {"@media print { p { a: b }", "[print]p{a:b;}"},
        {"@media print { @media (color) { p { a: b } } q { c: d } }",
         "[print][(color)]p{a:b;} [print]q{c:d;}"},
        {"@media print { @media tv { p { a: b } } }", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(Summary(c.css, css::Medium::Print), c.kept) << c.css;
    // The screen: print rules are left out, screen rules kept.
    EXPECT_EQ(Summary("@media print { p { a: b } } @media screen { q { c: d } } r { e: f }"),
              "[screen]q{c:d;} r{e:f;}");
    EXPECT_EQ(Summary("@media not print { p { a: b } } @media not screen { q { c: d } }"),
              "[not print]p{a:b;}");
    for (const css::Medium m : {css::Medium::Screen, css::Medium::Print}) {
        EXPECT_TRUE(css::MediaApplies("", m));
        EXPECT_TRUE(css::MediaApplies("tv, ALL", m));
        EXPECT_FALSE(css::MediaApplies("tv, handheld", m));
    }
    EXPECT_TRUE(css::MediaApplies("tv, print", css::Medium::Print));
    EXPECT_FALSE(css::MediaApplies("tv, print", css::Medium::Screen));
    EXPECT_TRUE(css::MediaApplies("Screen and (color)", css::Medium::Screen));
}

TEST(CssParser, ImportsComeFirstAndPagesKeepDeclarations) {
    const auto sheet = css::ParseStyleSheet(
        "@charset \"utf-8\"; @import \"a.css\"; @import url(b.css) print;"
        "@import url('c.css') Screen , tv; @import 5; @import \"d.css\" { }"
        "@page :first { margin: 1cm; size: A4 } p { x: y } @import \"late.css\";"
        "@page { margin-top: 2cm; @top-left { content: 'x' } }");
    ASSERT_EQ(sheet.imports.size(), 3u);
    EXPECT_EQ(sheet.imports[0].url, "a.css");
    EXPECT_EQ(sheet.imports[0].media, "");
    EXPECT_EQ(sheet.imports[1].url, "b.css");
    EXPECT_EQ(sheet.imports[1].media, "print");
    EXPECT_EQ(sheet.imports[2].url, "c.css");
    EXPECT_EQ(sheet.imports[2].media, "screen , tv");
    ASSERT_EQ(sheet.pages.size(), 2u);
    EXPECT_EQ(sheet.pages[0].selector, ":first");
    ASSERT_EQ(sheet.pages[0].declarations.size(), 2u);
    EXPECT_EQ(sheet.pages[0].declarations[1].text, "A4");
    EXPECT_EQ(sheet.pages[1].selector, "");
    ASSERT_EQ(sheet.pages[1].declarations.size(), 1u);
    EXPECT_EQ(sheet.pages[1].declarations[0].name, "margin-top");
    EXPECT_EQ(sheet.rules.size(), 1u);
}

TEST(CssParser, StyleAttribute) {
    const auto decls = css::ParseDeclarationList(
        " Color : #FF0000 ;bad;margin:1px 2px!important; font-family: 'A b', x");
    ASSERT_EQ(decls.size(), 3u);
    EXPECT_EQ(decls[0].name, "color");
    ASSERT_EQ(decls[0].value.size(), 1u);
    EXPECT_EQ(decls[0].value[0].type, css::TokenType::Hash);
    EXPECT_EQ(decls[0].value[0].value, "FF0000");
    EXPECT_EQ(decls[1].text, "1px 2px");
    EXPECT_TRUE(decls[1].important);
    EXPECT_EQ(decls[1].value.size(), 3u);  // 1px, space, 2px
    EXPECT_EQ(decls[2].text, "'A b', x");
    EXPECT_TRUE(css::ParseDeclarationList("").empty());
    EXPECT_TRUE(css::ParseDeclarationList("}}}{;;").empty());
}

TEST(CssParser, DeepNestingAndGarbageDoNotFail) {
    const std::string deep = std::string(200000, '(') + "p{a:b}" + std::string(200000, '{');
    EXPECT_TRUE(css::ParseStyleSheet(deep).rules.empty());
    std::string garbage;
    for (int i = 0; i < 5000; ++i) garbage += static_cast<char>((i * 7919) % 256);
    EXPECT_NO_THROW(css::ParseStyleSheet(garbage));
    const auto nul = css::ParseDeclarationList(std::string("a:b\0c", 5));
    ASSERT_EQ(nul.size(), 1u);
    ASSERT_EQ(nul[0].value.size(), 1u);
    EXPECT_EQ(nul[0].value[0].value,
              "b\xEF\xBF\xBD"
              "c");
}

}  // namespace
}  // namespace quillon::testing
