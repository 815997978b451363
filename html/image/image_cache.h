#pragma once
// The process-wide image cache: every picture is decoded once for all documents and
// viewers. An entry counts the documents using it (UserCount) and the cache bumps since
// it was last taken (IdleCount); entries without users are freed once they have been
// idle for more than KeepCount bumps, or at once by PurgeCache.

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "html/image/gif_image.h"
#include "platform/core/image_types.h"
#include "platform/core/rgba_image.h"

namespace quillon {

struct TBitmapItem {
    int IdleCount = 0;
    int UserCount = 0;
    Transparency TranspKind = Transparency::NotTransp;
    // A still picture (transparency in its alpha) or an animated GIF, which every use
    // copies so that each occurrence animates by itself.
    std::shared_ptr<const RgbaImage> Picture;
    std::shared_ptr<const TGIFImage> Gif;
    // Picture with the lower-left colour made transparent, made on the first request.
    std::shared_ptr<const RgbaImage> LowerLeftMasked;
};

class TStringBitmapList {
  public:
    static constexpr int kDefaultKeepCount = 4;

    int KeepCount() const { return keep_count_; }
    std::size_t Count() const { return items_.size(); }
    bool Contains(std::string_view key) const { return Find(key) != nullptr; }
    // The entry under key, or null; looking does not count as a use.
    const TBitmapItem* Find(std::string_view key) const;

    // Stores a new entry with one user (replacing an entry of the same key).
    TBitmapItem& AddObject(const std::string& key, TBitmapItem item);
    // Takes the entry under key for one more user: its idle count starts again at 0.
    // Null when there is none.
    TBitmapItem* GetImage(std::string_view key);
    // One user fewer (never below 0).
    void DecUsage(std::string_view key);

    // One more document load: every idle count grows, and entries without users idle for
    // more than KeepCount loads are freed.
    void BumpAndCheck();
    // Frees the entries without users idle for more than n loads (n = 0: every entry
    // without users); n becomes KeepCount.
    void SetCacheCount(int n);
    // Frees every entry without users.
    void PurgeCache();
    // Frees everything.
    void Clear() { items_.clear(); }

  private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const {
            return std::hash<std::string_view>{}(s);
        }
    };
    template <typename Pred>
    void EraseIf(Pred pred);

    std::unordered_map<std::string, TBitmapItem, Hash, std::equal_to<>> items_;
    int keep_count_ = kDefaultKeepCount;
};

// The cache shared by every document of the process.
TStringBitmapList& BitmapList();

}  // namespace quillon
