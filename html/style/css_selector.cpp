#include "html/style/css_selector.h"

#include "html/style/css_nth.h"

namespace quillon::css {
namespace {

using Kind = SimpleSelector::Kind;

// Reads one selector from tokens [pos, end); every method fails (false) on anything outside
// the supported grammar.
class SelectorReader {
  public:
    SelectorReader(const std::vector<Token>& t, std::size_t begin, std::size_t end,
                   std::string_view source)
        : t_(t), pos_(begin), end_(end), source_(source) {}

    std::optional<Selector> Complex() {
        SkipSpace();
        Selector sel;
        CompoundSelector first;
        if (!Compound(first, true)) return std::nullopt;
        sel.compounds.push_back(std::move(first));
        for (;;) {
            const bool space = SkipSpace();
            if (pos_ >= end_) break;
            Combinator comb = Combinator::Descendant;
            if (t_[pos_].IsDelim('>')) {
                comb = Combinator::Child;
            } else if (t_[pos_].IsDelim('+')) {
                comb = Combinator::Adjacent;
            } else if (t_[pos_].IsDelim('~')) {
                comb = Combinator::Sibling;
            } else if (!space) {
                return std::nullopt;
            }
            if (comb != Combinator::Descendant) {
                ++pos_;
                SkipSpace();
            }
            CompoundSelector next;
            next.combinator = comb;
            if (!Compound(next, true)) return std::nullopt;
            sel.compounds.push_back(std::move(next));
        }
        sel.specificity = ComputeSpecificity(sel);
        return sel;
    }

    // The argument of :not(): exactly one simple selector and nothing else.
    std::optional<SimpleSelector> Negation() {
        SkipSpace();
        CompoundSelector c;
        if (!Compound(c, false)) return std::nullopt;
        SkipSpace();
        if (pos_ != end_) return std::nullopt;
        SimpleSelector s;
        if (c.conditions.empty()) {
            s.kind = c.tag.empty() ? Kind::Universal : Kind::Type;
            s.name = c.tag;
        } else {
            s = c.conditions.front();
            if (s.negated) return std::nullopt;  // :not() does not nest
        }
        s.negated = true;
        return s;
    }

  private:
    bool AtEnd() const { return pos_ >= end_; }
    const Token& Cur() const { return t_[pos_]; }

    bool SkipSpace() {
        bool any = false;
        while (!AtEnd() && Cur().Is(TokenType::Whitespace)) {
            ++pos_;
            any = true;
        }
        return any;
    }

    // A type or universal selector followed by conditions; at least one of them. With
    // `allow_many` false it stops after the first simple selector.
    bool Compound(CompoundSelector& c, bool allow_many) {
        bool any = false;
        if (!AtEnd() && (Cur().Is(TokenType::Ident) || Cur().IsDelim('*'))) {
            c.tag = Cur().Is(TokenType::Ident) ? AsciiLower(Cur().value) : std::string();
            ++pos_;
            any = true;
            if (!AtEnd() && Cur().IsDelim('|')) return false;  // namespaces are not supported
            if (!allow_many) return true;
        } else if (!AtEnd() && Cur().IsDelim('|')) {
            return false;
        }
        while (!AtEnd()) {
            SimpleSelector s;
            const Token& tok = Cur();
            if (tok.Is(TokenType::Hash)) {
                if (!tok.id_hash) return false;
                s.kind = Kind::Id;
                s.name = tok.value;
                ++pos_;
            } else if (tok.IsDelim('.')) {
                if (pos_ + 1 >= end_ || !t_[pos_ + 1].Is(TokenType::Ident)) return false;
                s.kind = Kind::Class;
                s.name = t_[pos_ + 1].value;
                pos_ += 2;
            } else if (tok.Is(TokenType::LeftBracket)) {
                if (!Attribute(s)) return false;
            } else if (tok.Is(TokenType::Colon)) {
                if (!PseudoClass(s)) return false;
            } else {
                break;
            }
            c.conditions.push_back(std::move(s));
            any = true;
            if (!allow_many) break;
        }
        return any;
    }

    bool Attribute(SimpleSelector& s) {
        ++pos_;  // '['
        SkipSpace();
        if (AtEnd() || !Cur().Is(TokenType::Ident)) return false;
        s.kind = Kind::Attribute;
        s.name = AsciiLower(Cur().value);
        ++pos_;
        SkipSpace();
        if (AtEnd()) return false;
        if (Cur().Is(TokenType::RightBracket)) {
            ++pos_;
            return true;
        }
        if (Cur().IsDelim('=')) {
            s.op = AttrOp::Equals;
            ++pos_;
        } else if (Cur().Is(TokenType::Delim) && pos_ + 1 < end_ && t_[pos_ + 1].IsDelim('=')) {
            switch (Cur().value[0]) {
                case '~':
                    s.op = AttrOp::Includes;
                    break;
                case '|':
                    s.op = AttrOp::DashMatch;
                    break;
                case '^':
                    s.op = AttrOp::Prefix;
                    break;
                case '$':
                    s.op = AttrOp::Suffix;
                    break;
                case '*':
                    s.op = AttrOp::Substring;
                    break;
                default:
                    return false;
            }
            pos_ += 2;
        } else {
            return false;
        }
        SkipSpace();
        if (AtEnd() || !(Cur().Is(TokenType::Ident) || Cur().Is(TokenType::String))) return false;
        s.value = Cur().value;
        ++pos_;
        SkipSpace();
        if (AtEnd() || !Cur().Is(TokenType::RightBracket)) return false;
        ++pos_;
        return true;
    }

    // The index after the ')' closing the function at pos_, or end_ when it is not closed.
    std::size_t CloseOf(std::size_t open) const {
        int depth = 0;
        for (std::size_t i = open; i < end_; ++i) {
            const TokenType ty = t_[i].type;
            if (ty == TokenType::Function || ty == TokenType::LeftParen) ++depth;
            if (ty == TokenType::RightParen && --depth == 0) return i;
        }
        return end_;
    }

    bool PseudoClass(SimpleSelector& s) {
        ++pos_;  // ':'
        if (AtEnd()) return false;
        const Token& tok = Cur();
        const std::string name = AsciiLower(tok.value);
        if (tok.Is(TokenType::Ident)) {
            ++pos_;
            if (name == "first-child") {
                s.kind = Kind::FirstChild;
            } else if (name == "root") {
                s.kind = Kind::Root;
            } else if (name == "link") {
                s.kind = Kind::Link;
            } else {
                return false;
            }
            return true;
        }
        if (!tok.Is(TokenType::Function)) return false;
        const std::size_t close = CloseOf(pos_);
        if (close >= end_) return false;
        const std::size_t args = pos_ + 1;
        pos_ = close + 1;
        if (name == "nth-child") {
            if (args == close) return false;
            const std::size_t from = t_[args].begin;
            const auto nth = ParseNth(source_.substr(from, t_[close].begin - from));
            if (!nth) return false;
            s.kind = Kind::NthChild;
            s.a = nth->first;
            s.b = nth->second;
            return true;
        }
        if (name == "not") {
            SelectorReader inner(t_, args, close, source_);
            const auto neg = inner.Negation();
            if (!neg) return false;
            s = *neg;
            return true;
        }
        return false;
    }

    const std::vector<Token>& t_;
    std::size_t pos_;
    std::size_t end_;
    std::string_view source_;
};

}  // namespace

Specificity ComputeSpecificity(const Selector& selector) {
    Specificity sp{0, 0, 0};
    for (const CompoundSelector& c : selector.compounds) {
        if (!c.tag.empty()) ++sp[2];
        for (const SimpleSelector& s : c.conditions) {
            switch (s.kind) {
                case Kind::Id:
                    ++sp[0];
                    break;
                case Kind::Type:
                    ++sp[2];
                    break;
                case Kind::Universal:
                    break;
                default:
                    ++sp[1];
                    break;
            }
        }
    }
    return sp;
}

std::optional<std::vector<Selector>> ParseSelectorList(const std::vector<Token>& tokens,
                                                       std::string_view source) {
    std::vector<Selector> out;
    std::size_t start = 0;
    int depth = 0;
    for (std::size_t i = 0; i <= tokens.size(); ++i) {
        if (i < tokens.size()) {
            const TokenType ty = tokens[i].type;
            if (ty == TokenType::Function || ty == TokenType::LeftParen ||
                ty == TokenType::LeftBracket) {
                ++depth;
            } else if (ty == TokenType::RightParen || ty == TokenType::RightBracket) {
                --depth;
            }
            if (ty != TokenType::Comma || depth != 0) continue;
        }
        SelectorReader reader(tokens, start, i, source);
        auto sel = reader.Complex();
        if (!sel) return std::nullopt;
        out.push_back(std::move(*sel));
        start = i + 1;
    }
    return out;
}

std::optional<std::vector<Selector>> ParseSelectorList(std::string_view text) {
    std::vector<Token> tokens = Tokenize(text);
    tokens.pop_back();  // Eof
    return ParseSelectorList(tokens, text);
}

}  // namespace quillon::css
