// The document: settings, background callback, clearing, copies for printing, scroll
// offset, section positions, the animation timer state, and the indent manager.
#include <gtest/gtest.h>

#include "html/layout/image_obj.h"
#include "html/layout/indent_manager.h"
#include "html/layout/section.h"
#include "html/layout/section_list.h"
#include "html/layout/spacer_sections.h"
#include "platform/core/test_canvas.h"
#include "tests/html_layout/model_test_support.h"

namespace quillon {
namespace {

using testing::Attr;
using testing::Attrs;

TEST(Document, SetFontsStoresSettingsAndCallsTheBackgroundCallback) {
    TSectionList doc;
    std::vector<Color> backgrounds;
    doc.BackgroundChange = [&](TSectionList&, Color c) { backgrounds.push_back(c); };
    const std::string long_name(40, 'N');
    doc.SetFonts(long_name, "Mono", 0, 0x010203, 0x0A0B0C, 0xFAFAFA);
    EXPECT_EQ(doc.BaseFontName(), std::string(33, 'N'));
    EXPECT_EQ(doc.FixedFontName(), "Mono");
    EXPECT_EQ(doc.BaseFontSize(), 1);
    EXPECT_EQ(doc.TextColor(), 0x010203u);
    EXPECT_EQ(doc.LinkColor(), 0x0A0B0Cu);
    EXPECT_EQ(backgrounds, (std::vector<Color>{0xFAFAFA}));
    doc.SetBackground(0x123456);
    EXPECT_EQ(doc.Background(), 0x123456u);
    EXPECT_EQ(backgrounds.size(), 2u);
    // Names are cut by characters, never inside one.
    std::string umlauts;
    for (int i = 0; i < 40; ++i) umlauts += "\xC3\xA4";
    doc.SetFonts(umlauts, "Mono", 12, 0, 0, 0);
    EXPECT_EQ(doc.BaseFontName().size(), 66u);
}

TEST(Document, ClearEmptiesEverything) {
    TSectionList doc;
    auto s = std::make_unique<TSection>(doc, 0, TMyFont{}, nullptr, JustifyType::Left);
    ThtmlForm* form = nullptr;
    s->AddFormControl(Symb::InputSy, Attrs({}), &doc, form);
    doc.Add(std::move(s));
    doc.AddImageMap(std::make_unique<TMapItem>("m"));
    doc.SelStart = 1;
    doc.SelEnd = 2;
    doc.SetBackgroundBitmap("b.gif");
    doc.Clear();
    EXPECT_EQ(doc.Count(), 0);
    EXPECT_TRUE(doc.Forms().empty());
    EXPECT_TRUE(doc.AllControls().empty());
    EXPECT_TRUE(doc.ImageMaps().empty());
    EXPECT_EQ(doc.SelStart, 0);
    EXPECT_EQ(doc.SelEnd, 0);
    EXPECT_EQ(doc.BackgroundImageName(), "");
}

TEST(Document, CopiesKeepSettingsAndSections) {
    TSectionList doc;
    doc.SetFonts("Arial", "Mono", 14, 1, 2, 3);
    doc.ImagesShown = false;
    doc.SelStart = 2;
    doc.SelEnd = 4;
    doc.SetYOffset(30);
    doc.SetBackgroundBitmap("b.gif");
    auto s = std::make_unique<TSection>(doc, 0, TMyFont{}, nullptr, JustifyType::Left);
    s->AddText(U"text");
    ThtmlForm* form = nullptr;
    TFormControlObj& control = s->AddFormControl(Symb::InputSy, Attrs({}), &doc, form);
    doc.Add(std::move(s));
    doc.Add(std::make_unique<TParagraphSpace>(doc));

    auto copy = TSectionList::CreateCopy(doc);
    EXPECT_EQ(copy->BaseFontName(), "Arial");
    EXPECT_EQ(copy->BaseFontSize(), 14);
    EXPECT_EQ(copy->Background(), 3u);
    EXPECT_FALSE(copy->ImagesShown);
    EXPECT_EQ(copy->SelStart, 2);
    EXPECT_EQ(copy->SelEnd, 4);
    EXPECT_EQ(copy->ScrollY(), 30);
    EXPECT_EQ(copy->BackgroundImageName(), "b.gif");
    ASSERT_EQ(copy->Count(), 2);
    EXPECT_EQ((*copy)[1].Height, 16);  // 14 * 14 / 12
    const auto& text = dynamic_cast<const TSection&>((*copy)[0]);
    EXPECT_EQ(text.Text(), U"text\x02");
    EXPECT_EQ(text.Document, copy.get());
    // Controls stay with the original document; the copy only refers to them.
    ASSERT_EQ(text.InlineControls().size(), 1u);
    EXPECT_EQ(text.InlineControls()[0], &control);
    EXPECT_TRUE(copy->Forms().empty());
}

TEST(Document, PositionsOfSections) {
    TSectionList doc;
    doc.Add(std::make_unique<TParagraphSpace>(doc));
    doc.Add(std::make_unique<THeadingSpace>(doc, 1));
    doc.Add(std::make_unique<TParagraphSpace>(doc));
    EXPECT_EQ(doc.FindPositionByIndex(0), 0);
    EXPECT_EQ(doc.FindPositionByIndex(2), 30);
    EXPECT_EQ(doc.FindPositionByIndex(99), 44);
    EXPECT_EQ(doc.FindLineAtPosition(20).Section, &doc[1]);
    EXPECT_EQ(doc.FindLineAtPosition(20).Line, -1);
    EXPECT_EQ(doc.FindLineAtPosition(44).Section, nullptr);
    TestCanvas canvas(10, 10);
    int width = 0, cursor = 0;
    EXPECT_EQ(doc.DoLogic(canvas, 0, 300, width, cursor), 44);
    EXPECT_EQ(width, 300);
    EXPECT_EQ(doc.FindSectionAtPosition(29), &doc[1]);
}

TEST(Document, TimerRunsOnlyWithAnimatedImagesAndNotWhenPrinting) {
    TSectionList doc;
    std::vector<bool> changes;
    doc.OnTimerChange = [&](TSectionList&, bool running) { changes.push_back(running); };
    TestCanvas canvas(10, 10);
    int width = 0, cursor = 0;
    doc.DoLogic(canvas, 0, 100, width, cursor);
    EXPECT_FALSE(doc.TimerRunning());
    TImageObj image(0, Attrs({}), nullptr);
    doc.AnimatedImages.push_back(&image);
    doc.DoLogic(canvas, 0, 100, width, cursor);
    EXPECT_TRUE(doc.TimerRunning());
    doc.IsPrinting = true;
    doc.Draw(canvas, Rect{0, 0, 10, 10}, 10, 0, 0);
    EXPECT_FALSE(doc.TimerRunning());
    EXPECT_EQ(changes, (std::vector<bool>{true, false}));
    EXPECT_EQ(doc.PrintPageBottom, 10);
}

TEST(IndentManager, ListLevelsAndFloats) {
    IndentManager im;
    im.Reset(0, 500);
    EXPECT_EQ(im.LeftIndent(0), 0);
    EXPECT_EQ(im.RightSide(0), 500);
    im.SetLevel(10, 2);
    EXPECT_EQ(im.LeftIndent(10), 70);
    EXPECT_EQ(im.LeftIndent(5), 0);

    TImageObj left(0, Attrs({Attr(Symb::AlignSy, "left"), Attr(Symb::HSpaceSy, "4")}), nullptr);
    left.DrawnWidth = 100;
    left.DrawnHeight = 50;
    im.Update(20, left);
    EXPECT_EQ(left.FloatX, 70);
    EXPECT_EQ(im.LeftIndent(20), 174);
    EXPECT_EQ(im.LeftIndent(70), 70);  // below the image

    TImageObj right(0, Attrs({Attr(Symb::AlignSy, "right")}), nullptr);
    right.DrawnWidth = 60;
    right.DrawnHeight = 30;
    im.Update(40, right);
    EXPECT_EQ(im.RightSide(40), 435);
    EXPECT_EQ(right.FloatX, 440);
    EXPECT_EQ(im.ImageBottom(), 70);
    const auto clear = im.GetClearY();
    EXPECT_EQ(clear.left, 71);
    EXPECT_EQ(clear.right, 71);

    im.SetLevel(100, 0);
    EXPECT_EQ(im.LeftIndent(100), 0);
    im.UpdateTable(200, 80, AlignmentType::ALeft, 20);
    EXPECT_EQ(im.LeftIndent(205), 80);
    im.UpdateTable(200, 80, AlignmentType::ARight, 20);
    EXPECT_EQ(im.RightSide(205), 420);
    im.Clear();
    EXPECT_EQ(im.ImageBottom(), 0);
    EXPECT_EQ(im.GetClearY().left, 0);
    EXPECT_EQ(im.GetLevelClear(), 1);
}

}  // namespace
}  // namespace quillon
