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

const std::string& EilPlist::GetVal() const {
    return EoList() ? kEscape : nodes_[cursor_].Val;
}

}  // namespace quillon
