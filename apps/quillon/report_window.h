#pragma once
// The viewer window of quillon view and quillon run --view around one report file, with
// the mail storage its mail button sends through.

#include <functional>
#include <memory>
#include <string>

#include "apps/quillon/viewer_window.h"
#include "platform/core/host_services.h"
#include "viewers/viewer_choice.h"

namespace quillon {
class TrptSmtpStorage;
}  // namespace quillon

namespace quillon::app {

// The viewer window of one report file (PrepareViewerWindow), connected to report while
// it lives, with a mail storage: the mail goes through the SMTP account of the settings
// file (QUILDOC.INI, profile [MAIL]), reviewed in a window before it is sent. Messages of
// the window go to host.
class ReportWindow {
  public:
    ReportWindow(TQuillon& report, const std::string& file, ReportViewerKind kind,
                 HostServices& host, int width, int height);
    ~ReportWindow();
    ReportWindow(const ReportWindow&) = delete;
    ReportWindow& operator=(const ReportWindow&) = delete;

    TCustomWWWRepViewer& Viewer() const { return *viewer_; }
    TrptSmtpStorage& MailStorage() const { return *storage_; }

  private:
    TQuillon& report_;
    std::unique_ptr<TCustomWWWRepViewer> viewer_;
    std::unique_ptr<TrptSmtpStorage> storage_;
};

// quillon run --view: shows the report file that report wrote in a viewer of kind, modally
// (a QApplication is made when there is none); false when the file could not be loaded
// (the report's host has said why). window_opened, when given, is called with the
// window's host once the window exists and with nullptr when it is gone: the messages of a
// report whose own host has no windows can be shown there meanwhile.
bool ShowReportFile(TQuillon& report, const std::string& file, ReportViewerKind kind,
                    const std::function<void(HostServices*)>& window_opened = {});

}  // namespace quillon::app
