#pragma once
// Selectors: parsed form, parsing from tokens and specificity. The selectors supported are
// those that can be decided from an element and what comes before it in the document; a
// selector using anything else is invalid as a whole.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "html/style/css_token.h"

namespace quillon::css {

enum class AttrOp { Exists, Equals, Includes, DashMatch, Prefix, Suffix, Substring };

// One condition of a compound selector besides its type.
struct SimpleSelector {
    enum class Kind { Id, Class, Attribute, FirstChild, NthChild, Root, Link, Type, Universal };
    Kind kind = Kind::Universal;
    std::string name;   // Id, Class: the name; Attribute: lower-case name; Type: lower case
    std::string value;  // Attribute: the value compared with
    AttrOp op = AttrOp::Exists;
    int a = 0, b = 0;      // NthChild: the index is a*n+b for some n >= 0
    bool negated = false;  // inside :not()
};

enum class Combinator { Descendant, Child, Adjacent, Sibling };

// A type (empty: any element) with conditions; `combinator` links it to the compound before.
struct CompoundSelector {
    std::string tag;  // lower case; empty for * or no type
    std::vector<SimpleSelector> conditions;
    Combinator combinator = Combinator::Descendant;  // unused on the first compound
};

// (ids, classes + attributes + pseudo-classes, types), compared in that order.
using Specificity = std::array<int, 3>;

struct Selector {
    std::vector<CompoundSelector> compounds;  // left to right
    Specificity specificity{0, 0, 0};
};

// Parses a comma-separated selector list from `tokens` of `source` (no Eof among them).
// Nothing when any selector in it is invalid.
std::optional<std::vector<Selector>> ParseSelectorList(const std::vector<Token>& tokens,
                                                       std::string_view source);

// Convenience for tests and callers holding text.
std::optional<std::vector<Selector>> ParseSelectorList(std::string_view text);

Specificity ComputeSpecificity(const Selector& selector);

}  // namespace quillon::css
