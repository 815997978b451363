#pragma once
// The structure of a tokenized style sheet: rules with their preludes and blocks, nested
// blocks matched, declarations read with their error recovery. Works on index ranges of
// one token list so that nothing is copied until a rule is kept.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "html/style/css_selector.h"
#include "html/style/css_token.h"
#include "html/style/style_sheet.h"

namespace quillon::css {

struct TokenRange {
    std::size_t begin = 0;
    std::size_t end = 0;  // exclusive
};

// An at-rule or qualified rule before interpretation.
struct RawRule {
    std::string name;  // at-rules: the name without '@'
    TokenRange prelude;
    bool has_block = false;
    TokenRange block;  // inside the braces
};

class BlockReader {
  public:
    explicit BlockReader(std::string_view source);

    TokenRange All() const { return {0, tokens_.size() - 1}; }  // without the Eof token
    const Token& At(std::size_t i) const { return tokens_[i]; }

    // The first index of `range` that is not white space (range.end if none).
    std::size_t SkipSpace(TokenRange range) const;
    // The index of the token closing the block or function opened at `open`; range_end when
    // the input ends first.
    std::size_t MatchClose(std::size_t open, std::size_t range_end) const;

    // Read the rule starting at range.begin and move range.begin past it.
    RawRule ReadAtRule(TokenRange& range) const;
    RawRule ReadQualifiedRule(TokenRange& range) const;

    // The source text of `range`, white space trimmed.
    std::string Text(TokenRange range) const;
    std::optional<std::vector<Selector>> Selectors(TokenRange range) const;
    std::vector<Declaration> Declarations(TokenRange range) const;

  private:
    std::size_t NextComponent(std::size_t i, std::size_t end) const;
    // The prelude from start up to a "{...}" block (taken into raw) or, for an at-rule, a
    // ";"; moves range.begin past what was read.
    void ReadPreludeAndBlock(RawRule& raw, std::size_t start, TokenRange& range,
                             bool semicolon_ends) const;
    std::optional<Declaration> ReadDeclaration(TokenRange range) const;
    TokenRange Trimmed(TokenRange range) const;

    std::string_view source_;
    std::vector<Token> tokens_;
};

}  // namespace quillon::css
