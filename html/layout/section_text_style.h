#pragma once
// How a styled block lays out its lines: the indent of its first line, the height of its
// line boxes and whether its lines wrap. Sections of documents without style have none;
// the document keeps the few distinct values and a section refers to one by number, so
// that a section grows by nothing.

#include <cstdint>
#include <map>
#include <tuple>
#include <vector>

namespace quillon {

struct SectionTextStyle {
    // The first line's indent: pixels, or a percentage of the block's width when
    // IndentIsPercent. Negative values pull the line out to the left, not past the
    // block's left edge.
    double Indent = 0;
    bool IndentIsPercent = false;
    bool FirstLine = false;  // the section holds the block's first line
    bool NoWrap = false;     // lines break only where the text does (nowrap, pre)
    int LineHeight = 0;      // pixels of every line box; 0: the fonts decide
    // When not 0: a line box is this times the size of the largest font in the line, so
    // that a heading's lines grow with its font (LineHeight is then 0).
    double LineHeightFactor = 0;

    friend bool operator==(const SectionTextStyle&, const SectionTextStyle&) = default;
    auto Key() const {
        return std::tuple(Indent, IndentIsPercent, FirstLine, NoWrap, LineHeight, LineHeightFactor);
    }

    // The first line's indent in a block `width` pixels wide.
    int IndentPx(int width) const;
};

// The distinct text styles of one document, numbered from 1 (0: none).
class SectionTextStyles {
  public:
    // The number of `style` (added when new); 0 when the table is full.
    std::uint16_t Intern(const SectionTextStyle& style);
    // The style of number n, or null (0 and unknown numbers).
    const SectionTextStyle* Find(std::uint16_t n) const {
        return n == 0 || n > styles_.size() ? nullptr : &styles_[n - 1u];
    }
    void Clear() {
        styles_.clear();
        numbers_.clear();
    }

  private:
    std::vector<SectionTextStyle> styles_;
    std::map<decltype(SectionTextStyle{}.Key()), std::uint16_t> numbers_;
};

}  // namespace quillon
