#include "engine/printer_text.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace quillon {

namespace {

constexpr std::u32string_view kLineEnd = U"\r\n";

char32_t Upper(char32_t c) {
    return (c >= U'a' && c <= U'z') ? c - (U'a' - U'A') : c;
}

bool IsDigit(char32_t c) {
    return c >= U'0' && c <= U'9';
}

// Blanks are the blank and the control characters, as when trailing blanks are cut.
bool IsBlank(std::u32string_view s) {
    return std::all_of(s.begin(), s.end(), [](char32_t c) { return c <= U' '; });
}

// x rounded to the nearest integer, halves to the even neighbour.
double RoundHalfEven(double x) {
    const double floor = std::floor(x);
    const double rest = x - floor;
    if (rest > 0.5) return floor + 1;
    if (rest < 0.5) return floor;
    return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

// A decimal number (digits, optionally a point and more digits); false for anything else.
bool ReadDecimal(std::u32string_view s, double& value) {
    value = 0;
    std::size_t i = 0;
    bool digits = false;
    for (; i < s.size() && IsDigit(s[i]); ++i, digits = true) value = value * 10 + (s[i] - U'0');
    if (i < s.size() && s[i] == U'.') {
        double scale = 0.1;
        for (++i; i < s.size() && IsDigit(s[i]); ++i, scale /= 10, digits = true) {
            value += (s[i] - U'0') * scale;
        }
    }
    return digits && i == s.size();
}

}  // namespace

void PrinterTagTable::Add(std::u32string_view tag, std::u32string_view value) {
    std::u32string key(tag);
    std::transform(key.begin(), key.end(), key.begin(), Upper);
    if (table_.contains(key)) return;
    std::u32string text;
    text.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == U'&' && i + 3 < value.size() && value[i + 1] == U'#' &&
            IsDigit(value[i + 2]) && IsDigit(value[i + 3])) {
            text += static_cast<char32_t>((value[i + 2] - U'0') * 10 + (value[i + 3] - U'0'));
            i += 3;
        } else {
            text += value[i];
        }
    }
    table_.emplace(std::move(key), std::move(text));
}

const std::u32string* PrinterTagTable::Find(const std::u32string& upper_tag) const {
    const auto it = table_.find(upper_tag);
    return it == table_.end() ? nullptr : &it->second;
}

PrinterLineConverter::PrinterLineConverter(const PrinterTagTable& tags, int width)
    : tags_(tags), width_(std::clamp(width, 0, kMaxPrinterLineWidth)) {}

std::u32string PrinterLineConverter::Convert(std::u32string_view line) {
    std::u32string out;
    out.reserve(line.size() + 16);
    // Where the text of the line ends: a line break or rule is followed by a line end only
    // when text follows it.
    const std::size_t text_end =
        line.size() - static_cast<std::size_t>(std::find_if(line.rbegin(), line.rend(),
                                                            [](char32_t c) { return c > U' '; }) -
                                               line.rbegin());
    // Positions (from 1) in out where a centred passage starts and ends; 0 for none.
    std::size_t center_start = 0;
    std::size_t center_end = 0;
    std::u32string tag;
    std::u32string compact;
    std::size_t pos = 0;
    while (true) {
        // A tag runs from a "<" to the next ">"; a ">" before any "<" ends the tags.
        const std::size_t lt = line.find(U'<', pos);
        const std::size_t gt = line.find(U'>', pos);
        if (lt == std::u32string_view::npos || gt == std::u32string_view::npos || gt < lt) break;
        out.append(line.substr(pos, lt - pos));
        tag.assign(line.substr(lt, gt - lt + 1));
        std::transform(tag.begin(), tag.end(), tag.begin(), Upper);
        pos = gt + 1;
        const bool text_follows = pos < text_end;
        const std::size_t at = out.size() + 1;

        if (const std::u32string* replacement = tags_.Find(tag)) {
            out += *replacement;
            continue;
        }
        compact.clear();
        std::copy_if(tag.begin(), tag.end(), std::back_inserter(compact),
                     [](char32_t c) { return c != U' '; });
        if (compact == U"<BR>") {
            if (text_follows) out += kLineEnd;
        } else if (compact.starts_with(U"<HR")) {
            const std::u32string rule = Rule(compact);
            if (!rule.empty()) {
                if (at > 1) out += kLineEnd;
                out += rule;
                if (text_follows) out += kLineEnd;
            }
        } else if (compact == U"<CENTER>") {
            center_start = at;
            centring_ = true;
        } else if (compact == U"</CENTER>") {
            center_end = at;
            centring_ = false;
        }
    }
    out.append(line.substr(pos));
    if (center_start > 0 || center_end > 0 || centring_) Centre(out, center_start, center_end);
    return out;
}

std::u32string PrinterLineConverter::Rule(std::u32string_view compact) const {
    constexpr std::u32string_view kWidth = U"<HRWIDTH=";
    if (!compact.starts_with(kWidth)) return std::u32string(width_, U'_');
    std::u32string number;
    for (const char32_t c : compact.substr(kWidth.size(), 10)) {
        if (c != U'>' && c != U'%' && c != U'#' && c != U'"' && c != U'\'') number += c;
    }
    double percent = 0;
    if (!ReadDecimal(number, percent)) return {};
    const double length = RoundHalfEven(width_ * percent / 100);
    if (length <= 0) return {};
    const int n = length >= kMaxPrinterLineWidth ? kMaxPrinterLineWidth : static_cast<int>(length);
    const int pad = std::max(0, (width_ - n) / 2);
    std::u32string rule(static_cast<std::size_t>(pad), U' ');
    rule.append(static_cast<std::size_t>(n), U'_');
    return rule;
}

void PrinterLineConverter::Centre(std::u32string& line, std::size_t start, std::size_t end) const {
    if (start == 0) start = 1;
    if (end == 0) {
        end = line.size();
    } else if (end <= line.size() && !IsBlank(std::u32string_view(line).substr(end - 1))) {
        // Text after the passage goes to a line of its own.
        line.insert(end - 1, kLineEnd);
    }
    // The passage's length: from its start up to and including the position of its end,
    // bounded by the line.
    const long long size = static_cast<long long>(line.size());
    const long long from = static_cast<long long>(start);
    const long long span =
        std::max(0LL, std::min(static_cast<long long>(end) - from + 1, size - from + 1));
    const long long pad = (width_ - span) / 2;
    if (pad <= 0) return;
    std::u32string padding = start > 1 ? std::u32string(kLineEnd) : std::u32string();
    padding.append(static_cast<std::size_t>(pad), U' ');
    line.insert(std::min(start - 1, line.size()), padding);
}

namespace {

// The national letters and their bytes in the printer's national character set.
constexpr std::pair<char32_t, unsigned char> kNationalLetters[] = {
    {U'Ą', 0xDC}, {U'ą', 0xDD}, {U'Č', 0xDE}, {U'č', 0xDF}, {U'Ę', 0xF0}, {U'ę', 0xF1},
    {U'Ė', 0xF2}, {U'ė', 0xF3}, {U'Į', 0xF4}, {U'į', 0xF5}, {U'Š', 0xF6}, {U'š', 0xF7},
    {U'Ų', 0xF8}, {U'ų', 0xF9}, {U'Ū', 0xFA}, {U'ū', 0xFB}, {U'Ž', 0xFC}, {U'ž', 0xFD},
};
constexpr char32_t kFirstNational = U'Ą';
constexpr char32_t kLastNational = U'ž';

// The letters' bytes indexed by character from the first letter on.
constexpr auto kNationalBytes = [] {
    std::array<unsigned char, kLastNational - kFirstNational + 1> bytes{};
    for (const auto& [letter, byte] : kNationalLetters) bytes[letter - kFirstNational] = byte;
    return bytes;
}();

}  // namespace

unsigned char NationalPrinterByte(char32_t c) {
    return c >= kFirstNational && c <= kLastNational ? kNationalBytes[c - kFirstNational] : 0;
}

std::string EncodeForPrinter(std::u32string_view line, const text::CodePage& page, bool national) {
    std::string out;
    out.reserve(line.size());
    for (const char32_t c : line) {
        if (national) {
            if (const unsigned char byte = NationalPrinterByte(c); byte != 0) {
                out += static_cast<char>(byte);
                continue;
            }
        }
        if (const std::optional<unsigned char> byte = page.Encode(c)) {
            out += static_cast<char>(*byte);
        } else {
            out += c == U'\u00A0' ? ' ' : '?';
        }
    }
    return out;
}

}  // namespace quillon
