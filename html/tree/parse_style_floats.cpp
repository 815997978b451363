// Floats in documents with style: images and tables that float, and blocks that clear them.

#include "html/layout/cell.h"
#include "html/layout/image_obj.h"
#include "html/layout/section.h"
#include "html/tree/html_parser_state.h"
#include "html/tree/style_layout.h"
#include "html/tree/style_tracker.h"

namespace quillon {

void HtmlParser::ClearFloats(std::string_view tag, const css::ComputedStyle& s) {
    const std::optional<ClearAttrType> clear = ClearOf(s);
    if (!clear) return;
    // An inline image clears only when it floats (as a block would).
    if (tag == "img" && s.float_side == css::FloatSide::None) return;
    const int level = section_ ? section_->NestLevel : 0;
    const JustifyType align = section_ ? section_->BlockAlign : justify_;
    AddSection();
    // An empty section that ends below the floats; the element's content follows in the
    // sections its routine starts (which may replace a current section without adding it).
    StartSection(level, align);
    section_->ClearMode = *clear;
    cell_->Add(std::move(section_));
}

void HtmlParser::StyleImageElement(TImageObj& image) const {
    // The image element opened and closed before its symbol is read: the closed child.
    const StyledElement* parent = styles_->Current();
    const StyledElement* img = parent ? parent->last_child.get() : nullptr;
    if (!img || img->tag != "img") return;
    StyleImage(image, img->Style());
}

}  // namespace quillon
