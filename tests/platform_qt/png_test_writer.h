#pragma once
// A small PNG writer for tests: any colour type and bit depth from plain sample values,
// with optional PLTE and tRNS chunks. The image data is stored uncompressed (deflate
// "stored" blocks), so no compression library is needed.

#include <cstdint>
#include <string_view>
#include <vector>

namespace quillon::png_test {

using Bytes = std::vector<std::uint8_t>;

inline std::uint32_t Crc32(const Bytes& bytes, std::size_t from) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = from; i < bytes.size(); ++i) {
        crc ^= bytes[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return crc ^ 0xFFFFFFFFu;
}

inline void PutBe32(Bytes& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(v >> shift));
}

inline void PutChunk(Bytes& out, std::string_view type, const Bytes& data) {
    PutBe32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type.begin(), type.end());
    out.insert(out.end(), data.begin(), data.end());
    PutBe32(out, Crc32(out, start));
}

// A zlib stream holding the bytes in stored blocks.
inline Bytes StoredZlib(const Bytes& raw) {
    Bytes out{0x78, 0x01};
    std::size_t at = 0;
    do {
        const std::size_t n = std::min<std::size_t>(raw.size() - at, 65535);
        out.push_back(at + n == raw.size() ? 1 : 0);
        out.push_back(static_cast<std::uint8_t>(n));
        out.push_back(static_cast<std::uint8_t>(n >> 8));
        out.push_back(static_cast<std::uint8_t>(~n));
        out.push_back(static_cast<std::uint8_t>(~n >> 8));
        out.insert(out.end(), raw.begin() + static_cast<std::ptrdiff_t>(at),
                   raw.begin() + static_cast<std::ptrdiff_t>(at + n));
        at += n;
    } while (at < raw.size());
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    PutBe32(out, (b << 16) | a);
    return out;
}

inline int ChannelsOf(int colour_type) {
    switch (colour_type) {
        case 2:
            return 3;
        case 4:
            return 2;
        case 6:
            return 4;
        default:
            return 1;  // grey, palette
    }
}

struct PngFile {
    int width = 1;
    int height = 1;
    int depth = 8;
    int colour_type = 0;
    std::vector<std::uint16_t> samples;  // row by row, ChannelsOf(colour_type) a pixel
    Bytes palette;                       // PLTE data (r, g, b a entry), when not empty
    Bytes transparency;                  // tRNS data, when not empty
};

inline Bytes MakePng(const PngFile& file) {
    const int channels = ChannelsOf(file.colour_type);
    Bytes raw;
    std::size_t sample = 0;
    for (int y = 0; y < file.height; ++y) {
        raw.push_back(0);  // filter: none
        int bits = 0;
        std::uint32_t acc = 0;
        for (int i = 0; i < file.width * channels; ++i) {
            const std::uint16_t v = file.samples.at(sample++);
            if (file.depth == 16) {
                raw.push_back(static_cast<std::uint8_t>(v >> 8));
                raw.push_back(static_cast<std::uint8_t>(v));
                continue;
            }
            acc = (acc << file.depth) | v;
            bits += file.depth;
            if (bits == 8) {
                raw.push_back(static_cast<std::uint8_t>(acc));
                acc = 0;
                bits = 0;
            }
        }
        if (bits > 0) raw.push_back(static_cast<std::uint8_t>(acc << (8 - bits)));
    }
    Bytes out{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    Bytes header;
    PutBe32(header, static_cast<std::uint32_t>(file.width));
    PutBe32(header, static_cast<std::uint32_t>(file.height));
    header.insert(header.end(), {static_cast<std::uint8_t>(file.depth),
                                 static_cast<std::uint8_t>(file.colour_type), 0, 0, 0});
    PutChunk(out, "IHDR", header);
    if (!file.palette.empty()) PutChunk(out, "PLTE", file.palette);
    if (!file.transparency.empty()) PutChunk(out, "tRNS", file.transparency);
    PutChunk(out, "IDAT", StoredZlib(raw));
    PutChunk(out, "IEND", {});
    return out;
}

}  // namespace quillon::png_test
