#pragma once
// Prints a report file without a display, as the viewer prints it: the core of quillon
// render, also used by quillon run for a .pdf output. The file is read by its kind
// (report_kind.h): HTML as it is, RTF through the RTF reader turned into HTML (with its
// page breaks), plain text in the fixed-pitch font with its form feeds as page breaks.
// Pages are counted first, so that the footer can say "Page N of M". A report's own page
// set-up (the @page rules of its style sheets) can take the place of the paper, orientation
// and margins the user left open.

#include <QPageLayout>
#include <QPageSize>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "apps/quillon/report_kind.h"
#include "html/view/print_settings.h"

namespace quillon::app {

// "A4", "Letter" (either case) or "210x297mm" (10 to 5000 mm each way).
std::optional<QPageSize> ParsePaper(const std::string& text);
// "T,B,L,R" in centimetres (0 to 1000 each).
std::optional<std::array<double, 4>> ParseMargins(const std::string& text);

// Which of a job's paper, orientation and margins the user gave.
struct GivenPage {
    bool paper = false;
    bool orientation = false;
    bool margins = false;
};

struct RenderJob {
    std::string path;                // the report file
    std::string name;                // how messages name it; empty: by its path
    std::optional<ReportKind> kind;  // none: judged from the file (report_kind.h)
    std::string pdf;                 // a PDF file to write, or
    std::string png;                 // a folder for one PNG image per page
    QPageSize paper = QPageSize(QPageSize::A4);
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    // Margins and the other print settings; the print job's title is the report's.
    PrintSettings settings;
    // The report's @page size and margins replace what `given` leaves open: its size (with
    // the orientation it names) when no paper was given, its orientation when none was
    // given, each margin it sets when no margins were given.
    bool document_page = false;
    GivenPage given;
    int from = 1;
    int to = 0;                  // 0: the last page
    bool pages_json = false;     // print {"pages": N, "breaks": [...]} on standard output
    bool fixed_metrics = false;  // lay out with the fixed-metric canvas
    bool page_numbers = true;    // the "Page N of M" footer
    // Where the report's images are looked up; empty: the report's own folder.
    std::string image_folder;
};

enum class RenderOutcome {
    Written,
    Unreadable,  // the report cannot be read, is of no known kind, or cannot be laid out
    PageSetup,   // the margins leave no page body
    Range,       // --from lies beyond the last page; nothing was written
    Output,      // the PDF or the images cannot be written
};

struct RenderResult {
    RenderOutcome outcome = RenderOutcome::Written;
    int pages = 0;  // the report's page count, once counted
    // Printed without shrinking: how much wider than the page body the report is, in
    // screen pixels (1/96 inch); what lies beyond the body's right edge is cut off.
    int overflow = 0;
    std::string message;  // what went wrong, naming the file
    // What was passed over but printed anyway (a page size of the report out of range).
    std::vector<std::string> warnings;
};

// Makes the Qt application object when there is none yet (offscreen without a display). A
// PDF that cannot be finished is removed again.
RenderResult RenderDocument(const RenderJob& job);

// Sets the page body margins of settings from ParseMargins' T,B,L,R.
void SetMargins(PrintSettings& settings, const std::array<double, 4>& margins);

}  // namespace quillon::app
