// The second parse over arbitrary output: it must terminate, and its result must not
// depend on the chunk size. The first byte chooses the marker kind, encoding and chunk
// size; values are derived from the field names, some longer in bytes than their runs.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "engine/second_parse.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quillon;
    if (size == 0) return 0;
    const std::uint8_t control = data[0];
    const std::string output(reinterpret_cast<const char*>(data + 1), size - 1);
    const bool rtf = (control & 1) != 0;
    const text::TextEncoding enc =
        (control & 2) != 0 ? text::TextEncoding::Utf8 : text::TextEncoding::Cp1252;
    const std::size_t chunk = 1 + (control >> 2);
    const SecondParseMarker marker = MakeSecondParseMarker(rtf, "strike", enc);
    const SecondParseLookup lookup = [](std::string_view name) {
        std::string value(name.substr(1));
        if (name.size() % 2 == 0) value += "\xC3\xA4\xC3\xB6";
        return value;
    };

    TMemoryStream small(output);
    TMemoryStream whole(output);
    const bool ok_small = RunSecondParse(small, marker, lookup, chunk);
    const bool ok_whole = RunSecondParse(whole, marker, lookup, output.size() + 1);
    if (!ok_small || !ok_whole || small.Data() != whole.Data()) std::abort();
    return 0;
}
