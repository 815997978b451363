#pragma once
// The print marks of one text section as it is drawn: its anchors and heading where its
// first line lands, and the areas of its links, the neighbouring pieces of one link on a
// line joined into one area. It does nothing unless the document is printing on a canvas
// that keeps marks, so drawing on the screen pays one test per section.

#include "html/layout/font_obj.h"
#include "html/layout/print_marks.h"
#include "platform/core/canvas.h"

namespace quillon {

class TSection;

class TPrintMarker {
  public:
    TPrintMarker(Canvas& canvas, const TSection& section);
    // Hands over the last link area.
    ~TPrintMarker();
    TPrintMarker(const TPrintMarker&) = delete;
    TPrintMarker& operator=(const TPrintMarker&) = delete;

    // The section's first line is drawn with its top-left corner at `at`.
    void FirstLine(Point at) {
        if (marks_) MarkPlaces(at);
    }
    // A piece of text or a picture of the font run `run` was drawn over `area`.
    void Piece(const TFontObj* run, const Rect& area) {
        if (active_ && run) AddPiece(run->Link(), area);
    }

  private:
    void MarkPlaces(Point at);
    void AddPiece(const TUrlTarget& link, const Rect& area);
    void Flush();

    Canvas& canvas_;
    const TPrintMarks* doc_marks_ = nullptr;
    const TSectionMarks* marks_ = nullptr;
    bool active_ = false;
    const TUrlTarget* link_ = nullptr;  // the link of the pending area, or null
    Rect area_;
};

}  // namespace quillon
