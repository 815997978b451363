#include "html/tree/style_tracker.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "html/style/style_parser.h"
#include "platform/core/text_encoding.h"

namespace quillon {

namespace {

// A style sheet file larger than this is not read: no report template needs one.
constexpr std::uintmax_t kMaxSheetBytes = 4u << 20;
// @import chains deeper than this are not followed.
constexpr int kMaxImportDepth = 8;
// Shared computed styles kept at most.
constexpr std::size_t kMaxSharedStyles = 4096;

template <std::size_t N>
bool OneOf(std::string_view tag, const std::array<std::string_view, N>& names) {
    return std::find(names.begin(), names.end(), tag) != names.end();
}

// Start tags that end an open P.
constexpr std::array<std::string_view, 33> kClosesParagraph = {
    "address",    "article", "aside",  "blockquote", "center", "dir", "div", "dl", "fieldset",
    "figcaption", "figure",  "footer", "form",       "h1",     "h2",  "h3",  "h4", "h5",
    "h6",         "header",  "hr",     "main",       "menu",   "nav", "ol",  "p",  "pre",
    "section",    "table",   "ul",     "li",         "dd",     "dt"};
constexpr std::array<std::string_view, 6> kHeadings = {"h1", "h2", "h3", "h4", "h5", "h6"};
constexpr std::array<std::string_view, 3> kRowGroups = {"thead", "tbody", "tfoot"};
constexpr std::array<std::string_view, 20> kVoid = {
    "area",    "base",   "basefont", "br",   "col",   "embed",  "frame", "hr",  "img",  "input",
    "isindex", "keygen", "link",     "meta", "param", "source", "track", "wbr", "page", "image"};

bool IsTablePart(std::string_view tag) {
    return tag == "table" || tag == "tr" || tag == "td" || tag == "th" || tag == "caption" ||
           OneOf(tag, kRowGroups) || tag == "colgroup";
}

// Whether `url` names a local file (no scheme other than file:, no network path).
std::optional<std::filesystem::path> LocalFile(std::string_view url, const std::string& dir) {
    if (url.empty() || dir.empty()) return std::nullopt;
    std::string u(url);
    if (u.rfind("file://", 0) == 0) {
        u.erase(0, 7);
    } else if (u.find("://") != std::string::npos || u.rfind("//", 0) == 0 ||
               u.rfind("data:", 0) == 0) {
        return std::nullopt;
    }
    if (const auto q = u.find_first_of("?#"); q != std::string::npos) u.resize(q);
    std::filesystem::path p(u);
    if (p.is_relative()) p = std::filesystem::path(dir) / p;
    return p.lexically_normal();
}

// A sheet read from another folder than the document's names its background images
// relative to its own folder: they are made absolute here, so that the document finds them.
void AnchorImageUrls(css::StyleRule& rule, const std::string& dir) {
    for (css::Declaration& d : rule.declarations) {
        if (!d.name.starts_with("background")) continue;
        bool in_url = false;
        for (css::Token& t : d.value) {
            const bool url = t.Is(css::TokenType::Url) || (in_url && t.Is(css::TokenType::String));
            in_url = t.Is(css::TokenType::Function) && css::AsciiLower(t.value) == "url"
                         ? true
                         : in_url && t.Is(css::TokenType::Whitespace);
            if (!url) continue;
            if (const auto file = LocalFile(t.value, dir)) t.value = file->string();
        }
    }
}

}  // namespace

std::optional<std::string_view> StyledElement::Attribute(std::string_view name) const {
    for (const auto& [n, v] : attributes) {
        if (n == name) return std::string_view(v);
    }
    return std::nullopt;
}

StyleTracker::StyleTracker(std::string base_dir, css::Medium medium)
    : base_dir_(std::move(base_dir)), medium_(medium) {}

bool StyleTracker::IsVoid(std::string_view tag) {
    return OneOf(tag, kVoid);
}

void StyleTracker::AddSheet(std::string_view css, std::string_view media) {
    if (css::DependsOnMedium(media)) by_medium_ = true;
    if (!css::MediaApplies(media, medium_)) return;
    ReadSheet(css, base_dir_, 0);
    Reindex();
}

void StyleTracker::AddLink(const TAttributeList& attrs) {
    std::string rel, href, media;
    for (const TAttribute& a : attrs) {
        if (a.Name == "REL") rel = css::AsciiLower(a.TextUtf8());
        if (a.Name == "HREF") href = a.TextUtf8();
        if (a.Name == "MEDIA") media = a.TextUtf8();
    }
    if (rel.find("stylesheet") == std::string::npos || rel.find("alternate") != std::string::npos)
        return;
    if (css::DependsOnMedium(media)) by_medium_ = true;
    if (!css::MediaApplies(media, medium_)) return;
    ReadSheetFile(href, base_dir_, 1);
    Reindex();
}

// Reads the style sheet file `url` names relative to `dir`: a local file, not too large,
// and not read before (so that a cycle of imports ends).
void StyleTracker::ReadSheetFile(std::string_view url, const std::string& dir, int depth) {
    const auto file = LocalFile(url, dir);
    if (!file) return;
    std::error_code ec;
    const auto size = std::filesystem::file_size(*file, ec);
    if (ec || size > kMaxSheetBytes || !read_files_.insert(file->string()).second) return;
    std::ifstream in(*file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    ReadSheet(text.str(), file->parent_path().string(), depth);
}

// Appends the rules of `css` to the sheet, the rules of its @import files first.
void StyleTracker::ReadSheet(std::string_view css, const std::string& dir, int depth) {
    css::StyleSheet sheet = css::ParseStyleSheet(css, medium_);
    if (sheet.by_medium) by_medium_ = true;
    for (const css::ImportRule& imp : sheet.imports) {
        if (depth >= kMaxImportDepth) continue;
        if (css::DependsOnMedium(imp.media)) by_medium_ = true;
        if (css::MediaApplies(imp.media, medium_)) {
            ReadSheetFile(imp.url, dir, depth + 1);
        }
    }
    for (css::StyleRule& rule : sheet.rules) {
        for (const css::Selector& sel : rule.selectors) {
            for (std::size_t i = 0; i < sel.compounds.size(); ++i) {
                const css::CompoundSelector& c = sel.compounds[i];
                if (i > 0 && c.combinator == css::Combinator::Sibling) keep_all_siblings_ = true;
                if (i > 0 && (c.combinator == css::Combinator::Sibling ||
                              c.combinator == css::Combinator::Adjacent)) {
                    by_place_ = true;
                }
                for (const css::SimpleSelector& cond : c.conditions) {
                    using K = css::SimpleSelector::Kind;
                    if (cond.kind == K::FirstChild || cond.kind == K::NthChild) by_place_ = true;
                    if (cond.kind == K::Attribute) by_attribute_ = true;
                }
            }
        }
        if (dir != base_dir_) AnchorImageUrls(rule, dir);
        sheet_.rules.push_back(std::move(rule));
    }
    for (css::PageRule& page : sheet.pages) sheet_.pages.push_back(std::move(page));
}

void StyleTracker::Reindex() {
    index_ = std::make_unique<css::RuleIndex>(sheet_);
    shared_.clear();
}

std::optional<std::size_t> StyleTracker::FindOpen(std::string_view tag, bool stop_at_table) const {
    for (std::size_t i = open_.size(); i-- > 0;) {
        const std::string& t = open_[i]->tag;
        if (t == tag) return i;
        if (stop_at_table && (t == "table" || t == "td" || t == "th" || t == "caption")) break;
    }
    return std::nullopt;
}

std::size_t StyleTracker::ClosedBy(std::string_view tag) const {
    auto closing_from = [&](std::optional<std::size_t> at) -> std::size_t {
        return at ? open_.size() - *at : 0;
    };
    const StyledElement* top = Current();
    if (tag == "li") {
        for (std::size_t i = open_.size(); i-- > 0;) {
            const std::string& t = open_[i]->tag;
            if (t == "li") return open_.size() - i;
            if (t == "ul" || t == "ol" || t == "menu" || t == "dir" || IsTablePart(t)) break;
        }
    } else if (tag == "dt" || tag == "dd") {
        for (std::size_t i = open_.size(); i-- > 0;) {
            const std::string& t = open_[i]->tag;
            if (t == "dt" || t == "dd") return open_.size() - i;
            if (t == "dl" || IsTablePart(t)) break;
        }
    } else if (tag == "td" || tag == "th") {
        for (std::size_t i = open_.size(); i-- > 0;) {
            const std::string& t = open_[i]->tag;
            // A cell or row ends a column group left open.
            if (t == "td" || t == "th" || t == "colgroup") return open_.size() - i;
            if (t == "tr" || t == "table") break;
        }
    } else if (tag == "tr") {
        for (std::size_t i = open_.size(); i-- > 0;) {
            const std::string& t = open_[i]->tag;
            if (t == "tr" || t == "colgroup") return open_.size() - i;
            if (t == "table") break;
        }
    } else if (OneOf(tag, kRowGroups) || tag == "caption" || tag == "colgroup") {
        for (std::size_t i = open_.size(); i-- > 0;) {
            const std::string& t = open_[i]->tag;
            if (OneOf(t, kRowGroups) || t == "tr" || t == "caption" || t == "colgroup") {
                // Close from the outermost of these inside the table.
                std::size_t j = i;
                while (j > 0 && open_[j - 1]->tag != "table") --j;
                return open_.size() - j;
            }
            if (t == "table") break;
        }
    } else if (tag == "option") {
        if (top && top->tag == "option") return 1;
    }
    if (OneOf(tag, kHeadings) && top && OneOf(top->tag, kHeadings)) return 1;
    if (OneOf(tag, kClosesParagraph)) return closing_from(FindOpen("p", true));
    return 0;
}

std::size_t StyleTracker::ClosedByEnd(std::string_view tag) const {
    if (OneOf(tag, kHeadings)) {
        for (std::size_t i = open_.size(); i-- > 0;) {
            if (OneOf(open_[i]->tag, kHeadings)) return open_.size() - i;
            if (IsTablePart(open_[i]->tag)) break;
        }
        return 0;
    }
    const auto at = FindOpen(tag, !IsTablePart(tag));
    return at ? open_.size() - *at : 0;
}

StyledElement& StyleTracker::Open(std::string_view tag, const TAttributeList& attrs,
                                  double parent_font_px) {
    auto e = std::make_unique<StyledElement>();
    e->tag.assign(tag);
    StyledElement* parent = open_.empty() ? nullptr : open_.back().get();
    e->parent = parent;
    std::unique_ptr<StyledElement>& last = parent ? parent->last_child : root_children_;
    if (last) {
        last->last_child.reset();  // nothing looks into a closed sibling's children
        if (!keep_all_siblings_) last->previous.reset();
        e->previous = std::move(last);
    }
    e->index = parent ? ++parent->children : 1;
    const TAttribute* style_attr = nullptr;
    for (const TAttribute& a : attrs) {
        if (a.Sym == Symb::StyleSy) style_attr = &a;
        if (a.Sym == Symb::HrefSy && tag == "a") e->link = true;
        // Only attribute selectors look at other attributes.
        if (!by_attribute_ && a.Sym != Symb::IdSy && a.Sym != Symb::ClassSy) continue;
        std::string value = a.TextUtf8();
        if (a.Sym == Symb::IdSy) e->id = value;
        if (a.Sym == Symb::ClassSy) {
            std::size_t i = 0;
            while (i < value.size()) {
                const std::size_t b = value.find_first_not_of(" \t\r\n\f", i);
                if (b == std::string::npos) break;
                const std::size_t end = std::min(value.find_first_of(" \t\r\n\f", b), value.size());
                e->classes.emplace_back(value.substr(b, end - b));
                i = end;
            }
        }
        if (by_attribute_ && !a.Name.empty()) {
            e->attributes.emplace_back(css::AsciiLower(a.Name), std::move(value));
        }
    }

    if (by_place_ || style_attr) {
        ApplyCascade(*e, style_attr, parent_font_px);
    } else {
        // The key: everything matching and computing can see of this element.
        std::string& key = key_;
        key.clear();
        const std::uint32_t parent_class = parent ? parent->style_class : 0;
        key.append(reinterpret_cast<const char*>(&parent_class), sizeof parent_class);
        const auto px = static_cast<std::int32_t>(std::lround(parent_font_px * 64));
        key.append(reinterpret_cast<const char*>(&px), sizeof px);
        key += e->link ? 'L' : '-';
        key += e->tag;
        key += '\0';
        key += e->id;
        for (const std::string& c : e->classes) {
            key += '\0';
            key += c;
        }
        if (by_attribute_) {
            for (const auto& [n, v] : e->attributes) {
                key += '\1';
                key += n;
                key += '=';
                key += v;
            }
        }
        if (parent_class == 0 && parent) {
            ApplyCascade(*e, nullptr, parent_font_px);  // the parent is one of its own
        } else if (auto it = shared_.find(key); it != shared_.end()) {
            e->style = it->second.style;
            e->style_class = it->second.style_class;
        } else {
            ApplyCascade(*e, nullptr, parent_font_px);
            // A document of many distinct elements (ids on every row) would fill the cache
            // without profit: it starts again when it grows large.
            if (shared_.size() >= kMaxSharedStyles) shared_.clear();
            e->style_class = next_class_++;
            shared_.emplace(key, SharedStyle{e->style, e->style_class});
        }
    }
    if (!parent && e->tag == "html") context_.root_font_size = e->Style().font_size;
    open_.push_back(std::move(e));
    return *open_.back();
}

// Matches the element against the sheets and computes its style from its parent's.
void StyleTracker::ApplyCascade(StyledElement& e, const TAttribute* style_attr,
                                double parent_font_px) {
    std::vector<css::AppliedDeclaration> applied;
    if (index_) {
        for (const css::RuleMatch& m : index_->Match(e)) {
            for (const css::Declaration& d : sheet_.rules[m.rule].declarations) {
                applied.push_back({&d, m.specificity, m.rule, false});
            }
        }
    }
    std::vector<css::Declaration> inline_decls;
    if (style_attr) {
        inline_decls = css::ParseDeclarationList(style_attr->TextUtf8());
        for (const css::Declaration& d : inline_decls) {
            applied.push_back({&d, {1, 0, 0}, sheet_.rules.size(), true});
        }
    }
    css::ComputedStyle parent_style = e.parent ? e.parent->Style() : root_parent_;
    parent_style.font_size = parent_font_px;
    css::SortForCascade(applied);
    e.style = std::make_shared<const css::ComputedStyle>(
        css::ComputeStyle(applied, parent_style, context_));
}

void StyleTracker::Close() {
    if (open_.empty()) return;
    std::unique_ptr<StyledElement> e = std::move(open_.back());
    open_.pop_back();
    e->last_child.reset();
    StyledElement* parent = open_.empty() ? nullptr : open_.back().get();
    (parent ? parent->last_child : root_children_) = std::move(e);
}

}  // namespace quillon
