#include "html/image/image_cache.h"

#include <algorithm>

namespace quillon {

const TBitmapItem* TStringBitmapList::Find(std::string_view key) const {
    const auto it = items_.find(key);
    return it == items_.end() ? nullptr : &it->second;
}

TBitmapItem& TStringBitmapList::AddObject(const std::string& key, TBitmapItem item) {
    item.UserCount = 1;
    item.IdleCount = 0;
    return items_.insert_or_assign(key, std::move(item)).first->second;
}

TBitmapItem* TStringBitmapList::GetImage(std::string_view key) {
    const auto it = items_.find(key);
    if (it == items_.end()) return nullptr;
    it->second.IdleCount = 0;
    ++it->second.UserCount;
    return &it->second;
}

void TStringBitmapList::DecUsage(std::string_view key) {
    const auto it = items_.find(key);
    if (it != items_.end()) it->second.UserCount = std::max(0, it->second.UserCount - 1);
}

template <typename Pred>
void TStringBitmapList::EraseIf(Pred pred) {
    std::erase_if(items_, [&](const auto& entry) { return pred(entry.second); });
}

void TStringBitmapList::BumpAndCheck() {
    for (auto& [key, item] : items_) ++item.IdleCount;
    const int keep = keep_count_;
    EraseIf(
        [keep](const TBitmapItem& item) { return item.UserCount <= 0 && item.IdleCount > keep; });
}

void TStringBitmapList::SetCacheCount(int n) {
    n = std::max(0, n);
    // Keeping nothing idle frees every unused entry, also one released since the last bump.
    EraseIf([n](const TBitmapItem& item) {
        return item.UserCount <= 0 && (item.IdleCount > n || n == 0);
    });
    keep_count_ = n;
}

void TStringBitmapList::PurgeCache() {
    EraseIf([](const TBitmapItem& item) { return item.UserCount <= 0; });
}

TStringBitmapList& BitmapList() {
    static TStringBitmapList list;
    return list;
}

}  // namespace quillon
