// Feeds arbitrary template bytes to the editor's rules: decoding into lines, the coloured
// RTF document (which must stay ASCII with balanced groups whatever the delimiters), the
// typing map, the editor's colour maps (plain and RTF) and change decisions line by line, and
// writing the text back (which must read again as the same lines).

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "design/colour_spans.h"
#include "design/coloured_rtf.h"
#include "design/line_change.h"
#include "design/template_colours.h"
#include "design/template_text.h"

namespace {

bool WellFormed(const std::string& rtf) {
    int depth = 0;
    for (std::size_t i = 0; i < rtf.size(); ++i) {
        const auto c = static_cast<unsigned char>(rtf[i]);
        if (c >= 0x7F || (c < 0x20 && c != '\r' && c != '\n')) return false;
        if (c == '\\') {
            ++i;
        } else if (c == '{') {
            ++depth;
        } else if (c == '}' && --depth < 0) {
            return false;
        }
    }
    return depth == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quillon::design;
    if (size < 2) return 0;
    ColouredRtfOptions options;
    options.open = static_cast<char16_t>(data[0]);
    options.close = static_cast<char16_t>(data[1]);
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 2, size - 2);

    const TemplateText text = DecodeTemplate(bytes);
    if (!WellFormed(BuildColouredRtf(text.lines, options))) std::abort();
    std::u16string joined, previous;
    RtfLineState rtf_state;
    for (std::size_t n = 0; n < text.lines.size(); ++n) {
        const std::u16string& line = text.lines[n];
        if (TypingColourMap(line, options.open, options.close).size() != line.size()) std::abort();
        DecideLineChange(true, previous, line, options.open, options.close);
        // Every colour map holds one entry per character of its line, in every mode.
        std::vector<TemplateColour> map = LoadSpanColours(line, options.open, options.close);
        MarkTemplateFields(line, map);
        if (map.size() != line.size()) std::abort();
        if (RtfLineColours(line, rtf_state).size() != line.size()) std::abort();
        if (CarryColours(previous, TypingSpanColours(previous, options.open, options.close), line)
                .size() != line.size())
            std::abort();
        previous = line;
        if (n > 0) joined += u'\n';
        joined += line;
    }
    const TemplateText again = DecodeTemplate(EncodeTemplate(joined, text.style));
    if (again.lines != text.lines && !(text.lines.empty() && again.lines.empty())) std::abort();
    return 0;
}
