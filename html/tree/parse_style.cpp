// What the document's style changes in the parse: fonts and colours of text, alignment,
// hidden elements, page breaks, boxes around blocks, and the look of tables and cells. All
// of it happens only once the document has shown style (see HtmlTokenizer::StyleHint).

#include <cmath>

#include "html/layout/cell.h"
#include "html/layout/html_table.h"
#include "html/layout/section_list.h"
#include "html/layout/spacer_sections.h"
#include "html/tree/html_parser_state.h"
#include "html/tree/style_layout.h"
#include "html/tree/style_tracker.h"
#include "platform/core/text_case.h"
#include "platform/core/text_encoding.h"

namespace quillon {

namespace {

using css::Property;

// Elements whose routine starts a new section: their font takes effect there, not as a
// change inside the text before them.
bool StartsSection(std::string_view tag) {
    static constexpr std::string_view kBlocks[] = {
        "html",    "body",       "p",     "div",    "section",    "article", "header", "footer",
        "nav",     "aside",      "main",  "figure", "figcaption", "h1",      "h2",     "h3",
        "h4",      "h5",         "h6",    "li",     "dt",         "dd",      "td",     "th",
        "caption", "blockquote", "ul",    "ol",     "dl",         "dir",     "menu",   "pre",
        "address", "center",     "table", "tr",     "thead",      "tbody",   "tfoot"};
    for (std::string_view b : kBlocks) {
        if (b == tag) return true;
    }
    return false;
}

bool IsHeading(std::string_view tag) {
    return tag.size() == 2 && tag[0] == 'h' && tag[1] >= '1' && tag[1] <= '6';
}

bool IsBlockDisplay(css::Display d) {
    return d == css::Display::Block || d == css::Display::ListItem || d == css::Display::Table;
}

bool IsTableTag(std::string_view tag) {
    return tag == "table" || tag == "tr" || tag == "td" || tag == "th" || tag == "thead" ||
           tag == "tbody" || tag == "tfoot" || tag == "caption" || tag == "colgroup" ||
           tag == "col";
}

// Where the parser keeps no element of its own: these never open in the tree.
bool IsHeadOnly(std::string_view tag) {
    return tag == "head" || tag == "title" || tag == "meta" || tag == "style" || tag == "script" ||
           tag == "template" || tag == "base" || tag == "link";
}

std::optional<Color> Opaque(const std::optional<css::Rgba>& c) {
    if (!c || c->alpha == 0) return std::nullopt;
    if (c->alpha == 255) return c->rgb;
    // Blended over white, the paper every report is printed on.
    const auto blend = [&](int shift) {
        const int v = static_cast<int>((c->rgb >> shift) & 0xFF);
        return static_cast<Color>((v * c->alpha + 255 * (255 - c->alpha) + 127) / 255) << shift;
    };
    return blend(16) | blend(8) | blend(0);
}

BorderLineStyle LineOf(css::LineStyle s) {
    switch (s) {
        case css::LineStyle::Solid:
        case css::LineStyle::Other:
            return BorderLineStyle::Solid;
        case css::LineStyle::Dashed:
            return BorderLineStyle::Dashed;
        case css::LineStyle::Dotted:
            return BorderLineStyle::Dotted;
        case css::LineStyle::Double:
            return BorderLineStyle::Double;
        default:
            return BorderLineStyle::None;
    }
}

int Px(double v) {
    return v <= 0 ? 0 : static_cast<int>(std::lround(v));
}

// The decoration a computed style gives a box; empty when it has none.
BoxStyle BoxOf(const css::ComputedStyle& s) {
    BoxStyle box;
    for (int side = 0; side < 4; ++side) {
        const css::BorderSideStyle& b = s.border[static_cast<std::size_t>(side)];
        BorderEdge& edge = box.Border[static_cast<std::size_t>(side)];
        edge.Style = LineOf(b.style);
        edge.Width = edge.Style == BorderLineStyle::None ? 0 : std::max(1, Px(b.width));
        edge.Colour = Opaque(b.color ? b.color : std::optional(s.color)).value_or(s.color.rgb);
        const css::Length& padding = s.padding[static_cast<std::size_t>(side)];
        if (padding.kind == css::Length::Kind::Percent) {
            box.PaddingPercent[static_cast<std::size_t>(side)] = padding.value;
        } else {
            box.Padding[static_cast<std::size_t>(side)] = Px(padding.value);
        }
        const css::Length& margin = s.margin[static_cast<std::size_t>(side)];
        if (margin.kind == css::Length::Kind::Px) {
            box.Margin[static_cast<std::size_t>(side)] = Px(margin.value);
        } else if (margin.kind == css::Length::Kind::Percent) {
            box.MarginPercent[static_cast<std::size_t>(side)] = margin.value;
        }
    }
    if (s.Has(Property::BackgroundColor)) box.Background = Opaque(s.background_color);
    box.Hidden = !s.visible;
    return box;
}

// A margin of a percentage of the room: the block needs a box for layout to resolve it.
bool HasPercentMargin(const css::ComputedStyle& s) {
    for (const css::Length& m : s.margin) {
        if (m.kind == css::Length::Kind::Percent) return true;
    }
    return false;
}

bool HasBoxProperties(const css::ComputedStyle& s) {
    for (Property p : {Property::BackgroundColor, Property::PaddingTop, Property::PaddingRight,
                       Property::PaddingBottom, Property::PaddingLeft, Property::BorderTop,
                       Property::BorderRight, Property::BorderBottom, Property::BorderLeft}) {
        if (s.Has(p)) return true;
    }
    return false;
}

}  // namespace

bool HtmlParser::IsBlockElement(const StyledElement& e) {
    return StartsSection(e.tag) || IsBlockDisplay(e.Style().display) ||
           e.Style().display == css::Display::InlineBlock;
}

bool HtmlParser::ReadsAsInlineBlock(std::string_view tag, const css::ComputedStyle& s) const {
    if (s.display != css::Display::InlineBlock || !cell_ || StyleTracker::IsVoid(tag) ||
        open_inline_.size() >= kMaxInlineBlocks) {
        return false;
    }
    // Of the tags whose routine starts lines, only DIV and its newer names (read as DIV).
    static constexpr std::string_view kDivs[] = {"div",    "section",   "article", "header",
                                                 "footer", "nav",       "aside",   "main",
                                                 "figure", "figcaption"};
    if (!StartsSection(tag)) return true;
    for (std::string_view d : kDivs) {
        if (d == tag) return true;
    }
    return false;
}

// Symbols ---------------------------------------------------------------------------------

void HtmlParser::StyledSymbol() {
    if (!styles_) {
        styles_ = std::make_unique<StyleTracker>(base_dir_, medium_);
        tok_.KeepAttributeNames(true);
    }
    ReadNewSheets();
    Tracked tracked = TrackTag();
    while (tracked != Tracked::Nothing) {
        if (tracked == Tracked::HiddenVoid) {
            tok_.NextSymbol();
            ReadNewSheets();
            tracked = TrackTag();
            continue;
        }
        const StyledElement* hidden = styles_->Current();
        if (hidden->Style().display != css::Display::None || hidden->tag == "html" ||
            hidden->tag == "body") {
            return;
        }
        tracked = SkipHidden(*hidden);
    }
}

// Reads the text the STYLE elements added since the last call; the text of an element with
// a MEDIA list is a sheet of its own, read when the list applies.
void HtmlParser::ReadNewSheets() {
    const std::u32string& sheet = tok_.StyleSheet();
    const auto& media = tok_.StyleSheetMedia();
    while (sheet_read_ < sheet.size()) {
        while (media_read_ < media.size() && media[media_read_].end <= sheet_read_) {
            ++media_read_;
        }
        std::size_t end = sheet.size();
        std::string_view list;
        if (media_read_ < media.size()) {
            const auto& part = media[media_read_];
            if (part.begin > sheet_read_) {
                end = part.begin;
            } else {
                end = part.end;
                list = part.media;
            }
        }
        const std::u32string_view text =
            std::u32string_view(sheet).substr(sheet_read_, end - sheet_read_);
        styles_->AddSheet(text::ToUtf8(text), list);
        sheet_read_ = end;
    }
}

// Reads symbols (feeding them to the tree) until the hidden element has closed. Its own end
// tag is passed over; a tag that closed it otherwise is the next symbol the parser sees.
HtmlParser::Tracked HtmlParser::SkipHidden(const StyledElement& hidden) {
    const std::size_t depth = styles_->Depth();
    const std::string tag = hidden.tag;
    while (true) {
        tok_.NextSymbol();
        ReadNewSheets();
        if (Sy() == Symb::EofSy) return Tracked::Nothing;
        const bool end_tag = tok_.EndTag() && !tok_.TagName().empty();
        const Tracked tracked = TrackTag();
        if (styles_->Depth() >= depth && &styles_->At(depth - 1) == &hidden) continue;
        if (end_tag && styles_->Depth() == depth - 1 && css::AsciiLower(tok_.TagName()) == tag) {
            tok_.NextSymbol();
            ReadNewSheets();
            return TrackTag();
        }
        return tracked;
    }
}

// Feeds the current symbol, when it is a tag, to the element tree.
HtmlParser::Tracked HtmlParser::TrackTag() {
    const std::string_view name = tok_.TagName();
    if (name.empty()) return Tracked::Nothing;
    const std::string tag = css::AsciiLower(name);
    if (tok_.EndTag()) {
        for (std::size_t n = styles_->ClosedByEnd(tag); n > 0; --n) CloseStyled();
        return Tracked::Nothing;
    }
    if (tag == "link") {
        styles_->AddLink(Attrs());
        return Tracked::Nothing;
    }
    if (IsHeadOnly(tag)) return Tracked::Nothing;
    if (styles_->Depth() == 0 && tag != "html") OpenStyled("html");
    if (styles_->Depth() == 1 && tag != "body" && tag != "html") OpenStyled("body");
    for (std::size_t n = styles_->ClosedBy(tag); n > 0; --n) CloseStyled();
    // The row groups and rows a browser puts in where the document leaves them out.
    const StyledElement* top = styles_->Current();
    const bool cell = tag == "td" || tag == "th";
    if ((tag == "tr" || cell) && top && top->tag == "table") {
        OpenStyled("tbody");
        top = styles_->Current();
    }
    if (cell && top && top->tag != "tr") OpenStyled("tr");
    // So is the column group around a COL outside COLGROUP.
    if (tag == "col" && top && top->tag == "table") OpenStyled("colgroup");
    OpenStyled(tag, &Attrs());
    if (StyleTracker::IsVoid(tag)) {
        const bool hidden = styles_->Current()->Style().display == css::Display::None;
        CloseStyled();
        return hidden ? Tracked::HiddenVoid : Tracked::Nothing;
    }
    return Tracked::Opened;
}

void HtmlParser::OpenStyled(std::string_view tag, const TAttributeList* attrs) {
    static const TAttributeList kNone;
    const bool section_tag = StartsSection(tag);
    const auto before = section_tag ? std::nullopt : std::optional(CurrentLook());
    const double px = EffectiveFont().Size * 4.0 / 3.0;
    StyledElement& e = styles_->Open(tag, attrs ? *attrs : kNone, px);
    e.font_depth = fonts_.size();
    const css::ComputedStyle& s = e.Style();
    if (ReadsAsInlineBlock(tag, s)) {
        BoxStyle box = BoxOf(s);
        box.Picture = PictureOf(s);
        OpenInlineBlock(s, box);
        if (before) ChangeFontIfLookChanged(*before);
        KeepSpacesAsStyled();
        return;
    }
    // An inline element the style makes a block starts a line of its own.
    const bool made_block = !section_tag && IsBlockDisplay(s.display);
    if (made_block && cell_) AddSection();
    const bool block = section_tag || made_block;
    if ((tag == "body" || tag == "html") && s.Has(Property::BackgroundColor)) {
        if (auto c = Opaque(s.background_color)) doc_.SetBackground(*c);
    }
    if (tag == "body" && s.Has(Property::BackgroundImage) && !s.background_image.empty()) {
        doc_.SetBackgroundBitmap(s.background_image);
    }
    if (block && s.break_before == css::BreakValue::Page) AddPageBreak();
    if (block && tag != "p" && !IsHeading(tag)) pending_margin_.reset();
    if (cell_ && (block || tag == "img")) ClearFloats(tag, s);
    if (block && !IsTableTag(tag) && tag != "body" && tag != "html" &&
        (HasBoxProperties(s) || HasSizeProperties(s) || s.Has(Property::BackgroundImage) ||
         HasPercentMargin(s)) &&
        cell_) {
        BoxStyle box = BoxOf(s);
        box.Size = SizingOf(s);
        box.Picture = PictureOf(s);
        if (box.Background || box.HasBorder() || box.Padding != std::array<int, 4>{} ||
            box.Size != BoxSizing{} || box.Picture || box.HasPercentages()) {
            AddSection();
            open_boxes_.push_back(
                {std::make_shared<const BoxStyle>(box), cell_, cell_->Count(), styles_->Depth()});
        }
    }
    if (before && !made_block) ChangeFontIfLookChanged(*before);
    KeepSpacesAsStyled();
}

void HtmlParser::CloseStyled() {
    const StyledElement* e = styles_->Current();
    if (!e) return;
    if (InInlineBlockElement()) {
        // The section after the block goes on in the look it had before it.
        CloseInlineBlock();
        styles_->Close();
        KeepSpacesAsStyled();
        return;
    }
    const std::string tag = e->tag;
    const bool page_after = e->Style().break_after == css::BreakValue::Page;
    const css::Length& bottom = e->Style().margin[kBoxBottom];
    const bool section_tag = StartsSection(tag);
    const bool made_block = !section_tag && IsBlockDisplay(e->Style().display);
    const bool block = section_tag || made_block;
    if (block) {
        pending_margin_.reset();
        if (e->Style().Has(Property::MarginBottom) && bottom.kind == css::Length::Kind::Px) {
            pending_margin_ = Px(bottom.value);
        } else if (bottom.kind == css::Length::Kind::Percent) {
            pending_margin_ = 0;  // the block's box has it
        }
    }
    const auto before = block ? std::nullopt : std::optional(CurrentLook());
    if (!open_boxes_.empty() && open_boxes_.back().depth == styles_->Depth()) {
        if (cell_) AddSection();
        CloseBox(open_boxes_.back());
        open_boxes_.pop_back();
    }
    styles_->Close();
    if (made_block && cell_) AddSection();
    if (block && page_after) AddPageBreak();
    if (before) ChangeFontIfLookChanged(*before);
    KeepSpacesAsStyled();
}

HtmlParser::TextLook HtmlParser::CurrentLook() {
    return {EffectiveFont(), EffectiveStyle()};
}

// An inline element that opened or closed inside a line changes the font from there on
// when the look of the text changed with it.
void HtmlParser::ChangeFontIfLookChanged(const TextLook& before) {
    const TextStyleState style = EffectiveStyle();
    if (!(EffectiveFont() == before.font) || style.styles != before.style.styles ||
        style.sub_super != before.style.sub_super) {
        ChangeFont();
    }
}

void HtmlParser::CloseAllStyled() {
    if (!styles_) return;
    while (styles_->Depth() > 0) CloseStyled();
}

// A forced page break at the current place of the document (not inside a table).
void HtmlParser::AddPageBreak() {
    if (cell_ != &doc_) return;
    AddSection();
    cell_->Add(std::make_unique<TPage>(doc_));
}

// Every section added to the box's cell since it opened joins the box, but for the spacing
// before its first content.
void HtmlParser::CloseBox(const OpenBox& box) {
    TCell& cell = *box.cell;
    int first = box.first;
    while (first < cell.Count()) {
        const TSectionBase& s = cell[first];
        if (!dynamic_cast<const TParagraphSpace*>(&s) && !dynamic_cast<const THeadingSpace*>(&s))
            break;
        ++first;
    }
    for (int i = first; i < cell.Count(); ++i) {
        TSectionBase& section = cell[i];
        std::vector<BoxMembership> boxes{{box.style, i == first, i == cell.Count() - 1}};
        if (const SectionBoxes* inner = section.Boxes()) {
            boxes.insert(boxes.end(), inner->List().begin(), inner->List().end());
        }
        section.SetBoxes(std::move(boxes));
    }
}

// Fonts -----------------------------------------------------------------------------------

namespace {

// What `pushed` changed of the font below it, done to `f`.
void ApplyPush(TMyFont& f, const TMyFont& below, const TMyFont& pushed) {
    if (pushed.Name != below.Name || pushed.FixedPitch != below.FixedPitch) {
        f.Name = pushed.Name;
        f.FixedPitch = pushed.FixedPitch;
    }
    if (pushed.NominalSize != below.NominalSize || pushed.Size != below.Size) {
        f.NominalSize = pushed.NominalSize;
        f.Size = pushed.Size;
    }
    if (pushed.FontColor != below.FontColor) f.FontColor = pushed.FontColor;
    const TFontStyles changed = pushed.Style ^ below.Style;
    f.Style = (f.Style & ~changed) | (pushed.Style & changed);
    f.CharSet = pushed.CharSet;
}

}  // namespace

// What an element's style says of its font, done to `f`.
void HtmlParser::ApplyFontStyle(TMyFont& f, const css::ComputedStyle& s) const {
    if (s.Has(Property::Color)) {
        if (auto c = Opaque(s.color)) f.FontColor = *c;
    }
    if (s.Has(Property::FontFamily) && !s.font_family.empty()) {
        // The whole list: the canvas takes its first family that it has.
        const std::string& first = s.font_family.front();
        if (first == "monospace") {
            f.Name = doc_.FixedFontName();
            f.FixedPitch = true;
        } else if (first == "serif") {
            f.Name = doc_.BaseFontName();
            f.FixedPitch = false;
        } else {
            f.Name.clear();
            for (const std::string& family : s.font_family) {
                if (!f.Name.empty()) f.Name += ", ";
                f.Name += family;
            }
            f.FixedPitch = false;
        }
    }
    if (s.Has(Property::FontSize)) {
        f.SetNormalSize(doc_, static_cast<int>(std::max(1L, std::lround(s.font_size * 0.75))));
    }
    const auto set = [&](bool on, TFontStyles bit) {
        f.Style = on ? (f.Style | bit) : (f.Style & ~bit);
    };
    if (s.Has(Property::FontWeight)) set(s.font_weight >= 600, fsBold);
    if (s.Has(Property::FontStyle)) set(s.italic, fsItalic);
    // Inherited: the innermost element decides, so a visible child of a hidden one shows.
    set(!s.visible, fsHidden);
    if (s.Has(Property::TextDecoration)) {
        set((s.decoration & css::kUnderline) != 0, fsUnderline);
        set((s.decoration & css::kLineThrough) != 0, fsStrikeOut);
    }
}

// The font stack and the open elements' styles, in the order they took effect: the fonts an
// element's own tag pushed (a heading's size) come before what its style says, the fonts
// pushed inside it after.
const TMyFont& HtmlParser::SheetFont() {
    TMyFont& f = effective_font_;
    f = fonts_[0];
    std::size_t next = 1;
    const auto push_up_to = [&](std::size_t limit) {
        for (; next < std::min(limit, fonts_.size()); ++next) {
            ApplyPush(f, fonts_[next - 1], fonts_[next]);
        }
    };
    const std::size_t depth = styles_->Depth();
    for (std::size_t i = 0; i < depth; ++i) {
        push_up_to(i + 1 < depth ? styles_->At(i + 1).font_depth : fonts_.size());
        ApplyFontStyle(f, styles_->At(i).Style());
    }
    push_up_to(fonts_.size());
    return f;
}

TextStyleState HtmlParser::SheetTextStyle() const {
    TextStyleState st = style_;
    const StyledElement* e = styles_->Current();
    if (!e) return st;
    // Raised or lowered text: the innermost element that says so.
    for (std::size_t i = styles_->Depth(); i-- > 0;) {
        const css::ComputedStyle& s = styles_->At(i).Style();
        if (!s.Has(Property::VerticalAlign) || StartsSection(styles_->At(i).tag)) continue;
        if (s.vertical_align == css::VerticalAlign::Sub) st.sub_super = SubSuperType::SubSc;
        if (s.vertical_align == css::VerticalAlign::Super) st.sub_super = SubSuperType::SupSc;
        if (s.vertical_align == css::VerticalAlign::Baseline) st.sub_super = SubSuperType::Normal;
        break;
    }
    // The element's own weight, slant and lines win over those its tag gives (TH is bold).
    const css::ComputedStyle& s = e->Style();
    if (s.Has(Property::FontWeight) && s.font_weight < 600) st.styles &= ~fsBold;
    if (s.Has(Property::FontStyle) && !s.italic) st.styles &= ~fsItalic;
    if (s.Has(Property::TextDecoration)) {
        if (!(s.decoration & css::kUnderline)) st.styles &= ~fsUnderline;
        if (!(s.decoration & css::kLineThrough)) st.styles &= ~fsStrikeOut;
    }
    return st;
}

std::optional<int> HtmlParser::MarginSpace(int dflt, bool heading) {
    const std::optional<int> bottom = std::exchange(pending_margin_, std::nullopt);
    std::optional<int> top;
    const StyledElement* e = styles_->Current();
    const bool mine = e && (heading ? IsHeading(e->tag) : e->tag == "p");
    if (mine && e->Style().Has(Property::MarginTop)) {
        const css::Length& m = e->Style().margin[kBoxTop];
        if (m.kind == css::Length::Kind::Px) top = Px(m.value);
        if (m.kind == css::Length::Kind::Percent) top = 0;  // the block's box has it
    }
    if (!top && !bottom) return std::nullopt;
    return std::max(top.value_or(mine ? dflt : 0), bottom.value_or(0));
}

void HtmlParser::ListStyleOf(Symb list, char32_t& number_style, bool& plain) const {
    const StyledElement* e = styles_->Current();
    if (!e || (e->tag != "ul" && e->tag != "ol")) return;
    // Disc is also what an element has when no style names a marker.
    switch (e->Style().list_style) {
        case css::ListStyle::None:
            if (list == Symb::ULSy) plain = true;
            break;
        case css::ListStyle::Decimal:
            number_style = U'1';
            break;
        case css::ListStyle::LowerAlpha:
            number_style = U'a';
            break;
        case css::ListStyle::UpperAlpha:
            number_style = U'A';
            break;
        case css::ListStyle::LowerRoman:
            number_style = U'i';
            break;
        case css::ListStyle::UpperRoman:
            number_style = U'I';
            break;
        default:
            break;
    }
}

// Alignment and tables --------------------------------------------------------------------

JustifyType HtmlParser::SheetAlign(const TAttributeList& attrs, JustifyType dflt) const {
    const StyledElement* e = styles_->Current();
    if (e && (e->Style().Has(Property::TextAlign) || !attrs.Find(Symb::AlignSy))) {
        if (auto j = JustifyOf(e->Style().text_align)) return *j;
    }
    return AlignAttribute(attrs, dflt);
}

void HtmlParser::SheetTable(ThtmlTable& table) const {
    const StyledElement* e = styles_->Current();
    if (!e || e->tag != "table") return;
    const css::ComputedStyle& s = e->Style();
    if (s.Has(Property::Width) && !s.width.IsAuto()) {
        table.WidthIsPercent = s.width.kind == css::Length::Kind::Percent;
        table.WidthValue = Px(s.width.value);
    }
    if (s.Has(Property::BackgroundColor)) {
        if (auto c = Opaque(s.background_color)) {
            table.HasBackColor = true;
            table.BackColor = *c;
        }
    }
    if (s.Has(Property::BorderSpacing)) table.Spacing = Px(s.border_spacing);
    if (s.border_collapse) table.CollapseBorders = true;
    table.Picture = PictureOf(s);
    SizeTable(table, s);
    // Automatic side margins place the table in its room as ALIGN does: both centre it, the
    // left one alone puts it at the right.
    if (s.margin[kBoxLeft].IsAuto()) {
        table.BlockAlign =
            s.margin[kBoxRight].IsAuto() ? JustifyType::Centered : JustifyType::Right;
    } else if (s.margin[kBoxRight].IsAuto()) {
        table.BlockAlign = JustifyType::Left;
    }
    // Margins beside the table, and percentages of the room above and below it, are a box
    // around the table's section (pixel margins above and below space it from its
    // neighbours as those of other blocks do).
    BoxStyle margins;
    for (const std::size_t side : {kBoxTop, kBoxRight, kBoxBottom, kBoxLeft}) {
        const css::Length& m = s.margin[side];
        if (m.kind == css::Length::Kind::Percent) {
            margins.MarginPercent[side] = std::max(0.0, m.value);
        } else if (m.kind == css::Length::Kind::Px && (side == kBoxLeft || side == kBoxRight)) {
            margins.Margin[side] = Px(m.value);
        }
    }
    if (margins.Margin != std::array<int, 4>{} || margins.HasPercentages()) {
        table.OwnMargins = true;
        table.SetBoxes({{std::make_shared<const BoxStyle>(margins), true, true}});
    }
    if (!s.visible) {
        // Its colour would reach the cells; their own visibility decides for them.
        table.Hidden = true;
        table.HasBackColor = false;
        table.Picture = {};
    }
}

void HtmlParser::SheetColumn(ColumnStyle& col_style, std::string_view tag) const {
    const StyledElement* e = styles_->Current();
    // A COL has opened and closed before its symbol is read: the closed child.
    if (e && tag == "col") e = e->last_child.get();
    if (!e || e->tag != tag) return;
    const css::ComputedStyle& s = e->Style();
    if (s.Has(Property::Width) && !s.width.IsAuto()) {
        col_style.Percent = s.width.kind == css::Length::Kind::Percent;
        col_style.Value = Px(s.width.value);
        col_style.BorderBox = !col_style.Percent;
    }
    if (auto c = s.Has(Property::BackgroundColor) ? Opaque(s.background_color) : std::nullopt) {
        col_style.HasBack = true;
        col_style.Back = *c;
    }
}

void HtmlParser::SheetRow(TCellList& row) const {
    const StyledElement* e = styles_->Current();
    if (!e || e->tag != "tr") return;
    const auto colour_of = [](const css::ComputedStyle& s) {
        return s.Has(Property::BackgroundColor) ? Opaque(s.background_color) : std::nullopt;
    };
    auto colour = colour_of(e->Style());
    // Under the row, its row group's colour (of THEAD, TBODY or TFOOT, or the one implied).
    const StyledElement* group = e->parent;
    if (!colour && group && group->Style().visible &&
        (group->tag == "tbody" || group->tag == "thead" || group->tag == "tfoot")) {
        colour = colour_of(group->Style());
    }
    if (auto c = colour) {
        row.BkGnd = true;
        row.BkColor = *c;
    }
    row.Picture = PictureOf(e->Style());
    // A hidden row paints nothing of its own, not under a cell that shows either.
    if (!e->Style().visible) {
        row.BkGnd = false;
        row.Picture = {};
    }
}

void HtmlParser::SheetCell(TCellObj& cell, ThtmlTable& table) const {
    const StyledElement* e = styles_->Current();
    if (!e || (e->tag != "td" && e->tag != "th")) return;
    const css::ComputedStyle& s = e->Style();
    if (s.Has(Property::Width) && !s.width.IsAuto()) {
        cell.WidthIsPercent = s.width.kind == css::Length::Kind::Percent;
        cell.WidthValue = Px(s.width.value);
    }
    if (s.Has(Property::Height) && s.height.kind == css::Length::Kind::Px) {
        cell.HeightValue = Px(s.height.value);
    }
    if (auto c = s.Has(Property::BackgroundColor) ? Opaque(s.background_color) : std::nullopt) {
        cell.Body.BkGnd = true;
        cell.Body.BkColor = *c;
    }
    // min-width and max-width bound the cell's column; a pixel width of the cell's own is
    // held within them. Browsers leave percentages of them out on cells, and so do we.
    BoxSizing size;
    if (const BoxSizing given = SizingOf(s); given.MinWidth || given.MaxWidth) {
        if (given.MinWidth && given.MinWidth->Percent < 0) size.MinWidth = given.MinWidth;
        if (given.MaxWidth && given.MaxWidth->Percent < 0) size.MaxWidth = given.MaxWidth;
        if (cell.WidthValue > 0 && !cell.WidthIsPercent) {
            if (const auto w = FixedPixels(size.MaxWidth)) {
                cell.WidthValue = std::min(cell.WidthValue, *w);
            }
            if (const auto w = FixedPixels(size.MinWidth)) {
                cell.WidthValue = std::max(cell.WidthValue, *w);
            }
        }
    }
    if (HasBoxProperties(s) || s.Has(Property::BackgroundImage) || size.Constrained()) {
        BoxStyle box = BoxOf(s);
        box.Size = size;
        box.Picture = PictureOf(s);
        // A side whose padding the style does not set keeps the table's.
        const Property pads[4] = {Property::PaddingTop, Property::PaddingRight,
                                  Property::PaddingBottom, Property::PaddingLeft};
        for (std::size_t side = 0; side < 4; ++side) {
            if (!s.Has(pads[side])) box.Padding[side] = table.Padding;
        }
        cell.SetBox(box);
        if (const CellBox* set = cell.Box(); set && set->HasPercentages()) {
            table.CellPercentages = true;
        }
    }
    if (s.Has(Property::VerticalAlign)) {
        switch (s.vertical_align) {
            case css::VerticalAlign::Top:
                cell.VertAlign = AlignmentType::Top;
                break;
            case css::VerticalAlign::Bottom:
                cell.VertAlign = AlignmentType::Bottom;
                break;
            case css::VerticalAlign::Middle:
                cell.VertAlign = AlignmentType::Middle;
                break;
            default:
                break;
        }
    }
    if (!s.visible) HideCell(cell);
}

}  // namespace quillon
