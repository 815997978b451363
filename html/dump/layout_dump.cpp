#include "html/dump/layout_dump.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <ostream>
#include <span>
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

void AppendColor(std::string& out, Color c) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "\"#%06x\"", static_cast<unsigned>(c & 0xFFFFFF));
    out += buf;
}

void AppendNumber(std::string& out, double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.4g", v);
    out += buf;
}

// The font of every run: family, size in pixels (96 to the inch), weight, style, the
// decoration lines and the colour; "hidden" for text that keeps its room but is not drawn.
void DumpRuns(std::string& out, const TSection& s) {
    out += ", \"runs\": [";
    for (int i = 0; i < s.FontRuns.Count(); ++i) {
        const TFontObj& run = s.FontRuns[i];
        const TMyFont& font = run.Font();
        out += i ? ", {" : "{";
        Field(out, "at", run.CharPos, true);
        out += ", \"family\": ";
        AppendJsonString(out, text::DecodeText(font.Name));
        out += ", \"size\": ";
        AppendNumber(out, font.Size * 96.0 / 72.0);
        Field(out, "weight", font.Bold() ? 700 : 400);
        out += font.Italic() ? ", \"style\": \"italic\"" : ", \"style\": \"normal\"";
        out += ", \"decoration\": ";
        if (font.Underline() && font.StrikeOut()) {
            out += "\"underline line-through\"";
        } else if (font.Underline()) {
            out += "\"underline\"";
        } else if (font.StrikeOut()) {
            out += "\"line-through\"";
        } else {
            out += "null";
        }
        out += ", \"color\": ";
        AppendColor(out, font.FontColor);
        if (font.Hidden()) out += ", \"hidden\": true";
        out += '}';
    }
    out += ']';
}

const char* StyleName(BorderLineStyle style) {
    switch (style) {
        case BorderLineStyle::Solid:
            return "solid";
        case BorderLineStyle::Dashed:
            return "dashed";
        case BorderLineStyle::Dotted:
            return "dotted";
        case BorderLineStyle::Double:
            return "double";
        default:
            return "none";
    }
}

void IntList(std::string& out, const char* name, const std::vector<int>& values);

void SideList(std::string& out, const char* name, const std::array<int, 4>& v) {
    IntList(out, name, std::vector<int>(v.begin(), v.end()));
}

// A box's background, borders (as drawn), padding and margin (as laid out), sides in the
// order top, right, bottom, left.
void DumpBoxStyle(std::string& out, const BoxStyle& style, const std::array<BorderEdge, 4>& borders,
                  const std::array<int, 4>& padding, const std::array<int, 4>& margins) {
    out += "\"background\": ";
    if (style.Background) {
        AppendColor(out, *style.Background);
    } else {
        out += "null";
    }
    if (style.Hidden) out += ", \"hidden\": true";
    out += ", \"border\": [";
    for (std::size_t i = 0; i < borders.size(); ++i) {
        const BorderEdge& e = borders[i];
        out += i ? ", {" : "{";
        Field(out, "width", e.Room(), true);
        out += ", \"style\": \"";
        out += e.Shown() ? StyleName(e.Style) : "none";
        out += "\", \"color\": ";
        AppendColor(out, e.Colour);
        out += '}';
    }
    out += ']';
    SideList(out, "padding", padding);
    SideList(out, "margin", margins);
}

void DumpBoxes(std::string& out, const SectionBoxes& boxes) {
    out += ", \"boxes\": [";
    bool first = true;
    const std::span<const BoxMembership> list = boxes.List();
    for (std::size_t i = 0; i < list.size(); ++i) {
        const BoxMembership& b = list[i];
        out += first ? "{" : ", {";
        first = false;
        out += b.First ? "\"first\": true" : "\"first\": false";
        out += b.Last ? ", \"last\": true, " : ", \"last\": false, ";
        const auto sides = [&](int (SectionBoxes::*of)(std::size_t, BoxSide) const) {
            return std::array<int, 4>{(boxes.*of)(i, kBoxTop), (boxes.*of)(i, kBoxRight),
                                      (boxes.*of)(i, kBoxBottom), (boxes.*of)(i, kBoxLeft)};
        };
        DumpBoxStyle(out, *b.Style, b.Style->Border, sides(&SectionBoxes::PaddingOf),
                     sides(&SectionBoxes::MarginOf));
        out += '}';
    }
    out += ']';
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

// What to dump, and where the text goes as it is made.
struct DumpOptions {
    bool runs = false;
    std::ostream* sink = nullptr;  // nothing: all of it stays in the string
};

// Hands what was made so far to the sink, so a dump of a huge document is never held whole.
void Spill(std::string& out, const DumpOptions& opt) {
    if (opt.sink == nullptr || out.size() < (std::size_t{1} << 16)) return;
    opt.sink->write(out.data(), static_cast<std::streamsize>(out.size()));
    out.clear();
}

void DumpSections(std::string& out, const TCell& cell, const DumpOptions& opt);
void DumpBlocks(std::string& out, const TSection& s, const DumpOptions& opt);

void DumpText(std::string& out, const TSection& s, const DumpOptions& opt) {
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
    out += ']';
    if (!s.InlineBlocks().empty()) DumpBlocks(out, s, opt);
    out += ", \"marker\": ";
    AppendJsonString(out, s.MarkerText());
    if (opt.runs) DumpRuns(out, s);
}

// The inline blocks of a text section: the margin box of each (x from the cell's left edge,
// y as laid out), its baseline from its top, its decoration and its own sections, laid out
// from its left edge.
void DumpBlocks(std::string& out, const TSection& s, const DumpOptions& opt) {
    out += ", \"blocks\": [";
    for (std::size_t i = 0; i < s.InlineBlocks().size(); ++i) {
        const TInlineBlock& b = *s.InlineBlocks()[i];
        const Point at = i < s.BlockPlaces().size() ? s.BlockPlaces()[i] : Point{};
        out += i ? ", {" : "{";
        Field(out, "x", at.x, true);
        Field(out, "y", at.y);
        Field(out, "w", b.DrawnWidth);
        Field(out, "h", b.DrawnHeight);
        Field(out, "baseline", b.Baseline);
        if (b.Box) {
            out += ", \"box\": {";
            DumpBoxStyle(out, *b.Box, b.Box->Border, b.Box->Padding, b.Box->Margin);
            out += '}';
        }
        DumpSections(out, b.Body, opt);
        out += '}';
    }
    out += ']';
}

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

// The colours COL and COLGROUP give the columns (null: none), when one has a colour.
void DumpColumnColours(std::string& out, const ThtmlTable& t) {
    const auto& col_styles = t.ColStyles;
    if (std::none_of(col_styles.begin(), col_styles.end(),
                     [](const ColumnStyle& c) { return c.HasBack; })) {
        return;
    }
    out += ", \"column_backgrounds\": [";
    for (int c = 0; c < t.ColumnCount; ++c) {
        if (c) out += ", ";
        if (const Color* colour = t.ColumnColour(c)) {
            AppendColor(out, *colour);
        } else {
            out += "null";
        }
    }
    out += ']';
}

// Columns, widths, rows and every real cell with its box (x from the enclosing cell's left
// edge, y as laid out) and its own sections.
void DumpTable(std::string& out, const ThtmlTable& t, const DumpOptions& opt) {
    IntList(out, "columns", t.ColumnWidths);
    DumpColumnColours(out, t);
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
                if (const CellBox* box = cell.Box()) {
                    out += ", \"box\": {";
                    DumpBoxStyle(out, *box->Style, box->Edges, box->Padding, box->Style->Margin);
                    const BoxSizing& size = box->Style->Size;
                    if (size.MinWidth) Field(out, "min_width", size.MinWidth->Pixels);
                    if (size.MaxWidth) Field(out, "max_width", size.MaxWidth->Pixels);
                    out += '}';
                }
                DumpSections(out, cell.Body, opt);
                out += '}';
            }
            if (c < static_cast<int>(t.ColumnWidths.size())) {
                cx += t.ColumnWidths[static_cast<std::size_t>(c)];
            }
        }
        out += ']';
        row_y += row.RowSize;
        Spill(out, opt);
    }
    out += ']';
}

void DumpSection(std::string& out, const TSectionBase& s, const DumpOptions& opt) {
    out += "\"kind\": \"";
    out += KindOf(s);
    out += '"';
    Field(out, "y", s.LayoutY);
    if (const SectionBoxes* boxes = s.Boxes()) DumpBoxes(out, *boxes);
    if (const auto* table = dynamic_cast<const ThtmlTable*>(&s)) {
        DumpTable(out, *table, opt);
        return;
    }
    Field(out, "height", s.Height);
    if (const auto* text = dynamic_cast<const TSection*>(&s)) DumpText(out, *text, opt);
}

void DumpSections(std::string& out, const TCell& cell, const DumpOptions& opt) {
    out += ", \"sections\": [";
    for (int i = 0; i < cell.Count(); ++i) {
        out += i ? ", {" : "{";
        DumpSection(out, cell[i], opt);
        Spill(out, opt);
        out += '}';
    }
    out += ']';
}

}  // namespace

namespace {

void Dump(std::string& out, const TCell& cell, int width, int height, const DumpOptions& opt) {
    out += '{';
    Field(out, "width", width, true);
    Field(out, "height", height);
    out += ", \"sections\": [";
    for (int i = 0; i < cell.Count(); ++i) {
        out += i ? ",\n  {" : "\n  {";
        DumpSection(out, cell[i], opt);
        out += '}';
        Spill(out, opt);
    }
    out += cell.Count() ? "\n]}\n" : "]}\n";
}

}  // namespace

std::string DumpLayout(const TCell& cell, int width, int height, bool font_runs) {
    std::string out;
    Dump(out, cell, width, height, DumpOptions{font_runs, nullptr});
    return out;
}

void DumpLayout(std::ostream& sink, const TCell& cell, int width, int height, bool font_runs) {
    std::string out;
    Dump(out, cell, width, height, DumpOptions{font_runs, &sink});
    sink << out;
}

}  // namespace quillon
