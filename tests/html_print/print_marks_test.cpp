// Print marks with fixed metrics (8-px characters, 16-px lines): link areas, anchors and
// headings reach a canvas that keeps marks while printing, on the page showing them, and
// never while the document is drawn on the screen.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "html/view/document_print.h"
#include "tests/html_print/print_test_support.h"

namespace quillon::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// The marks of every page of a print on width x height pages, page by page.
std::vector<std::vector<std::string>> PrintMarks(std::string_view html, int width = 400,
                                                 int height = 100) {
    ShownDocument shown(html);
    RecordingTarget target(width, height);
    target.KeepMarks = true;
    PrintDocument(shown.doc, NoMargins(), target, 1, 9999);
    std::vector<std::vector<std::string>> out;
    for (std::size_t p = 0; p < target.Pages.size(); ++p) out.push_back(target.Marks(p));
    return out;
}

TEST(PrintMarks, ALinkIsMarkedOverItsTextOnePiecePerLine) {
    // Runs of one link in different styles make one area; the link's text box is as high as
    // its font.
    EXPECT_THAT(PrintMarks("ab <A HREF=\"http://a.test/x\">cd<B>ef</B></A> gh"),
                ElementsAre(ElementsAre("link 24,0,56,16 http://a.test/x")));
    // 10 characters fit on an 80-px line: the link breaks after "bbbb ", and each line gets
    // an area of its own.
    EXPECT_THAT(PrintMarks("aaaa <A HREF=\"mailto:x@y.test\">bbbb cccc dddd</A>", 80),
                ElementsAre(ElementsAre("link 40,0,80,16 mailto:x@y.test",
                                        "link 0,16,72,32 mailto:x@y.test")));
    // Two links side by side stay apart.
    EXPECT_THAT(PrintMarks("<A HREF=\"u1\">ab</A><A HREF=\"u2\">cd</A>"),
                ElementsAre(ElementsAre("link 0,0,16,16 u1", "link 16,0,32,16 u2")));
    // A linked picture is marked over its box.
    EXPECT_THAT(PrintMarks("x<A HREF=\"pic.htm\"><IMG WIDTH=20 HEIGHT=10 BORDER=0></A>"),
                ElementsAre(ElementsAre(::testing::StartsWith("link 8,"))));
}

TEST(PrintMarks, JumpsGoToAnchorsOnThePagesThatShowThem) {
    // Six lines fit a page: the anchor "Later" is on the second page. Names compare without
    // case; a jump to a name the document lacks is not marked.
    const auto marks = PrintMarks("<A HREF=\"#later\">go</A> <A HREF=\"#missing\">no</A><BR>" +
                                  Lines(7) + "<BR><A NAME=\"Later\">here</A>");
    ASSERT_EQ(marks.size(), 2u);
    EXPECT_THAT(marks[0], ElementsAre("jump 0,0,16,16 LATER"));
    EXPECT_THAT(marks[1], ElementsAre("anchor 0,32 LATER"));
}

TEST(PrintMarks, HeadingsUpToH3AreMarkedWithTheirTextWhereTheirFirstLineLands) {
    // Spaces fold in titles and a picture drops out of one; an H4 is no outline entry. The
    // second page starts at the PAGE break (document y 152).
    const auto marks = PrintMarks(
        "<H1>Sales <I>2026</I></H1>a<H4>Minor</H4><H2>Part&nbsp; one<BR>and two</H2>"
        "<PAGE><H3><IMG WIDTH=8 HEIGHT=8> Detail</H3>",
        400, 200);
    EXPECT_THAT(marks, ElementsAre(ElementsAre("heading 1 0,16 Sales 2026",
                                               "heading 2 0,108 Part one and two"),
                                   ElementsAre("heading 3 0,10 Detail")));
}

TEST(PrintMarks, ALineMovedToTheNextPageIsMarkedThereOnly) {
    // Five lines, then a heading whose line does not fit the rest of the first page.
    const auto marks = PrintMarks(Lines(5) + "<H2><A NAME=n>Moved</A></H2>");
    ASSERT_EQ(marks.size(), 2u);
    EXPECT_THAT(marks[0], IsEmpty());
    EXPECT_THAT(marks[1], ElementsAre("anchor 0,0 N", "heading 2 0,0 Moved"));
}

TEST(PrintMarks, NothingIsMarkedOnTheScreenOrOnACanvasThatKeepsNoMarks) {
    ShownDocument shown("<H1><A NAME=a HREF=\"#a\">Top</A></H1><A HREF=\"http://x.test\">x</A>");
    TestCanvas::Config config;
    config.marks = true;
    TestCanvas screen(400, 200, config, Rgba{255, 255, 255, 255});
    int max_width = 0, cursor = 0;
    shown.doc.DoLogic(screen, 0, 400, max_width, cursor);
    shown.doc.Draw(screen, Rect{0, 0, 400, 200}, 400, 0, 0);
    for (const std::string& line : screen.Log()) {
        EXPECT_FALSE(line.starts_with("link") || line.starts_with("jump") ||
                     line.starts_with("anchor") || line.starts_with("heading"))
            << line;
    }
    RecordingTarget plain(400, 100);  // pages that keep no marks
    PrintDocument(shown.doc, NoMargins(), plain, 1, 9999);
    EXPECT_THAT(plain.Marks(0), IsEmpty());
}

}  // namespace
}  // namespace quillon::testing
