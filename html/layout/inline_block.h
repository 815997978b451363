#pragma once
// An element laid out as one box on a line (display: inline-block): its content is a cell of
// its own, laid out as a block as wide as its width or, without one, as wide as its content
// wants within the line; its margin, border, padding and background are a box around every
// section of that cell. The line places it like a picture and never breaks inside it.

#include <cstdint>
#include <memory>
#include <optional>

#include "html/layout/box_style.h"
#include "html/layout/cell.h"

namespace quillon {

class TSectionList;

class TInlineBlock {
  public:
    // Where the box sits in its line: its baseline (the baseline of its last line of text,
    // else its bottom margin edge) on the line's, its middle at the text's, or its top or
    // bottom at the line box's.
    enum class Align : std::uint8_t { Baseline, Top, Middle, Bottom };

    TInlineBlock(TSectionList& doc, int char_pos);
    // A copy of src (its sections copied) for doc.
    TInlineBlock(TSectionList& doc, const TInlineBlock& src);
    TInlineBlock(const TInlineBlock&) = delete;
    TInlineBlock& operator=(const TInlineBlock&) = delete;

    int CharPos = 0;
    TCell Body;
    // The content box's width; without one the box shrinks to fit its content.
    std::optional<BoxLength> Width, MinWidth, MaxWidth;
    // The box around the content (also set on the sections of Body), or null.
    std::shared_ptr<const BoxStyle> Box;
    Align Placement = Align::Baseline;

    // Laid-out size of the margin box, and its baseline from its top.
    int DrawnWidth = 0;
    int DrawnHeight = 0;
    int Baseline = 0;

    // Works out the size for a line `avail` pixels wide: lays the content out once per
    // layout pass and width (at y 0; Place lays it out where it ends up).
    void Measure(Canvas& canvas, int avail);
    // Lays the content out with its top at y (coordinates of the enclosing cell), at the
    // size Measure gave. Its characters take cursor positions from `cursor` (that of its
    // placeholder), which the enclosing section does not count.
    void Place(Canvas& canvas, int y, int cursor);
    // What the box needs of a line: its narrowest and its widest width.
    MinMax MinMaxWidth(Canvas& canvas);
    // Paints the box and its content with its top-left corner at (x, y).
    void Draw(Canvas& canvas, const Rect& clip, int x, int y);

  private:
    int HorizontalInsets() const;
    int MarginBoxWidth(int avail, Canvas& canvas);

    int measured_pass_ = -1;
    int measured_room_ = -1;
};

}  // namespace quillon
