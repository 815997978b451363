// The report's message routine: a dialog of the host, or with prMsgToHtml an HTML page in
// the report output.

#include <filesystem>
#include <system_error>

#include "engine/message_page.h"
#include "engine/quillon.h"
#include "platform/core/text_encoding.h"

namespace quillon {

namespace {

// The extension of a file name with its dot ("" when there is none).
std::string_view Extension(std::string_view name) {
    const std::size_t slash = name.find_last_of("/\\");
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) {
        return {};
    }
    return name.substr(dot);
}

// name with its extension replaced by ext (which includes its dot).
std::string ChangeExtension(std::string_view name, std::string_view ext) {
    const std::string_view old_ext = Extension(name);
    std::string result(name.substr(0, name.size() - old_ext.size()));
    result.append(ext);
    return result;
}

}  // namespace

int TQuillon::rptMessageDlg(std::string_view Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons) {
    const bool to_html =
        FProps.Options.Contains(prMsgToHtml) &&
        text::AsciiUpperCase(Extension(FProps.FormatFile)).find(".HTM") != std::string::npos;
    if (to_html && WriteMessagePage(Msg, DlgType)) return 0;
    return FHost.MessageDlg(Msg, DlgType, Buttons);
}

bool TQuillon::rptConfirmStop(std::string_view Msg) {
    return rptMessageDlg(Msg, TMsgDlgType::mtConfirmation, mbYes | mbNo) != mrNo;
}

bool TQuillon::WriteMessagePage(std::string_view Msg, TMsgDlgType DlgType) {
    FProps.PrnFile = ChangeExtension(FProps.PrnFile, Extension(FProps.FormatFile));
    const std::string page = BuildMessagePage(Msg, DlgType);

    // Inside a run with a stream, the page becomes the stream's whole content.
    if (FRun.FRunStream != nullptr) {
        TStream& stream = *FRun.FRunStream;
        return stream.Seek(0) && stream.Write(page) && stream.Truncate(page.size());
    }
    // Inside a run whose main file is open, the page is appended to it.
    if (FOutput->HasLevelFile(rlDetail)) return FOutput->AppendToLevelFile(rlDetail, page);
    // Otherwise the page becomes the file PrnFile. Outside a run an existing file is a
    // finished report, which a message must not replace: the message is shown instead.
    std::error_code ec;
    if (!FRun.FRunning && std::filesystem::exists(FProps.PrnFile, ec)) return false;
    TFileStream file(FProps.PrnFile, TFileStream::Mode::kCreate);
    return file.IsOpen() && file.Write(page) && file.Close();
}

bool TQuillon::GetCheckBoxName(bool State, int Index, std::string& Name) const {
    const TCustomRepViewer* viewer = ViewerExt();
    if (viewer == nullptr || Index < 0) return false;
    int count = 0;
    for (const TFormControlInfo& control : viewer->GetFormControlList()) {
        if (control.kind != TFormControlInfo::fcCheckBox || control.checked != State) continue;
        if (count++ == Index) {
            Name = control.name;
            return true;
        }
    }
    return false;
}

}  // namespace quillon
