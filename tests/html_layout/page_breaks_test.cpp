// Where printed pages may end: between lines and table rows, at PAGE breaks, before a
// short table that starts low on a page, and in slices through what is taller than a page;
// which table rows repeat as headers.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "html/layout/html_table.h"
#include "html/layout/page_breaks.h"
#include "tests/html_layout/layout_test_support.h"

namespace quillon::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::string Repeat(std::string_view s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

PageBreakMap Breaks(LaidOut& l, int room) {
    return PageBreakMap(*l.doc, l.height, room);
}

TEST(PageBreaks, PagesEndBetweenLinesAndAtForcedBreaks) {
    auto l = LayOut("a<BR>b<BR>c<BR>d<BR>e", 400);
    const PageBreakMap m = Breaks(l, 40);
    // Lines at 0, 16, 32, ...: the line at 32 would be cut at 40.
    EXPECT_EQ(m.PageEnd(0, 40), 32);
    EXPECT_EQ(m.PageEnd(32, 40), 64);
    EXPECT_EQ(m.PageEnd(64, 40), 80);
    EXPECT_EQ(m.End(), 80);
    EXPECT_TRUE(m.CutsNothing(16));
    EXPECT_FALSE(m.CutsNothing(20));

    auto forced = LayOut("a<PAGE>b<BR>c", 400);
    const PageBreakMap f = Breaks(forced, 400);
    ASSERT_EQ(f.ForcedBreaks().size(), 1u);
    const int at = f.ForcedBreaks()[0];
    EXPECT_GT(at, 5);
    EXPECT_EQ(f.PageEnd(0, 400), at);
    // A break at a page's top makes no empty page.
    EXPECT_EQ(f.PageEnd(at, 400), f.End());
}

TEST(PageBreaks, ABreakAfterATableIsFound) {
    // The break that follows a table ends the first page, and the paragraph after it
    // starts the second.
    auto l = LayOut(
        "<P>a</P><TABLE><TR><TD>a2</TD></TR></TABLE>\n<PAGE>\n<P>b</P><TABLE><TR><TD>b2</TD>"
        "</TR></TABLE>\n<PAGE>\n<P>c</P>",
        400);
    const PageBreakMap m = Breaks(l, 1000);
    ASSERT_EQ(m.ForcedBreaks().size(), 2u);
    const int first = m.PageEnd(0, 1000);
    EXPECT_EQ(first, m.ForcedBreaks()[0]);
    const int second = m.PageEnd(first, 1000);
    EXPECT_EQ(second, m.ForcedBreaks()[1]);
    EXPECT_EQ(m.PageEnd(second, 1000), m.End());
}

TEST(PageBreaks, TallContentIsSlicedAndShortTablesLowOnAPageMoveOn) {
    // A picture taller than the page: nothing to cut between, so body-high slices.
    auto tall = LayOut("<IMG WIDTH=10 HEIGHT=100>x", 400);
    const PageBreakMap t = Breaks(tall, 40);
    EXPECT_EQ(t.PageEnd(0, 40), 40);
    EXPECT_EQ(t.PageEnd(40, 40), 80);

    // A short table starting in the lower half that would be cut starts the next page.
    auto l =
        LayOut(Repeat("line<br>", 20) + "<table><tr><td>a<br>b<br>c<br>d</td></tr></table>", 300);
    const ThtmlTable& table = dynamic_cast<const ThtmlTable&>((*l.doc)[l.doc->Count() - 1]);
    const PageBreakMap m = Breaks(l, 350);
    EXPECT_EQ(m.PageEnd(0, 350), table.LayoutY);
    // A table longer than a page is cut between its rows.
    auto rows = LayOut("<table>" + Repeat("<tr><td>r</td></tr>", 30) + "</table>", 300);
    const PageBreakMap r = Breaks(rows, 100);
    const int end = r.PageEnd(0, 100);
    EXPECT_LE(end, 100);
    EXPECT_TRUE(r.CutsNothing(end));
    EXPECT_GT(end, 50);
}

TEST(PageBreaks, RowsTallerThanAPageAreCutBetweenTheirLines) {
    auto l = LayOut("<table><tr><td>" + Repeat("x<br>", 20) + "</td><td>y</td></tr></table>", 300);
    const PageBreakMap m = Breaks(l, 100);
    const int end = m.PageEnd(0, 100);
    EXPECT_GT(end, 60);
    EXPECT_LE(end, 100);
    EXPECT_TRUE(m.CutsNothing(end));
    // Lines of the cell are 16 px apart: the cut lies on a line edge.
    const ThtmlTable& t = dynamic_cast<const ThtmlTable&>((*l.doc)[0]);
    const TSectionBase& cell_text = (*t.RowList[0])[0].Body[0];
    EXPECT_EQ((end - cell_text.LayoutY) % 16, 0);
}

TEST(PageBreaks, HeaderRowsFromTheadOrLeadingThRows) {
    auto th = LayOut("<table><tr><th>H1</th><th>H2</th></tr><tr><th>H3</th></tr>" +
                         Repeat("<tr><td>d</td><td>e</td></tr>", 10) + "</table>",
                     300);
    const PageBreakMap a = Breaks(th, 200);
    ASSERT_EQ(a.Headers().size(), 1u);
    const ThtmlTable& t = dynamic_cast<const ThtmlTable&>((*th.doc)[0]);
    const RepeatedHeader& h = a.Headers()[0];
    EXPECT_EQ(h.Table, &t);
    const int body_y = t.LayoutY;
    EXPECT_EQ(h.Top, body_y);
    // The header's cell boxes reach one pixel into the spacing below them.
    EXPECT_EQ(h.Bottom, body_y + t.RowList[0]->RowSize + t.RowList[1]->RowSize + 1);
    EXPECT_EQ(h.BodyBottom, body_y + t.BodyHeight - t.Spacing);

    auto thead = LayOut("<table><thead><tr><td>H</td></tr></thead><tbody>" +
                            Repeat("<tr><th>d</th></tr>", 10) + "</tbody></table>",
                        300);
    const PageBreakMap b = Breaks(thead, 200);
    ASSERT_EQ(b.Headers().size(), 1u);
    const ThtmlTable& bt = dynamic_cast<const ThtmlTable&>((*thead.doc)[0]);
    EXPECT_EQ(b.Headers()[0].Bottom - b.Headers()[0].Top, bt.RowList[0]->RowSize + 1);

    // No header rows, all header rows, or a header taller than half a page: none repeats.
    auto none = LayOut("<table><tr><td>a</td></tr><tr><th>b</th></tr></table>", 300);
    EXPECT_THAT(Breaks(none, 200).Headers(), IsEmpty());
    auto all = LayOut("<table><tr><th>a</th></tr><tr><th>b</th></tr></table>", 300);
    EXPECT_THAT(Breaks(all, 200).Headers(), IsEmpty());
    EXPECT_THAT(Breaks(th, 60).Headers(), IsEmpty());
}

TEST(PageBreaks, AHeaderStaysWithTheFirstRowBelowIt) {
    // The header and the first row do not fit below the 10 lines: both go on.
    auto l = LayOut(Repeat("line<br>", 10) + "<table><tr><th>H</th></tr>" +
                        Repeat("<tr><td>d</td></tr>", 40) + "</table>",
                    300);
    const ThtmlTable& t = dynamic_cast<const ThtmlTable&>((*l.doc)[l.doc->Count() - 1]);
    const int head_bottom = t.LayoutY + t.RowList[0]->RowSize + 1;
    const PageBreakMap m = Breaks(l, 200);
    EXPECT_FALSE(m.CutsNothing(head_bottom));
    EXPECT_TRUE(m.CutsNothing(head_bottom + t.RowList[1]->RowSize));
}

}  // namespace
}  // namespace quillon::testing
