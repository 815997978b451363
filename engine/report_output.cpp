// TQuillon's paged output and sums: the report's side of PagedOutput and ReportSums.

#include "engine/quillon.h"
#include "engine/report_output_client.h"

namespace quillon {

void ReportOutputClient::BuildLevel(int level, EilPlist& list) {
    if (report_.GetPrint(level)) report_.MakeLine(level, list);
}

bool ReportOutputClient::HasBeforeNewPage() const {
    return static_cast<bool>(report_.BeforeNewPage);
}

TNewPageAction ReportOutputClient::BeforeNewPage(int page_no, int column) {
    TNewPageAction action = paNewPage;
    if (report_.BeforeNewPage) report_.BeforeNewPage(report_, page_no, column, action);
    return action;
}

void ReportOutputClient::ProgressStep() {
    report_.PrintOnOff();
}

int ReportOutputClient::AskOutputError() {
    return report_.rptMessageDlg(Msg(PRINTER_OUTPMsg, report_.Language()),
                                 TMsgDlgType::mtConfirmation, mbYes | mbNo);
}

int ReportOutputClient::PageSize() const {
    return report_.PgSize();
}
int ReportOutputClient::FirstPageSize() const {
    return report_.FirstPgSize();
}
bool ReportOutputClient::OnePageReport() const {
    return report_.Options().Contains(prOnePageReport);
}

// --- paged output -----------------------------------------------------------------------

void TQuillon::PrintLine(EilPlist& List, int Level, TStream* Stream) {
    FOutput->PrintLine(List, Level, Stream);
}

bool TQuillon::WritePageStrings(int Level, TStream* Stream) {
    return FOutput->WritePageStrings(Level, Stream);
}

void TQuillon::AppendPageStrings(int Level, std::string_view Text) {
    FOutput->AppendPageStrings(Level, Text);
}

void TQuillon::NewPage(int Level) {
    FOutput->NewPage(Level);
}
void TQuillon::NewPageAfter(int Level) {
    FOutput->NewPageAfter(Level);
}
void TQuillon::NewPageBefore(int Level) {
    FOutput->NewPageBefore(Level);
}
void TQuillon::NewPageWait(int Level) {
    FOutput->NewPageWait(Level);
}

void TQuillon::SetBorder(int From1, int To1, int From2, int To2, int From3, int To3) {
    FOutput->SetBorder(From1, To1, From2, To2, From3, To3);
}

// --- sums -------------------------------------------------------------------------------

void TQuillon::DetailLineAutoSum() {
    if (FProps.Options.Contains(prAutoSum)) FRun.FSums.DetailLineAutoSum(FModel);
}

void TQuillon::ClrSum(int Level) {
    if (Level < rlSum01 || Level > rlSum10) return;
    if (FProps.Options.Contains(prAutoSum)) FRun.FSums.RollUp(Level, FModel);
    if (OnChangeIndex) OnChangeIndex(*this, static_cast<TReportLevel>(Level));
}

}  // namespace quillon
