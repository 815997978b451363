#pragma once
// A bounds-checked cursor over the bytes of a GIF file. Every read past the end fails
// instead of touching memory outside the data.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace quillon {

class GifByteReader {
  public:
    explicit GifByteReader(std::span<const std::uint8_t> data) : data_(data) {}

    bool AtEnd() const { return pos_ >= data_.size(); }
    std::size_t Remaining() const { return data_.size() - pos_; }

    bool ReadByte(std::uint8_t& out) {
        if (pos_ >= data_.size()) return false;
        out = data_[pos_++];
        return true;
    }
    bool ReadWord(std::uint16_t& out) {  // little-endian
        if (Remaining() < 2) return false;
        out = static_cast<std::uint16_t>(data_[pos_] | (data_[pos_ + 1] << 8));
        pos_ += 2;
        return true;
    }
    // The next n bytes, or an empty span (and nothing consumed) when fewer remain.
    std::span<const std::uint8_t> Take(std::size_t n) {
        if (Remaining() < n) return {};
        auto part = data_.subspan(pos_, n);
        pos_ += n;
        return part;
    }

    // The next data sub-block (its length byte consumed). False at the block terminator
    // (a zero length) or when the data ends; a sub-block cut short by the end of the data
    // yields what is there and moves to the end.
    bool NextSubBlock(std::span<const std::uint8_t>& block) {
        std::uint8_t size = 0;
        if (!ReadByte(size) || size == 0) return false;
        const std::size_t n = size <= Remaining() ? size : Remaining();
        block = data_.subspan(pos_, n);
        pos_ += n;
        return true;
    }
    // Skips sub-blocks up to and including the terminator (or to the end of the data).
    void SkipSubBlocks() {
        std::span<const std::uint8_t> block;
        while (NextSubBlock(block)) {
        }
    }
    // Appends the bytes of all sub-blocks to out, through the terminator.
    void ReadSubBlocks(std::vector<std::uint8_t>& out) {
        std::span<const std::uint8_t> block;
        while (NextSubBlock(block)) out.insert(out.end(), block.begin(), block.end());
    }

  private:
    std::span<const std::uint8_t> data_;
    std::size_t pos_ = 0;
};

}  // namespace quillon
