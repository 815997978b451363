// Arbitrary bytes to the RTF reader: it either refuses them with ERtfError or returns a
// document whose runs are well-formed UTF-8 in fonts of its own table, never empty.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/core/text_encoding.h"
#include "viewers/rtf/rtf_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quillon;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    try {
        const rtf::RtfDocument doc = rtf::ReadRtf(bytes);
        for (const rtf::RtfParagraph& paragraph : doc.paragraphs) {
            for (const rtf::RtfRun& run : paragraph.runs) {
                if (run.text.empty() || !text::IsValidUtf8(run.text)) std::abort();
                if (run.format.font >= static_cast<int>(doc.fonts.size())) std::abort();
                if (run.format.font_size < 1 || run.format.font_size > 1638) std::abort();
            }
        }
        for (const rtf::RtfFont& font : doc.fonts) {
            if (!text::IsValidUtf8(font.name)) std::abort();
        }
    } catch (const rtf::ERtfError& e) {
        if (e.Position() > size) std::abort();
    }
    return 0;
}
