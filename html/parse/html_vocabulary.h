#pragma once
// The fixed vocabulary of the tokenizer: tag names, attribute names and entity names.

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

// The character of an entity name (case-sensitive), or nothing.
std::optional<char32_t> LookupEntity(std::string_view name);

// The start symbols whose attributes are kept.
bool CollectsAttributes(Symb s);

}  // namespace quillon
