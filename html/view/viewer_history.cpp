#include "html/view/viewer_history.h"

namespace quillon {

void TViewerHistory::Bump(const THistoryEntry& old_doc, const THistoryEntry& new_doc) {
    if (!entries_.empty() && !old_doc.File.empty() && index_ < Count()) {
        entries_[static_cast<std::size_t>(index_)] = old_doc;
        entries_.erase(entries_.begin(), entries_.begin() + index_);
    }
    index_ = 0;
    entries_.insert(entries_.begin(), new_doc);
    while (Count() > max_count_) entries_.pop_back();
}

void TViewerHistory::UpdateCurrent(const THistoryEntry& entry) {
    if (index_ >= 0 && index_ < Count()) entries_[static_cast<std::size_t>(index_)] = entry;
}

bool TViewerHistory::SetMaxCount(int n) {
    if (n < 0) return false;
    bool removed = false;
    if (n < max_count_) removed = Clear();
    max_count_ = n;
    return removed;
}

bool TViewerHistory::Clear() {
    const bool any = !entries_.empty();
    entries_.clear();
    index_ = 0;
    return any;
}

}  // namespace quillon
