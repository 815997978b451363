#include "html/parse/html_vocabulary.h"

#include <array>

#include "html/parse/name_table.h"

namespace quillon {

namespace {

using S = Symb;

using TagTable = NameTable<TagSymbols, 256>;
using AttributeTable = NameTable<Symb, 128>;
using NewerTagTable = NameTable<TagSymbols, 32>;
using NewerAttributeTable = NameTable<Symb, 8>;

// Tags with an end-tag symbol first, then those without one.
constexpr std::array<TagTable::Entry, 65> kTags = {{
    {"HTML", {S::HtmlSy, S::HtmlEndSy}},
    {"TITLE", {S::TitleSy, S::TitleEndSy}},
    {"BODY", {S::BodySy, S::BodyEndSy}},
    {"HEAD", {S::HeadSy, S::HeadEndSy}},
    {"B", {S::BSy, S::BEndSy}},
    {"I", {S::ISy, S::IEndSy}},
    {"H", {S::HeadingSy, S::HeadingEndSy}},
    {"EM", {S::EmSy, S::EmEndSy}},
    {"STRONG", {S::StrongSy, S::StrongEndSy}},
    {"U", {S::USy, S::UEndSy}},
    {"CITE", {S::CiteSy, S::CiteEndSy}},
    {"VAR", {S::VarSy, S::VarEndSy}},
    {"TT", {S::TTSy, S::TTEndSy}},
    {"CODE", {S::CodeSy, S::CodeEndSy}},
    {"KBD", {S::KbdSy, S::KbdEndSy}},
    {"SAMP", {S::SampSy, S::SampEndSy}},
    {"OL", {S::OLSy, S::OLEndSy}},
    {"UL", {S::ULSy, S::ULEndSy}},
    {"DIR", {S::DirSy, S::DirEndSy}},
    {"MENU", {S::MenuSy, S::MenuEndSy}},
    {"DL", {S::DLSy, S::DLEndSy}},
    {"A", {S::ASy, S::AEndSy}},
    {"ADDRESS", {S::AddressSy, S::AddressEndSy}},
    {"BLOCKQUOTE", {S::BlockQuoteSy, S::BlockQuoteEndSy}},
    {"PRE", {S::PreSy, S::PreEndSy}},
    {"CENTER", {S::Centersy, S::CenterEndSy}},
    {"TABLE", {S::TableSy, S::TableEndSy}},
    {"TD", {S::TDSy, S::TDEndSy}},
    {"TH", {S::THSy, S::THEndSy}},
    {"THEAD", {S::THeadSy, S::THeadEndSy}},
    {"TBODY", {S::TBodySy, S::TBodyEndSy}},
    {"TFOOT", {S::TFootSy, S::TFootEndSy}},
    {"CAPTION", {S::CaptionSy, S::CaptionEndSy}},
    {"FORM", {S::FormSy, S::FormEndSy}},
    {"TEXTAREA", {S::TextAreaSy, S::TextAreaEndSy}},
    {"SELECT", {S::SelectSy, S::SelectEndSy}},
    {"OPTION", {S::OptionSy, S::OptionEndSy}},
    {"FONT", {S::FontSy, S::FontEndSy}},
    {"SUB", {S::SubSy, S::SubEndSy}},
    {"SUP", {S::SupSy, S::SupEndSy}},
    {"BIG", {S::BigSy, S::BigEndSy}},
    {"SMALL", {S::SmallSy, S::SmallEndSy}},
    {"P", {S::PSy, S::PEndSy}},
    {"MAP", {S::MapSy, S::MapEndSy}},
    {"FRAMESET", {S::FrameSetSy, S::FrameSetEndSy}},
    {"NOFRAMES", {S::NoFramesSy, S::NoFramesEndSy}},
    {"SCRIPT", {S::ScriptSy, S::ScriptEndSy}},
    {"DIV", {S::DivSy, S::DivEndSy}},
    {"S", {S::SSy, S::SEndSy}},
    {"STRIKE", {S::StrikeSy, S::StrikeEndSy}},
    {"TR", {S::TRSy, S::TREndSy}},
    {"LI", {S::LISy, S::OtherSy}},
    {"BR", {S::BRSy, S::OtherSy}},
    {"HR", {S::HRSy, S::OtherSy}},
    {"DD", {S::DDSy, S::OtherSy}},
    {"DT", {S::DTSy, S::OtherSy}},
    {"IMG", {S::ImageSy, S::OtherSy}},
    {"BASE", {S::BaseSy, S::OtherSy}},
    {"BUTTON", {S::ButtonSy, S::OtherSy}},
    {"INPUT", {S::InputSy, S::OtherSy}},
    {"SELECTED", {S::SelectedSy, S::OtherSy}},
    {"BASEFONT", {S::BaseFontSy, S::OtherSy}},
    {"AREA", {S::AreaSy, S::OtherSy}},
    {"FRAME", {S::FrameSy, S::OtherSy}},
    {"PAGE", {S::PageSy, S::OtherSy}},
}};

// VALUE appears once: the table has always held it twice and the second was never reached.
constexpr std::array<AttributeTable::Entry, 50> kAttributes = {{
    {"HREF", S::HrefSy},
    {"NAME", S::NameSy},
    {"SRC", S::SrcSy},
    {"ALT", S::AltSy},
    {"ALIGN", S::AlignSy},
    {"TEXT", S::TextSy},
    {"BGCOLOR", S::BGColorSy},
    {"LINK", S::LinkSy},
    {"BACKGROUND", S::BackgroundSy},
    {"COLSPAN", S::ColSpanSy},
    {"ROWSPAN", S::RowSpanSy},
    {"BORDER", S::BorderSy},
    {"CELLPADDING", S::CellPaddingSy},
    {"CELLSPACING", S::CellSpacingSy},
    {"VALIGN", S::VAlignSy},
    {"WIDTH", S::WidthSy},
    {"START", S::StartSy},
    {"VALUE", S::ValueSy},
    {"TYPE", S::TypeSy},
    {"CHECKBOX", S::CheckBoxSy},
    {"RADIO", S::RadioSy},
    {"METHOD", S::MethodSy},
    {"ACTION", S::ActionSy},
    {"CHECKED", S::CheckedSy},
    {"SIZE", S::SizeSy},
    {"MAXLENGTH", S::MaxLengthSy},
    {"COLS", S::ColsSy},
    {"ROWS", S::RowsSy},
    {"MULTIPLE", S::MultipleSy},
    {"SELECTED", S::SelectedSy},
    {"FACE", S::FaceSy},
    {"COLOR", S::ColorSy},
    {"TRANSP", S::TranspSy},
    {"CLEAR", S::ClearSy},
    {"ISMAP", S::IsMapSy},
    {"BORDERCOLOR", S::BorderColorSy},
    {"USEMAP", S::UseMapSy},
    {"SHAPE", S::ShapeSy},
    {"COORDS", S::CoordsSy},
    {"NOHREF", S::NoHrefSy},
    {"HEIGHT", S::HeightSy},
    {"PLAIN", S::PlainSy},
    {"TARGET", S::TargetSy},
    {"NORESIZE", S::NoResizeSy},
    {"SCROLLING", S::ScrollingSy},
    {"HSPACE", S::HSpaceSy},
    {"LANGUAGE", S::LanguageSy},
    {"FRAMEBORDER", S::FrameBorderSy},
    {"MARGINWIDTH", S::MarginWidthSy},
    {"MARGINHEIGHT", S::MarginHeightSy},
}};

// Tags and attributes of the newer HTML, looked up only when the older ones miss, so that a
// document in the older HTML is read exactly as fast as before.
constexpr std::array<NewerTagTable::Entry, 15> kNewerTags = {{
    {"STYLE", {S::StyleSy, S::StyleEndSy}},
    {"TEMPLATE", {S::TemplateSy, S::TemplateEndSy}},
    {"COLGROUP", {S::ColGroupSy, S::ColGroupEndSy}},
    // Newer names for blocks and styles the vocabulary has: sections of a page read as DIV,
    // a deletion as S and an insertion as U.
    {"SECTION", {S::DivSy, S::DivEndSy}},
    {"ARTICLE", {S::DivSy, S::DivEndSy}},
    {"HEADER", {S::DivSy, S::DivEndSy}},
    {"FOOTER", {S::DivSy, S::DivEndSy}},
    {"NAV", {S::DivSy, S::DivEndSy}},
    {"ASIDE", {S::DivSy, S::DivEndSy}},
    {"MAIN", {S::DivSy, S::DivEndSy}},
    {"FIGURE", {S::DivSy, S::DivEndSy}},
    {"FIGCAPTION", {S::DivSy, S::DivEndSy}},
    {"DEL", {S::SSy, S::SEndSy}},
    {"INS", {S::USy, S::UEndSy}},
    {"COL", {S::ColSy, S::OtherSy}},
}};
constexpr std::array<NewerAttributeTable::Entry, 4> kNewerAttributes = {{
    {"SPAN", S::SpanSy},
    {"CLASS", S::ClassSy},
    {"ID", S::IdSy},
    {"STYLE", S::StyleSy},
}};

constexpr TagTable kTagTable(kTags);
constexpr NewerTagTable kNewerTagTable(kNewerTags);
constexpr AttributeTable kAttributeTable(kAttributes);
constexpr NewerAttributeTable kNewerAttributeTable(kNewerAttributes);

}  // namespace

std::optional<TagSymbols> LookupTag(std::string_view upper_name) {
    if (const TagSymbols* t = kTagTable.Find(upper_name)) return *t;
    if (const TagSymbols* t = kNewerTagTable.Find(upper_name)) return *t;
    return std::nullopt;
}

Symb LookupAttribute(std::string_view upper_name) {
    if (const Symb* s = kAttributeTable.Find(upper_name)) return *s;
    const Symb* s = kNewerAttributeTable.Find(upper_name);
    return s ? *s : S::OtherAttribute;
}

}  // namespace quillon
