#include <gtest/gtest.h>

#include <algorithm>

#include "html/image/gif_lzw.h"
#include "tests/html_image/gif_test_support.h"

namespace quillon {
namespace {

using gif_test::Bytes;
using gif_test::PackCodes;

Bytes Decode(int min_code_size, const std::vector<int>& codes, std::size_t room) {
    const Bytes data = PackCodes(min_code_size, codes);
    Bytes out(room, 0xEE);
    out.resize(DecodeGifLzw(data, min_code_size, out));
    return out;
}

TEST(GifLzw, DecodesLiteralsTableEntriesAndTheEntryBeingDefined) {
    // Min code size 2: clear 4, end 5, first free 6.
    // 1 -> "1"; 1 -> "1", defines 6 = "11"; 6 -> "11", defines 7 = "11"; 8, the entry
    // being defined, is the previous string plus its first pixel: "111".
    EXPECT_EQ(Decode(2, {4, 1, 1, 6, 8, 5}, 100), (Bytes{1, 1, 1, 1, 1, 1, 1}));
    // Codes cross the 3-to-4-bit width change (next free reaches 8).
    EXPECT_EQ(Decode(2, {4, 0, 1, 2, 3, 6, 7, 5}, 100), (Bytes{0, 1, 2, 3, 0, 1, 1, 2}));
    // A clear code in the middle restarts the table and the width.
    EXPECT_EQ(Decode(2, {4, 3, 2, 4, 1, 1, 6, 5}, 100), (Bytes{3, 2, 1, 1, 1, 1}));
}

TEST(GifLzw, StopsAtTheEndCodeAndWhenTheOutputIsFull) {
    EXPECT_EQ(Decode(2, {4, 1, 5, 2, 2}, 100), (Bytes{1}));
    // Codes that expand past the room given are cut at the room.
    EXPECT_EQ(Decode(2, {4, 1, 1, 6, 7, 5}, 5), (Bytes{1, 1, 1, 1, 1}));
    EXPECT_EQ(Decode(2, {4, 1, 2, 3}, 0), (Bytes{}));
}

TEST(GifLzw, CodesTheTableCannotDefineEndTheFrameAndKeepWhatWasDecoded) {
    // A code above the next free entry (9 free, 12 sent).
    EXPECT_EQ(Decode(2, {4, 0, 1, 2, 3, 12, 1, 5}, 100), (Bytes{0, 1, 2, 3}));
    // The first code after a clear must be a literal.
    EXPECT_EQ(Decode(2, {4, 6, 1, 5}, 100), (Bytes{}));
    EXPECT_EQ(Decode(2, {4, 2, 4, 7, 1}, 100), (Bytes{2}));
    // Data without a clear code starts with an empty table all the same.
    EXPECT_EQ(Decode(2, {3, 3, 6, 5}, 100), (Bytes{3, 3, 3, 3}));
}

TEST(GifLzw, TableThatFillsUpWithoutAClearCodeKeepsDecodingAtTwelveBits) {
    std::vector<int> codes{256};
    for (int i = 0; i < 5000; ++i) codes.push_back(i % 7);
    codes.push_back(257);
    const Bytes out = Decode(8, codes, 10000);
    ASSERT_EQ(out.size(), 5000u);
    for (int i = 0; i < 5000; ++i) ASSERT_EQ(out[static_cast<std::size_t>(i)], i % 7) << i;
}

// Sizes 9 to 11 leave fewer free entries but decode like the others; a literal above 255
// keeps its low byte.
TEST(GifLzw, MinimumCodeSizesNineToElevenDecode) {
    for (int size : {9, 10, 11}) {
        SCOPED_TRACE(size);
        const int clear = 1 << size;
        EXPECT_EQ(Decode(size, {clear, 1, 2, clear + 2, clear + 3, 300, clear + 1}, 100),
                  (Bytes{1, 2, 1, 2, 2, 1, 44}));
        // Every free entry defined, each one pixel longer than the one before: the table
        // fills up at 4096 entries and decoding goes on with what it holds.
        std::vector<int> codes{clear, 7};
        for (int c = clear + 2; c < 4096; ++c) codes.push_back(c);
        codes.push_back(4095);
        codes.push_back(3);
        codes.push_back(clear + 1);
        const std::size_t entries = static_cast<std::size_t>(4096 - clear - 2);
        const std::size_t expected = 1 + (entries + 1) * (entries + 2) / 2 + entries + 1;
        const Bytes out = Decode(size, codes, 10'000'000);
        ASSERT_EQ(out.size(), expected);
        EXPECT_EQ(out.back(), 3);
        EXPECT_EQ(std::count(out.begin(), out.end(), 7), static_cast<long>(expected - 1));
    }
}

TEST(GifLzw, TruncatedDataAndUnusableCodeSizes) {
    Bytes data = PackCodes(2, {4, 1, 2, 3, 1, 2, 3, 5});
    data.resize(2);  // 16 bits: clear and four codes of 3 bits
    Bytes out(50);
    EXPECT_EQ(DecodeGifLzw(data, 2, out), 4u);
    EXPECT_EQ(DecodeGifLzw({}, 2, out), 0u);
    for (int size : {0, 12, 255}) {
        EXPECT_EQ(DecodeGifLzw(data, size, out), 0u) << size;
        EXPECT_EQ(MaxGifLzwOutput(1000, size), 0u) << size;
    }
}

TEST(GifLzw, OutputBoundHoldsForTheMostCompressibleData) {
    // Codes 6, 7, 8, ... each one longer than the one before: the best case of LZW.
    std::vector<int> codes{4, 0};
    for (int c = 6; c < 4096; ++c) codes.push_back(c);
    codes.push_back(4095);
    codes.push_back(4095);
    const Bytes data = PackCodes(2, codes);
    Bytes out(20'000'000);
    const std::size_t decoded = DecodeGifLzw(data, 2, out);
    EXPECT_GT(decoded, 8'000'000u);
    EXPECT_GE(MaxGifLzwOutput(data.size(), 2), decoded);
    EXPECT_EQ(MaxGifLzwOutput(0, 2), 0u);
}

}  // namespace
}  // namespace quillon
