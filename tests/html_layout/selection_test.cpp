// Selection: cursor numbering by layout, the selected text through the three sinks,
// placeholders never copied, line ends for spacers and between blocks.
#include <gtest/gtest.h>

#include "html/layout/section.h"
#include "html/layout/section_list.h"
#include "html/layout/sel_text.h"
#include "html/layout/spacer_sections.h"
#include "platform/core/test_canvas.h"
#include "tests/html_layout/model_test_support.h"

namespace quillon {
namespace {

using testing::Attr;
using testing::Attrs;

// "Hello " [img] "world" [control] "!"  /  space  /  "Next"
class SelectionTest : public ::testing::Test {
  protected:
    SelectionTest() {
        auto first = std::make_unique<TSection>(doc, 0, TMyFont{}, nullptr, JustifyType::Left);
        first->AddText(U"Hello ");
        first->AddImage(Attrs({Attr(Symb::SrcSy, "x.gif")}), &doc);
        first->AddText(U"world");
        ThtmlForm* form = nullptr;
        first->AddFormControl(Symb::InputSy, Attrs({}), &doc, form);
        first->AddText(U"!");
        doc.Add(std::move(first));
        doc.Add(std::make_unique<TParagraphSpace>(doc));
        auto second = std::make_unique<TSection>(doc, 0, TMyFont{}, nullptr, JustifyType::Left);
        second->AddText(U"Next");
        doc.Add(std::move(second));
        TestCanvas canvas(10, 10);
        int width = 0;
        doc.DoLogic(canvas, 0, 400, width, cursor);
    }

    std::u32string Selected(int start, int end) {
        doc.SelStart = start;
        doc.SelEnd = end;
        return doc.GetSelTextBuf(1000);
    }

    TSectionList doc;
    int cursor = 0;
};

TEST_F(SelectionTest, LayoutNumbersTheCursorPositions) {
    EXPECT_EQ(cursor, 18);
    EXPECT_EQ(doc[0].FirstCursor, 0);
    EXPECT_EQ(doc[1].FirstCursor, 14);
    EXPECT_EQ(doc[2].FirstCursor, 14);
    EXPECT_EQ(doc.Len, 18);
    EXPECT_EQ(doc.GetChAtPos(6), kImageChar);
    EXPECT_EQ(doc.GetChAtPos(15), U'e');
    EXPECT_FALSE(doc.GetChAtPos(18).has_value());
}

TEST_F(SelectionTest, PlaceholdersAreNeverCopied) {
    EXPECT_EQ(Selected(0, 14), U"Hello world!");
    EXPECT_EQ(Selected(4, 9), U"o wo");
    EXPECT_EQ(Selected(6, 7), U"");
}

TEST_F(SelectionTest, SpacersAndBlockEndsGiveLineEnds) {
    EXPECT_EQ(Selected(0, 18), U"Hello world!\r\n\r\nNext");
    EXPECT_EQ(Selected(12, 16), U"!\r\n\r\nNe");
    EXPECT_EQ(doc.GetSelLength(), 7);
}

TEST_F(SelectionTest, BufferLimitAndEmptySelections) {
    doc.SelStart = 0;
    doc.SelEnd = 18;
    EXPECT_EQ(doc.GetSelTextBuf(6), U"Hello");
    EXPECT_EQ(doc.GetSelTextBuf(1), U"");
    EXPECT_EQ(doc.GetSelTextBuf(0), U"");
    doc.SelStart = 5;
    doc.SelEnd = 5;
    EXPECT_EQ(doc.GetSelLength(), 0);
    doc.SelEnd = 2;  // reversed: nothing
    EXPECT_EQ(doc.GetSelLength(), 0);
}

TEST_F(SelectionTest, CopyToClipboardHandsOverTheWholeText) {
    std::u32string clipboard;
    doc.OnClipboardText = [&](TSectionList&, const std::u32string& t) { clipboard = t; };
    doc.SelStart = 0;
    doc.SelEnd = 18;
    EXPECT_EQ(doc.CopyToClipboard(), U"Hello world!\r\n\r\nNext");
    EXPECT_EQ(clipboard, U"Hello world!\r\n\r\nNext");
}

TEST(SelectionSinks, LargeSelectionsAreCopiedWhole) {
    TSectionList doc;
    auto s = std::make_unique<TSection>(doc, 0, TMyFont{}, nullptr, JustifyType::Left);
    s->AddText(std::u32string(40000, U'x'));
    doc.Add(std::move(s));
    TestCanvas canvas(10, 10);
    int width = 0, cursor = 0;
    doc.DoLogic(canvas, 0, 100, width, cursor);
    doc.SelStart = 0;
    doc.SelEnd = 40000;
    EXPECT_EQ(doc.CopyToClipboard().size(), 40000u);
    EXPECT_EQ(doc.GetSelLength(), 40000);
}

TEST(SelectionSinks, CountingSkipsPlaceholders) {
    SelTextCount count(0, 10);
    count.AddText(
        U"a\x02"
        U"b\x04"
        U"c");
    count.AddLineEnd();
    EXPECT_EQ(count.Length(), 5u);
    EXPECT_TRUE(count.InSelection(0));
    EXPECT_FALSE(count.InSelection(10));
    SelTextBuf buf(0, 10, 2);
    buf.AddText(U"\x04xyz");
    EXPECT_EQ(buf.Text(), U"xy");
    EXPECT_EQ(buf.Length(), 2u);
}

TEST(Search, FindsTextAndReplacesTheFirstCharacter) {
    TSectionList doc;
    auto s = std::make_unique<TSection>(doc, 0, TMyFont{}, nullptr, JustifyType::Left);
    s->AddText(U"Stra\u00DFe \u00C4rger \u00E4rger");
    TSection& section = *s;
    doc.Add(std::move(s));
    TestCanvas canvas(10, 10);
    int width = 0, cursor = 0;
    doc.DoLogic(canvas, 0, 100, width, cursor);
    EXPECT_EQ(doc.FindString(0, U"\u00E4RGER", false, 0), 7);
    EXPECT_EQ(doc.FindString(8, U"\u00E4rger", false, 0), 13);
    EXPECT_EQ(doc.FindString(0, U"\u00E4rger", true, 0), 13);
    EXPECT_EQ(doc.FindString(0, U"stra", true, 0), -1);
    EXPECT_EQ(doc.FindString(0, U"", true, 0), -1);
    EXPECT_EQ(doc.FindString(0, U"Stra", true, U'#'), 0);
    EXPECT_EQ(section.Text().substr(0, 4), U"#tra");
}

}  // namespace
}  // namespace quillon
