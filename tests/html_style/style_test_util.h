#pragma once
// Computing an element's style from declarations written as a STYLE attribute.

#include <string_view>
#include <vector>

#include "html/style/computed_style.h"
#include "html/style/style_parser.h"

namespace quillon::testing {

// The style of an element with the declarations `decls`, in the order written, under
// `parent`.
inline css::ComputedStyle Styled(std::string_view decls,
                                 const css::ComputedStyle& parent = css::InitialStyle(),
                                 double root_font_size = 16) {
    const std::vector<css::Declaration> list = css::ParseDeclarationList(decls);
    std::vector<css::AppliedDeclaration> applied;
    for (std::size_t i = 0; i < list.size(); ++i) {
        applied.push_back({&list[i], {0, 0, 0}, i, true});
    }
    return css::ComputeStyle(applied, parent, {root_font_size});
}

}  // namespace quillon::testing
