#pragma once
// The boxes a document's sections have, kept beside them: most sections have none (every
// document without style, and most of one with it), so they carry no pointer for one. A
// section drops its entry when it is destroyed, so that a later object at the same address
// starts without a box. Cells keep their boxes themselves; the table shares the styles of
// cells styled alike.

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "html/layout/box_style.h"

namespace quillon {

class TSectionBase;

// The decoration a cell has of its own: the style as given (shared by the cells styled
// alike) and the borders drawn, which are the style's less the sides that a neighbour draws
// where the table collapses its borders.
struct CellBox {
    std::shared_ptr<const BoxStyle> Style;
    std::array<BorderEdge, 4> Edges{};  // by BoxSide
    // The padding in pixels. Where the style gives a percentage (of the table's width), the
    // table's layout resolves it; until then it counts as 0. (Cells take min-width and
    // max-width in pixels only, as browsers do: they are the style's.)
    std::array<int, 4> Padding{};

    explicit CellBox(std::shared_ptr<const BoxStyle> style)
        : Style(std::move(style)), Edges(Style->Border), Padding(Style->Padding) {}
    // Whether the table must resolve some of the cell's padding against its width.
    bool HasPercentages() const {
        return Style->PaddingPercent != std::array<double, 4>{-1, -1, -1, -1};
    }
    // Resolves the percentages against a table `width` pixels wide; a negative width (not
    // known yet) makes them count as nothing again.
    void Resolve(int width) {
        for (std::size_t side = 0; side < 4; ++side) {
            if (Style->PaddingPercent[side] >= 0) {
                Padding[side] =
                    width < 0 ? 0 : BoxLength{0, Style->PaddingPercent[side]}.Resolve(width);
            }
        }
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
    SectionBoxes* FindMutable(const TSectionBase* s) {
        return sections_.empty() ? nullptr : const_cast<SectionBoxes*>(FindIn(sections_, s));
    }

    void Set(const TSectionBase* s, SectionBoxes boxes) {
        sections_.insert_or_assign(s, std::move(boxes));
    }
    // One style object for every cell styled alike: a report has many cells and few styles.
    std::shared_ptr<const BoxStyle> Share(const BoxStyle& style) {
        if (const auto it = styles_.find(style); it != styles_.end()) return *it;
        return *styles_.insert(std::make_shared<const BoxStyle>(style)).first;
    }
    // Styles stay with the cells that have them; new cells share new ones.
    void ForgetSharedStyles() { styles_.clear(); }
    void Drop(const TSectionBase* s) {
        if (!sections_.empty()) sections_.erase(s);
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

    // Hashes the parts of a style that tell most styles apart; equality compares all.
    struct StyleHash {
        using is_transparent = void;
        std::size_t operator()(const BoxStyle& s) const {
            std::size_t h = s.Background ? *s.Background + 1 : 0;
            for (std::size_t side = 0; side < 4; ++side) {
                h = h * 31 + static_cast<std::size_t>(s.Padding[side]);
                h = h * 31 + static_cast<std::size_t>(s.Border[side].Width);
                h = h * 31 + s.Border[side].Colour;
            }
            return std::hash<std::size_t>{}(h);
        }
        std::size_t operator()(const std::shared_ptr<const BoxStyle>& s) const {
            return (*this)(*s);
        }
    };
    struct StyleEqual {
        using is_transparent = void;
        static const BoxStyle& Of(const BoxStyle& s) { return s; }
        static const BoxStyle& Of(const std::shared_ptr<const BoxStyle>& s) { return *s; }
        template <class A, class B>
        bool operator()(const A& a, const B& b) const {
            return Of(a) == Of(b);
        }
    };

    std::unordered_map<const TSectionBase*, SectionBoxes> sections_;
    std::unordered_set<std::shared_ptr<const BoxStyle>, StyleHash, StyleEqual> styles_;
};

}  // namespace quillon
