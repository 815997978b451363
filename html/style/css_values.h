#pragma once
// Reading property values: a declaration's tokens as component values (white space dropped,
// a function with its arguments as one), keywords, and lengths with their units.

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "html/style/computed_style.h"
#include "html/style/css_token.h"

namespace quillon::css {

// One component value: a token, or a function (token is the Function token) with the
// tokens between its parentheses.
struct Component {
    const Token* token = nullptr;
    std::span<const Token> args;  // functions only: the arguments, white space included

    TokenType type() const { return token->type; }
    bool Is(TokenType t) const { return token->type == t; }
    bool IsDelim(char c) const { return token->IsDelim(c); }
    // An identifier (or, with IsFunction, a function name) equal to `lower` ignoring case.
    bool IsIdent(std::string_view lower) const;
    bool IsFunction(std::string_view lower) const;
};

// The component values of `tokens`, white space and Eof left out. Commas and delimiters
// such as '/' are components of their own.
std::vector<Component> SplitComponents(std::span<const Token> tokens);

// Whether `s` equals `lower` (lower case ASCII) ignoring ASCII case.
bool EqualsIgnoreCase(std::string_view s, std::string_view lower);

template <typename E>
struct Keyword {
    std::string_view name;  // lower case
    E value;
};

// The value of the identifier `c` in `table`, if it is one.
template <typename E, std::size_t N>
std::optional<E> MatchKeyword(const Component& c, const Keyword<E> (&table)[N]) {
    if (!c.Is(TokenType::Ident)) return std::nullopt;
    for (const Keyword<E>& k : table) {
        if (EqualsIgnoreCase(c.token->value, k.name)) return k.value;
    }
    return std::nullopt;
}

enum class LengthUnit : std::uint8_t { Px, Pt, Pc, Mm, Cm, Q, In, Em, Rem, Ex, Percent };

// A length as written, before relative units are resolved.
struct SpecifiedLength {
    double value = 0;
    LengthUnit unit = LengthUnit::Px;
};

struct LengthRules {
    bool percent = true;   // percentages are taken
    bool negative = true;  // values below zero are taken
};

// A dimension with a length unit, a percentage (when allowed) or the number 0.
std::optional<SpecifiedLength> ParseLength(const Component& c, LengthRules rules = {});

// What relative units resolve against.
struct FontBase {
    double em = 16;   // the font size, pixels
    double rem = 16;  // the root element's font size, pixels
};

// Pixels for every unit but Percent (which gives its number as is).
double ToPixels(SpecifiedLength length, FontBase base);

// A Length: pixels, or a percentage kept for the layout.
Length Resolve(SpecifiedLength length, FontBase base);

}  // namespace quillon::css
