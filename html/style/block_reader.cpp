#include "html/style/block_reader.h"

namespace quillon::css {
namespace {

bool Opens(TokenType t) {
    return t == TokenType::LeftBrace || t == TokenType::LeftBracket || t == TokenType::LeftParen ||
           t == TokenType::Function;
}

TokenType Mirror(TokenType t) {
    switch (t) {
        case TokenType::LeftBrace:
            return TokenType::RightBrace;
        case TokenType::LeftBracket:
            return TokenType::RightBracket;
        default:
            return TokenType::RightParen;
    }
}

}  // namespace

BlockReader::BlockReader(std::string_view source) : source_(source), tokens_(Tokenize(source)) {}

std::size_t BlockReader::SkipSpace(TokenRange range) const {
    std::size_t i = range.begin;
    while (i < range.end && tokens_[i].Is(TokenType::Whitespace)) ++i;
    return i;
}

// Iterative, so that deeply nested input costs no stack.
std::size_t BlockReader::MatchClose(std::size_t open, std::size_t range_end) const {
    std::vector<TokenType> expected{Mirror(tokens_[open].type)};
    for (std::size_t i = open + 1; i < range_end; ++i) {
        const TokenType t = tokens_[i].type;
        if (t == expected.back()) {
            expected.pop_back();
            if (expected.empty()) return i;
        } else if (Opens(t)) {
            expected.push_back(Mirror(t));
        }
    }
    return range_end;
}

std::size_t BlockReader::NextComponent(std::size_t i, std::size_t end) const {
    if (!Opens(tokens_[i].type)) return i + 1;
    const std::size_t close = MatchClose(i, end);
    return close < end ? close + 1 : end;
}

RawRule BlockReader::ReadAtRule(TokenRange& range) const {
    RawRule raw;
    raw.name = tokens_[range.begin].value;
    ReadPreludeAndBlock(raw, range.begin + 1, range, /*semicolon_ends=*/true);
    return raw;
}

RawRule BlockReader::ReadQualifiedRule(TokenRange& range) const {
    RawRule raw;
    ReadPreludeAndBlock(raw, range.begin, range, /*semicolon_ends=*/false);
    return raw;
}

void BlockReader::ReadPreludeAndBlock(RawRule& raw, std::size_t start, TokenRange& range,
                                      bool semicolon_ends) const {
    std::size_t i = start;
    raw.prelude.begin = i;
    while (i < range.end) {
        const TokenType t = tokens_[i].type;
        if (semicolon_ends && t == TokenType::Semicolon) {
            raw.prelude.end = i;
            range.begin = i + 1;
            return;
        }
        if (t == TokenType::LeftBrace) {
            raw.prelude.end = i;
            raw.has_block = true;
            const std::size_t close = MatchClose(i, range.end);
            raw.block = {i + 1, close};
            range.begin = close < range.end ? close + 1 : range.end;
            return;
        }
        i = NextComponent(i, range.end);
    }
    raw.prelude.end = range.end;
    range.begin = range.end;
}

TokenRange BlockReader::Trimmed(TokenRange range) const {
    range.begin = SkipSpace(range);
    while (range.end > range.begin && tokens_[range.end - 1].Is(TokenType::Whitespace)) {
        --range.end;
    }
    return range;
}

std::string BlockReader::Text(TokenRange range) const {
    range = Trimmed(range);
    if (range.begin >= range.end) return {};
    const std::size_t from = tokens_[range.begin].begin;
    return std::string(source_.substr(from, tokens_[range.end - 1].end - from));
}

std::optional<std::vector<Selector>> BlockReader::Selectors(TokenRange range) const {
    range = Trimmed(range);
    const std::vector<Token> tokens(tokens_.begin() + static_cast<std::ptrdiff_t>(range.begin),
                                    tokens_.begin() + static_cast<std::ptrdiff_t>(range.end));
    return ParseSelectorList(tokens, source_);
}

std::vector<Declaration> BlockReader::Declarations(TokenRange range) const {
    std::vector<Declaration> out;
    std::size_t i = range.begin;
    while (i < range.end) {
        const Token& t = tokens_[i];
        if (t.Is(TokenType::Whitespace) || t.Is(TokenType::Semicolon)) {
            ++i;
            continue;
        }
        if (t.Is(TokenType::AtKeyword)) {  // at-rules among declarations are not supported
            TokenRange rest{i, range.end};
            ReadAtRule(rest);
            i = rest.begin;
            continue;
        }
        // A declaration, or an error: either way it runs to the next ';' outside blocks.
        std::size_t stop = i;
        while (stop < range.end && !tokens_[stop].Is(TokenType::Semicolon)) {
            stop = NextComponent(stop, range.end);
        }
        if (t.Is(TokenType::Ident)) {
            if (auto d = ReadDeclaration({i, stop})) out.push_back(std::move(*d));
        }
        i = stop;
    }
    return out;
}

std::optional<Declaration> BlockReader::ReadDeclaration(TokenRange range) const {
    Declaration d;
    d.name = AsciiLower(tokens_[range.begin].value);
    std::size_t i = SkipSpace({range.begin + 1, range.end});
    if (i >= range.end || !tokens_[i].Is(TokenType::Colon)) return std::nullopt;
    TokenRange value = Trimmed({i + 1, range.end});
    // "! important" at the end, any case, white space allowed around the '!'.
    if (value.end > value.begin && tokens_[value.end - 1].Is(TokenType::Ident) &&
        AsciiLower(tokens_[value.end - 1].value) == "important") {
        TokenRange before = Trimmed({value.begin, value.end - 1});
        if (before.end > before.begin && tokens_[before.end - 1].IsDelim('!')) {
            d.important = true;
            value = Trimmed({value.begin, before.end - 1});
        }
    }
    // No property takes an empty value, an unclosed string or URL, or a stray ')' or ']'.
    if (value.begin >= value.end) return std::nullopt;
    int depth = 0;
    for (std::size_t k = value.begin; k < value.end; ++k) {
        const TokenType t = tokens_[k].type;
        if (t == TokenType::BadString || t == TokenType::BadUrl) return std::nullopt;
        if (Opens(t)) ++depth;
        if (t == TokenType::RightParen || t == TokenType::RightBracket ||
            t == TokenType::RightBrace) {
            if (--depth < 0) return std::nullopt;
        }
    }
    d.value.assign(tokens_.begin() + static_cast<std::ptrdiff_t>(value.begin),
                   tokens_.begin() + static_cast<std::ptrdiff_t>(value.end));
    d.text = Text(value);
    return d;
}

}  // namespace quillon::css
