#include "html/layout/print_marker.h"

#include <algorithm>

#include "html/layout/section.h"
#include "html/layout/section_list.h"
#include "platform/core/text_encoding.h"

namespace quillon {

namespace {
// The outline lists the headings H1 to H3.
constexpr int kOutlineLevels = 3;
}  // namespace

TPrintMarker::TPrintMarker(Canvas& canvas, const TSection& section) : canvas_(canvas) {
    const TSectionList* doc = section.Document;
    active_ = doc && doc->IsPrinting && canvas.KeepsMarks();
    if (!active_) return;
    doc_marks_ = &doc->PrintMarks();
    if (!doc_marks_->Empty()) marks_ = doc_marks_->Find(section);
}

TPrintMarker::~TPrintMarker() {
    if (link_) Flush();
}

void TPrintMarker::MarkPlaces(Point at) {
    for (const std::string& name : marks_->Anchors) canvas_.MarkAnchor(name, at);
    if (marks_->HeadingLevel >= 1 && marks_->HeadingLevel <= kOutlineLevels &&
        !marks_->HeadingTitle.empty()) {
        canvas_.MarkHeading(marks_->HeadingLevel, marks_->HeadingTitle, at);
    }
}

void TPrintMarker::AddPiece(const TUrlTarget& link, const Rect& area) {
    if (&link == link_ && area.left >= area_.left && area.left <= area_.right + 1 &&
        area.top < area_.bottom && area.bottom > area_.top) {
        area_ = Rect{area_.left, std::min(area_.top, area.top), std::max(area_.right, area.right),
                     std::max(area_.bottom, area.bottom)};
        return;
    }
    if (link_) Flush();
    if (link.Empty()) return;
    link_ = &link;
    area_ = area;
}

void TPrintMarker::Flush() {
    const std::string& url = link_->URL;
    link_ = nullptr;
    if (url.front() != '#') {
        canvas_.MarkLink(area_, url);
        return;
    }
    // A link to a place in the document jumps there; one to a name the document does not
    // have goes nowhere and is not marked.
    const std::string name = text::AsciiUpperCase(std::string_view(url).substr(1));
    if (doc_marks_->HasAnchor(name)) canvas_.MarkJump(area_, name);
}

}  // namespace quillon
