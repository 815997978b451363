#pragma once
// CSS tokens. Names, strings and URLs hold their value with escapes resolved (UTF-8); every
// token also records where it came from in the source, so that a value can be kept as the
// author wrote it.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quillon::css {

enum class TokenType {
    Ident,
    Function,   // value: the name before '('
    AtKeyword,  // value: the name after '@'
    Hash,       // value: the name after '#'; id_hash when it is a valid identifier
    String,
    BadString,
    Url,  // value: the URL of an unquoted url(...)
    BadUrl,
    Delim,  // value: the one character
    Number,
    Percentage,
    Dimension,  // value: the unit
    Whitespace,
    Cdo,
    Cdc,
    Colon,
    Semicolon,
    Comma,
    LeftBracket,
    RightBracket,
    LeftParen,
    RightParen,
    LeftBrace,
    RightBrace,
    Eof,
};

struct Token {
    TokenType type = TokenType::Eof;
    std::string value;
    double number = 0;        // Number, Percentage, Dimension
    bool is_integer = false;  // the number was written without '.' or exponent
    bool id_hash = false;     // Hash: the name would also be an identifier
    std::size_t begin = 0;    // source offset of the first character
    std::size_t end = 0;      // source offset after the last character

    bool Is(TokenType t) const { return type == t; }
    bool IsDelim(char c) const {
        return type == TokenType::Delim && value.size() == 1 && value[0] == c;
    }
};

// Splits `source` into tokens, ending with one Eof token. Comments disappear; malformed
// input gives BadString/BadUrl or Delim tokens, never an error.
std::vector<Token> Tokenize(std::string_view source);

// ASCII lower case, as CSS compares keywords and HTML names.
std::string AsciiLower(std::string_view s);

}  // namespace quillon::css
