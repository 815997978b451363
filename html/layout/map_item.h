#pragma once
// A client-side image map: named areas (rectangles, circles, polygons) with their links.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "html/layout/url_target.h"
#include "html/parse/html_attribute.h"

namespace quillon {

class TMapItem {
  public:
    struct Area {
        enum class Shape { Rect, Circle, Poly };
        Shape shape = Shape::Rect;
        std::vector<int> coords;  // x1,y1,x2,y2 / x,y,r / x1,y1,x2,y2,x3,y3,...
        std::string HRef;         // empty: NOHREF (hides the areas after it)
        std::string Target;
        bool Contains(int x, int y) const;
    };

    // A map named by MAP NAME (stored upper-cased).
    explicit TMapItem(std::string_view name);

    const std::string& MapKey() const { return key_; }
    const std::vector<Area>& Areas() const { return areas_; }

    // Adds an AREA from its attributes; an area with too few coordinates is dropped.
    void AddArea(const TAttributeList& attrs);
    // The link of the first area containing (x, y) (relative to the image), if that area
    // has a URL.
    std::optional<TUrlTarget> GetURL(int x, int y) const;

  private:
    std::string key_;
    std::vector<Area> areas_;
};

}  // namespace quillon
