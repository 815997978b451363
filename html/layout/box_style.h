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

#include "html/layout/box_picture.h"
#include "platform/core/rgba_image.h"

namespace quillon {

class Canvas;
class TSectionList;
struct Rect;
struct MinMax;

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

// A width that style gives a box: pixels, or a percentage of the room the box is in.
struct BoxLength {
    int Pixels = 0;
    double Percent = -1;  // 0-100 when the length is a percentage; else negative

    int Resolve(int room) const;
    friend bool operator==(const BoxLength&, const BoxLength&) = default;
};

// The pixels of a length that is not a percentage; nothing for a percentage or no length.
inline std::optional<int> FixedPixels(const std::optional<BoxLength>& l) {
    return l && l->Percent < 0 ? std::optional(l->Pixels) : std::nullopt;
}

// What style says of a box's content size (CSS content-box sizes). A box without any of
// them fills the room it is in.
struct BoxSizing {
    std::optional<BoxLength> Width, MinWidth, MaxWidth;
    int MinHeight = 0;  // the content is at least this high (pixels)
    // margin-left / margin-right: auto; both centre a box narrower than its room.
    bool AutoLeft = false;
    bool AutoRight = false;

    bool Constrained() const { return Width || MinWidth || MaxWidth; }
    friend bool operator==(const BoxSizing&, const BoxSizing&) = default;
};

struct BoxStyle {
    std::array<int, 4> Margin{};  // outside the border, by BoxSide
    std::array<BorderEdge, 4> Border{};
    std::array<int, 4> Padding{};  // between the border and the content
    // A side whose margin or padding is a percentage of the width of the room the box is in
    // (0-100; negative: Margin or Padding in pixels, else 0). Layout resolves it
    // (SectionBoxes::Fit).
    std::array<double, 4> MarginPercent{-1, -1, -1, -1};
    std::array<double, 4> PaddingPercent{-1, -1, -1, -1};
    std::optional<Color> Background;  // nothing: transparent
    BoxSizing Size;
    std::shared_ptr<BoxPicture> Picture;  // null: none
    bool Hidden = false;                  // takes its room, but nothing of it is painted

    // Margin, border and padding of one side: how far the content lies inside the box's
    // outer edge on that side.
    int Inset(BoxSide side) const { return Margin[side] + Border[side].Room() + Padding[side]; }
    bool HasBorder() const {
        return Border[0].Shown() || Border[1].Shown() || Border[2].Shown() || Border[3].Shown();
    }
    bool HasPercentages() const {
        for (std::size_t side = 0; side < 4; ++side) {
            if (MarginPercent[side] >= 0 || PaddingPercent[side] >= 0) return true;
        }
        return false;
    }
    friend bool operator==(const BoxStyle&, const BoxStyle&) = default;
};

// One box around a section. The style is shared by all the sections of the box.
struct BoxMembership {
    std::shared_ptr<const BoxStyle> Style;
    bool First = false;  // the box starts with this section: its top edge is above it
    bool Last = false;   // the box ends with this section: its bottom edge is below it
};

// The boxes of one section and the room they take around it, worked out once when set
// and, for boxes with sizes, again by each layout (Fit, then Grow).
class SectionBoxes {
  public:
    explicit SectionBoxes(std::vector<BoxMembership> boxes);

    std::span<const BoxMembership> List() const { return list_; }
    int TopRoom() const { return top_; }  // above the content: the tops of the First boxes
    int BottomRoom() const { return bottom_ + grown_; }
    // Every box's left inset, with the room a box narrower than its room leaves beside it.
    int LeftInset() const { return left_ + extra_left_; }
    int RightInset() const { return right_ + extra_right_; }

    // Whether a box has a width or a minimum height: layout calls Fit and Grow.
    bool Sized() const { return sized_; }
    // The margin and padding of box `index` (in List) on one side, percentages resolved
    // by Fit, and how far its content lies inside its outer edge there.
    int MarginOf(std::size_t index, BoxSide side) const {
        return resolved_.empty() ? list_[index].Style->Margin[side] : resolved_[index].Margin[side];
    }
    int PaddingOf(std::size_t index, BoxSide side) const {
        return resolved_.empty() ? list_[index].Style->Padding[side]
                                 : resolved_[index].Padding[side];
    }
    int InsetOf(std::size_t index, BoxSide side) const {
        return MarginOf(index, side) + list_[index].Style->Border[side].Room() +
               PaddingOf(index, side);
    }
    bool HasMinHeight() const { return min_height_; }
    bool HasPicture() const { return picture_; }
    // Where the padding area of box `index` lies, from the top of this section's place in
    // the flow (negative when the box began above it), and its height: set by layout for
    // boxes with a picture, so that every section draws its part of the same tiling.
    void SetPictureArea(std::size_t index, int top, int height);
    // Works out the widths and percentage margins of the boxes in a cell `room` pixels wide
    // (a percentage is of the room inside the box around it) and forgets the growth of the
    // last layout.
    void Fit(int room);
    // Makes the content of box `index` (in List) `pixels` higher below this section.
    void Grow(std::size_t index, int pixels);
    int GrowthOf(std::size_t index) const { return index < grow_.size() ? grow_[index] : 0; }
    // The width a section's content asks for (MinMax) with the boxes around it.
    MinMax Widen(MinMax content) const;

    // Paints the boxes of a section whose place in the flow (its content with the room
    // above and below it) is [slot_top, slot_bottom), in a cell reaching from left to right
    // (drawing coordinates): the backgrounds, outermost first, then the borders. A box's
    // top edge is drawn on its first section, its bottom edge on its last, its sides on
    // every section, so that the pieces join into one box.
    // Pictures are loaded through `doc` (none are drawn without it).
    void Paint(Canvas& canvas, int left, int right, int slot_top, int slot_bottom,
               TSectionList* doc = nullptr) const;

  private:
    // Room beside each box that its width leaves (left, right), from Fit.
    struct Beside {
        int left = 0;
        int right = 0;
    };

    std::vector<BoxMembership> list_;
    std::vector<Beside> beside_;  // empty unless sized_
    // The margins and padding in pixels, by box, when a box has percentages (else empty).
    struct Resolved {
        std::array<int, 4> Margin;
        std::array<int, 4> Padding;
    };
    std::vector<Resolved> resolved_;
    std::vector<int> grow_;  // empty unless min_height_
    struct PictureArea {
        int top = 0;
        int height = -1;  // not laid out yet
    };
    std::vector<PictureArea> picture_areas_;  // empty unless picture_
    int top_ = 0;
    int bottom_ = 0;
    int left_ = 0;
    int right_ = 0;
    int extra_left_ = 0;
    int extra_right_ = 0;
    int grown_ = 0;
    bool sized_ = false;
    bool min_height_ = false;
    bool picture_ = false;
};

// The minimum heights of the boxes in one cell's layout: where the content of each open
// box with a minimum height began, so that its last section can grow it.
class BoxHeights {
  public:
    // Before a section whose place in the flow starts at flow_top is laid out.
    void Opening(const SectionBoxes& boxes, int flow_top);
    // After it: grows the boxes it ends that are too low; returns the height added.
    int Closing(SectionBoxes& boxes, int flow_top, int flow_height);

  private:
    std::vector<std::pair<const BoxStyle*, int>> tops_;  // content top of each open box
};

// The padding areas of the boxes with pictures in one cell's layout, told to every
// section of each box once its last section is laid out.
class BoxPictureAreas {
  public:
    // After a section whose place in the flow is [flow_top, flow_top + flow_height) was
    // laid out (and grown).
    void Add(SectionBoxes& boxes, int flow_top, int flow_height);

  private:
    struct Member {
        SectionBoxes* boxes;
        std::size_t index;
        int flow_top;
    };
    struct Open {
        const BoxStyle* style;
        int top;  // of its padding area
        std::vector<Member> members;
    };
    std::vector<Open> open_;
};

// Draws one border edge filling `band` (a horizontal band for the top and bottom edges, a
// vertical one for the sides) in the edge's line style. Dashes and dots run along the band.
void PaintBorderEdge(Canvas& canvas, const Rect& band, const BorderEdge& edge, bool horizontal);

// Draws the four edges of `box` (its outer border edge) that are shown in `draw`, each
// inside the box by its width.
void PaintBoxBorders(Canvas& canvas, const Rect& box, const std::array<BorderEdge, 4>& edges,
                     const std::array<bool, 4>& draw);

}  // namespace quillon
