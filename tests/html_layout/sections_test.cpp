// Building sections: text and its space rules, preformatted text, list items, line breaks,
// images and copies; cells taking sections; spacer and rule heights.
#include <gtest/gtest.h>

#include "html/dump/section_dump.h"
#include "html/layout/list_item.h"
#include "html/layout/section_list.h"
#include "html/layout/spacer_sections.h"
#include "platform/core/test_canvas.h"
#include "tests/html_layout/model_test_support.h"

namespace quillon {
namespace {

using testing::Attr;
using testing::Attrs;

TMyFont Font() {
    TMyFont f;
    f.NominalSize = 12;
    return f;
}

TEST(SectionText, LeadingSpacesFoldAgainstTheBuffer) {
    TSectionList doc;
    TSection s(doc, 0, Font(), nullptr, JustifyType::Left);
    s.AddText(U" lead");  // empty buffer: dropped
    s.AddText(U" word ");
    s.AddText(U" next");  // buffer ends in a space: dropped
    s.AddText(U"");
    EXPECT_EQ(s.Text(), U"lead word next");
    EXPECT_EQ(s.CharCount(), 14);
}

TEST(SectionText, SpaceAfterFloatingImagesOnlyIsDropped) {
    TSectionList doc;
    TSection floating(doc, 0, Font(), nullptr, JustifyType::Left);
    floating.AddImage(Attrs({Attr(Symb::SrcSy, "a.gif"), Attr(Symb::AlignSy, "left")}), &doc);
    floating.AddText(U" text");
    EXPECT_EQ(floating.Text(), U"\x04text");

    TSection inline_image(doc, 0, Font(), nullptr, JustifyType::Left);
    inline_image.AddImage(Attrs({Attr(Symb::SrcSy, "a.gif")}), &doc);
    inline_image.AddText(U" text");
    EXPECT_EQ(inline_image.Text(), U"\x04 text");
}

TEST(SectionText, LongTextIsKeptWhole) {
    TSectionList doc;
    TSection s(doc, 0, Font(), nullptr, JustifyType::Left);
    const std::u32string chunk(100, U'x');
    for (int i = 0; i < 300; ++i) s.AddText(chunk);
    EXPECT_EQ(s.CharCount(), 30000);
}

TEST(SectionText, PreformattedKeepsEverySpace) {
    TSectionList doc;
    TPreFormated pre(doc, 0, Font(), nullptr);
    pre.AddText(U"  a  ");
    pre.AddText(U" b");
    EXPECT_EQ(pre.Text(), U"  a   b");
    EXPECT_EQ(pre.BlockAlign, JustifyType::Left);
}

TEST(SectionText, BreakInfoAndClear) {
    TSectionList doc;
    TSection empty(doc, 0, Font(), nullptr, JustifyType::Left);
    empty.BreakInfo();
    EXPECT_EQ(empty.Text(), U" ");
    TSection full(doc, 0, Font(), nullptr, JustifyType::Left);
    full.AddText(U"x");
    full.BreakInfo();
    EXPECT_EQ(full.Text(), U"x");

    TSection s(doc, 0, Font(), nullptr, JustifyType::Left);
    s.DoClearAttribute(Attrs({}));
    EXPECT_EQ(s.ClearMode, ClearAttrType::clrNone);
    s.DoClearAttribute(Attrs({Attr(Symb::ClearSy, "LEFT")}));
    EXPECT_EQ(s.ClearMode, ClearAttrType::clLeft);
    s.DoClearAttribute(Attrs({Attr(Symb::ClearSy, "right")}));
    EXPECT_EQ(s.ClearMode, ClearAttrType::clRight);
    s.DoClearAttribute(Attrs({Attr(Symb::ClearSy, "both")}));
    EXPECT_EQ(s.ClearMode, ClearAttrType::clAll);
}

TEST(ListItems, KindsLevelsAndNumbers) {
    TSectionList doc;
    TUListItem ul(doc, 2, Font(), nullptr, JustifyType::Left);
    ul.Plain = true;
    TDListItem dl(doc, 1, Font(), nullptr, JustifyType::Left);
    TOListItem ol(doc, 1, 4, U'i', Font(), nullptr, JustifyType::Centered);
    EXPECT_EQ(ul.ItemKind, ListTypeType::Unordered);
    EXPECT_EQ(ul.LeftIndent(), 70);
    EXPECT_EQ(dl.ItemKind, ListTypeType::Definition);
    EXPECT_EQ(ol.ItemKind, ListTypeType::Ordered);
    EXPECT_EQ(ol.ItemNumber, 4);
    EXPECT_EQ(ol.NumberStyle, U'i');

    auto ul_copy = ul.CreateCopy(doc);
    auto* u = dynamic_cast<TUListItem*>(ul_copy.get());
    ASSERT_NE(u, nullptr);
    EXPECT_TRUE(u->Plain);
    auto ol_copy = ol.CreateCopy(doc);
    auto* o = dynamic_cast<TOListItem*>(ol_copy.get());
    ASSERT_NE(o, nullptr);
    EXPECT_EQ(o->ItemNumber, 4);
    EXPECT_EQ(o->BlockAlign, JustifyType::Centered);
    EXPECT_NE(dynamic_cast<TDListItem*>(dl.CreateCopy(doc).get()), nullptr);
}

TEST(ListItems, NegativeLevelsCountAsZero) {
    TSectionList doc;
    TSection s(doc, -3, Font(), nullptr, JustifyType::Left);
    EXPECT_EQ(s.NestLevel, 0);
    EXPECT_EQ(s.LeftIndent(), 0);
}

TEST(Cells, AddJoinsTheDocumentAndPadsEmptyPreformattedText) {
    TSectionList doc;
    TSectionList other;
    doc.Add(std::make_unique<TPreFormated>(other, 0, Font(), nullptr));
    ASSERT_EQ(doc.Count(), 1);
    const auto& pre = dynamic_cast<const TPreFormated&>(doc[0]);
    EXPECT_EQ(pre.Text(), U" ");
    EXPECT_EQ(pre.Document, &doc);
    doc.Add(nullptr);
    EXPECT_EQ(doc.Count(), 1);
}

TEST(Sections, CopiesAreDeepForTextRunsAndImages) {
    TSectionList doc;
    TSection s(doc, 1, Font(), nullptr, JustifyType::Right);
    s.AddText(U"a");
    s.ChangeStyle(Symb::BSy);
    s.AddImage(Attrs({Attr(Symb::SrcSy, "p.gif"), Attr(Symb::WidthSy, "10")}), &doc);
    TSectionList target;
    auto copy = s.CreateCopy(target);
    auto& c = dynamic_cast<TSection&>(*copy);
    EXPECT_EQ(c.Document, &target);
    EXPECT_EQ(c.Text(), s.Text());
    EXPECT_EQ(c.FontRuns.Count(), 2);
    ASSERT_EQ(c.InlineImages().size(), 1u);
    EXPECT_NE(c.InlineImages()[0].get(), s.InlineImages()[0].get());
    EXPECT_EQ(c.InlineImages()[0]->SourceName, "p.gif");
    EXPECT_EQ(c.BlockAlign, JustifyType::Right);
    s.AddText(U"more");
    EXPECT_EQ(c.CharCount(), 2);
}

TEST(Spacers, HeightsScaleWithTheBaseFontSize) {
    TSectionList doc;
    TParagraphSpace p(doc);
    THeadingSpace h1(doc, 1);
    THeadingSpace h6(doc, 6);
    THeadingSpace h0(doc, 0);
    EXPECT_EQ(p.Height, 14);
    EXPECT_EQ(h1.Height, 16);
    EXPECT_EQ(h6.Height, 4);
    EXPECT_EQ(h0.Height, 8);
    doc.SetFonts("Times", "Courier", 24, 0, 0xFF, 0xFFFFFF);
    p.UpdateFonts();
    h1.UpdateFonts();
    EXPECT_EQ(p.Height, 28);
    EXPECT_EQ(h1.Height, 32);
}

TEST(Spacers, SetFontsUpdatesTheSectionsOfTheDocument) {
    TSectionList doc;
    doc.Add(std::make_unique<TParagraphSpace>(doc));
    doc.Add(std::make_unique<THorzLine>(doc, Attrs({})));
    doc.SetFonts("Times", "Courier", 24, 0, 0xFF, 0xFFFFFF);
    EXPECT_EQ(doc[0].Height, 28);
    EXPECT_EQ(doc[1].Height, 40);  // 40 - 2 + 2
}

TEST(Rules, AttributesAndHeight) {
    TSectionList doc;
    THorzLine plain(doc, Attrs({}));
    EXPECT_EQ(plain.Thickness, 2);
    EXPECT_EQ(plain.RuleWidth, -1);
    EXPECT_FALSE(plain.HasColor);
    EXPECT_EQ(plain.Height, 20);

    THorzLine too_thick(doc, Attrs({Attr(Symb::SizeSy, "30")}));
    EXPECT_EQ(too_thick.Thickness, 2);
    THorzLine thick(doc, Attrs({Attr(Symb::SizeSy, "7")}));
    EXPECT_EQ(thick.Height, 25);

    THorzLine half(doc, Attrs({Attr(Symb::WidthSy, "50%"), Attr(Symb::ColorSy, "red")}));
    EXPECT_EQ(half.RuleWidth, 50);
    EXPECT_TRUE(half.RuleIsPercent);
    EXPECT_TRUE(half.HasColor);
    EXPECT_EQ(half.RuleColor, 0xFF0000u);

    THorzLine wide(doc, Attrs({Attr(Symb::WidthSy, "150%")}));
    EXPECT_EQ(wide.RuleWidth, -1);
    EXPECT_TRUE(wide.RuleIsPercent);
    THorzLine pixels(doc, Attrs({Attr(Symb::WidthSy, "-40")}));
    EXPECT_EQ(pixels.RuleWidth, 0);
    EXPECT_FALSE(pixels.RuleIsPercent);
}

TEST(PageBreaks, AreZeroHighBreaks) {
    TSectionList doc;
    doc.Add(std::make_unique<TPage>(doc));
    EXPECT_TRUE(doc[0].IfNewPage());
    EXPECT_FALSE(doc[0].IfHTMLTable());
    EXPECT_EQ(doc[0].Height, 0);
    TestCanvas canvas(100, 100);
    int width = 0, cursor = 0;
    EXPECT_EQ(doc.DoLogic(canvas, 0, 100, width, cursor), 0);
    auto copy = TSectionList::CreateCopy(doc);
    EXPECT_TRUE((*copy)[0].IfNewPage());
}

}  // namespace
}  // namespace quillon
