#include "html/layout/cell.h"

#include <algorithm>

#include "html/layout/section.h"
#include "html/layout/section_list.h"
#include "html/layout/sel_text.h"

namespace quillon {

TCell::~TCell() = default;

void TCell::Add(std::unique_ptr<TSectionBase> section) {
    if (!section) return;
    if (section->CharCount() == 0) {
        if (auto* pre = dynamic_cast<TPreFormated*>(section.get())) pre->AddText(U" ");
    }
    section->SetParent(Document);
    sections_.push_back(std::move(section));
}

void TCell::CopySectionsFrom(const TCell& src) {
    BkGnd = src.BkGnd;
    BkColor = src.BkColor;
    for (const auto& s : src.sections_) {
        auto copy = s->CreateCopy(*Document);
        copy->Document = Document;
        sections_.push_back(std::move(copy));
    }
}

namespace {

// Lays out a section inside the insets of its boxes, below the room of the boxes it starts;
// returns its place in the flow (with the room of the boxes it ends).
int LayoutBoxed(TSectionBase& s, SectionBoxes& boxes, Canvas& canvas, int y, IndentManager& im,
                int& scroll_width, int& cursor) {
    const int left_edge = im.LeftEdge, right_edge = im.RightEdge;
    boxes.Fit(right_edge - left_edge);
    im.LeftEdge = std::min(left_edge + boxes.LeftInset(), right_edge);
    im.RightEdge = std::max(im.LeftEdge, right_edge - boxes.RightInset());
    int inner_width = 0;
    const int height = s.DrawLogic(canvas, y + boxes.TopRoom(), im, inner_width, cursor);
    im.LeftEdge = left_edge;
    im.RightEdge = right_edge;
    // A box wider than its room (a negative right inset) widens the document by its width.
    scroll_width =
        std::max(scroll_width, inner_width + boxes.LeftInset() + std::max(0, boxes.RightInset()));
    return boxes.TopRoom() + height + boxes.BottomRoom();
}

}  // namespace

int TCell::DoLogic(Canvas& canvas, int y, int width, int& scroll_width, int& cursor) {
    IndentManager im;
    im.Reset(0, std::max(0, width));
    im.AvailWidth = std::max(0, width);
    TopY = y;
    StartCurs = cursor;
    int height = 0;
    std::optional<BoxHeights> min_heights;    // made by the first box with a minimum height
    std::optional<BoxPictureAreas> pictures;  // made by the first box with a picture
    for (const auto& s : sections_) {
        if (SectionBoxes* boxes = s->Boxes()) {
            const int top = y + height;
            if (boxes->HasMinHeight()) {
                if (!min_heights) min_heights.emplace();
                min_heights->Opening(*boxes, top);
            }
            height += LayoutBoxed(*s, *boxes, canvas, top, im, scroll_width, cursor);
            if (boxes->HasMinHeight())
                height += min_heights->Closing(*boxes, top, y + height - top);
            if (boxes->HasPicture()) {
                if (!pictures) pictures.emplace();
                pictures->Add(*boxes, top, y + height - top);
            }
        } else {
            height += s->DrawLogic(canvas, y + height, im, scroll_width, cursor);
        }
    }
    Len = cursor - StartCurs;
    return std::max(height, im.ImageBottom() - y);
}

void TCell::DrawSections(Canvas& canvas, const Rect& clip, int width, int x, int y,
                         std::size_t first) {
    // Sections draw at the places layout gave them; the margins are not needed again.
    IndentManager im;
    im.Reset(x, x + std::max(0, width));
    // Nothing below the clip shows, and no section reaches above its own top. y is the top
    // of a section's place in the flow; its boxes are painted before its content.
    for (std::size_t i = first; i < sections_.size() && y < clip.bottom; ++i) {
        TSectionBase& s = *sections_[i];
        const SectionBoxes* boxes = s.Boxes();
        if (!boxes) {
            y = s.Draw(canvas, clip, im, x, y);
            continue;
        }
        const int bottom = y + s.FlowHeight();
        if (bottom > clip.top) boxes->Paint(canvas, x, x + std::max(0, width), y, bottom, Document);
        s.Draw(canvas, clip, im, x, y + boxes->TopRoom());
        y = bottom;
    }
}

MinMax TCell::MinMaxWidth(Canvas& canvas) {
    MinMax result;
    for (const auto& s : sections_) {
        MinMax m = s->MinMaxWidth(canvas);
        if (const SectionBoxes* boxes = s->Boxes()) m = boxes->Widen(m);
        result.Min = std::max(result.Min, m.Min);
        result.Max = std::max(result.Max, m.Max);
    }
    return result;
}

void TCell::CopyToClipboard(SelTextCount& sink) const {
    for (const auto& s : sections_) s->CopyToClipboard(sink);
}

void TCell::UpdateFonts() {
    for (const auto& s : sections_) s->UpdateFonts();
}

TSectionBase* TCell::FindSectionAtPosition(int y, int* index) {
    int top = TopY;
    for (std::size_t i = 0; i < sections_.size(); ++i) {
        const int bottom = top + sections_[i]->FlowHeight();
        if (y >= top && y < bottom) {
            if (index) *index = static_cast<int>(i);
            return sections_[i].get();
        }
        top = bottom;
    }
    return nullptr;
}

std::optional<UrlHit> TCell::GetURL(Canvas& canvas, int x, int y) {
    for (const auto& s : sections_) {
        if (auto hit = s->GetURL(canvas, x, y)) return hit;
    }
    return std::nullopt;
}

CursorHit TCell::FindCursor(Canvas& canvas, int x, int y) {
    for (const auto& s : sections_) {
        const CursorHit hit = s->FindCursor(canvas, x, y);
        if (hit.Index >= 0) return hit;
    }
    return {};
}

int TCell::FindString(int from, std::u32string_view to_find, bool match_case,
                      char32_t replacement) {
    for (const auto& s : sections_) {
        const int found = s->FindString(from, to_find, match_case, replacement);
        if (found >= 0) return found;
    }
    return -1;
}

std::optional<Point> TCell::CursorToXY(Canvas& canvas, int cursor) {
    for (const auto& s : sections_) {
        if (auto p = s->CursorToXY(canvas, cursor)) return p;
    }
    return std::nullopt;
}

std::optional<char32_t> TCell::GetChAtPos(int pos) const {
    for (const auto& s : sections_) {
        if (auto c = s->GetChAtPos(pos)) return c;
    }
    return std::nullopt;
}

}  // namespace quillon
