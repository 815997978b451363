#include "viewers/rtf/rtf_tokens.h"

#include <algorithm>

namespace quillon::rtf {

namespace {

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool IsLineEnd(char c) {
    return c == '\r' || c == '\n';
}

}  // namespace

RtfToken RtfTokenizer::Next() {
    // Line ends between tokens carry no meaning in RTF.
    while (pos_ < input_.size() && IsLineEnd(input_[pos_])) ++pos_;
    RtfToken token;
    token.position = pos_;
    if (pos_ >= input_.size()) return token;
    switch (input_[pos_]) {
        case '{':
            ++pos_;
            token.kind = RtfTokenKind::GroupStart;
            return token;
        case '}':
            ++pos_;
            token.kind = RtfTokenKind::GroupEnd;
            return token;
        case '\\':
            return ReadControl(pos_);
        default:
            return ReadText(pos_);
    }
}

RtfToken RtfTokenizer::ReadText(std::size_t start) {
    std::size_t end = start;
    while (end < input_.size()) {
        const char c = input_[end];
        if (c == '{' || c == '}' || c == '\\' || IsLineEnd(c)) break;
        ++end;
    }
    pos_ = end;
    RtfToken token;
    token.kind = RtfTokenKind::Text;
    token.position = start;
    token.text = input_.substr(start, end - start);
    return token;
}

RtfToken RtfTokenizer::ReadControl(std::size_t start) {
    RtfToken token;
    token.position = start;
    pos_ = start + 1;
    if (pos_ >= input_.size()) return token;  // a lone backslash at the end: nothing more

    const char first = input_[pos_];
    if (!IsLetter(first)) {
        ++pos_;
        if (first == '\'') {
            // \'hh: two hex digits; a broken escape is dropped with what it has read.
            const int high = pos_ < input_.size() ? HexValue(input_[pos_]) : -1;
            const int low = pos_ + 1 < input_.size() ? HexValue(input_[pos_ + 1]) : -1;
            if (high < 0 || low < 0) {
                token.kind = RtfTokenKind::ControlSymbol;
                token.symbol = '\'';
                return token;
            }
            pos_ += 2;
            token.kind = RtfTokenKind::HexByte;
            token.byte = static_cast<unsigned char>(high * 16 + low);
            return token;
        }
        token.kind = RtfTokenKind::ControlSymbol;
        token.symbol = IsLineEnd(first) ? '\n' : first;
        return token;
    }

    std::size_t end = pos_;
    while (end < input_.size() && IsLetter(input_[end])) ++end;
    token.kind = RtfTokenKind::ControlWord;
    token.word = input_.substr(pos_, end - pos_);
    pos_ = end;

    bool negative = false;
    if (pos_ + 1 < input_.size() && input_[pos_] == '-' && IsDigit(input_[pos_ + 1])) {
        negative = true;
        ++pos_;
    }
    if (pos_ < input_.size() && IsDigit(input_[pos_])) {
        std::int64_t value = 0;
        while (pos_ < input_.size() && IsDigit(input_[pos_])) {
            if (value <= kMaxParam) value = value * 10 + (input_[pos_] - '0');
            ++pos_;
        }
        if (value > kMaxParam) value = kMaxParam;
        token.has_param = true;
        token.param = static_cast<std::int32_t>(negative ? -value : value);
    }
    if (pos_ < input_.size() && input_[pos_] == ' ') ++pos_;  // the delimiting space

    if (token.word == "bin") {
        // \binN: N bytes of raw data follow (after the delimiting space).
        const std::size_t wanted = token.param > 0 ? static_cast<std::size_t>(token.param) : 0;
        const std::size_t length = std::min(wanted, input_.size() - pos_);
        token.kind = RtfTokenKind::Binary;
        token.text = input_.substr(pos_, length);
        pos_ += length;
    }
    return token;
}

}  // namespace quillon::rtf
