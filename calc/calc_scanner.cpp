#include "calc/calc_scanner.h"

#include "calc/degree.h"
#include "calc/number_reader.h"

namespace quillon {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsHexLetter(char c) {
    return (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
// The run of a hexadecimal literal also takes "g" and "h", which are then invalid.
bool IsRadixRunChar(char c) {
    return IsDigit(c) || (c >= 'a' && c <= 'h') || (c >= 'A' && c <= 'H');
}

int DigitValue(char c) {
    if (IsDigit(c)) return c - '0';
    if (c >= 'a') return c - 'a' + 10;
    return c - 'A' + 10;
}

// Accumulates a run of digits of a radix as a double (the value becomes infinite for
// runs beyond the double range; exact up to 2^53).
double RadixValue(std::string_view run, int radix) {
    double value = 0;
    for (char c : run) value = value * radix + DigitValue(c);
    return value;
}

}  // namespace

CalcScanner::CalcScanner(std::string_view text) : text_(text.substr(0, text.find('\0'))) {}

TToken CalcScanner::Next() {
    while (pos_ < text_.size() && static_cast<unsigned char>(text_[pos_]) <= ' ') ++pos_;
    if (pos_ >= text_.size()) return token_ = tkEOF;
    const char c = text_[pos_];
    const char next = pos_ + 1 < text_.size() ? text_[pos_ + 1] : '\0';
    if (IsLetter(c) || c == '_' || c == '#') {
        const std::size_t start = pos_++;
        while (pos_ < text_.size() && (IsLetter(text_[pos_]) || IsDigit(text_[pos_]))) ++pos_;
        ident_ = text_.substr(start, pos_ - start);
        return token_ = tkIDENT;
    }
    if (IsDigit(c) || c == '$') return token_ = ScanNumber();
    auto take = [this](std::size_t length, TToken token) {
        pos_ += length;
        return token_ = token;
    };
    switch (c) {
        case '(':
            return take(1, tkLBRACE);
        case ')':
            return take(1, tkRBRACE);
        case ';':
            return take(1, tkSEMICOLON);
        case '=':
            return next == '=' ? take(2, tkEQ) : take(1, tkASSIGN);
        case '!':
            return next == '=' ? take(2, tkNE) : take(1, tkNOT);
        case '<':
            if (next == '=') return take(2, tkLE);
            if (next == '>') return take(2, tkNE);
            return take(1, tkLT);
        case '>':
            if (next == '=') return take(2, tkGE);
            if (next == '<') return take(2, tkNE);
            return take(1, tkGT);
        case '*':
            return next == '*' ? take(2, tkPOW) : take(1, tkMUL);
        case '/':
            return take(1, tkDIV);
        case '%':
            return next == '%' ? take(2, tkPER) : take(1, tkMOD);
        case '+':
            return take(1, tkADD);
        case '-':
            return take(1, tkSUB);
        case '~':
            return take(1, tkINV);
        case '&':
            return take(1, tkAND);
        case '|':
            return take(1, tkOR);
        case '^':
            return take(1, tkXOR);
        default:
            return token_ = tkERROR;
    }
}

TToken CalcScanner::ScanRadix(int radix) {
    const std::size_t start = pos_;
    if (radix == 2) {
        while (pos_ < text_.size() && (text_[pos_] == '0' || text_[pos_] == '1')) ++pos_;
    } else {
        while (pos_ < text_.size() && IsRadixRunChar(text_[pos_])) ++pos_;
    }
    const std::string_view run = text_.substr(start, pos_ - start);
    for (char c : run) {
        if (DigitValue(c) >= radix) return tkERROR;
    }
    number_ = RadixValue(run, radix);
    return tkNUMBER;
}

TToken CalcScanner::ScanNumber() {
    const char c = text_[pos_];
    const char next = pos_ + 1 < text_.size() ? text_[pos_ + 1] : '\0';
    if (c == '$') {
        ++pos_;
        return ScanRadix(16);
    }
    if (c == '0' && (next == 'x' || next == 'X')) {
        pos_ += 2;
        return ScanRadix(16);
    }
    if (c == '0' && (next == 'b' || next == 'B')) {
        pos_ += 2;
        return ScanRadix(2);
    }
    // A run of digits and the letters A to F: hexadecimal when an "h" follows, else it
    // must be a decimal integer part.
    const std::size_t start = pos_;
    bool letters = false;
    while (pos_ < text_.size() && (IsDigit(text_[pos_]) || IsHexLetter(text_[pos_]))) {
        letters = letters || !IsDigit(text_[pos_]);
        ++pos_;
    }
    const std::string_view run = text_.substr(start, pos_ - start);
    auto at = [this](std::size_t i) { return i < text_.size() ? text_[i] : '\0'; };
    if (at(pos_) == 'h' || at(pos_) == 'H') {
        ++pos_;
        number_ = RadixValue(run, 16);
        return tkNUMBER;
    }
    if (letters) return tkERROR;
    if (at(pos_) == '`') {
        ++pos_;
        std::size_t mark = pos_;
        while (IsDigit(at(pos_))) ++pos_;
        const std::string_view minutes = text_.substr(mark, pos_ - mark);
        std::string_view seconds;
        if (at(pos_) == '`') {
            mark = ++pos_;
            while (IsDigit(at(pos_))) ++pos_;
            seconds = text_.substr(mark, pos_ - mark);
        }
        number_ = DegreeDigitsValue(run, minutes, seconds);
        return tkNUMBER;
    }
    std::string_view fraction;
    if (at(pos_) == '.') {
        const std::size_t mark = ++pos_;
        while (IsDigit(at(pos_))) ++pos_;
        fraction = text_.substr(mark, pos_ - mark);
    }
    bool exponent_negative = false;
    std::string_view exponent;
    if (at(pos_) == 'e' || at(pos_) == 'E') {
        ++pos_;
        if (at(pos_) == '+' || at(pos_) == '-') exponent_negative = text_[pos_++] == '-';
        const std::size_t mark = pos_;
        while (IsDigit(at(pos_))) ++pos_;
        exponent = text_.substr(mark, pos_ - mark);
        if (exponent.empty()) return tkERROR;
    }
    number_ = DecimalDigitsValue(run, fraction, exponent_negative, exponent);
    return tkNUMBER;
}

}  // namespace quillon
