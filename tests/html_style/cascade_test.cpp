// The cascade: which declaration wins, declarations that are ignored, and which
// properties an element's own declarations set.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/html_style/style_test_util.h"

namespace quillon::testing {
namespace {

using css::Property;

// A declaration with where it came from.
struct Source {
    const char* text;  // "color: red", with "!important" where meant
    css::Specificity specificity;
    std::size_t order;
    bool attribute = false;
};

// The color that wins among `sources`, given in any order.
css::Rgba Winner(const std::vector<Source>& sources) {
    std::vector<std::vector<css::Declaration>> parsed;
    for (const Source& s : sources) parsed.push_back(css::ParseDeclarationList(s.text));
    std::vector<css::AppliedDeclaration> applied;
    for (std::size_t i = 0; i < sources.size(); ++i) {
        applied.push_back(
            {&parsed[i].at(0), sources[i].specificity, sources[i].order, sources[i].attribute});
    }
    css::SortForCascade(applied);
    return css::ComputeStyle(applied, css::InitialStyle(), {}).color;
}

constexpr css::Rgba kRed{0xff0000, 255};
constexpr css::Rgba kBlue{0x0000ff, 255};

TEST(CssCascade, OrderOfDeclarations) {
    // Higher specificity wins whatever the order.
    EXPECT_EQ(Winner({{"color: red", {0, 1, 0}, 1}, {"color: blue", {0, 0, 5}, 2}}), kRed);
    EXPECT_EQ(Winner({{"color: blue", {0, 0, 5}, 2}, {"color: red", {0, 1, 0}, 1}}), kRed);
    EXPECT_EQ(Winner({{"color: red", {1, 0, 0}, 1}, {"color: blue", {0, 9, 9}, 2}}), kRed);
    // Equal specificity: the later rule.
    EXPECT_EQ(Winner({{"color: blue", {0, 1, 1}, 7}, {"color: red", {0, 1, 1}, 3}}), kBlue);
    // The style attribute over any rule.
    EXPECT_EQ(Winner({{"color: red", {0, 0, 0}, 0, true}, {"color: blue", {9, 9, 9}, 1}}), kRed);
    // !important over normal, the attribute's important over a rule's important.
    EXPECT_EQ(
        Winner({{"color: red !important", {0, 0, 1}, 1}, {"color: blue", {0, 0, 0}, 2, true}}),
        kRed);
    EXPECT_EQ(Winner({{"color: red !important", {0, 0, 0}, 0, true},
                      {"color: blue !important", {1, 0, 0}, 2}}),
              kRed);
    EXPECT_EQ(Winner({{"color: blue !important", {0, 0, 1}, 1},
                      {"color: red !important", {0, 1, 0}, 0},
                      {"color: green", {0, 0, 0}, 3, true}}),
              kRed);
}

TEST(CssCascade, EqualKeysKeepTheirOrder) {
    const auto decls = css::ParseDeclarationList("color: red; color: blue");
    std::vector<css::AppliedDeclaration> applied{{&decls[0], {0, 1, 0}, 4},
                                                 {&decls[1], {0, 1, 0}, 4}};
    css::SortForCascade(applied);
    EXPECT_EQ(applied[0].declaration, &decls[0]);
    EXPECT_EQ(css::ComputeStyle(applied, css::InitialStyle(), {}).color, kBlue);
}

// A valid declaration followed by an invalid one for the same property: the invalid one
// changes nothing, not even the specified bits.
TEST(CssCascade, InvalidValuesAreIgnored) {
    const struct {
        const char* good;
        const char* bad;
    } cases[] = {
        {"color: red", "color: #ggg"},
        {"color: red", "color: rgb(1, 2)"},
        {"color: red", "color: inherit red"},
        {"color: red", "color: red blue"},
        {"background-color: red", "background-color: red blue"},
        {"background: red url(a.png)", "background: red url(b.png) bogus"},
        {"background: red url(a.png)", "background: red, url(b.png)"},
        {"background-image: url(a.png)", "background-image: url(b.png),"},
        {"background-image: url(a.png)", "background-image: red"},
        {"font-family: Arial", "font-family: 12px"},
        {"font-family: Arial", "font-family: Courier,"},
        {"font-family: Arial", "font-family: , Courier"},
        {"font-family: Arial", "font-family: \"a\" b"},
        {"font-family: Arial", "font-family: Courier, inherit"},
        {"font-size: 20px", "font-size: -2px"},
        {"font-size: 20px", "font-size: big"},
        {"font-size: 20px", "font-size: 12"},
        {"font-weight: bold", "font-weight: 0"},
        {"font-weight: bold", "font-weight: bold 700"},
        {"font-style: italic", "font-style: slanted"},
        {"font: italic 20px/2 Arial", "font: 12px"},
        {"font: italic 20px/2 Arial", "font: bold serif"},
        {"font: italic 20px/2 Arial", "font: 12px/ serif"},
        {"font: italic 20px/2 Arial", "font: italic italic 12px serif"},
        {"font: italic 20px/2 Arial", "font: 12px/-1 serif"},
        {"text-decoration: underline", "text-decoration: underline none"},
        {"text-decoration: underline", "text-decoration: sideways"},
        {"text-decoration-line: underline", "text-decoration-line: red"},
        {"text-align: center", "text-align: middle"},
        {"text-indent: 5px", "text-indent: auto"},
        {"text-transform: uppercase", "text-transform: upper"},
        {"vertical-align: top", "vertical-align: centre"},
        {"line-height: 2", "line-height: -1"},
        {"line-height: 2", "line-height: 2 3"},
        {"white-space: pre", "white-space: wrap"},
        {"width: 10px", "width: -1px"},
        {"width: 10px", "width: 10"},
        {"width: 10px", "width: none"},
        {"min-width: 10px", "min-width: none"},
        {"max-width: 10px", "max-width: auto"},
        {"height: 10px", "height: 5deg"},
        {"margin: 1px", "margin: 1px 2px 3px 4px 5px"},
        {"margin: 1px", "margin: 1px red"},
        {"margin-top: 1px", "margin-top: none"},
        {"padding: 1px", "padding: -1px"},
        {"padding: 1px", "padding: auto"},
        {"padding-left: 1px", "padding-left: 1px 2px"},
        {"border: 1px solid red", "border: 1px 2px solid"},
        {"border: 1px solid red", "border: solid dashed"},
        {"border: 1px solid red", "border: 1px solid red blue"},
        {"border: 1px solid red", "border: 10% solid"},
        {"border-top: 1px solid red", "border-top: wavy"},
        {"border-width: 2px", "border-width: 10%"},
        {"border-style: solid", "border-style: wavy"},
        {"border-color: red", "border-color: 1px"},
        {"border-left-width: 2px", "border-left-width: -1px"},
        {"border-collapse: collapse", "border-collapse: yes"},
        {"border-spacing: 3px", "border-spacing: 1px 2px 3px"},
        {"border-spacing: 3px", "border-spacing: 10%"},
        {"display: block", "display: inline-box"},
        {"visibility: hidden", "visibility: none"},
        {"list-style-type: square", "list-style-type: star"},
        {"list-style: square", "list-style: square circle"},
        {"list-style: square", "list-style: none none none"},
        {"float: left", "float: center"},
        {"clear: left", "clear: all"},
        {"page-break-before: always", "page-break-before: page"},
        {"page-break-inside: avoid", "page-break-inside: always"},
        {"break-before: page", "break-before: sometimes"},
        {"break-inside: avoid", "break-inside: page"},
        {"color: red", "colour: blue"},
    };
    for (const auto& c : cases) {
        const std::string both = std::string(c.good) + "; " + c.bad;
        const auto expected = Styled(c.good);
        EXPECT_EQ(Styled(both), expected) << both;
        // The bad declaration alone sets nothing.
        EXPECT_TRUE(Styled(c.bad).specified.none()) << c.bad;
    }
}

TEST(CssCascade, AnInvalidDeclarationLeavesTheOthersAlone) {
    const auto s =
        Styled("color: red; margin: 1px; width: 12qq; color: nonsense; width: 10px; font: ;");
    EXPECT_EQ(s.color, kRed);
    EXPECT_EQ(s.margin[2], css::Length::Px(1));
    EXPECT_EQ(s.width, css::Length::Px(10));
}

TEST(CssCascade, SpecifiedBitsNameWhatTheElementSet) {
    const struct {
        const char* decls;
        std::vector<Property> bits;
    } cases[] = {
        {"", {}},
        {"color: red", {Property::Color}},
        {"color: inherit", {Property::Color}},
        {"margin: 1px",
         {Property::MarginTop, Property::MarginRight, Property::MarginBottom,
          Property::MarginLeft}},
        {"margin-left: auto", {Property::MarginLeft}},
        {"padding: 0; padding-top: 1px",
         {Property::PaddingTop, Property::PaddingRight, Property::PaddingBottom,
          Property::PaddingLeft}},
        {"border-top-color: red", {Property::BorderTop}},
        {"border-left: 1px solid", {Property::BorderLeft}},
        {"border-style: solid",
         {Property::BorderTop, Property::BorderRight, Property::BorderBottom,
          Property::BorderLeft}},
        {"font: 12px serif",
         {Property::FontFamily, Property::FontSize, Property::FontWeight, Property::FontStyle,
          Property::LineHeight}},
        {"background: red",
         {Property::BackgroundColor, Property::BackgroundImage, Property::BackgroundRepeat,
          Property::BackgroundPosition}},
        {"background-image: none", {Property::BackgroundImage}},
        {"text-decoration-line: underline", {Property::TextDecoration}},
        {"list-style: square", {Property::ListStyleType}},
        {"page-break-before: always; break-inside: avoid",
         {Property::BreakBefore, Property::BreakInside}},
        {"page-break-after: avoid", {Property::BreakAfter}},
        {"max-width: none; min-width: 0", {Property::MaxWidth, Property::MinWidth}},
        {"width: bad; height: 1px", {Property::Height}},
        {"display: none; visibility: visible; float: none; clear: none",
         {Property::Display, Property::Visibility, Property::Float, Property::Clear}},
        {"border-collapse: separate; border-spacing: 0",
         {Property::BorderCollapse, Property::BorderSpacing}},
        {"text-align: left; text-indent: 0; text-transform: none; vertical-align: top; "
         "white-space: normal; line-height: normal",
         {Property::TextAlign, Property::TextIndent, Property::TextTransform,
          Property::VerticalAlign, Property::WhiteSpace, Property::LineHeight}},
    };
    for (const auto& c : cases) {
        decltype(css::ComputedStyle::specified) expected;
        for (Property p : c.bits) expected.set(static_cast<std::size_t>(p));
        EXPECT_EQ(Styled(c.decls).specified, expected) << c.decls;
    }
    // Inherited values are not the child's own.
    EXPECT_TRUE(Styled("", Styled("color: red; font-size: 20px")).specified.none());
}

}  // namespace
}  // namespace quillon::testing
