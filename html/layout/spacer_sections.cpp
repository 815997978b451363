#include "html/layout/spacer_sections.h"

#include <algorithm>

#include "html/layout/attribute_access.h"
#include "html/layout/mul_div.h"
#include "html/layout/section_list.h"
#include "html/layout/sel_text.h"

namespace quillon {

namespace {

int Scaled(const TSectionBase& s, int value) {
    return std::max(0, MulDiv(value, s.Document->BaseFontSize(), 12));
}

// A spacer inside the selection copies as a line end.
void CopyLineEnd(const TSectionBase& s, SelTextCount& sink) {
    if (sink.InSelection(s.FirstCursor)) sink.AddLineEnd();
}

}  // namespace

TParagraphSpace::TParagraphSpace(TSectionList& doc) : TSectionBase(&doc) {
    UpdateSpacing();
}

std::unique_ptr<TSectionBase> TParagraphSpace::CreateCopy(TSectionList& doc) const {
    auto copy = std::make_unique<TParagraphSpace>(doc);
    copy->Pixels = Pixels;
    copy->CopyBase(*this);
    return copy;
}

void TParagraphSpace::CopyToClipboard(SelTextCount& sink) const {
    CopyLineEnd(*this, sink);
}

void TParagraphSpace::UpdateSpacing() {
    Height = Scaled(*this, Pixels != kUsualSpace ? Pixels : 14);
}

THeadingSpace::THeadingSpace(TSectionList& doc, int level)
    : TSectionBase(&doc), HeadingLevel(level) {
    UpdateSpacing();
}

std::unique_ptr<TSectionBase> THeadingSpace::CreateCopy(TSectionList& doc) const {
    auto copy = std::make_unique<THeadingSpace>(doc, HeadingLevel);
    copy->Pixels = Pixels;
    copy->CopyBase(*this);
    return copy;
}

void THeadingSpace::CopyToClipboard(SelTextCount& sink) const {
    CopyLineEnd(*this, sink);
}

void THeadingSpace::UpdateSpacing() {
    static constexpr int kSpace[6] = {16, 12, 10, 8, 6, 4};
    const int v = HeadingLevel >= 1 && HeadingLevel <= 6 ? kSpace[HeadingLevel - 1] : 8;
    Height = Scaled(*this, Pixels != kUsualSpace ? Pixels : v);
}

THorzLine::THorzLine(TSectionList& doc, const TAttributeList& attrs) : TSectionBase(&doc) {
    if (const auto size = AttrNumber(attrs, Symb::SizeSy); size && *size >= 1 && *size <= 20) {
        Thickness = *size;
    }
    if (const auto width = AttrLength(attrs, Symb::WidthSy)) {
        RuleIsPercent = width->Percent;
        if (!width->Percent) {
            RuleWidth = std::max(0, width->Value);
        } else if (width->Value >= 1 && width->Value <= 100) {
            RuleWidth = width->Value;
        }
    }
    if (const auto color = AttrColor(attrs, Symb::ColorSy)) {
        RuleColor = *color;
        HasColor = true;
    }
    UpdateSpacing();
}

THorzLine::THorzLine(TSectionList& doc, const THorzLine& src)
    : TSectionBase(&doc),
      Thickness(src.Thickness),
      RuleWidth(src.RuleWidth),
      RuleIsPercent(src.RuleIsPercent),
      RuleColor(src.RuleColor),
      HasColor(src.HasColor),
      LeftX(src.LeftX),
      AvailWidth(src.AvailWidth) {
    CopyBase(src);
}

std::unique_ptr<TSectionBase> THorzLine::CreateCopy(TSectionList& doc) const {
    return std::make_unique<THorzLine>(doc, *this);
}

void THorzLine::CopyToClipboard(SelTextCount& sink) const {
    CopyLineEnd(*this, sink);
}

void THorzLine::UpdateSpacing() {
    Height = std::max(0, Scaled(*this, 20) - 2 + Thickness);
}

std::unique_ptr<TSectionBase> TPage::CreateCopy(TSectionList& doc) const {
    auto copy = std::make_unique<TPage>(doc);
    copy->CopyBase(*this);
    return copy;
}

}  // namespace quillon
