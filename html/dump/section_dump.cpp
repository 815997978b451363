#include "html/dump/section_dump.h"

#include <cstdio>
#include <string_view>

#include "html/layout/form_controls.h"
#include "html/layout/html_form.h"
#include "html/layout/html_table.h"
#include "html/layout/list_item.h"
#include "html/layout/map_item.h"
#include "html/layout/section.h"
#include "html/layout/section_list.h"
#include "html/layout/spacer_sections.h"
#include "platform/core/text_encoding.h"

namespace quillon {

namespace {

class Dumper {
  public:
    explicit Dumper(const TSectionList* doc) : doc_(doc) {}

    std::string Take() { return std::move(out_); }

    void Header(const TSectionList& d) {
        out_ += "document base=" + Quoted(d.BaseFontName()) +
                " fixed=" + Quoted(d.FixedFontName()) +
                " size=" + std::to_string(d.BaseFontSize()) + " text=" + Hex(d.TextColor()) +
                " link=" + Hex(d.LinkColor()) + " background=" + Hex(d.Background());
        if (!d.BackgroundImageName().empty()) {
            out_ += " background-image=" + Quoted(d.BackgroundImageName());
        }
        out_ += '\n';
    }

    void Cell(const TCell& cell, int depth) {
        for (const auto& s : cell.Sections()) Section(*s, depth);
    }

    void Forms(const TSectionList& d) {
        for (const auto& form : d.Forms()) {
            Indent(0);
            out_ += "form method=" + form->Method();
            if (!form->Action().empty()) out_ += " action=" + Quoted(form->Action());
            if (form->Implicit()) out_ += " implicit";
            out_ += '\n';
            for (const auto& c : form->FormControls()) Control(*c, 1);
        }
    }

    void Maps(const TSectionList& d) {
        for (const auto& map : d.ImageMaps()) {
            out_ += "map " + Quoted(map->MapKey()) + '\n';
            for (const auto& area : map->Areas()) {
                Indent(1);
                out_ += "area ";
                out_ += area.shape == TMapItem::Area::Shape::Rect     ? "rect "
                        : area.shape == TMapItem::Area::Shape::Circle ? "circle "
                                                                      : "poly ";
                for (std::size_t i = 0; i < area.coords.size(); ++i) {
                    if (i) out_ += ',';
                    out_ += std::to_string(area.coords[i]);
                }
                if (area.HRef.empty()) {
                    out_ += " nohref";
                } else {
                    out_ += " href=" + Quoted(area.HRef);
                }
                if (!area.Target.empty()) out_ += " target=" + Quoted(area.Target);
                out_ += '\n';
            }
        }
    }

  private:
    static std::string Hex(Color c) {
        char buf[8];
        std::snprintf(buf, sizeof buf, "#%06X", static_cast<unsigned>(c & 0xFFFFFF));
        return buf;
    }

    static void Escape(std::string& out, char32_t c) {
        switch (c) {
            case U'"':
                out += "\\\"";
                return;
            case U'\\':
                out += "\\\\";
                return;
            case U'\n':
                out += "\\n";
                return;
            case U'\r':
                out += "\\r";
                return;
            case U'\t':
                out += "\\t";
                return;
            default:
                break;
        }
        if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) {
            char buf[12];
            std::snprintf(buf, sizeof buf, "\\u{%X}", static_cast<unsigned>(c));
            out += buf;
        } else {
            text::AppendUtf8(out, c);
        }
    }

    static std::string Quoted(std::u32string_view s) {
        std::string out = "\"";
        for (char32_t c : s) Escape(out, c);
        return out + '"';
    }
    static std::string Quoted(std::string_view utf8) { return Quoted(text::DecodeText(utf8)); }

    static const char* AlignName(JustifyType j) {
        switch (j) {
            case JustifyType::NoJustify:
                return "none";
            case JustifyType::Left:
                return "left";
            case JustifyType::Centered:
                return "center";
            case JustifyType::Right:
                return "right";
        }
        return "?";
    }

    static const char* VAlignName(AlignmentType a) {
        switch (a) {
            case AlignmentType::ANone:
                return "none";
            case AlignmentType::Top:
                return "top";
            case AlignmentType::Middle:
                return "middle";
            case AlignmentType::Bottom:
                return "bottom";
            case AlignmentType::ALeft:
                return "left";
            case AlignmentType::ARight:
                return "right";
        }
        return "?";
    }

    static std::string Length(int value, bool percent) {
        return std::to_string(value) + (percent ? "%" : "");
    }

    void Indent(int depth) { out_.append(static_cast<std::size_t>(depth) * 2, ' '); }

    void Section(const TSectionBase& s, int depth) {
        Indent(depth);
        if (const auto* text = dynamic_cast<const TSection*>(&s)) {
            TextSection(*text, depth);
        } else if (dynamic_cast<const TParagraphSpace*>(&s)) {
            out_ += "space h=" + std::to_string(s.Height) + '\n';
        } else if (const auto* h = dynamic_cast<const THeadingSpace*>(&s)) {
            out_ += "heading-space " + std::to_string(h->HeadingLevel) +
                    " h=" + std::to_string(s.Height) + '\n';
        } else if (const auto* hr = dynamic_cast<const THorzLine*>(&s)) {
            out_ += "rule size=" + std::to_string(hr->Thickness);
            if (hr->RuleWidth >= 0) out_ += " width=" + Length(hr->RuleWidth, hr->RuleIsPercent);
            if (hr->HasColor) out_ += " color=" + Hex(hr->RuleColor);
            out_ += " h=" + std::to_string(s.Height) + '\n';
        } else if (dynamic_cast<const TPage*>(&s)) {
            out_ += "page\n";
        } else if (const auto* table = dynamic_cast<const ThtmlTable*>(&s)) {
            Table(*table, depth);
        } else {
            out_ += "block\n";
        }
    }

    void TextSection(const TSection& s, int depth) {
        if (const auto* ol = dynamic_cast<const TOListItem*>(&s)) {
            out_ += "ol " + std::to_string(ol->ItemNumber) + ' ';
            text::AppendUtf8(out_, ol->NumberStyle);
        } else if (dynamic_cast<const TDListItem*>(&s)) {
            out_ += "dl";
        } else if (const auto* ul = dynamic_cast<const TUListItem*>(&s)) {
            out_ += ul->Plain ? "ul plain" : "ul";
        } else if (dynamic_cast<const TPreFormated*>(&s)) {
            out_ += "pre";
        } else {
            out_ += "section";
        }
        if (s.NestLevel > 0) out_ += " level=" + std::to_string(s.NestLevel);
        if (s.BlockAlign != JustifyType::Left)
            out_ += std::string(" align=") + AlignName(s.BlockAlign);
        switch (s.ClearMode) {
            case ClearAttrType::clLeft:
                out_ += " clear=left";
                break;
            case ClearAttrType::clRight:
                out_ += " clear=right";
                break;
            case ClearAttrType::clAll:
                out_ += " clear=all";
                break;
            case ClearAttrType::clrNone:
                break;
        }
        out_ += ':';
        Content(s);
        out_ += '\n';
        for (const auto& block : s.InlineBlocks()) InlineBlock(*block, depth + 1);
    }

    void InlineBlock(const TInlineBlock& b, int depth) {
        Indent(depth);
        out_ += "inline-block";
        const auto length = [](const BoxLength& l) {
            return l.Percent < 0 ? std::to_string(l.Pixels)
                                 : std::to_string(static_cast<int>(l.Percent)) + '%';
        };
        if (b.Width) out_ += " width=" + length(*b.Width);
        if (b.MinWidth) out_ += " min-width=" + length(*b.MinWidth);
        if (b.MaxWidth) out_ += " max-width=" + length(*b.MaxWidth);
        if (b.Placement != TInlineBlock::Align::Baseline) {
            out_ += b.Placement == TInlineBlock::Align::Top      ? " top"
                    : b.Placement == TInlineBlock::Align::Middle ? " middle"
                                                                 : " bottom";
        }
        out_ += '\n';
        Cell(b.Body, depth + 1);
    }

    std::string FontRun(const TFontObj& run) const {
        const TMyFont& f = run.Font();
        std::string d = "{";
        const std::string& doc_face = f.FixedPitch ? doc_->FixedFontName() : doc_->BaseFontName();
        if (f.FixedPitch) d += "fixed ";
        if (f.Name != doc_face) d += Quoted(f.Name) + ' ';
        d += std::to_string(f.NominalSize);
        if (f.Bold()) d += " B";
        if (f.Italic()) d += " I";
        if (f.Underline()) d += " U";
        if (f.StrikeOut()) d += " S";
        const Color expected = run.Link().Empty() ? doc_->TextColor() : doc_->LinkColor();
        if (f.FontColor != expected) d += ' ' + Hex(f.FontColor);
        if (run.SScript == SubSuperType::SupSc) d += " sup";
        if (run.SScript == SubSuperType::SubSc) d += " sub";
        if (!run.Link().Empty()) d += " href=" + Quoted(run.Link().URL);
        if (!run.Link().Target.empty()) d += " target=" + Quoted(run.Link().Target);
        return d + '}';
    }

    static std::string Image(const TImageObj& img) {
        std::string d = "[img " + Quoted(img.SourceName);
        if (img.WidthValue >= 0) d += " width=" + Length(img.WidthValue, img.WidthIsPercent);
        if (img.HeightValue >= 0) d += " height=" + std::to_string(img.HeightValue);
        if (img.Placement != AlignmentType::Bottom)
            d += std::string(" ") + VAlignName(img.Placement);
        if (!img.AltText.empty()) d += " alt=" + Quoted(img.AltText);
        if (img.Borderless) d += " border=0";
        if (img.TranspRequest) d += " transp";
        if (img.ServerMap) d += " ismap";
        if (img.ClientMap) d += " usemap=" + Quoted(img.ClientMapName);
        if (img.SideSpace != 5) d += " hspace=" + std::to_string(img.SideSpace);
        return d + ']';
    }

    void Content(const TSection& s) {
        const std::u32string text = s.Text();
        std::size_t next_image = 0;
        std::size_t next_control = 0;
        std::size_t next_block = 0;
        int run_index = 0;
        bool in_quote = false;
        auto close_quote = [&] {
            if (in_quote) out_ += '"';
            in_quote = false;
        };
        for (std::size_t i = 0; i <= text.size(); ++i) {
            const int pos = static_cast<int>(i);
            while (run_index < s.FontRuns.Count() && s.FontRuns[run_index].CharPos <= pos) {
                // Runs that start at the same position: only the last one shows.
                const bool shadowed =
                    run_index + 1 < s.FontRuns.Count() && s.FontRuns[run_index + 1].CharPos <= pos;
                if (!shadowed && (i < text.size() || run_index == 0)) {
                    close_quote();
                    out_ += ' ' + FontRun(s.FontRuns[run_index]);
                }
                ++run_index;
            }
            if (i == text.size()) break;
            const char32_t c = text[i];
            if (c == kImageChar && next_image < s.InlineImages().size() &&
                s.InlineImages()[next_image]->CharPos == pos) {
                close_quote();
                out_ += ' ' + Image(*s.InlineImages()[next_image++]);
            } else if (c == kFormControlChar && next_control < s.InlineControls().size() &&
                       s.InlineControls()[next_control]->CharPos == pos) {
                close_quote();
                const TFormControlObj& ctl = *s.InlineControls()[next_control++];
                out_ += std::string(" [") + ctl.KindName() + ' ' + Quoted(ctl.Name) + ']';
            } else if (c == kInlineBlockChar && next_block < s.InlineBlocks().size() &&
                       s.InlineBlocks()[next_block]->CharPos == pos) {
                ++next_block;
                close_quote();
                out_ += " [inline-block]";
            } else {
                if (!in_quote) out_ += " \"";
                in_quote = true;
                Escape(out_, c);
            }
        }
        close_quote();
    }

    void Table(const ThtmlTable& t, int depth) {
        out_ += "table";
        if (t.HasBorder) out_ += " border";
        out_ += " padding=" + std::to_string(t.Padding) + " spacing=" + std::to_string(t.Spacing);
        if (t.WidthValue > 0) out_ += " width=" + Length(t.WidthValue, t.WidthIsPercent);
        if (t.CollapseBorders) out_ += " collapse";
        if (t.BlockAlign != JustifyType::Left)
            out_ += std::string(" align=") + AlignName(t.BlockAlign);
        if (t.Floating != AlignmentType::ANone) {
            out_ += std::string(" float=") + VAlignName(t.Floating);
        }
        if (t.HasBackColor) out_ += " bgcolor=" + Hex(t.BackColor);
        if (t.HasEdgeColor) out_ += " bordercolor=" + Hex(t.EdgeColor);
        if (t.SideSpace != 5) out_ += " hspace=" + std::to_string(t.SideSpace);
        if (t.NestLevel > 0) out_ += " level=" + std::to_string(t.NestLevel);
        out_ += '\n';
        const bool caption = t.CaptionCell && !t.CaptionCell->Body.Empty();
        if (caption && t.CaptionOnTop) Caption(t, depth + 1);
        for (const auto& row : t.RowList) {
            Indent(depth + 1);
            out_ += "row";
            if (row->BkGnd) out_ += " bgcolor=" + Hex(row->BkColor);
            out_ += '\n';
            for (const auto& cell : row->Cells()) CellObj(*cell, depth + 2);
        }
        if (caption && !t.CaptionOnTop) Caption(t, depth + 1);
    }

    void Caption(const ThtmlTable& t, int depth) {
        Indent(depth);
        out_ += t.CaptionOnTop ? "caption top\n" : "caption bottom\n";
        Cell(t.CaptionCell->Body, depth + 1);
    }

    void CellObj(const TCellObj& c, int depth) {
        Indent(depth);
        if (c.SpanCols == 0) {
            out_ += "cell placeholder\n";
            return;
        }
        out_ += "cell";
        if (c.SpanCols != 1 || c.SpanRows != 1) {
            out_ += " span=" + std::to_string(c.SpanCols) + 'x' + std::to_string(c.SpanRows);
        }
        if (c.WidthValue > 0) out_ += " width=" + Length(c.WidthValue, c.WidthIsPercent);
        if (c.HeightValue > 0) out_ += " height=" + std::to_string(c.HeightValue);
        if (c.VertAlign != AlignmentType::Middle) {
            out_ += std::string(" valign=") + VAlignName(c.VertAlign);
        }
        if (c.Body.BkGnd) out_ += " bgcolor=" + Hex(c.Body.BkColor);
        out_ += '\n';
        Cell(c.Body, depth + 1);
    }

    void Control(TFormControlObj& c, int depth) {
        Indent(depth);
        out_ += c.KindName();
        out_ += " name=" + Quoted(c.Name);
        if (auto* edit = dynamic_cast<TEditFormControlObj*>(&c)) {
            out_ += " value=" + Quoted(edit->Value) + " size=" + std::to_string(edit->SizeChars());
            if (edit->MaxLength() > 0) out_ += " maxlength=" + std::to_string(edit->MaxLength());
        } else if (auto* button = dynamic_cast<TButtonFormControlObj*>(&c)) {
            out_ += " caption=" + Quoted(button->Caption());
        } else if (auto* check = dynamic_cast<TCheckBoxFormControlObj*>(&c)) {
            out_ += " value=" + Quoted(check->Value);
            if (check->InitiallyChecked()) out_ += " checked";
        } else if (auto* radio = dynamic_cast<TRadioButtonFormControlObj*>(&c)) {
            out_ += " value=" + Quoted(radio->Value);
            if (radio->InitiallyChecked()) out_ += " checked";
        } else if (auto* select = dynamic_cast<TSelectFormControlObj*>(&c)) {
            if (auto* list = dynamic_cast<TListBoxFormControlObj*>(&c)) {
                if (list->Multiple()) out_ += " multiple";
                if (list->SizeRows() > 0) out_ += " size=" + std::to_string(list->SizeRows());
            }
            out_ += '\n';
            for (const auto& o : select->Options()) {
                Indent(depth + 1);
                out_ += "option " + Quoted(o.Text);
                if (!o.Value.empty()) out_ += " value=" + Quoted(o.Value);
                if (o.InitiallySelected) out_ += " selected";
                out_ += '\n';
            }
            return;
        } else if (auto* area = dynamic_cast<TTextAreaFormControlObj*>(&c)) {
            out_ +=
                " rows=" + std::to_string(area->Rows()) + " cols=" + std::to_string(area->Cols());
            out_ += '\n';
            for (const auto& line : area->InitialLines()) {
                Indent(depth + 1);
                out_ += "line " + Quoted(line) + '\n';
            }
            return;
        } else if (auto* image = dynamic_cast<TImageFormControlObj*>(&c)) {
            if (image->MyImage) out_ += " src=" + Quoted(image->MyImage->SourceName);
        } else {
            out_ += " value=" + Quoted(c.Value);
        }
        out_ += '\n';
    }

    const TSectionList* doc_;
    std::string out_;
};

}  // namespace

std::string DumpSections(const TCell& cell) {
    Dumper d(cell.Document);
    d.Cell(cell, 0);
    return d.Take();
}

std::string DumpDocument(const TSectionList& doc) {
    Dumper d(&doc);
    d.Header(doc);
    d.Cell(doc, 0);
    d.Forms(doc);
    d.Maps(doc);
    return d.Take();
}

}  // namespace quillon
