#include "html/style/selector_match.h"

#include <algorithm>

namespace quillon::css {
namespace {

using Kind = SimpleSelector::Kind;

bool HasWord(std::string_view list, std::string_view word) {
    if (word.empty() || word.find_first_of(" \t\n\r\f") != std::string_view::npos) return false;
    std::size_t i = 0;
    while (i < list.size()) {
        const std::size_t start = list.find_first_not_of(" \t\n\r\f", i);
        if (start == std::string_view::npos) return false;
        std::size_t stop = list.find_first_of(" \t\n\r\f", start);
        if (stop == std::string_view::npos) stop = list.size();
        if (list.substr(start, stop - start) == word) return true;
        i = stop;
    }
    return false;
}

bool AttributeMatches(const SimpleSelector& s, const StyleElement& e) {
    const auto v = e.Attribute(s.name);
    if (!v) return false;
    const std::string_view value = *v;
    const std::string_view want = s.value;
    switch (s.op) {
        case AttrOp::Exists:
            return true;
        case AttrOp::Equals:
            return value == want;
        case AttrOp::Includes:
            return HasWord(value, want);
        case AttrOp::DashMatch:
            return value == want || (value.size() > want.size() && value.starts_with(want) &&
                                     value[want.size()] == '-');
        // An empty value compared with ^=, $= or *= matches nothing.
        case AttrOp::Prefix:
            return !want.empty() && value.starts_with(want);
        case AttrOp::Suffix:
            return !want.empty() && value.ends_with(want);
        case AttrOp::Substring:
            return !want.empty() && value.find(want) != std::string_view::npos;
    }
    return false;
}

bool NthMatches(int a, int b, int index) {
    if (a == 0) return index == b;
    const long long diff = static_cast<long long>(index) - b;
    return diff % a == 0 && diff / a >= 0;
}

bool SimpleMatches(const SimpleSelector& s, const StyleElement& e) {
    switch (s.kind) {
        case Kind::Id:
            return !s.name.empty() && e.Id() == s.name;
        case Kind::Class: {
            const auto classes = e.Classes();
            return std::find(classes.begin(), classes.end(), s.name) != classes.end();
        }
        case Kind::Attribute:
            return AttributeMatches(s, e);
        case Kind::FirstChild:
            return e.Parent() != nullptr && e.PreviousSibling() == nullptr;
        case Kind::NthChild:
            return e.Parent() != nullptr && NthMatches(s.a, s.b, e.SiblingIndex());
        case Kind::Root:
            return e.Parent() == nullptr;
        case Kind::Link:
            return e.IsLink();
        case Kind::Type:
            return e.TagName() == s.name;
        case Kind::Universal:
            return true;
    }
    return false;
}

// Why matching failed, so that a failure is not retried where it cannot turn out otherwise.
// Without this, "x * * * * y" against a deep tree would try every choice of ancestors.
enum class Outcome {
    Matched,
    RetryLaterSibling,    // another sibling further along may still do
    RetryFromDescendant,  // only a closer descendant combinator's next ancestor may do
    Impossible,           // nothing further up or back can match
};

// Whether compounds [0, last] match with compound `last` on `e`.
Outcome MatchFrom(const Selector& sel, std::size_t last, const StyleElement& e) {
    if (!MatchesCompound(sel.compounds[last], e)) return Outcome::RetryLaterSibling;
    if (last == 0) return Outcome::Matched;
    const Combinator comb = sel.compounds[last].combinator;
    const bool upward = comb == Combinator::Child || comb == Combinator::Descendant;
    const StyleElement* next = &e;
    for (;;) {
        next = upward ? next->Parent() : next->PreviousSibling();
        if (!next) return upward ? Outcome::Impossible : Outcome::RetryFromDescendant;
        const Outcome r = MatchFrom(sel, last - 1, *next);
        if (r == Outcome::Matched || r == Outcome::Impossible) return r;
        switch (comb) {
            case Combinator::Adjacent:
                return r;
            case Combinator::Child:
                return Outcome::RetryFromDescendant;
            case Combinator::Sibling:
                if (r == Outcome::RetryFromDescendant) return r;
                break;
            case Combinator::Descendant:
                break;
        }
    }
}

}  // namespace

bool MatchesCompound(const CompoundSelector& compound, const StyleElement& element) {
    if (!compound.tag.empty() && element.TagName() != compound.tag) return false;
    for (const SimpleSelector& s : compound.conditions) {
        if (SimpleMatches(s, element) == s.negated) return false;
    }
    return true;
}

bool Matches(const Selector& selector, const StyleElement& element) {
    if (selector.compounds.empty()) return false;
    return MatchFrom(selector, selector.compounds.size() - 1, element) == Outcome::Matched;
}

}  // namespace quillon::css
