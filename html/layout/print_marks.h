#pragma once
// What a printed document marks besides its ink: the anchors (A NAME) that its links jump
// to and the headings that the outline of a PDF file lists, kept by the section they
// belong to. Drawing hands them to the canvas only while printing (see TPrintMarker).

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace quillon {

class TSectionBase;

struct TSectionMarks {
    std::vector<std::string> Anchors;  // upper-cased names
    int HeadingLevel = 0;              // 1 for H1; 0 when the section starts no heading
    std::string HeadingTitle;          // UTF-8
};

class TPrintMarks {
  public:
    bool Empty() const { return by_section_.empty(); }
    // The anchor `name` (upper-cased) at the top of `section`.
    void AddAnchor(const TSectionBase& section, std::string name);
    // `section` is the first one of a heading of `level` whose text is `title`.
    void SetHeading(const TSectionBase& section, int level, std::string title);
    // The marks of `section`, or null.
    const TSectionMarks* Find(const TSectionBase& section) const;
    // Whether the document has the anchor `name` (upper-cased).
    bool HasAnchor(std::string_view name) const { return names_.find(name) != names_.end(); }
    // `copy` (a copy of `src` made for another document) gets the marks `from` has for src.
    void CopyFrom(const TPrintMarks& from, const TSectionBase& src, const TSectionBase& copy);
    void Clear();

  private:
    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const {
            return std::hash<std::string_view>{}(s);
        }
    };
    std::unordered_map<const TSectionBase*, TSectionMarks> by_section_;
    std::unordered_set<std::string, NameHash, std::equal_to<>> names_;
};

// The text of a heading as an outline shows it: placeholders of images and controls
// dropped, runs of white space folded into one space, no space at either end.
std::string HeadingTitle(std::u32string_view text);

}  // namespace quillon
