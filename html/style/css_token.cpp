#include "html/style/css_token.h"

#include <cmath>
#include <cstdlib>

#include "platform/core/text_encoding.h"

namespace quillon::css {
namespace {

// NUL counts as U+FFFD, which is a name character.
bool IsNameStart(unsigned char c) {
    return c == 0 || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c >= 0x80;
}
bool IsDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}
bool IsName(unsigned char c) {
    return IsNameStart(c) || IsDigit(c) || c == '-';
}
bool IsHex(unsigned char c) {
    return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
char32_t HexValue(unsigned char c) {
    if (IsDigit(c)) return c - '0';
    return (c | 0x20) - 'a' + 10;
}
bool IsSpace(unsigned char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}
bool IsNonPrintable(unsigned char c) {
    return c <= 8 || c == 0x0B || (c >= 0x0E && c <= 0x1F) || c == 0x7F;
}

// Reads one source; positions are byte offsets. A NUL byte reads as U+FFFD where values are
// built; CR, CR LF and FF count as white space like LF.
class Tokenizer {
  public:
    explicit Tokenizer(std::string_view s) : s_(s) {}

    std::vector<Token> Run() {
        std::vector<Token> out;
        for (;;) {
            SkipComments();
            Token t;
            t.begin = pos_;
            if (pos_ >= s_.size()) {
                t.type = TokenType::Eof;
                t.end = pos_;
                out.push_back(std::move(t));
                return out;
            }
            Next(t);
            t.end = pos_;
            out.push_back(std::move(t));
        }
    }

  private:
    unsigned char At(std::size_t i) const {
        return pos_ + i < s_.size() ? static_cast<unsigned char>(s_[pos_ + i]) : 0;
    }
    bool Has(std::size_t i) const { return pos_ + i < s_.size(); }

    void SkipComments() {
        while (At(0) == '/' && At(1) == '*' && Has(1)) {
            const std::size_t close = s_.find("*/", pos_ + 2);
            pos_ = close == std::string_view::npos ? s_.size() : close + 2;
        }
    }

    // A backslash at offset i starts a valid escape (not followed by a line end or the end).
    bool ValidEscape(std::size_t i) const {
        if (At(i) != '\\' || !Has(i + 1)) return false;
        const unsigned char n = At(i + 1);
        return n != '\n' && n != '\r' && n != '\f';
    }
    bool StartsIdent(std::size_t i) const {
        const unsigned char c = At(i);
        if (c == '-') {
            return (Has(i + 1) && (IsNameStart(At(i + 1)) || At(i + 1) == '-')) ||
                   ValidEscape(i + 1);
        }
        if (IsNameStart(c) && Has(i)) return true;
        return ValidEscape(i);
    }
    bool StartsNumber(std::size_t i) const {
        const unsigned char c = At(i);
        if (c == '+' || c == '-') {
            return IsDigit(At(i + 1)) || (At(i + 1) == '.' && IsDigit(At(i + 2)));
        }
        if (c == '.') return IsDigit(At(i + 1));
        return IsDigit(c) && Has(i);
    }

    // After the backslash: a hex escape (with one optional white space) or the next character.
    void ConsumeEscape(std::string& out) {
        if (!Has(0)) {
            text::AppendUtf8(out, 0xFFFD);
            return;
        }
        if (IsHex(At(0))) {
            char32_t v = 0;
            for (int n = 0; n < 6 && IsHex(At(0)) && Has(0); ++n) {
                v = v * 16 + HexValue(At(0));
                ++pos_;
            }
            if (At(0) == '\r' && At(1) == '\n') {
                pos_ += 2;
            } else if (IsSpace(At(0)) && Has(0)) {
                ++pos_;
            }
            if (v == 0 || (v >= 0xD800 && v <= 0xDFFF) || v > 0x10FFFF) v = 0xFFFD;
            text::AppendUtf8(out, v);
            return;
        }
        AppendChar(out);
    }
    void AppendChar(std::string& out) {
        if (s_[pos_] == '\0') {
            text::AppendUtf8(out, 0xFFFD);
        } else {
            out += s_[pos_];
        }
        ++pos_;
    }

    std::string ConsumeName() {
        std::string out;
        for (;;) {
            if (Has(0) && IsName(At(0))) {
                AppendChar(out);
            } else if (ValidEscape(0)) {
                ++pos_;
                ConsumeEscape(out);
            } else {
                return out;
            }
        }
    }

    void ConsumeNumber(Token& t) {
        const std::size_t start = pos_;
        t.is_integer = true;
        if (At(0) == '+' || At(0) == '-') ++pos_;
        while (IsDigit(At(0)) && Has(0)) ++pos_;
        if (At(0) == '.' && IsDigit(At(1))) {
            t.is_integer = false;
            pos_ += 2;
            while (IsDigit(At(0)) && Has(0)) ++pos_;
        }
        if ((At(0) == 'e' || At(0) == 'E') &&
            (IsDigit(At(1)) || ((At(1) == '+' || At(1) == '-') && IsDigit(At(2))))) {
            t.is_integer = false;
            pos_ += 2;
            while (IsDigit(At(0)) && Has(0)) ++pos_;
        }
        t.number = std::strtod(std::string(s_.substr(start, pos_ - start)).c_str(), nullptr);
        if (!std::isfinite(t.number)) t.number = t.number > 0 ? 1e300 : -1e300;
    }

    void ConsumeNumeric(Token& t) {
        ConsumeNumber(t);
        if (StartsIdent(0)) {
            t.type = TokenType::Dimension;
            t.value = ConsumeName();
        } else if (At(0) == '%' && Has(0)) {
            ++pos_;
            t.type = TokenType::Percentage;
        } else {
            t.type = TokenType::Number;
        }
    }

    void ConsumeString(Token& t, char quote) {
        t.type = TokenType::String;
        for (;;) {
            if (!Has(0)) return;  // the end of input closes the string
            const char c = s_[pos_];
            if (c == quote) {
                ++pos_;
                return;
            }
            if (c == '\n' || c == '\r' || c == '\f') {
                t.type = TokenType::BadString;  // the line end is not part of it
                return;
            }
            if (c == '\\') {
                if (!Has(1)) {
                    ++pos_;
                } else if (At(1) == '\r' && At(2) == '\n') {
                    pos_ += 3;  // an escaped line end continues the string
                } else if (At(1) == '\n' || At(1) == '\r' || At(1) == '\f') {
                    pos_ += 2;
                } else {
                    ++pos_;
                    ConsumeEscape(t.value);
                }
                continue;
            }
            AppendChar(t.value);
        }
    }

    void SkipBadUrl() {
        while (Has(0)) {
            if (At(0) == ')') {
                ++pos_;
                return;
            }
            if (ValidEscape(0)) {
                ++pos_;
                std::string ignored;
                ConsumeEscape(ignored);
            } else {
                ++pos_;
            }
        }
    }

    void ConsumeUrl(Token& t) {
        t.type = TokenType::Url;
        while (Has(0) && IsSpace(At(0))) ++pos_;
        for (;;) {
            if (!Has(0)) return;
            const unsigned char c = At(0);
            if (c == ')') {
                ++pos_;
                return;
            }
            if (IsSpace(c)) {
                while (Has(0) && IsSpace(At(0))) ++pos_;
                if (!Has(0) || At(0) == ')') {
                    if (Has(0)) ++pos_;
                    return;
                }
                t.type = TokenType::BadUrl;
                SkipBadUrl();
                return;
            }
            if (c == '"' || c == '\'' || c == '(' || (IsNonPrintable(c) && c != 0)) {
                t.type = TokenType::BadUrl;
                SkipBadUrl();
                return;
            }
            if (c == '\\') {
                if (!ValidEscape(0)) {
                    t.type = TokenType::BadUrl;
                    SkipBadUrl();
                    return;
                }
                ++pos_;
                ConsumeEscape(t.value);
                continue;
            }
            AppendChar(t.value);
        }
    }

    void ConsumeIdentLike(Token& t) {
        t.value = ConsumeName();
        if (At(0) == '(' && Has(0)) {
            ++pos_;
            if (AsciiLower(t.value) == "url") {
                std::size_t i = 0;
                while (IsSpace(At(i)) && Has(i)) ++i;
                if (At(i) != '"' && At(i) != '\'') {
                    t.value.clear();
                    ConsumeUrl(t);
                    if (t.Is(TokenType::BadUrl)) t.value.clear();
                    return;
                }
            }
            t.type = TokenType::Function;
            return;
        }
        t.type = TokenType::Ident;
    }

    void Delim(Token& t) {
        t.type = TokenType::Delim;
        AppendChar(t.value);
    }

    void Next(Token& t) {
        const unsigned char c = At(0);
        if (IsSpace(c)) {
            while (Has(0) && IsSpace(At(0))) ++pos_;
            t.type = TokenType::Whitespace;
            return;
        }
        switch (c) {
            case '"':
            case '\'':
                ++pos_;
                ConsumeString(t, static_cast<char>(c));
                return;
            case '#':
                if ((Has(1) && IsName(At(1))) || ValidEscape(1)) {
                    ++pos_;
                    t.id_hash = StartsIdent(0);
                    t.type = TokenType::Hash;
                    t.value = ConsumeName();
                    return;
                }
                break;
            case '(':
                ++pos_;
                t.type = TokenType::LeftParen;
                return;
            case ')':
                ++pos_;
                t.type = TokenType::RightParen;
                return;
            case '[':
                ++pos_;
                t.type = TokenType::LeftBracket;
                return;
            case ']':
                ++pos_;
                t.type = TokenType::RightBracket;
                return;
            case '{':
                ++pos_;
                t.type = TokenType::LeftBrace;
                return;
            case '}':
                ++pos_;
                t.type = TokenType::RightBrace;
                return;
            case ',':
                ++pos_;
                t.type = TokenType::Comma;
                return;
            case ':':
                ++pos_;
                t.type = TokenType::Colon;
                return;
            case ';':
                ++pos_;
                t.type = TokenType::Semicolon;
                return;
            case '+':
            case '.':
                if (StartsNumber(0)) {
                    ConsumeNumeric(t);
                    return;
                }
                break;
            case '-':
                if (StartsNumber(0)) {
                    ConsumeNumeric(t);
                    return;
                }
                if (At(1) == '-' && At(2) == '>') {
                    pos_ += 3;
                    t.type = TokenType::Cdc;
                    return;
                }
                if (StartsIdent(0)) {
                    ConsumeIdentLike(t);
                    return;
                }
                break;
            case '<':
                if (s_.substr(pos_, 4) == "<!--") {
                    pos_ += 4;
                    t.type = TokenType::Cdo;
                    return;
                }
                break;
            case '@':
                if (StartsIdent(1)) {
                    ++pos_;
                    t.type = TokenType::AtKeyword;
                    t.value = ConsumeName();
                    return;
                }
                break;
            case '\\':
                if (ValidEscape(0)) {
                    ConsumeIdentLike(t);
                    return;
                }
                break;
            default:
                if (IsDigit(c)) {
                    ConsumeNumeric(t);
                    return;
                }
                if (IsNameStart(c)) {
                    ConsumeIdentLike(t);
                    return;
                }
                break;
        }
        Delim(t);
    }

    std::string_view s_;
    std::size_t pos_ = 0;
};

}  // namespace

std::vector<Token> Tokenize(std::string_view source) {
    return Tokenizer(source).Run();
}

std::string AsciiLower(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

}  // namespace quillon::css
