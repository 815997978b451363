#include "html/layout/print_marks.h"

#include "html/layout/html_enums.h"
#include "platform/core/text_encoding.h"

namespace quillon {

void TPrintMarks::AddAnchor(const TSectionBase& section, std::string name) {
    names_.insert(name);
    by_section_[&section].Anchors.push_back(std::move(name));
}

void TPrintMarks::SetHeading(const TSectionBase& section, int level, std::string title) {
    TSectionMarks& marks = by_section_[&section];
    marks.HeadingLevel = level;
    marks.HeadingTitle = std::move(title);
}

const TSectionMarks* TPrintMarks::Find(const TSectionBase& section) const {
    const auto it = by_section_.find(&section);
    return it == by_section_.end() ? nullptr : &it->second;
}

void TPrintMarks::CopyFrom(const TPrintMarks& from, const TSectionBase& src,
                           const TSectionBase& copy) {
    const TSectionMarks* marks = from.Find(src);
    if (!marks) return;
    for (const std::string& name : marks->Anchors) names_.insert(name);
    by_section_[&copy] = *marks;
}

void TPrintMarks::Clear() {
    by_section_.clear();
    names_.clear();
}

std::string HeadingTitle(std::u32string_view text) {
    std::u32string folded;
    bool space = false;
    for (const char32_t c : text) {
        if (c == kImageChar || c == kFormControlChar || c == kInlineBlockChar) continue;
        if (c == U' ' || c == U'\t' || c == U'\n' || c == U'\r' || c == 0xA0) {
            space = !folded.empty();
            continue;
        }
        if (space) folded.push_back(U' ');
        space = false;
        folded.push_back(c);
    }
    return text::ToUtf8(folded);
}

}  // namespace quillon
