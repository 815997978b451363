// The rule index finds exactly what trying every rule finds, in cascade order, while trying
// only the rules that can match.

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "html/style/rule_index.h"
#include "html/style/style_parser.h"
#include "tests/html_style/fake_dom.h"

namespace quillon::testing {
namespace {

// Every matching (rule, selector) found by trying every selector, in cascade order.
std::vector<std::pair<std::size_t, std::size_t>> BruteForce(const css::StyleSheet& sheet,
                                                            const css::StyleElement& e) {
    std::vector<std::tuple<css::Specificity, std::size_t, std::size_t>> all;
    for (std::size_t r = 0; r < sheet.rules.size(); ++r) {
        for (std::size_t s = 0; s < sheet.rules[r].selectors.size(); ++s) {
            const auto& sel = sheet.rules[r].selectors[s];
            if (css::Matches(sel, e)) all.emplace_back(sel.specificity, r, s);
        }
    }
    std::sort(all.begin(), all.end());
    std::vector<std::pair<std::size_t, std::size_t>> out;
    for (const auto& [specificity, r, s] : all) out.emplace_back(r, s);
    return out;
}

std::vector<std::pair<std::size_t, std::size_t>> Indexed(const css::RuleIndex& index,
                                                         const css::StyleElement& e) {
    std::vector<std::pair<std::size_t, std::size_t>> out;
    for (const css::RuleMatch& m : index.Match(e)) out.emplace_back(m.rule, m.selector);
    return out;
}

TEST(CssRuleIndex, SameMatchesAsTryingEveryRule) {
    const auto sheet = css::ParseStyleSheet(
        "p { a: 1 } .x { a: 2 } #main p.x { a: 3 } * { a: 4 } div > .x, p { a: 5 }"
        ".x.y#q { a: 6 } :not(.x) { a: 7 } p:not(#main) { a: 8 } [title] { a: 9 }"
        "li:nth-child(odd) { a: 10 } .y { a: 11 } #main { a: 12 } h1 + p { a: 13 }");
    ASSERT_EQ(sheet.rules.size(), 13u);
    FakeDom dom;
    FakeElement& body = dom.Add(nullptr, "body");
    FakeElement& div = dom.Add(&body, "div", {{"id", "main"}, {"class", "x"}});
    dom.Add(&div, "h1");
    FakeElement& p = dom.Add(&div, "p", {{"class", "x y x"}, {"title", ""}});
    FakeElement& q = dom.Add(&div, "p", {{"id", "q"}, {"class", "y x"}});
    FakeElement& ul = dom.Add(&body, "ul");
    FakeElement& li = dom.Add(&ul, "li");
    const css::RuleIndex index(sheet);
    for (const FakeElement* e : {&body, &div, &p, &q, &ul, &li}) {
        EXPECT_EQ(Indexed(index, *e), BruteForce(sheet, *e)) << e->tag;
    }
    // p: rules 1 (p), 5 (p), 2 (.x), 5 (div > .x), 9, 11, 8, 13; each once though it lists
    // class x twice.
    EXPECT_EQ(Indexed(index, p).size(), 10u);
}

TEST(CssRuleIndex, TriesOnlyTheBucketsOfTheElement) {
    std::string css;
    for (int i = 0; i < 1000; ++i) css += ".c" + std::to_string(i) + " { a: b }\n";
    css += "#only { a: b } td { a: b }";
    const auto sheet = css::ParseStyleSheet(css);
    const css::RuleIndex index(sheet);
    FakeDom dom;
    FakeElement& td = dom.Add(nullptr, "td", {{"class", "c7 c999 none"}, {"id", "only"}});
    const auto found = index.Match(td);
    EXPECT_EQ(found.size(), 4u);
    EXPECT_EQ(index.LastTried(), 4u);
    // Cascade order: the id last, the type first.
    EXPECT_EQ(found.front().rule, 1001u);
    EXPECT_EQ(found.back().rule, 1000u);
}

}  // namespace
}  // namespace quillon::testing
