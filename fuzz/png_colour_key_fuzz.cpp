// Arbitrary bytes to the PNG chunk reader: nothing may crash or read outside the input, and
// a file it splits must be the input less exactly one chunk.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "platform/qt/png_colour_key.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto split = quillon::SplitPngColourKey(std::span<const std::uint8_t>(data, size));
    if (split && split->bytes.size() >= size) std::abort();
    return 0;
}
