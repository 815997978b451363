#include "html/layout/list_item.h"

namespace quillon {

TUListItem::TUListItem(TSectionList& doc, int level, const TMyFont& font, const TUrlTarget* link,
                       JustifyType align, const TextStyleState& style)
    : TSection(doc, level, font, link, align, style), StartFont(FontRuns[0].Font()) {
    ItemKind = ListTypeType::Unordered;
}

TUListItem::TUListItem(TSectionList& doc, const TUListItem& src)
    : TSection(doc, src), Plain(src.Plain), StartFont(src.StartFont) {}

void TUListItem::UpdateFonts() {
    TSection::UpdateFonts();
    StartFont.UpdateFont(*Document, StartFont.FontColor);
}

std::unique_ptr<TSectionBase> TUListItem::CreateCopy(TSectionList& doc) const {
    return std::make_unique<TUListItem>(doc, *this);
}

TDListItem::TDListItem(TSectionList& doc, int level, const TMyFont& font, const TUrlTarget* link,
                       JustifyType align, const TextStyleState& style)
    : TUListItem(doc, level, font, link, align, style) {
    ItemKind = ListTypeType::Definition;
}

std::unique_ptr<TSectionBase> TDListItem::CreateCopy(TSectionList& doc) const {
    return std::make_unique<TDListItem>(doc, *this);
}

TOListItem::TOListItem(TSectionList& doc, int level, int number, char32_t number_style,
                       const TMyFont& font, const TUrlTarget* link, JustifyType align,
                       const TextStyleState& style)
    : TUListItem(doc, level, font, link, align, style),
      ItemNumber(number),
      NumberStyle(number_style) {
    ItemKind = ListTypeType::Ordered;
}

TOListItem::TOListItem(TSectionList& doc, const TOListItem& src)
    : TUListItem(doc, src), ItemNumber(src.ItemNumber), NumberStyle(src.NumberStyle) {}

std::unique_ptr<TSectionBase> TOListItem::CreateCopy(TSectionList& doc) const {
    return std::make_unique<TOListItem>(doc, *this);
}

}  // namespace quillon
