#pragma once
// The boxes a document's sections and table cells have, kept beside them: most sections and
// cells have none (every document without style, and most of one with it), so they carry no
// pointer for one. A section or cell drops its entry when it is destroyed, so that a later
// object at the same address starts without a box.

#include <array>
#include <optional>
#include <unordered_map>
#include <utility>

#include "html/layout/box_style.h"

namespace quillon {

class TSectionBase;
class TCellObj;

// The decoration a cell has of its own: the style as given and the borders drawn, which are
// the style's less the sides that a neighbour draws where the table collapses its borders.
struct CellBox {
    BoxStyle Style;
    std::array<BorderEdge, 4> Edges{};  // by BoxSide
    // The padding, min-width and max-width in pixels. Where the style gives a percentage
    // (of the table's width), the table's layout resolves it; until then a percentage of
    // padding counts as 0 and one of min-width or max-width as not given.
    std::array<int, 4> Padding{};
    std::optional<int> MinWidth, MaxWidth;

    explicit CellBox(const BoxStyle& style) : Style(style), Edges(style.Border) {
        Padding = style.Padding;
        MinWidth = FixedPixels(style.Size.MinWidth);
        MaxWidth = FixedPixels(style.Size.MaxWidth);
    }
    // Whether the table must resolve some of the cell's lengths against its width.
    bool HasPercentages() const {
        const auto percent = [](const std::optional<BoxLength>& l) { return l && l->Percent >= 0; };
        return Style.PaddingPercent != std::array<double, 4>{-1, -1, -1, -1} ||
               percent(Style.Size.MinWidth) || percent(Style.Size.MaxWidth);
    }
    // Resolves the percentages against a table `width` pixels wide; a negative width (not
    // known yet) makes them count as nothing again.
    void Resolve(int width) {
        for (std::size_t side = 0; side < 4; ++side) {
            if (Style.PaddingPercent[side] >= 0) {
                Padding[side] =
                    width < 0 ? 0 : BoxLength{0, Style.PaddingPercent[side]}.Resolve(width);
            }
        }
        const auto resolve = [width](const std::optional<BoxLength>& l, std::optional<int>& px) {
            if (l && l->Percent >= 0)
                px = width < 0 ? std::nullopt : std::optional(l->Resolve(width));
        };
        resolve(Style.Size.MinWidth, MinWidth);
        resolve(Style.Size.MaxWidth, MaxWidth);
    }
    bool HasEdges() const {
        return Edges[0].Shown() || Edges[1].Shown() || Edges[2].Shown() || Edges[3].Shown();
    }
};

class BoxTable {
  public:
    // Lookups test for an empty table first: that is the whole cost without boxes.
    const SectionBoxes* Find(const TSectionBase* s) const {
        return sections_.empty() ? nullptr : FindIn(sections_, s);
    }
    const CellBox* Find(const TCellObj* c) const {
        return cells_.empty() ? nullptr : FindIn(cells_, c);
    }
    SectionBoxes* FindMutable(const TSectionBase* s) {
        return sections_.empty() ? nullptr : const_cast<SectionBoxes*>(FindIn(sections_, s));
    }
    CellBox* FindMutable(const TCellObj* c) {
        return cells_.empty() ? nullptr : const_cast<CellBox*>(FindIn(cells_, c));
    }

    void Set(const TSectionBase* s, SectionBoxes boxes) {
        sections_.insert_or_assign(s, std::move(boxes));
    }
    void Set(const TCellObj* c, CellBox box) { cells_.insert_or_assign(c, std::move(box)); }
    void Drop(const TSectionBase* s) {
        if (!sections_.empty()) sections_.erase(s);
    }
    void Drop(const TCellObj* c) {
        if (!cells_.empty()) cells_.erase(c);
    }
    // Moves the boxes of `s` into `to` (a section joining another document).
    void MoveTo(BoxTable& to, const TSectionBase* s) {
        if (sections_.empty()) return;
        if (auto node = sections_.extract(s)) to.sections_.insert(std::move(node));
    }

  private:
    template <class Map, class Key>
    static const typename Map::mapped_type* FindIn(const Map& map, Key key) {
        const auto it = map.find(key);
        return it == map.end() ? nullptr : &it->second;
    }

    std::unordered_map<const TSectionBase*, SectionBoxes> sections_;
    std::unordered_map<const TCellObj*, CellBox> cells_;
};

}  // namespace quillon
