#pragma once
// The element tree as style sheets see it, kept beside the parser while a document has
// style: which elements are open (with the closings HTML implies: a P ends at the next
// block, a TD at the next cell, an LI at the next item), what came before each of them,
// and the computed style of each from the document's style sheets and its STYLE attribute.
// The parser reads the tree to lay out what the style says; it never changes what the
// parser builds for a document without style.

#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "html/parse/html_attribute.h"
#include "html/style/computed_style.h"
#include "html/style/rule_index.h"
#include "html/style/style_element.h"
#include "html/style/style_parser.h"
#include "html/style/style_sheet.h"

namespace quillon {

class StyledElement final : public css::StyleElement {
  public:
    std::string_view TagName() const override { return tag; }
    std::string_view Id() const override { return id; }
    std::span<const std::string> Classes() const override { return classes; }
    std::optional<std::string_view> Attribute(std::string_view name) const override;
    const StyleElement* Parent() const override { return parent; }
    const StyleElement* PreviousSibling() const override { return previous.get(); }
    int SiblingIndex() const override { return index; }
    bool IsLink() const override { return link; }

    std::string tag;  // lower case
    std::string id;
    std::vector<std::string> classes;
    std::vector<std::pair<std::string, std::string>> attributes;  // lower-case name, value
    const StyledElement* parent = nullptr;
    std::unique_ptr<StyledElement> previous;    // the closed sibling before it
    std::unique_ptr<StyledElement> last_child;  // the last closed element child
    int index = 1;
    int children = 0;  // element children opened so far
    bool link = false;
    std::size_t font_depth = 0;  // the parser's font stack height when it opened
    bool lines_started = false;  // the parser has started the block's first line
    // Elements that style sheets cannot tell apart share one computed style and one class
    // number (0: an element of its own).
    std::shared_ptr<const css::ComputedStyle> style;
    std::uint32_t style_class = 0;
    const css::ComputedStyle& Style() const { return *style; }
};

class StyleTracker {
  public:
    // `base_dir`: the folder of the document, against which LINK and @import name their
    // files (empty: the document has no folder; such style sheets are not read).
    // `medium`: which @media rules and LINK media apply.
    explicit StyleTracker(std::string base_dir, css::Medium medium = css::Medium::Screen);

    // A style sheet's text (a STYLE element): its @import files are read first. With a
    // media list (the element's MEDIA), only when the list applies to the medium.
    void AddSheet(std::string_view css, std::string_view media = {});
    // A LINK element: a style sheet file when REL says so and the media apply.
    void AddLink(const TAttributeList& attrs);
    bool HasRules() const { return !sheet_.rules.empty(); }
    // The @page rules of every sheet, in order.
    const std::vector<css::PageRule>& PageRules() const { return sheet_.pages; }
    // Some @media block, @import or LINK of the sheets read names a medium that includes
    // one of screen and print and not the other: the document's style differs between them.
    bool DependsOnMedium() const { return by_medium_; }

    // How many open elements a start tag of `tag` (lower case) closes first, from the top.
    std::size_t ClosedBy(std::string_view tag) const;
    // How many open elements an end tag of `tag` closes (0 when none of that name is open).
    std::size_t ClosedByEnd(std::string_view tag) const;

    // Opens an element; `parent_font_px` is the font size in effect where it starts.
    StyledElement& Open(std::string_view tag, const TAttributeList& attrs, double parent_font_px);
    // Closes the innermost open element.
    void Close();

    std::size_t Depth() const { return open_.size(); }
    const StyledElement& At(std::size_t i) const { return *open_[i]; }
    StyledElement& MutableAt(std::size_t i) { return *open_[i]; }
    const StyledElement* Current() const { return open_.empty() ? nullptr : open_.back().get(); }

    // Whether an element of this name has no content and no end tag.
    static bool IsVoid(std::string_view tag);

  private:
    void ReadSheet(std::string_view css, const std::string& dir, int depth);
    void ReadSheetFile(std::string_view url, const std::string& dir, int depth);
    void Reindex();
    void ApplyCascade(StyledElement& e, const TAttribute* style_attr, double parent_font_px);
    std::optional<std::size_t> FindOpen(std::string_view tag, bool stop_at_table) const;

    std::string base_dir_;
    css::Medium medium_;
    css::StyleSheet sheet_;
    std::unique_ptr<css::RuleIndex> index_;
    // The computed styles of elements the sheets cannot tell apart: the same parent class,
    // tag, id, classes, font size around them and (when a selector asks) attributes. Not
    // used when a selector depends on an element's place among its siblings.
    struct SharedStyle {
        std::shared_ptr<const css::ComputedStyle> style;
        std::uint32_t style_class = 0;
    };
    std::unordered_map<std::string, SharedStyle> shared_;
    std::uint32_t next_class_ = 1;
    std::string key_;  // scratch for the cache key

    std::set<std::string> read_files_;
    bool keep_all_siblings_ = false;  // a sheet uses '~'
    bool by_place_ = false;           // a selector depends on an element's place or siblings
    bool by_attribute_ = false;       // a selector tests attributes
    bool by_medium_ = false;          // see DependsOnMedium
    std::vector<std::unique_ptr<StyledElement>> open_;
    std::unique_ptr<StyledElement> root_children_;  // the last closed top-level element
    css::ComputedStyle root_parent_ = css::InitialStyle();
    css::ResolveContext context_;
};

}  // namespace quillon
