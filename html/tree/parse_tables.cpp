// Tables: rows, cells, captions and the text found between cells.

#include <algorithm>

#include "html/layout/attribute_access.h"
#include "html/layout/cell.h"
#include "html/layout/html_table.h"
#include "html/layout/section_list.h"
#include "html/tree/html_parser_state.h"

namespace quillon {

namespace {

using S = Symb;

constexpr SymbSet kTableTerm = {
    S::TableEndSy, S::TDSy,      S::TDEndSy,      S::TRSy,       S::TREndSy,       S::THSy,
    S::THEndSy,    S::CaptionSy, S::CaptionEndSy, S::THeadSy,    S::THeadEndSy,    S::TBodySy,
    S::TBodyEndSy, S::TFootSy,   S::TFootEndSy,   S::ColGroupSy, S::ColGroupEndSy, S::ColSy};
// Row groups: THEAD starts the header rows, anything else ends them.
constexpr SymbSet kRowGroups = {S::THeadSy,    S::THeadEndSy, S::TBodySy,
                                S::TBodyEndSy, S::TFootSy,    S::TFootEndSy};

ColumnStyle ColumnStyleOf(const TAttributeList& attrs) {
    ColumnStyle col_style;
    ReadBlockWidth(attrs, col_style.Value, col_style.Percent);
    return col_style;
}

int SpanAttribute(const TAttributeList& attrs) {
    const auto n = AttrNumber(attrs, Symb::SpanSy);
    return n && *n > 1 ? std::min(*n, kMaxColumns) : 1;
}

AlignmentType VAlignAttribute(const TAttributeList& attrs, AlignmentType dflt) {
    return AttrKeyword<AlignmentType>(attrs, Symb::VAlignSy,
                                      {{"top", AlignmentType::Top},
                                       {"middle", AlignmentType::Middle},
                                       {"bottom", AlignmentType::Bottom}})
        .value_or(dflt);
}

}  // namespace

void HtmlParser::TableRoutine(int level) {
    if (tables_ >= kMaxTables) {  // nested too deep: the tag is ignored
        Next();
        return;
    }
    ++tables_;
    CloseLink();
    const std::size_t depth = fonts_.size();
    TCell* const enclosing = cell_;
    const JustifyType saved_justify = justify_;
    const TextStyleState saved_style = style_;
    AddSection();
    auto table = std::make_unique<ThtmlTable>(doc_, Attrs(), justify_, enclosing, level);
    StyleTable(*table);
    cell_ = nullptr;

    std::unique_ptr<TCellList> row;
    JustifyType row_align = JustifyType::NoJustify;
    AlignmentType row_valign = AlignmentType::Middle;
    std::unique_ptr<TCellObj> open_cell;  // the cell being read; its Body is cell_
    int row_hint = 0;                     // cells of the widest row so far, to reserve
    bool in_head = false;                 // inside THEAD
    // The column group being read: a COL in it gives its columns its own width and colour
    // or else the group's; a group without COL gives its SPAN columns its own.
    struct ColumnGroup {
        ColumnStyle col_style;
        int span = 1;
        bool open = false;
        bool has_columns = false;
    };
    ColumnGroup group;
    auto add_columns = [&](int span, const ColumnStyle& col_style) {
        auto& col_styles = table->ColStyles;
        const auto room = static_cast<std::size_t>(kMaxColumns) - col_styles.size();
        col_styles.insert(col_styles.end(), std::min(static_cast<std::size_t>(span), room),
                          col_style);
    };
    auto close_group = [&] {
        if (group.open && !group.has_columns) add_columns(group.span, group.col_style);
        group = ColumnGroup{};
    };

    // Ends the open cell: its last section joins it and the cell joins the row. Only a
    // cell made here is ever appended or dropped; the enclosing cell is never touched.
    auto close_cell = [&] {
        if (cell_) AddSection();
        section_.reset();
        if (open_cell) {
            if (!row) row = std::make_unique<TCellList>();
            if (row->Count() == 0) row->Reserve(row_hint);
            row->Add(std::move(open_cell));
        }
        cell_ = nullptr;
    };
    auto end_row = [&] {
        close_cell();
        if (row) {
            row_hint = std::max(row_hint, row->Count());
            row->InHead = in_head;
            table->AddRow(std::move(row));
        }
    };

    Next();
    while (Sy() != S::TableEndSy && Sy() != S::EofSy) {
        const Symb s = Sy();
        if (s == S::TextSy) {
            if (open_cell) {
                // Text after a </BODY> inside a cell: the cell goes on.
                Body(0, kTableTerm);
            } else {
                // Text between cells goes before the table, in the enclosing cell.
                cell_ = enclosing;
                Body(0, kTableTerm);
                AddSection();
                cell_ = nullptr;
            }
        } else if (s == S::TDSy || s == S::THSy) {
            CloseLink();
            PopFontsTo(depth);
            style_ = saved_style;
            if (row) {
                close_cell();
            } else {
                row = std::make_unique<TCellList>();  // a cell without TR starts a row
                row_align = JustifyType::NoJustify;
                row_valign = AlignmentType::Middle;
            }
            JustifyType align = row_align;
            if (s == S::TDSy) {
                row->HasDataCell = true;
                if (align == JustifyType::NoJustify) align = JustifyType::Left;
                style_.styles &= ~fsBold;
            } else {
                if (align == JustifyType::NoJustify) align = JustifyType::Centered;
                style_.styles |= fsBold;
            }
            justify_ = AlignFor(Attrs(), align);
            open_cell =
                std::make_unique<TCellObj>(doc_, VAlignAttribute(Attrs(), row_valign), Attrs());
            StyleCell(*open_cell, *table);
            cell_ = &open_cell->Body;
            tok_.SkipWhiteSpace();
            Next();
            if (Sy() == S::PSy) {
                justify_ = AlignAttribute(Attrs(), justify_);
                Next();
            }
            Body(0, kTableTerm);
        } else if (s == S::TDEndSy || s == S::THEndSy) {
            close_cell();
            Next();
        } else if (s == S::TRSy) {
            CloseLink();
            end_row();
            row = std::make_unique<TCellList>(Attrs());
            StyleRow(*row);
            row_align = AlignAttribute(Attrs(), JustifyType::NoJustify);
            row_valign = VAlignAttribute(Attrs(), AlignmentType::Middle);
            Next();
        } else if (kRowGroups.Contains(s)) {
            CloseLink();
            end_row();
            in_head = s == S::THeadSy;
            Next();
        } else if (s == S::ColGroupSy) {
            close_group();
            group = ColumnGroup{ColumnStyleOf(Attrs()), SpanAttribute(Attrs()), true, false};
            StyleColumn(group.col_style, "colgroup");
            Next();
        } else if (s == S::ColSy) {
            if (!group.open && styles_) {
                // Browsers put a COL outside COLGROUP in a group of their own, which style
                // may give a width or a colour.
                group = ColumnGroup{{}, 1, true, false};
                StyleColumn(group.col_style, "colgroup");
            }
            ColumnStyle col_style = ColumnStyleOf(Attrs());
            StyleColumn(col_style, "col");
            if (group.open && col_style.Value <= 0) {
                col_style.Value = group.col_style.Value;
                col_style.Percent = group.col_style.Percent;
                col_style.BorderBox = group.col_style.BorderBox;
            }
            if (group.open && !col_style.HasBack) {
                col_style.HasBack = group.col_style.HasBack;
                col_style.Back = group.col_style.Back;
            }
            group.has_columns = true;
            add_columns(SpanAttribute(Attrs()), col_style);
            Next();
        } else if (s == S::ColGroupEndSy) {
            close_group();
            Next();
        } else if (s == S::TREndSy) {
            CloseLink();
            end_row();
            Next();
        } else if (s == S::CaptionSy) {
            CloseLink();
            PopFontsTo(depth);
            style_ = saved_style;
            close_cell();
            table->CaptionOnTop =
                !AttrKeyword<bool>(Attrs(), S::AlignSy, {{"bottom", true}}).has_value();
            cell_ = &table->CaptionCell->Body;
            justify_ = JustifyType::Centered;
            Next();
            Body(0, kTableTerm);
            AddSection();
            cell_ = nullptr;
            justify_ = saved_justify;
            if (Sy() == S::CaptionEndSy) Next();
        } else {
            Next();
        }
    }
    CloseLink();
    PopFontsTo(depth);
    end_row();
    close_group();
    cell_ = enclosing;
    cell_->Add(std::move(table));
    style_ = saved_style;
    justify_ = saved_justify;
    --tables_;
    Next();
}

}  // namespace quillon
