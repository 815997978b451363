// The compact storage of the document model: section text kept one byte a character until a
// wider character arrives, fonts and links shared per document (and a copy of a document
// not depending on the original's), the in-place first element of small sequences, and the
// object sizes that keep a table-heavy report small.
#include <gtest/gtest.h>

#include "html/layout/html_table.h"
#include "html/layout/inline_first_vector.h"
#include "html/layout/line_rec_list.h"
#include "html/layout/section.h"
#include "html/layout/section_list.h"
#include "html/layout/section_text.h"
#include "html/layout/spacer_sections.h"
#include "html/tree/html_parser.h"
#include "platform/core/test_canvas.h"

namespace quillon {
namespace {

const TSection& FirstText(const TCell& cell) {
    for (int i = 0; i < cell.Count(); ++i) {
        if (const auto* s = dynamic_cast<const TSection*>(&cell[i])) return *s;
    }
    throw std::logic_error("no text section");
}

TEST(CompactSectionText, WideCharactersKeepWhatCameBefore) {
    TSectionText t;
    t.append(U"caf\u00E9 ");  // Latin-1: kept narrow
    EXPECT_FALSE(t.Wide());
    t.append(U"\u20AC 5");  // the euro sign turns the whole text wide
    EXPECT_TRUE(t.Wide());
    EXPECT_EQ(t.str(), U"caf\u00E9 \u20AC 5");
    EXPECT_EQ(t.size(), 8u);
    EXPECT_EQ(t[3], U'\u00E9');
    EXPECT_EQ(t[5], U'\u20AC');
    EXPECT_EQ(t.back(), U'5');

    TSectionText n;
    n.append(U"\u00FFxy");
    n.set(1, U'\u0416');  // replacing a character with a wide one widens too
    EXPECT_EQ(n.str(), U"\u00FF\u0416y");
    std::u32string scratch;
    EXPECT_EQ(n.View(scratch), U"\u00FF\u0416y");
}

TEST(CompactSectionText, WideningLeavesTheFieldsBesideTheTextAlone) {
    // The section keeps small fields in the bytes after its text storage: changing the
    // text's representation must not overwrite them.
    TSectionList doc;
    TSection s(doc, 2, TMyFont{}, nullptr, JustifyType::Right);
    s.ClearMode = ClearAttrType::clAll;
    s.ItemKind = ListTypeType::Definition;
    s.AddText(U"narrow text, long enough to leave the inline buffer");
    s.AddText(U" €");
    s.FindString(0, U"n", true, U'•');
    EXPECT_EQ(s.BlockAlign, JustifyType::Right);
    EXPECT_EQ(s.ClearMode, ClearAttrType::clAll);
    EXPECT_EQ(s.ItemKind, ListTypeType::Definition);
    EXPECT_EQ(s.NestLevel, 2);
    TSection copy(doc, s);
    EXPECT_EQ(copy.BlockAlign, JustifyType::Right);
    EXPECT_EQ(copy.Text().substr(0, 6), U"•arrow");
}

TEST(CompactSectionText, FindInNarrowText) {
    TSectionText t;
    t.append(U"Total \u00C4rger total");
    EXPECT_EQ(t.find(U"total", 0), 12u);
    EXPECT_EQ(t.find(U"\u00C4r", 0), 6u);
    EXPECT_EQ(t.find(U"Total", 1), std::u32string::npos);
    // A character the narrow text cannot hold is never found, even as a byte pattern.
    EXPECT_EQ(t.find(U"\u0154", 0), std::u32string::npos);
    std::u32string scratch;
    EXPECT_EQ(t.View(scratch), U"Total \u00C4rger total");
}

TEST(CompactSectionText, SectionSearchReplacesWithAWideCharacter) {
    TSectionList doc;
    TSection s(doc, 0, TMyFont{}, nullptr, JustifyType::Left);
    s.AddText(U"a {x} b");
    EXPECT_EQ(s.FindString(0, U"{", true, U'\u2022'), 2);
    EXPECT_EQ(s.Text(), U"a \u2022x} b");
    EXPECT_EQ(s.FindString(0, U"X}", false, 0), 3);
}

TEST(InlineFirstVector, CopiesAndRefillsKeepEveryElement) {
    InlineFirstVector<int> v;
    for (int i = 0; i < 5; ++i) v.push_back(i);
    InlineFirstVector<int> copy = v;
    v.clear();
    EXPECT_TRUE(v.empty());
    v.push_back(7);
    EXPECT_EQ(v.size(), 1u);
    EXPECT_EQ(v.back(), 7);  // the kept tail memory is empty, not stale
    v.push_back(8);
    EXPECT_EQ(v.back(), 8);
    ASSERT_EQ(copy.size(), 5u);
    int sum = 0;
    for (int x : copy) sum += x;
    EXPECT_EQ(sum, 10);
    EXPECT_EQ(copy.at(4), 4);
    EXPECT_THROW(static_cast<void>(copy.at(5)), std::out_of_range);
}

// Elements with an empty state of their own mark the unused first slot with it.
TEST(InlineFirstVector, EmptyStateSlotsStayConsistent) {
    InlineFirstVector<std::unique_ptr<int>> ptrs;
    EXPECT_THROW(ptrs.push_back(nullptr), std::invalid_argument);  // would read as empty
    EXPECT_TRUE(ptrs.empty());
    ptrs.push_back(std::make_unique<int>(1));
    ptrs.push_back(std::make_unique<int>(2));
    EXPECT_EQ(ptrs.size(), 2u);
    EXPECT_EQ(*ptrs[0] + *ptrs.back(), 3);
    ptrs.clear();
    EXPECT_EQ(ptrs.size(), 0u);
    ptrs.push_back(std::make_unique<int>(5));
    EXPECT_EQ(*ptrs.back(), 5);

    TSectionList doc;
    TestCanvas canvas(800, 600);
    doc.SetScreenCanvas(&canvas);
    TFontList runs;
    runs.Add(TFontObj(doc, 0, TMyFont()));
    runs.Add(TFontObj(doc, 3, TMyFont(), SubSuperType::SupSc));
    const TFontList copy = runs;
    runs.Clear();
    EXPECT_TRUE(runs.Empty());
    EXPECT_EQ(runs.GetFontObjAt(2), nullptr);
    runs.Add(TFontObj(doc, 0, TMyFont()));
    EXPECT_EQ(runs.Count(), 1);
    ASSERT_EQ(copy.Count(), 2);
    EXPECT_EQ(copy.GetFontObjAt(5)->SScript, SubSuperType::SupSc);
    EXPECT_EQ(copy[0].LineHeight(), runs[0].LineHeight());
}

// One line in place, more lines in a vector: every step between the two keeps the lines.
TEST(LineRecList, KeepsLinesAcrossGrowthClearCopyAndMove) {
    auto line = [](int start) {
        LineRec r;
        r.TextStart = start;
        r.CharsInLine = 10;
        r.StartX = -start;
        return r;
    };
    LineRecList lines;
    EXPECT_TRUE(lines.empty());
    EXPECT_EQ(lines.begin(), lines.end());
    lines.push_back(line(0));
    EXPECT_EQ(lines.size(), 1u);
    lines.back().TextHeight = 14;
    for (int i = 1; i < 6; ++i) lines.push_back(line(10 * i));
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0].TextHeight, 14);  // the in-place line moved with its changes
    int starts = 0;
    for (const LineRec& r : lines) starts += r.TextStart;
    EXPECT_EQ(starts, 150);
    EXPECT_EQ(lines.at(5).StartX, -50);
    EXPECT_THROW(static_cast<void>(lines.at(6)), std::out_of_range);

    LineRecList copy = lines;
    lines.clear();
    EXPECT_TRUE(lines.empty());
    lines.push_back(line(7));  // refills the kept vector
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].TextStart, 7);
    ASSERT_EQ(copy.size(), 6u);
    EXPECT_EQ(copy[5].TextStart, 50);

    LineRecList moved = std::move(copy);
    EXPECT_EQ(moved.size(), 6u);
    EXPECT_TRUE(copy.empty());  // NOLINT(bugprone-use-after-move): a moved-from list is empty
    moved = lines;
    ASSERT_EQ(moved.size(), 1u);
    EXPECT_EQ(moved.back().TextStart, 7);
    LineRecList one;
    one.push_back(line(3));
    LineRecList one_copy(one);
    one.clear();
    EXPECT_EQ(one_copy.size(), 1u);
    EXPECT_EQ(one_copy[0].TextStart, 3);
}

TEST(SharedRunStyles, ATableOfRowsUsesAHandfulOfFacesAndOneLinkEach) {
    TSectionList doc;
    TestCanvas canvas(800, 600);
    doc.SetScreenCanvas(&canvas);
    TNameList names;
    std::string html = "<TABLE>";
    for (int i = 0; i < 200; ++i) {
        html += "<TR><TD>a" + std::to_string(i) + "</TD><TD><B>b</B></TD><TD><A HREF=\"x.htm\">" +
                "go</A></TD></TR>";
    }
    html += "</TABLE>";
    HtmlParseBuffer(doc, names, html);
    EXPECT_LE(doc.FontFaceCount(), 4u);

    // Runs of equal fonts and equal links refer to the same shared objects.
    const auto& table = dynamic_cast<const ThtmlTable&>(doc[0]);
    const auto& first = dynamic_cast<const TSection&>(table.RowList[0]->Cells()[2]->Body[0]);
    const auto& last = dynamic_cast<const TSection&>(table.RowList[199]->Cells()[2]->Body[0]);
    EXPECT_EQ(&first.FontRuns[0].Font(), &last.FontRuns[0].Font());
    EXPECT_EQ(&first.FontRuns[0].Link(), &last.FontRuns[0].Link());
    EXPECT_EQ(first.FontRuns[0].Link().URL, "x.htm");
}

TEST(SharedRunStyles, ACopyOutlivesTheDocumentItWasMadeFrom) {
    TestCanvas canvas(800, 600);
    TNameList names;
    auto doc = std::make_unique<TSectionList>(canvas);
    HtmlParseBuffer(*doc, names,
                    "<P><FONT FACE=x SIZE=5>big</FONT> <A HREF=\"p.htm\" TARGET=t>link</A>");
    auto copy = TSectionList::CreateCopy(*doc);
    const int big_height = FirstText(*doc).FontRuns[0].LineHeight();
    doc.reset();  // the copy's fonts and links must not live in the original

    const TSection& s = FirstText(*copy);
    ASSERT_GE(s.FontRuns.Count(), 3);
    EXPECT_EQ(s.FontRuns[0].LineHeight(), big_height);
    EXPECT_EQ(s.FontRuns[0].Font().NominalSize, 18);
    const TFontObj* link = s.FontRuns.GetFontObjAt(s.CharCount() - 1);
    EXPECT_EQ(link->Link().URL, "p.htm");
    EXPECT_EQ(link->Link().Target, "t");
    int max_width = 0;
    int cursor = 0;
    EXPECT_GT(copy->DoLogic(canvas, 0, 400, max_width, cursor), 0);
    EXPECT_GE(cursor, s.CharCount());
}

// A report holds one cell object and one section per table cell: these sizes keep it at
// well under half of the bytes per cell it once took. Growing them is a choice to make
// knowingly (64-bit Linux layout).
TEST(ModelSizes, CellsAndSectionsStaySmall) {
    if constexpr (sizeof(void*) == 8) {
        // Block boxes are kept by the document; a cell holds a pointer to its box (its
        // lookup in a table beside the cells took a sixth of a styled report's time).
        EXPECT_LE(sizeof(TSection), 152u);
        EXPECT_LE(sizeof(LineRecList), 32u);
        EXPECT_LE(sizeof(LineRec), 28u);
        EXPECT_LE(sizeof(TCellObj), 96u);
        EXPECT_LE(sizeof(TFontObj), 24u);
        EXPECT_LE(sizeof(TParagraphSpace), 40u);
    }
}

}  // namespace
}  // namespace quillon
