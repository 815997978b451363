#include "apps/quillon/report_window.h"

#include <cstdlib>
#include <filesystem>

#include "apps/quillon/gui_application.h"
#include "engine/quillon.h"
#include "mail/smtp_storage.h"
#include "platform/qt/qt_host.h"
#include "viewers/wwwrep_viewer.h"

namespace quillon::app {

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
    const WidgetApplication application;
    QtHost host;
    ReportWindow window(report, file, kind, host, 900, 700);
    if (window_opened) window_opened(&host);
    const bool loaded = report.LoadFromFile(file);
    if (loaded) report.ShowModal();
    if (window_opened) window_opened(nullptr);
    return loaded;
}

}  // namespace quillon::app
