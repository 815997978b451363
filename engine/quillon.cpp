#include "engine/quillon.h"

#include <cmath>

#include "engine/alias_dir.h"
#include "engine/report_output_client.h"
#include "platform/core/settings_file.h"
#include "platform/core/text_encoding.h"

namespace quillon {

namespace {

// The page height used when the printer's cannot be read.
constexpr int kFallbackPageHeight = 280;

}  // namespace

TQuillon::TQuillon(HostServices& host) : FHost(host) {
    Construct();
}

TQuillon::TQuillon(std::string name, HostServices& host)
    : TComponent(std::move(name)), FHost(host) {
    Construct();
}

TQuillon::~TQuillon() {
    // The calculator outlives the report only as a component of its own: it must not
    // keep reading from a freed report.
    if (TCustomRepCalculator* calculator = XCalcExt(); calculator && calculator->Report() == this) {
        calculator->SetReport(nullptr);
    }
}

void TQuillon::Construct() {
    FViewer = std::make_unique<tRepViewerPar>();
    FPrint.fill(true);
    FPrintTmp.fill(true);
    FOutputClient = std::make_unique<ReportOutputClient>(*this);
    FOutput = std::make_unique<PagedOutput>(FRun, *FOutputClient);
    FProps.PgHeight = PrinterPageHeight();
    ReadPageBreakMarkers();
}

int TQuillon::PrinterPageHeight() const {
    const std::vector<PrinterInfo> printers = FHost.Printers();
    if (printers.empty()) return 0;
    int current = FHost.CurrentPrinter();
    if (current < 0 || static_cast<std::size_t>(current) >= printers.size()) current = 0;
    const double height = printers[static_cast<std::size_t>(current)].page_height_mm;
    if (!(height >= 1.0) || height > 1e6) return kFallbackPageHeight;
    return static_cast<int>(std::lround(height));
}

void TQuillon::SetPgHeight(int Value) {
    if (Value != 0) {
        FProps.PgHeight = Value;
        return;
    }
    const int height = PrinterPageHeight();
    if (height > 0) FProps.PgHeight = height;
}

void TQuillon::ReadPageBreakMarkers() {
    FOutput->SetPageBreakMarkers(quillon::ReadPageBreakMarkers(SettingsFile::LoadDefault()));
}

bool TQuillon::Visible() const {
    const TCustomRepViewer* viewer = ViewerExt();
    return viewer != nullptr && viewer->GetVisible();
}

void TQuillon::SetVisible(bool Value) {
    if (TCustomRepViewer* viewer = ViewerExt()) viewer->SetVisible(Value);
}

bool TQuillon::ProgressVisible() const {
    return FRun.FProgressForm != nullptr && FRun.FProgressForm->Visible();
}

void TQuillon::SetProgressVisible(bool Value) {
    if (FRun.FProgressForm != nullptr) FRun.FProgressForm->SetVisible(Value);
}

void TQuillon::SetClearFieldsList(bool Value) {
    FProps.ClearFieldsList = Value;
    if (Value) FModel.ReleaseFieldTables();
}

LoadSettings TQuillon::MakeLoadSettings() {
    LoadSettings settings;
    settings.language = FProps.Language;
    settings.strip_names = FProps.StripNames;
    settings.rtf_name_tag = FProps.RTFNameTag;
    settings.message = [this](std::string_view msg, TMsgDlgType type, TMsgDlgButtons buttons) {
        return rptMessageDlg(msg, type, buttons);
    };
    return settings;
}

bool TQuillon::LoadFormat(std::string_view FileName, std::string& FormatName, int Slot) {
    return FModel.LoadFormat(FileName, FormatName, Slot, MakeLoadSettings());
}

std::string TQuillon::GetAliasDir(bool CheckFormatFile) {
    return quillon::GetAliasDir(
        CheckFormatFile, FProps.FormatFile, /*designing=*/false,
        [this](std::string_view msg, TMsgDlgType type, TMsgDlgButtons buttons) {
            return rptMessageDlg(msg, type, buttons);
        });
}

void TQuillon::PutDefaultValues() {
    BuiltInValues values;
    values.page_no = FRun.FPageNo;
    values.line_no = FRun.FDetailCount;
    values.defaults = &FRun.FDefaultValues;
    FModel.PutDefaultValues(values);
}

}  // namespace quillon
