// The tokenizer: each kind of token, escapes, and what malformed input turns into.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "html/style/css_token.h"

namespace quillon::testing {
namespace {

using css::TokenType;

// Each token as "Type:value", white space as "_", Eof left out.
std::string Kinds(std::string_view src) {
    static const char* const kNames[] = {"ident",  "func",  "at",   "hash",  "str", "badstr", "url",
                                         "badurl", "delim", "num",  "pct",   "dim", "_",      "cdo",
                                         "cdc",    "colon", "semi", "comma", "[",   "]",      "(",
                                         ")",      "{",     "}",    "eof"};
    std::string out;
    for (const css::Token& t : css::Tokenize(src)) {
        if (t.Is(TokenType::Eof)) break;
        if (!out.empty()) out += ' ';
        out += kNames[static_cast<int>(t.type)];
        if (!t.value.empty()) out += ":" + t.value;
    }
    return out;
}

TEST(CssTokenizer, TokenKinds) {
    const struct {
        const char* css;
        const char* tokens;
    } cases[] = {
        {"p.a > #x{}", "ident:p delim:. ident:a _ delim:> _ hash:x { }"},
        {"@media print;", "at:media _ ident:print semi"},
        {"rgb(1,2)", "func:rgb num comma num )"},
        {"12px 50% -.5e2 +3", "dim:px _ pct _ num _ num"},
        {"<!-- a -->", "cdo _ ident:a _ cdc"},
        {"a/* comment */b", "ident:a ident:b"},
        {"/* never closed", ""},
        {"--custom -x", "ident:--custom _ ident:-x"},
        {"[a|=b]", "[ ident:a delim:| delim:= ident:b ]"},
        {"u+ !x", "ident:u delim:+ _ delim:! ident:x"},
        {"#1a", "hash:1a"},
        {"# x", "delim:# _ ident:x"},
    };
    for (const auto& c : cases) EXPECT_EQ(Kinds(c.css), c.tokens) << c.css;
}

TEST(CssTokenizer, NumbersKeepTheirValueAndKind) {
    const auto t = css::Tokenize("10 1.5em -3% 2e3 7px");
    EXPECT_EQ(t[0].number, 10);
    EXPECT_TRUE(t[0].is_integer);
    EXPECT_EQ(t[2].number, 1.5);
    EXPECT_FALSE(t[2].is_integer);
    EXPECT_EQ(t[4].number, -3);
    EXPECT_EQ(t[6].number, 2000);
    EXPECT_FALSE(t[6].is_integer);
    EXPECT_EQ(t[8].value, "px");
    // An overflowing number stays finite.
    EXPECT_TRUE(std::isfinite(css::Tokenize("1e999")[0].number));
}

TEST(CssTokenizer, StringsAndEscapes) {
    const struct {
        const char* css;
        const char* tokens;
    } cases[] = {
        {R"("a\"b" 'c')", "str:a\"b _ str:c"},
        {R"(\41 B)", "ident:AB"},                   // hex escape eats one space
        {R"(\E9t\E9)", "ident:\xC3\xA9t\xC3\xA9"},  // to UTF-8
        {R"(\0 x)", "ident:\xEF\xBF\xBDx"},         // NUL becomes U+FFFD
        {R"(\110000)", "ident:\xEF\xBF\xBD"},       // beyond Unicode
        {"'a\\\nb'", "str:ab"},                     // escaped line end continues the string
        {"'open\nx", "badstr:open _ ident:x"},      // a line end spoils it
        {"'to the end", "str:to the end"},          // the end of input closes it
        {"a\\", "ident:a delim:\\"},
    };
    for (const auto& c : cases) EXPECT_EQ(Kinds(c.css), c.tokens) << c.css;
}

TEST(CssTokenizer, Urls) {
    const struct {
        const char* css;
        const char* tokens;
    } cases[] = {
        {"url(a.png)", "url:a.png"},         {"URL(  a b.png  )", "badurl"},
        {"url( x.png )", "url:x.png"},       {"url(\"q.png\")", "func:url str:q.png )"},
        {"url(a\"b) x", "badurl _ ident:x"}, {"url(a\\)b)", "url:a)b"},
        {"url(never", "url:never"},
    };
    for (const auto& c : cases) EXPECT_EQ(Kinds(c.css), c.tokens) << c.css;
}

TEST(CssTokenizer, OffsetsCoverTheSource) {
    const std::string src = "a { b: 'c' }";
    const auto t = css::Tokenize(src);
    std::size_t pos = 0;
    for (const css::Token& tok : t) {
        EXPECT_EQ(tok.begin, pos);
        pos = tok.end;
    }
    EXPECT_EQ(pos, src.size());
    EXPECT_EQ(src.substr(t[7].begin, t[7].end - t[7].begin), "'c'");
}

}  // namespace
}  // namespace quillon::testing
