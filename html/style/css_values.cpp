#include "html/style/css_values.h"

namespace quillon::css {
namespace {

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr Keyword<LengthUnit> kUnits[] = {
    {"px", LengthUnit::Px},   {"em", LengthUnit::Em}, {"pt", LengthUnit::Pt},
    {"rem", LengthUnit::Rem}, {"ex", LengthUnit::Ex}, {"pc", LengthUnit::Pc},
    {"mm", LengthUnit::Mm},   {"cm", LengthUnit::Cm}, {"in", LengthUnit::In},
    {"q", LengthUnit::Q},
};

}  // namespace

bool EqualsIgnoreCase(std::string_view s, std::string_view lower) {
    if (s.size() != lower.size()) return false;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (LowerAscii(s[i]) != lower[i]) return false;
    }
    return true;
}

bool Component::IsIdent(std::string_view lower) const {
    return token->Is(TokenType::Ident) && EqualsIgnoreCase(token->value, lower);
}

bool Component::IsFunction(std::string_view lower) const {
    return token->Is(TokenType::Function) && EqualsIgnoreCase(token->value, lower);
}

std::vector<Component> SplitComponents(std::span<const Token> tokens) {
    if (!tokens.empty() && tokens.back().Is(TokenType::Eof))
        tokens = tokens.first(tokens.size() - 1);
    std::vector<Component> out;
    std::size_t i = 0;
    while (i < tokens.size()) {
        const Token& t = tokens[i];
        if (t.Is(TokenType::Whitespace)) {
            ++i;
            continue;
        }
        if (!t.Is(TokenType::Function)) {
            out.push_back({&t, {}});
            ++i;
            continue;
        }
        // Find the matching parenthesis; an unclosed function runs to the end.
        std::size_t depth = 1;
        std::size_t j = i + 1;
        for (; j < tokens.size(); ++j) {
            const TokenType type = tokens[j].type;
            if (type == TokenType::Function || type == TokenType::LeftParen) {
                ++depth;
            } else if (type == TokenType::RightParen && --depth == 0) {
                break;
            }
        }
        out.push_back({&t, tokens.subspan(i + 1, j - (i + 1))});
        i = j + 1;
    }
    return out;
}

std::optional<SpecifiedLength> ParseLength(const Component& c, LengthRules rules) {
    const Token& t = *c.token;
    SpecifiedLength out;
    if (t.Is(TokenType::Dimension)) {
        bool known = false;
        for (const Keyword<LengthUnit>& u : kUnits) {
            if (EqualsIgnoreCase(t.value, u.name)) {
                out.unit = u.value;
                known = true;
                break;
            }
        }
        if (!known) return std::nullopt;
    } else if (t.Is(TokenType::Percentage) && rules.percent) {
        out.unit = LengthUnit::Percent;
    } else if (t.Is(TokenType::Number) && t.number == 0) {
        out.unit = LengthUnit::Px;
    } else {
        return std::nullopt;
    }
    if (t.number < 0 && !rules.negative) return std::nullopt;
    out.value = t.number;
    return out;
}

double ToPixels(SpecifiedLength length, FontBase base) {
    const double v = length.value;
    switch (length.unit) {
        case LengthUnit::Px:
            return v;
        case LengthUnit::Pt:
            return v * 96.0 / 72.0;
        case LengthUnit::Pc:
            return v * 16.0;
        case LengthUnit::In:
            return v * 96.0;
        case LengthUnit::Cm:
            return v * 96.0 / 2.54;
        case LengthUnit::Mm:
            return v * 96.0 / 25.4;
        case LengthUnit::Q:
            return v * 96.0 / 101.6;
        case LengthUnit::Em:
            return v * base.em;
        case LengthUnit::Rem:
            return v * base.rem;
        case LengthUnit::Ex:
            return v * base.em * 0.5;
        case LengthUnit::Percent:
            return v;
    }
    return v;
}

Length Resolve(SpecifiedLength length, FontBase base) {
    if (length.unit == LengthUnit::Percent) return Length::Percent(length.value);
    return Length::Px(ToPixels(length, base));
}

}  // namespace quillon::css
