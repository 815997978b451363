#include "apps/quillon/viewer_window.h"

#include <filesystem>

#include "engine/quillon.h"
#include "viewers/wwwrep_viewer.h"

namespace quillon::app {

void PrepareViewerWindow(TQuillon& report, TCustomWWWRepViewer& viewer, const std::string& file,
                         int width, int height) {
    tRepViewerPar& par = report.Viewer();
    TViewerBtnSet all = 0;
    for (int b = 0; b < kViewerBtnCount; ++b) all |= ViewerBtnBit(static_cast<TViewerBtn>(b));
    par.VisibleButtons = all;
    par.WMaximize = false;
    par.WWidth = width;
    par.WHeight = height;
    par.ViewImages = true;
    par.DefBackground = 0xFFFFFF;
    par.PrintMarginLeft = par.PrintMarginRight = kViewerMarginCm;
    par.PrintMarginTop = par.PrintMarginBottom = kViewerMarginCm;
    par.Title = std::filesystem::path(file).filename().string();
    report.SetPrnFile(file);
    report.SetViewerExt(&viewer);
    report.SetExtViewerProp(viewer);
    viewer.SetViewerCaption(par.Title + " - quillon");
}

}  // namespace quillon::app
