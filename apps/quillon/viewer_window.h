#pragma once
// What quillon view and quillon run --view share: whether a window can be opened, and the
// viewer window around one report file.

#include <functional>
#include <memory>
#include <string>

#include "platform/core/host_services.h"
#include "viewers/viewer_choice.h"

namespace quillon {
class TCustomWWWRepViewer;
class TQuillon;
class TrptSmtpStorage;
}  // namespace quillon

namespace quillon::app {

// A display to open windows on (or Qt told to draw off screen).
bool HasDisplay();

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
