#include "engine/eil_plist.h"

#include <utility>

namespace quillon {

namespace {
const std::string kEscape(1, EilPlist::kEndOfList);
}  // namespace

void EilPlist::Add(std::uint8_t x, std::uint8_t y, std::string s) {
    DataNodeRec node{x, y, 0, std::move(s)};
    if (cursor_ + 1 >= nodes_.size()) {
        nodes_.push_back(std::move(node));
        cursor_ = nodes_.size() - 1;
    } else {
        nodes_.insert(nodes_.begin() + static_cast<std::ptrdiff_t>(cursor_) + 1, std::move(node));
        ++cursor_;
    }
}

void EilPlist::AddCopy(std::uint8_t x, std::uint8_t y, std::string_view s) {
    if (spare_.empty()) {
        Add(x, y, std::string(s));
        return;
    }
    std::string text = std::move(spare_.back());
    spare_.pop_back();
    text.assign(s);
    Add(x, y, std::move(text));
}

void EilPlist::AddTaken(std::uint8_t x, std::uint8_t y, std::string& s) {
    if (spare_.empty()) {
        // Nothing to give back: a copy, so that s keeps its room for the next text.
        Add(x, y, std::string(s));
        s.clear();
        return;
    }
    std::string room = std::move(spare_.back());
    spare_.pop_back();
    room.clear();
    Add(x, y, std::move(s));
    s = std::move(room);
}

void EilPlist::Recycle() {
    for (DataNodeRec& node : nodes_) spare_.push_back(std::move(node.Val));
    Clear();
}

const std::string& EilPlist::GetVal() const {
    return EoList() ? kEscape : nodes_[cursor_].Val;
}

}  // namespace quillon
