#include "design/expert/column_sample.h"

#include <algorithm>

namespace quillon::design {

namespace {

bool IsLower(char c) {
    return c >= 'a' && c <= 'z';
}
bool IsUpper(char c) {
    return c >= 'A' && c <= 'Z';
}
char ToUpper(char c) {
    return IsLower(c) ? static_cast<char>(c - 'a' + 'A') : c;
}
char ToLower(char c) {
    return IsUpper(c) ? static_cast<char>(c - 'A' + 'a') : c;
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Characters of a UTF-8 text (bytes of any other text).
int CharacterCount(std::string_view s) {
    int count = 0;
    for (const char c : s) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
    }
    return count;
}

}  // namespace

std::string HeadingFromName(std::string_view name) {
    // A name without small letters ("UNIT_PRICE") is shouted, not an acronym: its words
    // are written in small letters after the first.
    const bool all_caps = std::none_of(name.begin(), name.end(), IsLower);
    std::string out;
    bool word_start = true;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char c = name[i];
        if (c == '_' || c == '-' || c == ' ' || c == '.') {
            word_start = true;
            continue;
        }
        if (!word_start && !all_caps && i > 0) {
            const char before = name[i - 1];
            const bool next_lower = i + 1 < name.size() && IsLower(name[i + 1]);
            // "customerName": a capital after a small letter starts a word; "HTMLPage": so
            // does the last capital of a run that a small letter follows.
            if (IsUpper(c) &&
                (IsLower(before) || IsDigit(before) || (IsUpper(before) && next_lower))) {
                word_start = true;
            }
        }
        if (word_start) {
            if (!out.empty()) out += ' ';
            out += ToUpper(c);
            word_start = false;
        } else {
            out += all_caps ? ToLower(c) : c;
        }
    }
    return out.empty() ? std::string(name) : out;
}

bool IsPlainNumber(std::string_view text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    const std::size_t digits_begin = i;
    while (i < text.size() && IsDigit(text[i])) ++i;
    const std::size_t digits = i - digits_begin;
    if (digits == 0) return false;
    if (digits > 1 && text[digits_begin] == '0') return false;
    if (i == text.size()) return true;
    if (text[i] != '.') return false;
    ++i;
    const std::size_t after = i;
    while (i < text.size() && IsDigit(text[i])) ++i;
    return i > after && i == text.size();
}

ColumnSample::ColumnSample(std::string_view name) : name_chars_(CharacterCount(name)) {}

void ColumnSample::Add(std::string_view value) {
    widest_text_ = std::max(widest_text_, CharacterCount(value));
    if (value.empty()) return;
    if (!IsPlainNumber(value)) {
        ++texts_;
        return;
    }
    ++numbers_;
    const std::size_t point = value.find('.');
    const std::size_t integer_part = point == std::string_view::npos ? value.size() : point;
    widest_integer_part_ = std::max(widest_integer_part_, static_cast<int>(integer_part));
    const int decimals =
        point == std::string_view::npos ? 0 : static_cast<int>(value.size() - point - 1);
    ++decimals_count_[decimals];
}

int ColumnSample::Decimals() const {
    if (!Numeric()) return 0;
    int decimals = 0;
    for (const auto& [count, numbers] : decimals_count_) {
        if (numbers * 10 >= numbers_) decimals = count;
    }
    return std::min(decimals, kMaxDecimals);
}

int ColumnSample::Width() const {
    if (!Numeric()) return std::max(name_chars_, widest_text_);
    const int decimals = Decimals();
    return widest_integer_part_ + 2 + (decimals > 0 ? decimals + 1 : 0);
}

}  // namespace quillon::design
