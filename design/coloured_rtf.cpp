#include "design/coloured_rtf.h"

#include <cmath>
#include <cstdint>

#include "design/colour_spans.h"
#include "design/template_text.h"

namespace quillon::design {

namespace {

void AppendUnicodeEscape(std::string& out, char16_t unit) {
    // RTF reads the number as a signed 16-bit value.
    const int value = unit > 0x7FFF ? static_cast<int>(unit) - 0x10000 : static_cast<int>(unit);
    out += "\\u";
    out += std::to_string(value);
    out += '?';
}

// The text line with its spans: "\cf1 " before each span, "\cf0 " after it. The spans are
// found on the unescaped text, so a delimiter that RTF escapes cannot split an escape.
void AppendLine(std::string& out, std::u16string_view line, const ColouredRtfOptions& options) {
    std::size_t done = 0;
    for (const Span& span : LoadSpans(line, options.open, options.close)) {
        AppendRtfText(out, line.substr(done, span.first - done));
        out += "\\cf1 ";
        AppendRtfText(out, line.substr(span.first, span.last + 1 - span.first));
        out += "\\cf0 ";
        done = span.last + 1;
    }
    AppendRtfText(out, line.substr(done));
}

}  // namespace

void AppendRtfText(std::string& out, std::u16string_view text) {
    for (const char16_t c : text) {
        if (c == u'\\' || c == u'{' || c == u'}') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == u'\t') {
            out += "\\tab ";
        } else if (c < 0x20 || c > 0x7E) {
            AppendUnicodeEscape(out, c);
        } else {
            out += static_cast<char>(c);
        }
    }
}

std::string BuildColouredRtf(const std::vector<std::u16string>& lines,
                             const ColouredRtfOptions& options) {
    const std::uint32_t rgb = options.span_color & 0xFFFFFFu;
    const long half_points = std::lround(options.font_size_pt * 2);
    std::string out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deftab720\r\n{\\fonttbl\r\n";
    out += "{\\f1\\fmodern\\fcharset" + std::to_string(options.font_charset) + ' ';
    AppendRtfText(out, Utf8ToUtf16(options.font_name));
    out += ";}\r\n{\\f2\\fnil\\fcharset1 Arial;}}\r\n";
    out += "{\\colortbl\\red0\\green0\\blue0;\\red" + std::to_string((rgb >> 16) & 0xFF) +
           "\\green" + std::to_string((rgb >> 8) & 0xFF) + "\\blue" + std::to_string(rgb & 0xFF) +
           ";}\r\n";
    out += "\\deflang1063\\pard\\plain\\f1\\fs" + std::to_string(half_points) + "\\cf0\r\n";
    for (std::size_t n = 0; n < lines.size(); ++n) {
        if (n > 0) out += "\\par ";
        AppendLine(out, lines[n], options);
        out += "\r\n";
    }
    out += "\\par }\r\n";
    return out;
}

}  // namespace quillon::design
