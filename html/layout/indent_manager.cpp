#include "html/layout/indent_manager.h"

#include <algorithm>

#include "html/layout/image_obj.h"

namespace quillon {

namespace {

constexpr int kOpenEnd = 9999999;

bool Covers(const IndentRec& r, int y) {
    return r.FromY <= y && y < r.ToY;
}

}  // namespace

void IndentManagerBasic::Clear() {
    Left.clear();
    Right.clear();
}

void IndentManagerBasic::Reset(int left_edge, int right_edge) {
    LeftEdge = left_edge;
    RightEdge = right_edge;
    ActiveLevel = 0;
}

int IndentManagerBasic::LeftIndent(int y) const {
    int offset = 0;
    for (const IndentRec& r : Left) {
        if (Covers(r, y)) offset = std::max(offset, r.Offset);
    }
    return LeftEdge + offset;
}

int IndentManagerBasic::RightSide(int y) const {
    int offset = 0;
    for (const IndentRec& r : Right) {
        if (Covers(r, y)) offset = std::min(offset, r.Offset);
    }
    return RightEdge + offset;
}

int IndentManagerBasic::ImageBottom() const {
    int bottom = 0;
    for (const auto* list : {&Left, &Right}) {
        for (const IndentRec& r : *list) {
            if (r.OwnerLevel == 0) bottom = std::max(bottom, r.ToY);
        }
    }
    return bottom;
}

IndentManagerBasic::ClearY IndentManagerBasic::GetClearY() const {
    ClearY c{-1, -1};
    for (const IndentRec& r : Left) {
        if (r.OwnerLevel == 0) c.left = std::max(c.left, r.ToY);
    }
    for (const IndentRec& r : Right) {
        if (r.OwnerLevel == 0) c.right = std::max(c.right, r.ToY);
    }
    return ClearY{c.left + 1, c.right + 1};
}

int IndentManagerBasic::GetLevelClear() const {
    int level_offset = 0;
    for (auto it = Left.rbegin(); it != Left.rend(); ++it) {
        if (it->OwnerLevel == ActiveLevel) {
            level_offset = it->Offset;
            break;
        }
    }
    int bottom = 0;
    for (const IndentRec& r : Left) {
        if (r.Offset > level_offset) bottom = std::max(bottom, r.ToY);
    }
    return bottom + 1;
}

void IndentManagerBasic::SetLevel(int y, int level) {
    if (level > ActiveLevel) {
        for (int l = ActiveLevel + 1; l <= level; ++l) {
            Left.push_back(IndentRec{LeftIndent(y) - LeftEdge + 35, y, kOpenEnd, l});
        }
    } else if (level < ActiveLevel) {
        for (IndentRec& r : Left) {
            if (r.OwnerLevel > level) {
                r.ToY = y - 1;
                r.OwnerLevel = 0;
            }
        }
    }
    ActiveLevel = level;
}

void IndentManagerBasic::UpdateTable(int y, int width, AlignmentType align, int height) {
    if (align == AlignmentType::ALeft) {
        Left.push_back(IndentRec{LeftIndent(y) - LeftEdge + width, y, y + height, 0});
    } else if (align == AlignmentType::ARight) {
        Right.push_back(IndentRec{RightSide(y) - RightEdge - width, y, y + height, 0});
    }
}

void IndentManager::Update(int y, TImageObj& image) {
    const int room = image.DrawnWidth + image.SideSpace;
    if (image.Placement == AlignmentType::ALeft) {
        const int x = LeftIndent(y);
        image.FloatX = x;
        image.FloatY = y;
        Left.push_back(IndentRec{x - LeftEdge + room, y, y + image.DrawnHeight, 0});
    } else if (image.Placement == AlignmentType::ARight) {
        const int right = RightSide(y) - room;
        Right.push_back(IndentRec{right - RightEdge, y, y + image.DrawnHeight, 0});
        image.FloatX = right + image.SideSpace;
        image.FloatY = y;
    }
}

}  // namespace quillon
