#pragma once
// How a field value is written into its slot: padding, cutting, right alignment of numbers,
// trimming, links whose markup takes no room, and the placeholder of a second-parse field.
// All widths count characters of the template's encoding, so a UTF-8 value in a UTF-8
// template is never cut inside a character.

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "engine/print_options.h"
#include "platform/core/text_encoding.h"

namespace quillon {

// True when the text (already trimmed) is a whole decimal floating-point number: optional
// sign, digits with an optional fraction after a "." (or a fraction alone), optional
// exponent.
bool IsDecimalNumber(std::string_view text);

// A value that begins with a link "<A ...>visible</A>": the parts of it. The markup takes
// no room in the slot; only the visible text and what follows the link do.
struct LinkParts {
    std::string_view open_tag;  // "<A ...>"
    std::string_view visible;   // between the tags
    std::string_view tail;      // after "</A>"
    bool closed = false;        // a "</A>" follows the opening tag
};
// The link at the start of value, or false when value does not begin with a well-formed
// opening "<A" tag ("<A" followed by a blank or ">", up to the first ">", with no "<"
// inside). Without a closing "</A>" the rest of the value is the visible text.
bool SplitLeadingLink(std::string_view value, LinkParts& parts);

// Appends value, formatted for a slot of `width` characters, to out.
void AppendSlotText(std::string& out, std::string_view value, int width, TPrintOptions options,
                    text::TextEncoding enc);

// True when value, between optional blanks, is a whole decimal number (IsDecimalNumber).
bool IsBlankPaddedNumber(std::string_view value);

// The usual slot, kept inline for the line builder: a value of printable ASCII (no control
// character, so no line end and no line-suppression mark; one character per byte in every
// encoding) that is not a link, without trimming. These give what AppendSlotText gives.
namespace slot_text {

// A value that may begin with a link (SplitLeadingLink decides): "<A" and one more byte.
inline bool MayBeLink(std::string_view value) {
    return value.size() >= 3 && value[0] == '<' && value[1] == 'A';
}

// True when no byte of s is below 0x20 or above 0x7F. Eight (or four) bytes are tested at
// a time; the last word of a text that is not a multiple of the word overlaps the one
// before. A byte below 0x20 sets the high bit of its difference; the borrow it passes on
// can only mark bytes above it, after the first true mark.
inline bool IsPrintableAscii(std::string_view s) {
    const char* p = s.data();
    const std::size_t n = s.size();
    if (n >= 8) {
        constexpr std::uint64_t kOnes = 0x0101010101010101ull;
        std::uint64_t marks = 0;
        std::uint64_t word;
        for (std::size_t i = 0; i + 8 <= n; i += 8) {
            std::memcpy(&word, p + i, 8);
            marks |= (word - kOnes * 0x20) | word;
        }
        std::memcpy(&word, p + n - 8, 8);
        marks |= (word - kOnes * 0x20) | word;
        return (marks & (kOnes * 0x80)) == 0;
    }
    if (n >= 4) {
        constexpr std::uint32_t kOnes = 0x01010101u;
        std::uint32_t first, last;
        std::memcpy(&first, p, 4);
        std::memcpy(&last, p + n - 4, 4);
        const std::uint32_t marks = (first - kOnes * 0x20) | first | (last - kOnes * 0x20) | last;
        return (marks & (kOnes * 0x80)) == 0;
    }
    for (std::size_t i = 0; i < n; ++i) {
        const auto c = static_cast<unsigned char>(p[i]);
        if (c < 0x20 || c > 0x7F) return false;
    }
    return true;
}

// Whether a value shorter than its slot goes to the right: a number, when numbers are
// aligned right. Most text values are told apart by their first byte.
inline bool AlignsRight(std::string_view value, TPrintOptions options) {
    if (!options.Contains(prNumbersAlignRight) || value.empty()) return false;
    const char c = value.front();
    if (!((c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == ' ' || c == '\t')) {
        return false;
    }
    return IsBlankPaddedNumber(value);
}

// Copies n bytes; short texts without a call.
inline void CopyBytes(char* to, const char* from, std::size_t n) {
    if (n >= 8 && n <= 16) {
        std::uint64_t head, tail;
        std::memcpy(&head, from, 8);
        std::memcpy(&tail, from + n - 8, 8);
        std::memcpy(to, &head, 8);
        std::memcpy(to + n - 8, &tail, 8);
    } else if (n >= 4 && n < 8) {
        std::uint32_t head, tail;
        std::memcpy(&head, from, 4);
        std::memcpy(&tail, from + n - 4, 4);
        std::memcpy(to, &head, 4);
        std::memcpy(to + n - 4, &tail, 4);
    } else if (n < 4) {
        for (std::size_t i = 0; i < n; ++i) to[i] = from[i];
    } else {
        std::memcpy(to, from, n);
    }
}

// The slot of an ASCII value that is not a link, without trimming: the value cut to the
// slot (unless cutting is off), or padded with blanks, at the right for a number when
// numbers are aligned right.
inline void AppendAsciiSlot(std::string& out, std::string_view value, std::size_t width,
                            TPrintOptions options) {
    const std::size_t n = value.size();
    if (n >= width) {
        out.append(value.data(), options.Contains(prDontCutField) ? n : width);
        return;
    }
    const std::size_t start = out.size();
    out.resize(start + width, ' ');
    CopyBytes(out.data() + start + (AlignsRight(value, options) ? width - n : 0), value.data(), n);
}

inline std::size_t Width(int width) {
    return width > 0 ? static_cast<std::size_t>(width) : 0;
}

}  // namespace slot_text

// Appends a plain value, formatted for a slot of `width` characters, to out and returns
// true; returns false and appends nothing for any other value.
inline bool AppendPrintableSlot(std::string& out, std::string_view value, int width,
                                TPrintOptions options) {
    if (options.Contains(prTrimField) || slot_text::MayBeLink(value) ||
        !slot_text::IsPrintableAscii(value)) {
        return false;
    }
    slot_text::AppendAsciiSlot(out, value, slot_text::Width(width), options);
    return true;
}

// Writes a plain value into a slot of `width` bytes at `slot`, already filled with blanks,
// and returns true; returns false and writes nothing for any other value, and for a value
// longer than the slot when cutting is off (it would not fit). Trimming is the caller's.
inline bool WritePrintableSlot(char* slot, std::string_view value, int width,
                               TPrintOptions options) {
    if (slot_text::MayBeLink(value) || !slot_text::IsPrintableAscii(value)) return false;
    const std::size_t w = slot_text::Width(width);
    std::size_t n = value.size();
    if (n > w) {
        if (options.Contains(prDontCutField)) return false;
        n = w;
    } else if (n < w && slot_text::AlignsRight(value, options)) {
        slot += w - n;
    }
    slot_text::CopyBytes(slot, value.data(), n);
    return true;
}

// Appends the placeholder of second-parse field `name` to out: the name markup followed by
// a fresh fill run ("?" and, with decimals, "^") as wide as the slot. RTF templates carry
// the name as "{\<rtf_tag> NAME}", the others as "<" + inverted question mark + NAME + ">",
// the inverted question mark written in the template's encoding.
void AppendSecondParsePlaceholder(std::string& out, std::string_view name, int width, int decimals,
                                  bool rtf, std::string_view rtf_tag, text::TextEncoding enc);

// The inverted question mark of the name markup in the template's encoding.
std::string_view InvertedQuestionMark(text::TextEncoding enc);

}  // namespace quillon
