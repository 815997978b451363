#include "html/layout/html_table.h"

#include <algorithm>
#include <cstdlib>

#include "html/layout/attribute_access.h"
#include "html/layout/section_list.h"
#include "html/layout/sel_text.h"
#include "platform/core/text_encoding.h"

namespace quillon {

TCellObj::TCellObj(TSectionList& doc, AlignmentType valign) : Body(&doc), VertAlign(valign) {}

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
    : Body(&doc),
      WidthIsPercent(src.WidthIsPercent),
      VertAlign(src.VertAlign),
      Hidden(src.Hidden),
      SpanCols(src.SpanCols),
      SpanRows(src.SpanRows),
      HeightValue(src.HeightValue),
      WidthValue(src.WidthValue),
      SpanWidth(src.SpanWidth),
      SpanHeight(src.SpanHeight),
      InnerHeight(src.InnerHeight),
      InnerOffset(src.InnerOffset) {
    if (src.box_) box_ = std::make_unique<CellBox>(*src.box_);
    Body.CopySectionsFrom(src.Body);
}

TCellObj::~TCellObj() = default;

void TCellObj::SetBox(const BoxStyle& style) {
    if (!Body.Document) return;
    box_ = std::make_unique<CellBox>(Body.Document->SideBoxes().Share(style));
}

MinMax TCellObj::ContentWidths(Canvas& canvas) {
    const int pass = Body.Document ? Body.Document->LayoutPass() : -1;
    if (pass < 0 || pass != minmax_pass_) {
        content_minmax_ = Body.MinMaxWidth(canvas);
        minmax_pass_ = pass;
    }
    return content_minmax_;
}

void ColumnLimits::Total() {
    TotalMin = 0;
    TotalMax = 0;
    for (const int v : Min) TotalMin += v;
    for (const int v : Max) TotalMax += v;
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
        Padding = std::clamp(*n, 0, 49) + 1;  // negative padding counts as none
    }
    if (const auto n = AttrNumber(attrs, Symb::CellSpacingSy)) {
        Spacing = std::clamp(*n, 0, 39) + 1;
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
      CollapseBorders(src.CollapseBorders),
      Padding(src.Padding),
      Spacing(src.Spacing),
      WidthValue(src.WidthValue),
      WidthIsPercent(src.WidthIsPercent),
      OwnMargins(src.OwnMargins),
      MinWidth(src.MinWidth),
      MaxWidth(src.MaxWidth),
      CellPercentages(src.CellPercentages),
      SpreadAsBrowsers(src.SpreadAsBrowsers),
      BlockAlign(src.BlockAlign),
      Floating(src.Floating),
      HasBackColor(src.HasBackColor),
      BackColor(src.BackColor),
      Picture(src.Picture),
      HasEdgeColor(src.HasEdgeColor),
      EdgeColor(src.EdgeColor),
      Hidden(src.Hidden),
      SideSpace(src.SideSpace),
      NestLevel(src.NestLevel),
      EnclosingCell(src.EnclosingCell),
      CaptionCell(std::make_unique<TCellObj>(doc, *src.CaptionCell)),
      CaptionOnTop(src.CaptionOnTop),
      ColStyles(src.ColStyles),
      Prepared(src.Prepared),
      GridError(src.GridError),
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
      DrawY(src.DrawY),
      DrawHeight(src.DrawHeight) {
    CopyBase(src);
    for (const auto& row : src.RowList) {
        auto copy = std::make_unique<TCellList>();
        copy->BkGnd = row->BkGnd;
        copy->BkColor = row->BkColor;
        copy->Picture = row->Picture;
        copy->InHead = row->InHead;
        copy->HasDataCell = row->HasDataCell;
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

namespace {

// Whether any of the cell's cursor positions (or the cell itself, when empty) is selected.
bool CellSelected(const TCellObj& cell, const SelTextCount& sink) {
    const int start = cell.Body.StartCurs;
    if (cell.Body.Len == 0) return sink.SelStart <= start && start < sink.SelEnd;
    return start < sink.SelEnd && start + cell.Body.Len > sink.SelStart;
}

// The selected text of a cell on one line: line ends inside become spaces, trailing ones go.
std::u32string CellText(const TCellObj& cell, const SelTextCount& sink) {
    ClipBuffer buf(sink.SelStart, sink.SelEnd);
    cell.Body.CopyToClipboard(buf);
    std::u32string text = buf.Text();
    while (!text.empty() && (text.back() == U'\n' || text.back() == U'\r')) text.pop_back();
    std::u32string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == U'\r' && i + 1 < text.size() && text[i + 1] == U'\n') {
            out += U' ';
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace

void ThtmlTable::CopyToClipboard(SelTextCount& sink) const {
    // A row is a line with its cells separated by tabs, so that the copy pastes as a grid.
    auto caption = [&](const TCellObj& cell) {
        if (cell.Body.Empty() || !CellSelected(cell, sink)) return;
        sink.AddText(CellText(cell, sink));
        if (sink.SelEnd > cell.Body.StartCurs + cell.Body.Len) sink.AddLineEnd();
    };
    if (CaptionCell && CaptionOnTop) caption(*CaptionCell);
    for (const auto& row : RowList) {
        bool any = false;
        int row_end = 0;
        for (const auto& cell : row->Cells()) {
            if (cell->SpanCols <= 0 || !CellSelected(*cell, sink)) continue;
            if (any) sink.AddText(U"\t");
            sink.AddText(CellText(*cell, sink));
            row_end = cell->Body.StartCurs + cell->Body.Len;
            any = true;
        }
        if (any && sink.SelEnd > row_end) sink.AddLineEnd();
    }
    if (CaptionCell && !CaptionOnTop) caption(*CaptionCell);
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
