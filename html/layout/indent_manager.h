#pragma once
// The left and right margins of a cell as they change down the page: list indents and the
// room taken by floating images and tables.

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
    int AvailWidth = 0;
    int ClipWidth = 0;
    std::vector<IndentRec> Left;
    std::vector<IndentRec> Right;
    int ActiveLevel = 0;
    int LeftEdge = 0;
    int RightEdge = 0;

    void Clear();
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
    int GetLevelClear() const;
    void SetLevel(int y, int level);
    // A floating table reserves width x height at y on its side.
    void UpdateTable(int y, int width, AlignmentType align, int height);
};

class IndentManager : public IndentManagerBasic {
  public:
    // Places a floating image at y and reserves its width plus side space for its height.
    void Update(int y, TImageObj& image);
};

}  // namespace quillon
