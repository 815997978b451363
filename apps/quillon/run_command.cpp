// quillon run TEMPLATE --data SOURCE [options]: runs a report over the records of a CSV
// file, a JSON array, JSON Lines or an SQLite query, fields filled by column name
// (record_feeder.h).
//
// With --out REPORT.pdf the report is printed to PDF once written (run_pdf_output.h).
//
// With --split COLUMN one report per group of the column (burst_output.h).
//
// Exit codes: 0 the report was written; 2 the template is missing or cannot be loaded;
// 3 the data source cannot be read (or a --group column does not exist, or the data is not
// sorted by the --split column); 4 the output (or the PDF) cannot be written; 5 the run
// failed otherwise (or its report cannot be printed); 6 --view without a display (nothing
// is run); 64 usage error; 130 interrupted (Ctrl-C). With --view the written report is shown in its viewer window once the run
// succeeded; the command ends when the window closes.

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "apps/datasource/data_source.h"
#include "apps/datasource/group_slices.h"
#include "apps/quillon/burst_output.h"
#include "apps/quillon/command_registry.h"
#include "apps/quillon/fd_stream.h"
#include "apps/quillon/language_option.h"
#include "apps/quillon/progress_meter.h"
#include "apps/quillon/record_feeder.h"
#include "apps/quillon/run_pdf_output.h"
#include "apps/quillon/staged_output.h"
#include "calc/rpt_calculator.h"
#include "engine/execution_driver.h"
#include "engine/message_page.h"
#include "engine/quillon.h"
#include "platform/core/host_services.h"
#include "platform/core/stream.h"
#include "platform/core/text_encoding.h"
#if defined(QUILLON_HAS_VIEWERS)
#include "apps/quillon/gui_application.h"
#include "apps/quillon/report_window.h"
#endif

namespace quillon::app {

namespace {

constexpr int kExitTemplate = 2;
constexpr int kExitData = 3;
constexpr int kExitOutput = 4;
constexpr int kExitRun = 5;
[[maybe_unused]] constexpr int kExitNoDisplay = 6;
constexpr int kExitInterrupted = 130;

volatile std::sig_atomic_t g_interrupted = 0;

extern "C" void OnInterrupt(int) {
    g_interrupted = 1;
}

// Ctrl-C asks the run to stop (through OnProcessing) instead of killing the process, so
// that the run cleans up and says that its output is incomplete.
class InterruptGuard {
  public:
    InterruptGuard() {
        g_interrupted = 0;
        struct sigaction action {};
        action.sa_handler = OnInterrupt;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, &old_);
    }
    ~InterruptGuard() { sigaction(SIGINT, &old_, nullptr); }
    InterruptGuard(const InterruptGuard&) = delete;
    InterruptGuard& operator=(const InterruptGuard&) = delete;

  private:
    struct sigaction old_ {};
};

struct RunOptions {
    std::string template_path;
    std::string data;
    bool json_lines = false;
    std::string query;
    std::string table;
    std::vector<std::string> groups;
    std::string split;  // --split: one report per value of this (outermost) group column
    std::string shard;  // --shard K/N
    std::string out;
    int page_size = 64;
    std::optional<int> first_page_size;
    bool auto_sum = false;
    bool double_parse = false;
    bool trim = false;
    bool no_cut = false;
    bool no_align_numbers = false;
    bool one_page = false;
    bool msg_to_html = false;
    bool multi_level = false;
    bool page_per_group = false;
    bool no_progress = false;
    bool view = false;
    std::string format = "*";
    std::string settings;
    std::string lang = "english";
    PdfPageOptions pdf_page;      // --paper, --margins, --landscape
    bool pdf_page_given = false;  // one of them was given
};

int Fail(int code, const std::string& message) {
    std::cerr << "quillon run: " << message << '\n';
    return code;
}

data::SourceKind DataKind(const RunOptions& o) {
    return o.json_lines ? data::SourceKind::kJsonLines : data::KindOf(o.data);
}

TPrintOptions OptionsOf(const RunOptions& o) {
    TPrintOptions options{prNumbersAlignRight, prScaled};
    if (o.no_align_numbers) options.Exclude(prNumbersAlignRight);
    if (o.no_cut) options.Include(prDontCutField);
    if (o.trim) options.Include(prTrimField);
    if (o.one_page) options.Include(prOnePageReport);
    if (o.msg_to_html) options.Include(prMsgToHtml);
    // Column totals in sum lines are the engine's automatic sums: grouping turns them on.
    if (o.auto_sum || !o.groups.empty()) options.Include(prAutoSum);
    if (o.double_parse) options.Include(prDoubleParse);
    return options;
}

bool IsHtmlTemplate(const std::string& path) {
    return text::AsciiUpperCase(std::filesystem::path(path).extension().string())
        .starts_with(".HTM");
}

// "1 record", "2 records".
std::string Counted(std::size_t n, std::string_view one, std::string_view many) {
    return std::to_string(n) + " " + std::string(n == 1 ? one : many);
}

// Copies a finished file to standard output, in order.
bool CopyToStandardOutput(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    FdStream out;
    std::string buffer(std::size_t{1} << 16, '\0');
    while (in) {
        in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        const auto got = static_cast<std::size_t>(in.gcount());
        if (got > 0 && !out.Write(std::string_view(buffer.data(), got))) return false;
    }
    return in.eof();
}

// Where the report goes: a file (or, with --multi-level, a set of files) written under
// a temporary name and moved into place on success, or standard output.
struct OutputPlan {
    bool to_stdout = false;
    bool direct = false;           // a device or pipe: written directly, not staged
    std::filesystem::path target;  // the main file (empty for standard output)
    std::unique_ptr<StagedOutput> staged;
};

// Writes the messages of a template that could not be loaded as message pages into the
// output, as a run does with --msg-to-html for its own errors.
void WriteMessagePages(const RunOptions& o, const std::vector<std::string>& messages) {
    std::string pages;
    for (const std::string& m : messages) pages += BuildMessagePage(m, TMsgDlgType::mtError);
    if (o.out == "-") {
        FdStream out;
        out.Write(pages);
        return;
    }
    const std::filesystem::path target =
        WithExtensionOf(o.out.empty() ? std::string("PRX") : o.out, o.template_path);
    StagedOutput staged(target);
    if (!staged.Valid()) return;
    FdStream file(staged.StagePath().string());
    if (file.IsOpen() && file.Write(pages) && file.Close() && staged.Commit()) {
        std::cerr << "quillon run: the message is also in " << target.string() << '\n';
    }
}

// What the steps of a run share.
struct RunState {
    explicit RunState(const RunOptions& options) : o(options), out(options.out) {}

    const RunOptions& o;
    std::string out;  // where this report goes: --out, or a split run's file for one group
    // A split run: each group's file name, and which groups this run writes.
    std::optional<BurstNames> burst_names;
    std::optional<Shard> shard;
    // With --msg-to-html into an HTML report, errors become message pages of the output.
    bool pages_for_messages = false;
    TRepLanguage language{};
    std::optional<PdfPlan> pdf_plan;  // a .pdf output
    std::string template_path;        // absolute
    std::vector<std::string> messages;
    HostServices* window_host = nullptr;  // the viewer window's, while it is open
    std::unique_ptr<data::DataSource> source;
    std::vector<int> group_columns;
    OutputPlan plan;
    std::unique_ptr<FdStream> file;
    // What the last report written holds.
    std::size_t records_written = 0;
    int pages_written = 0;
};

// --split and --shard: the file name pattern, and what a split run cannot do.
int CheckSplit(RunState& s) {
    const RunOptions& o = s.o;
    if (o.split.empty()) {
        if (!o.shard.empty()) return Fail(kExitUsage, "--shard needs --split COLUMN");
        return 0;
    }
    if (!o.groups.empty() &&
        text::AsciiUpperCase(o.groups.front()) != text::AsciiUpperCase(o.split)) {
        return Fail(kExitUsage, "--split " + o.split +
                                    " must be the outermost group: the first --group is " +
                                    o.groups.front());
    }
    if (o.out.empty() || o.out == "-") {
        return Fail(kExitUsage, "--split writes one file per group: it needs --out with {" +
                                    o.split + "} in the file name");
    }
    for (const auto& [given, option] :
         {std::pair{o.multi_level, "--multi-level"}, std::pair{o.view, "--view"},
          std::pair{o.msg_to_html, "--msg-to-html"}}) {
        if (given) return Fail(kExitUsage, std::string("--split cannot be used with ") + option);
    }
    std::string error;
    std::optional<BurstPattern> pattern = ParseBurstPattern(o.out, o.split, error);
    if (!pattern) return Fail(kExitUsage, error);
    s.burst_names.emplace(std::move(*pattern));
    if (!o.shard.empty()) {
        s.shard = ParseShard(o.shard, error);
        if (!s.shard) return Fail(kExitUsage, error);
    }
    return 0;
}

// The checks that need neither the template's contents nor the data: 0 when the run may go
// on, else its exit code (with the message said).
int CheckOptions(RunState& s) {
    namespace fs = std::filesystem;
    const RunOptions& o = s.o;
    std::error_code ec;
    s.pages_for_messages = o.msg_to_html && IsHtmlTemplate(o.template_path) && !IsPdfOutput(o.out);
    if (!fs::is_regular_file(o.template_path, ec)) {
        const std::string message = "template not found: " + o.template_path;
        if (s.pages_for_messages) WriteMessagePages(o, {message});
        return Fail(kExitTemplate, message);
    }
    if (!o.settings.empty()) {
        if (!fs::is_regular_file(o.settings, ec)) {
            return Fail(kExitRun, "settings file not found: " + o.settings);
        }
        ::setenv("QUILDOC_INI", o.settings.c_str(), 1);
    }
    const std::optional<TRepLanguage> language = ParseLanguage(o.lang);
    if (!language) return Fail(kExitUsage, "unknown language: " + o.lang);
    s.language = *language;
    if (o.multi_level && o.out == "-") {
        return Fail(kExitUsage, "--multi-level writes one file per level; it needs --out FILE");
    }
    if (o.view && o.out == "-") {
        return Fail(kExitUsage, "--view shows the written report file; it needs --out FILE, not -");
    }
    // A .pdf output: the report is written beside it in the template's format, then printed.
    if (IsPdfOutput(o.out)) {
        if (o.multi_level) return Fail(kExitUsage, "--multi-level cannot write into a .pdf output");
        if (o.view) {
            return Fail(kExitUsage, "--view shows a report file; it cannot show a .pdf output");
        }
        if (o.msg_to_html) {
            return Fail(
                kExitUsage,
                "--msg-to-html puts messages into an HTML output; a .pdf output takes none");
        }
#if defined(QUILLON_HAS_RENDER)
        std::string error;
        s.pdf_plan = PlanPdfOutput(o.out, o.template_path, o.pdf_page, error);
        if (!s.pdf_plan) return Fail(kExitUsage, error);
#else
        return Fail(kExitUsage, "this quillon was built without printing: --out cannot be a .pdf");
#endif
    } else if (o.pdf_page_given) {
        std::cerr << "quillon run: --paper, --margins and --landscape apply to a .pdf output "
                     "only; ignored\n";
    }
#if defined(QUILLON_HAS_VIEWERS)
    if (o.view && !HasDisplay()) {
        return Fail(
            kExitNoDisplay,
            "--view: no display to open the viewer on (DISPLAY is not set); nothing was run");
    }
#else
    if (o.view) return Fail(kExitUsage, "--view: this quillon was built without the viewers");
#endif
    if (const int code = CheckSplit(s); code != 0) return code;
    if (o.page_per_group && o.groups.empty()) {
        return Fail(kExitUsage, "--page-per-group needs at least one --group column");
    }
    if (DataKind(o) == data::SourceKind::kSqlite && o.query.empty() && o.table.empty()) {
        return Fail(kExitUsage,
                    "an SQLite database needs --table NAME or --query SQL to say what to read");
    }
    return 0;
}

// The template, loaded once up front into model: a clear error, and the names of its fields.
int LoadTemplate(RunState& s, HostServices& host, ReportModel& model) {
    std::error_code ec;
    s.template_path = std::filesystem::absolute(s.o.template_path, ec).string();
    std::string format_name = s.o.format;
    LoadSettings load;
    load.language = s.language;
    load.message = [&host](std::string_view msg, TMsgDlgType type, TMsgDlgButtons buttons) {
        return host.MessageDlg(msg, type, buttons);
    };
    if (!model.LoadFormat(s.template_path, format_name, 1, load)) {
        if (s.pages_for_messages) WriteMessagePages(s.o, s.messages);
        return Fail(kExitTemplate, "the template cannot be loaded: " + s.o.template_path);
    }
    return 0;
}

// The data source and the columns of the --group options, outermost first.
int OpenRecords(RunState& s) {
    try {
        s.source = data::Open(s.o.data, DataKind(s.o), data::SqliteQuery{s.o.query, s.o.table});
    } catch (const data::DataSourceError& e) {
        return Fail(kExitData, e.what());
    } catch (const std::exception& e) {
        return Fail(kExitData, e.what());
    }
    for (const std::string& group : s.o.groups) {
        const int column = s.source->ColumnIndex(group);
        if (column < 0) {
            std::string columns;
            for (const std::string& c : s.source->Columns())
                columns += (columns.empty() ? "" : ", ") + c;
            return Fail(kExitData,
                        "unknown --group column " + group + " (the columns are: " + columns + ")");
        }
        s.group_columns.push_back(column);
    }
    if (s.group_columns.size() > rlSum10 - rlSum01 + 1) {
        return Fail(kExitUsage, "at most ten --group columns");
    }
    return 0;
}

// The report component with the options of the command line.
void SetUpReport(const RunState& s, TQuillon& report, TrptCalculator& calculator,
                 HostServices& host) {
    const RunOptions& o = s.o;
    report.SetFormatFile(s.template_path);
    report.SetFormatName(o.format);
    report.SetLanguage(s.language);
    report.SetOptions(OptionsOf(o));
    report.SetPgSize(o.page_size);
    report.SetFirstPgSize(o.first_page_size.value_or(o.page_size));
    report.SetMultiLevel(o.multi_level);
    calculator.SetHost(&host);
    report.SetXCalcExt(&calculator);
}

// A report file that cannot be opened for writing, said in the report's language as the
// engine says it, with the file and the reason.
int FailToOpen(const RunState& s, const std::string& file, const std::string& reason) {
    return Fail(kExitOutput, std::string(Msg(FILE_OPENMsg, s.language)) + file + ": " + reason);
}

// Where the report goes. Files are written under a temporary name beside their target and
// moved into place when the run succeeded. Standard output is written as the run goes, in
// order; a second parse rewrites the report in place, so it runs on a temporary file that
// is copied to standard output at the end.
int OpenOutput(RunState& s, TQuillon& report) {
    namespace fs = std::filesystem;
    const RunOptions& o = s.o;
    std::error_code ec;
    OutputPlan& plan = s.plan;
    plan.to_stdout = s.out == "-";
    if (!plan.to_stdout || o.double_parse) {
        const fs::path temp_dir = fs::temp_directory_path(ec);
        plan.target =
            plan.to_stdout
                ? temp_dir / ("quillon-stdout" + fs::path(o.template_path).extension().string())
            : s.pdf_plan ? s.pdf_plan->report
            : s.out.empty() || o.multi_level
                ? fs::path(
                      WithExtensionOf(s.out.empty() ? report.PrnFile() : s.out, s.template_path))
                : fs::path(s.out);
        const fs::file_status status = fs::status(plan.target, ec);
        if (fs::exists(status) && !fs::is_regular_file(status)) {
            // A device or pipe (/dev/null, a named pipe) is written directly: it is no
            // report file that a later run could replace.
            plan.direct = true;
        } else {
            // Through a symbolic link, the file it points to is replaced, not the link.
            // (For a PDF, PlanPdfOutput did so with the PDF.)
            if (!s.pdf_plan && fs::is_symlink(plan.target, ec)) {
                plan.target = fs::canonical(plan.target, ec);
            }
            plan.staged = std::make_unique<StagedOutput>(plan.target);
        }
        if (!plan.direct && !plan.staged->Valid()) {
            return FailToOpen(s, s.pdf_plan ? s.out : plan.target.string(), plan.staged->Error());
        }
    }
    if (plan.to_stdout && !o.double_parse) {
        s.file = std::make_unique<FdStream>();
    } else if (plan.direct) {
        if (o.multi_level) {
            return Fail(kExitUsage, "--multi-level needs --out to name a file");
        }
        s.file = std::make_unique<FdStream>(plan.target.string());
        if (!s.file->IsOpen()) {
            return FailToOpen(s, plan.target.string(), std::strerror(errno));
        }
    } else if (!o.multi_level) {
        s.file = std::make_unique<FdStream>(plan.staged->StagePath().string());
        if (!s.file->IsOpen()) {
            return FailToOpen(s, plan.target.string(), std::strerror(errno));
        }
    } else {
        report.SetPrnFile(plan.staged->StagePath().string());
    }
    return 0;
}

// After the run: an interrupted or failed run says why; a finished one moves its files
// into place (or prints its PDF), says what it wrote and, with --view, shows it.
int Deliver(RunState& s, TQuillon& report, const RecordFeeder& feeder, bool completed, bool closed,
            std::size_t messages_before) {
    const RunOptions& o = s.o;
    const OutputPlan& plan = s.plan;
    const std::string written = plan.to_stdout ? "standard output"
                                : s.pdf_plan   ? s.out
                                               : plan.target.string();
    if (g_interrupted != 0) {
        if (plan.staged == nullptr || plan.to_stdout) {
            return Fail(kExitInterrupted,
                        "interrupted; the report on " + written + " is incomplete");
        }
        const std::filesystem::path kept = plan.staged->KeepIncomplete();
        return Fail(kExitInterrupted, "interrupted; the incomplete report is in " + kept.string());
    }
    // With --msg-to-html, an error of the run went into the output as a message page (the
    // report had no dialog to show it in): that page is what the output holds now.
    const bool message_page =
        s.pages_for_messages && !completed && s.messages.size() == messages_before;
    if (message_page && plan.staged != nullptr && closed) {
        if (plan.to_stdout) {
            CopyToStandardOutput(plan.staged->StagePath());
        } else if (plan.staged->Commit()) {
            std::cerr << "quillon run: the message is in " << written << '\n';
        }
    }
    if (feeder.SourceError()) {
        // The reader's message went to standard error already, unless it became the page.
        if (message_page) return Fail(kExitData, *feeder.SourceError());
        return Fail(kExitData, "no report was written");
    }
    if (!completed || !closed) {
        for (const std::string& m : s.messages) {
            if (m.rfind(Msg(PRINTER_OUTPMsg, s.language), 0) == 0 ||
                m.rfind(Msg(FILE_OPENMsg, s.language), 0) == 0) {
                return Fail(kExitOutput, "the report could not be written to " + written);
            }
        }
        if (!closed) return Fail(kExitOutput, "the report could not be written to " + written);
        return Fail(kExitRun, "the report run failed");
    }
    std::string sheets;
    if (s.pdf_plan) {
#if defined(QUILLON_HAS_RENDER)
        const PdfDelivery printed =
            DeliverPdf(*plan.staged, *s.pdf_plan, s.template_path, o.pdf_page);
        if (printed.exit_code != 0) return Fail(printed.exit_code, printed.message);
        sheets = " (" + Counted(static_cast<std::size_t>(printed.sheets), "sheet", "sheets") + ")";
#endif
    } else if (plan.staged != nullptr) {
        const bool delivered =
            plan.to_stdout ? CopyToStandardOutput(plan.staged->StagePath()) : plan.staged->Commit();
        if (!delivered) {
            return Fail(kExitOutput, plan.to_stdout
                                         ? "the report could not be written to standard output"
                                         : plan.staged->Error());
        }
    }
    s.records_written = feeder.Records();
    s.pages_written = report.GetIntPgNumber();
    if (!plan.to_stdout && !s.burst_names) {
        std::cerr << "quillon run: " << Counted(feeder.Records(), "record", "records") << ", "
                  << Counted(static_cast<std::size_t>(report.GetIntPgNumber()), "page", "pages")
                  << " written to " << written << sheets << '\n';
    }
#if defined(QUILLON_HAS_VIEWERS)
    if (o.view) {
        const auto window_opened = [&s](HostServices* h) { s.window_host = h; };
        return ShowReportFile(report, plan.target.string(), ViewerKindForTemplate(s.template_path),
                              window_opened)
                   ? 0
                   : kExitOutput;
    }
#endif
    return 0;
}

// One report over records, written to s.out.
int RunReport(RunState& s, HostServices& host, ReportModel& model, data::DataSource& records) {
    const RunOptions& o = s.o;
    TQuillon report(host);
    TrptCalculator calculator;
    SetUpReport(s, report, calculator, host);
    RecordFeeder feeder(report, records, s.group_columns, model);
    feeder.SetPagePerGroup(o.page_per_group);
    feeder.Attach();
    ProgressMeter meter(!o.no_progress && !s.burst_names && ::isatty(STDERR_FILENO) == 1 &&
                        s.out != "-");
    report.OnProcessing = [&](TQuillon& r, int, bool& go_on) {
        meter.Update(feeder.Records(), r.GetIntPgNumber());
        go_on = g_interrupted == 0;
    };
    if (const int code = OpenOutput(s, report); code != 0) return code;

    bool completed = false;
    const std::size_t messages_before = s.messages.size();
    {
        InterruptGuard guard;
        completed = report.Execute(s.file.get());
    }
    meter.Finish(feeder.Records(), report.GetIntPgNumber());
    const bool closed = s.file == nullptr || s.file->Close();
    return Deliver(s, report, feeder, completed, closed, messages_before);
}

// One report per group of the --split column (with --shard: the groups of this shard), each
// announced by its line of JSON on standard output once its file is in place. A group whose
// report fails stops the run: the files before it stay, complete, and no part of its own
// is left.
int RunSplit(RunState& s, HostServices& host, ReportModel& model) {
    data::GroupSlices groups(*s.source, static_cast<std::size_t>(s.group_columns.front()),
                             s.o.split, s.o.data);
    std::size_t files = 0;
    std::size_t records = 0;
    try {
        while (groups.NextGroup()) {
            if (s.shard && !InShard(groups.Key(), *s.shard)) continue;
            s.out = s.burst_names->For(groups.Key());
            s.plan = OutputPlan{};
            s.file.reset();
            if (s.pdf_plan) {
#if defined(QUILLON_HAS_RENDER)
                std::string error;
                s.pdf_plan = PlanPdfOutput(s.out, s.template_path, s.o.pdf_page, error);
                if (!s.pdf_plan) return Fail(kExitOutput, error);
#endif
            }
            if (const int code = RunReport(s, host, model, groups.Records()); code != 0) {
                return code;
            }
            std::cout << ManifestLine(s.out, groups.Key(), s.records_written, s.pages_written)
                      << std::flush;
            ++files;
            records += s.records_written;
        }
    } catch (const std::exception& e) {
        return Fail(kExitData, e.what());
    }
    std::cerr << "quillon run: " << Counted(files, "file", "files") << " with "
              << Counted(records, "record", "records") << " written\n";
    return 0;
}

int Run(const RunOptions& o) {
    RunState s(o);
    if (const int code = CheckOptions(s); code != 0) return code;

    // Messages of the report: printed, and questions answered "stop"; while the viewer
    // window is open (--view) they are asked in the window as well.
    HeadlessHost host([&s](const HeadlessHost::Message& m) {
        s.messages.push_back(m.text);
        std::cerr << "quillon run: " << m.text << '\n';
        if (s.window_host != nullptr) return s.window_host->MessageDlg(m.text, m.type, m.buttons);
        return HeadlessHost::DefaultAnswer(m.buttons);
    });
    ReportModel model;
    if (const int code = LoadTemplate(s, host, model); code != 0) return code;
    if (const int code = OpenRecords(s); code != 0) return code;
    if (s.burst_names) return RunSplit(s, host, model);
    return RunReport(s, host, model, *s.source);
}

CommandRegistrar registrar([](CLI::App& app) {
    auto options = std::make_shared<RunOptions>();
    auto* cmd = app.add_subcommand(
        "run", "Run a report over a CSV, JSON, JSON Lines or SQLite data source");
    cmd->add_option("template", options->template_path, "Report template (HTML, RTF or text)")
        ->required();
    cmd->add_option("--data", options->data,
                    "Data source: a .csv file (with a header row), a .json array of objects, "
                    "JSON Lines (.jsonl or .ndjson: one object per line), or an SQLite database")
        ->required();
    cmd->add_flag("--json-lines", options->json_lines,
                  "Read --data as JSON Lines (one object per line) whatever its name");
    cmd->add_option("--query", options->query, "SQLite: the SELECT statement to read");
    cmd->add_option("--table", options->table, "SQLite: the table or view to read whole");
    cmd->add_option("--group", options->groups,
                    "Group column (repeatable, outermost first; the innermost is sum level 1, "
                    "@4); the data must be sorted by it");
    cmd->add_option("--split", options->split,
                    "One report file per value of this column (the outermost group: the first "
                    "--group, or before the --group columns when not among them): --out names the "
                    "files with {COLUMN} for "
                    "the value, and a line of JSON per file goes to standard output");
    cmd->add_option("--shard", options->shard,
                    "With --split: write only the groups whose value hashes to K modulo N "
                    "(K/N, K from 0), so that N runs together write every group once");
    cmd->add_flag("--page-per-group", options->page_per_group,
                  "Start a new page after each group of the outermost --group column");
    cmd->add_option("--out", options->out,
                    "Output file, or - for standard output (default: PRX with the template's "
                    "extension, e.g. PRX.htm, in the current folder); a name ending in .pdf "
                    "gets the report printed to PDF");
    auto* paper = cmd->add_option("--paper", options->pdf_page.paper,
                                  "With a .pdf --out only: paper A4 (default), Letter or "
                                  "WIDTHxHEIGHTmm");
    auto* margins = cmd->add_option("--margins", options->pdf_page.margins,
                                    "With a .pdf --out only: margins TOP,BOTTOM,LEFT,RIGHT in "
                                    "centimetres (default 2,2,2,2)");
    auto* landscape = cmd->add_flag("--landscape", options->pdf_page.landscape,
                                    "With a .pdf --out only: turn the paper sideways");
    cmd->add_option("--page-size", options->page_size,
                    "Lines per page (default 64; below 10: no page breaks)");
    cmd->add_option("--first-page-size", options->first_page_size,
                    "Lines on the first page (default: the --page-size)");
    cmd->add_flag("--auto-sum", options->auto_sum,
                  "Sum numeric detail fields into the sum lines (always on with --group)");
    cmd->add_flag("--double-parse", options->double_parse,
                  "Fill fields whose names begin with & once the whole report is written "
                  "(with their values at the end of the report)");
    cmd->add_flag("--trim", options->trim, "Trim blanks around the text written into each slot");
    cmd->add_flag("--no-cut", options->no_cut,
                  "Write values longer than their slot whole (default: cut to the slot)");
    cmd->add_flag("--no-align-numbers", options->no_align_numbers,
                  "Do not right-align numbers in their slots");
    cmd->add_flag("--one-page", options->one_page, "No automatic page breaks");
    cmd->add_flag("--msg-to-html", options->msg_to_html,
                  "With an HTML template, error messages are written into the output as a "
                  "page (the output then holds that page)");
    cmd->add_flag("--multi-level", options->multi_level,
                  "One more file per sum level (the output's last two characters become the "
                  "level number: report.h04 .. report.h13)");
    cmd->add_flag("--no-progress", options->no_progress,
                  "No progress line (shown on a terminal by default)");
    cmd->add_flag("--view", options->view,
                  "Show the written report in its viewer window (HTML, RTF or text, by the "
                  "template's format) once the run succeeded; the window prints, prints as "
                  "text and mails that report (see quillon view --help)");
    cmd->add_option("--format", options->format,
                    "Format name in the template (default *, the first format of the file)");
    cmd->add_option("--settings", options->settings,
                    "Settings file (QUILDOC.INI: page-break markers, margins, [DEFAULT] values)");
    cmd->add_option("--lang", options->lang,
                    "Language of the report's messages, those about its output file too (default "
                    "english): english, german, "
                    "italian, french, spanish, russian, lithuanian");
    cmd->footer(
        "A failed run leaves no output file (an earlier report of the same name stays);\n"
        "Ctrl-C stops the run and keeps what was written as NAME.incomplete.EXT.\n\n"
        "JSON and JSON Lines are read as streams: memory does not grow with the records.\n"
        "The columns are the keys in order of first appearance; from a named pipe or standard\n"
        "input (--data /dev/stdin --json-lines) they are the first record's keys, and a later\n"
        "record with another key is an error (exit 3).\n"
        "Example: quillon run list.htm --data orders.jsonl --out orders.htm\n\n"
        "With --out REPORT.pdf (any case) the report is written in the template's format\n"
        "(HTML, RTF or text) beside the PDF, printed as quillon render prints it (A4, 2 cm\n"
        "margins, \"Page N of M\" footer; --paper, --margins, --landscape change that) and\n"
        "removed: only the PDF is left. Not with --multi-level, --view or --msg-to-html.\n"
        "Example: quillon run examples/invoice.rtf --data sales.db --table sales_report\n"
        "         --group CUSTOMER --page-per-group --out invoices.pdf\n\n"
        "With --split COLUMN each group of the column gets a report of its own, with its own\n"
        "page numbers and totals, in the file --out names with {COLUMN} replaced by the\n"
        "group's value (/, \\, %, control characters and a leading dot written as %XX); the\n"
        "data must be sorted by the column. Each file written adds a line to standard output:\n"
        "  {\"file\":\"invoice-Alpha.pdf\",\"group\":\"Alpha\",\"records\":3,\"pages\":1}\n"
        "--shard K/N writes only the groups whose value hashes (FNV-1a, 64 bit) to K modulo\n"
        "N: N runs with K = 0 .. N-1 write every group exactly once, on any machines.\n"
        "Example: quillon run invoice.htm --data sales.csv --split customer\n"
        "         --out 'invoice-{customer}.pdf' --shard 0/4\n\n"
        "Exit codes:\n"
        "  0    the report was written\n"
        "  2    the template is missing or cannot be loaded\n"
        "  3    the data source cannot be read or is malformed, or a --group column is "
        "unknown\n"
        "       (with --split: or the data is not sorted by the column)\n"
        "  4    the output cannot be written (with --view: or not be loaded into the viewer;\n"
        "       with a .pdf output: the PDF cannot be written)\n"
        "  5    the run failed otherwise (with a .pdf output: or the report cannot be laid "
        "out)\n"
        "  6    --view without a display to open the viewer on (nothing was run)\n"
        "  64   usage error (unknown option, missing argument, a bad --paper or --margins, or\n"
        "       margins that leave no page body, ...)\n"
        "  130  interrupted (Ctrl-C)");
    cmd->callback([options, paper, margins, landscape] {
        // The --split column is the outermost group, named by --group or not.
        const auto same = [&](const std::string& g) {
            return text::AsciiUpperCase(g) == text::AsciiUpperCase(options->split);
        };
        if (!options->split.empty() &&
            std::none_of(options->groups.begin(), options->groups.end(), same)) {
            options->groups.insert(options->groups.begin(), options->split);
        }
        options->pdf_page_given =
            paper->count() > 0 || margins->count() > 0 || landscape->count() > 0;
        SetExitCode(Run(*options));
    });
});

}  // namespace

}  // namespace quillon::app
