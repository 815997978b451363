#pragma once
// Finds the style rules whose selectors match an element without trying every rule: each
// selector is filed under the most selective part of its last compound (its id, else a
// class, else its type), so only the buckets of the element's id, classes and tag, and the
// selectors with none of these, are tried.

#include <string>
#include <unordered_map>
#include <vector>

#include "html/style/selector_match.h"
#include "html/style/style_element.h"
#include "html/style/style_sheet.h"

namespace quillon::css {

// One selector of one rule that matched.
struct RuleMatch {
    std::size_t rule = 0;      // index into StyleSheet::rules
    std::size_t selector = 0;  // index into that rule's selectors
    Specificity specificity{0, 0, 0};
};

class RuleIndex {
  public:
    // Indexes `sheet`, which must outlive the index and stay unchanged.
    explicit RuleIndex(const StyleSheet& sheet);

    // The matching selectors of `element`, in cascade order: by specificity, then by source
    // order. A rule appears once per matching selector.
    std::vector<RuleMatch> Match(const StyleElement& element) const;

    // How many selectors the last Match() call tried (for measuring the index).
    std::size_t LastTried() const { return last_tried_; }

  private:
    struct Entry {
        std::size_t rule;
        std::size_t selector;
    };
    using Buckets = std::unordered_map<std::string, std::vector<Entry>>;

    void TryBucket(const std::vector<Entry>& bucket, const StyleElement& element,
                   std::vector<RuleMatch>& out) const;

    const StyleSheet& sheet_;
    Buckets by_id_;
    Buckets by_class_;
    Buckets by_tag_;
    std::vector<Entry> rest_;
    mutable std::size_t last_tried_ = 0;
};

}  // namespace quillon::css
