#pragma once
// The coloured rich-text document of a template text: every span (colour_spans.h) in
// colour 1 of the colour table, everything else in colour 0 (black). Pure ASCII output:
// characters above 127 are written as \uN? escapes (UTF-16 units, so characters beyond
// U+FFFF become surrogate pairs) and "\", "{" and "}" are escaped wherever they occur.

#include <string>
#include <string_view>
#include <vector>

#include "platform/core/rgba_image.h"

namespace quillon::design {

struct ColouredRtfOptions {
    std::string font_name = "Courier New";  // UTF-8
    int font_charset = 0;                   // the \fcharset number of the text font
    double font_size_pt = 10;
    Color span_color = 0x008000;  // 0x00RRGGBB
    char16_t open = u'<';
    char16_t close = u'>';
};

// The six header lines, the text lines (each but the first after "\par ") and the closing
// "\par }", joined by CR LF.
std::string BuildColouredRtf(const std::vector<std::u16string>& lines,
                             const ColouredRtfOptions& options);

// Appends text as RTF text: "\", "{" and "}" escaped, tabs as \tab, other characters
// outside printable ASCII as \uN? escapes.
void AppendRtfText(std::string& out, std::u16string_view text);

}  // namespace quillon::design
