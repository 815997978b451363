#pragma once
// List items: unordered (with or without bullet), definition and ordered.

#include "html/layout/section.h"

namespace quillon {

class TUListItem : public TSection {
  public:
    TUListItem(TSectionList& doc, int level, const TMyFont& font, const TUrlTarget* link,
               JustifyType align, const TextStyleState& style = {});
    bool Plain = false;  // no bullet (UL PLAIN)
    TMyFont StartFont;   // the item's starting font, for its bullet or number
    std::unique_ptr<TSectionBase> CreateCopy(TSectionList& doc) const override;
    void UpdateFonts() override;
    std::u32string MarkerText() const override;

    TUListItem(TSectionList& doc, const TUListItem& src);

  protected:
    void DrawMarker(Canvas& canvas, const LineRec& line, int line_x, int line_top) override;
};

class TDListItem : public TUListItem {
  public:
    TDListItem(TSectionList& doc, int level, const TMyFont& font, const TUrlTarget* link,
               JustifyType align, const TextStyleState& style = {});
    std::unique_ptr<TSectionBase> CreateCopy(TSectionList& doc) const override;

    TDListItem(TSectionList& doc, const TDListItem& src) : TUListItem(doc, src) {}
};

class TOListItem : public TUListItem {
  public:
    // Item `number` of a list numbered in `number_style` ('1', 'a', 'A', 'i', 'I', ...).
    TOListItem(TSectionList& doc, int level, int number, char32_t number_style, const TMyFont& font,
               const TUrlTarget* link, JustifyType align, const TextStyleState& style = {});
    int ItemNumber;
    char32_t NumberStyle;
    std::unique_ptr<TSectionBase> CreateCopy(TSectionList& doc) const override;
    std::u32string MarkerText() const override;

    TOListItem(TSectionList& doc, const TOListItem& src);

  protected:
    void DrawMarker(Canvas& canvas, const LineRec& line, int line_x, int line_top) override;
};

}  // namespace quillon
