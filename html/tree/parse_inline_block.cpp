// Elements laid out as one box on a line (display: inline-block): the place in the current
// section, the block's own cell for the content, and the box around that content.

#include "html/layout/cell.h"
#include "html/layout/section_list.h"
#include "html/tree/html_parser_state.h"
#include "html/tree/style_layout.h"
#include "html/tree/style_tracker.h"

namespace quillon {

namespace {

TInlineBlock::Align AlignOf(const css::ComputedStyle& s) {
    if (!s.Has(css::Property::VerticalAlign)) return TInlineBlock::Align::Baseline;
    switch (s.vertical_align) {
        case css::VerticalAlign::Top:
            return TInlineBlock::Align::Top;
        case css::VerticalAlign::Middle:
            return TInlineBlock::Align::Middle;
        case css::VerticalAlign::Bottom:
            return TInlineBlock::Align::Bottom;
        default:
            return TInlineBlock::Align::Baseline;
    }
}

bool Decorates(const BoxStyle& box) {
    return box.Background || box.HasBorder() || box.Padding != std::array<int, 4>{} ||
           box.Margin != std::array<int, 4>{} || box.Size.MinHeight > 0 || box.Picture ||
           box.Hidden;
}

}  // namespace

bool HtmlParser::InInlineBlockElement() const {
    return !open_inline_.empty() && styles_ && open_inline_.back().depth == styles_->Depth();
}

void HtmlParser::OpenInlineBlock(const css::ComputedStyle& s, BoxStyle box) {
    if (!section_) StartSection(0, justify_);
    TInlineBlock& block = section_->AddInlineBlock();
    const BoxSizing size = SizingOf(s);
    block.Width = size.Width;
    block.MinWidth = size.MinWidth;
    block.MaxWidth = size.MaxWidth;
    block.Placement = AlignOf(s);
    // The block's width is its own; of its sizes the box keeps the minimum height only.
    box.Size = BoxSizing{};
    box.Size.MinHeight = size.MinHeight;
    if (Decorates(box)) block.Box = std::make_shared<const BoxStyle>(box);

    open_inline_.push_back(
        OpenInline{&block, cell_, std::move(section_), section_named_, justify_, styles_->Depth()});
    cell_ = &block.Body;
    justify_ = JustifyOf(s.text_align).value_or(justify_);
    pending_margin_.reset();
    StartSection(0, justify_);
}

void HtmlParser::CloseInlineBlock() {
    OpenInline open = std::move(open_inline_.back());
    open_inline_.pop_back();
    justify_ = open.outer_justify;
    TCell& body = open.block->Body;
    if (cell_ != &body) {
        // Closed from inside a table of its own: the line that holds it ends here, and
        // what follows stays where the parser is.
        open.outer_cell->Add(std::move(open.outer_section));
        return;
    }
    AddSection();
    pending_margin_.reset();
    // An empty block still has its box, its minimum height and its width.
    if (body.Empty()) {
        body.Add(std::make_unique<TSection>(doc_, 0, EffectiveFont(), nullptr, justify_,
                                            EffectiveStyle()));
    }
    // Lists inside count their levels from the block, not from the lists around it.
    const int level = open.outer_section->NestLevel;
    for (int i = 0; i < body.Count(); ++i) {
        if (auto* text = dynamic_cast<TSection*>(&body[i])) {
            text->NestLevel = std::max(0, text->NestLevel - level);
        }
        if (!open.block->Box) continue;
        std::vector<BoxMembership> boxes{{open.block->Box, i == 0, i == body.Count() - 1}};
        if (const SectionBoxes* inner = body[i].Boxes()) {
            boxes.insert(boxes.end(), inner->List().begin(), inner->List().end());
        }
        body[i].SetBoxes(std::move(boxes));
    }
    cell_ = open.outer_cell;
    section_ = std::move(open.outer_section);
    section_named_ = open.outer_named;
}

}  // namespace quillon
