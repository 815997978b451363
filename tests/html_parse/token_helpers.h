#pragma once
// Helpers for tokenizer tests: run a document through HtmlTokenizer and collect tokens.

#include <sstream>
#include <string>
#include <vector>

#include "html/parse/html_tokenizer.h"
#include "platform/core/text_encoding.h"

namespace quillon::testing {

struct Token {
    Symb sy;
    std::string text;  // UTF-8
    int tag_value = 0;
    friend bool operator==(const Token&, const Token&) = default;
};

inline std::ostream& operator<<(std::ostream& os, const Token& t) {
    return os << "{" << static_cast<int>(t.sy) << ", \"" << t.text << "\", " << t.tag_value << "}";
}

inline Token Tok(Symb sy, std::string text = {}, int tag_value = 0) {
    return Token{sy, std::move(text), tag_value};
}
inline Token Txt(std::string text) {
    return Token{Symb::TextSy, std::move(text), 0};
}

// All tokens of `tok` up to and including EofSy (at most `limit`).
inline std::vector<Token> Drain(HtmlTokenizer& tok, std::size_t limit = 10000) {
    std::vector<Token> out;
    tok.NextChar();
    do {
        tok.NextSymbol();
        out.push_back({tok.Sy(), text::ToUtf8(tok.LCToken()), tok.TagValue()});
    } while (tok.Sy() != Symb::EofSy && out.size() < limit);
    out.pop_back();  // EofSy
    return out;
}

inline std::vector<Token> Tokens(std::string_view html) {
    HtmlTokenizer tok(MakeBufferSource(html));
    return Drain(tok);
}

// Tokens of `html` read through a stream `chunk` bytes at a time.
inline std::vector<Token> ChunkedTokens(const std::string& html, std::size_t chunk) {
    std::istringstream in(html);
    HtmlTokenizer tok(MakeStreamSource(in, chunk), chunk);
    return Drain(tok);
}

// The text of all TextSy tokens joined.
inline std::string JoinedText(const std::vector<Token>& tokens) {
    std::string s;
    for (const auto& t : tokens) {
        if (t.sy == Symb::TextSy) s += t.text;
    }
    return s;
}

}  // namespace quillon::testing
