#pragma once
// A tiny element tree for matching tests: elements hold their tag, attributes, parent and
// previous sibling; id and classes come from the attributes as in HTML.

#include <deque>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "html/style/style_element.h"

namespace quillon::testing {

class FakeElement : public css::StyleElement {
  public:
    std::string_view TagName() const override { return tag; }
    std::string_view Id() const override {
        const auto it = attrs.find("id");
        return it == attrs.end() ? std::string_view() : std::string_view(it->second);
    }
    std::span<const std::string> Classes() const override { return classes; }
    std::optional<std::string_view> Attribute(std::string_view name) const override {
        const auto it = attrs.find(std::string(name));
        if (it == attrs.end()) return std::nullopt;
        return std::string_view(it->second);
    }
    const StyleElement* Parent() const override { return parent; }
    const StyleElement* PreviousSibling() const override { return previous; }
    int SiblingIndex() const override { return index; }
    bool IsLink() const override { return tag == "a" && attrs.count("href") > 0; }

    std::string tag;
    std::map<std::string, std::string> attrs;
    std::vector<std::string> classes;
    const FakeElement* parent = nullptr;
    const FakeElement* previous = nullptr;
    FakeElement* last_child = nullptr;
    int index = 1;
};

// Owns the elements; Add() appends a child to `parent` (nullptr: the root).
class FakeDom {
  public:
    FakeElement& Add(FakeElement* parent, std::string tag,
                     std::map<std::string, std::string> attrs = {}) {
        FakeElement& e = elements_.emplace_back();
        e.tag = std::move(tag);
        e.attrs = std::move(attrs);
        if (const auto it = e.attrs.find("class"); it != e.attrs.end()) {
            std::istringstream words(it->second);
            for (std::string w; words >> w;) e.classes.push_back(w);
        }
        if (parent) {
            e.parent = parent;
            e.previous = parent->last_child;
            e.index = parent->last_child ? parent->last_child->index + 1 : 1;
            parent->last_child = &e;
        }
        return e;
    }

  private:
    std::deque<FakeElement> elements_;
};

}  // namespace quillon::testing
