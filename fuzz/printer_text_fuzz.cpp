// Report lines converted for a character printer: tag conversion must terminate on any
// line, and every converted character must become exactly one printer byte. The first
// byte chooses the line width and the national conversion; the rest are lines.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "engine/printer_text.h"
#include "platform/core/code_pages.h"
#include "platform/core/text_encoding.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quillon;
    if (size == 0) return 0;
    const int width = data[0] & 0x7F;
    const bool national = (data[0] & 0x80) != 0;
    static const PrinterTagTable tags = [] {
        PrinterTagTable t;
        t.Add(U"<B>", U"&#27E");
        t.Add(U"</B>", U"&#27F&#1");
        t.Add(U"<P>", U"");
        return t;
    }();
    static const text::CodePage& page = *text::CodePage::Find("IBM850");
    PrinterLineConverter converter(tags, width);
    std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        const std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        const std::u32string converted = converter.Convert(text::DecodeText(line));
        if (EncodeForPrinter(converted, page, national).size() != converted.size()) std::abort();
    }
    return 0;
}
