#include "html/layout/indent_manager.h"

#include <algorithm>

#include "html/layout/image_obj.h"

namespace quillon {

namespace {

bool Covers(const IndentRec& r, int y) {
    return r.FromY <= y && y < r.ToY;
}

// One more than y, without overflowing at the open end.
int After(int y) {
    return y == IndentManagerBasic::kOpenEnd ? y : y + 1;
}

}  // namespace

void IndentManagerBasic::Clear() {
    left_.clear();
    right_.clear();
    float_bottom_ = 0;
    left_float_bottom_ = -1;
    right_float_bottom_ = -1;
}

void IndentManagerBasic::Reset(int left_edge, int right_edge) {
    LeftEdge = left_edge;
    RightEdge = right_edge;
    ActiveLevel = 0;
}

int IndentManagerBasic::LeftIndent(int y) const {
    int offset = 0;
    for (const IndentRec& r : left_) {
        if (Covers(r, y)) offset = std::max(offset, r.Offset);
    }
    return LeftEdge + offset;
}

int IndentManagerBasic::RightSide(int y) const {
    int offset = 0;
    for (const IndentRec& r : right_) {
        if (Covers(r, y)) offset = std::min(offset, r.Offset);
    }
    return RightEdge + offset;
}

int IndentManagerBasic::ImageBottom() const {
    return float_bottom_;
}

IndentManagerBasic::ClearY IndentManagerBasic::GetClearY() const {
    return ClearY{left_float_bottom_ + 1, right_float_bottom_ + 1};
}

int IndentManagerBasic::GetLevelClear() const {
    int level_offset = 0;
    for (auto it = left_.rbegin(); it != left_.rend(); ++it) {
        if (it->OwnerLevel == ActiveLevel && ActiveLevel > 0) {
            level_offset = it->Offset;
            break;
        }
    }
    int bottom = 0;
    for (const IndentRec& r : left_) {
        if (r.Offset > level_offset) bottom = std::max(bottom, r.ToY);
    }
    return After(bottom);
}

void IndentManagerBasic::NoteFloat(const IndentRec& r, bool left) {
    if (r.OwnerLevel != 0) return;
    float_bottom_ = std::max(float_bottom_, r.ToY);
    int& side = left ? left_float_bottom_ : right_float_bottom_;
    side = std::max(side, r.ToY);
}

void IndentManagerBasic::Prune(int y) {
    // Records that ended above y narrow nothing at or below it.
    auto ended = [y](const IndentRec& r) { return r.ToY <= y; };
    left_.erase(std::remove_if(left_.begin(), left_.end(), ended), left_.end());
    right_.erase(std::remove_if(right_.begin(), right_.end(), ended), right_.end());
}

void IndentManagerBasic::AddLeft(const IndentRec& r, int y) {
    Prune(y);
    left_.push_back(r);
    NoteFloat(r, true);
}

void IndentManagerBasic::AddRight(const IndentRec& r, int y) {
    Prune(y);
    right_.push_back(r);
    NoteFloat(r, false);
}

void IndentManagerBasic::SetLevel(int y, int level) {
    level = std::max(0, level);
    if (level > ActiveLevel) {
        for (int l = ActiveLevel + 1; l <= level; ++l) {
            AddLeft(IndentRec{LeftIndent(y) - LeftEdge + kListIndent, y, kOpenEnd, l}, y);
        }
    } else if (level < ActiveLevel) {
        for (IndentRec& r : left_) {
            if (r.OwnerLevel > level) {
                r.ToY = y - 1;
                r.OwnerLevel = 0;
                NoteFloat(r, true);
            }
        }
    }
    ActiveLevel = level;
}

void IndentManagerBasic::UpdateTable(int y, int width, AlignmentType align, int height) {
    if (align == AlignmentType::ALeft) {
        AddLeft(IndentRec{LeftIndent(y) - LeftEdge + width, y, y + height, 0}, y);
    } else if (align == AlignmentType::ARight) {
        AddRight(IndentRec{RightSide(y) - RightEdge - width, y, y + height, 0}, y);
    }
}

void IndentManager::Update(int y, TImageObj& image) {
    const int room = image.DrawnWidth + image.SideSpace;
    if (image.Placement == AlignmentType::ALeft) {
        const int x = LeftIndent(y);
        image.FloatX = x;
        image.FloatY = y;
        AddLeft(IndentRec{x - LeftEdge + room, y, y + image.DrawnHeight, 0}, y);
    } else if (image.Placement == AlignmentType::ARight) {
        const int right = RightSide(y) - room;
        AddRight(IndentRec{right - RightEdge, y, y + image.DrawnHeight, 0}, y);
        image.FloatX = right + image.SideSpace;
        image.FloatY = y;
    }
}

}  // namespace quillon
