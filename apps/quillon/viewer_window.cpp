#include "apps/quillon/viewer_window.h"

#include <QApplication>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "engine/quillon.h"
#include "platform/qt/qt_host.h"
#include "platform/qt/qt_image_decoder.h"
#include "viewers/wwwrep_viewer.h"

namespace quillon::app {

bool HasDisplay() {
    const auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value != nullptr && *value != '\0';
    };
    return set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY");
}

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
    par.Title = std::filesystem::path(file).filename().string();
    report.SetViewerExt(&viewer);
    report.SetExtViewerProp(viewer);
    viewer.SetViewerCaption(par.Title + " - quillon");
}

bool ShowReportFile(TQuillon& report, const std::string& file, ReportViewerKind kind) {
    static int argc = 1;
    static char name[] = "quillon";
    static char* argv[] = {name, nullptr};
    std::unique_ptr<QApplication> application;
    if (QApplication::instance() == nullptr) {
        application = std::make_unique<QApplication>(argc, argv);
    }
    RegisterQtImageDecoder();
    QtHost host;
    std::unique_ptr<TCustomWWWRepViewer> viewer = MakeReportViewer(kind, host);
    PrepareViewerWindow(report, *viewer, file, 900, 700);
    const bool loaded = report.LoadFromFile(file);
    if (loaded) report.ShowModal();
    report.SetViewerExt(nullptr);
    return loaded;
}

}  // namespace quillon::app
