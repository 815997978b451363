#pragma once
// The distinct links of a document's text runs. Runs refer to a link here instead of each
// owning a copy; a link, once added, keeps its address until the table is destroyed.

#include <cstddef>
#include <functional>
#include <string>
#include <unordered_set>

#include "html/layout/url_target.h"

namespace quillon {

class TLinkTable {
  public:
    TLinkTable() = default;
    TLinkTable(const TLinkTable&) = delete;
    TLinkTable& operator=(const TLinkTable&) = delete;

    // The table's link equal to `link`, added when there is none.
    const TUrlTarget& Intern(const TUrlTarget& link) {
        if (last_ && *last_ == link) return *last_;
        last_ = &*links_.insert(link).first;
        return *last_;
    }
    std::size_t Count() const { return links_.size(); }

  private:
    struct Hash {
        std::size_t operator()(const TUrlTarget& l) const {
            const std::hash<std::string> h;
            return h(l.URL) ^ (h(l.Target) * 31);
        }
    };
    std::unordered_set<TUrlTarget, Hash> links_;
    const TUrlTarget* last_ = nullptr;  // the links of a run of rows often repeat
};

}  // namespace quillon
