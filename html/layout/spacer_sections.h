#pragma once
// Blocks without text: paragraph and heading spacers, horizontal rules and page breaks.
// Their heights follow the document's base font size F as value * F / 12.

#include <limits>

#include "html/layout/section_base.h"
#include "html/parse/html_attribute.h"
#include "platform/core/rgba_image.h"

namespace quillon {

// A spacer's Pixels when no style sets them: the spacer's usual space. A plain int with a
// value no margin reaches keeps the spacers as small as without styles.
inline constexpr int kUsualSpace = std::numeric_limits<int>::min();

// The space of a P: 14 pixels at F = 12, or the Pixels a style's margins give.
class TParagraphSpace : public TSectionBase {
  public:
    explicit TParagraphSpace(TSectionList& doc);
    int Pixels = kUsualSpace;  // at F = 12: from a style's margins
    std::unique_ptr<TSectionBase> CreateCopy(TSectionList& doc) const override;
    void CopyToClipboard(SelTextCount& sink) const override;
    void UpdateSpacing() override;
};

// The space around a heading: 16, 12, 10, 8, 6, 4 pixels for levels 1..6 (8 otherwise).
class THeadingSpace : public TSectionBase {
  public:
    THeadingSpace(TSectionList& doc, int level);
    int HeadingLevel;
    int Pixels = kUsualSpace;  // at F = 12: from a style's margins
    std::unique_ptr<TSectionBase> CreateCopy(TSectionList& doc) const override;
    void CopyToClipboard(SelTextCount& sink) const override;
    void UpdateSpacing() override;
};

// HR.
class THorzLine : public TSectionBase {
  public:
    THorzLine(TSectionList& doc, const TAttributeList& attrs);
    int Thickness = 2;   // SIZE when 1..20
    int RuleWidth = -1;  // WIDTH (pixels, or percent when RuleIsPercent); -1: full width
    bool RuleIsPercent = false;
    Color RuleColor = 0;  // COLOR
    bool HasColor = false;

    std::unique_ptr<TSectionBase> CreateCopy(TSectionList& doc) const override;
    void CopyToClipboard(SelTextCount& sink) const override;
    int DrawLogic(Canvas& canvas, int y, IndentManager& im, int& max_width, int& cursor) override;
    int Draw(Canvas& canvas, const Rect& clip, IndentManager& im, int x, int y) override;
    void UpdateSpacing() override;

    // Layout results used by drawing.
    int LeftX = 0;
    int AvailWidth = 0;

    // A copy of src for doc.
    THorzLine(TSectionList& doc, const THorzLine& src);
};

// PAGE: a zero-height page break.
class TPage : public TSectionBase {
  public:
    explicit TPage(TSectionList& doc) : TSectionBase(&doc) {}
    std::unique_ptr<TSectionBase> CreateCopy(TSectionList& doc) const override;
    bool IfNewPage() const override { return true; }
};

}  // namespace quillon
