#include "html/style/computed_style.h"

#include <algorithm>
#include <tuple>

#include "html/style/style_builder.h"

namespace quillon::css {
namespace {

// The initial style with the inherited properties taken from `parent`.
ComputedStyle Inherit(const ComputedStyle& parent) {
    ComputedStyle s;
    s.color = parent.color;
    s.font_family = parent.font_family;
    s.font_size = parent.font_size;
    s.font_weight = parent.font_weight;
    s.italic = parent.italic;
    s.text_align = parent.text_align;
    s.text_indent = parent.text_indent;
    s.text_transform = parent.text_transform;
    s.line_height = parent.line_height;
    s.line_height_factor = parent.line_height_factor;
    s.white_space = parent.white_space;
    s.list_style = parent.list_style;
    s.visible = parent.visible;
    s.border_collapse = parent.border_collapse;
    s.border_spacing = parent.border_spacing;
    return s;
}

}  // namespace

void SortForCascade(std::vector<AppliedDeclaration>& applied) {
    auto key = [](const AppliedDeclaration& a) {
        return std::make_tuple(a.declaration->important, a.from_attribute, a.specificity, a.order);
    };
    std::stable_sort(applied.begin(), applied.end(),
                     [&key](const AppliedDeclaration& a, const AppliedDeclaration& b) {
                         return key(a) < key(b);
                     });
}

ComputedStyle InitialStyle() {
    return ComputedStyle{};
}

ComputedStyle ComputeStyle(const std::vector<AppliedDeclaration>& in_cascade_order,
                           const ComputedStyle& parent, const ResolveContext& context) {
    ComputedStyle style = Inherit(parent);

    // Lengths in em resolve against the element's final font size, whichever declaration
    // comes first, so that is found before anything else is applied.
    double font_size = parent.font_size;
    for (const AppliedDeclaration& a : in_cascade_order) {
        if (auto size =
                DeclaredFontSize(*a.declaration, parent.font_size, context.root_font_size)) {
            font_size = *size;
        }
    }

    StyleBuilder builder{style, parent, {font_size, context.root_font_size}};
    for (const AppliedDeclaration& a : in_cascade_order) ApplyDeclaration(builder, *a.declaration);

    if (builder.background_is_current) style.background_color = style.color;
    if (style.line_height_factor) style.line_height = *style.line_height_factor * style.font_size;
    // Text decorations are drawn across the descendants too, except those taken out of
    // the line (floats) or laid out as atoms of it (inline blocks).
    const bool carries =
        style.float_side == FloatSide::None && style.display != Display::InlineBlock;
    style.decoration = builder.own_decoration | (carries ? parent.decoration : 0);
    return style;
}

}  // namespace quillon::css
