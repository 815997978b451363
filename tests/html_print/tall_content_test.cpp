// What is taller than a page body on small pages (fixed metrics): a table row made tall by
// a picture prints from the top of a sheet in body-high slices that end between the lines
// of the cells beside it, with no blank sheet before it; an empty nested table beside it
// changes nothing; a word on the line of a tall picture prints, also with a table after it.
// Every word shows once, whole, inside the sheet.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "html/view/document_print.h"
#include "tests/html_print/print_test_support.h"
#include "tests/html_print/printed_sheets.h"

namespace quillon::testing {
namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 100;

struct Printed {
    PrintResult result;
    std::vector<PrintedSheet> sheets;
};

Printed Print(const std::string& html, bool repeat_headers = true) {
    ShownDocument shown(html);
    RecordingTarget target(kWidth, kHeight);
    PrintSettings settings = NoMargins();
    settings.RepeatTableHeaders = repeat_headers;
    Printed p;
    p.result = PrintDocument(shown.doc, settings, target, 1, 9999);
    p.sheets = ReadSheets(target);
    return p;
}

// The sheets showing `word`, and how many pixels of the picture `height` high they show
// together, and on how many sheets.
std::vector<std::size_t> SheetsWith(const Printed& p, const std::string& word) {
    std::vector<std::size_t> out;
    for (std::size_t s = 0; s < p.sheets.size(); ++s) {
        for (const PrintedWord& w : p.sheets[s].words) {
            if (w.text == word) out.push_back(s);
        }
    }
    return out;
}
struct PictureShown {
    int pixels = 0;
    int sheets = 0;
};
PictureShown Picture(const Printed& p, int height) {
    PictureShown out;
    for (const PrintedSheet& s : p.sheets) {
        for (const PrintedImage& i : s.images) {
            if (i.box.Height() != height) continue;
            out.pixels += i.shown.Height();
            ++out.sheets;
        }
    }
    return out;
}

// Every one of `words` shows exactly once, whole and inside the sheet; no sheet is blank
// (shows no word or picture) unless frames are allowed to fill one.
void ExpectEveryWordOnceWhole(const Printed& p, const std::vector<std::string>& words,
                              bool frame_sheets = false) {
    std::map<std::string, int> seen;
    const Rect sheet{0, 0, kWidth, kHeight};
    for (std::size_t s = 0; s < p.sheets.size(); ++s) {
        EXPECT_TRUE(frame_sheets || !p.sheets[s].Empty()) << "sheet " << s + 1 << " is blank";
        for (const PrintedWord& w : p.sheets[s].words) {
            ++seen[w.text];
            EXPECT_FALSE(w.clipped) << w.text << " is cut on sheet " << s + 1;
            EXPECT_EQ(w.box.Intersect(sheet), w.box) << w.text << " is off sheet " << s + 1;
        }
    }
    for (const std::string& w : words) EXPECT_EQ(seen[w], 1) << w;
}

std::vector<std::string> Words(int n, const std::string& prefix = "L") {
    std::vector<std::string> out;
    for (int i = 1; i <= n; ++i) out.push_back(prefix + std::to_string(i));
    return out;
}

TEST(TallContent, ARowTallerThanThePageStartsTheFirstSheetWhenOnlyAnEmptyRowIsAbove) {
    const Printed p = Print(
        "<TABLE><TR><TD></TD></TR><TR><TD>w1</TD><TD><IMG WIDTH=10 HEIGHT=250></TD></TR>"
        "</TABLE>");
    ExpectEveryWordOnceWhole(p, {"w1"});
    ASSERT_GE(p.sheets.size(), 3u);
    EXPECT_GT(p.result.PageTops.at(0), 0) << "the empty row holds no sheet of its own";
    // The picture's slices add up to its height.
    int shown = 0;
    for (const PrintedSheet& s : p.sheets) {
        for (const PrintedImage& i : s.images) shown += i.shown.Height();
    }
    EXPECT_EQ(shown, 250);

    // Framed, the empty row shows: it keeps its sheet (a frame alone) and the tall row
    // starts the next.
    const Printed framed = Print(
        "<TABLE BORDER=1><TR><TD></TD></TR><TR><TD>w1</TD><TD><IMG WIDTH=10 HEIGHT=250></TD>"
        "</TR></TABLE>");
    ExpectEveryWordOnceWhole(framed, {"w1"}, true);
    EXPECT_EQ(framed.result.PageTops.at(0), 0);
}

TEST(TallContent, SlicesOfATallRowEndBetweenTheLinesBesideIt) {
    // Twenty lines beside a picture of 250 px, top-aligned: cut between lines, each once.
    const Printed p = Print("<TABLE CELLPADDING=3><TR><TD VALIGN=TOP>" + Lines(20) +
                            "</TD><TD><IMG WIDTH=10 HEIGHT=250></TD></TR></TABLE>");
    ExpectEveryWordOnceWhole(p, Words(20));
    // Below another row, the tall row starts a sheet of its own.
    const Printed below = Print("<TABLE><TR><TD>first</TD></TR><TR><TD VALIGN=TOP>" + Lines(12) +
                                "</TD><TD><IMG WIDTH=10 HEIGHT=250></TD></TR></TABLE>");
    ExpectEveryWordOnceWhole(below, Words(12));
    ASSERT_GE(below.sheets.size(), 2u);
    ASSERT_EQ(below.sheets[0].words.size(), 1u);
    EXPECT_EQ(below.sheets[0].words[0].text, "first");
}

TEST(TallContent, AnEmptyNestedTableBesideATallCellCutsNoText) {
    for (const char* nested : {"<TABLE></TABLE>", "<TABLE BORDER=1></TABLE>", ""}) {
        SCOPED_TRACE(nested);
        const Printed p = Print(std::string("<TABLE><TR><TD>") + nested +
                                "</TD><TD>w1</TD><TD><IMG WIDTH=10 HEIGHT=2000></TD></TR>"
                                "</TABLE>");
        ExpectEveryWordOnceWhole(p, {"w1"});
    }
}

TEST(TallContent, AWordOnTheLineOfATallPicturePrintsAlsoBeforeATable) {
    for (const char* after : {"<TABLE><TR><TD>w2</TD></TR></TABLE>", "<P>w2</P>"}) {
        SCOPED_TRACE(after);
        const Printed p = Print(std::string("<P><IMG WIDTH=10 HEIGHT=250> w1</P>") + after);
        ExpectEveryWordOnceWhole(p, {"w1", "w2"});
    }
}

// A row taller than the page continues the table on each of its slices: the header row is
// drawn above every slice, as on any sheet the table continues on, and on none when header
// rows do not repeat. The slices add up to the picture exactly (no pixel row twice).
TEST(TallContent, HeaderRowsRepeatAboveTheSlicesOfATallRowAsOnOtherSheets) {
    const std::string html =
        "<TABLE><TR><TH>Head</TH><TH>More</TH></TR><TR><TD>w1</TD><TD><IMG WIDTH=10 "
        "HEIGHT=250></TD></TR></TABLE>";
    const Printed repeated = Print(html);
    ExpectEveryWordOnceWhole(repeated, {"w1"});
    ASSERT_GE(repeated.sheets.size(), 3u);
    std::vector<std::size_t> all(repeated.sheets.size());
    for (std::size_t s = 0; s < all.size(); ++s) all[s] = s;
    EXPECT_EQ(SheetsWith(repeated, "Head"), all);
    for (const PrintedSheet& s : repeated.sheets) {
        ASSERT_FALSE(s.images.empty());
        EXPECT_GE(s.images[0].shown.top, s.words.at(0).box.bottom) << "the header stands above";
    }
    EXPECT_EQ(Picture(repeated, 250).pixels, 250);

    const Printed once = Print(html, false);
    EXPECT_EQ(SheetsWith(once, "Head"), std::vector<std::size_t>{0});
    EXPECT_EQ(Picture(once, 250).pixels, 250);
}

// A row that fits a sheet but not below the repeated header row prints whole on a sheet of
// its own without the header; the header comes back on the sheet after it.
TEST(TallContent, ARowThatFitsOnlyWithoutTheHeaderRowIsNotCut) {
    const Printed p = Print(
        "<TABLE CELLPADDING=0 CELLSPACING=0><TR><TH>Head</TH><TH>More</TH></TR>"
        "<TR><TD>r1</TD><TD>x</TD></TR><TR><TD>r2</TD><TD><IMG WIDTH=10 HEIGHT=90></TD></TR>"
        "<TR><TD>r3</TD><TD>y</TD></TR></TABLE>");
    ExpectEveryWordOnceWhole(p, {"r1", "r2", "r3"});
    const PictureShown picture = Picture(p, 90);
    EXPECT_EQ(picture.pixels, 90);
    EXPECT_EQ(picture.sheets, 1) << "a picture that fits a sheet is not cut";
    const std::vector<std::size_t> r2 = SheetsWith(p, "r2");
    const std::vector<std::size_t> head = SheetsWith(p, "Head");
    ASSERT_EQ(r2.size(), 1u);
    EXPECT_EQ(std::count(head.begin(), head.end(), r2[0]), 0);
    EXPECT_EQ(SheetsWith(p, "r3"), std::vector<std::size_t>{r2[0] + 1});
    EXPECT_EQ(std::count(head.begin(), head.end(), r2[0] + 1), 1);
}

// Words on the line of a picture taller than the page: the slice ends above them rather
// than through them, so they print once and whole wherever the slice end would fall.
TEST(TallContent, ASliceEndsAboveTheWordsOnTheLineOfATallPicture) {
    for (int height = 195; height <= 215; height += 5) {
        SCOPED_TRACE(height);
        const Printed p =
            Print("<P><IMG WIDTH=10 HEIGHT=" + std::to_string(height) + "> w1 w2</P><P>w3</P>");
        ExpectEveryWordOnceWhole(p, {"w1", "w2", "w3"});
        EXPECT_EQ(Picture(p, height).pixels, height);
    }
}

// A PAGE right after a picture taller than the page: the last few pixels of the picture
// end a sheet of their own, and what follows the break starts the next.
TEST(TallContent, APageBreakAfterTheLastPixelsOfATallPictureStillBreaks) {
    for (const int height : {198, 200, 202, 204, 206}) {
        SCOPED_TRACE(height);
        const Printed p = Print(
            "<TABLE BORDER=0 CELLPADDING=0 CELLSPACING=0><TR><TD><IMG WIDTH=10 "
            "HEIGHT=" +
            std::to_string(height) + "></TD></TR></TABLE><PAGE><P>w2</P>");
        ExpectEveryWordOnceWhole(p, {"w2"});
        EXPECT_EQ(Picture(p, height).pixels, height);
        const std::vector<std::size_t> after = SheetsWith(p, "w2");
        ASSERT_EQ(after.size(), 1u);
        EXPECT_TRUE(p.sheets[after[0]].images.empty()) << "w2 shares a sheet with the picture";
    }
}

}  // namespace
}  // namespace quillon::testing
