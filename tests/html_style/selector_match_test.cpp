// Matching selectors against a small document.

#include <gtest/gtest.h>

#include "html/style/selector_match.h"
#include "tests/html_style/fake_dom.h"

namespace quillon::testing {
namespace {

bool Match(std::string_view selector, const css::StyleElement& e) {
    const auto list = css::ParseSelectorList(selector);
    if (!list) throw std::invalid_argument(std::string(selector));
    for (const css::Selector& s : *list) {
        if (css::Matches(s, e)) return true;
    }
    return false;
}

// <html><body class="page">
//   <div id="main" class="box wide" lang="en-GB">
//     <h1>  <p class="x">  <p title="a b c">  <a href="http://q/r.pdf">  <ul><li>x5</ul>
//   </div>
// </body></html>
class CssMatch : public ::testing::Test {
  protected:
    CssMatch() {
        html = &dom.Add(nullptr, "html");
        body = &dom.Add(html, "body", {{"class", "page"}});
        div = &dom.Add(body, "div", {{"id", "main"}, {"class", "box  wide"}, {"lang", "en-GB"}});
        h1 = &dom.Add(div, "h1");
        p1 = &dom.Add(div, "p", {{"class", "x"}});
        p2 = &dom.Add(div, "p", {{"title", "a b c"}});
        a = &dom.Add(div, "a", {{"href", "http://q/r.pdf"}});
        ul = &dom.Add(div, "ul");
        for (int i = 0; i < 5; ++i) li.push_back(&dom.Add(ul, "li"));
    }
    FakeDom dom;
    FakeElement *html, *body, *div, *h1, *p1, *p2, *a, *ul;
    std::vector<FakeElement*> li;
};

TEST_F(CssMatch, TypeIdClassAndUniversal) {
    EXPECT_TRUE(Match("p", *p1));
    EXPECT_FALSE(Match("h1", *p1));
    EXPECT_TRUE(Match("*", *p1));
    EXPECT_TRUE(Match("P", *p1));  // type selectors fold case
    EXPECT_TRUE(Match("#main", *div));
    EXPECT_FALSE(Match("#MAIN", *div));  // ids and classes do not
    EXPECT_TRUE(Match("div.box.wide", *div));
    EXPECT_FALSE(Match(".box.narrow", *div));
    EXPECT_FALSE(Match(".Box", *div));
    EXPECT_TRUE(Match("p.x, h6", *p1));
}

TEST_F(CssMatch, Attributes) {
    const struct {
        const char* sel;
        const FakeElement* e;
        bool want;
    } cases[] = {
        {"[title]", p2, true},        {"[title]", p1, false},    {"[TITLE=\"a b c\"]", p2, true},
        {"[title=a]", p2, false},     {"[title~=b]", p2, true},  {"[title~=\"b c\"]", p2, false},
        {"[title~=\"\"]", p2, false}, {"[lang|=en]", div, true}, {"[lang|=en-GB]", div, true},
        {"[lang|=e]", div, false},    {"[href^=http]", a, true}, {"[href$='.pdf']", a, true},
        {"[href*=\"/q/\"]", a, true}, {"[href*=z]", a, false},   {"[href^='']", a, false},
        {"[href$=\"\"]", a, false},   {"[class=x]", p1, true},
    };
    for (const auto& c : cases) EXPECT_EQ(Match(c.sel, *c.e), c.want) << c.sel;
}

TEST_F(CssMatch, Combinators) {
    const struct {
        const char* sel;
        const FakeElement* e;
        bool want;
    } cases[] = {
        {"body p", p1, true},
        {"html > p", p1, false},
        {"html  div > p", p1, true},
        {"h1 + p", p1, true},
        {"h1 + p", p2, false},
        {"h1 ~ p", p2, true},
        {"p ~ h1", h1, false},
        {"p + p", p2, true},
        {".page .box ul li", li[2], true},
        {"div > li", li[0], false},
        {"#main * li", li[0], true},
        {"#main > * > li", li[0], true},
        {"h1 ~ a:link", a, true},
        {"body > div > ul > li + li ~ li", li[2], true},
        {"li + li + li + li + li + li", li[4], false},
        // Backtracking: the first ancestor matching "div" is not the one that has ".page" above.
        {".page div p", p1, true},
        {".wide body p", p1, false},
    };
    for (const auto& c : cases) EXPECT_EQ(Match(c.sel, *c.e), c.want) << c.sel;
}

TEST_F(CssMatch, PseudoClasses) {
    EXPECT_TRUE(Match(":root", *html));
    EXPECT_FALSE(Match(":root", *body));
    EXPECT_TRUE(Match("h1:first-child", *h1));
    EXPECT_FALSE(Match(":first-child", *p1));
    EXPECT_FALSE(Match(":first-child", *html));  // the root has no parent to be first in
    EXPECT_TRUE(Match("a:link", *a));
    EXPECT_FALSE(Match(":link", *p1));
    EXPECT_TRUE(Match(":not(p)", *h1));
    EXPECT_FALSE(Match(":not(p)", *p1));
    EXPECT_TRUE(Match("p:not(.x)", *p2));
    EXPECT_FALSE(Match(":not(*)", *p2));
    EXPECT_TRUE(Match("p:not([title])", *p1));
    EXPECT_TRUE(Match("li:not(:first-child)", *li[1]));
}

TEST_F(CssMatch, NthChild) {
    // Which of the five items each selector picks, as a string of 0 and 1.
    const struct {
        const char* sel;
        const char* picks;
    } cases[] = {
        {":nth-child(odd)", "10101"},   {":nth-child(even)", "01010"}, {":nth-child(3)", "00100"},
        {":nth-child(n+3)", "00111"},   {":nth-child(-n+2)", "11000"}, {":nth-child(3n)", "00100"},
        {":nth-child(0n+0)", "00000"},  {":nth-child(-2)", "00000"},   {":nth-child(n)", "11111"},
        {":nth-child(-2n+7)", "10101"}, {":nth-child(2n-1)", "10101"},
    };
    for (const auto& c : cases) {
        std::string picks;
        for (const FakeElement* e : li) picks += Match(c.sel, *e) ? '1' : '0';
        EXPECT_EQ(picks, c.picks) << c.sel;
    }
    EXPECT_FALSE(Match(":nth-child(1)", *html));
}

// A selector that fails only at its far left end must not try every choice of ancestors and
// siblings on the way (that would take years here), and still match where it should.
TEST(CssMatchCost, FailureIsNotRetriedWhereItCannotSucceed) {
    FakeDom dom;
    FakeElement* e = &dom.Add(nullptr, "body");
    for (int i = 0; i < 300; ++i) {
        FakeElement* parent = e;
        for (int k = 0; k < 3; ++k) e = &dom.Add(parent, "div");
    }
    std::string far = "x", near = "body";
    for (int i = 0; i < 40; ++i) {
        far += " div ~ div";
        near += " div ~ div";
    }
    EXPECT_FALSE(Match(far, *e));
    EXPECT_TRUE(Match(near, *e));
    EXPECT_FALSE(Match("x " + far.substr(2) + " > div + div", *e));
}

// Trying every ancestor and sibling, as the selector reads: the reference for the matcher.
bool NaiveMatch(const css::Selector& sel, std::size_t last, const css::StyleElement& e) {
    if (!css::MatchesCompound(sel.compounds[last], e)) return false;
    if (last == 0) return true;
    const auto comb = sel.compounds[last].combinator;
    const bool up = comb == css::Combinator::Child || comb == css::Combinator::Descendant;
    const bool one = comb == css::Combinator::Child || comb == css::Combinator::Adjacent;
    for (const css::StyleElement* n = up ? e.Parent() : e.PreviousSibling(); n;
         n = up ? n->Parent() : n->PreviousSibling()) {
        if (NaiveMatch(sel, last - 1, *n)) return true;
        if (one) break;
    }
    return false;
}

TEST(CssMatchCost, SkippingRetriesChangesNoResult) {
    // A tree of p and div elements, some of class a, built from a fixed pseudo-random sequence.
    unsigned seed = 12345;
    auto next = [&seed](unsigned n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % n;
    };
    FakeDom dom;
    std::vector<FakeElement*> all{&dom.Add(nullptr, "div")};
    for (int i = 0; i < 60; ++i) {
        FakeElement* parent = all[next(static_cast<unsigned>(all.size()))];
        std::map<std::string, std::string> attrs;
        if (next(3) == 0) attrs["class"] = "a";
        all.push_back(&dom.Add(parent, next(2) ? "p" : "div", attrs));
    }
    const char* const parts[] = {"p", "div", ".a", "*", "p.a"};
    const char* const combs[] = {" ", " > ", " + ", " ~ "};
    int matched = 0;
    for (int n = 0; n < 400; ++n) {
        std::string text = parts[next(5)];
        const unsigned len = next(5);
        for (unsigned k = 0; k < len; ++k) {
            text += combs[next(4)];
            text += parts[next(5)];
        }
        const auto sel = css::ParseSelectorList(text);
        ASSERT_TRUE(sel.has_value()) << text;
        const css::Selector& s = (*sel)[0];
        for (const FakeElement* e : all) {
            const bool m = css::Matches(s, *e);
            ASSERT_EQ(m, NaiveMatch(s, s.compounds.size() - 1, *e)) << text;
            matched += m;
        }
    }
    EXPECT_GT(matched, 1000);  // the cases are not all failures
}

}  // namespace
}  // namespace quillon::testing
