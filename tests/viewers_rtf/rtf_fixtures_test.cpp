// The reader on RTF written by other programs and by the engine itself (tests/data/rtf,
// see its README), compared paragraph by paragraph by text and formatting runs.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "rtf_test_support.h"
#include "viewers/rtf/rtf_reader.h"

namespace quillon::rtf {
namespace {

using testing::DescribeAll;
using ::testing::ElementsAre;
using testing::Fixture;

TEST(RtfFixtures, EngineInvoice) {
    // Six invoice pages written from examples/invoice.rtf; values are raw UTF-8.
    const RtfDocument doc = ReadRtf(Fixture("engine_invoice.rtf"));
    const std::vector<std::string> all = DescribeAll(doc, {.base_size = 10, .fonts = true});
    ASSERT_GE(all.size(), 8u);
    EXPECT_THAT(std::vector<std::string>(all.begin(), all.begin() + 8),
                ElementsAre("<b,18pt,f=Helvetica>Invoice", "<f=Helvetica>Date: 2026-12-06", "",
                            "<8pt,f=Helvetica>Page   1",
                            "<b,f=Helvetica>Customer: Baltic Timber                 ",
                            "<f=Courier New>Date       Item                       Qty    Price"
                            "     Amount",
                            "<f=Courier New>2026-01-01 Paper A4, 500 sheets         7     4.75"
                            "      33.25",
                            "<f=Courier New>2026-01-07 Desk lamp                    6    24.90"
                            "     149.40"));
    EXPECT_EQ(doc.paragraphs[3].alignment, RtfAlignment::Right);
    EXPECT_EQ(doc.paragraphs[4].alignment, RtfAlignment::Left);

    // Every later page begins with its right-aligned page number.
    int pages = 1;
    for (const RtfParagraph& p : doc.paragraphs) {
        if (!p.page_break_before) continue;
        ++pages;
        EXPECT_EQ(p.Text(), "Page   " + std::to_string(pages));
        EXPECT_EQ(p.alignment, RtfAlignment::Right);
    }
    EXPECT_EQ(pages, 6);
    EXPECT_EQ(all[all.size() - 3],
              "<b,f=Courier New>Total Žalgiris Sport                          "
              "   4605.15");
    EXPECT_EQ(all.back(), "");
}

TEST(RtfFixtures, WordProcessorSample) {
    const RtfDocument doc = ReadRtf(Fixture("writer_sample.rtf"));
    EXPECT_THAT(
        DescribeAll(doc),
        ElementsAre("<b,24pt>Quarterly sales",
                    "Plain start, |<b>bold part|, |<i>italic part|, |<u>underlined part| and "
                    "|<s>struck part|.",
                    "<#ff0000>Red words| then |<#0000ff>blue words|.",
                    "<18pt>Large 18 point| and |<8pt>small 8 point|.",
                    "Names: Šiaulių bankas, Łódź, Pražská, Москва, €uro — dash “quoted”.",
                    "First line\u2028second line after a break", "Column A Column B",
                    "[page]After the page break.", "<b,i>Bold italic| end."));
}

TEST(RtfFixtures, WordProcessorLetterWithTabsFontsAndPageBreak) {
    const RtfDocument doc = ReadRtf(Fixture("writer_letter.rtf"));
    EXPECT_THAT(DescribeAll(doc, {.fonts = true}),
                ElementsAre("<f=DejaVu Serif>Item\tQty\tPrice",
                            "<9pt,f=DejaVu Sans Mono>Tea|<f=DejaVu Serif>\t3\t|"
                            "<b,#008000,f=DejaVu Serif>4.50",
                            "<f=DejaVu Serif>Ąžuolas ir Žemė\u2028Привет, мир",
                            "[page]<f=DejaVu Serif>Second page |"
                            "<i,u,f=DejaVu Serif>underlined italic|<f=DejaVu Serif> text."));
    const RtfFont& mono =
        doc.fonts[static_cast<std::size_t>(doc.paragraphs[1].runs[0].format.font)];
    EXPECT_TRUE(mono.fixed_pitch);
    EXPECT_EQ(mono.family, RtfFontFamily::Modern);
}

TEST(RtfFixtures, PandocSample) {
    const RtfDocument doc = ReadRtf(Fixture("pandoc_sample.rtf"));
    EXPECT_THAT(DescribeAll(doc, {.fonts = true}),
                ElementsAre("<b,18pt,f=Helvetica>Sales by region",
                            "<f=Helvetica>Plain start, |<b,f=Helvetica>bold part|"
                            "<f=Helvetica>, |<i,f=Helvetica>italic part|<f=Helvetica> and |"
                            "<s,f=Helvetica>struck part|<f=Helvetica>.",
                            "<f=Helvetica>Lithuanian: Šiaulių bankas; Russian: Москва; "
                            "symbol \U0001D11E clef.",
                            "<f=Helvetica>Second paragraph with a hard\u2028line break and |"
                            "<f=Courier>code text|<f=Helvetica>."));
}

}  // namespace
}  // namespace quillon::rtf
