#pragma once
// The decoration of a block box: per-side margins, borders and padding and a background.
// A box that holds several sections is shared by them: each section lists the boxes around
// it (outermost first) with whether it is the box's first and last section, so that layout
// leaves room for the box's top above its first section and for its bottom below its last,
// and drawing paints the box piece by piece as one box, also across printed pages.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "platform/core/rgba_image.h"

namespace quillon {

class Canvas;
struct Rect;

enum class BorderLineStyle : std::uint8_t { None, Solid, Dashed, Dotted, Double };

// Indices of the sides in the per-side arrays.
enum BoxSide : std::uint8_t { kBoxTop = 0, kBoxRight = 1, kBoxBottom = 2, kBoxLeft = 3 };

struct BorderEdge {
    int Width = 0;  // pixels
    BorderLineStyle Style = BorderLineStyle::None;
    Color Colour = 0x000000;

    bool Shown() const { return Width > 0 && Style != BorderLineStyle::None; }
    // The room the edge takes: its width when shown, else 0.
    int Room() const { return Shown() ? Width : 0; }
    friend bool operator==(const BorderEdge&, const BorderEdge&) = default;
};

struct BoxStyle {
    std::array<int, 4> Margin{};  // outside the border, by BoxSide
    std::array<BorderEdge, 4> Border{};
    std::array<int, 4> Padding{};     // between the border and the content
    std::optional<Color> Background;  // nothing: transparent
    bool Hidden = false;              // takes its room, but nothing of it is painted

    // Margin, border and padding of one side: how far the content lies inside the box's
    // outer edge on that side.
    int Inset(BoxSide side) const { return Margin[side] + Border[side].Room() + Padding[side]; }
    bool HasBorder() const {
        return Border[0].Shown() || Border[1].Shown() || Border[2].Shown() || Border[3].Shown();
    }
    friend bool operator==(const BoxStyle&, const BoxStyle&) = default;
};

// One box around a section. The style is shared by all the sections of the box.
struct BoxMembership {
    std::shared_ptr<const BoxStyle> Style;
    bool First = false;  // the box starts with this section: its top edge is above it
    bool Last = false;   // the box ends with this section: its bottom edge is below it
};

// The boxes of one section and the room they take around it, worked out once when set.
class SectionBoxes {
  public:
    explicit SectionBoxes(std::vector<BoxMembership> boxes);

    std::span<const BoxMembership> List() const { return list_; }
    int TopRoom() const { return top_; }  // above the content: the tops of the First boxes
    int BottomRoom() const { return bottom_; }
    int LeftInset() const { return left_; }  // every box's left inset
    int RightInset() const { return right_; }

    // Paints the boxes of a section whose place in the flow (its content with the room
    // above and below it) is [slot_top, slot_bottom), in a cell reaching from left to right
    // (drawing coordinates): the backgrounds, outermost first, then the borders. A box's
    // top edge is drawn on its first section, its bottom edge on its last, its sides on
    // every section, so that the pieces join into one box.
    void Paint(Canvas& canvas, int left, int right, int slot_top, int slot_bottom) const;

  private:
    std::vector<BoxMembership> list_;
    int top_ = 0;
    int bottom_ = 0;
    int left_ = 0;
    int right_ = 0;
};

// Draws one border edge filling `band` (a horizontal band for the top and bottom edges, a
// vertical one for the sides) in the edge's line style. Dashes and dots run along the band.
void PaintBorderEdge(Canvas& canvas, const Rect& band, const BorderEdge& edge, bool horizontal);

// Draws the four edges of `box` (its outer border edge) that are shown in `draw`, each
// inside the box by its width.
void PaintBoxBorders(Canvas& canvas, const Rect& box, const std::array<BorderEdge, 4>& edges,
                     const std::array<bool, 4>& draw);

}  // namespace quillon
