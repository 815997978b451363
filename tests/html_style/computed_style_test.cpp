// Computed values of each property: keywords, lengths resolved against the right font size,
// shorthands expanded, what is inherited and what is not.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/html_style/style_test_util.h"

namespace quillon::testing {
namespace {

using css::BackgroundRepeat;
using css::Length;
using css::LineStyle;
using css::Rgba;

constexpr Rgba kRed{0xff0000, 255};
constexpr Rgba kBlue{0x0000ff, 255};

std::vector<double> Px(const std::array<Length, 4>& sides) {
    std::vector<double> out;
    for (const Length& l : sides) out.push_back(l.IsAuto() ? -1 : l.value);
    return out;
}

TEST(ComputedStyle, MarginAndPaddingFromOneToFourValues) {
    const struct {
        const char* value;
        std::vector<double> sides;  // top right bottom left; -1: auto
    } cases[] = {
        {"1px", {1, 1, 1, 1}},         {"1px 2px", {1, 2, 1, 2}},
        {"1px 2px 3px", {1, 2, 3, 2}}, {"1px 2px 3px 4px", {1, 2, 3, 4}},
        {"0 auto", {0, -1, 0, -1}},    {"-5px 1in", {-5, 96, -5, 96}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Px(Styled(std::string("margin: ") + c.value).margin), c.sides) << c.value;
    }
    const auto s = Styled("padding: 1px 2px 3px; padding-left: 7px; margin: 1px; margin-top: 9px");
    EXPECT_EQ(Px(s.padding), (std::vector<double>{1, 2, 3, 7}));
    EXPECT_EQ(Px(s.margin), (std::vector<double>{9, 1, 1, 1}));
    EXPECT_EQ(Styled("margin: 10%").margin[0], Length::Percent(10));
    // A percentage padding is kept for layout; a negative one is refused.
    EXPECT_EQ(Styled("padding: 4px 10%").padding[1], Length::Percent(10));
    EXPECT_EQ(Styled("padding: 4px 10%").padding[2], Length::Px(4));
    EXPECT_EQ(Px(Styled("padding: 4px; padding: -1px").padding), (std::vector<double>{4, 4, 4, 4}));
}

TEST(ComputedStyle, BorderShorthandsSetWhatTheyNameAndResetTheRest) {
    const auto all = Styled("border: 2px solid red");
    for (const auto& side : all.border) {
        EXPECT_EQ(side, (css::BorderSideStyle{2, LineStyle::Solid, kRed}));
    }
    // Parts in any order; a part left out goes back to its initial value.
    const auto s = Styled("border: red dashed thick; border-left: dotted; border-top: none");
    EXPECT_EQ(s.border[1], (css::BorderSideStyle{5, LineStyle::Dashed, kRed}));
    EXPECT_EQ(s.border[3], (css::BorderSideStyle{3, LineStyle::Dotted, std::nullopt}));
    EXPECT_EQ(s.border[0], (css::BorderSideStyle{3, LineStyle::None, std::nullopt}));

    const auto lists = Styled(
        "border-width: thin medium thick 2px; border-style: solid double; "
        "border-color: red blue #000");
    EXPECT_EQ(lists.border[0], (css::BorderSideStyle{1, LineStyle::Solid, kRed}));
    EXPECT_EQ(lists.border[1], (css::BorderSideStyle{3, LineStyle::Double, kBlue}));
    EXPECT_EQ(lists.border[2], (css::BorderSideStyle{5, LineStyle::Solid, Rgba{0, 255}}));
    EXPECT_EQ(lists.border[3], (css::BorderSideStyle{2, LineStyle::Double, kBlue}));

    const auto sides = Styled(
        "border: 1px solid; border-right-width: 4px; border-bottom-style: groove; "
        "border-left-color: currentColor; border-top-color: blue; border-left-color: red; "
        "border-left-color: currentcolor");
    EXPECT_EQ(sides.border[0].color, kBlue);
    EXPECT_EQ(sides.border[1].width, 4);
    EXPECT_EQ(sides.border[2].style, LineStyle::Other);
    EXPECT_EQ(sides.border[3].color, std::nullopt);  // the element's color
    EXPECT_EQ(Styled("border: 0").border[0].width, 0);
    EXPECT_EQ(Styled("border-top-width: 1em; font-size: 10px").border[0].width, 10);
}

TEST(ComputedStyle, FontShorthand) {
    const auto s = Styled("font: italic bold 12px/1.5 \"Times New Roman\", Georgia, SERIF");
    EXPECT_TRUE(s.italic);
    EXPECT_EQ(s.font_weight, 700);
    EXPECT_EQ(s.font_size, 12);
    EXPECT_EQ(s.line_height, 18);
    EXPECT_EQ(s.font_family, (std::vector<std::string>{"Times New Roman", "Georgia", "serif"}));

    // What the shorthand leaves out goes back to normal, even where the parent had more.
    const auto parent = Styled("font: oblique 900 30px/40px Courier");
    const auto child = Styled("font: 80% Arial", parent);
    EXPECT_FALSE(child.italic);
    EXPECT_EQ(child.font_weight, 400);
    EXPECT_EQ(child.font_size, 24);
    EXPECT_EQ(child.line_height, std::nullopt);
    EXPECT_EQ(child.font_family, std::vector<std::string>{"Arial"});

    const auto words = Styled("font: normal small-caps 700 condensed large/120% Times New Roman");
    EXPECT_EQ(words.font_weight, 700);
    EXPECT_EQ(words.font_size, 18);
    EXPECT_NEAR(*words.line_height, 21.6, 1e-9);
    EXPECT_EQ(words.font_family, std::vector<std::string>{"Times New Roman"});
    EXPECT_EQ(Styled("font: bolder 10px x", parent).font_weight, 900);
}

TEST(ComputedStyle, FontFamilyList) {
    const struct {
        const char* value;
        std::vector<std::string> families;
    } cases[] = {
        {"Arial", {"Arial"}},
        {"\"Courier New\", Courier, MONOSPACE", {"Courier New", "Courier", "monospace"}},
        {"Times   New  Roman , Sans-Serif", {"Times New Roman", "sans-serif"}},
        {"'Sans-Serif'", {"Sans-Serif"}},  // quoted: a family name, not the generic one
        {"Serif Pro, cursive", {"Serif Pro", "cursive"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Styled(std::string("font-family: ") + c.value).font_family, c.families)
            << c.value;
    }
}

TEST(ComputedStyle, FontSizeKeywordsAndRelativeSizes) {
    const auto parent = Styled("font-size: 20px");
    const struct {
        const char* value;
        double px;
    } cases[] = {
        {"xx-small", 9}, {"x-small", 10},  {"small", 13},         {"medium", 16}, {"large", 18},
        {"x-large", 24}, {"xx-large", 32}, {"smaller", 20 / 1.2}, {"larger", 24}, {"150%", 30},
        {"1.5em", 30},   {"2ex", 20},      {"2rem", 24},          {"12pt", 16},   {"0", 0},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(Styled(std::string("font-size: ") + c.value, parent, 12).font_size, c.px, 1e-9)
            << c.value;
    }
}

TEST(ComputedStyle, EmResolvesAgainstTheElementsOwnFinalFontSize) {
    const auto parent = Styled("font-size: 20px");
    // font-size comes after the lengths that depend on it and still counts.
    const auto s = Styled(
        "margin-left: 2em; text-indent: 1em; width: 10em; line-height: 1.5em; "
        "border-spacing: 0.5em; padding-top: 2ex; font-size: 10px",
        parent);
    EXPECT_EQ(s.margin[3], Length::Px(20));
    EXPECT_EQ(s.text_indent, Length::Px(10));
    EXPECT_EQ(s.width, Length::Px(100));
    EXPECT_EQ(s.line_height, 15);
    EXPECT_EQ(s.border_spacing, 5);
    EXPECT_EQ(s.padding[0], Length::Px(10));
    // Without a font-size of its own the element has its parent's.
    EXPECT_EQ(Styled("margin-left: 2em", parent).margin[3], Length::Px(40));
    EXPECT_EQ(Styled("margin-left: 2rem", parent, 11).margin[3], Length::Px(22));
    // The font shorthand sets the size as well.
    EXPECT_EQ(Styled("width: 2em; font: 15px serif", parent).width, Length::Px(30));
    EXPECT_EQ(Styled("width: 2em; font-size: 15px; font-size: inherit", parent).width,
              Length::Px(40));
}

TEST(ComputedStyle, LineHeightNumbersScaleWithEachDescendantsFontSize) {
    const auto parent = Styled("font-size: 10px; line-height: 1.5");
    EXPECT_EQ(parent.line_height, 15);
    EXPECT_EQ(Styled("font-size: 20px", parent).line_height, 30);
    EXPECT_EQ(Styled("font-size: 20px", Styled("font-size: 20px", parent)).line_height, 30);
    // A length or percentage is inherited as computed, in pixels.
    const auto fixed = Styled("font-size: 10px; line-height: 150%");
    EXPECT_EQ(Styled("font-size: 20px", fixed).line_height, 15);
    EXPECT_EQ(Styled("font-size: 20px; line-height: 1.5; line-height: 12px", parent).line_height,
              12);
    EXPECT_EQ(Styled("line-height: normal", parent).line_height, std::nullopt);
}

TEST(ComputedStyle, FontWeightRelativeToTheParent) {
    const struct {
        int parent;
        int bolder, lighter;
    } cases[] = {
        {100, 400, 100}, {300, 400, 100}, {400, 700, 100}, {500, 700, 100},
        {600, 900, 400}, {700, 900, 400}, {800, 900, 700}, {900, 900, 700},
    };
    for (const auto& c : cases) {
        const auto parent = Styled("font-weight: " + std::to_string(c.parent));
        EXPECT_EQ(Styled("font-weight: bolder", parent).font_weight, c.bolder) << c.parent;
        EXPECT_EQ(Styled("font-weight: lighter", parent).font_weight, c.lighter) << c.parent;
    }
    EXPECT_EQ(Styled("font-weight: 650").font_weight, 700);  // to the nearest hundred
}

TEST(ComputedStyle, BackgroundRepeatAndPosition) {
    EXPECT_EQ(Styled("background-repeat: repeat-x").background_repeat, BackgroundRepeat::RepeatX);
    EXPECT_EQ(Styled("background-repeat: sideways").background_repeat, BackgroundRepeat::Repeat);
    const auto pos = [](std::string_view v) {
        return Styled("background-position: " + std::string(v)).background_position;
    };
    // One value centres the other axis; keywords may come in either order.
    EXPECT_EQ(pos("center"), (std::array{Length::Percent(50), Length::Percent(50)}));
    EXPECT_EQ(pos("bottom"), (std::array{Length::Percent(50), Length::Percent(100)}));
    EXPECT_EQ(pos("top right"), (std::array{Length::Percent(100), Length::Percent(0)}));
    EXPECT_EQ(pos("2em 25%"), (std::array{Length::Px(32), Length::Percent(25)}));
    // Not a position: the initial one stays.
    EXPECT_EQ(pos("left top center"), (std::array{Length::Percent(0), Length::Percent(0)}));
    EXPECT_EQ(pos("repeat"), (std::array{Length::Percent(0), Length::Percent(0)}));
}

TEST(ComputedStyle, BackgroundShorthandTakesColourAndImage) {
    const auto s = Styled("background: #fff url(a.png) no-repeat right 10px / 50% auto");
    EXPECT_EQ(s.background_color, (Rgba{0xffffff, 255}));
    EXPECT_EQ(s.background_image, "a.png");
    // Repeat and position, but not the size after the slash.
    EXPECT_EQ(s.background_repeat, BackgroundRepeat::NoRepeat);
    EXPECT_EQ(s.background_position, (std::array{Length::Percent(100), Length::Px(10)}));
    EXPECT_EQ(Styled("background: url(a) repeat-y").background_position,
              (std::array{Length::Percent(0), Length::Percent(0)}));
    // What is left out is reset: a colour set before goes.
    const auto reset = Styled("background-color: red; background: url('b c.png')");
    EXPECT_EQ(reset.background_color, std::nullopt);
    EXPECT_EQ(reset.background_image, "b c.png");
    EXPECT_EQ(Styled("background-image: url(x); background: blue").background_image, "");
    // Layers: the first image, the last layer's colour.
    const auto layers = Styled("background: url(top.png), url(under.png) green");
    EXPECT_EQ(layers.background_image, "top.png");
    EXPECT_EQ(layers.background_color, (Rgba{0x008000, 255}));
    EXPECT_EQ(Styled("background-image: none, url(y.png)").background_image, "");
    EXPECT_EQ(Styled("background-image: url(z.png); background-image: linear-gradient(red, blue)")
                  .background_image,
              "");
    EXPECT_EQ(Styled("background: transparent").background_color, (Rgba{0, 0}));
}

TEST(ComputedStyle, CurrentColorIsTheElementsFinalColor) {
    const auto parent = Styled("color: blue");
    const auto s = Styled("background-color: currentColor; color: red", parent);
    EXPECT_EQ(s.background_color, kRed);
    EXPECT_EQ(Styled("color: currentColor", parent).color, kBlue);
    EXPECT_EQ(Styled("border-color: red; border-color: currentColor").border[0].color,
              std::nullopt);
    // rgba() keeps its alpha for the caller to blend.
    EXPECT_EQ(Styled("color: rgba(255, 0, 0, 0.5)").color, (Rgba{0xff0000, 128}));
}

TEST(ComputedStyle, ListStyleTakesItsType) {
    const struct {
        const char* value;
        css::ListStyle type;
    } cases[] = {
        {"square inside", css::ListStyle::Square},
        {"outside upper-roman", css::ListStyle::UpperRoman},
        {"none", css::ListStyle::None},
        {"url(b.png)", css::ListStyle::Disc},  // the type left out is reset
        {"none url(b.png)", css::ListStyle::None},
        {"lower-latin", css::ListStyle::LowerAlpha},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Styled(std::string("list-style-type: circle; list-style: ") + c.value).list_style,
                  c.type)
            << c.value;
    }
}

TEST(ComputedStyle, KeywordProperties) {
    const auto s = Styled(
        "display: table-header-group; visibility: collapse; text-align: END; "
        "text-transform: capitalize; vertical-align: super; white-space: pre-line; "
        "float: right; clear: both; border-collapse: collapse; font-style: oblique");
    EXPECT_EQ(s.display, css::Display::TableHeaderGroup);
    EXPECT_FALSE(s.visible);
    EXPECT_EQ(s.text_align, css::TextAlign::Right);
    EXPECT_EQ(s.text_transform, css::TextTransform::Capitalize);
    EXPECT_EQ(s.vertical_align, css::VerticalAlign::Super);
    EXPECT_EQ(s.white_space, css::WhiteSpace::PreLine);
    EXPECT_EQ(s.float_side, css::FloatSide::Right);
    EXPECT_EQ(s.clear, css::ClearSide::Both);
    EXPECT_TRUE(s.border_collapse);
    EXPECT_TRUE(s.italic);
    EXPECT_EQ(Styled("vertical-align: top; vertical-align: -3px").vertical_align,
              css::VerticalAlign::Baseline);
    EXPECT_EQ(Styled("border-spacing: 4px 9px").border_spacing, 4);
}

TEST(ComputedStyle, SizesAutoAndNone) {
    const auto s = Styled("width: 50%; min-width: 2in; max-width: 300px; height: 0");
    EXPECT_EQ(s.width, Length::Percent(50));
    EXPECT_EQ(s.min_width, Length::Px(192));
    EXPECT_EQ(s.max_width, Length::Px(300));
    EXPECT_EQ(s.height, Length::Px(0));
    const auto back = Styled(
        "width: 5px; width: auto; max-width: 5px; max-width: none; height: 5px; height: auto");
    EXPECT_TRUE(back.width.IsAuto());
    EXPECT_TRUE(back.max_width.IsAuto());
    EXPECT_TRUE(back.height.IsAuto());
}

TEST(ComputedStyle, PageBreaks) {
    const struct {
        const char* decl;
        css::BreakValue before, after, inside;
    } cases[] = {
        {"page-break-before: always", css::BreakValue::Page, {}, {}},
        {"page-break-before: left", css::BreakValue::Page, {}, {}},
        {"page-break-after: right", {}, css::BreakValue::Page, {}},
        {"page-break-after: avoid", {}, css::BreakValue::Avoid, {}},
        {"page-break-inside: avoid", {}, {}, css::BreakValue::Avoid},
        {"break-before: recto", css::BreakValue::Page, {}, {}},
        {"break-after: verso", {}, css::BreakValue::Page, {}},
        {"break-after: avoid-page", {}, css::BreakValue::Avoid, {}},
        {"break-before: page; break-before: column", css::BreakValue::Auto, {}, {}},
        {"break-inside: avoid-page", {}, {}, css::BreakValue::Avoid},
        {"break-inside: avoid; break-inside: avoid-column", {}, {}, css::BreakValue::Auto},
        {"page-break-before: always; break-before: auto", css::BreakValue::Auto, {}, {}},
    };
    for (const auto& c : cases) {
        const auto s = Styled(c.decl);
        EXPECT_EQ(s.break_before, c.before) << c.decl;
        EXPECT_EQ(s.break_after, c.after) << c.decl;
        EXPECT_EQ(s.break_inside, c.inside) << c.decl;
    }
}

TEST(ComputedStyle, InheritedPropertiesComeFromTheParentOthersStartInitial) {
    const auto parent = Styled(
        "color: red; font: italic bold 20px/30px Arial; text-align: center; "
        "text-indent: 5px; text-transform: uppercase; white-space: pre; "
        "list-style-type: square; visibility: hidden; border-collapse: collapse; "
        "border-spacing: 7px; display: block; background: blue url(p.png); width: 50px; "
        "margin: 3px; padding: 3px; border: 1px solid; vertical-align: top; float: left; "
        "clear: left; page-break-before: always; page-break-inside: avoid");
    const auto child = Styled("", parent);
    EXPECT_EQ(child.color, kRed);
    EXPECT_EQ(child.font_family, std::vector<std::string>{"Arial"});
    EXPECT_EQ(child.font_size, 20);
    EXPECT_EQ(child.font_weight, 700);
    EXPECT_TRUE(child.italic);
    EXPECT_EQ(child.line_height, 30);
    EXPECT_EQ(child.text_align, css::TextAlign::Center);
    EXPECT_EQ(child.text_indent, Length::Px(5));
    EXPECT_EQ(child.text_transform, css::TextTransform::Uppercase);
    EXPECT_EQ(child.white_space, css::WhiteSpace::Pre);
    EXPECT_EQ(child.list_style, css::ListStyle::Square);
    EXPECT_FALSE(child.visible);
    EXPECT_TRUE(child.border_collapse);
    EXPECT_EQ(child.border_spacing, 7);

    // Everything else is as in a style of no declarations, under no parent.
    auto expected = css::InitialStyle();
    expected.color = child.color;
    expected.font_family = child.font_family;
    expected.font_size = child.font_size;
    expected.font_weight = child.font_weight;
    expected.italic = child.italic;
    expected.line_height = child.line_height;
    expected.text_align = child.text_align;
    expected.text_indent = child.text_indent;
    expected.text_transform = child.text_transform;
    expected.white_space = child.white_space;
    expected.list_style = child.list_style;
    expected.visible = child.visible;
    expected.border_collapse = child.border_collapse;
    expected.border_spacing = child.border_spacing;
    EXPECT_EQ(child, expected);
    EXPECT_TRUE(child.specified.none());
}

TEST(ComputedStyle, InheritInitialAndUnset) {
    const auto parent = Styled(
        "color: red; margin: 1px 2px; background-color: blue; border-top: 2px solid red; "
        "font: bold 20px/1.2 Arial; display: block; text-decoration: underline");
    const auto s = Styled(
        "color: blue; color: initial; margin: 5px; margin: inherit; "
        "background-color: inherit; border-top-width: inherit; display: unset; "
        "font-weight: unset; text-align: right; text-align: initial",
        parent);
    EXPECT_EQ(s.color, (Rgba{0, 255}));
    EXPECT_EQ(Px(s.margin), (std::vector<double>{1, 2, 1, 2}));
    EXPECT_EQ(s.background_color, kBlue);
    EXPECT_EQ(s.border[0], (css::BorderSideStyle{2, LineStyle::None, std::nullopt}));
    EXPECT_EQ(s.display, css::Display::Inline);
    EXPECT_EQ(s.font_weight, 700);
    EXPECT_EQ(s.text_align, css::TextAlign::Start);

    const auto font = Styled("font-size: 8px; font: initial", parent);
    EXPECT_EQ(font.font_size, 16);
    EXPECT_EQ(font.font_weight, 400);
    EXPECT_TRUE(font.font_family.empty());
    EXPECT_EQ(font.line_height, std::nullopt);
    // The inherited number scales by the element's own size.
    const auto lh = Styled("font-size: 10px; line-height: 3; line-height: inherit", parent);
    EXPECT_EQ(lh.line_height, 12);
    EXPECT_EQ(Styled("width: 1em; font-size: 50px; font-size: unset", parent).width,
              Length::Px(20));
    EXPECT_EQ(Styled("margin: unset", parent).margin[0], Length::Px(0));
    EXPECT_EQ(Styled("color: unset", parent).color, kRed);
}

TEST(ComputedStyle, TextDecorationLinesCarryDown) {
    EXPECT_EQ(Styled("text-decoration: underline overline").decoration,
              css::kUnderline | css::kOverline);
    EXPECT_EQ(Styled("text-decoration: line-through red wavy").decoration, css::kLineThrough);
    EXPECT_EQ(Styled("text-decoration-line: underline; text-decoration: none").decoration, 0);

    const auto parent = Styled("text-decoration: underline");
    // A descendant's own "none" does not take the ancestor's line away.
    EXPECT_EQ(Styled("text-decoration: none", parent).decoration, css::kUnderline);
    EXPECT_EQ(Styled("text-decoration-line: overline", parent).decoration,
              css::kUnderline | css::kOverline);
    EXPECT_EQ(Styled("", Styled("", parent)).decoration, css::kUnderline);
    // Floats and inline blocks do not get their ancestors' lines.
    EXPECT_EQ(Styled("float: left; text-decoration: overline", parent).decoration, css::kOverline);
    EXPECT_EQ(Styled("display: inline-block", parent).decoration, 0);
}

}  // namespace
}  // namespace quillon::testing
