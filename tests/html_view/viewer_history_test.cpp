// History order and caps, and following links.

#include <gtest/gtest.h>

#include "model_test_support.h"

namespace quillon {
namespace {

using testing::FakeViewer;
using testing::Paragraphs;
using testing::ScratchDir;

std::vector<std::string> WriteFiles(ScratchDir& dir, int n) {
    std::vector<std::string> files;
    for (int i = 0; i < n; ++i) {
        files.push_back(dir.Write("f" + std::to_string(i) + ".htm",
                                  "<TITLE>T" + std::to_string(i) + "</TITLE><P>x</P>"));
    }
    return files;
}

TEST(ViewerHistory, KeepsTheNewestAndCutsTheNewerOnesAfterGoingBack) {
    FakeViewer v;
    ScratchDir dir;
    int changes = 0;
    v.OnHistoryChange = [&](THTMLViewerModel&) { ++changes; };
    v.SetHistoryMaxCount(10);
    const auto files = WriteFiles(dir, 14);
    for (int i = 0; i < 12; ++i) v.LoadFromFile(files[i]);
    ASSERT_EQ(v.History().size(), 10u);
    EXPECT_EQ(v.History().front(), files[11]);
    EXPECT_EQ(v.History().back(), files[2]);
    EXPECT_EQ(v.TitleHistory().front(), "T11");
    EXPECT_EQ(changes, 12);

    v.SetHistoryIndex(3);  // back three
    EXPECT_EQ(v.CurrentFile(), files[8]);
    EXPECT_EQ(v.HistoryIndex(), 3);
    v.LoadFromFile(files[12]);
    ASSERT_EQ(v.History().size(), 8u);  // 11, 10, 9 are gone
    EXPECT_EQ(v.History()[0], files[12]);
    EXPECT_EQ(v.History()[1], files[8]);
    EXPECT_EQ(v.HistoryIndex(), 0);

    // Loading the same file again is no new entry; out-of-range indices are ignored.
    v.LoadFromFile(files[12]);
    EXPECT_EQ(v.History().size(), 8u);
    v.SetHistoryIndex(8);
    v.SetHistoryIndex(-1);
    EXPECT_EQ(v.HistoryIndex(), 0);

    // A smaller maximum clears the history.
    v.SetHistoryMaxCount(5);
    EXPECT_TRUE(v.History().empty());
    v.LoadFromFile(files[13]);
    EXPECT_EQ(v.History().size(), 1u);
}

TEST(ViewerHistory, NoHistoryWithoutMaxCountAndPositionsComeBack) {
    FakeViewer v;
    ScratchDir dir;
    const std::string a = dir.Write("a.htm", Paragraphs(100));
    const std::string b = dir.Write("b.htm", "<P>b</P>");
    v.LoadFromFile(a);
    v.LoadFromFile(b);
    EXPECT_TRUE(v.History().empty());

    v.SetHistoryMaxCount(5);
    v.LoadFromFile(a);
    v.ScrollTo(400);
    v.LoadFromFile(b);
    ASSERT_EQ(v.History().size(), 2u);
    v.SetHistoryIndex(1);
    EXPECT_EQ(v.CurrentFile(), a);
    EXPECT_EQ(v.ScrollPos(), 400);
    v.ClearHistory();
    EXPECT_TRUE(v.History().empty());
    EXPECT_EQ(v.HistoryIndex(), 0);
}

TEST(ViewerLinks, FollowsFilesAnchorsAndImagesAndIgnoresOtherKinds) {
    FakeViewer v;
    ScratchDir dir;
    v.SetHistoryMaxCount(10);
    const std::string links =
        "<P><A HREF=\"#here\">anchor</A> <A HREF=\"Sub/Next.HTM#X\">next</A> "
        "<A HREF=\"notes.txt\">notes</A> <A HREF=\"Sub/Next.HTM\">again</A></P>";
    const std::string main = dir.Write("Main.htm", "<TITLE>Main</TITLE>" + links + Paragraphs(60) +
                                                       "<A NAME=Here>here</A>" + Paragraphs(60));
    dir.Write("Sub/Next.HTM", "<TITLE>Next</TITLE><P><A HREF=\"file://" + main + "\">back</A></P>" +
                                  Paragraphs(60) + "<A NAME=x>x</A>" + Paragraphs(30));
    v.LoadFromFile(main);

    // An anchor in this document: scroll, and remember where we were.
    testing::ClickText(v, "anchor");
    EXPECT_TRUE(v.LinkClicked());
    EXPECT_GT(v.ScrollPos(), 60 * 16);
    EXPECT_EQ(v.History().size(), 2u);  // same file, two positions

    // Relative to Main.htm, the case of the name kept, then to the anchor.
    testing::ClickText(v, "next");
    EXPECT_EQ(v.Title(), "Next");
    EXPECT_EQ(v.CurrentFile(), dir.Path("Sub/Next.HTM"));
    EXPECT_GT(v.ScrollPos(), 60 * 16);

    testing::ClickText(v, "back");  // a file:// URL
    EXPECT_EQ(v.Title(), "Main");

    testing::ClickText(v, "notes");  // not a document or picture: nothing happens
    EXPECT_EQ(v.Title(), "Main");
    EXPECT_EQ(v.URL(), "notes.txt");

    std::string asked;
    v.OnHotSpotClick = [&](THTMLViewerModel&, const std::string& src, bool& handled) {
        asked = src;
        handled = true;
    };
    testing::ClickText(v, "again");
    EXPECT_EQ(asked, "Sub/Next.HTM");
    EXPECT_EQ(v.Title(), "Main");  // the application handled it
}

TEST(ViewerLinks, DraggingAcrossALinkSelectsAndDoesNotFollow) {
    FakeViewer v;
    ScratchDir dir;
    dir.Write("b.htm", "<TITLE>B</TITLE>");
    v.LoadFromFile(dir.Write("a.htm", "<TITLE>A</TITLE><A HREF=b.htm>link text</A>"));
    const Point from = testing::PanelPointOf(v, "link");
    const Point to = testing::PanelPointOf(v, "text");
    v.MouseDown(from.x, from.y, true, true);
    v.MouseMove(to.x, to.y, true);
    v.MouseUp(to.x, to.y, true);
    EXPECT_EQ(v.Title(), "A");
    EXPECT_EQ(v.SelText(), "link ");
}

TEST(ViewerLinks, HoverReportsEnteringAndLeavingLinks) {
    FakeViewer v;
    v.LoadFromBuffer("<P>plain <A HREF=\"x.htm\">linked</A></P>");
    std::vector<std::string> covered;
    v.OnHotSpotCovered = [&](THTMLViewerModel&, const std::string& src) { covered.push_back(src); };
    const Point plain = testing::PanelPointOf(v, "plain");
    const Point link = testing::PanelPointOf(v, "linked");
    EXPECT_FALSE(v.MouseMove(plain.x, plain.y, false));
    EXPECT_TRUE(v.MouseMove(link.x, link.y, false));
    EXPECT_TRUE(v.MouseMove(link.x + 8, link.y, false));  // still the same link: no event
    EXPECT_FALSE(v.MouseMove(plain.x, plain.y, false));
    EXPECT_EQ(covered, (std::vector<std::string>{"x.htm", ""}));

    // Over a link when another document with the same link loads: entering it is reported.
    EXPECT_TRUE(v.MouseMove(link.x, link.y, false));
    v.LoadFromBuffer("<P>plain <A HREF=\"x.htm\">linked</A></P>");
    EXPECT_TRUE(v.MouseMove(link.x, link.y, false));
    EXPECT_EQ(covered, (std::vector<std::string>{"x.htm", "", "x.htm", "x.htm"}));
}

}  // namespace
}  // namespace quillon
