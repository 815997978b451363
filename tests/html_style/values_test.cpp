// Property values: colours in every notation, lengths and their units, component values.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "html/style/css_colors.h"
#include "html/style/css_values.h"

namespace quillon::testing {
namespace {

using css::Rgba;

// The colour `text` is when it is one component value.
std::optional<css::CssColor> Color(std::string_view text) {
    const std::vector<css::Token> tokens = css::Tokenize(text);
    const std::vector<css::Component> parts = css::SplitComponents(tokens);
    if (parts.size() != 1) return std::nullopt;
    return css::ParseColor(parts[0]);
}

std::optional<css::SpecifiedLength> LengthOf(std::string_view text, css::LengthRules rules = {}) {
    const std::vector<css::Token> tokens = css::Tokenize(text);
    const std::vector<css::Component> parts = css::SplitComponents(tokens);
    if (parts.size() != 1) return std::nullopt;
    return css::ParseLength(parts[0], rules);
}

TEST(CssColor, EveryNotation) {
    const struct {
        const char* text;
        Rgba expected;
    } cases[] = {
        // Names, in any case, at both ends of the table and between.
        {"red", {0xff0000, 255}},
        {"RED", {0xff0000, 255}},
        {"aliceblue", {0xf0f8ff, 255}},
        {"yellowgreen", {0x9acd32, 255}},
        {"LightGoldenRodYellow", {0xfafad2, 255}},
        {"grey", {0x808080, 255}},
        {"darkslategrey", {0x2f4f4f, 255}},
        {"rebeccapurple", {0x663399, 255}},
        {"transparent", {0x000000, 0}},
        // Hex in its four lengths.
        {"#f00", {0xff0000, 255}},
        {"#F08a", {0xff0088, 0xaa}},
        {"#1a2B3c", {0x1a2b3c, 255}},
        {"#1e3", {0x11ee33, 255}},  // not a number in scientific notation
        {"#1a2b3c80", {0x1a2b3c, 0x80}},
        // rgb() and rgba(): numbers or percentages, commas or spaces with "/ alpha".
        {"rgb(255, 128, 0)", {0xff8000, 255}},
        {"RGB(100%,50%,0%)", {0xff8000, 255}},
        {"rgba(0, 0, 255, 0.5)", {0x0000ff, 128}},
        {"rgba(0, 0, 255, 25%)", {0x0000ff, 64}},
        {"rgb(0 0 255 / 0.5)", {0x0000ff, 128}},
        {"rgb(0 0 255)", {0x0000ff, 255}},
        {"rgba(0, 0, 255)", {0x0000ff, 255}},
        {"rgb(1, 2, 3, 0)", {0x010203, 0}},
        {"rgb(300, -5, 127.6)", {0xff0080, 255}},  // clamped and rounded
        {"rgba(0, 0, 0, 2)", {0x000000, 255}},
        {"rgb( /* c */ 10 , 20 , 30 )", {0x0a141e, 255}},
        // hsl() and hsla().
        {"hsl(0, 100%, 50%)", {0xff0000, 255}},
        {"hsl(120, 100%, 25%)", {0x008000, 255}},
        {"hsl(240 100% 50%)", {0x0000ff, 255}},
        {"hsl(-120, 100%, 50%)", {0x0000ff, 255}},
        {"hsl(480, 100%, 50%)", {0x00ff00, 255}},
        {"hsl(0.5turn, 100%, 50%)", {0x00ffff, 255}},
        {"hsl(200grad, 100%, 50%)", {0x00ffff, 255}},
        {"hsl(0, 0%, 100%)", {0xffffff, 255}},
        {"hsla(0, 100%, 50%, 0.5)", {0xff0000, 128}},
        {"hsl(60 100% 50% / 50%)", {0xffff00, 128}},
        {"hsl(30, 100%, 75%)", {0xffbf80, 255}},
    };
    for (const auto& c : cases) {
        const auto color = Color(c.text);
        ASSERT_TRUE(color) << c.text;
        EXPECT_FALSE(color->current) << c.text;
        EXPECT_EQ(color->rgba.rgb, c.expected.rgb) << c.text << std::hex << " " << color->rgba.rgb;
        EXPECT_EQ(color->rgba.alpha, c.expected.alpha) << c.text;
    }
}

TEST(CssColor, CurrentColorIsMarkedNotResolved) {
    const auto color = Color("currentColor");
    ASSERT_TRUE(color);
    EXPECT_TRUE(color->current);
}

TEST(CssColor, WhatIsNotAColour) {
    for (const char* text : {
             "reds",
             "gre",
             "yellowgreenx",
             "aliceblu",
             "inherit",
             "none",
             "12",
             "10px",
             "#",
             "#ff",
             "#ff00f",
             "#fffffff",
             "#123456789",
             "#ggg",
             "#12345g",
             "rgb(255, 0)",
             "rgb(255, 0, 0, 1, 1)",
             "rgb(255, 0, 0,)",
             "rgb(,255, 0, 0)",
             "rgb(255, 0%, 0)",   // numbers and percentages mixed
             "rgb(255 0 0 0.5)",  // the space form needs "/" before alpha
             "rgb(255, 0 0)",
             "rgb(255 0 0 /)",
             "rgb(255 0 0 / 1 2)",
             "rgb(a, b, c)",
             "rgb(1px, 2px, 3px)",
             "rgba(0, 0, 0, red)",
             "rgb()",
             "hsl(0, 100, 50)",
             "hsl(0deg 100%)",
             "hsl(10px, 100%, 50%)",
             "hsl(red, 100%, 50%)",
             "foo(1, 2, 3)",
             "url(red)",
             "\"red\"",
         }) {
        EXPECT_FALSE(Color(text)) << text;
    }
}

TEST(CssColor, NamedColorLookupIgnoresCaseOnly) {
    EXPECT_EQ(css::NamedColor("NavajoWhite"), (Rgba{0xffdead, 255}));
    EXPECT_EQ(css::NamedColor("navy"), (Rgba{0x000080, 255}));
    EXPECT_FALSE(css::NamedColor(""));
    EXPECT_FALSE(css::NamedColor("navy "));
    EXPECT_FALSE(css::NamedColor("transparent"));  // not a named colour: it has no alpha
}

TEST(CssLength, UnitsInPixels) {
    const css::FontBase base{10, 20};
    const struct {
        const char* text;
        double px;
    } cases[] = {
        {"3px", 3},     {"3PX", 3},     {"1in", 96},      {"72pt", 96}, {"6pc", 96},
        {"2.54cm", 96}, {"25.4mm", 96}, {"101.6q", 96},   {"2em", 20},  {"2rem", 40},
        {"2ex", 10},    {"0", 0},       {"-1.5in", -144}, {"0.0", 0},   {"+4px", 4},
    };
    for (const auto& c : cases) {
        const auto len = LengthOf(c.text);
        ASSERT_TRUE(len) << c.text;
        EXPECT_NEAR(css::ToPixels(*len, base), c.px, 1e-9) << c.text;
        EXPECT_EQ(css::Resolve(*len, base), css::Length::Px(css::ToPixels(*len, base)));
    }
}

TEST(CssLength, PercentagesAreKept) {
    const auto len = LengthOf("37.5%");
    ASSERT_TRUE(len);
    EXPECT_EQ(css::Resolve(*len, {}), css::Length::Percent(37.5));
    EXPECT_FALSE(LengthOf("37.5%", {.percent = false, .negative = true}));
}

TEST(CssLength, WhatIsNotALength) {
    for (const char* text :
         {"12", "1.5", "5deg", "5foo", "auto", "px", "\"3px\"", "3 px", "calc(1px + 2px)"}) {
        EXPECT_FALSE(LengthOf(text)) << text;
    }
    EXPECT_FALSE(LengthOf("-1px", {.percent = true, .negative = false}));
    EXPECT_FALSE(LengthOf("-1%", {.percent = true, .negative = false}));
    EXPECT_TRUE(LengthOf("0", {.percent = false, .negative = false}));
}

TEST(CssComponents, FunctionsAreOneComponentWithTheirArguments) {
    const std::vector<css::Token> tokens = css::Tokenize("  a rgb(1, f(2), (3)) / 4px,x(  ");
    const std::vector<css::Component> parts = css::SplitComponents(tokens);
    ASSERT_EQ(parts.size(), 6u);
    EXPECT_TRUE(parts[0].IsIdent("a"));
    EXPECT_TRUE(parts[1].IsFunction("rgb"));
    // "1", ",", " ", "f(", "2", ")", ",", " ", "(", "3", ")"
    EXPECT_EQ(parts[1].args.size(), 11u);
    EXPECT_TRUE(parts[2].IsDelim('/'));
    EXPECT_TRUE(parts[3].Is(css::TokenType::Dimension));
    EXPECT_TRUE(parts[4].Is(css::TokenType::Comma));
    EXPECT_TRUE(parts[5].IsFunction("x"));  // unclosed: runs to the end
    EXPECT_EQ(parts[5].args.size(), 1u);    // the white space before Eof
}

}  // namespace
}  // namespace quillon::testing
