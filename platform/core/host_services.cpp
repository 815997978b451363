#include "platform/core/host_services.h"

#include <iostream>

namespace quillon {

namespace {

const char* TypeName(TMsgDlgType type) {
    switch (type) {
        case TMsgDlgType::mtWarning:
            return "warning";
        case TMsgDlgType::mtError:
            return "error";
        case TMsgDlgType::mtInformation:
            return "information";
        case TMsgDlgType::mtConfirmation:
            return "confirmation";
        case TMsgDlgType::mtCustom:
            break;
    }
    return "message";
}

HostServices* g_host = nullptr;

}  // namespace

int HeadlessHost::DefaultAnswer(TMsgDlgButtons buttons) {
    if (buttons & mbOK) return mrOk;
    if (buttons & mbYes) return mrYes;
    if (buttons & mbCancel) return mrCancel;
    if (buttons & mbAbort) return mrAbort;
    if (buttons & mbNo) return mrNo;
    return mrNone;
}

int HeadlessHost::MessageDlg(std::string_view message, TMsgDlgType type, TMsgDlgButtons buttons) {
    if (responder_) return responder_(Message{std::string(message), type, buttons});
    std::cerr << "quillon " << TypeName(type) << ": " << message << '\n';
    return DefaultAnswer(buttons);
}

HostServices& DefaultHost() {
    static HeadlessHost headless;
    return g_host != nullptr ? *g_host : headless;
}

void SetDefaultHost(HostServices* host) {
    g_host = host;
}

}  // namespace quillon
