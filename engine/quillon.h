#pragma once
// TQuillon: the report component. An application sets its format files and options,
// assigns the events through which it hands over records and field values, and runs the
// report (Execute, ExecAndLoad). A property is a getter named as the property and a setter
// with "Set" in front; an event is a public std::function member named as the event, called
// only when assigned, whose first parameter is the report.
//
//   TQuillon report;
//   report.SetFormatFile("invoice.htm");
//   report.OnGetDetailLine = [&](TQuillon& r) { r.FieldByName("CUSTOMER").SetAsString(name); };
//
// The component raises no exceptions of its own: problems are shown through rptMessageDlg
// (the host's message dialog, or an HTML page in the output with prMsgToHtml) and
// signalled by Boolean results.

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/rep_calculator.h"
#include "engine/custom_rep_viewer.h"
#include "engine/eil_plist.h"
#include "engine/level_files.h"
#include "engine/messages.h"
#include "engine/paged_output.h"
#include "engine/print_options.h"
#include "engine/rep_viewer_par.h"
#include "engine/report_level.h"
#include "engine/report_model.h"
#include "engine/report_properties.h"
#include "engine/rpt_storage.h"
#include "engine/run_state.h"
#include "engine/viewer_events.h"
#include "platform/core/component.h"
#include "platform/core/host_services.h"
#include "platform/core/stream.h"

namespace quillon {

class TQuillon;
class ReportOutputClient;
class RawPrinters;
class LineAssembler;

using TNextEvent = std::function<void(TQuillon& Sender, bool& PNext)>;
using TGetGroupIndexEvent =
    std::function<void(TQuillon& Sender, TReportLevel Level, std::string& PIDX)>;
using TGetHeadLineEvent = std::function<void(TQuillon& Sender)>;
using TGetNewPgLineEvent = std::function<void(TQuillon& Sender)>;
using TGetDetailHeadLineEvent = std::function<void(TQuillon& Sender)>;
using TGetDetailLineEvent = std::function<void(TQuillon& Sender)>;
using TGetDblParseEvent = std::function<void(TQuillon& Sender)>;
using TDetailHeadSumEvent = std::function<void(TQuillon& Sender)>;
using TDetailSumEvent = std::function<void(TQuillon& Sender)>;
using TAfterExecuteEvent = std::function<void(TQuillon& Sender)>;
using TGetSumLineEvent = std::function<void(TQuillon& Sender, TReportLevel Level)>;
using TChangeIndexEvent = std::function<void(TQuillon& Sender, TReportLevel Level)>;
using TProcessingEvent = std::function<void(TQuillon& Sender, int PPageNo, bool& PContinue)>;
using TBeforeExecuteEvent = std::function<void(TQuillon& Sender, bool& PContinue)>;
using TBeforeNewPageEvent =
    std::function<void(TQuillon& Sender, int PPageNo, int PColumn, TNewPageAction& PAction)>;
using TPrinterSetupEvent = std::function<void(TQuillon& Sender, int& FromPage, int& ToPage)>;

// The line-suppression character: a field value that contains it removes its output line.
inline constexpr char kSkipLineChar = '\x1b';

// The report is also what its calculator reads fields and sums from (CalcReportAccess).
class TQuillon : public TComponent, public CalcReportAccess {
  public:
    // Messages go to host (the process's default host unless one is given); the host must
    // outlive the component.
    explicit TQuillon(HostServices& host = DefaultHost());
    explicit TQuillon(std::string name, HostServices& host = DefaultHost());
    ~TQuillon() override;

    // --- published properties -----------------------------------------------------------
    TCustomRepViewer* ViewerExt() const { return FViewerExt.Get(); }
    void SetViewerExt(TCustomRepViewer* Value) { FViewerExt.Set(Value); }
    TCustomRepCalculator* XCalcExt() const { return FXCalcExt.Get(); }
    void SetXCalcExt(TCustomRepCalculator* Value);
    TrptStorage* XStorage() const { return FXStorage.Get(); }
    void SetXStorage(TrptStorage* Value) { FXStorage.Set(Value); }
    // The viewer parameters; writing copies the given object's values.
    tRepViewerPar& Viewer() { return *FViewer; }
    const tRepViewerPar& Viewer() const { return *FViewer; }
    void SetViewer(const tRepViewerPar& Value) { FViewer->Assign(Value); }

    bool MultiLevel() const { return FProps.MultiLevel; }
    void SetMultiLevel(bool Value) { FProps.MultiLevel = Value; }
    int PgSize() const { return FProps.PgSize; }
    void SetPgSize(int Value) { FProps.PgSize = Value; }
    // Page height in millimetres that PgSize and FirstPgSize refer to. Writing 0 takes the
    // current printer's page height (280 when it cannot be read); without printers a 0
    // leaves the value unchanged.
    int PgHeight() const { return FProps.PgHeight; }
    void SetPgHeight(int Value);
    int FirstPgSize() const { return FProps.FirstPgSize; }
    void SetFirstPgSize(int Value) { FProps.FirstPgSize = Value; }
    TPrintOptions Options() const { return FProps.Options; }
    void SetOptions(TPrintOptions Value) { FProps.Options = Value; }
    TPageOrientation Orientation() const { return FProps.Orientation; }
    void SetOrientation(TPageOrientation Value) { FProps.Orientation = Value; }
    const std::string& PrnFile() const { return FProps.PrnFile; }
    void SetPrnFile(std::string Value) { FProps.PrnFile = std::move(Value); }
    const std::string& AliasName() const { return FProps.AliasName; }
    void SetAliasName(std::string Value) { FProps.AliasName = std::move(Value); }
    // The format slot (1 to 3) that field operations address; other values are ignored.
    int ActiveFormatNo() const { return FModel.ActiveFormatNo(); }
    void SetActiveFormatNo(int Value) { SetActiveFormat(Value); }
    // The template files. A name that is not absolute is looked up in the folder of the
    // running program (GetAliasDir), not in the current folder: an application ships its
    // templates beside itself. Give an absolute path for a template elsewhere; a missing
    // template's message names the full path that was tried.
    const std::string& FormatFile() const { return FProps.FormatFile; }
    void SetFormatFile(std::string Value) { FProps.FormatFile = std::move(Value); }
    const std::string& FormatFile1() const { return FProps.FormatFile1; }
    void SetFormatFile1(std::string Value) { FProps.FormatFile1 = std::move(Value); }
    const std::string& FormatFile2() const { return FProps.FormatFile2; }
    void SetFormatFile2(std::string Value) { FProps.FormatFile2 = std::move(Value); }
    // The format inside the template files: the name after "^^" in a header line, or "*"
    // for the first format. Empty (the default) fails a run with a message saying so.
    const std::string& FormatName() const { return FProps.FormatName; }
    void SetFormatName(std::string Value) { FProps.FormatName = std::move(Value); }
    TRepLanguage Language() const { return FProps.Language; }
    void SetLanguage(TRepLanguage Value) { FProps.Language = Value; }

    // --- events -------------------------------------------------------------------------
    // Passed to the viewer when the report configures it.
    THotSpotClickEvent OnVHotSpotClick;
    THotSpotEvent OnVHotSpotCovered;
    TFormSubmitEvent OnVFormSubmit;
    TGetImageEvent OnVImageRequest;
    TGetBitmapEvent OnVBitmapRequest;
    // The run.
    TNextEvent OnNext;
    TBeforeExecuteEvent BeforeExecute;
    TBeforeNewPageEvent BeforeNewPage;
    TAfterExecuteEvent AfterExecute;
    TGetGroupIndexEvent OnGetGroupIndex;
    TGetHeadLineEvent OnGetHeadLine;
    TGetNewPgLineEvent OnGetNewPgLine;
    TGetDetailHeadLineEvent OnGetDetailHeadLine;
    TGetDetailLineEvent OnGetDetailLine;
    TGetSumLineEvent OnGetSumLine;
    TGetDblParseEvent OnGetSecondParseFields;
    TDetailHeadSumEvent OnDetailHeadSum;
    TDetailSumEvent OnDetailSum;
    TChangeIndexEvent OnChangeIndex;
    TProcessingEvent OnProcessing;
    TPrinterSetupEvent OnSetupPrinter;
    // Passed to the viewer: drawing on printed pages.
    TPagePrinted OnPrintHeader;
    TPagePrinted OnPrintFooter;

    // --- public state -------------------------------------------------------------------
    // A string list owned by the component; writing copies the given list.
    std::vector<std::string>& Params() { return FParams; }
    const std::vector<std::string>& Params() const { return FParams; }
    void SetParams(const std::vector<std::string>& Value) { FParams = Value; }
    // The viewer window's visibility (false without a viewer).
    bool Visible() const;
    void SetVisible(bool Value);
    // The progress window's visibility (false, and not written, without a window).
    bool ProgressVisible() const;
    void SetProgressVisible(bool Value);
    // While true, the end of every run frees the three field tables; writing true frees
    // them at once (the next load creates them again).
    bool ClearFieldsList() const { return FProps.ClearFieldsList; }
    void SetClearFieldsList(bool Value);
    // True while a run is being set up (the first OnNext of a run sees true).
    bool BeginOfReport() const { return FRun.BeginOfReport; }

    // --- the run ------------------------------------------------------------------------
    // One run writing into Stream (nullptr: into files); true when it completed.
    bool Execute(TStream* Stream = nullptr);
    // One run writing into files, then the result is loaded into the viewer.
    bool ExecAndLoad();
    bool LoadAfterExecute(TStream* Stream, bool Load);

    // --- level flow, grouping, counters ---------------------------------------------------
    // The group index of a level, asked from OnGetGroupIndex.
    virtual std::string GetIdx(int Level);
    void PutOldIdx(int Level);
    std::string GetPriorIndex(int Level) const;
    void SetPrint(int Level, bool Value);
    void SetPrintTmp(int Level, bool Value);
    bool GetPrint(int Level) const;
    bool GetPrintTmp(int Level) const;
    // The line-suppression character (code 27) as a field value.
    static std::string SkipLine() { return std::string(1, kSkipLineChar); }
    int GetCurrentLine() const;
    std::string GetPgNumber() const { return std::to_string(FRun.FPageNo); }
    int GetIntPgNumber() const { return FRun.FPageNo; }

    // --- progress window ----------------------------------------------------------------
    void ShowProgress(int PageNo, bool& Continue);
    void SetProgressCaption(std::string_view Text);
    void PrintOnOff();
    void ProcCancelBtnClick();

    // --- field access (active format slot) ----------------------------------------------
    // A name the template does not have leaves the table without a current field (reads
    // give empty results, writes are ignored); during a run each such name is noted and
    // said once, in a warning at the end of the run.
    tRNAMEList& FieldByName(std::string_view Name);
    tRNAMEList& FieldByNumber(int Level, int Number) { return FModel.FieldByNumber(Level, Number); }
    void FormatByName(std::string_view Name, int& Width, int& Decimals) {
        FModel.FormatByName(Name, Width, Decimals);
    }
    void FormatByNumber(int Level, int Number, int& Width, int& Decimals) const {
        FModel.FormatByNumber(Level, Number, Width, Decimals);
    }

    // --- formats and built-in fields ----------------------------------------------------
    bool LoadFormat(std::string_view FileName, std::string& FormatName, int Slot);
    void SetActiveFormat(int Value) { FModel.SetActiveFormat(Value); }
    std::string GetAliasDir(bool CheckFormatFile);
    void PutDefaultValues();

    // --- line building ------------------------------------------------------------------
    // Builds one line of Level of the active format and appends its output lines to List.
    void MakeLine(int Level, EilPlist& List);
    // Appends the text that replaces field slot FieldNo of Level (filled out, cut or
    // aligned for its slot) to Value. The line builder calls this form, so that a line is
    // built without a string per field; override it to change how slots are filled.
    virtual void GetValue(int Level, int FieldNo, std::string& Value);
    // The same text as a string.
    std::string GetValue(int Level, int FieldNo);
    // Evaluates the calculated fields of Level with the connected calculator.
    void PutCalcValues(int Level);

    // --- sums ---------------------------------------------------------------------------
    double SumByName(int Level, std::string_view Name);
    double SumByNumber(int Level, int FieldLevel, int FieldNo) override;
    void ClrSum(int Level);
    virtual void DetailLineSum();
    void DetailLineAutoSum();
    virtual void DetailHeadSum();

    // --- paged output -------------------------------------------------------------------
    void PrintLine(EilPlist& List, int Level, TStream* Stream);
    // False when the run stopped on a failed write.
    bool WritePageStrings(int Level, TStream* Stream);
    void AppendPageStrings(int Level, std::string_view Text);
    void NewPage(int Level);
    void NewPageAfter(int Level);
    void NewPageBefore(int Level);
    void NewPageWait(int Level);
    void SetBorder(int From1, int To1, int From2, int To2, int From3, int To3);

    // --- text printing (text_printing.cpp) ----------------------------------------------
    // Prints the text report FileName (blank: PrnFile) on a character printer through the
    // printer section Section of QUILDOC.INI (blank: the current printer's name) to Port
    // (blank: the section's <PRINTER>, else the current printer): its tags become the
    // section's control sequences, <BR> and <HR> line ends and rules, <CENTER> passages are
    // centred on a line of Width characters (0 or less: the section's <WIDTH>, else 128).
    // Only pages FromPage..ToPage (counted from 1 by form feeds) are sent. True when the
    // whole report was read and sent.
    bool PrintTXT(std::string_view Section, std::string_view Port, std::string_view FileName,
                  int FromPage, int ToPage, int Width);
    // While true, PrintTXT prints the national letters in the printer's national set.
    bool PrinterCharConvert() const { return FPrinterCharConvert; }
    void SetPrinterCharConvert(bool Value) { FPrinterCharConvert = Value; }
    // Where PrintTXT sends its jobs (nullptr: DefaultRawPrinters()); must outlive the report.
    void SetRawPrinters(RawPrinters* Value) { FRawPrinters = Value; }

    // --- the viewer (viewer_handoff.cpp) ---------------------------------------------------
    // Every call does nothing, or answers false, 0 or empty, when no viewer is connected.
    // Copies the viewer parameters (Viewer) and the report's viewer events into Viewer.
    void SetExtViewerProp(TCustomRepViewer& Viewer);
    // Clears the viewer, configures it and loads FileName; false when nothing was loaded
    // (a load error is shown as a message).
    bool LoadFromFile(const std::string& FileName);
    // Loads the main file of the run (PrnFile); a FindText that is not blank is then
    // searched for.
    bool LoadFirst(std::string_view FindText = {}, bool MatchCase = false);
    // Load the last level file of the run, or the file after or before the one shown;
    // false when there is none.
    bool LoadLast(std::string_view FindText = {}, bool MatchCase = false);
    bool LoadNext(std::string_view FindText = {}, bool MatchCase = false);
    bool LoadPrior(std::string_view FindText = {}, bool MatchCase = false);
    // The file of FileName's run in Direction (level_files.h); empty when there is none.
    std::string SecondHTMFile(const std::string& FileName, int Direction) const;
    // The files the last run that wrote files created: the main file, then the level files.
    const RunFiles& LastRunFiles() const { return FRunFiles; }
    int NumPrinterPages();
    bool Find(const std::string& Text, bool MatchCase);
    void CopyToClipboard();
    // Clears Params and the viewer's document.
    void Clear();
    // Closes the viewer window, then Clear.
    void Close();
    // Show the viewer window; without a viewer a message says that none is connected.
    void Show();
    void ShowModal();
    // The viewer's margins dialog; true when confirmed.
    bool SetPageMargins();
    // Prints pages FromPage..ToPage of the loaded report through the viewer, with the
    // printer set-up of prSetupBeforePrint and the title line of Viewer().TitlePrintStyle;
    // false when nothing was printed.
    bool Print(int FromPage, int ToPage);

    // --- messages and the viewer's form ---------------------------------------------------
    // Shows Msg through the host's message dialog and returns its result. With prMsgToHtml
    // and an HTML format file the message becomes an HTML page in the report output
    // instead, and the result is 0.
    int rptMessageDlg(std::string_view Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons);
    // Asks Msg as a Yes/No confirmation; true (stop) unless the answer is No. An answer
    // of 0 (no dialog was shown) therefore stops.
    bool rptConfirmStop(std::string_view Msg);
    // The name of check box number Index (from 0) among the viewer's check boxes whose
    // state is State; false without a viewer or such a box.
    bool GetCheckBoxName(bool State, int Index, std::string& Name) const;

    // --- internals that the design tools and tests read ---------------------------------
    const std::string& PageBreakHTML() const { return FOutput->Markers().html; }
    const std::string& PageBreakRTF() const { return FOutput->Markers().rtf; }
    const std::string& PageBreakTXT() const { return FOutput->Markers().txt; }
    // The paged output of the runs (page lists, level files, counters).
    PagedOutput& Output() { return *FOutput; }
    bool StripNames() const { return FProps.StripNames; }
    void SetStripNames(bool Value) { FProps.StripNames = Value; }
    const std::string& RTFNameTag() const { return FProps.RTFNameTag; }
    ReportModel& Model() { return FModel; }
    HostServices& Host() const { return FHost; }
    int DetailCount() const { return FRun.FDetailCount; }

    // --- what the calculator reads (CalcReportAccess) --------------------------------------
    std::optional<std::string> FieldText(std::string_view Name) override;
    int FieldSlot(std::string_view Name) override;
    bool LevelDefined(int Level) override;

  protected:
    // The state of the current run (what the run's steps share).
    RunState& Run() { return FRun; }
    // The second-parse pass over the run's output: the run stream, else the file PrnFile.
    // False when the output could not be opened or rewritten.
    bool SecondParse();

  private:
    friend class ReportOutputClient;
    class LineSlotsInUse;
    // Line building without the GetValue call per slot, when GetValue is this class's own.
    bool FillsSlotsDirectly() const;
    void FillSlotsDirectly(LineAssembler& line, const LevelLists& lists, const LevelSlots& plan);

    void Construct();
    // LoadFromFile, then a search for FindText when it is not blank; false for a blank
    // name or a failed load.
    bool LoadAndFind(const std::string& FileName, std::string_view FindText, bool MatchCase);
    void ShowViewer(bool Modal);
    // Prints through the viewer with the title line installed as its header or footer
    // where that is wanted.
    void PrintWithTitle(TCustomRepViewer& viewer, int FromPage, int ToPage);
    void ReadPageBreakMarkers();
    int PrinterPageHeight() const;  // 0 without printers
    void RaiseLevelEvent(int Level);
    bool WriteMessagePage(std::string_view Msg, TMsgDlgType DlgType);
    LoadSettings MakeLoadSettings();
    // Notes Text once for the warning at the end of the run (nothing outside a run).
    void NoteForRun(std::string Text);

    HostServices& FHost;
    ReportModel FModel;
    RunState FRun;

    ComponentLink<TCustomRepViewer> FViewerExt;
    // The files written by the last run into files (level_files.h).
    RunFiles FRunFiles;
    ComponentLink<TCustomRepCalculator> FXCalcExt;
    ComponentLink<TrptStorage> FXStorage;
    std::unique_ptr<tRepViewerPar> FViewer;

    // The published properties (PgSize, Options, FormatFile, ...).
    ReportProperties FProps;
    std::vector<std::string> FParams;

    // The paged output of a run: page lists, level files, page-break markers and column
    // ranges (paged_output.h); the run's steps live in execution_driver.cpp.
    std::unique_ptr<ReportOutputClient> FOutputClient;
    std::unique_ptr<PagedOutput> FOutput;

    std::array<bool, kLevelCount> FPrint{};
    std::array<bool, kLevelCount> FPrintTmp{};
    // The group index last seen per sum level rlSum01..rlSum10.
    std::array<std::string, kGroupLevelCount> FOldIdx;

    // Scratch of the line builder, kept so that building a line reuses its room.
    std::string FLineScratch;
    // The slots of the level whose line MakeLine is filling (GetValue reads them without
    // a lookup), or nullptr.
    const LevelSlots* FLineSlots = nullptr;
    int FLineLevel = -1;

    bool FPrinterCharConvert = false;
    RawPrinters* FRawPrinters = nullptr;
};

}  // namespace quillon
