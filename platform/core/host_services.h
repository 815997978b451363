#pragma once
// Everything the engine needs from the surrounding application or desktop: message
// dialogs, processing pending messages, printers and the progress window. The engine talks
// only to this interface. The default host is headless (messages to a callback or standard
// error, no printers, no windows); the Qt host supplies windows for GUI applications.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

enum TMsgDlgBtn : std::uint16_t {
    mbYes = 1u << 0,
    mbNo = 1u << 1,
    mbOK = 1u << 2,
    mbCancel = 1u << 3,
    mbAbort = 1u << 4,
    mbRetry = 1u << 5,
    mbIgnore = 1u << 6,
    mbAll = 1u << 7,
    mbNoToAll = 1u << 8,
    mbYesToAll = 1u << 9,
    mbHelp = 1u << 10,
};
using TMsgDlgButtons = std::uint16_t;

// Results of a modal dialog (the numbering stored by applications).
enum TModalResult : int {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7,
    mrAll = 8,
    mrNoToAll = 9,
    mrYesToAll = 10,
};

enum class TPrinterOrientation { poPortrait, poLandscape };

struct PrinterInfo {
    std::string name;
    double page_width_mm = 0;   // of the paper in the current orientation
    double page_height_mm = 0;  // of the paper in the current orientation
};

// The progress window of a report run: a page number, a caption and a Stop button.
class ProgressWindow {
  public:
    virtual ~ProgressWindow() = default;
    virtual void SetVisible(bool visible) = 0;
    virtual bool Visible() const = 0;
    virtual void SetPageText(std::string_view text) = 0;
    virtual void SetCaption(std::string_view text) = 0;
    virtual void SetStopEnabled(bool enabled) = 0;
    // Called when the user presses Stop (from within HostServices::ProcessMessages).
    std::function<void()> on_stop;
};

// A message about to be mailed, as the review step shows it for editing.
struct MailReview {
    std::vector<std::string> to;  // recipients as written
    std::vector<std::string> cc;
    std::string subject;
    std::string text;                      // the body, lines ending in CR LF
    std::vector<std::string> attachments;  // file paths
};

struct ProgressWindowTexts {
    std::string title;
    std::string page_label;  // "Page Number" in the report's language
    std::string caption;     // "Generation of report"
    std::string stop;        // "Stop"
};

class HostServices {
  public:
    virtual ~HostServices() = default;

    // Shows a modal message and returns the pressed button as a TModalResult
    // (0 when the dialog was closed without a button).
    virtual int MessageDlg(std::string_view message, TMsgDlgType type, TMsgDlgButtons buttons) = 0;

    // Lets the user interface handle pending events (the Stop button of a progress
    // window, repaints). The headless host has nothing to do.
    virtual void ProcessMessages() {}

    // Printers: the installed ones, the current one (-1 without printers).
    virtual std::vector<PrinterInfo> Printers() const { return {}; }
    virtual int CurrentPrinter() const { return -1; }
    virtual bool SetCurrentPrinter(int /*index*/) { return false; }
    virtual TPrinterOrientation PrinterOrientation() const {
        return TPrinterOrientation::poPortrait;
    }
    virtual void SetPrinterOrientation(TPrinterOrientation /*orientation*/) {}
    // The printer set-up dialog; false when cancelled or when there is no printer.
    virtual bool PrinterSetupDialog() { return false; }
    // The print dialog with a page range that starts as FromPage..ToPage and comes back as
    // chosen (1..9999 for the whole document); false when cancelled. A host without a
    // range dialog shows its set-up dialog and answers the whole document.
    virtual bool PrintRangeDialog(int& FromPage, int& ToPage) {
        if (!PrinterSetupDialog()) return false;
        FromPage = 1;
        ToPage = 9999;
        return true;
    }

    // Shows a message about to be mailed for review and editing; false when the user
    // cancels. Without a window the message is accepted unchanged when it has a To
    // recipient, and cancelled when it has none (nobody could add one).
    virtual bool ReviewMail(MailReview& message) { return !message.to.empty(); }

    // The wait cursor, shown while a long operation keeps the user waiting. Calls nest;
    // use WaitCursor below so that every Begin is ended on every exit.
    virtual void BeginWaitCursor() {}
    virtual void EndWaitCursor() {}

    // A new, hidden progress window, or nullptr when the host shows none.
    virtual std::unique_ptr<ProgressWindow> CreateProgressWindow(
        const ProgressWindowTexts& /*texts*/) {
        return nullptr;
    }
};

// Shows the host's wait cursor for its lifetime.
class WaitCursor {
  public:
    explicit WaitCursor(HostServices& host) : host_(host) { host_.BeginWaitCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
    ~WaitCursor() { host_.EndWaitCursor(); }

  private:
    HostServices& host_;
};

// The host for batch jobs, servers and tests. A message goes to the responder when one is
// set (its answer is returned); otherwise it is written to standard error and answered
// with the button that ends the operation: OK, else Yes (the report's questions ask
// whether to abort), else Cancel, else Abort, else No, else 0.
class HeadlessHost : public HostServices {
  public:
    struct Message {
        std::string text;
        TMsgDlgType type;
        TMsgDlgButtons buttons;
    };
    using Responder = std::function<int(const Message&)>;

    HeadlessHost() = default;
    explicit HeadlessHost(Responder responder) : responder_(std::move(responder)) {}

    int MessageDlg(std::string_view message, TMsgDlgType type, TMsgDlgButtons buttons) override;

    void SetResponder(Responder responder) { responder_ = std::move(responder); }
    // The answer given when no responder is set.
    static int DefaultAnswer(TMsgDlgButtons buttons);

  private:
    Responder responder_;
};

// The host used by components that were not given one. Starts as a HeadlessHost; an
// application installs its own (the host must outlive every component that uses it).
HostServices& DefaultHost();
// Replaces the default host; nullptr restores the built-in headless host.
void SetDefaultHost(HostServices* host);

}  // namespace quillon
