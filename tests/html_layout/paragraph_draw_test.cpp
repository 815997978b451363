// Drawing and hit tests of laid-out paragraphs on the fixed-metric canvas: list markers,
// selection, the print page bottom, image sizes and scaling, links, the text cursor,
// search, copying and the layout dump.
#include <gtest/gtest.h>

#include <algorithm>

#include "html/dump/layout_dump.h"
#include "html/layout/image_obj.h"
#include "tests/html_layout/layout_test_support.h"

namespace quillon {
namespace {

using testing::LaidOut;
using testing::LayOut;

std::vector<std::string> Draw(LaidOut& l, Rect clip = Rect{0, 0, 800, 600}) {
    l.canvas->ClearLog();
    l.doc->Draw(*l.canvas, clip, 800, 0, 0);
    return l.canvas->Log();
}

std::vector<std::string> Starting(const std::vector<std::string>& log, std::string_view prefix) {
    std::vector<std::string> out;
    std::copy_if(log.begin(), log.end(), std::back_inserter(out),
                 [&](const std::string& s) { return s.rfind(prefix, 0) == 0; });
    return out;
}

TEST(ListMarkers, BulletsCycleColoursByLevelOnLightBackgrounds) {
    const char* html = "<UL><LI>a<UL><LI>b<UL><LI>c<UL><LI>d</UL></UL></UL></UL>";
    auto l = LayOut(html, 400);
    // First item: line x 35, text middle 8: the ellipse (25, 6)..(30, 11).
    EXPECT_EQ(Starting(Draw(l), "ellipse"),
              (std::vector<std::string>{"ellipse 25,6,30,11 #FF0000", "ellipse 60,22,65,27 #000080",
                                        "ellipse 95,38,100,43 #800000",
                                        "ellipse 130,54,135,59 #FF0000"}));
    l.doc->SetBackground(0x000040);
    const auto frames = Starting(Draw(l), "ellipse");
    ASSERT_EQ(frames.size(), 4u);
    EXPECT_EQ(frames[0], "ellipse-frame 25,6,30,11 #000000 1");
    // Plain lists and definition items draw nothing.
    auto plain = LayOut("<UL PLAIN><LI>a</UL><DL><DT>t<DD>d</DL>", 400);
    EXPECT_TRUE(Starting(Draw(plain), "ellipse").empty());
}

TEST(ListMarkers, NumbersEndLeftOfTheLineOnItsBaseline) {
    auto l = LayOut("<OL TYPE=I START=3><LI>x<LI>y</OL><OL START=0 TYPE=a><LI>z</OL>", 400);
    const auto texts = Starting(Draw(l), "text");
    // "III." is 32 px wide and ends 5 px left of x 35.
    EXPECT_EQ(texts[0], "text -2,0 III.");
    EXPECT_EQ(texts[1], "text 35,0 x");
    EXPECT_EQ(texts[2], "text 6,16 IV.");
    EXPECT_EQ(texts[4], "text 14,32 0.");
}

TEST(Selection, SelectedTextIsDrawnWithColoursSwapped) {
    auto l = LayOut("<FONT COLOR=#112233>abcdef</FONT>", 400);
    l.doc->SelStart = 2;
    l.doc->SelEnd = 4;
    const auto log = Draw(l);
    const auto texts = Starting(log, "text");
    EXPECT_EQ(texts,
              (std::vector<std::string>{"text 0,0 ab", "text 16,0 on #112233 cd", "text 32,0 ef"}));
    // The selected piece is written in the background colour.
    const auto it = std::find(log.begin(), log.end(), "text 16,0 on #112233 cd");
    ASSERT_NE(it, log.begin());
    EXPECT_NE((it - 1)->find("#FFFFFF"), std::string::npos);
    // Never when printing.
    l.doc->IsPrinting = true;
    EXPECT_EQ(Starting(Draw(l), "text").size(), 1u);
}

TEST(ImageSizes, FromWidthHeightPercentAndBorders) {
    auto l = LayOut(
        "<IMG SRC=a HEIGHT=50> <IMG SRC=a WIDTH=50> <IMG SRC=a WIDTH=25% HEIGHT=8> "
        "<IMG SRC=a WIDTH=30> <IMG SRC=a WIDTH=100000 HEIGHT=70000> "
        "<A HREF=x><IMG SRC=a WIDTH=10 HEIGHT=10><IMG SRC=a WIDTH=10 HEIGHT=10 BORDER=0>"
        "</A> <IMG SRC=missing> <IMG SRC=missing ALT=abc> <IMG WIDTH=1 HEIGHT=2>",
        400);
    TSection& s = l.Text(0);
    ASSERT_EQ(s.InlineImages().size(), 10u);
    for (int i = 0; i < 7; ++i) {
        testing::GivePicture(*s.InlineImages()[static_cast<std::size_t>(i)],
                             std::make_shared<RgbaImage>(100, 200));
    }
    // A picture without a size cannot divide by zero.
    testing::GivePicture(*s.InlineImages()[3], std::make_shared<RgbaImage>());
    l.Layout(400);
    const auto size = [&](int i) {
        const TImageObj& image = *s.InlineImages()[static_cast<std::size_t>(i)];
        return std::pair{image.DrawnWidth, image.DrawnHeight};
    };
    EXPECT_EQ(size(0), (std::pair{25, 50}));
    EXPECT_EQ(size(1), (std::pair{50, 100}));
    EXPECT_EQ(size(2), (std::pair{100, 8}));
    EXPECT_EQ(size(3), (std::pair{30, 30}));
    EXPECT_EQ(size(4), (std::pair{32767, 32767}));  // clamped for layout
    EXPECT_EQ(size(5), (std::pair{12, 12}));        // linked: a frame
    EXPECT_EQ(size(6), (std::pair{10, 10}));        // BORDER=0
    EXPECT_EQ(size(7), (std::pair{26, 24}));        // missing: placeholder and an empty ALT
    EXPECT_EQ(size(8), (std::pair{50, 24}));        // and for "abc" beside it
    EXPECT_EQ(size(9), (std::pair{1, 2}));          // missing with both sizes given
}

TEST(ImageSizes, HugeImagesAreDrawnScaledNotCopied) {
    auto l = LayOut("<IMG SRC=a WIDTH=90000 HEIGHT=20>", 400);
    testing::GivePicture(*l.Text(0).InlineImages()[0], std::make_shared<RgbaImage>(2, 1));
    l.Layout(400);
    const auto images = Starting(Draw(l), "image");
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0], "image 0,0,32767,20 2x1");
}

TEST(HitTests, LinksAndServerMaps) {
    auto l = LayOut(
        "<A HREF=\"x.htm\" TARGET=f>link</A> plain "
        "<A HREF=\"map.cgi\"><IMG SRC=a WIDTH=40 HEIGHT=20 ISMAP></A>",
        400);
    TSection& s = l.Text(0);
    auto hit = s.GetURL(*l.canvas, 10, 10);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->Url.URL, "x.htm");
    EXPECT_EQ(hit->Url.Target, "f");
    EXPECT_FALSE(s.GetURL(*l.canvas, 60, 10));  // "plain"
    EXPECT_FALSE(s.GetURL(*l.canvas, 10, 40));  // below the text
    // The image (42 x 22 with its frame) starts at x 88; clicked at (11, 6) inside it.
    const Rect box = s.ImageBoxes()[0];
    EXPECT_EQ(box.left, 88);
    auto map = s.GetURL(*l.canvas, box.left + 11, box.top + 6);
    ASSERT_TRUE(map);
    EXPECT_EQ(map->Url.URL, "map.cgi?11,6");
}

TEST(HitTests, CursorSnapsToTheNearerSideAndMapsBack) {
    auto l = LayOut("<P>abcdef ghijkl</P>", 64);  // "abcdef " and "ghijkl"
    TSection& s = l.Text(0);
    const int top = s.LayoutY;
    EXPECT_EQ(s.FindCursor(*l.canvas, 19, top + 5).Index, s.FirstCursor + 2);
    const CursorHit after = s.FindCursor(*l.canvas, 21, top + 5);
    EXPECT_EQ(after.Index, s.FirstCursor + 3);
    EXPECT_EQ(after.X, 24);
    EXPECT_EQ(after.Y, top);
    EXPECT_EQ(after.Height, 16);
    EXPECT_EQ(s.FindCursor(*l.canvas, -5, top + 20).Index, s.FirstCursor + 7);
    EXPECT_EQ(s.FindCursor(*l.canvas, 5, top + 40).Index, -1);
    EXPECT_EQ(s.CursorToXY(*l.canvas, s.FirstCursor + 9), (Point{16, top + 16}));
    EXPECT_FALSE(s.CursorToXY(*l.canvas, s.FirstCursor + 13));
    EXPECT_EQ(s.GetChAtPos(s.FirstCursor + 9), U'i');
    EXPECT_EQ(l.doc->FindCursor(*l.canvas, 19, top + 5).Index, s.FirstCursor + 2);
}

TEST(Search, ComparesTheWholeTextWithAndWithoutCase) {
    const std::string a300(300, 'a');
    auto l = LayOut("Hello World " + a300 + "b", 400);
    TSection& s = l.Text(0);
    EXPECT_EQ(s.FindString(0, U"world", false, 0), 6);
    EXPECT_EQ(s.FindString(0, U"world", true, 0), -1);
    EXPECT_EQ(s.FindString(7, U"o", true, 0), 7);
    EXPECT_EQ(s.FindString(8, U"o", true, 0), -1);
    // Longer than 255 characters: every character counts.
    const std::u32string many(300, U'a');
    EXPECT_EQ(s.FindString(0, many + U"c", true, 0), -1);
    EXPECT_EQ(s.FindString(0, many + U"c", false, 0), -1);
    EXPECT_EQ(s.FindString(0, many + U"B", false, 0), 12);
    EXPECT_EQ(s.FindString(0, U"W", true, U' '), 6);
    EXPECT_EQ(s.Text().substr(6, 5), U" orld");
}

TEST(Copy, SelectionOverSeveralSections) {
    auto l = LayOut("<P>abc</P><P>de<IMG SRC=x>f</P>ghi", 400);
    l.doc->SelStart = l.Text(0).FirstCursor + 1;
    l.doc->SelEnd = l.Text(2).FirstCursor + 2;
    EXPECT_EQ(l.doc->CopyToClipboard(), U"bc\r\n\r\ndef\r\n\r\ngh");
}

TEST(LayoutDump, ShowsSectionsLinesImagesAndMarkers) {
    auto l = LayOut(
        "<UL><LI>a \"q\"</UL><HR><TABLE><TR><TD>x</TD></TR></TABLE>"
        "<IMG WIDTH=4 HEIGHT=3><PAGE>",
        400);
    const std::string json = DumpLayout(*l.doc, 400, l.height);
    EXPECT_NE(json.find("{\"kind\": \"list-item\", \"y\": 0, \"height\": 16, \"lines\": [{\"y\": "
                        "0, \"height\": 16, \"x\": 35, \"chars\": 5, \"text\": \"a \\\"q\\\"\"}], "
                        "\"images\": [], \"marker\": \"\u2022\"}"),
              std::string::npos)
        << json;
    EXPECT_NE(json.find("{\"kind\": \"rule\", \"y\": 16, \"height\": 20}"), std::string::npos);
    EXPECT_NE(json.find("{\"kind\": \"table\", \"y\": 36, \"columns\": [12]"), std::string::npos);
    EXPECT_NE(json.find("\"text\": \"\\u0004\"}], \"images\": [{\"x\": 0, \"y\": 59, \"w\": 4, "
                        "\"h\": 3}]"),
              std::string::npos)
        << json;
    EXPECT_NE(json.find("{\"kind\": \"page\""), std::string::npos);
    EXPECT_EQ(json.rfind("{\"width\": 400, \"height\": ", 0), 0u);
}

}  // namespace
}  // namespace quillon
