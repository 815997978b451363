// Tables: attributes with their defaults and limits, cells with spans and sizes, rows,
// captions, and deep copies.
#include <gtest/gtest.h>

#include "html/layout/html_table.h"
#include "html/layout/section.h"
#include "html/layout/section_list.h"
#include "platform/core/test_canvas.h"
#include "tests/html_layout/model_test_support.h"

namespace quillon {
namespace {

using testing::Attr;
using testing::Attrs;

TEST(Tables, DefaultsWithoutAttributes) {
    TSectionList doc;
    ThtmlTable t(doc, Attrs({}), JustifyType::Centered, &doc, 0);
    EXPECT_FALSE(t.HasBorder);
    EXPECT_EQ(t.Padding, 1);  // 2, less one without a border
    EXPECT_EQ(t.Spacing, 3);
    EXPECT_EQ(t.WidthValue, 0);
    EXPECT_EQ(t.BlockAlign, JustifyType::Centered);  // the enclosing paragraph's
    EXPECT_EQ(t.Floating, AlignmentType::ANone);
    EXPECT_EQ(t.SideSpace, 5);
    EXPECT_TRUE(t.CaptionOnTop);
    ASSERT_NE(t.CaptionCell, nullptr);
    EXPECT_TRUE(t.CaptionCell->Body.Empty());
    EXPECT_TRUE(t.IfHTMLTable());
    EXPECT_EQ(t.EnclosingCell, &doc);
}

TEST(Tables, AttributesAndTheirLimits) {
    TSectionList doc;
    ThtmlTable t(doc,
                 Attrs({Attr(Symb::BorderSy), Attr(Symb::CellPaddingSy, "80"),
                        Attr(Symb::CellSpacingSy, "0"), Attr(Symb::WidthSy, "80%"),
                        Attr(Symb::AlignSy, "right"), Attr(Symb::BGColorSy, "#102030"),
                        Attr(Symb::BorderColorSy, "navy"), Attr(Symb::HSpaceSy, "-35")}),
                 JustifyType::Left, &doc, 2);
    EXPECT_TRUE(t.HasBorder);
    EXPECT_EQ(t.Padding, 50);
    EXPECT_EQ(t.Spacing, 1);
    EXPECT_EQ(t.WidthValue, 80);
    EXPECT_TRUE(t.WidthIsPercent);
    EXPECT_EQ(t.BlockAlign, JustifyType::Right);
    EXPECT_EQ(t.Floating, AlignmentType::ARight);
    EXPECT_TRUE(t.HasBackColor);
    EXPECT_EQ(t.BackColor, 0x102030u);
    EXPECT_TRUE(t.HasEdgeColor);
    EXPECT_EQ(t.EdgeColor, 0x000080u);
    EXPECT_EQ(t.SideSpace, 20);
    EXPECT_EQ(t.NestLevel, 2);
}

TEST(Tables, NegativeSizesClampAtZero) {
    TSectionList doc;
    ThtmlTable t(doc,
                 Attrs({Attr(Symb::BorderSy, "0"), Attr(Symb::CellPaddingSy, "-9"),
                        Attr(Symb::CellSpacingSy, "-9"), Attr(Symb::WidthSy, "-100"),
                        Attr(Symb::AlignSy, "center")}),
                 JustifyType::Left, &doc, 0);
    EXPECT_FALSE(t.HasBorder);
    EXPECT_EQ(t.Padding, 0);  // as CELLPADDING=0 without a border
    EXPECT_EQ(t.Spacing, 1);  // as CELLSPACING=0: never below one pixel
    EXPECT_EQ(t.WidthValue, 0);
    EXPECT_EQ(t.BlockAlign, JustifyType::Centered);
    EXPECT_EQ(t.Floating, AlignmentType::ANone);
}

TEST(TableCells, SpansSizesAndBackground) {
    TSectionList doc;
    TCellObj plain(doc, AlignmentType::Middle, Attrs({}));
    EXPECT_EQ(plain.SpanCols, 1);
    EXPECT_EQ(plain.SpanRows, 1);
    EXPECT_FALSE(plain.Body.BkGnd);

    TCellObj c(
        doc, AlignmentType::Top,
        Attrs({Attr(Symb::ColSpanSy, "3"), Attr(Symb::RowSpanSy, "2"), Attr(Symb::HeightSy, "40"),
               Attr(Symb::WidthSy, "25%"), Attr(Symb::BGColorSy, "yellow")}));
    EXPECT_EQ(c.SpanCols, 3);
    EXPECT_EQ(c.SpanRows, 2);
    EXPECT_EQ(c.HeightValue, 40);
    EXPECT_EQ(c.WidthValue, 25);
    EXPECT_TRUE(c.WidthIsPercent);
    EXPECT_EQ(c.VertAlign, AlignmentType::Top);
    EXPECT_TRUE(c.Body.BkGnd);
    EXPECT_EQ(c.Body.BkColor, 0xFFFF00u);
    EXPECT_EQ(c.Body.Document, &doc);

    TCellObj odd(doc, AlignmentType::Bottom,
                 Attrs({Attr(Symb::ColSpanSy, "0"), Attr(Symb::RowSpanSy, "-2"),
                        Attr(Symb::WidthSy, "0"), Attr(Symb::BGColorSy, "#GG0000")}));
    EXPECT_EQ(odd.SpanCols, 1);
    EXPECT_EQ(odd.SpanRows, 1);
    EXPECT_EQ(odd.WidthValue, 0);
    EXPECT_FALSE(odd.Body.BkGnd);
    TCellObj too_wide(doc, AlignmentType::Middle, Attrs({Attr(Symb::WidthSy, "101%")}));
    EXPECT_EQ(too_wide.WidthValue, 0);
    TCellObj pixels(doc, AlignmentType::Middle, Attrs({Attr(Symb::WidthSy, "120")}));
    EXPECT_EQ(pixels.WidthValue, 120);
    EXPECT_FALSE(pixels.WidthIsPercent);
}

// A 2 x 2 table with a caption at the bottom, content in every cell.
std::unique_ptr<ThtmlTable> SmallTable(TSectionList& doc) {
    auto t = std::make_unique<ThtmlTable>(doc, Attrs({Attr(Symb::BorderSy, "1")}),
                                          JustifyType::Left, &doc, 0);
    TMyFont font;
    const char32_t* texts[2][2] = {{U"a", U"b"}, {U"c", U"d"}};
    for (int r = 0; r < 2; ++r) {
        auto& row =
            t->AddRow(std::make_unique<TCellList>(Attrs({Attr(Symb::BGColorSy, "silver")})));
        for (int c = 0; c < 2; ++c) {
            auto& cell = row.Add(std::make_unique<TCellObj>(doc, AlignmentType::Middle, Attrs({})));
            auto s = std::make_unique<TSection>(doc, 0, font, nullptr, JustifyType::Left);
            s->AddText(texts[r][c]);
            cell.Body.Add(std::move(s));
        }
    }
    auto caption = std::make_unique<TSection>(doc, 0, font, nullptr, JustifyType::Centered);
    caption->AddText(U"cap");
    t->CaptionCell->Body.Add(std::move(caption));
    t->CaptionOnTop = false;
    return t;
}

TEST(Tables, RowsCellsAndCaptionInOrder) {
    TSectionList doc;
    auto t = SmallTable(doc);
    ASSERT_EQ(t->RowList.size(), 2u);
    EXPECT_TRUE(t->RowList[0]->BkGnd);
    EXPECT_EQ(t->RowList[0]->BkColor, 0xC0C0C0u);
    EXPECT_EQ(t->RowList[1]->Count(), 2);
    std::u32string order;
    t->ForEachCell([&](const TCellObj& cell) {
        order += dynamic_cast<const TSection&>(cell.Body[0]).Text();
        order += U'|';
    });
    EXPECT_EQ(order, U"a|b|c|d|cap|");
    EXPECT_EQ(t->CharCount(), 7);

    // Placeholders made by span expansion are skipped.
    t->RowList[1]->Insert(1, std::make_unique<TCellObj>(doc, AlignmentType::Middle));
    (*t->RowList[1])[1].SpanCols = 0;
    int cells = 0;
    t->ForEachCell([&](const TCellObj&) { ++cells; });
    EXPECT_EQ(cells, 5);
}

TEST(Tables, CopiesAreDeep) {
    TSectionList doc;
    doc.Add(SmallTable(doc));
    auto copy = TSectionList::CreateCopy(doc);
    auto& t = dynamic_cast<ThtmlTable&>((*copy)[0]);
    EXPECT_EQ(t.Document, copy.get());
    EXPECT_TRUE(t.HasBorder);
    EXPECT_FALSE(t.CaptionOnTop);
    ASSERT_EQ(t.RowList.size(), 2u);
    const auto& original = dynamic_cast<ThtmlTable&>(doc[0]);
    EXPECT_NE(&(*t.RowList[0])[0], &(*original.RowList[0])[0]);
    EXPECT_EQ((*t.RowList[0])[0].Body.Document, copy.get());
    EXPECT_EQ((*t.RowList[0])[0].Body[0].Document, copy.get());
    EXPECT_EQ(dynamic_cast<const TSection&>(t.CaptionCell->Body[0]).Text(), U"cap");
}

TEST(Tables, SearchAndCharactersVisitTheCells) {
    TSectionList doc;
    doc.Add(SmallTable(doc));
    TestCanvas canvas(100, 100);
    int width = 0, cursor = 0;
    doc.DoLogic(canvas, 0, 100, width, cursor);
    EXPECT_EQ(cursor, 7);
    EXPECT_EQ(doc.GetChAtPos(2), U'c');
    EXPECT_EQ(doc.GetChAtPos(5), U'a');  // "cap"
    EXPECT_EQ(doc.FindString(0, U"D", false, 0), 3);
    EXPECT_EQ(doc.FindString(0, U"D", true, 0), -1);
    EXPECT_EQ(doc.FindString(4, U"a", true, 0), 5);
}

}  // namespace
}  // namespace quillon
