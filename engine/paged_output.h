#pragma once
// Paged output of a report run: takes the built line lists, counts lines per page, breaks
// pages and columns (page footer, page-break marker, next page heading), routes the lines
// of a multi-level run to the level files, and writes each finished page to the run stream
// or to its level file.
//
// Targets are addressed by level: rlDetail for the run stream or the main file, rlSum01..
// rlSum10 for the level files of a multi-level run. Every real write is checked where it
// happens; a failed write asks the report's "Printer error. ABORT " question: No retries
// the write, Yes (or no answer) stops the run.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/eil_plist.h"
#include "engine/level_file.h"
#include "engine/print_options.h"
#include "engine/report_level.h"
#include "platform/core/text_encoding.h"

namespace quillon {

class SettingsFile;
class TStream;
struct RunState;

// What the paged output needs from the report.
class PagedOutputClient {
  public:
    virtual ~PagedOutputClient() = default;
    // Builds level into list when the level is to be printed (page footer, page heading).
    virtual void BuildLevel(int level, EilPlist& list) = 0;
    // Whether a BeforeNewPage handler is assigned, and its answer (paNewPage without one).
    virtual bool HasBeforeNewPage() const = 0;
    virtual TNewPageAction BeforeNewPage(int page_no, int column) = 0;
    // The progress step of every page break (PrintOnOff).
    virtual void ProgressStep() = 0;
    // Asks whether to stop after a failed write; returns the answer (mrYes, mrNo, 0).
    virtual int AskOutputError() = 0;
    // Page sizes of the run: FirstPgSize lines on page 1, PgSize later, 0: no breaks.
    virtual int PageSize() const = 0;
    virtual int FirstPageSize() const = 0;
    // prOnePageReport: printed lines are not counted.
    virtual bool OnePageReport() const = 0;
};

struct PageBreakMarkers {
    std::string html = "<PAGE>";
    std::string rtf = "\\page";
    std::string txt = std::string(1, '\f');
};
// The markers with the PAGEBREAK=, PAGEBREAKRTF= and PAGEBREAKTXT= lines of section [PAGE]
// applied in order (later lines win; values as written, at most 255 characters).
PageBreakMarkers ReadPageBreakMarkers(const SettingsFile& settings);

// A column range of SetBorder: characters From..To (1-based); From 0 is off.
struct ColumnRange {
    int from = 0;
    int to = 0;
};

class PagedOutput {
  public:
    static constexpr int kFirstTarget = rlDetail;
    static constexpr int kLastTarget = rlSum10;
    // Lines kept in memory before a page is written out early. Only pages that can no
    // longer change are written early: first column, no BeforeNewPage handler.
    static constexpr std::size_t kEarlyWriteRows = 2048;

    PagedOutput(RunState& run, PagedOutputClient& client);
    PagedOutput(const PagedOutput&) = delete;
    PagedOutput& operator=(const PagedOutput&) = delete;

    void SetPageBreakMarkers(PageBreakMarkers markers) { markers_ = std::move(markers); }
    const PageBreakMarkers& Markers() const { return markers_; }

    // Column ranges cut from every output line. Until SetBorder is called lines are not
    // cut at all.
    void SetBorder(int from1, int to1, int from2, int to2, int from3, int to3);
    bool BorderSet() const { return border_set_; }
    const std::array<ColumnRange, 3>& Border() const { return border_; }

    // --- run life cycle ----------------------------------------------------------------
    // Starts a run: the output kind (RTF, text, else HTML), the template's encoding (for
    // character counts) and fresh counters for every target.
    void BeginRun(bool rtf, bool txt, text::TextEncoding encoding);
    // Creates (empties) the file of a target and its page list; false when it cannot be
    // created.
    bool CreateLevelFile(int level, const std::string& path);
    // A page list without file (output to the run stream).
    void CreatePageList(int level);
    bool HasLevelFile(int level) const;
    bool HasPageList(int level) const;
    const std::string& LevelFilePath(int level) const;
    // Closes the file of a target; false when closing failed.
    bool CloseLevelFile(int level);
    // Closes every file and frees every page list.
    void EndRun();
    // Every pending page break is withdrawn (the end of the data).
    void ClearPendingBreaks();

    // --- printing ----------------------------------------------------------------------
    void PrintLine(const EilPlist& list, int level, TStream* stream);
    // Writes the current page of a target and empties it; false when the run stopped on a
    // failed write.
    bool WritePageStrings(int level, TStream* stream);
    void AppendPageStrings(int level, std::string_view text);
    // Writes text directly to the file of a target (messages written as HTML).
    bool AppendToLevelFile(int level, std::string_view text);

    // --- explicit page control (level taken modulo 128; outside the targets: ignored) --
    void NewPage(int level);
    void NewPageAfter(int level) { NewPage(level); }
    void NewPageBefore(int level);
    void NewPageWait(int level);

    // --- state -------------------------------------------------------------------------
    int LinesOnPage(int level) const;
    int HeadLines(int level) const;
    bool NewPagePending(int level) const;
    // The lines of the current page of a target.
    std::vector<std::string_view> PageStrings(int level) const;
    // The page length in force: FirstPageSize on page 1, PageSize afterwards.
    int CurrentPageLength() const;

  private:
    struct Target {
        bool has_list = false;
        // The rows of the current page, one after another as they are written out, and
        // where each row ends in it.
        std::string page;
        std::vector<std::size_t> row_ends;
        int lines_on_page = 0;
        int head_lines = 0;
        bool pending = false;
        LevelFile file;
    };
    Target* TargetOf(int level);
    const Target* TargetOf(int level) const;
    void Break(Target& target, int level, TStream* stream);
    // Adds the text of one output line (LineText) to the current page of a target.
    void AppendLine(Target& target, std::string_view line);
    void AppendRow(Target& target, std::string_view text);
    // Appends the text written for one output line to out.
    void LineText(std::string_view line, std::string& out) const;
    void AppendRange(std::string_view body, ColumnRange range, std::string& out) const;
    bool WriteChecked(Target& target, TStream* stream, std::string_view data);

    RunState& run_;
    PagedOutputClient& client_;
    PageBreakMarkers markers_;
    std::array<ColumnRange, 3> border_{};
    bool border_set_ = false;
    bool rtf_ = false;
    std::string marker_ = markers_.html;  // of the run's output kind
    text::TextEncoding encoding_ = text::TextEncoding::Utf8;
    std::array<Target, kLastTarget - kFirstTarget + 1> targets_{};
    std::string text_;    // scratch: the text of one line
    std::string buffer_;  // the page being written
};

}  // namespace quillon
