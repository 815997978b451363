// quillon run TEMPLATE --data SOURCE [options]: runs a report over the records of a CSV
// file, a JSON array or an SQLite query, fields filled by column name (record_feeder.h).
//
// Exit codes: 0 the report was written; 2 the template is missing or cannot be loaded;
// 3 the data source cannot be read (or a --group column does not exist); 4 the output
// cannot be written; 5 the run failed otherwise; 130 interrupted (Ctrl-C).

#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
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
#include "apps/quillon/progress_meter.h"
#include "apps/quillon/record_feeder.h"
#include "calc/rpt_calculator.h"
#include "engine/quillon.h"
#include "platform/core/host_services.h"
#include "platform/core/stream.h"
#include "platform/core/text_encoding.h"

namespace quillon::app {

namespace {

constexpr int kExitTemplate = 2;
constexpr int kExitData = 3;
constexpr int kExitOutput = 4;
constexpr int kExitRun = 5;
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
    bool no_progress = false;
    std::string format = "*";
    std::string settings;
    std::string lang = "english";
};

std::optional<TRepLanguage> ParseLanguage(std::string_view name) {
    static const std::map<std::string, TRepLanguage> kNames = {
        {"EN", laEnglish},      {"ENGLISH", laEnglish},      {"DE", laGerman},
        {"GERMAN", laGerman},   {"IT", laItalian},           {"ITALIAN", laItalian},
        {"FR", laFrench},       {"FRENCH", laFrench},        {"ES", laSpanish},
        {"SPANISH", laSpanish}, {"RU", laRussian},           {"RUSSIAN", laRussian},
        {"LT", laLithuanian},   {"LITHUANIAN", laLithuanian}};
    const auto it = kNames.find(text::AsciiUpperCase(name));
    if (it == kNames.end()) return std::nullopt;
    return it->second;
}

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

int Run(const RunOptions& o) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (!fs::is_regular_file(o.template_path, ec)) {
        return Fail(kExitTemplate, "template not found: " + o.template_path);
    }
    if (!o.settings.empty()) {
        if (!fs::is_regular_file(o.settings, ec)) {
            return Fail(kExitRun, "settings file not found: " + o.settings);
        }
        ::setenv("QUILDOC_INI", o.settings.c_str(), 1);
    }
    const std::optional<TRepLanguage> language = ParseLanguage(o.lang);
    if (!language) return Fail(kExitRun, "unknown language: " + o.lang);
    if (o.double_parse && o.out == "-") {
        return Fail(kExitRun, "--double-parse rewrites the report in place; it needs --out FILE");
    }
    if (o.multi_level && o.out == "-") {
        return Fail(kExitRun, "--multi-level writes one file per level; it needs --out FILE");
    }

    // Messages of the report: printed, and questions answered "stop".
    std::vector<std::string> messages;
    HeadlessHost host([&messages](const HeadlessHost::Message& m) {
        messages.push_back(m.text);
        std::cerr << "quillon run: " << m.text << '\n';
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
        return Fail(kExitData, "at most ten --group columns");
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
    feeder.Attach();
    ProgressMeter meter(!o.no_progress && ::isatty(STDERR_FILENO) == 1 && o.out != "-");
    report.OnProcessing = [&](TQuillon& r, int, bool& go_on) {
        meter.Update(feeder.Records(), r.GetIntPgNumber());
        go_on = g_interrupted == 0;
    };

    // The output: a stream for --out (the file is named as given), else files named after
    // PrnFile as the report derives it (also the level files of --multi-level).
    std::unique_ptr<FdStream> file;
    TStream* stream = nullptr;
    if (o.out == "-") {
        file = std::make_unique<FdStream>();
        stream = file.get();
    } else if (!o.out.empty() && !o.multi_level) {
        file = std::make_unique<FdStream>(o.out);
        if (!file->IsOpen()) {
            return Fail(kExitOutput, "cannot write " + o.out + ": " + std::strerror(errno));
        }
        stream = file.get();
    } else if (!o.out.empty()) {
        report.SetPrnFile(o.out);
    }

    bool completed = false;
    {
        InterruptGuard guard;
        completed = report.Execute(stream);
    }
    meter.Finish(feeder.Records(), report.GetIntPgNumber());
    const bool closed = file == nullptr || file->Close();
    const std::string written = o.out.empty() || o.multi_level ? report.PrnFile() : o.out;

    if (g_interrupted != 0) {
        return Fail(kExitInterrupted, "interrupted; the report in " + written + " is incomplete");
    }
    if (feeder.SourceError()) return Fail(kExitData, "the report was not finished");
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
    if (o.out != "-") {
        std::cerr << "quillon run: " << feeder.Records() << " records, " << report.GetIntPgNumber()
                  << " pages written to " << written << '\n';
    }
    return 0;
}

CommandRegistrar registrar([](CLI::App& app) {
    auto options = std::make_shared<RunOptions>();
    auto* cmd = app.add_subcommand("run", "Run a report over a CSV, JSON or SQLite data source");
    cmd->add_option("template", options->template_path, "Report template (HTML, RTF or text)")
        ->required();
    cmd->add_option("--data", options->data, "Data source: .csv, .json, or an SQLite database")
        ->required();
    cmd->add_option("--query", options->query, "SQLite: the SELECT statement to read");
    cmd->add_option("--table", options->table, "SQLite: the table or view to read whole");
    cmd->add_option("--group", options->groups,
                    "Group column (repeatable, outermost first; the innermost is sum level 1)");
    cmd->add_option("--out", options->out,
                    "Output file, or - for standard output (default: PrnFile, PRX + the "
                    "template's extension)");
    cmd->add_option("--page-size", options->page_size, "Lines per page (below 10: no breaks)");
    cmd->add_option("--first-page-size", options->first_page_size,
                    "Lines on the first page (default: --page-size)");
    cmd->add_flag("--auto-sum", options->auto_sum,
                  "Automatic sums of detail fields (on with --group)");
    cmd->add_flag("--double-parse", options->double_parse, "Second parse of & fields");
    cmd->add_flag("--trim", options->trim, "Trim the text written into each slot");
    cmd->add_flag("--no-cut", options->no_cut, "Do not cut values longer than their slot");
    cmd->add_flag("--no-align-numbers", options->no_align_numbers,
                  "Do not right-align numbers in their slots");
    cmd->add_flag("--one-page", options->one_page, "No automatic page breaks");
    cmd->add_flag("--msg-to-html", options->msg_to_html,
                  "Write messages into an HTML report instead of standard error");
    cmd->add_flag("--multi-level", options->multi_level,
                  "One more file per sum level (the output's last two characters become the "
                  "level number)");
    cmd->add_flag("--no-progress", options->no_progress, "No progress line on a terminal");
    cmd->add_option("--format", options->format, "Format name in the template (* the first)");
    cmd->add_option("--settings", options->settings, "Settings file (QUILDOC.INI)");
    cmd->add_option("--lang", options->lang,
                    "Message language: english, german, italian, french, spanish, russian, "
                    "lithuanian");
    cmd->callback([options] { SetExitCode(Run(*options)); });
});

}  // namespace

}  // namespace quillon::app
