#include "platform/core/text_encoding.h"

#include <array>

namespace quillon::text {

namespace {

constexpr std::array<char32_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

inline bool IsCont(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

}  // namespace

std::size_t Utf8SequenceLength(std::string_view s) {
    if (s.empty()) return 0;
    const auto c0 = static_cast<unsigned char>(s[0]);
    if (c0 < 0x80) return 1;
    std::size_t len;
    unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the second byte
    if (c0 >= 0xC2 && c0 <= 0xDF) {
        len = 2;
    } else if (c0 >= 0xE0 && c0 <= 0xEF) {
        len = 3;
        if (c0 == 0xE0) lo = 0xA0;  // no overlongs
        if (c0 == 0xED) hi = 0x9F;  // no surrogates
    } else if (c0 >= 0xF0 && c0 <= 0xF4) {
        len = 4;
        if (c0 == 0xF0) lo = 0x90;
        if (c0 == 0xF4) hi = 0x8F;  // nothing above U+10FFFF
    } else {
        return 0;
    }
    if (s.size() < len) return 0;
    const auto c1 = static_cast<unsigned char>(s[1]);
    if (c1 < lo || c1 > hi) return 0;
    for (std::size_t i = 2; i < len; ++i) {
        if (!IsCont(static_cast<unsigned char>(s[i]))) return 0;
    }
    return len;
}

bool IsValidUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        // Fast path over ASCII runs.
        if (static_cast<unsigned char>(s[i]) < 0x80) {
            ++i;
            continue;
        }
        const std::size_t n = Utf8SequenceLength(s.substr(i));
        if (n == 0) return false;
        i += n;
    }
    return true;
}

TextEncoding DetectEncoding(std::string_view s) {
    return IsValidUtf8(s) ? TextEncoding::Utf8 : TextEncoding::Cp1252;
}

namespace {
inline std::size_t StepUtf8(std::string_view s, std::size_t i) {
    if (static_cast<unsigned char>(s[i]) < 0x80) return 1;
    const std::size_t n = Utf8SequenceLength(s.substr(i));
    return n == 0 ? 1 : n;
}
}  // namespace

std::size_t CharCount(std::string_view s, TextEncoding enc) {
    if (enc == TextEncoding::Cp1252) return s.size();
    std::size_t count = 0;
    for (std::size_t i = 0; i < s.size(); i += StepUtf8(s, i)) ++count;
    return count;
}

std::size_t PrefixBytes(std::string_view s, std::size_t chars, TextEncoding enc) {
    if (enc == TextEncoding::Cp1252) return chars < s.size() ? chars : s.size();
    std::size_t i = 0;
    while (i < s.size() && chars > 0) {
        i += StepUtf8(s, i);
        --chars;
    }
    return i;
}

std::size_t SuffixOffset(std::string_view s, std::size_t chars, TextEncoding enc) {
    const std::size_t total = CharCount(s, enc);
    if (total <= chars) return 0;
    return PrefixBytes(s, total - chars, enc);
}

char32_t Cp1252ToUnicode(unsigned char c) {
    if (c >= 0x80 && c <= 0x9F) return kCp1252High[c - 0x80];
    return c;
}

void AppendUtf8(std::string& out, char32_t c) {
    if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) c = 0xFFFD;
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

std::string Cp1252ToUtf8(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (char ch : s) AppendUtf8(out, Cp1252ToUnicode(static_cast<unsigned char>(ch)));
    return out;
}

std::u32string DecodeText(std::string_view s) {
    std::u32string out;
    out.reserve(s.size());
    if (!IsValidUtf8(s)) {
        for (char ch : s) out.push_back(Cp1252ToUnicode(static_cast<unsigned char>(ch)));
        return out;
    }
    for (std::size_t i = 0; i < s.size();) {
        const auto c0 = static_cast<unsigned char>(s[i]);
        const std::size_t n = StepUtf8(s, i);
        char32_t c = n == 1 ? c0 : n == 2 ? (c0 & 0x1F) : n == 3 ? (c0 & 0x0F) : (c0 & 0x07);
        for (std::size_t k = 1; k < n; ++k)
            c = (c << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
        out.push_back(c);
        i += n;
    }
    return out;
}

std::string ToUtf8(std::u32string_view s) {
    std::string out;
    out.reserve(s.size());
    for (char32_t c : s) AppendUtf8(out, c);
    return out;
}

std::string AsciiUpperCase(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = AsciiUpper(c);
    return out;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
    }
    return true;
}

std::string_view Trim(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
    return s.substr(b, e - b);
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.emplace_back(line);
        start = end + 1;
    }
    return lines;
}

}  // namespace quillon::text
