#include "html/parse/html_vocabulary.h"

#include <array>
#include <string>
#include <unordered_map>

namespace quillon {

namespace {

using S = Symb;

struct TagEntry {
    std::string_view name;
    TagSymbols symbols;
};

// Tags with an end-tag symbol first, then those without one.
constexpr std::array<TagEntry, 62> kTags = {{
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

struct AttrEntry {
    std::string_view name;
    Symb sym;
};

// VALUE appears once: the table has always held it twice and the second was never reached.
constexpr std::array<AttrEntry, 50> kAttributes = {{
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

// Entity names for the characters 160 to 255; the slots of 215 and 247 stay unnamed
// (the times and division signs are reached only by numeric references).
constexpr std::array<std::string_view, 96> kLatin1Entities = {
    "nbsp",   "iexcl",  "cent",   "pound",  "curren", "yen",    "brvbar", "sect",   "uml",
    "copy",   "ordf",   "laquo",  "not",    "shy",    "reg",    "macr",   "deg",    "plusmn",
    "sup2",   "sup3",   "acute",  "micro",  "para",   "middot", "cedil",  "sup1",   "ordm",
    "raquo",  "frac14", "frac12", "frac34", "iquest", "Agrave", "Aacute", "Acirc",  "Atilde",
    "Auml",   "Aring",  "AElig",  "Ccedil", "Egrave", "Eacute", "Ecirc",  "Euml",   "Igrave",
    "Iacute", "Icirc",  "Iuml",   "ETH",    "Ntilde", "Ograve", "Oacute", "Ocirc",  "Otilde",
    "Ouml",   "",       "Oslash", "Ugrave", "Uacute", "Ucirc",  "Uuml",   "Yacute", "THORN",
    "szlig",  "agrave", "aacute", "acirc",  "atilde", "auml",   "aring",  "aelig",  "ccedil",
    "egrave", "eacute", "ecirc",  "euml",   "igrave", "iacute", "icirc",  "iuml",   "eth",
    "ntilde", "ograve", "oacute", "ocirc",  "otilde", "ouml",   "",       "oslash", "ugrave",
    "uacute", "ucirc",  "uuml",   "yacute", "thorn",  "yuml",
};

template <class V>
using NameMap = std::unordered_map<std::string_view, V>;

const NameMap<TagSymbols>& TagMap() {
    static const NameMap<TagSymbols> map = [] {
        NameMap<TagSymbols> m;
        for (const auto& e : kTags) m.emplace(e.name, e.symbols);
        return m;
    }();
    return map;
}

const NameMap<Symb>& AttributeMap() {
    static const NameMap<Symb> map = [] {
        NameMap<Symb> m;
        for (const auto& e : kAttributes) m.emplace(e.name, e.sym);
        return m;
    }();
    return map;
}

const NameMap<char32_t>& EntityMap() {
    static const NameMap<char32_t> map = [] {
        NameMap<char32_t> m{{"amp", U'&'}, {"lt", U'<'}, {"gt", U'>'}, {"quot", U'"'}};
        for (std::size_t i = 0; i < kLatin1Entities.size(); ++i) {
            if (!kLatin1Entities[i].empty()) {
                m.emplace(kLatin1Entities[i], static_cast<char32_t>(160 + i));
            }
        }
        return m;
    }();
    return map;
}

constexpr SymbSet kCollecting = {
    S::BodySy,     S::PSy,      S::BRSy,       S::HeadingSy,   S::HRSy,     S::BaseSy,
    S::OLSy,       S::ULSy,     S::ImageSy,    S::ASy,         S::TableSy,  S::TDSy,
    S::TRSy,       S::THSy,     S::CaptionSy,  S::InputSy,     S::FormSy,   S::TextAreaSy,
    S::SelectSy,   S::OptionSy, S::FontSy,     S::BaseFontSy,  S::MapSy,    S::AreaSy,
    S::FrameSetSy, S::FrameSy,  S::NoResizeSy, S::ScrollingSy, S::ScriptSy, S::DivSy,
};

}  // namespace

std::optional<TagSymbols> LookupTag(std::string_view upper_name) {
    const auto& m = TagMap();
    if (auto it = m.find(upper_name); it != m.end()) return it->second;
    return std::nullopt;
}

Symb LookupAttribute(std::string_view upper_name) {
    const auto& m = AttributeMap();
    auto it = m.find(upper_name);
    return it != m.end() ? it->second : S::OtherAttribute;
}

std::optional<char32_t> LookupEntity(std::string_view name) {
    const auto& m = EntityMap();
    if (auto it = m.find(name); it != m.end()) return it->second;
    return std::nullopt;
}

bool CollectsAttributes(Symb s) {
    return kCollecting.Contains(s);
}

}  // namespace quillon
