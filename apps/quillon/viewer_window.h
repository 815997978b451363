#pragma once
// What quillon view, quillon run --view and the preview of quillon edit share: the set-up
// of a viewer window for one report file.

#include <string>

namespace quillon {
class TCustomWWWRepViewer;
class TQuillon;
}  // namespace quillon

namespace quillon::app {

// The print margins of the commands' viewer windows, in centimetres: those of quillon
// render, so that Print in the window gives the same pages.
inline constexpr double kViewerMarginCm = 2.0;

// Connects viewer to report and gives it the window of the commands: not maximized,
// width x height pixels, every tool button, pictures shown on white, margins of
// kViewerMarginCm, the file's name as the caption and as the title of printed pages when
// the document has none. Print TXT and the mail button act on that file (it becomes the
// report's output file).
void PrepareViewerWindow(TQuillon& report, TCustomWWWRepViewer& viewer, const std::string& file,
                         int width, int height);

}  // namespace quillon::app
