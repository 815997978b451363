#include "html/layout/map_item.h"

#include <charconv>
#include <cstdint>

#include "html/layout/attribute_access.h"
#include "platform/core/text_encoding.h"

namespace quillon {

namespace {

constexpr std::size_t kMaxCoords = 201;

// COORDS: numbers separated by commas, each part cut to 20 characters and trimmed;
// a part that is not a number reads as 0.
std::vector<int> ReadCoords(std::string_view s) {
    std::vector<int> out;
    while (out.size() < kMaxCoords) {
        const std::size_t comma = s.find(',');
        std::string_view part = s.substr(0, comma);
        part = text::Trim(part.substr(0, 20));
        int v = 0;
        const char* first = part.data();
        if (!part.empty() && part[0] == '+') ++first;
        const auto res = std::from_chars(first, part.data() + part.size(), v);
        if (res.ec != std::errc() || res.ptr != part.data() + part.size()) v = 0;
        out.push_back(v);
        if (comma == std::string_view::npos) break;
        s.remove_prefix(comma + 1);
    }
    return out;
}

bool InPolygon(const std::vector<int>& c, int x, int y) {
    // Non-zero winding rule; points on an edge count as inside.
    const std::size_t n = c.size() / 2;
    int winding = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const std::int64_t x1 = c[2 * i], y1 = c[2 * i + 1];
        const std::int64_t x2 = c[2 * ((i + 1) % n)], y2 = c[2 * ((i + 1) % n) + 1];
        const std::int64_t cross = (x2 - x1) * (y - y1) - (x - x1) * (y2 - y1);
        if (cross == 0 && std::min(x1, x2) <= x && x <= std::max(x1, x2) && std::min(y1, y2) <= y &&
            y <= std::max(y1, y2)) {
            return true;
        }
        if (y1 <= y) {
            if (y2 > y && cross > 0) ++winding;
        } else if (y2 <= y && cross < 0) {
            --winding;
        }
    }
    return winding != 0;
}

}  // namespace

bool TMapItem::Area::Contains(int x, int y) const {
    switch (shape) {
        case Shape::Rect: {
            const int l = std::min(coords[0], coords[2]), r = std::max(coords[0], coords[2]);
            const int t = std::min(coords[1], coords[3]), b = std::max(coords[1], coords[3]);
            return l <= x && x <= r && t <= y && y <= b;
        }
        case Shape::Circle: {
            // The ellipse in the box x - r .. x + r, y - r .. y + r: empty for r < 0.
            const std::int64_t dx = x - std::int64_t{coords[0]}, dy = y - std::int64_t{coords[1]};
            const std::int64_t r = coords[2];
            return r >= 0 && dx * dx + dy * dy <= r * r;
        }
        case Shape::Poly:
            return InPolygon(coords, x, y);
    }
    return false;
}

TMapItem::TMapItem(std::string_view name) : key_(text::AsciiUpperCase(name)) {}

void TMapItem::AddArea(const TAttributeList& attrs) {
    Area area;
    area.HRef = AttrText(attrs, Symb::HrefSy);
    if (HasAttr(attrs, Symb::NoHrefSy)) area.HRef.clear();
    area.Target = AttrText(attrs, Symb::TargetSy);
    const std::string shape = AttrLower(attrs, Symb::ShapeSy).substr(0, 4);
    std::size_t needed = 4;
    if (shape == "circ") {
        area.shape = Area::Shape::Circle;
        needed = 3;
    } else if (shape == "poly") {
        area.shape = Area::Shape::Poly;
        needed = 6;
    }
    if (HasAttr(attrs, Symb::CoordsSy)) area.coords = ReadCoords(AttrText(attrs, Symb::CoordsSy));
    if (area.coords.size() < needed) return;
    if (area.shape == Area::Shape::Poly) {
        area.coords.resize(area.coords.size() & ~std::size_t{1});
    } else {
        area.coords.resize(needed);
    }
    areas_.push_back(std::move(area));
}

std::optional<TUrlTarget> TMapItem::GetURL(int x, int y) const {
    for (const Area& a : areas_) {
        if (!a.Contains(x, y)) continue;
        if (a.HRef.empty()) return std::nullopt;
        TUrlTarget link;
        link.Assign(a.HRef, a.Target);
        return link;
    }
    return std::nullopt;
}

}  // namespace quillon
