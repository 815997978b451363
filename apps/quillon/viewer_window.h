#pragma once
// What quillon view and quillon run --view share: whether a window can be opened, and the
// set-up of the viewer window before a report file is loaded into it.

#include <string>

#include "viewers/viewer_choice.h"

namespace quillon {
class TCustomWWWRepViewer;
class TQuillon;
}  // namespace quillon

namespace quillon::app {

// A display to open windows on (or Qt told to draw off screen).
bool HasDisplay();

// Connects viewer to report and gives it the window of the commands: not maximized,
// width x height pixels, every tool button, pictures shown on white, the file's name as
// the caption and as the title of printed pages when the document has none.
void PrepareViewerWindow(TQuillon& report, TCustomWWWRepViewer& viewer, const std::string& file,
                         int width, int height);

// quillon run --view: shows the report file that report wrote in a viewer of kind, modally
// (a QApplication is made when there is none); false when the file could not be loaded
// (the report's host has said why).
bool ShowReportFile(TQuillon& report, const std::string& file, ReportViewerKind kind);

}  // namespace quillon::app
