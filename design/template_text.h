#pragma once
// Template files as the editor sees them: lines of UTF-16 text (the units the editor
// widget counts in), plus what is needed to write them back byte for byte as they were
// read: the encoding, a UTF-8 byte order mark, the line break and whether the file ended
// with one.

#include <string>
#include <string_view>
#include <vector>

#include "platform/core/text_encoding.h"

namespace quillon::design {

struct TemplateFileStyle {
    text::TextEncoding encoding = text::TextEncoding::Utf8;
    bool utf8_bom = false;
    std::string line_break = "\r\n";  // the file's first line break: "\r\n", "\n" or "\r"
    bool final_line_break = false;
};

struct TemplateText {
    std::vector<std::u16string> lines;  // no lines for an empty file
    TemplateFileStyle style;
};

// Splits template bytes into lines at CR LF, LF and lone CR. The text is UTF-8 when valid
// (after an optional byte order mark), else Windows-1252.
TemplateText DecodeTemplate(std::string_view bytes);

// The bytes of an edited text, whose lines are separated by "\n", in the given style. A
// Windows-1252 template that now holds characters the code page lacks is written as UTF-8
// (without losing them); utf8_fallback, when given, tells whether that happened.
std::string EncodeTemplate(std::u16string_view text, const TemplateFileStyle& style,
                           bool* utf8_fallback = nullptr);

// Conversions between the editor's UTF-16 and UTF-8 / UTF-32. Unpaired surrogates become
// U+FFFD; invalid UTF-8 reads as Windows-1252.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::u16string ToUtf16(std::u32string_view text);
std::u32string FromUtf16(std::u16string_view text);

}  // namespace quillon::design
