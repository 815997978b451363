#pragma once
// Builds GIF files byte by byte for tests, including malformed ones: raw LZW codes with the
// code widths a decoder expects, sub-blocks of any size, any extension label.

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "html/image/gif_types.h"

namespace quillon::gif_test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::string DataPath(std::string_view name) {
    return std::string(QUILLON_TEST_DATA) + "/gif/" + std::string(name);
}

// LZW codes packed least significant bit first, each with the width the decoder reads it
// at: the width grows when the next free entry reaches 1 << width, a clear code resets it.
// Sizes a decoder cannot use are packed as the nearest usable one.
inline Bytes PackCodes(int min_code_size, const std::vector<int>& codes) {
    min_code_size = std::clamp(min_code_size, 1, 11);
    const int clear = 1 << min_code_size;
    int width = min_code_size + 1;
    int next = clear + 2;
    bool have_prev = false;
    Bytes out;
    std::uint32_t acc = 0;
    int bits = 0;
    for (int code : codes) {
        acc |= static_cast<std::uint32_t>(code) << bits;
        bits += width;
        while (bits >= 8) {
            out.push_back(static_cast<std::uint8_t>(acc));
            acc >>= 8;
            bits -= 8;
        }
        if (code == clear) {
            width = min_code_size + 1;
            next = clear + 2;
            have_prev = false;
            continue;
        }
        if (have_prev && next < 4096) {
            ++next;
            if (next == (1 << width) && width < 12) ++width;
        }
        have_prev = true;
    }
    if (bits > 0) out.push_back(static_cast<std::uint8_t>(acc));
    return out;
}

// Pixels sent as literal codes only, behind a clear code and followed by the end code.
inline Bytes EncodeLiterals(int min_code_size, const Bytes& pixels) {
    const int clear = 1 << min_code_size;
    std::vector<int> codes{clear};
    int emitted = 0;
    for (std::uint8_t p : pixels) {
        // Clear before the table fills so the widths stay small and the stream stays valid.
        if (emitted == 4000) {
            codes.push_back(clear);
            emitted = 0;
        }
        codes.push_back(p);
        ++emitted;
    }
    codes.push_back(clear + 1);
    return PackCodes(min_code_size, codes);
}

// Data in sub-blocks of at most block_size bytes, then the terminator.
inline Bytes SubBlocks(const Bytes& data, std::size_t block_size = 255) {
    Bytes out;
    for (std::size_t i = 0; i < data.size(); i += block_size) {
        const std::size_t n = std::min(block_size, data.size() - i);
        out.push_back(static_cast<std::uint8_t>(n));
        out.insert(out.end(), data.begin() + static_cast<long>(i),
                   data.begin() + static_cast<long>(i + n));
    }
    out.push_back(0);
    return out;
}

class GifBuilder {
  public:
    // palette_bits 0: no global colour table.
    GifBuilder(int width, int height, int palette_bits = 2,
               const std::vector<TRGBColor>& palette = DefaultPalette()) {
        Append("GIF89a");
        Word(width);
        Word(height);
        bytes_.push_back(palette_bits > 0 ? static_cast<std::uint8_t>(0x80 | (palette_bits - 1))
                                          : 0);
        bytes_.push_back(0);
        bytes_.push_back(0);
        if (palette_bits > 0) Table(palette_bits, palette);
    }

    static std::vector<TRGBColor> DefaultPalette() {
        return {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    }

    GifBuilder& Control(int disposal, int delay, bool transparent = false, int index = 0) {
        bytes_.insert(bytes_.end(), {0x21, 0xF9, 4});
        bytes_.push_back(static_cast<std::uint8_t>((disposal << 2) | (transparent ? 1 : 0)));
        Word(delay);
        bytes_.push_back(static_cast<std::uint8_t>(index));
        bytes_.push_back(0);
        return *this;
    }
    GifBuilder& Loop(int count) {
        bytes_.insert(bytes_.end(), {0x21, 0xFF, 11});
        Append("NETSCAPE2.0");
        bytes_.insert(bytes_.end(), {3, 1});
        Word(count);
        bytes_.push_back(0);
        return *this;
    }
    GifBuilder& Comment(std::string_view text) {
        bytes_.insert(bytes_.end(), {0x21, 0xFE});
        Raw(SubBlocks(Bytes(text.begin(), text.end())));
        return *this;
    }
    GifBuilder& Extension(int label, const Bytes& data, std::size_t block_size = 255) {
        bytes_.insert(bytes_.end(), {0x21, static_cast<std::uint8_t>(label)});
        Raw(SubBlocks(data, block_size));
        return *this;
    }
    // A frame of literal codes; pixels in image row order. local_bits > 0 adds a local
    // colour table.
    GifBuilder& Frame(int left, int top, int width, int height, const Bytes& pixels,
                      bool interlaced = false, int local_bits = 0,
                      const std::vector<TRGBColor>& local = {}) {
        Bytes ordered = pixels;
        if (interlaced) {
            ordered.clear();
            for (int start : {0, 4, 2, 1}) {
                const int step = start == 0 ? 8 : start == 4 ? 8 : start == 2 ? 4 : 2;
                for (int y = start; y < height; y += step) {
                    ordered.insert(ordered.end(), pixels.begin() + y * width,
                                   pixels.begin() + (y + 1) * width);
                }
            }
        }
        Descriptor(left, top, width, height, interlaced, local_bits, local);
        bytes_.push_back(2);
        Raw(SubBlocks(EncodeLiterals(2, ordered)));
        return *this;
    }
    // A frame whose data is the given LZW codes.
    GifBuilder& FrameCodes(int left, int top, int width, int height, int min_code_size,
                           const std::vector<int>& codes) {
        Descriptor(left, top, width, height, false, 0, {});
        bytes_.push_back(static_cast<std::uint8_t>(min_code_size));
        Raw(SubBlocks(PackCodes(min_code_size, codes)));
        return *this;
    }
    GifBuilder& Descriptor(int left, int top, int width, int height, bool interlaced,
                           int local_bits, const std::vector<TRGBColor>& local) {
        bytes_.push_back(',');
        Word(left);
        Word(top);
        Word(width);
        Word(height);
        bytes_.push_back(static_cast<std::uint8_t>((local_bits > 0 ? 0x80 | (local_bits - 1) : 0) |
                                                   (interlaced ? 0x40 : 0)));
        if (local_bits > 0) Table(local_bits, local);
        return *this;
    }
    GifBuilder& Raw(const Bytes& data) {
        bytes_.insert(bytes_.end(), data.begin(), data.end());
        return *this;
    }
    GifBuilder& Trailer() {
        bytes_.push_back(';');
        return *this;
    }
    const Bytes& bytes() const { return bytes_; }

  private:
    void Append(std::string_view s) {
        for (char c : s) bytes_.push_back(static_cast<std::uint8_t>(c));
    }
    void Word(int v) {
        bytes_.push_back(static_cast<std::uint8_t>(v & 0xFF));
        bytes_.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
    }
    void Table(int bits, const std::vector<TRGBColor>& palette) {
        for (int i = 0; i < (1 << bits); ++i) {
            const TRGBColor c = i < static_cast<int>(palette.size()) ? palette[i] : TRGBColor{};
            bytes_.insert(bytes_.end(), {c.red, c.green, c.blue});
        }
    }

    Bytes bytes_;
};

}  // namespace quillon::gif_test
