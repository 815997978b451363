#include "html/tree/page_rule.h"

#include <string_view>
#include <vector>

#include "html/style/css_values.h"

namespace quillon {

namespace {

constexpr double kMmPerPx = 25.4 / 96.0;

// Paper sizes by name, portrait, in millimetres.
struct Paper {
    std::string_view name;  // lower case
    double width;
    double height;
};
constexpr Paper kPapers[] = {
    {"a5", 148, 210}, {"a4", 210, 297},         {"a3", 297, 420},        {"b5", 176, 250},
    {"b4", 250, 353}, {"letter", 215.9, 279.4}, {"legal", 215.9, 355.6}, {"ledger", 279.4, 431.8},
};

const Paper* PaperNamed(const css::Component& c) {
    if (!c.Is(css::TokenType::Ident)) return nullptr;
    for (const Paper& p : kPapers) {
        if (css::EqualsIgnoreCase(c.token->value, p.name)) return &p;
    }
    return nullptr;
}

std::optional<bool> Orientation(const css::Component& c) {
    if (c.IsIdent("portrait")) return false;
    if (c.IsIdent("landscape")) return true;
    return std::nullopt;
}

// A length of zero or more in millimetres; font-relative units against the initial font.
std::optional<double> Millimetres(const css::Component& c) {
    const auto length = css::ParseLength(c, {.percent = false, .negative = false});
    if (!length) return std::nullopt;
    return css::ToPixels(*length, {}) * kMmPerPx;
}

// What one `size` declaration sets; `auto` leaves everything open.
struct SizeValue {
    std::optional<double> width;
    std::optional<double> height;
    std::optional<bool> landscape;
};

std::optional<SizeValue> ReadSize(const std::vector<css::Component>& v) {
    SizeValue out;
    if (v.size() == 1 && v[0].IsIdent("auto")) return out;
    if (v.empty() || v.size() > 2) return std::nullopt;

    // One or two lengths: the width, then the height (the width again when left out).
    if (const auto w = Millimetres(v[0])) {
        const auto h = v.size() == 2 ? Millimetres(v[1]) : w;
        if (!h || *w <= 0 || *h <= 0) return std::nullopt;
        out.width = *w;
        out.height = *h;
        return out;
    }
    // A paper name, an orientation, or both in either order.
    const Paper* paper = nullptr;
    for (const css::Component& c : v) {
        if (const Paper* p = PaperNamed(c); p && !paper) {
            paper = p;
        } else if (const auto o = Orientation(c); o && !out.landscape) {
            out.landscape = o;
        } else {
            return std::nullopt;
        }
    }
    if (paper) {
        out.width = paper->width;
        out.height = paper->height;
    }
    return out;
}

// The four sides of a `margin` shorthand of one to four lengths: top, right, bottom, left.
std::optional<std::array<double, 4>> ReadMargins(const std::vector<css::Component>& v) {
    if (v.empty() || v.size() > 4) return std::nullopt;
    std::vector<double> mm;
    for (const css::Component& c : v) {
        const auto m = Millimetres(c);
        if (!m) return std::nullopt;
        mm.push_back(*m);
    }
    switch (mm.size()) {
        case 1:
            return std::array{mm[0], mm[0], mm[0], mm[0]};
        case 2:
            return std::array{mm[0], mm[1], mm[0], mm[1]};
        case 3:
            return std::array{mm[0], mm[1], mm[2], mm[1]};
        default:
            return std::array{mm[0], mm[1], mm[2], mm[3]};
    }
}

// The page set-up being read, with which of its parts an !important declaration set.
class Reader {
  public:
    void Read(const css::Declaration& d) {
        const std::vector<css::Component> v = css::SplitComponents(d.value);
        if (d.name == "size") {
            if (const auto s = ReadSize(v); s && Takes(size_important_, d.important)) {
                page_.WidthMm = s->width;
                page_.HeightMm = s->height;
                page_.Landscape = s->landscape;
            }
        } else if (d.name == "margin") {
            if (const auto m = ReadMargins(v)) {
                for (std::size_t i = 0; i < 4; ++i) SetMargin(i, (*m)[i], d.important);
            }
        } else if (const auto side = SideOf(d.name)) {
            if (v.size() != 1) return;
            if (const auto m = Millimetres(v[0])) SetMargin(*side, *m, d.important);
        }
    }
    const TPageSetup& Page() const { return page_; }

  private:
    static std::optional<std::size_t> SideOf(std::string_view name) {
        constexpr std::string_view kSides[] = {"margin-top", "margin-right", "margin-bottom",
                                               "margin-left"};
        for (std::size_t i = 0; i < 4; ++i) {
            if (name == kSides[i]) return i;
        }
        return std::nullopt;
    }
    // Whether a declaration replaces what an earlier one set; notes its importance.
    static bool Takes(bool& important_before, bool important) {
        if (important_before && !important) return false;
        important_before = important;
        return true;
    }
    void SetMargin(std::size_t side, double mm, bool important) {
        if (Takes(margin_important_[side], important)) page_.MarginMm[side] = mm;
    }

    TPageSetup page_;
    bool size_important_ = false;
    std::array<bool, 4> margin_important_{};
};

bool ForEveryPage(const css::PageRule& rule) {
    return rule.selector.find_first_not_of(" \t\r\n\f") == std::string::npos;
}

}  // namespace

TPageSetup ReadPageSetup(std::span<const css::PageRule> rules) {
    Reader reader;
    for (const css::PageRule& rule : rules) {
        if (!ForEveryPage(rule)) continue;
        for (const css::Declaration& d : rule.declarations) reader.Read(d);
    }
    return reader.Page();
}

}  // namespace quillon
