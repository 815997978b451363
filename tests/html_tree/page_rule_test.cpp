// The page set-up read from a document's @page rules: paper names and lengths, orientation,
// margins and their shorthand, what is passed over, and the rules that do not apply to
// every page.

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "html/layout/section_list.h"
#include "html/tree/html_parser.h"

namespace quillon::testing {
namespace {

TPageSetup PageOf(std::string_view html) {
    TSectionList doc;
    TNameList names;
    return HtmlParseBuffer(doc, names, html).Page;
}

TPageSetup Page(std::string_view css) {
    return PageOf("<html><head><style>" + std::string(css) +
                  "</style></head><body><p>text</p></body></html>");
}

// "WxH orientation margins T,R,B,L" in millimetres rounded to tenths, '-' for what is
// not set: one string to compare.
std::string Describe(const TPageSetup& p) {
    std::ostringstream out;
    const auto mm = [&out](const std::optional<double>& v) {
        if (v) {
            out << std::round(*v * 10) / 10;
        } else {
            out << '-';
        }
    };
    mm(p.WidthMm);
    out << 'x';
    mm(p.HeightMm);
    out << ' ' << (p.Landscape ? (*p.Landscape ? "landscape" : "portrait") : "-") << " margins ";
    for (std::size_t i = 0; i < 4; ++i) {
        if (i) out << ',';
        mm(p.MarginMm[i]);
    }
    return out.str();
}

TEST(PageRule, PaperNamesAndOrientation) {
    EXPECT_EQ(Describe(Page("@page { size: A4 }")), "210x297 - margins -,-,-,-");
    EXPECT_EQ(Describe(Page("@page { size: a5 landscape }")), "148x210 landscape margins -,-,-,-");
    // The orientation may come first; names ignore case.
    EXPECT_EQ(Describe(Page("@page { size: portrait LETTER }")),
              "215.9x279.4 portrait margins -,-,-,-");
    EXPECT_EQ(Describe(Page("@page { size: A3 }")), "297x420 - margins -,-,-,-");
    EXPECT_EQ(Describe(Page("@page { size: B4 }")), "250x353 - margins -,-,-,-");
    EXPECT_EQ(Describe(Page("@page { size: B5 }")), "176x250 - margins -,-,-,-");
    EXPECT_EQ(Describe(Page("@page { size: legal }")), "215.9x355.6 - margins -,-,-,-");
    EXPECT_EQ(Describe(Page("@page { size: ledger }")), "279.4x431.8 - margins -,-,-,-");
    // An orientation alone keeps the paper open.
    EXPECT_EQ(Describe(Page("@page { size: landscape }")), "-x- landscape margins -,-,-,-");
    // auto takes back what an earlier size said.
    EXPECT_EQ(Describe(Page("@page { size: A4 landscape } @page { size: auto }")),
              "-x- - margins -,-,-,-");
    EXPECT_TRUE(Page("@page { size: auto }").Empty());
}

TEST(PageRule, SizesAsLengths) {
    EXPECT_EQ(Describe(Page("@page { size: 10cm 15cm }")), "100x150 - margins -,-,-,-");
    // One length: a square sheet. Inches, points, picas and pixels.
    EXPECT_EQ(Describe(Page("@page { size: 5in }")), "127x127 - margins -,-,-,-");
    EXPECT_EQ(Describe(Page("@page { size: 72pt 6pc }")), "25.4x25.4 - margins -,-,-,-");
    EXPECT_EQ(Describe(Page("@page { size: 960px 480px }")), "254x127 - margins -,-,-,-");
    // Wider than high stays as written: the sheet is that shape.
    EXPECT_EQ(Describe(Page("@page { size: 297mm 210mm }")), "297x210 - margins -,-,-,-");
}

TEST(PageRule, MarginShorthandAndSides) {
    EXPECT_EQ(Describe(Page("@page { margin: 1cm }")), "-x- - margins 10,10,10,10");
    EXPECT_EQ(Describe(Page("@page { margin: 1cm 2cm }")), "-x- - margins 10,20,10,20");
    EXPECT_EQ(Describe(Page("@page { margin: 1cm 2cm 3cm }")), "-x- - margins 10,20,30,20");
    EXPECT_EQ(Describe(Page("@page { margin: 1cm 2cm 3cm 4cm }")), "-x- - margins 10,20,30,40");
    EXPECT_EQ(Describe(Page("@page { margin: 0 }")), "-x- - margins 0,0,0,0");
    // Sides after the shorthand replace it, and the other way round; later rules win.
    EXPECT_EQ(
        Describe(Page("@page { margin: 1cm; margin-left: 0.5in } @page { margin-top: 36pt }")),
        "-x- - margins 12.7,10,10,12.7");
    EXPECT_EQ(Describe(Page("@page { margin-bottom: 5mm; margin: 2mm }")), "-x- - margins 2,2,2,2");
    // An !important declaration is not replaced by a later plain one.
    EXPECT_EQ(Describe(Page("@page { margin-top: 1cm !important; size: A4 !important } "
                            "@page { margin: 2cm; size: A5 }")),
              "210x297 - margins 10,20,20,20");
    EXPECT_EQ(Describe(Page("@page { size: A4 landscape; margin: 15mm 10mm }")),
              "210x297 landscape margins 15,10,15,10");
}

TEST(PageRule, InvalidValuesArePassedOver) {
    // Each of these leaves what came before it.
    for (const char* bad : {
             "size: 50%",                 // percentages
             "size: A6",                  // an unknown paper
             "size: A4 A5",               // two papers
             "size: landscape portrait",  // two orientations
             "size: 10cm landscape",      // a length with an orientation
             "size: 0 10cm",              // an empty sheet
             "size: -10cm",               // a negative one
             "size: 1cm 2cm 3cm",         // three lengths
             "size: 10",                  // a number without a unit
             "size: 10furlongs",          // an unknown unit
             "size: A4 bogus",
         }) {
        EXPECT_EQ(Describe(Page(std::string("@page { size: B5; ") + bad + " }")),
                  "176x250 - margins -,-,-,-")
            << bad;
    }
    for (const char* bad : {
             "margin: 10%",
             "margin: auto",
             "margin: -1cm",
             "margin: 1cm 2cm 3cm 4cm 5cm",
             "margin: 1cm 5%",  // one bad value drops the whole declaration
             "margin-top: 1cm 2cm",
             "margin-top: 3",
             "margin-left: red",
         }) {
        EXPECT_EQ(Describe(Page(std::string("@page { margin: 4mm; ") + bad + " }")),
                  "-x- - margins 4,4,4,4")
            << bad;
    }
    // Properties the page set-up does not know change nothing.
    EXPECT_TRUE(Page("@page { color: red; padding: 1cm; marks: crop }").Empty());
}

TEST(PageRule, OnlyRulesForEveryPageCount) {
    EXPECT_TRUE(Page("@page :first { size: A3; margin: 5cm }").Empty());
    EXPECT_EQ(Describe(Page("@page :left { margin-left: 3cm } @page { margin: 1cm } "
                            "@page :right { margin-right: 3cm } @page wide { size: A3 }")),
              "-x- - margins 10,10,10,10");
}

TEST(PageRule, DocumentsWithoutPageRules) {
    EXPECT_TRUE(PageOf("<p>no style at all</p>").Empty());
    EXPECT_TRUE(Page("p { margin: 1cm; size: A4 }").Empty());
    // The parse result of a document with @page rules carries them whatever else it holds.
    const TPageSetup p =
        PageOf("<title>T</title><style>@page { size: A5 }</style><p style='color: red'>x");
    EXPECT_TRUE(p.HasSize());
    EXPECT_FALSE(p.HasMargins());
}

}  // namespace
}  // namespace quillon::testing
