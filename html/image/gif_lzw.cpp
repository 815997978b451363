#include "html/image/gif_lzw.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

namespace quillon {

namespace {

constexpr int kMaxCodeBits = 12;
constexpr int kTableSize = 1 << kMaxCodeBits;

// The code table: each entry is its prefix entry plus one pixel; first and length make it
// possible to write an entry's string backwards straight into the output.
struct LzwTable {
    std::array<std::uint16_t, kTableSize> prefix;
    std::array<std::uint16_t, kTableSize> length;
    std::array<std::uint8_t, kTableSize> suffix;
    std::array<std::uint8_t, kTableSize> first;
};

// Writes the string of code (its length is len) at dest, dropping its pixels at or past
// limit. Returns the pixels written.
inline std::size_t WriteString(const LzwTable& t, int code, std::size_t len, std::uint8_t* dest,
                               std::size_t room) {
    std::size_t skip = len > room ? len - room : 0;
    for (; skip > 0; --skip) code = t.prefix[code];
    std::size_t i = std::min(len, room);
    const std::size_t written = i;
    while (i > 1) {
        dest[--i] = t.suffix[code];
        code = t.prefix[code];
    }
    if (i == 1) dest[0] = t.suffix[code];
    return written;
}

}  // namespace

std::size_t DecodeGifLzw(std::span<const std::uint8_t> data, int min_code_size,
                         std::span<std::uint8_t> out) {
    if (min_code_size < kGifMinCodeSizeLow || min_code_size > kGifMinCodeSizeHigh) return 0;
    LzwTable t;
    const int clear = 1 << min_code_size;
    const int end_code = clear + 1;
    for (int i = 0; i < clear; ++i) {
        t.prefix[i] = 0;
        t.length[i] = 1;
        t.suffix[i] = static_cast<std::uint8_t>(i);
        t.first[i] = static_cast<std::uint8_t>(i);
    }

    int width = min_code_size + 1;
    int mask = (1 << width) - 1;
    int next = clear + 2;
    int prev = -1;
    std::uint64_t bits = 0;
    int bit_count = 0;
    const std::uint8_t* in = data.data();
    const std::uint8_t* const in_end = in + data.size();
    std::uint8_t* const dest = out.data();
    const std::size_t total = out.size();
    std::size_t pos = 0;

    while (pos < total) {
        if (bit_count < width) {
            // Refill whole bytes; 7 at a time when enough remain.
            if (in_end - in >= 8) {
                std::uint64_t word;
                std::memcpy(&word, in, 8);
                const int take = (63 - bit_count) >> 3;
                if constexpr (std::endian::native == std::endian::little) {
                    bits |= (word & ((std::uint64_t{1} << (take * 8)) - 1)) << bit_count;
                } else {
                    for (int k = 0; k < take; ++k)
                        bits |= static_cast<std::uint64_t>(in[k]) << (bit_count + 8 * k);
                }
                in += take;
                bit_count += take * 8;
            } else {
                while (bit_count < width && in < in_end) {
                    bits |= static_cast<std::uint64_t>(*in++) << bit_count;
                    bit_count += 8;
                }
                if (bit_count < width) break;
            }
        }
        const int code = static_cast<int>(bits) & mask;
        bits >>= width;
        bit_count -= width;

        if (code == clear) {
            width = min_code_size + 1;
            mask = (1 << width) - 1;
            next = clear + 2;
            prev = -1;
            continue;
        }
        if (code == end_code) break;
        if (prev < 0) {
            if (code >= clear) break;  // nothing defined yet but the literals
            dest[pos++] = static_cast<std::uint8_t>(code);
            prev = code;
            continue;
        }

        std::uint8_t first_pixel;
        if (code < next) {
            first_pixel = t.first[code];
            if (code < clear) {
                dest[pos++] = static_cast<std::uint8_t>(code);
            } else {
                pos += WriteString(t, code, t.length[code], dest + pos, total - pos);
            }
        } else if (code == next) {
            // The entry being defined: the previous string plus its own first pixel.
            first_pixel = t.first[prev];
            pos += WriteString(t, prev, t.length[prev], dest + pos, total - pos);
            if (pos < total) dest[pos++] = first_pixel;
        } else {
            break;  // a code above the next free entry
        }

        if (next < kTableSize) {
            t.prefix[next] = static_cast<std::uint16_t>(prev);
            t.suffix[next] = first_pixel;
            t.first[next] = t.first[prev];
            t.length[next] = static_cast<std::uint16_t>(t.length[prev] + 1);
            ++next;
            if (next == (1 << width) && width < kMaxCodeBits) {
                ++width;
                mask = (1 << width) - 1;
            }
        }
        prev = code;
    }
    return pos;
}

std::size_t MaxGifLzwOutput(std::size_t data_bytes, int min_code_size) {
    if (min_code_size < kGifMinCodeSizeLow || min_code_size > kGifMinCodeSizeHigh) return 0;
    const std::size_t codes = data_bytes * 8 / static_cast<std::size_t>(min_code_size + 1);
    if (codes >= 2 * kTableSize) return codes * kTableSize;
    return codes * (codes + 1) / 2;
}

}  // namespace quillon
