#pragma once
// What selector matching needs to know about an element. The document tree implements it;
// matching only ever looks at the element, its ancestors and its earlier siblings.

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace quillon::css {

class StyleElement {
  public:
    virtual ~StyleElement() = default;

    virtual std::string_view TagName() const = 0;  // lower case
    virtual std::string_view Id() const = 0;       // empty: none
    virtual std::span<const std::string> Classes() const = 0;
    // The value of the attribute of lower-case `name`; nothing when the element has none.
    virtual std::optional<std::string_view> Attribute(std::string_view name) const = 0;
    virtual const StyleElement* Parent() const = 0;           // nullptr for the root
    virtual const StyleElement* PreviousSibling() const = 0;  // the previous element, if any
    virtual int SiblingIndex() const = 0;  // 1 for the first element child of its parent
    virtual bool IsLink() const = 0;       // an A with HREF, say
};

}  // namespace quillon::css
