#include "html/style/properties_background.h"

#include <optional>

namespace quillon::css {

namespace {

constexpr Keyword<BackgroundRepeat> kRepeats[] = {
    {"repeat", BackgroundRepeat::Repeat},
    {"repeat-x", BackgroundRepeat::RepeatX},
    {"repeat-y", BackgroundRepeat::RepeatY},
    {"no-repeat", BackgroundRepeat::NoRepeat},
};

// One component of a position: which axis a keyword names (0: x, 1: y, -1: either) and
// its length.
struct PositionPart {
    int axis = -1;
    Length length;
};

std::optional<PositionPart> PositionPartOf(const Component& c, FontBase base) {
    if (c.IsIdent("left")) return PositionPart{0, Length::Percent(0)};
    if (c.IsIdent("right")) return PositionPart{0, Length::Percent(100)};
    if (c.IsIdent("top")) return PositionPart{1, Length::Percent(0)};
    if (c.IsIdent("bottom")) return PositionPart{1, Length::Percent(100)};
    if (c.IsIdent("center")) return PositionPart{-1, Length::Percent(50)};
    if (const auto len = ParseLength(c)) return PositionPart{-1, Resolve(*len, base)};
    return std::nullopt;
}

}  // namespace

std::size_t ReadBackgroundLayout(const Values& v, std::size_t i, FontBase base,
                                 BackgroundLayout& out) {
    if (const auto r = MatchKeyword(v[i], kRepeats)) {
        out.repeat = *r;
        return 1;
    }
    const auto first = PositionPartOf(v[i], base);
    if (!first) return 0;
    const auto second = i + 1 < v.size() ? PositionPartOf(v[i + 1], base) : std::nullopt;
    if (!second) {
        // One value: the other axis is centred.
        const bool vertical = first->axis == 1;
        out.position[vertical ? 1 : 0] = first->length;
        out.position[vertical ? 0 : 1] = Length::Percent(50);
        return 1;
    }
    // Two values: x then y, unless the keywords say otherwise ("top left").
    const bool swapped = first->axis == 1 || second->axis == 0;
    out.position[0] = swapped ? second->length : first->length;
    out.position[1] = swapped ? first->length : second->length;
    return 2;
}

namespace props {

bool BackgroundRepeat(StyleBuilder& b, const Values& v) {
    if (v.size() != 1) return false;
    const auto r = MatchKeyword(v[0], kRepeats);
    if (!r) return false;
    b.style.background_repeat = *r;
    return true;
}

bool BackgroundPosition(StyleBuilder& b, const Values& v) {
    if (v.empty() || v.size() > 2 || MatchKeyword(v[0], kRepeats)) return false;
    BackgroundLayout layout;
    if (ReadBackgroundLayout(v, 0, b.base, layout) != v.size()) return false;
    b.style.background_position = layout.position;
    return true;
}

}  // namespace props

}  // namespace quillon::css
