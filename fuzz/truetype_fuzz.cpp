// A font file as a table directory: the face is read and subset with every glyph kept.
#include <cstddef>
#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>

#include "platform/pdf/truetype_face.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string file(reinterpret_cast<const char*>(data), size);
    auto be = [&](std::size_t at, int bytes) {
        std::uint32_t v = 0;
        for (int i = 0; i < bytes; ++i) v = (v << 8) | static_cast<unsigned char>(file[at + i]);
        return v;
    };
    if (size < 12) return 0;
    std::map<std::string, std::string> tables;
    const std::uint32_t n = be(4, 2);
    for (std::uint32_t i = 0; i < n && 12 + 16 * (i + 1) <= size; ++i) {
        const std::size_t rec = 12 + 16 * i;
        const std::size_t at = be(rec + 8, 4), len = be(rec + 12, 4);
        if (at > size) continue;
        tables[file.substr(rec, 4)] = file.substr(at, len);
    }
    try {
        const quillon::pdf::TrueTypeFace face([&](std::string_view tag) {
            auto it = tables.find(std::string(tag));
            return it == tables.end() ? std::string() : it->second;
        });
        std::vector<bool> all(static_cast<std::size_t>(face.GlyphCount()), true);
        (void)face.Subset(all);
    } catch (const std::runtime_error&) {
    }
    return 0;
}
