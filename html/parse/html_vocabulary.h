#pragma once
// The fixed vocabulary of the tokenizer: tag names and attribute names (the
// entity names are in html_entity_table.h).

#include <optional>
#include <string_view>

#include "html/parse/symb.h"

namespace quillon {

struct TagSymbols {
    Symb start;
    Symb end;  // OtherSy for tags that have no end-tag symbol
};

// The symbols of an upper-cased tag name, or nothing for an unknown tag.
std::optional<TagSymbols> LookupTag(std::string_view upper_name);

// The symbol of an upper-cased attribute name; OtherAttribute when unknown.
Symb LookupAttribute(std::string_view upper_name);

// The start symbols whose attributes are kept.
inline constexpr SymbSet kCollectingTags = {
    Symb::BodySy,  Symb::PSy,        Symb::BRSy,        Symb::HeadingSy, Symb::HRSy,
    Symb::BaseSy,  Symb::OLSy,       Symb::ULSy,        Symb::ImageSy,   Symb::ASy,
    Symb::TableSy, Symb::TDSy,       Symb::TRSy,        Symb::THSy,      Symb::CaptionSy,
    Symb::InputSy, Symb::FormSy,     Symb::TextAreaSy,  Symb::SelectSy,  Symb::OptionSy,
    Symb::FontSy,  Symb::BaseFontSy, Symb::MapSy,       Symb::AreaSy,    Symb::FrameSetSy,
    Symb::FrameSy, Symb::NoResizeSy, Symb::ScrollingSy, Symb::ScriptSy,  Symb::DivSy,
    Symb::ColSy,   Symb::ColGroupSy,
};
inline bool CollectsAttributes(Symb s) {
    return kCollectingTags.Contains(s);
}

}  // namespace quillon
