#include "html/layout/html_table.h"

#include <algorithm>
#include <cstdlib>

#include "html/layout/attribute_access.h"
#include "html/layout/section_list.h"
#include "platform/core/text_encoding.h"

namespace quillon {

TCellObj::TCellObj(TSectionList& doc, AlignmentType valign) : VertAlign(valign), Body(&doc) {}

TCellObj::TCellObj(TSectionList& doc, AlignmentType valign, const TAttributeList& attrs)
    : TCellObj(doc, valign) {
    if (const auto n = AttrNumber(attrs, Symb::ColSpanSy); n && *n > 1) SpanCols = *n;
    if (const auto n = AttrNumber(attrs, Symb::RowSpanSy); n && *n > 1) SpanRows = *n;
    if (const auto n = AttrNumber(attrs, Symb::HeightSy)) HeightValue = std::max(0, *n);
    if (const auto w = AttrLength(attrs, Symb::WidthSy)) {
        if (w->Percent ? (w->Value >= 1 && w->Value <= 100) : w->Value > 0) {
            WidthValue = w->Value;
            WidthIsPercent = w->Percent;
        }
    }
    if (const auto c = AttrColor(attrs, Symb::BGColorSy)) {
        Body.BkGnd = true;
        Body.BkColor = *c;
    }
}

TCellObj::TCellObj(TSectionList& doc, const TCellObj& src)
    : SpanCols(src.SpanCols),
      SpanRows(src.SpanRows),
      HeightValue(src.HeightValue),
      WidthValue(src.WidthValue),
      WidthIsPercent(src.WidthIsPercent),
      VertAlign(src.VertAlign),
      Body(&doc),
      SpanWidth(src.SpanWidth),
      SpanHeight(src.SpanHeight),
      InnerHeight(src.InnerHeight),
      InnerOffset(src.InnerOffset) {
    Body.CopySectionsFrom(src.Body);
}

TCellList::TCellList(const TAttributeList& attrs) {
    if (const auto c = AttrColor(attrs, Symb::BGColorSy)) {
        BkGnd = true;
        BkColor = *c;
    }
}

TCellObj& TCellList::Add(std::unique_ptr<TCellObj> cell) {
    cells_.push_back(std::move(cell));
    return *cells_.back();
}

TCellObj& TCellList::Insert(int index, std::unique_ptr<TCellObj> cell) {
    index = std::clamp(index, 0, Count());
    return **cells_.insert(cells_.begin() + index, std::move(cell));
}

ThtmlTable::ThtmlTable(TSectionList& doc, const TAttributeList& attrs, JustifyType align,
                       TCell* enclosing, int level)
    : TSectionBase(&doc),
      BlockAlign(align),
      NestLevel(std::max(0, level)),
      EnclosingCell(enclosing),
      CaptionCell(std::make_unique<TCellObj>(doc, AlignmentType::Middle)) {
    if (const auto n = AttrNumber(attrs, Symb::BorderSy)) HasBorder = *n > 0;
    if (const auto n = AttrNumber(attrs, Symb::CellPaddingSy)) {
        Padding = std::clamp(*n, -1, 49) + 1;
    }
    if (const auto n = AttrNumber(attrs, Symb::CellSpacingSy)) {
        Spacing = std::clamp(*n, -1, 39) + 1;
    }
    ReadBlockWidth(attrs, WidthValue, WidthIsPercent);
    if (const auto a = AttrKeyword<JustifyType>(attrs, Symb::AlignSy,
                                                {{"center", JustifyType::Centered},
                                                 {"left", JustifyType::Left},
                                                 {"right", JustifyType::Right}})) {
        BlockAlign = *a;
        if (*a == JustifyType::Left) Floating = AlignmentType::ALeft;
        if (*a == JustifyType::Right) Floating = AlignmentType::ARight;
    }
    if (const auto c = AttrColor(attrs, Symb::BGColorSy)) {
        HasBackColor = true;
        BackColor = *c;
    }
    if (const auto c = AttrColor(attrs, Symb::BorderColorSy)) {
        HasEdgeColor = true;
        EdgeColor = *c;
    }
    if (const auto n = AttrNumber(attrs, Symb::HSpaceSy)) {
        SideSpace = *n < -20 || *n > 20 ? 20 : std::abs(*n);
    }
    if (!HasBorder) Padding = std::max(0, Padding - 1);
}

ThtmlTable::ThtmlTable(TSectionList& doc, const ThtmlTable& src)
    : TSectionBase(&doc),
      HasBorder(src.HasBorder),
      Padding(src.Padding),
      Spacing(src.Spacing),
      WidthValue(src.WidthValue),
      WidthIsPercent(src.WidthIsPercent),
      BlockAlign(src.BlockAlign),
      Floating(src.Floating),
      HasBackColor(src.HasBackColor),
      BackColor(src.BackColor),
      HasEdgeColor(src.HasEdgeColor),
      EdgeColor(src.EdgeColor),
      SideSpace(src.SideSpace),
      NestLevel(src.NestLevel),
      EnclosingCell(src.EnclosingCell),
      CaptionCell(std::make_unique<TCellObj>(doc, *src.CaptionCell)),
      CaptionOnTop(src.CaptionOnTop),
      Prepared(src.Prepared),
      HasAbsWidths(src.HasAbsWidths),
      ColumnCount(src.ColumnCount),
      ColumnWidths(src.ColumnWidths),
      ColumnPercents(src.ColumnPercents),
      BodyWidth(src.BodyWidth),
      BlockWidth(src.BlockWidth),
      BlockIndent(src.BlockIndent),
      BodyIndent(src.BodyIndent),
      CaptionSpace(src.CaptionSpace),
      BodyHeight(src.BodyHeight),
      CaptionNarrowest(src.CaptionNarrowest),
      DrawX(src.DrawX),
      DrawY(src.DrawY) {
    CopyBase(src);
    for (const auto& row : src.RowList) {
        auto copy = std::make_unique<TCellList>();
        copy->BkGnd = row->BkGnd;
        copy->BkColor = row->BkColor;
        copy->RowSize = row->RowSize;
        copy->RowSpanHeight = row->RowSpanHeight;
        for (const auto& cell : row->Cells()) copy->Add(std::make_unique<TCellObj>(doc, *cell));
        RowList.push_back(std::move(copy));
    }
}

TCellList& ThtmlTable::AddRow(std::unique_ptr<TCellList> row) {
    RowList.push_back(std::move(row));
    return *RowList.back();
}

int ThtmlTable::CharCount() const {
    int n = 0;
    ForEachCell([&](const TCellObj& cell) {
        for (const auto& s : cell.Body.Sections()) n += s->CharCount();
    });
    return n;
}

std::unique_ptr<TSectionBase> ThtmlTable::CreateCopy(TSectionList& doc) const {
    return std::make_unique<ThtmlTable>(doc, *this);
}

void ThtmlTable::CopyToClipboard(SelTextCount& sink) const {
    ForEachCell([&](const TCellObj& cell) { cell.Body.CopyToClipboard(sink); });
}

int ThtmlTable::FindString(int from, std::u32string_view to_find, bool match_case,
                           char32_t replacement) {
    int found = -1;
    ForEachCell([&](TCellObj& cell) {
        if (found < 0) found = cell.Body.FindString(from, to_find, match_case, replacement);
    });
    return found;
}

std::optional<char32_t> ThtmlTable::GetChAtPos(int pos) const {
    std::optional<char32_t> c;
    ForEachCell([&](const TCellObj& cell) {
        if (!c) c = cell.Body.GetChAtPos(pos);
    });
    return c;
}

void ThtmlTable::UpdateFonts() {
    ForEachCell([](TCellObj& cell) { cell.Body.UpdateFonts(); });
    UpdateSpacing();
}

}  // namespace quillon
