#include "html/style/rule_index.h"

#include <algorithm>

namespace quillon::css {

RuleIndex::RuleIndex(const StyleSheet& sheet) : sheet_(sheet) {
    for (std::size_t r = 0; r < sheet.rules.size(); ++r) {
        const auto& selectors = sheet.rules[r].selectors;
        for (std::size_t s = 0; s < selectors.size(); ++s) {
            const Entry e{r, s};
            const CompoundSelector& last = selectors[s].compounds.back();
            const SimpleSelector* cls = nullptr;
            const SimpleSelector* id = nullptr;
            for (const SimpleSelector& c : last.conditions) {
                if (c.negated) continue;
                if (c.kind == SimpleSelector::Kind::Id && !id) id = &c;
                if (c.kind == SimpleSelector::Kind::Class && !cls) cls = &c;
            }
            if (id) {
                by_id_[id->name].push_back(e);
            } else if (cls) {
                by_class_[cls->name].push_back(e);
            } else if (!last.tag.empty()) {
                by_tag_[last.tag].push_back(e);
            } else {
                rest_.push_back(e);
            }
        }
    }
}

void RuleIndex::TryBucket(const std::vector<Entry>& bucket, const StyleElement& element,
                          std::vector<RuleMatch>& out) const {
    for (const Entry& e : bucket) {
        ++last_tried_;
        const Selector& sel = sheet_.rules[e.rule].selectors[e.selector];
        if (Matches(sel, element)) out.push_back({e.rule, e.selector, sel.specificity});
    }
}

std::vector<RuleMatch> RuleIndex::Match(const StyleElement& element) const {
    last_tried_ = 0;
    std::vector<RuleMatch> out;
    auto lookup = [&](const Buckets& b, std::string_view key) {
        if (key.empty()) return;
        const auto it = b.find(std::string(key));
        if (it != b.end()) TryBucket(it->second, element, out);
    };
    lookup(by_id_, element.Id());
    // An element listing a class twice must not try that bucket twice.
    std::vector<std::string_view> seen;
    for (const std::string& c : element.Classes()) {
        if (std::find(seen.begin(), seen.end(), c) != seen.end()) continue;
        seen.push_back(c);
        lookup(by_class_, c);
    }
    lookup(by_tag_, element.TagName());
    TryBucket(rest_, element, out);
    std::sort(out.begin(), out.end(), [](const RuleMatch& a, const RuleMatch& b) {
        if (a.specificity != b.specificity) return a.specificity < b.specificity;
        if (a.rule != b.rule) return a.rule < b.rule;
        return a.selector < b.selector;
    });
    return out;
}

}  // namespace quillon::css
