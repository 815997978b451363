#pragma once
// GIF's variable-width LZW decompression (codes of 2 to 12 bits, clear and
// end-of-information codes, no early width change).

#include <cstddef>
#include <cstdint>
#include <span>

namespace quillon {

// Minimum code sizes whose clear and end codes and at least one further entry fit a 12-bit
// code table. Sizes 9 to 11 appear in real files (which use literals below 256 only); a
// literal code above 255 there keeps its low byte as the pixel value.
constexpr int kGifMinCodeSizeLow = 1;
constexpr int kGifMinCodeSizeHigh = 11;

// Decodes the concatenated sub-block data of one frame into out, in stream order. Stops at
// the end-of-information code, when out is full, when the data runs out, or at a code the
// table cannot yet define (the first code after a clear that is not a literal, or a code
// above the next free entry); everything decoded before stays. A table that fills up
// without a clear code keeps decoding with its 4096 entries. Returns the pixels written.
std::size_t DecodeGifLzw(std::span<const std::uint8_t> data, int min_code_size,
                         std::span<std::uint8_t> out);

// An upper bound of the pixels that data_bytes of LZW data can produce: after a clear the
// n-th code stands for at most n pixels, and no code for more than 4096.
std::size_t MaxGifLzwOutput(std::size_t data_bytes, int min_code_size);

}  // namespace quillon
