// What is taller than a page body on small pages (fixed metrics): a table row made tall by
// a picture prints from the top of a sheet in body-high slices that end between the lines
// of the cells beside it, with no blank sheet before it; an empty nested table beside it
// changes nothing; a word on the line of a tall picture prints, also with a table after it.
// Every word shows once, whole, inside the sheet.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

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

Printed Print(const std::string& html) {
    ShownDocument shown(html);
    RecordingTarget target(kWidth, kHeight);
    Printed p;
    p.result = PrintDocument(shown.doc, NoMargins(), target, 1, 9999);
    p.sheets = ReadSheets(target);
    return p;
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

}  // namespace
}  // namespace quillon::testing
