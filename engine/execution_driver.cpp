// The run of a report: TQuillon::LoadAfterExecute and the progress step.
//
// Every end of a run, early ones included, goes through the clean-up: level files closed,
// page lists and sums freed, format tables released, PgSize, FirstPgSize and the printer
// orientation restored, the progress window freed. Exceptions of the application's
// handlers and of the calculator are caught, shown through the message routine and end the
// run with false; none reaches the caller.

#include "engine/execution_driver.h"

#include <array>
#include <exception>
#include <filesystem>
#include <functional>
#include <system_error>
#include <typeinfo>
#include <utility>

#include "calc/number_reader.h"
#include "engine/expression_check.h"
#include "engine/quillon.h"
#include "platform/core/settings_file.h"
#include "platform/core/text_encoding.h"

namespace quillon {

namespace {

constexpr std::size_t kMaxExceptionText = 1024;

std::size_t ExtensionStart(std::string_view name) {
    const std::size_t slash = name.find_last_of("/\\");
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) {
        return name.size();
    }
    return dot;
}

}  // namespace

std::string WithExtensionOf(std::string_view name, std::string_view other) {
    std::string result(name.substr(0, ExtensionStart(name)));
    result.append(other.substr(ExtensionStart(other)));
    return result;
}

std::string LevelFileName(std::string_view prn_file, int level) {
    if (prn_file.size() < 2 || level < 0 || level > 99) return {};
    std::string name(prn_file.substr(0, prn_file.size() - 2));
    name.push_back(static_cast<char>('0' + level / 10));
    name.push_back(static_cast<char>('0' + level % 10));
    return name;
}

namespace {

// What a run works on besides the report's public steps and events (MakeLine, GetPrint,
// OnNext, ...): the report's properties, model, output, host and run state, handed over by
// TQuillon::LoadAfterExecute.
struct RunContext {
    ReportProperties& props;
    RunState& run;
    ReportModel& model;
    PagedOutput& output;
    HostServices& host;
    RunFiles& files;
    const std::array<std::string, kGroupLevelCount>& old_idx;
    std::function<int()> printer_page_height;  // 0 without printers
    std::function<bool()> second_parse;
};

// The steps of one run.
class ExecutionDriver {
  public:
    ExecutionDriver(TQuillon& report, RunContext context, TStream* stream, bool load)
        : r_(report), x_(std::move(context)), run_(x_.run), stream_(stream), load_(load) {}
    ExecutionDriver(const ExecutionDriver&) = delete;
    ExecutionDriver& operator=(const ExecutionDriver&) = delete;
    ~ExecutionDriver() {
        CleanUp();
        run_.FProgressForm.reset();
    }

    bool Run();

  private:
    bool SetUp();
    bool ReadMargins(const SettingsFile& settings);
    bool SetupPrinter();
    void CreateProgressWindow();
    bool LoadFormats();
    bool OpenTargets();
    bool Fail(std::string_view message);
    void RecordLoop();
    bool CloseGroups();
    // The group index of level is still old (GetIdx(level) == old).
    bool SameIndex(int level, const std::string& old);
    bool Finish();
    bool CloseLevelFiles();
    void PrintToTargets(EilPlist& list);
    void CleanUp();
    bool Stopped() const { return run_.FStopped != kNotStopped; }
    void NoteCalculatedFieldsWithoutCalculator();
    bool CheckCalculatedFields();
    void SayNotes();

    TQuillon& r_;
    RunContext x_;
    RunState& run_;
    TStream* stream_;
    bool load_;
    bool has_printers_ = false;
    bool cleaned_ = true;
    bool pnext_ = false;     // PNext keeps its value from one OnNext call to the next
    bool new_group_ = true;  // the next detail line opens a group
    EilPlist detail_lines_;  // the lines of one record, reused from record to record
    std::string index_;      // scratch of SameIndex
};

bool ExecutionDriver::Fail(std::string_view message) {
    r_.rptMessageDlg(message, TMsgDlgType::mtError, mbOK);
    return false;
}

bool ExecutionDriver::ReadMargins(const SettingsFile& settings) {
    struct Margin {
        std::string_view key;
        double tRepViewerPar::*field;
    };
    static constexpr Margin kMargins[] = {{"TOP", &tRepViewerPar::PrintMarginTop},
                                          {"BOTTOM", &tRepViewerPar::PrintMarginBottom},
                                          {"LEFT", &tRepViewerPar::PrintMarginLeft},
                                          {"RIGHT", &tRepViewerPar::PrintMarginRight}};
    for (const Margin& margin : kMargins) {
        const std::string value = settings.ReadString("PAGE", margin.key, "*");
        if (value == "*") continue;
        const auto number = ReadNumber(text::Trim(value));
        if (!number) {
            std::string msg(Msg(ABSTRACT_Msg, x_.props.Language));
            msg += "[PAGE] ";
            msg += margin.key;
            msg += "=";
            msg += value;
            return Fail(msg);
        }
        r_.Viewer().*margin.field = *number;
    }
    return true;
}

bool ExecutionDriver::SetupPrinter() {
    if (!x_.props.Options.Contains(prSetupBeforeExec) || !has_printers_) return true;
    tRepViewerPar& viewer = r_.Viewer();
    if (r_.OnSetupPrinter) {
        int from = viewer.FromPage;
        int to = viewer.ToPage;
        r_.OnSetupPrinter(r_, from, to);
        if (from > 0) viewer.FromPage = from;
        if (to > 0) viewer.ToPage = to;
    } else {
        if (!x_.host.PrinterSetupDialog()) return false;
        viewer.FromPage = 1;
        viewer.ToPage = 9999;
    }
    x_.props.Orientation =
        x_.host.PrinterOrientation() == TPrinterOrientation::poLandscape ? orLandscape : orPortrait;
    return true;
}

void ExecutionDriver::CreateProgressWindow() {
    if (!x_.props.Options.Contains(prShowProgress) || r_.OnProcessing) return;
    ProgressWindowTexts texts;
    texts.page_label = std::string(Msg(PAGE_NUMBERCaption, x_.props.Language));
    texts.caption = "Generation of report";
    texts.stop = "Stop";
    run_.FProgressForm = x_.host.CreateProgressWindow(texts);
    if (run_.FProgressForm) run_.FProgressForm->on_stop = [this] { r_.ProcCancelBtnClick(); };
}

bool ExecutionDriver::LoadFormats() {
    if (text::Trim(x_.props.FormatName).empty()) {
        // The loader would say only that the name is not valid; a run says what to set.
        return Fail(std::string(Msg(FRM_NAMEMsg, x_.props.Language)) +
                    ": set FormatName to the name after \"^^\" in the template, or to \"*\" "
                    "for its first format.");
    }
    const int active = r_.ActiveFormatNo();
    // A "*" run loads the first format of each file without changing FormatName.
    const std::string dir = r_.GetAliasDir(true);
    std::string name = x_.props.FormatName;
    if (!r_.LoadFormat(dir + x_.props.FormatFile, name, 1) || x_.model.Levels(1) == nullptr) {
        return false;
    }
    const std::string* files[] = {&x_.props.FormatFile1, &x_.props.FormatFile2};
    for (int slot = 2; slot <= 3; ++slot) {
        const std::string& file = *files[slot - 2];
        if (text::Trim(file).empty() || text::Trim(x_.props.FormatName).empty()) continue;
        std::error_code ec;
        if (!std::filesystem::exists(dir + file, ec)) continue;
        name = x_.props.FormatName;
        if (!r_.LoadFormat(dir + file, name, slot) || x_.model.Levels(slot) == nullptr) {
            return false;
        }
    }
    r_.SetActiveFormat(active);
    return true;
}

bool ExecutionDriver::OpenTargets() {
    PagedOutput& out = x_.output;
    if (stream_ != nullptr) {
        out.CreatePageList(rlDetail);
        return true;
    }
    const std::string file_error(Msg(FILE_OPENMsg, x_.props.Language));
    const std::string& main = x_.props.PrnFile;
    // The files of this run, remembered for walking them in the viewer.
    RunFiles& files = x_.files;
    files.clear();
    if (!out.CreateLevelFile(rlDetail, main)) return Fail(file_error + main);
    files.push_back(main);
    if (!x_.props.MultiLevel) return true;
    const LevelTable* levels = x_.model.Levels(1);
    for (int level = rlSum01; level <= rlSum10; ++level) {
        if (levels == nullptr || !levels->Has(level)) continue;
        const std::string name = LevelFileName(main, level);
        // A level file must never be the main file (or replace it).
        if (name.empty() || name == main) return Fail(file_error + (name.empty() ? main : name));
        if (!out.CreateLevelFile(level, name)) return Fail(file_error + name);
        files.push_back(name);
    }
    return true;
}

void ExecutionDriver::PrintToTargets(EilPlist& list) {
    if (stream_ != nullptr) {
        r_.PrintLine(list, rlDetail, stream_);
        return;
    }
    for (int level = rlDetail; level <= rlSum10; ++level) {
        if (x_.output.HasLevelFile(level)) r_.PrintLine(list, level, nullptr);
    }
}

// Calculated fields stay blank without a calculator; the template's author meant them.
void ExecutionDriver::NoteCalculatedFieldsWithoutCalculator() {
    if (r_.XCalcExt() != nullptr) return;
    std::string names;
    for (int slot = 1; slot <= 3; ++slot) {
        if (x_.model.Levels(slot) == nullptr) continue;
        for (const tRNAMEList::Entry& entry : x_.model.Names(slot).Entries()) {
            if (!entry.has_expression) continue;
            if (!names.empty()) names += ", ";
            names += entry.name;
        }
    }
    if (names.empty()) return;
    run_.FNotes.push_back("The template has calculated fields (" + names +
                          ") but no calculator is connected (SetXCalcExt): they stay blank.");
}

// A calculated field whose expression the calculator cannot read would print "#####" on
// every line: it ends the run before anything is written, naming the field and its line.
bool ExecutionDriver::CheckCalculatedFields() {
    TCustomRepCalculator* calculator = r_.XCalcExt();
    if (calculator == nullptr) return true;
    const std::string dir = r_.GetAliasDir(true);
    const std::string* files[] = {&x_.props.FormatFile, &x_.props.FormatFile1,
                                  &x_.props.FormatFile2};
    for (int slot = 1; slot <= 3; ++slot) {
        if (x_.model.Levels(slot) == nullptr) continue;
        const std::string fault = InvalidExpressionMessage(x_.model.Names(slot), *calculator, &r_,
                                                           dir + *files[slot - 1]);
        if (!fault.empty()) return Fail(fault);
    }
    return true;
}

// What the run could not do as the application meant it, said once as one warning.
void ExecutionDriver::SayNotes() {
    if (run_.FNotes.empty()) return;
    std::string text;
    for (const std::string& note : run_.FNotes) {
        if (!text.empty()) text += '\n';
        text += note;
    }
    run_.FNotes.clear();
    r_.rptMessageDlg(text, TMsgDlgType::mtWarning, mbOK);
}

void ExecutionDriver::CleanUp() {
    if (cleaned_) return;
    cleaned_ = true;
    x_.output.EndRun();
    if (run_.FHasSavedPgSize) {
        x_.props.PgSize = run_.FSavedPgSize;
        x_.props.FirstPgSize = run_.FSavedFirstPgSize;
        run_.FHasSavedPgSize = false;
    }
    run_.FDefaultValues.clear();
    x_.model.ReleaseLevels();
    if (x_.props.ClearFieldsList) x_.model.ReleaseFieldTables();
    run_.FRunStream = nullptr;
    run_.FSums.Clear();
    if (run_.FHasSavedOrientation) {
        x_.host.SetPrinterOrientation(run_.FSavedOrientation);
        run_.FHasSavedOrientation = false;
    }
    run_.BeginOfReport = false;
    run_.FRunning = false;
}

bool ExecutionDriver::SetUp() {
    HostServices& host = x_.host;
    run_.FStopped = kNotStopped;
    run_.FPageNo = 1;
    run_.FColumn = 1;
    run_.FDetailCount = 0;
    run_.FEof = false;
    run_.FRunStream = stream_;
    run_.FRunning = true;
    run_.FNotes.clear();
    run_.FNoted.clear();
    cleaned_ = false;

    const SettingsFile settings = SettingsFile::LoadDefault();
    run_.FDefaultValues = ReadDefaultValues(settings);
    if (TCustomRepViewer* viewer = r_.ViewerExt()) {
        const int images = viewer->GetImageCacheCount();
        viewer->SetImageCacheCount(0);
        viewer->SetImageCacheCount(images);
    }
    if (!ReadMargins(settings)) return false;

    has_printers_ = !host.Printers().empty();
    if (has_printers_) {
        run_.FSavedOrientation = host.PrinterOrientation();
        run_.FHasSavedOrientation = true;
    }
    if (!SetupPrinter()) return false;
    CreateProgressWindow();

    host.ProcessMessages();
    bool go_on = true;
    if (r_.BeforeExecute) r_.BeforeExecute(r_, go_on);
    host.ProcessMessages();
    if (!go_on) return false;
    if (x_.props.Options.Contains(prShowProgress) && run_.FProgressForm) {
        run_.FProgressForm->SetVisible(true);
    }

    run_.BeginOfReport = true;
    run_.FColumn = 1;
    if (!LoadFormats()) return false;
    NoteCalculatedFieldsWithoutCalculator();
    if (!CheckCalculatedFields()) return false;

    run_.FSavedPgSize = x_.props.PgSize;
    run_.FSavedFirstPgSize = x_.props.FirstPgSize;
    run_.FHasSavedPgSize = true;
    x_.output.BeginRun(x_.model.IsRTF(), x_.model.IsTXT(), x_.model.Encoding(1));
    x_.props.PrnFile = WithExtensionOf(x_.props.PrnFile, x_.props.FormatFile);
    if (!OpenTargets()) return false;

    if (r_.OnNext) {
        pnext_ = false;
        r_.OnNext(r_, pnext_);
        run_.FEof = !pnext_;
    } else {
        run_.FEof = true;
    }
    r_.PutOldIdx(rlSum10);
    r_.PrintOnOff();
    if (Stopped()) return false;

    if (has_printers_) {
        if (x_.props.Orientation == orLandscape) {
            host.SetPrinterOrientation(TPrinterOrientation::poLandscape);
        } else if (x_.props.Orientation == orPortrait) {
            host.SetPrinterOrientation(TPrinterOrientation::poPortrait);
        }
    }
    if (x_.props.Options.Contains(prScaled) && x_.props.PgHeight > 0 && has_printers_) {
        const int height = x_.printer_page_height();
        if (height > 0) {
            x_.props.PgSize = x_.props.PgSize * height / x_.props.PgHeight;
            x_.props.FirstPgSize = x_.props.FirstPgSize * height / x_.props.PgHeight;
        }
    }
    if (x_.props.PgSize < 10 || x_.props.FirstPgSize < 10) x_.props.PgSize = 0;
    run_.BeginOfReport = false;
    return true;
}

// The group check of one pass: closes, innermost first, every sum level up to the
// outermost one whose index changed (all ten at the end of the data). False when the run
// stopped.
bool ExecutionDriver::CloseGroups() {
    for (int level = rlSum10; level >= rlSum01; --level) {
        if (!run_.FEof && SameIndex(level, x_.old_idx[static_cast<std::size_t>(level - rlSum01)])) {
            continue;
        }
        r_.PrintOnOff();
        if (Stopped()) return false;
        EilPlist list;
        for (int inner = rlSum01; inner <= level; ++inner) {
            if (r_.GetPrint(inner)) r_.MakeLine(inner, list);
            r_.ClrSum(inner);
        }
        if (!run_.FEof) r_.PutOldIdx(level);
        PrintToTargets(list);
        new_group_ = true;
        break;
    }
    return true;
}

bool ExecutionDriver::SameIndex(int level, const std::string& old) {
    // Every sum level is asked on every record: the report's own GetIdx is done here into
    // a reused string. A subclass may override GetIdx, and then it is asked.
    if (typeid(r_) != typeid(TQuillon)) return r_.GetIdx(level) == old;
    index_.clear();
    if (r_.OnGetGroupIndex) r_.OnGetGroupIndex(r_, static_cast<TReportLevel>(level), index_);
    return index_ == old;
}

void ExecutionDriver::RecordLoop() {
    HostServices& host = x_.host;
    for (;;) {
        host.ProcessMessages();
        if (!CloseGroups()) return;
        if (run_.FEof) return;

        r_.PrintOnOff();
        if (Stopped()) return;
        EilPlist& list = detail_lines_;
        list.Recycle();
        if (new_group_) {
            new_group_ = false;
            r_.DetailHeadSum();
            if (r_.GetPrint(rlDetailHead)) r_.MakeLine(rlDetailHead, list);
        }
        r_.DetailLineSum();
        if (r_.GetPrint(rlDetail)) r_.MakeLine(rlDetail, list);
        r_.DetailLineAutoSum();
        PrintToTargets(list);

        if (r_.OnNext) r_.OnNext(r_, pnext_);
        run_.FEof = !pnext_ || !r_.OnNext;
        if (run_.FEof) x_.output.ClearPendingBreaks();
    }
}

bool ExecutionDriver::CloseLevelFiles() {
    PagedOutput& out = x_.output;
    for (int level = rlDetail; level <= rlSum10; ++level) {
        if (!out.HasLevelFile(level)) continue;
        const std::string path = out.LevelFilePath(level);
        if (!out.CloseLevelFile(level)) {
            run_.FStopped = kStoppedByOutputError;
            return Fail(std::string(Msg(PRINTER_OUTPMsg, x_.props.Language)) + path);
        }
    }
    return true;
}

// The report end, the last pages and the second parse. False when the output is not
// complete.
bool ExecutionDriver::Finish() {
    EilPlist list;
    if (r_.GetPrint(rlEnd)) r_.MakeLine(rlEnd, list);
    PrintToTargets(list);
    SayNotes();
    PagedOutput& out = x_.output;
    for (int level = rlDetail; level <= rlSum10; ++level) {
        if (!out.HasPageList(level)) continue;
        if (!r_.WritePageStrings(level, stream_)) return false;
    }
    if (Stopped()) return false;
    if (run_.FProgressForm) run_.FProgressForm->SetStopEnabled(false);

    if (!x_.props.MultiLevel && x_.props.Options.Contains(prDoubleParse)) {
        if (r_.OnGetSecondParseFields) r_.OnGetSecondParseFields(r_);
        // The pass marks every placeholder it filled, so running it again after a failed
        // write fills only what is left.
        while (!x_.second_parse()) {
            run_.FStopped = kStoppedByOutputError;
            if (r_.rptConfirmStop(Msg(PRINTER_OUTPMsg, x_.props.Language))) return false;
            run_.FStopped = kNotStopped;
        }
    }
    return CloseLevelFiles();
}

bool ExecutionDriver::Run() {
    bool result = false;
    try {
        if (!SetUp()) return false;
        EilPlist head;
        if (r_.GetPrint(rlHead)) r_.MakeLine(rlHead, head);
        if (r_.GetPrint(rlNewPage)) r_.MakeLine(rlNewPage, head);
        PrintToTargets(head);
        x_.host.ProcessMessages();

        RecordLoop();
        if (Stopped()) return false;
        if (!Finish()) return false;
        CleanUp();
        result = true;

        if (load_ && r_.ViewerExt() != nullptr) {
            r_.SetProgressCaption("Loading...");
            x_.host.ProcessMessages();
            r_.LoadFirst();
        }
        run_.FProgressForm.reset();
        x_.host.ProcessMessages();
        if (r_.AfterExecute) r_.AfterExecute(r_);
    } catch (const std::exception& e) {
        // Shown before the clean-up, so that a message page still reaches the open output.
        const std::string_view what = e.what();
        r_.rptMessageDlg(what.substr(0, kMaxExceptionText), TMsgDlgType::mtError, mbOK);
        CleanUp();
    } catch (...) {
        r_.rptMessageDlg(Msg(ABSTRACT_Msg, x_.props.Language), TMsgDlgType::mtError, mbOK);
        CleanUp();
    }
    return result;
}

}  // namespace

bool TQuillon::Execute(TStream* Stream) {
    return LoadAfterExecute(Stream, false);
}

bool TQuillon::ExecAndLoad() {
    return LoadAfterExecute(nullptr, true);
}

bool TQuillon::LoadAfterExecute(TStream* Stream, bool Load) {
    RunContext context{FProps,
                       FRun,
                       FModel,
                       *FOutput,
                       FHost,
                       FRunFiles,
                       FOldIdx,
                       [this] { return PrinterPageHeight(); },
                       [this] { return SecondParse(); }};
    ExecutionDriver driver(*this, std::move(context), Stream, Load);
    return driver.Run();
}

void TQuillon::PrintOnOff() {
    if (FRun.FStopped != kNotStopped) return;
    bool go_on = true;
    if (OnProcessing) {
        OnProcessing(*this, FRun.FPageNo, go_on);
    } else if (FProps.Options.Contains(prShowProgress)) {
        ShowProgress(FRun.FPageNo, go_on);
    }
    if (!go_on) FRun.FStopped = kStoppedByProcessing;
}

void TQuillon::ShowProgress(int PageNo, bool& Continue) {
    Continue = true;
    ProgressWindow* window = FRun.FProgressForm.get();
    if (window == nullptr || !window->Visible()) return;
    const std::string text = std::to_string(PageNo);
    if (text != FRun.FProgressPageText) {
        FRun.FProgressPageText = text;
        window->SetPageText(text);
    }
}

void TQuillon::SetProgressCaption(std::string_view Text) {
    ProgressWindow* window = FRun.FProgressForm.get();
    if (window == nullptr || !window->Visible()) return;
    if (Text != FRun.FProgressCaption) {
        FRun.FProgressCaption = std::string(Text);
        window->SetCaption(Text);
    }
}

void TQuillon::ProcCancelBtnClick() {
    FRun.FStopped = kStoppedByStopButton;
}

}  // namespace quillon
