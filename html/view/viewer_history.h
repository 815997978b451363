#pragma once
// The viewer's history of shown documents: entry 0 is the newest, Index() the one shown.

#include <cstdint>
#include <string>
#include <vector>

#include "html/view/viewer_types.h"

namespace quillon {

struct THistoryEntry {
    std::string File;
    std::string Title;
    std::int64_t Pos = 0;  // a viewer Position
    TFileType FileType = TFileType::HTMLType;
    friend bool operator==(const THistoryEntry&, const THistoryEntry&) = default;
};

class TViewerHistory {
  public:
    const std::vector<THistoryEntry>& Entries() const { return entries_; }
    int Count() const { return static_cast<int>(entries_.size()); }
    int Index() const { return index_; }
    void SetIndex(int i) { index_ = i; }
    int MaxCount() const { return max_count_; }

    // After a new document was shown: the shown entry takes the old document's state, the
    // entries newer than it go, the new document becomes entry 0 and the oldest beyond
    // MaxCount is dropped. The caller checks that there is anything to record.
    void Bump(const THistoryEntry& old_doc, const THistoryEntry& new_doc);
    // Updates the entry shown (when there is one).
    void UpdateCurrent(const THistoryEntry& entry);
    // n < 0 is ignored; a smaller count clears the history first. True when entries went.
    bool SetMaxCount(int n);
    // True when anything was removed.
    bool Clear();

  private:
    std::vector<THistoryEntry> entries_;
    int index_ = 0;
    int max_count_ = 0;
};

}  // namespace quillon
