#include "html/layout/section_base.h"

#include <algorithm>

#include "html/layout/indent_manager.h"

namespace quillon {

void TSectionBase::CopyToClipboard(SelTextCount& /*sink*/) const {}

int TSectionBase::DrawLogic(Canvas& /*canvas*/, int y, IndentManager& im, int& max_width,
                            int& cursor) {
    FirstCursor = cursor;
    LayoutY = y;
    PaintHeight = Height;
    max_width = std::max(max_width, im.RightSide(y) - im.LeftIndent(y));
    return Height;
}

int TSectionBase::Draw(Canvas& /*canvas*/, const Rect& /*clip*/, IndentManager& /*im*/, int /*x*/,
                       int y) {
    TopY = y;
    return y + Height;
}

std::optional<UrlHit> TSectionBase::GetURL(Canvas& /*canvas*/, int /*x*/, int /*y*/) {
    return std::nullopt;
}

CursorHit TSectionBase::FindCursor(Canvas& /*canvas*/, int /*x*/, int /*y*/) {
    return {};
}

int TSectionBase::FindString(int /*from*/, std::u32string_view /*to_find*/, bool /*match_case*/,
                             char32_t /*replacement*/) {
    return -1;
}

std::optional<Point> TSectionBase::CursorToXY(Canvas& /*canvas*/, int /*cursor*/) {
    return std::nullopt;
}

std::optional<char32_t> TSectionBase::GetChAtPos(int /*pos*/) const {
    return std::nullopt;
}

void TSectionBase::UpdateFonts() {
    UpdateSpacing();
}

MinMax TSectionBase::MinMaxWidth(Canvas& /*canvas*/) {
    return {};
}

void TSectionBase::SetParent(TSectionList* doc) {
    Document = doc;
    UpdateSpacing();
}

void TSectionBase::SetBoxes(std::vector<BoxMembership> boxes) {
    boxes_.reset();
    if (boxes.empty()) return;
    auto set = std::make_unique<SectionBoxes>(std::move(boxes));
    if (!set->List().empty()) boxes_ = std::move(set);
}

void TSectionBase::CopyBase(const TSectionBase& src) {
    boxes_ = src.boxes_ ? std::make_unique<SectionBoxes>(*src.boxes_) : nullptr;
    Height = src.Height;
    PaintHeight = src.PaintHeight;
    TopY = src.TopY;
    FirstCursor = src.FirstCursor;
    LayoutY = src.LayoutY;
}

}  // namespace quillon
