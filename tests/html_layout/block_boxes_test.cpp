// Block boxes around sections on the fixed-metric canvas (characters 8 px, lines 16 px):
// the room above and below, the insets, the painted backgrounds and line styles, hit tests
// and page breaks inside boxes, and a document whose boxes are removed laying out as before.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "html/layout/box_style.h"
#include "html/layout/page_breaks.h"
#include "html/layout/spacer_sections.h"
#include "tests/html_layout/layout_test_support.h"

namespace quillon {
namespace {

using testing::LaidOut;
using testing::LayOut;

constexpr Color kRed = 0xFF0000;
constexpr Color kGreen = 0x00FF00;
constexpr Color kBlue = 0x0000FF;

// A box with a 2 px border of `style` on every side, 3 px padding and a green background:
// its content lies 5 px inside its edges.
std::shared_ptr<BoxStyle> GreenBox(BorderLineStyle style = BorderLineStyle::Solid) {
    auto box = std::make_shared<BoxStyle>();
    for (BorderEdge& e : box->Border) e = BorderEdge{2, style, kRed};
    box->Padding = {3, 3, 3, 3};
    box->Background = kGreen;
    return box;
}

// Three lines of preformatted text: three sections in a row.
LaidOut ThreeLines() {
    return LayOut("<PRE>one\ntwo\nthree</PRE>", 400);
}

// Puts sections [first, first + count) of the text sections in `box`.
void Wrap(LaidOut& l, int first, int count, const std::shared_ptr<BoxStyle>& box,
          std::vector<BoxMembership> outer = {}) {
    for (int i = 0; i < count; ++i) {
        std::vector<BoxMembership> list = outer;
        list.push_back(BoxMembership{box, i == 0, i == count - 1});
        l.Text(first + i).SetBoxes(std::move(list));
    }
}

Rgba Pixel(const LaidOut& l, int x, int y) {
    return l.canvas->Surface().At(x, y);
}

void Paint(LaidOut& l, int width = 400) {
    l.canvas = std::make_unique<TestCanvas>(width, 200);
    l.doc->SetScreenCanvas(l.canvas.get());
    l.Layout(width);
    l.doc->Draw(*l.canvas, Rect{0, 0, width, 200}, width, 0, 0);
}

// Writes the canvas as a binary PPM into $QUILLON_TEST_PICTURES, when set, to be looked at.
void SavePicture(const LaidOut& l, const char* name) {
    const char* dir = std::getenv("QUILLON_TEST_PICTURES");
    if (!dir) return;
    const RgbaImage& s = l.canvas->Surface();
    std::ofstream out(std::string(dir) + "/" + name + ".ppm", std::ios::binary);
    out << "P6\n" << s.Width() << ' ' << s.Height() << "\n255\n";
    for (const Rgba& p : s.Pixels()) out << p.r << p.g << p.b;
}

TEST(BlockBoxes, RoomAboveFirstBelowLastAndInsetsOnEverySection) {
    auto plain = ThreeLines();
    const int top = plain.Text(0).LayoutY;
    ASSERT_EQ(plain.Text(1).LayoutY, top + 16);
    ASSERT_EQ(plain.Text(2).LayoutY, top + 32);

    auto l = ThreeLines();
    Wrap(l, 0, 3, GreenBox());
    l.Layout(400);
    EXPECT_EQ(l.Text(0).LayoutY, top + 5);
    EXPECT_EQ(l.Text(1).LayoutY, top + 21);
    EXPECT_EQ(l.Text(2).LayoutY, top + 37);
    EXPECT_EQ(l.height, plain.height + 10);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(l.Text(i).LineList[0].StartX, 5) << i;
        EXPECT_EQ(l.Text(i).Height, 16) << i;
    }
    EXPECT_EQ(l.Text(0).FlowTop(), top);
    EXPECT_EQ(l.Text(0).FlowHeight(), 21);
    EXPECT_EQ(l.Text(1).FlowHeight(), 16);
    EXPECT_EQ(l.Text(2).FlowHeight(), 21);
    // The widest line is reported with the insets around it.
    EXPECT_GE(l.max_width, 5 * 8 + 10);

    // Nested: the inner box's room comes inside the outer's.
    auto nested = ThreeLines();
    auto outer = GreenBox();
    outer->Margin = {4, 6, 4, 6};
    nested.Text(0).SetBoxes({BoxMembership{outer, true, false}});
    nested.Text(1).SetBoxes(
        {BoxMembership{outer, false, false}, BoxMembership{GreenBox(), true, true}});
    nested.Text(2).SetBoxes({BoxMembership{outer, false, true}});
    nested.Layout(400);
    EXPECT_EQ(nested.Text(0).LayoutY, top + 9);
    EXPECT_EQ(nested.Text(0).LineList[0].StartX, 11);
    EXPECT_EQ(nested.Text(1).LayoutY, top + 9 + 16 + 5);
    EXPECT_EQ(nested.Text(1).LineList[0].StartX, 16);
    EXPECT_EQ(nested.Text(2).LayoutY, top + 9 + 16 + 5 + 16 + 5);
    EXPECT_EQ(nested.height, plain.height + 9 + 10 + 9);

    // Taking the boxes away gives the plain layout back.
    for (int i = 0; i < 3; ++i) l.Text(i).SetBoxes({});
    l.Layout(400);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(l.Text(i).LayoutY, plain.Text(i).LayoutY);
    EXPECT_EQ(l.height, plain.height);
}

TEST(BlockBoxes, WidthsOfACellGrowByTheInsets) {
    auto l = ThreeLines();
    const MinMax before = l.doc->MinMaxWidth(*l.canvas);
    Wrap(l, 0, 3, GreenBox());
    const MinMax after = l.doc->MinMaxWidth(*l.canvas);
    EXPECT_EQ(after.Min, before.Min + 10);
    EXPECT_EQ(after.Max, before.Max + 10);
    // Insets wider than the cell leave the text no room but lay out.
    auto wide = GreenBox();
    wide->Margin = {0, 300, 0, 300};
    Wrap(l, 0, 3, wide);
    l.Layout(400);
    EXPECT_EQ(l.Text(0).LineList[0].StartX, 305);
}

TEST(BlockBoxes, BackgroundAndBordersPaintedAsOneBoxOverTheSections) {
    auto l = ThreeLines();
    Wrap(l, 0, 3, GreenBox());
    Paint(l);
    SavePicture(l, "boxed_paragraph");
    const int top = l.Text(0).FlowTop();
    const int bottom = l.Text(2).LayoutY + 16 + 5;
    EXPECT_EQ(Pixel(l, 0, top), ToRgba(kRed));
    EXPECT_EQ(Pixel(l, 200, top + 1), ToRgba(kRed));    // top edge, 2 px
    EXPECT_EQ(Pixel(l, 200, top + 2), ToRgba(kGreen));  // padding
    EXPECT_EQ(Pixel(l, 1, top + 30), ToRgba(kRed));     // left edge beside section 1
    EXPECT_EQ(Pixel(l, 2, top + 30), ToRgba(kGreen));
    EXPECT_EQ(Pixel(l, 398, top + 30), ToRgba(kRed));    // right edge
    EXPECT_EQ(Pixel(l, 200, bottom - 1), ToRgba(kRed));  // bottom edge
    EXPECT_EQ(Pixel(l, 200, bottom - 3), ToRgba(kGreen));
    EXPECT_EQ(Pixel(l, 200, bottom), ToRgba(0xFFFFFF));  // below the box
    // No top or bottom edge between the sections.
    for (int y = top + 2; y < bottom - 2; ++y) {
        ASSERT_EQ(Pixel(l, 200, y), ToRgba(kGreen)) << y;
    }
    // The text is drawn inside the insets, after the box.
    const auto& log = l.canvas->Log();
    const auto text = std::find_if(log.begin(), log.end(),
                                   [](const std::string& s) { return s.rfind("text", 0) == 0; });
    ASSERT_NE(text, log.end());
    EXPECT_EQ(*text, "text 5," + std::to_string(top + 5) + " one");
    const auto fill = std::find_if(log.begin(), log.end(),
                                   [](const std::string& s) { return s.rfind("fill", 0) == 0; });
    EXPECT_LT(fill, text);
}

TEST(BlockBoxes, LineStylesDashedDottedAndDouble) {
    auto edge_pixels = [](BorderLineStyle style, int width) {
        TestCanvas canvas(60, 10);
        PaintBorderEdge(canvas, Rect{0, 0, 60, width}, BorderEdge{width, style, kBlue}, true);
        std::string row, column;
        for (int x = 0; x < 24; ++x) row += canvas.Surface().At(x, 0) == ToRgba(kBlue) ? '#' : '.';
        for (int y = 0; y < width; ++y) {
            column += canvas.Surface().At(0, y) == ToRgba(kBlue) ? '#' : '.';
        }
        return row + "|" + column;
    };
    EXPECT_EQ(edge_pixels(BorderLineStyle::Solid, 2), "########################|##");
    EXPECT_EQ(edge_pixels(BorderLineStyle::Dashed, 2), "######....######....####|##");
    EXPECT_EQ(edge_pixels(BorderLineStyle::Dotted, 2), "##..##..##..##..##..##..|##");
    EXPECT_EQ(edge_pixels(BorderLineStyle::Double, 6), "########################|##..##");
    EXPECT_EQ(edge_pixels(BorderLineStyle::Double, 2), "########################|##");
    EXPECT_EQ(edge_pixels(BorderLineStyle::None, 2), "........................|..");

    // Side edges run down the band.
    TestCanvas canvas(10, 30);
    PaintBorderEdge(canvas, Rect{0, 0, 3, 30}, BorderEdge{3, BorderLineStyle::Double, kBlue},
                    false);
    EXPECT_EQ(canvas.Surface().At(0, 20), ToRgba(kBlue));
    EXPECT_EQ(canvas.Surface().At(1, 20), ToRgba(0xFFFFFF));
    EXPECT_EQ(canvas.Surface().At(2, 20), ToRgba(kBlue));
}

TEST(BlockBoxes, HitTestsFindTheTextInsideTheBox) {
    auto l = ThreeLines();
    Wrap(l, 0, 3, GreenBox());
    l.Layout(400);
    const TSection& second = l.Text(1);
    // The second line's second character: x 5 + 8 .. 5 + 16.
    const CursorHit hit = l.doc->FindCursor(*l.canvas, 5 + 9, second.LayoutY + 4);
    EXPECT_EQ(hit.Index, second.FirstCursor + 1);
    EXPECT_EQ(hit.X, 5 + 8);
    const auto at = l.doc->CursorToXY(*l.canvas, second.FirstCursor);
    ASSERT_TRUE(at);
    EXPECT_EQ(*at, (Point{5, second.LayoutY}));
    // The room of the box belongs to the section it surrounds.
    int index = -1;
    EXPECT_EQ(l.doc->FindSectionAtPosition(l.Text(0).FlowTop(), &index), &l.Text(0));
    EXPECT_EQ(l.doc->FindSectionAtPosition(l.Text(2).LayoutY + 18), &l.Text(2));
    EXPECT_EQ(l.doc->FindPositionByIndex(index + 1), l.Text(1).LayoutY);
    const auto line = l.doc->FindLineAtPosition(l.Text(0).LayoutY + 2);
    EXPECT_EQ(line.Section, &l.Text(0));
    EXPECT_EQ(line.Line, 0);
}

TEST(BlockBoxes, PagesBreakInTheRoomOfBoxesNeverThroughText) {
    auto l = ThreeLines();
    auto box = GreenBox();
    box->Padding = {20, 3, 20, 3};
    Wrap(l, 0, 1, box);
    Wrap(l, 1, 2, box);
    l.Layout(400);
    const PageBreakMap map(*l.doc, l.height, 1000);
    for (int i = 0; i < 3; ++i) {
        const TSection& s = l.Text(i);
        for (int y = s.LayoutY + 1; y < s.LayoutY + s.Height; ++y) {
            EXPECT_FALSE(map.CutsNothing(y)) << i << " " << y;
        }
    }
    // Between the first box's text and the second's: its bottom and the other's top.
    for (int y = l.Text(0).LayoutY + 16; y <= l.Text(1).LayoutY; ++y) {
        EXPECT_TRUE(map.CutsNothing(y)) << y;
    }
}

TEST(BlockBoxes, CopiesForPrintingKeepTheBoxes) {
    auto l = ThreeLines();
    Wrap(l, 0, 3, GreenBox());
    l.Layout(400);
    auto copy = TSectionList::CreateCopy(*l.doc);
    TestCanvas canvas(400, 200);
    copy->SetScreenCanvas(&canvas);
    int max_width = 0, cursor = 0;
    EXPECT_EQ(copy->DoLogic(canvas, 0, 400, max_width, cursor), l.height);
    copy->Draw(canvas, Rect{0, 0, 400, 200}, 400, 0, 0);
    EXPECT_EQ(canvas.Surface().At(200, l.Text(0).FlowTop()), ToRgba(kRed));
}

// The document keeps the boxes by section: a section that goes takes its boxes with it, so
// that a later section (which may take its place in memory) starts without any, and a
// section moved to another document keeps them there.
TEST(BlockBoxes, BoxesGoWithTheirSection) {
    TSectionList doc;
    TSectionList other;
    auto box = GreenBox();
    for (int round = 0; round < 3; ++round) {
        auto boxed = std::make_unique<TParagraphSpace>(doc);
        boxed->SetBoxes({BoxMembership{box, true, true}});
        ASSERT_NE(boxed->Boxes(), nullptr);
        EXPECT_EQ(boxed->FlowHeight(), boxed->Height + 10);
        boxed.reset();
        const auto plain = std::make_unique<TParagraphSpace>(doc);
        EXPECT_EQ(plain->Boxes(), nullptr);
        EXPECT_EQ(plain->FlowHeight(), plain->Height);
    }
    auto moved = std::make_unique<TParagraphSpace>(doc);
    moved->SetBoxes({BoxMembership{box, true, true}});
    other.Add(std::move(moved));
    const TSectionBase& there = other[other.Count() - 1];
    ASSERT_NE(there.Boxes(), nullptr);
    EXPECT_EQ(there.BoxTopRoom(), 5);
    auto removed = std::make_unique<TParagraphSpace>(doc);
    removed->SetBoxes({BoxMembership{box, true, true}});
    removed->SetBoxes({});
    EXPECT_EQ(removed->Boxes(), nullptr);
}

}  // namespace
}  // namespace quillon
