#pragma once
// Where printed pages go: a printer, a PDF file, page images, or a test recorder. A print
// lays the document out on the target's layout canvas and, only when a page is to be
// printed, opens the job and draws on the page canvas.

#include <string>

#include "html/view/page_geometry.h"
#include "platform/core/canvas.h"

namespace quillon {

class PageTarget {
  public:
    PageTarget() = default;
    PageTarget(const PageTarget&) = delete;
    PageTarget& operator=(const PageTarget&) = delete;
    virtual ~PageTarget() = default;

    // The printable area and the resolution; asking opens no job.
    virtual PageDevice Device() = 0;
    // Measures fonts and text for the layout of the document (draws nothing anyone sees).
    virtual Canvas& LayoutCanvas() = 0;
    // Opens the job and starts its first page, numbered NumPage. On the page canvas one
    // unit is 1/screen_dpi inch and (0, 0) is the printable area's top-left corner.
    virtual void BeginDoc(const std::string& title, int screen_dpi, int NumPage) = 0;
    virtual Canvas& PageCanvas() = 0;
    // Ends the current page and starts the next, numbered NumPage.
    virtual void NewPage(int NumPage) = 0;
    // Ends the last page and the job.
    virtual void EndDoc() = 0;
    // Drops the job: nothing of it is delivered.
    virtual void Abort() = 0;
};

}  // namespace quillon
