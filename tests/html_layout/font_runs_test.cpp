// Fonts and font runs: sizes scaled by the document's base size, run changes at the end of
// the text, styles, sub/superscript, links, and the run lookups layout relies on.
#include <gtest/gtest.h>

#include "html/layout/section.h"
#include "html/layout/section_list.h"
#include "platform/core/test_canvas.h"

namespace quillon {
namespace {

TMyFont BaseFont(const TSectionList& doc, int nominal = 12) {
    TMyFont f;
    f.Name = doc.BaseFontName();
    f.SetNormalSize(doc, nominal);
    return f;
}

TEST(MyFont, RealSizeFollowsTheDocumentBaseSize) {
    TSectionList doc;
    TMyFont f;
    f.SetNormalSize(doc, 18);
    EXPECT_EQ(f.NominalSize, 18);
    EXPECT_EQ(f.Size, 18);
    doc.SetFonts("Arial", "Courier", 10, 0x111111, 0x2222FF, 0xFFFFFF);
    f.SetNormalSize(doc, 18);
    EXPECT_EQ(f.Size, 15);  // 18 * 10 / 12
    f.SetNormalSize(doc, -4);
    EXPECT_EQ(f.NominalSize, 0);
    EXPECT_EQ(f.Size, 0);
}

TEST(MyFont, UpdateFontTakesTheDocumentFaces) {
    TSectionList doc;
    doc.SetFonts("Arial", "Courier", 24, 0x111111, 0x2222FF, 0xFFFFFF);
    doc.SetCharSet(7);
    TMyFont f;
    f.NominalSize = 10;
    f.FixedPitch = true;
    f.UpdateFont(doc, 0x123456);
    EXPECT_EQ(f.Name, "Courier");
    EXPECT_EQ(f.Size, 20);
    EXPECT_EQ(f.CharSet, 7);
    EXPECT_EQ(f.FontColor, 0x123456u);
    f.FixedPitch = false;
    f.UpdateFont(doc, 0);
    EXPECT_EQ(f.Name, "Arial");
    const FontSpec desc = f.CanvasFont();
    EXPECT_EQ(desc.name, "Arial");
    EXPECT_EQ(desc.size_pt, 20);
}

TEST(FontRuns, RunsChangeAtTheEndOfTheText) {
    TSectionList doc;
    TextStyleState style;
    TSection s(doc, 0, BaseFont(doc), nullptr, JustifyType::Left, style);
    // A change before any text replaces the first run.
    style.styles = fsBold;
    s.ChangeFont(BaseFont(doc), style);
    ASSERT_EQ(s.FontRuns.Count(), 1);
    EXPECT_TRUE(s.FontRuns[0].Font().Bold());

    s.AddText(U"Hello ");
    style.styles = 0;
    s.ChangeFont(BaseFont(doc, 18), style);
    s.AddText(U"world");
    ASSERT_EQ(s.FontRuns.Count(), 2);
    EXPECT_EQ(s.FontRuns[1].CharPos, 6);
    EXPECT_EQ(s.FontRuns[1].Font().NominalSize, 18);
    EXPECT_FALSE(s.FontRuns[1].Font().Bold());
}

TEST(FontRuns, StylesSetAndClearOnTheRunAtTheEnd) {
    TSectionList doc;
    TSection s(doc, 0, BaseFont(doc), nullptr, JustifyType::Left);
    s.AddText(U"a");
    s.ChangeStyle(Symb::StrongSy);
    s.ChangeStyle(Symb::EmSy);
    s.AddText(U"b");
    s.ChangeStyle(Symb::StrongEndSy);
    s.ChangeStyle(Symb::USy);
    s.AddText(U"c");
    s.ChangeStyle(Symb::TableSy);  // not a style tag: nothing happens
    ASSERT_EQ(s.FontRuns.Count(), 3);
    EXPECT_EQ(s.FontRuns[1].Font().Style, fsBold | fsItalic);
    EXPECT_EQ(s.FontRuns[2].Font().Style, fsItalic | fsUnderline);
}

TEST(FontRuns, SubAndSuperscriptShrinkToThreeQuarters) {
    TSectionList doc;
    TSection s(doc, 0, BaseFont(doc), nullptr, JustifyType::Left);
    s.AddText(U"x");
    s.ChangeFont(BaseFont(doc), TextStyleState{0, SubSuperType::SupSc});
    s.AddText(U"2");
    s.ChangeFont(BaseFont(doc, 10), TextStyleState{0, SubSuperType::SubSc});
    s.AddText(U"i");
    ASSERT_EQ(s.FontRuns.Count(), 3);
    EXPECT_EQ(s.FontRuns[1].SScript, SubSuperType::SupSc);
    EXPECT_EQ(s.FontRuns[1].Font().NominalSize, 9);
    EXPECT_EQ(s.FontRuns[2].SScript, SubSuperType::SubSc);
    EXPECT_EQ(s.FontRuns[2].Font().NominalSize, 8);  // 7.5 rounds up
}

TEST(FontRuns, LinksStartEndAndAreInherited) {
    TSectionList doc;
    TUrlTarget link;
    link.Assign("a.htm", "main");
    TSection s(doc, 0, BaseFont(doc), &link, JustifyType::Left);
    EXPECT_EQ(s.FontRuns[0].Link(), link);
    s.AddText(U"in link");
    s.ChangeStyle(Symb::BSy);  // a new run keeps the link
    EXPECT_EQ(s.FontRuns.Last().Link().URL, "a.htm");
    s.AddText(U" bold");
    s.HRef(Symb::AEndSy, link, BaseFont(doc), {});
    EXPECT_TRUE(s.FontRuns.Last().Link().Empty());
    s.AddText(U" out");
    TUrlTarget other;
    other.Assign("b.htm", "");
    s.HRef(Symb::ASy, other, BaseFont(doc), {});
    EXPECT_EQ(s.FontRuns.Last().Link(), other);
    // Runs copied from one another share a link; ending or replacing it on the last run
    // leaves the earlier runs alone.
    ASSERT_EQ(s.FontRuns.Count(), 4);
    EXPECT_EQ(s.FontRuns[0].Link(), link);
    EXPECT_EQ(s.FontRuns[1].Link(), link);
    EXPECT_TRUE(s.FontRuns[2].Link().Empty());
    TSectionList copy_doc;
    TSection copy(copy_doc, s);
    ASSERT_EQ(copy.FontRuns.Count(), 4);
    EXPECT_EQ(copy.FontRuns[3].Link(), other);
    EXPECT_EQ(copy.FontRuns[3].CharPos, s.FontRuns[3].CharPos);
}

TEST(FontRuns, MetricsComeFromTheScreenCanvas) {
    TSectionList doc;
    TestCanvas canvas(10, 10, TestCanvas::Config{7, 20, 5}, Rgba{});
    doc.SetScreenCanvas(&canvas);
    TSection s(doc, 0, BaseFont(doc), nullptr, JustifyType::Left);
    EXPECT_EQ(s.FontRuns[0].CharHeight(), 25);
    EXPECT_EQ(s.FontRuns[0].LineHeight(), 25);
    EXPECT_EQ(s.FontRuns[0].Descent(), 5);
    // Same font, another canvas: measured again, not taken from the last measurement.
    TestCanvas other(10, 10, TestCanvas::Config{7, 30, 6}, Rgba{});
    doc.SetScreenCanvas(&other);
    TSection t(doc, 0, BaseFont(doc), nullptr, JustifyType::Left);
    EXPECT_EQ(t.FontRuns[0].CharHeight(), 36);
    EXPECT_EQ(t.FontRuns[0].Descent(), 6);
    EXPECT_EQ(s.FontRuns[0].CharHeight(), 25);
}

TEST(FontRuns, UpdateFontsAppliesLinkAndTextColours) {
    TSectionList doc;
    TUrlTarget link;
    link.Assign("x", "");
    TSection s(doc, 0, BaseFont(doc), nullptr, JustifyType::Left);
    s.AddText(U"plain ");
    s.HRef(Symb::ASy, link, BaseFont(doc), {});
    s.AddText(U"link");
    doc.SetFonts("Arial", "Courier", 12, 0x101010, 0x0000EE, 0xFFFFFF);
    s.UpdateFonts();
    EXPECT_EQ(s.FontRuns[0].Font().FontColor, 0x101010u);
    EXPECT_EQ(s.FontRuns[1].Font().FontColor, 0x0000EEu);
    EXPECT_EQ(s.FontRuns[1].Font().Name, "Arial");
}

TEST(FontList, LookupsByPosition) {
    TSectionList doc;
    TSection s(doc, 0, BaseFont(doc), nullptr, JustifyType::Left);
    s.AddText(U"abc");
    s.ChangeStyle(Symb::BSy);
    s.AddText(U"defg");
    s.ChangeStyle(Symb::BEndSy);
    s.AddText(U"h");
    const TFontList& runs = s.FontRuns;
    int index = -1;
    EXPECT_EQ(runs.GetFontObjAt(0, &index)->CharPos, 0);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(runs.GetFontObjAt(3, &index)->CharPos, 3);
    EXPECT_EQ(index, 1);
    EXPECT_EQ(runs.GetFontObjAt(6, &index)->CharPos, 3);
    EXPECT_EQ(runs.GetFontObjAt(99, &index)->CharPos, 7);
    EXPECT_EQ(index, 2);
    int overhang = -1;
    EXPECT_TRUE(runs.GetFontAt(4, overhang)->Bold());
    EXPECT_EQ(overhang, 0);
    EXPECT_EQ(runs.GetFontCountAt(0, 8), 3);
    EXPECT_EQ(runs.GetFontCountAt(4, 8), 3);
    EXPECT_EQ(runs.GetFontCountAt(7, 8), 1);
    TFontList empty;
    EXPECT_EQ(empty.GetFontObjAt(0), nullptr);
    EXPECT_EQ(empty.GetFontCountAt(2, 5), 3);
}

}  // namespace
}  // namespace quillon
