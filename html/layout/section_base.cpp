#include "html/layout/section_base.h"

#include <algorithm>

#include "html/layout/indent_manager.h"
#include "html/layout/section_list.h"

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

TSectionBase::~TSectionBase() {
    if (Document) Document->SideBoxes().Drop(this);
}

void TSectionBase::SetParent(TSectionList* doc) {
    if (doc != Document) ChangeDocument(doc);
    UpdateSpacing();
}

// Its boxes go with it to the other document. Rare: kept off SetParent's path.
void TSectionBase::ChangeDocument(TSectionList* doc) {
    if (Document) {
        if (doc) {
            Document->SideBoxes().MoveTo(doc->SideBoxes(), this);
        } else {
            Document->SideBoxes().Drop(this);
        }
    }
    Document = doc;
}

void TSectionBase::SetBoxes(std::vector<BoxMembership> boxes) {
    if (!Document) return;
    BoxTable& table = Document->SideBoxes();
    table.Drop(this);
    if (boxes.empty()) return;
    SectionBoxes set(std::move(boxes));
    if (!set.List().empty()) table.Set(this, std::move(set));
}

void TSectionBase::CopyBase(const TSectionBase& src) {
    if (const SectionBoxes* boxes = src.Boxes(); boxes && Document) {
        Document->SideBoxes().Set(this, *boxes);
    }
    Height = src.Height;
    PaintHeight = src.PaintHeight;
    TopY = src.TopY;
    FirstCursor = src.FirstCursor;
    LayoutY = src.LayoutY;
}

}  // namespace quillon
