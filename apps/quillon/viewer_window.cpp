#include "apps/quillon/viewer_window.h"

#include <QApplication>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "engine/quillon.h"
#include "platform/mail/smtp_storage.h"
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
    par.PrintMarginLeft = par.PrintMarginRight = kViewerMarginCm;
    par.PrintMarginTop = par.PrintMarginBottom = kViewerMarginCm;
    par.Title = std::filesystem::path(file).filename().string();
    report.SetPrnFile(file);
    report.SetViewerExt(&viewer);
    report.SetExtViewerProp(viewer);
    viewer.SetViewerCaption(par.Title + " - quillon");
}

ReportWindow::ReportWindow(TQuillon& report, const std::string& file, ReportViewerKind kind,
                           HostServices& host, int width, int height)
    : report_(report),
      viewer_(MakeReportViewer(kind, host)),
      storage_(std::make_unique<TrptSmtpStorage>("mail", host)) {
    storage_->SetSubject(std::filesystem::path(file).filename().string());
    storage_->SetReview(true);
    if (const char* password = std::getenv("QUILLON_SMTP_PASSWORD")) {
        storage_->SetPassword(password);
    }
    report.SetXStorage(storage_.get());
    PrepareViewerWindow(report, *viewer_, file, width, height);
}

ReportWindow::~ReportWindow() {
    report_.SetViewerExt(nullptr);
    report_.SetXStorage(nullptr);
}

bool ShowReportFile(TQuillon& report, const std::string& file, ReportViewerKind kind,
                    const std::function<void(HostServices*)>& window_opened) {
    static int argc = 1;
    static char name[] = "quillon";
    static char* argv[] = {name, nullptr};
    std::unique_ptr<QApplication> application;
    if (QApplication::instance() == nullptr) {
        application = std::make_unique<QApplication>(argc, argv);
    }
    RegisterQtImageDecoder();
    QtHost host;
    ReportWindow window(report, file, kind, host, 900, 700);
    if (window_opened) window_opened(&host);
    const bool loaded = report.LoadFromFile(file);
    if (loaded) report.ShowModal();
    if (window_opened) window_opened(nullptr);
    return loaded;
}

}  // namespace quillon::app
