// quillon run TEMPLATE --data SOURCE [options]: runs a report over the records of a CSV
// file, a JSON array or an SQLite query, fields filled by column name (record_feeder.h).
//
// With --out REPORT.pdf the report is printed to PDF once written (run_pdf_output.h).
//
// Exit codes: 0 the report was written; 2 the template is missing or cannot be loaded;
// 3 the data source cannot be read (or a --group column does not exist); 4 the output
// (or the PDF) cannot be written; 5 the run failed otherwise (or its report cannot be
// printed); 6 --view without a display (nothing is run); 64 usage error; 130 interrupted
// (Ctrl-C). With --view the written report is shown in its viewer window once the run
// succeeded; the command ends when the window closes.

#include <unistd.h>

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
    std::string query;
    std::string table;
    std::vector<std::string> groups;
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

int Run(const RunOptions& o) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const bool pages_for_messages =
        o.msg_to_html && IsHtmlTemplate(o.template_path) && !IsPdfOutput(o.out);
    if (!fs::is_regular_file(o.template_path, ec)) {
        const std::string message = "template not found: " + o.template_path;
        if (pages_for_messages) WriteMessagePages(o, {message});
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
    if (o.multi_level && o.out == "-") {
        return Fail(kExitUsage, "--multi-level writes one file per level; it needs --out FILE");
    }
    if (o.view && o.out == "-") {
        return Fail(kExitUsage, "--view shows the written report file; it needs --out FILE, not -");
    }
    // A .pdf output: the report is written beside it in the template's format, then printed.
    const bool to_pdf = IsPdfOutput(o.out);
    std::optional<PdfPlan> pdf_plan;
    if (to_pdf) {
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
        pdf_plan = PlanPdfOutput(o.out, o.template_path, o.pdf_page, error);
        if (!pdf_plan) return Fail(kExitUsage, error);
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
    if (o.page_per_group && o.groups.empty()) {
        return Fail(kExitUsage, "--page-per-group needs at least one --group column");
    }
    const std::string data_ext = text::AsciiUpperCase(fs::path(o.data).extension().string());
    if (data_ext != ".CSV" && data_ext != ".JSON" && o.query.empty() && o.table.empty()) {
        return Fail(kExitUsage,
                    "an SQLite database needs --table NAME or --query SQL to say what to read");
    }

    // Messages of the report: printed, and questions answered "stop"; while the viewer
    // window is open (--view) they are asked in the window as well.
    std::vector<std::string> messages;
    HostServices* window_host = nullptr;
    HeadlessHost host([&messages, &window_host](const HeadlessHost::Message& m) {
        messages.push_back(m.text);
        std::cerr << "quillon run: " << m.text << '\n';
        if (window_host != nullptr) return window_host->MessageDlg(m.text, m.type, m.buttons);
        return HeadlessHost::DefaultAnswer(m.buttons);
    });

    // The template, loaded once up front: a clear error, and the names of its fields.
    const std::string template_path = fs::absolute(o.template_path, ec).string();
    ReportModel model;
    std::string format_name = o.format;
    LoadSettings load;
    load.language = *language;
    load.message = [&host](std::string_view msg, TMsgDlgType type, TMsgDlgButtons buttons) {
        return host.MessageDlg(msg, type, buttons);
    };
    if (!model.LoadFormat(template_path, format_name, 1, load)) {
        if (pages_for_messages) WriteMessagePages(o, messages);
        return Fail(kExitTemplate, "the template cannot be loaded: " + o.template_path);
    }

    std::unique_ptr<data::DataSource> source;
    try {
        source = data::Open(o.data, data::SqliteQuery{o.query, o.table});
    } catch (const data::DataSourceError& e) {
        return Fail(kExitData, e.what());
    } catch (const std::exception& e) {
        return Fail(kExitData, e.what());
    }
    std::vector<int> group_columns;
    for (const std::string& group : o.groups) {
        const int column = source->ColumnIndex(group);
        if (column < 0) {
            std::string columns;
            for (const std::string& c : source->Columns())
                columns += (columns.empty() ? "" : ", ") + c;
            return Fail(kExitData,
                        "unknown --group column " + group + " (the columns are: " + columns + ")");
        }
        group_columns.push_back(column);
    }
    if (group_columns.size() > rlSum10 - rlSum01 + 1) {
        return Fail(kExitUsage, "at most ten --group columns");
    }

    TQuillon report(host);
    report.SetFormatFile(template_path);
    report.SetFormatName(o.format);
    report.SetLanguage(*language);
    report.SetOptions(OptionsOf(o));
    report.SetPgSize(o.page_size);
    report.SetFirstPgSize(o.first_page_size.value_or(o.page_size));
    report.SetMultiLevel(o.multi_level);
    TrptCalculator calculator;
    calculator.SetHost(&host);
    report.SetXCalcExt(&calculator);

    RecordFeeder feeder(report, *source, group_columns, model);
    feeder.SetPagePerGroup(o.page_per_group);
    feeder.Attach();
    ProgressMeter meter(!o.no_progress && ::isatty(STDERR_FILENO) == 1 && o.out != "-");
    report.OnProcessing = [&](TQuillon& r, int, bool& go_on) {
        meter.Update(feeder.Records(), r.GetIntPgNumber());
        go_on = g_interrupted == 0;
    };

    // The output. Files are written under a temporary name beside their target and moved
    // into place when the run succeeded. Standard output is written as the run goes, in
    // order; a second parse rewrites the report in place, so it runs on a temporary file
    // that is copied to standard output at the end.
    OutputPlan plan;
    plan.to_stdout = o.out == "-";
    if (!plan.to_stdout || o.double_parse) {
        const fs::path temp_dir = fs::temp_directory_path(ec);
        plan.target =
            plan.to_stdout
                ? temp_dir / ("quillon-stdout" + fs::path(o.template_path).extension().string())
            : pdf_plan ? pdf_plan->report
            : o.out.empty() || o.multi_level
                ? fs::path(WithExtensionOf(o.out.empty() ? report.PrnFile() : o.out, template_path))
                : fs::path(o.out);
        const fs::file_status status = fs::status(plan.target, ec);
        if (fs::exists(status) && !fs::is_regular_file(status)) {
            // A device or pipe (/dev/null, a named pipe) is written directly: it is no
            // report file that a later run could replace.
            plan.direct = true;
        } else {
            // Through a symbolic link, the file it points to is replaced, not the link.
            // (For a PDF, PlanPdfOutput did so with the PDF.)
            if (!pdf_plan && fs::is_symlink(plan.target, ec)) {
                plan.target = fs::canonical(plan.target, ec);
            }
            plan.staged = std::make_unique<StagedOutput>(plan.target);
        }
        if (!plan.direct && !plan.staged->Valid()) {
            return Fail(kExitOutput, "cannot write " + (to_pdf ? o.out : plan.target.string()) +
                                         ": " + plan.staged->Error());
        }
    }
    std::unique_ptr<FdStream> file;
    TStream* stream = nullptr;
    if (plan.to_stdout && !o.double_parse) {
        file = std::make_unique<FdStream>();
    } else if (plan.direct) {
        if (o.multi_level) {
            return Fail(kExitUsage, "--multi-level needs --out to name a file");
        }
        file = std::make_unique<FdStream>(plan.target.string());
        if (!file->IsOpen()) {
            return Fail(kExitOutput,
                        "cannot write " + plan.target.string() + ": " + std::strerror(errno));
        }
    } else if (!o.multi_level) {
        file = std::make_unique<FdStream>(plan.staged->StagePath().string());
        if (!file->IsOpen()) {
            return Fail(kExitOutput,
                        "cannot write " + plan.target.string() + ": " + std::strerror(errno));
        }
    } else {
        report.SetPrnFile(plan.staged->StagePath().string());
    }
    stream = file.get();

    bool completed = false;
    const std::size_t messages_before = messages.size();
    {
        InterruptGuard guard;
        completed = report.Execute(stream);
    }
    meter.Finish(feeder.Records(), report.GetIntPgNumber());
    const bool closed = file == nullptr || file->Close();
    const std::string written = plan.to_stdout ? "standard output"
                                : to_pdf       ? o.out
                                               : plan.target.string();

    if (g_interrupted != 0) {
        if (plan.staged == nullptr || plan.to_stdout) {
            return Fail(kExitInterrupted,
                        "interrupted; the report on " + written + " is incomplete");
        }
        const fs::path kept = plan.staged->KeepIncomplete();
        return Fail(kExitInterrupted, "interrupted; the incomplete report is in " + kept.string());
    }
    // With --msg-to-html, an error of the run went into the output as a message page (the
    // report had no dialog to show it in): that page is what the output holds now.
    const bool message_page =
        pages_for_messages && !completed && messages.size() == messages_before;
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
        for (const std::string& m : messages) {
            if (m.rfind(Msg(PRINTER_OUTPMsg, *language), 0) == 0 ||
                m.rfind(Msg(FILE_OPENMsg, *language), 0) == 0) {
                return Fail(kExitOutput, "the report could not be written to " + written);
            }
        }
        if (!closed) return Fail(kExitOutput, "the report could not be written to " + written);
        return Fail(kExitRun, "the report run failed");
    }
    std::string sheets;
    if (pdf_plan) {
#if defined(QUILLON_HAS_RENDER)
        const PdfDelivery printed = DeliverPdf(*plan.staged, *pdf_plan, template_path, o.pdf_page);
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
    if (!plan.to_stdout) {
        std::cerr << "quillon run: " << Counted(feeder.Records(), "record", "records") << ", "
                  << Counted(static_cast<std::size_t>(report.GetIntPgNumber()), "page", "pages")
                  << " written to " << written << sheets << '\n';
    }
#if defined(QUILLON_HAS_VIEWERS)
    if (o.view) {
        const auto window_opened = [&window_host](HostServices* h) { window_host = h; };
        return ShowReportFile(report, plan.target.string(), ViewerKindForTemplate(template_path),
                              window_opened)
                   ? 0
                   : kExitOutput;
    }
#endif
    return 0;
}

CommandRegistrar registrar([](CLI::App& app) {
    auto options = std::make_shared<RunOptions>();
    auto* cmd = app.add_subcommand("run", "Run a report over a CSV, JSON or SQLite data source");
    cmd->add_option("template", options->template_path, "Report template (HTML, RTF or text)")
        ->required();
    cmd->add_option("--data", options->data,
                    "Data source: a .csv file (with a header row), a .json array of objects, "
                    "or an SQLite database")
        ->required();
    cmd->add_option("--query", options->query, "SQLite: the SELECT statement to read");
    cmd->add_option("--table", options->table, "SQLite: the table or view to read whole");
    cmd->add_option("--group", options->groups,
                    "Group column (repeatable, outermost first; the innermost is sum level 1, "
                    "@4); the data must be sorted by it");
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
                    "Language of the report's messages (default english): english, german, "
                    "italian, french, spanish, russian, lithuanian");
    cmd->footer(
        "A failed run leaves no output file (an earlier report of the same name stays);\n"
        "Ctrl-C stops the run and keeps what was written as NAME.incomplete.EXT.\n\n"
        "With --out REPORT.pdf (any case) the report is written in the template's format\n"
        "(HTML, RTF or text) beside the PDF, printed as quillon render prints it (A4, 2 cm\n"
        "margins, \"Page N of M\" footer; --paper, --margins, --landscape change that) and\n"
        "removed: only the PDF is left. Not with --multi-level, --view or --msg-to-html.\n"
        "Example: quillon run examples/invoice.rtf --data sales.db --table sales_report\n"
        "         --group CUSTOMER --page-per-group --out invoices.pdf\n\n"
        "Exit codes:\n"
        "  0    the report was written\n"
        "  2    the template is missing or cannot be loaded\n"
        "  3    the data source cannot be read or is malformed, or a --group column is "
        "unknown\n"
        "  4    the output cannot be written (with --view: or not be loaded into the viewer;\n"
        "       with a .pdf output: the PDF cannot be written)\n"
        "  5    the run failed otherwise (with a .pdf output: or the report cannot be laid "
        "out)\n"
        "  6    --view without a display to open the viewer on (nothing was run)\n"
        "  64   usage error (unknown option, missing argument, a bad --paper or --margins, or\n"
        "       margins that leave no page body, ...)\n"
        "  130  interrupted (Ctrl-C)");
    cmd->callback([options, paper, margins, landscape] {
        options->pdf_page_given =
            paper->count() > 0 || margins->count() > 0 || landscape->count() > 0;
        SetExitCode(Run(*options));
    });
});

}  // namespace

}  // namespace quillon::app
