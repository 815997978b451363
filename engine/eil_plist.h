#pragma once
// EilPlist: a list of text fragments, each tagged with two bytes, read through a cursor.
// The loader keeps template fragments in it (X = slot width, Y = decimals); line building
// uses it for output lines (X = level, Y = 0).

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

struct DataNodeRec {
    std::uint8_t X = 0;
    std::uint8_t Y = 0;
    std::uint8_t Reserved = 0;  // always 0
    std::string Val;
};

class EilPlist {
  public:
    // The text GetVal returns when the cursor is past the end: the escape character.
    static constexpr char kEndOfList = '\x1b';

    // Appends a node after the cursor node and makes it the cursor (at the end when the
    // cursor is past the end).
    void Add(std::uint8_t x, std::uint8_t y, std::string s);
    // The same with a copy of s, made in the room of a node freed by Recycle when there
    // is one (a list reused line after line allocates nothing once warm).
    void AddCopy(std::uint8_t x, std::uint8_t y, std::string_view s);
    // The same, taking the text of s without a copy when a node freed by Recycle can give
    // s its room in exchange (else a copy). s is left empty.
    void AddTaken(std::uint8_t x, std::uint8_t y, std::string& s);

    void First() { cursor_ = 0; }
    void Next() {
        if (cursor_ < nodes_.size()) ++cursor_;
    }
    bool EoList() const { return cursor_ >= nodes_.size(); }

    // The cursor node's text; "\x1b" (never "") when the cursor is past the end.
    const std::string& GetVal() const;
    std::uint8_t GetX() const { return EoList() ? 0 : nodes_[cursor_].X; }
    std::uint8_t GetY() const { return EoList() ? 0 : nodes_[cursor_].Y; }
    void PutX(std::uint8_t x) {
        if (!EoList()) nodes_[cursor_].X = x;
    }
    void PutY(std::uint8_t y) {
        if (!EoList()) nodes_[cursor_].Y = y;
    }
    // The cursor node, or nullptr past the end.
    DataNodeRec* EilData() { return EoList() ? nullptr : &nodes_[cursor_]; }

    // Read access without the cursor (for walking a list in a loop).
    bool Empty() const { return nodes_.empty(); }
    std::size_t Count() const { return nodes_.size(); }
    const DataNodeRec& operator[](std::size_t i) const { return nodes_[i]; }
    std::vector<DataNodeRec>::const_iterator begin() const { return nodes_.begin(); }
    std::vector<DataNodeRec>::const_iterator end() const { return nodes_.end(); }

    void Clear() {
        nodes_.clear();
        cursor_ = 0;
    }
    // Clear, keeping the texts' room for AddCopy and AddTaken.
    void Recycle();

  private:
    std::vector<DataNodeRec> nodes_;
    std::size_t cursor_ = 0;          // == nodes_.size(): past the end
    std::vector<std::string> spare_;  // room of recycled texts
};

}  // namespace quillon
