#include "design/template_text.h"

#include <optional>

namespace quillon::design {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// The Windows-1252 byte of a character, if the code page has it.
std::optional<unsigned char> ToCp1252(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<unsigned char>(c);
    for (unsigned b = 0x80; b < 0xA0; ++b) {
        if (text::Cp1252ToUnicode(static_cast<unsigned char>(b)) == c) {
            return static_cast<unsigned char>(b);
        }
    }
    return std::nullopt;
}

// A line in the encoding of its whole file (a Windows-1252 file keeps that reading even
// where one of its lines alone would be valid UTF-8).
std::u16string DecodeLine(std::string_view line, text::TextEncoding encoding);

// Length of the line break at s[i] (0 when there is none).
std::size_t BreakAt(std::string_view s, std::size_t i) {
    if (s[i] == '\n') return 1;
    if (s[i] == '\r') return i + 1 < s.size() && s[i + 1] == '\n' ? 2 : 1;
    return 0;
}

}  // namespace

std::u16string ToUtf16(std::u32string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (char32_t c : text) {
        if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) c = 0xFFFD;
        if (c >= 0x10000) {
            c -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (c >> 10));
            out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
    }
    return out;
}

std::u32string FromUtf16(std::u16string_view text) {
    std::u32string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            out += 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            out += U'\uFFFD';
        } else {
            out += c;
        }
    }
    return out;
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
    return ToUtf16(text::DecodeText(utf8));
}

namespace {

std::u16string DecodeLine(std::string_view line, text::TextEncoding encoding) {
    if (encoding == text::TextEncoding::Utf8) return Utf8ToUtf16(line);
    std::u16string out;
    out.reserve(line.size());
    for (unsigned char b : line) out += static_cast<char16_t>(text::Cp1252ToUnicode(b));
    return out;
}

}  // namespace

TemplateText DecodeTemplate(std::string_view bytes) {
    TemplateText result;
    if (bytes.starts_with(kUtf8Bom) && text::IsValidUtf8(bytes.substr(kUtf8Bom.size()))) {
        result.style.utf8_bom = true;
        bytes.remove_prefix(kUtf8Bom.size());
    }
    result.style.encoding = text::DetectEncoding(bytes);
    if (bytes.empty()) return result;
    std::size_t first_break = bytes.size();
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (const std::size_t n = BreakAt(bytes, i)) {
            result.style.line_break = std::string(bytes.substr(i, n));
            first_break = i;
            break;
        }
    }
    // One line break at the very end closes the last line rather than opening another.
    if (bytes.ends_with('\n') || bytes.ends_with('\r')) {
        result.style.final_line_break = true;
        bytes.remove_suffix(bytes.ends_with("\r\n") ? 2 : 1);
    }
    std::size_t start = 0;
    for (std::size_t i = first_break; i <= bytes.size(); ++i) {
        const std::size_t n = i < bytes.size() ? BreakAt(bytes, i) : 1;
        if (n == 0) continue;
        result.lines.push_back(DecodeLine(bytes.substr(start, i - start), result.style.encoding));
        start = i + n;
        i = start - 1;
    }
    return result;
}

std::string EncodeTemplate(std::u16string_view text, const TemplateFileStyle& style,
                           bool* utf8_fallback) {
    const std::u32string chars = FromUtf16(text);
    bool as_utf8 = style.encoding == text::TextEncoding::Utf8;
    std::string body;
    if (!as_utf8) {
        for (char32_t c : chars) {
            const auto b = ToCp1252(c);
            if (!b) {
                as_utf8 = true;
                break;
            }
            body += c == U'\n' ? style.line_break : std::string(1, static_cast<char>(*b));
        }
    }
    if (utf8_fallback) *utf8_fallback = as_utf8 && style.encoding != text::TextEncoding::Utf8;
    if (as_utf8) {
        body.clear();
        for (char32_t c : chars) {
            if (c == U'\n') {
                body += style.line_break;
            } else {
                text::AppendUtf8(body, c);
            }
        }
    }
    std::string out = style.utf8_bom && as_utf8 ? std::string(kUtf8Bom) : std::string();
    out += body;
    if (style.final_line_break) out += style.line_break;
    return out;
}

}  // namespace quillon::design
