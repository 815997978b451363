#pragma once
// An ordered list of sections: the document itself, a table cell and a table caption. Its
// margins are tracked by an indent manager that exists only while the cell is laid out.
// A table holds one per cell, so it has no virtual functions: nothing deletes a document
// through a TCell pointer.

#include <memory>
#include <vector>

#include "html/layout/indent_manager.h"
#include "html/layout/inline_first_vector.h"
#include "html/layout/section_base.h"
#include "platform/core/canvas.h"

namespace quillon {

class TSectionList;
class SelTextCount;

class TCell {
  public:
    explicit TCell(TSectionList* doc) : Document(doc) {}
    TCell(const TCell&) = delete;
    TCell& operator=(const TCell&) = delete;
    ~TCell();

    TSectionList* Document;  // not owned
    int TopY = 0;
    int StartCurs = 0;
    int Len = 0;
    Color BkColor = 0;

    // Appends a section and makes it join the document. An empty preformatted section
    // first receives one space.
    void Add(std::unique_ptr<TSectionBase> section);
    // Appends copies of every section of src, made for this cell's document.
    void CopySectionsFrom(const TCell& src);
    void Clear() { sections_.clear(); }

    int Count() const { return static_cast<int>(sections_.size()); }
    bool Empty() const { return sections_.empty(); }
    TSectionBase& operator[](int i) { return *sections_[static_cast<std::size_t>(i)]; }
    const TSectionBase& operator[](int i) const { return *sections_[static_cast<std::size_t>(i)]; }
    const InlineFirstVector<std::unique_ptr<TSectionBase>>& Sections() const { return sections_; }

    // Lays out every section from y within `width`; returns the cell's height (at least
    // down to the bottom of its floats). Widens scroll_width to the widest line.
    int DoLogic(Canvas& canvas, int y, int width, int& scroll_width, int& cursor);
    // Paints the sections that the clip shows.
    void Draw(Canvas& canvas, const Rect& clip, int width, int x, int y) {
        DrawSections(canvas, clip, width, x, y, 0);
    }
    // Paints the sections from index `first` (drawn at y) down to the clip's bottom.
    void DrawSections(Canvas& canvas, const Rect& clip, int width, int x, int y, std::size_t first);
    // The widest minimum and maximum of the sections.
    MinMax MinMaxWidth(Canvas& canvas);
    void CopyToClipboard(SelTextCount& sink) const;
    void UpdateFonts();
    // The section at document y (by the heights of the sections), or null.
    TSectionBase* FindSectionAtPosition(int y, int* index = nullptr);

    std::optional<UrlHit> GetURL(Canvas& canvas, int x, int y);
    CursorHit FindCursor(Canvas& canvas, int x, int y);
    int FindString(int from, std::u32string_view to_find, bool match_case, char32_t replacement);
    std::optional<Point> CursorToXY(Canvas& canvas, int cursor);
    std::optional<char32_t> GetChAtPos(int pos) const;

  private:
    InlineFirstVector<std::unique_ptr<TSectionBase>> sections_;

  public:
    // Last, so that the object ends in this byte: a table cell places its own flags in the
    // padding after it.
    bool BkGnd = false;  // has its own background colour
};

}  // namespace quillon
