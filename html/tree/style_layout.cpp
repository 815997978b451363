#include "html/tree/style_layout.h"

#include <cmath>

#include "html/layout/html_table.h"
#include "html/layout/image_obj.h"

namespace quillon {

namespace {

using css::Property;

// A width in the box's terms; auto and negative lengths give nothing.
std::optional<BoxLength> BoxLengthOf(const css::Length& l) {
    switch (l.kind) {
        case css::Length::Kind::Px:
            if (l.value < 0) return std::nullopt;
            return BoxLength{static_cast<int>(std::lround(l.value)), -1};
        case css::Length::Kind::Percent:
            if (l.value < 0) return std::nullopt;
            return BoxLength{0, l.value};
        default:
            return std::nullopt;
    }
}

std::optional<BoxLength> IfSet(const css::ComputedStyle& s, Property p, const css::Length& l) {
    return s.Has(p) ? BoxLengthOf(l) : std::nullopt;
}

}  // namespace

bool HasSizeProperties(const css::ComputedStyle& s) {
    return (s.Has(Property::Width) && !s.width.IsAuto()) ||
           (s.Has(Property::MinWidth) && !s.min_width.IsAuto()) ||
           (s.Has(Property::MaxWidth) && !s.max_width.IsAuto()) ||
           (s.Has(Property::Height) && s.height.kind == css::Length::Kind::Px);
}

std::shared_ptr<BoxPicture> PictureOf(const css::ComputedStyle& s) {
    if (!s.Has(Property::BackgroundImage) || s.background_image.empty()) return nullptr;
    auto picture = std::make_shared<BoxPicture>();
    picture->Name = s.background_image;
    using R = css::BackgroundRepeat;
    picture->RepeatX = s.background_repeat == R::Repeat || s.background_repeat == R::RepeatX;
    picture->RepeatY = s.background_repeat == R::Repeat || s.background_repeat == R::RepeatY;
    const auto place = [](const css::Length& l, int& px, double& percent, bool& is_percent) {
        is_percent = l.kind == css::Length::Kind::Percent;
        if (is_percent) {
            percent = l.value;
        } else {
            px = static_cast<int>(std::lround(l.value));
        }
    };
    place(s.background_position[0], picture->X, picture->XPercent, picture->XIsPercent);
    place(s.background_position[1], picture->Y, picture->YPercent, picture->YIsPercent);
    return picture;
}

BoxSizing SizingOf(const css::ComputedStyle& s) {
    BoxSizing size;
    size.Width = IfSet(s, Property::Width, s.width);
    size.MinWidth = IfSet(s, Property::MinWidth, s.min_width);
    size.MaxWidth = IfSet(s, Property::MaxWidth, s.max_width);
    // A percentage height is of a parent's height, which a flow of text does not have:
    // it counts as auto, as in browsers.
    if (s.Has(Property::Height) && s.height.kind == css::Length::Kind::Px && s.height.value > 0) {
        size.MinHeight = static_cast<int>(std::lround(s.height.value));
    }
    if (size.Constrained()) {
        size.AutoLeft = s.margin[kBoxLeft].IsAuto();
        size.AutoRight = s.margin[kBoxRight].IsAuto();
        // Blocks do not float here; one floated right with a width at least stands at the
        // right, where the float would be.
        if (s.Has(Property::Float) && s.float_side == css::FloatSide::Right) {
            size.AutoLeft = true;
            size.AutoRight = false;
        }
    }
    return size;
}

void SizeTable(ThtmlTable& table, const css::ComputedStyle& s) {
    table.MinWidth = IfSet(s, Property::MinWidth, s.min_width);
    table.MaxWidth = IfSet(s, Property::MaxWidth, s.max_width);
    table.SpreadAsBrowsers = true;
    if (s.Has(Property::Float) && s.float_side != css::FloatSide::None) {
        const bool left = s.float_side == css::FloatSide::Left;
        table.BlockAlign = left ? JustifyType::Left : JustifyType::Right;
        table.Floating = left ? AlignmentType::ALeft : AlignmentType::ARight;
    }
}

void StyleImage(TImageObj& image, const css::ComputedStyle& s) {
    if (s.Has(Property::Float)) {
        switch (s.float_side) {
            case css::FloatSide::Left:
                image.Placement = AlignmentType::ALeft;
                break;
            case css::FloatSide::Right:
                image.Placement = AlignmentType::ARight;
                break;
            case css::FloatSide::None:
                if (image.Floating()) image.Placement = AlignmentType::Bottom;
                break;
        }
    }
    if (s.Has(Property::Width) && !s.width.IsAuto() && s.width.value >= 0) {
        image.WidthIsPercent = s.width.kind == css::Length::Kind::Percent;
        image.WidthValue = static_cast<int>(std::lround(s.width.value));
    }
    if (s.Has(Property::Height) && s.height.kind == css::Length::Kind::Px && s.height.value >= 0) {
        image.HeightValue = static_cast<int>(std::lround(s.height.value));
    }
}

std::optional<JustifyType> JustifyOf(css::TextAlign a) {
    switch (a) {
        case css::TextAlign::Left:
        case css::TextAlign::Justify:
            return JustifyType::Left;
        case css::TextAlign::Right:
            return JustifyType::Right;
        case css::TextAlign::Center:
            return JustifyType::Centered;
        default:
            return std::nullopt;
    }
}

std::optional<ClearAttrType> ClearOf(const css::ComputedStyle& s) {
    if (!s.Has(Property::Clear)) return std::nullopt;
    switch (s.clear) {
        case css::ClearSide::Left:
            return ClearAttrType::clLeft;
        case css::ClearSide::Right:
            return ClearAttrType::clRight;
        case css::ClearSide::Both:
            return ClearAttrType::clAll;
        default:
            return std::nullopt;
    }
}

}  // namespace quillon
