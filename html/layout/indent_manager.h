#pragma once
// The left and right margins of a cell as they change down the page: list indents and the
// room taken by floating images and tables.
//
// Layout runs down the page, so records that end above the y of the latest addition can no
// longer narrow a line: they are dropped when the next record is added, which keeps every
// query proportional to the floats and list levels beside the current line rather than to
// all of them in the document. The bottoms that CLEAR and the cell height need are kept as
// running maxima.
// The README's glossary of inherited names explains this and its neighbours.

#include <limits>
#include <vector>

#include "html/layout/html_enums.h"

namespace quillon {

class TImageObj;

struct IndentRec {
    int Offset = 0;  // from the left edge (left list), or negative from the right edge
    int FromY = 0;
    int ToY = 0;         // exclusive
    int OwnerLevel = 0;  // 0: a floating object; else the list level that created it
};

class IndentManagerBasic {
  public:
    // The end of a list level's indent while the level is open: below any document.
    static constexpr int kOpenEnd = std::numeric_limits<int>::max();

    int AvailWidth = 0;
    int ClipWidth = 0;
    int ActiveLevel = 0;
    int LeftEdge = 0;
    int RightEdge = 0;

    // Empties both lists and forgets the floats' bottoms.
    void Clear();
    // Sets the edges and level 0.
    void Reset(int left_edge, int right_edge);

    int LeftIndent(int y) const;
    int RightSide(int y) const;
    // The bottom of the lowest float, 0 when none.
    int ImageBottom() const;
    struct ClearY {
        int left = 0;
        int right = 0;
    };
    // One more than the bottom of the lowest left and right float (0 when none).
    ClearY GetClearY() const;
    // One more than the bottom of the left records reaching further right than the active
    // list level's indent (1 when there are none).
    int GetLevelClear() const;
    // Opens list levels up to `level` at y, or closes the deeper ones at y - 1.
    void SetLevel(int y, int level);
    // A floating table reserves width x height at y on its side.
    void UpdateTable(int y, int width, AlignmentType align, int height);

    // The records still in force (for tests and the layout dump).
    const std::vector<IndentRec>& LeftRecords() const { return left_; }
    const std::vector<IndentRec>& RightRecords() const { return right_; }

  protected:
    void AddLeft(const IndentRec& r, int y);
    void AddRight(const IndentRec& r, int y);

  private:
    void NoteFloat(const IndentRec& r, bool left);
    void Prune(int y);

    std::vector<IndentRec> left_;
    std::vector<IndentRec> right_;
    int float_bottom_ = 0;        // largest ToY of the floating records, 0 when none
    int left_float_bottom_ = -1;  // largest ToY of the left floating records, -1 when none
    int right_float_bottom_ = -1;
};

class IndentManager : public IndentManagerBasic {
  public:
    // Places a floating image at y and reserves its width plus side space for its height.
    void Update(int y, TImageObj& image);
};

}  // namespace quillon
