// The ALT text of picture placeholders: broken into lines at spaces, a word wider than the
// line on a line of its own, and drawn only as far as the placeholder reaches, also for a
// text of hundreds of kilobytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "html/layout/alt_text_lines.h"
#include "tests/html_layout/layout_test_support.h"

namespace quillon {
namespace {

using testing::LaidOut;
using testing::LayOut;

std::vector<std::u32string> AllLines(Canvas& canvas, std::u32string_view text, int width) {
    std::vector<std::u32string> out;
    AltTextLines lines(canvas, text, width);
    while (const auto line = lines.Next()) out.emplace_back(*line);
    return out;
}

using Lines = std::vector<std::u32string>;

TEST(AltTextLines, BreakAtTheLastSpaceThatFitsAndSkipTheBlanksAfterIt) {
    TestCanvas canvas(10, 10);  // 8 px a character
    // 40 px: five characters.
    EXPECT_EQ(AllLines(canvas, U"ab cd ef", 40), (Lines{U"ab cd", U"ef"}));
    // Blanks before a break stay with the line.
    EXPECT_EQ(AllLines(canvas, U"ab   cd ef", 40), (Lines{U"ab  ", U"cd ef"}));
    EXPECT_EQ(AllLines(canvas, U"abcde", 40), (Lines{U"abcde"}));
    // A word wider than the line has a line of its own; a text without a space is one line.
    EXPECT_EQ(AllLines(canvas, U"abcdefgh ij k", 40), (Lines{U"abcdefgh", U"ij k"}));
    EXPECT_EQ(AllLines(canvas, U"abcdefghijkl", 40), (Lines{U"abcdefghijkl"}));
    EXPECT_EQ(AllLines(canvas, U"a bcdefghij", 40), (Lines{U"a", U"bcdefghij"}));
    EXPECT_TRUE(AllLines(canvas, U"", 40).empty());
    EXPECT_EQ(AllLines(canvas, U"ab ", 8), (Lines{U"ab"}));
}

TEST(AltTextLines, LongTextsWrapLikeShortOnesAcrossTheMeasuringWindow) {
    TestCanvas canvas(10, 10);
    // Words of 1 to 9 characters; lines of 3 to 300 characters.
    std::u32string text;
    for (int i = 0; text.size() < 5000; ++i) {
        text.append(static_cast<std::size_t>(1 + (i * 7) % 9),
                    static_cast<char32_t>(U'a' + i % 26));
        text.push_back(U' ');
    }
    text.pop_back();
    for (const int chars : {3, 9, 10, 63, 64, 65, 129, 300}) {
        const Lines lines = AllLines(canvas, text, chars * 8);
        // Joined again they give the text back without its blanks at the breaks.
        std::u32string joined;
        for (const std::u32string& l : lines) {
            EXPECT_LE(static_cast<int>(l.size()), std::max(chars, 9)) << chars;
            EXPECT_NE(l.front(), U' ');
            EXPECT_NE(l.back(), U' ');
            joined += (joined.empty() ? U"" : U" ") + l;
        }
        EXPECT_TRUE(joined == text) << chars;
        // Every break is at the last space that fits: the next word would not have fitted.
        for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
            const std::size_t next_word = lines[i + 1].find(U' ');
            const std::size_t word =
                next_word == std::u32string::npos ? lines[i + 1].size() : next_word;
            EXPECT_GT(static_cast<int>(lines[i].size() + 1 + word), chars)
                << chars << " line " << i;
        }
    }
}

TEST(AltTextLines, APlaceholderDrawsTheLinesThatFitItsBoxAlsoOfAHugeText) {
    std::string alt;
    for (int i = 0; alt.size() < 450 * 1024; ++i) alt += "alt" + std::to_string(i) + " ";
    // 120 px wide, ALT lines 94 px: eleven characters; 60 px high: lines of 16 px from y 2.
    LaidOut l = LayOut("<IMG WIDTH=120 HEIGHT=60 ALT=\"" + alt + "\">", 400);
    l.canvas->ClearLog();
    l.doc->Draw(*l.canvas, Rect{0, 0, 800, 600}, 800, 0, 0);
    std::vector<std::string> texts;
    for (const std::string& s : l.canvas->Log()) {
        if (s.rfind("text ", 0) == 0) texts.push_back(s);
    }
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[0].substr(texts[0].find(' ', 5) + 1), "alt0 alt1");
    EXPECT_EQ(texts[1].substr(texts[1].find(' ', 5) + 1), "alt2 alt3");
    EXPECT_EQ(texts[3].substr(texts[3].find(' ', 5) + 1), "alt6 alt7");

    // Without a size the placeholder is as wide as the text allows (at most 32767 px): the
    // text starts on its first line.
    LaidOut wide = LayOut("<IMG ALT=\"" + alt + "\">", 400);
    wide.canvas->ClearLog();
    wide.doc->Draw(*wide.canvas, Rect{0, 0, 800, 600}, 800, 0, 0);
    const auto first = std::find_if(wide.canvas->Log().begin(), wide.canvas->Log().end(),
                                    [](const std::string& s) { return s.rfind("text ", 0) == 0; });
    ASSERT_NE(first, wide.canvas->Log().end());
    EXPECT_EQ(first->find(" alt0 alt1 alt2 "), first->find(' ', 5));
    EXPECT_LE(static_cast<int>(first->size() - first->find(' ', 5) - 1) * 8, 32767 - 26);
}

}  // namespace
}  // namespace quillon
