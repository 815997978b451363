#include "html/dump/layout_dump.h"

#include <cstdio>
#include <vector>

#include "html/layout/cell.h"
#include "html/layout/html_table.h"
#include "html/layout/list_item.h"
#include "html/layout/section.h"
#include "html/layout/spacer_sections.h"
#include "platform/core/text_encoding.h"

namespace quillon {

namespace {

void AppendJsonString(std::string& out, std::u32string_view s) {
    out += '"';
    for (const char32_t c : s) {
        switch (c) {
            case U'"':
                out += "\\\"";
                break;
            case U'\\':
                out += "\\\\";
                break;
            case U'\n':
                out += "\\n";
                break;
            case U'\r':
                out += "\\r";
                break;
            case U'\t':
                out += "\\t";
                break;
            default:
                if (c < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned>(c));
                    out += buf;
                } else {
                    out += text::ToUtf8(std::u32string_view(&c, 1));
                }
        }
    }
    out += '"';
}

void Field(std::string& out, const char* name, int value, bool first = false) {
    if (!first) out += ", ";
    out += '"';
    out += name;
    out += "\": ";
    out += std::to_string(value);
}

const char* KindOf(const TSectionBase& s) {
    if (dynamic_cast<const TPreFormated*>(&s)) return "pre";
    if (dynamic_cast<const TUListItem*>(&s)) return "list-item";
    if (dynamic_cast<const TSection*>(&s)) return "text";
    if (dynamic_cast<const THorzLine*>(&s)) return "rule";
    if (dynamic_cast<const ThtmlTable*>(&s)) return "table";
    if (dynamic_cast<const TPage*>(&s)) return "page";
    return "space";
}

void DumpText(std::string& out, const TSection& s) {
    out += ", \"lines\": [";
    int y = s.LayoutY;
    const std::u32string text = s.Text();
    for (std::size_t i = 0; i < s.LineList.size(); ++i) {
        const LineRec& line = s.LineList[i];
        out += i ? ", {" : "{";
        Field(out, "y", y, true);
        Field(out, "height", line.Advance());
        Field(out, "x", line.StartX);
        Field(out, "chars", line.CharsInLine);
        out += ", \"text\": ";
        AppendJsonString(out, text.substr(static_cast<std::size_t>(line.TextStart),
                                          static_cast<std::size_t>(line.CharsInLine)));
        out += '}';
        y += line.Advance();
    }
    out += "], \"images\": [";
    for (std::size_t i = 0; i < s.ImageBoxes().size(); ++i) {
        const Rect& box = s.ImageBoxes()[i];
        out += i ? ", {" : "{";
        Field(out, "x", box.left, true);
        Field(out, "y", box.top);
        Field(out, "w", box.Width());
        Field(out, "h", box.Height());
        out += '}';
    }
    out += "], \"marker\": ";
    AppendJsonString(out, s.MarkerText());
}

void DumpSections(std::string& out, const TCell& cell);

void IntList(std::string& out, const char* name, const std::vector<int>& values) {
    out += ", \"";
    out += name;
    out += "\": [";
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i) out += ", ";
        out += std::to_string(values[i]);
    }
    out += ']';
}

// Columns, widths, rows and every real cell with its box (x from the enclosing cell's left
// edge, y as laid out) and its own sections.
void DumpTable(std::string& out, const ThtmlTable& t) {
    IntList(out, "columns", t.ColumnWidths);
    Field(out, "body_width", t.BodyWidth);
    Field(out, "block_width", t.BlockWidth);
    Field(out, "block_indent", t.BlockIndent);
    std::vector<int> heights;
    heights.reserve(t.RowList.size());
    for (const auto& row : t.RowList) heights.push_back(row->RowSize);
    IntList(out, "row_heights", heights);
    Field(out, "height", t.DrawHeight);
    out += ", \"cells\": [";
    int row_y = t.LayoutY + (t.CaptionOnTop ? t.CaptionSpace : 0);
    for (std::size_t r = 0; r < t.RowList.size(); ++r) {
        const TCellList& row = *t.RowList[r];
        out += r ? ", [" : "[";
        int cx = t.BodyIndent;
        bool first = true;
        for (int c = 0; c < row.Count(); ++c) {
            const TCellObj& cell = row[c];
            if (cell.SpanCols > 0) {
                out += first ? "{" : ", {";
                first = false;
                Field(out, "x", cx + t.Spacing, true);
                Field(out, "y", row_y + t.Spacing);
                Field(out, "w", cell.SpanWidth - t.Spacing + 1);
                Field(out, "h", cell.SpanHeight - t.Spacing + 1);
                DumpSections(out, cell.Body);
                out += '}';
            }
            if (c < static_cast<int>(t.ColumnWidths.size())) {
                cx += t.ColumnWidths[static_cast<std::size_t>(c)];
            }
        }
        out += ']';
        row_y += row.RowSize;
    }
    out += ']';
}

void DumpSection(std::string& out, const TSectionBase& s) {
    out += "\"kind\": \"";
    out += KindOf(s);
    out += '"';
    Field(out, "y", s.LayoutY);
    if (const auto* table = dynamic_cast<const ThtmlTable*>(&s)) {
        DumpTable(out, *table);
        return;
    }
    Field(out, "height", s.Height);
    if (const auto* text = dynamic_cast<const TSection*>(&s)) DumpText(out, *text);
}

void DumpSections(std::string& out, const TCell& cell) {
    out += ", \"sections\": [";
    for (int i = 0; i < cell.Count(); ++i) {
        out += i ? ", {" : "{";
        DumpSection(out, cell[i]);
        out += '}';
    }
    out += ']';
}

}  // namespace

std::string DumpLayout(const TCell& cell, int width, int height) {
    std::string out = "{";
    Field(out, "width", width, true);
    Field(out, "height", height);
    out += ", \"sections\": [";
    for (int i = 0; i < cell.Count(); ++i) {
        out += i ? ",\n  {" : "\n  {";
        DumpSection(out, cell[i]);
        out += '}';
    }
    out += cell.Count() ? "\n]}\n" : "]}\n";
    return out;
}

}  // namespace quillon
