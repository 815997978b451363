#pragma once
// TCustomRepViewer: the viewer a report is connected to (TQuillon::ViewerExt). The report
// talks to a viewer only through these virtual operations; the concrete viewers implement
// them. Only the operations the engine uses so far are declared here.

#include <string>
#include <vector>

#include "platform/core/component.h"

namespace quillon {

// One form control of the shown document, as far as the report looks at it.
struct TFormControlInfo {
    enum Kind { fcOther, fcCheckBox };
    Kind kind = fcOther;
    std::string name;
    bool checked = false;  // check boxes: the box is ticked
};

class TCustomRepViewer : public TComponent {
  public:
    explicit TCustomRepViewer(std::string name = {}) : TComponent(std::move(name)) {}

    // The viewer window is shown.
    virtual bool GetVisible() const = 0;
    virtual void SetVisible(bool value) = 0;
    // Images kept in the document control's cache.
    virtual int GetImageCacheCount() const = 0;
    virtual void SetImageCacheCount(int value) = 0;
    // The form controls of the shown document, in document order.
    virtual std::vector<TFormControlInfo> GetFormControlList() const = 0;

    // The menu offers printing as plain text.
    bool FPrintTXTAllowed = true;
    // Page range to print: FToPage 9999 stands for the end of the report.
    int FFromPage = 1;
    int FToPage = 9999;
};

}  // namespace quillon
