#include "engine/field_value.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace quillon {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

// True when s is plain ASCII: then a character is a byte in every encoding. The bytes are
// read eight (or four) at a time; the last word of a text that is not a multiple of the
// word overlaps the one before.
bool IsAscii(std::string_view s) {
    const char* p = s.data();
    const std::size_t n = s.size();
    std::uint64_t high = 0;
    if (n >= 8) {
        for (std::size_t i = 0; i + 8 <= n; i += 8) {
            std::uint64_t word;
            std::memcpy(&word, p + i, 8);
            high |= word;
        }
        std::uint64_t last;
        std::memcpy(&last, p + n - 8, 8);
        high |= last;
    } else if (n >= 4) {
        std::uint32_t first, last;
        std::memcpy(&first, p, 4);
        std::memcpy(&last, p + n - 4, 4);
        high = first | last;
    } else {
        for (std::size_t i = 0; i < n; ++i) high |= static_cast<unsigned char>(p[i]);
    }
    return (high & 0x8080808080808080ull) == 0;
}

// Appends the first `width` bytes of s, padded with blanks to `width` bytes, growing out
// once.
void AppendPadCutBytes(std::string& out, std::string_view s, std::size_t width) {
    const std::size_t kept = s.size() < width ? s.size() : width;
    const std::size_t start = out.size();
    out.resize(start + width, ' ');
    if (kept > 0) std::memcpy(out.data() + start, s.data(), kept);
}

// Appends the first `width` characters of s, padded with blanks to `width` characters.
void AppendPadCut(std::string& out, std::string_view s, std::size_t width, text::TextEncoding enc,
                  bool ascii = false) {
    if (ascii || IsAscii(s)) {
        AppendPadCutBytes(out, s, width);
        return;
    }
    const std::size_t bytes = text::PrefixBytes(s, width, enc);
    const std::string_view kept = s.substr(0, bytes);
    out.append(kept);
    const std::size_t chars = text::CharCount(kept, enc);
    if (chars < width) out.append(width - chars, ' ');
}

}  // namespace

bool IsDecimalNumber(std::string_view t) {
    std::size_t i = 0;
    const std::size_t n = t.size();
    if (i < n && (t[i] == '+' || t[i] == '-')) ++i;
    std::size_t int_digits = 0;
    while (i < n && IsDigit(t[i])) ++i, ++int_digits;
    std::size_t frac_digits = 0;
    if (i < n && t[i] == '.') {
        ++i;
        while (i < n && IsDigit(t[i])) ++i, ++frac_digits;
    }
    if (int_digits + frac_digits == 0) return false;
    if (i < n && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        if (i < n && (t[i] == '+' || t[i] == '-')) ++i;
        std::size_t exp_digits = 0;
        while (i < n && IsDigit(t[i])) ++i, ++exp_digits;
        if (exp_digits == 0) return false;
    }
    return i == n;
}

namespace {

// The usual number, digits with one "." or none, of up to eight bytes, read as one word:
// 1 a number, 0 not one, -1 for any other text (blanks, a sign, an exponent: the long way
// decides). Every byte is tested at once, each in its own lane: the high bit is set
// before a subtraction, so that no lane borrows from the next.
int ShortPlainNumber(std::string_view value) {
    const std::size_t n = value.size();
    if (n == 0 || n > 8) return -1;
    const char* p = value.data();
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    constexpr std::uint64_t kHigh = kOnes * 0x80;
    std::uint64_t word = 0;
    if (n >= 4) {
        std::uint32_t low, high;
        std::memcpy(&low, p, 4);
        std::memcpy(&high, p + n - 4, 4);  // overlaps low by 8 - n bytes
        word = low | (std::uint64_t{high} << (8 * (n - 4)));
    } else {
        for (std::size_t i = 0; i < n; ++i) {
            word |= std::uint64_t{static_cast<unsigned char>(p[i])} << (8 * i);
        }
    }
    if ((word & kHigh) != 0) return -1;
    const std::uint64_t used = n == 8 ? ~std::uint64_t{0} : (std::uint64_t{1} << (8 * n)) - 1;
    const std::uint64_t at_least_0 = ((word | kHigh) - kOnes * '0') & kHigh;
    const std::uint64_t at_most_9 = ((kOnes * '9' | kHigh) - word) & kHigh;
    const std::uint64_t digits = at_least_0 & at_most_9 & used;
    const std::uint64_t other = (word ^ (kOnes * '.')) | ~used;  // zero lanes: the dots
    const std::uint64_t dots = ~((other | kHigh) - kOnes) & ~other & kHigh;
    if ((digits | dots) != (kHigh & used)) return -1;
    if ((dots & (dots - 1)) != 0) return 0;  // two dots
    return digits != 0 ? 1 : 0;              // "." alone
}

}  // namespace

// IsDecimalNumber(TrimBlanks(value)) in one pass: most text values fail at their first
// character.
bool IsBlankPaddedNumber(std::string_view value) {
    if (const int plain = ShortPlainNumber(value); plain >= 0) return plain == 1;
    const char* p = value.data();
    const char* end = p + value.size();
    while (p != end && IsBlank(*p)) ++p;
    while (end != p && IsBlank(end[-1])) --end;
    if (p != end && (*p == '+' || *p == '-')) ++p;
    const char* const digits = p;
    while (p != end && IsDigit(*p)) ++p;
    bool any_digit = p != digits;
    if (p != end && *p == '.') {
        const char* const fraction = ++p;
        while (p != end && IsDigit(*p)) ++p;
        any_digit = any_digit || p != fraction;
    }
    if (!any_digit) return false;
    if (p != end && (*p == 'e' || *p == 'E')) {
        ++p;
        if (p != end && (*p == '+' || *p == '-')) ++p;
        const char* const exponent = p;
        while (p != end && IsDigit(*p)) ++p;
        if (p == exponent) return false;
    }
    return p == end;
}

bool SplitLeadingLink(std::string_view value, LinkParts& parts) {
    if (value.size() < 3 || value[0] != '<' || value[1] != 'A') return false;
    if (value[2] != '>' && !IsBlank(value[2]) && value[2] != '\r' && value[2] != '\n') {
        return false;
    }
    const std::size_t gt = value.find('>', 2);
    if (gt == std::string_view::npos) return false;
    // No second tag may open inside the opening tag.
    if (value.substr(1, gt - 1).find('<') != std::string_view::npos) return false;
    static constexpr std::string_view kClose = "</A>";
    parts.open_tag = value.substr(0, gt + 1);
    const std::size_t close = value.find(kClose, gt + 1);
    parts.closed = close != std::string_view::npos;
    if (!parts.closed) {
        parts.visible = value.substr(gt + 1);
        parts.tail = {};
        return true;
    }
    parts.visible = value.substr(gt + 1, close - gt - 1);
    parts.tail = value.substr(close + kClose.size());
    return true;
}

void AppendSlotText(std::string& out, std::string_view value, int width, TPrintOptions options,
                    text::TextEncoding enc) {
    const std::size_t w = slot_text::Width(width);

    // Most values: ASCII text without a link and without trimming. The slot is written
    // in one piece: blanks, and the value at the left (or, a number, at the right).
    if (!options.Contains(prTrimField) && !slot_text::MayBeLink(value) && IsAscii(value)) {
        slot_text::AppendAsciiSlot(out, value, w, options);
        return;
    }

    // A link: the markup takes no room, the visible text and what follows it share the
    // slot. A visible text longer than the slot is cut, and the closing tag is kept.
    LinkParts link;
    if (slot_text::MayBeLink(value) && SplitLeadingLink(value, link)) {
        if (!link.closed) {
            // An unclosed link keeps the room of its opening tag and of a closing tag.
            AppendPadCut(out, value, w + text::CharCount(link.open_tag, enc) + 4, enc);
            return;
        }
        out.append(link.open_tag);
        const std::size_t visible_bytes = text::PrefixBytes(link.visible, w, enc);
        const std::string_view visible = link.visible.substr(0, visible_bytes);
        out.append(visible);
        out.append("</A>");
        AppendPadCut(out, link.tail, w - text::CharCount(visible, enc), enc);
        return;
    }

    const std::size_t start = out.size();
    const bool ascii = IsAscii(value);
    const std::size_t chars = ascii ? value.size() : text::CharCount(value, enc);
    if (options.Contains(prNumbersAlignRight) && chars < w && IsBlankPaddedNumber(value)) {
        out.append(w - chars, ' ');
        out.append(value);
    } else if (options.Contains(prDontCutField) && chars >= w) {
        out.append(value);
    } else {
        AppendPadCut(out, value, w, enc, ascii);
    }

    if (options.Contains(prTrimField)) {
        const std::string_view written(out.data() + start, out.size() - start);
        const std::string_view trimmed = TrimBlanks(written);
        if (trimmed.size() != written.size()) {
            const std::size_t lead = static_cast<std::size_t>(trimmed.data() - written.data());
            out.erase(start + lead + trimmed.size());
            out.erase(start, lead);
        }
    }
}

std::string_view InvertedQuestionMark(text::TextEncoding enc) {
    return enc == text::TextEncoding::Utf8 ? std::string_view("\xC2\xBF")
                                           : std::string_view("\xBF");
}

void AppendSecondParsePlaceholder(std::string& out, std::string_view name, int width, int decimals,
                                  bool rtf, std::string_view rtf_tag, text::TextEncoding enc) {
    if (rtf) {
        out.append("{\\").append(rtf_tag).append(" ").append(name).append("}");
    } else {
        out.append("<").append(InvertedQuestionMark(enc)).append(name).append(">");
    }
    const std::size_t w = slot_text::Width(width);
    const std::size_t d = decimals > 0 ? static_cast<std::size_t>(decimals) : 0;
    if (d > 0 && w >= d + 1) {
        out.append(w - d - 1, '?');
        out.push_back('^');
        out.append(d, '?');
    } else {
        out.append(w, '?');
    }
}

}  // namespace quillon
