#pragma once
// Helpers of the viewer tests: a host that records messages and answers the print dialog,
// TXT, HTML and RTF viewers whose input boxes answer from a list, and a storage that records its
// calls.

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "engine/mapi_error.h"
#include "engine/rpt_storage.h"
#include "platform/core/host_services.h"
#include "tests/common/recording_host.h"
#include "viewers/html_report_viewer.h"
#include "viewers/rtf_viewer.h"
#include "viewers/txt_viewer.h"

namespace quillon::testing {

// A viewer whose input boxes take their answers from a list (none left: Cancel).
template <class Viewer>
class Scripted : public Viewer {
  public:
    explicit Scripted(HostServices& host) : Viewer("viewer", host) {}
    bool InputQuery(const std::string& prompt, std::string& value) override {
        prompts.push_back(prompt);
        if (answers.empty()) return false;
        value = answers.front();
        answers.pop_front();
        return true;
    }
    using TCustomWWWRepViewer::RunGuarded;
    std::deque<std::string> answers;
    std::vector<std::string> prompts;
};
using ScriptedTxtViewer = Scripted<TrptTXTViewer>;
using ScriptedHtmlViewer = Scripted<TrptHTMLViewer>;
using ScriptedRtfViewer = Scripted<TrptRTFViewer>;

class RecordingStorage : public TrptStorage {
  public:
    void SetAttachments(const TStrings& v) override { attachments = v; }
    TStrings& GetAttachments() override { return attachments; }
    void SetToRecipients(const TStrings& v) override { to = v; }
    TStrings& GetToRecipients() override { return to; }
    void SetCcRecipients(const TStrings& v) override { cc = v; }
    TStrings& GetCcRecipients() override { return cc; }
    void SetMailMessage(const TStrings& v) override { text = v; }
    TStrings& GetMailMessage() override { return text; }
    void Logon() override { calls.push_back("Logon"); }
    void Logoff() override { calls.push_back("Logoff"); }
    void Send() override {
        calls.push_back("Send");
        if (fail == 1) throw EMapiUserAbort();
        if (fail > 1) throw EMapiError(fail, "server said no");
    }
    TStrings attachments, to, cc, text, calls;
    int fail = 0;  // 1: the user cancels; above 1: that MAPI error
};

// The items of the window's current default menu: captions, "-" for separators.
inline std::vector<std::string> MenuItems(TCustomWWWRepViewer& viewer) {
    std::vector<std::string> items;
    QMenuBar* bar = viewer.CurrentMenuBar();
    if (bar == nullptr || bar->actions().isEmpty()) return items;
    QMenu* menu = bar->actions().front()->menu();
    items.push_back(bar->actions().front()->text().toStdString());
    for (QAction* a : menu->actions()) {
        items.push_back(a->isSeparator() ? "-" : a->text().toStdString());
    }
    return items;
}

// The menu action with the given caption, or nullptr.
inline QAction* MenuAction(TCustomWWWRepViewer& viewer, const std::string& caption) {
    QMenuBar* bar = viewer.CurrentMenuBar();
    if (bar == nullptr || bar->actions().isEmpty()) return nullptr;
    for (QAction* a : bar->actions().front()->menu()->actions()) {
        if (a->text().toStdString() == caption) return a;
    }
    return nullptr;
}

// Runs the deletions Qt has queued (menus closed from their own items).
inline void FlushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace quillon::testing
