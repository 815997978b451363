// quillon expert: a starter report template from the columns of a data source, or the
// handler code for an existing template. Without --out the expert's wizard window asks for
// the fields, title and options, writes the template and may open it in the editor.
//
//   quillon expert --data SOURCE [--table T | --query SQL] [--out TEMPLATE.htm]
//                  [--format NAME] [--title TEXT] [--fields A,B,...] [--no-page-number]
//                  [--no-date] [--landscape]
//   quillon expert --code TEMPLATE [--format NAME] [--name COMPONENT] [--class CLASS]
//
// Exit codes: 0 done (or the wizard was cancelled); 1 neither --data nor --code was given;
// 2 a template cannot be loaded, or a name cannot stand in a template; 3 the data source
// cannot be read, or --fields names an unknown column; 4 the template cannot be written;
// 5 the wizard cannot open (no display, or a build without windows).

#include <algorithm>
#include <cctype>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "apps/datasource/data_source.h"
#include "apps/quillon/command_registry.h"
#include "apps/quillon/expert_template.h"
#include "design/expert/code_template.h"
#include "engine/report_model.h"

#if defined(QUILLON_HAS_EXPERT_WIZARD)
#include "apps/quillon/expert_wizard_run.h"
#endif

namespace quillon::app {

namespace {

constexpr int kExitUsage = 1;
constexpr int kExitTemplate = 2;
constexpr int kExitData = 3;
#if !defined(QUILLON_HAS_EXPERT_WIZARD)
constexpr int kExitNoWindow = 5;
#endif

struct ExpertCommandOptions {
    ExpertSource source;
    std::string out;
    std::string code;
    std::string format;
    std::string title = "My Report";
    std::vector<std::string> fields;
    bool no_page_number = false;
    bool no_date = false;
    bool landscape = false;
    std::string name = "Quillon1";
    std::string class_name = "ReportForm";
    std::string screenshot;
};

int Fail(int code, const std::string& message) {
    std::cerr << "quillon expert: " << message << '\n';
    return code;
}

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

int MakeTemplate(const ExpertCommandOptions& o, const std::vector<design::ExpertField>& columns) {
    std::vector<design::ExpertField> fields;
    if (o.fields.empty()) fields = columns;
    for (const std::string& wanted : o.fields) {
        const auto it = std::find_if(columns.begin(), columns.end(),
                                     [&](const auto& c) { return SameName(c.name, wanted); });
        if (it == columns.end()) {
            return Fail(kExitData,
                        "--fields: " + o.source.data + " has no column \"" + wanted + "\"");
        }
        fields.push_back(*it);
    }
    if (fields.empty()) return Fail(kExitData, o.source.data + " has no columns");

    ExpertTemplate t;
    t.file = o.out;
    t.options.format_name = o.format.empty() ? "Report" : o.format;
    t.options.title = o.title;
    t.options.page_number = !o.no_page_number;
    t.options.date_time = !o.no_date;
    t.landscape = o.landscape;
    t.fields = std::move(fields);
    std::string error;
    const int code = WriteExpertTemplate(o.source, t, std::cout, error);
    if (code != 0) return Fail(code, error);
    return 0;
}

int RunExpert(const ExpertCommandOptions& o) {
    const std::string format = o.format.empty() ? "Report" : o.format;
    if (const std::string error = design::CheckFormatName(format); !error.empty()) {
        return Fail(kExitTemplate, error);
    }
    std::vector<design::ExpertField> columns;
    std::string error;
    if (const int code = ReadExpertColumns(o.source, columns, error); code != 0) {
        return Fail(code, error);
    }
    if (!o.out.empty()) return MakeTemplate(o, columns);
#if defined(QUILLON_HAS_EXPERT_WIZARD)
    ExpertTemplate start;
    start.options.format_name = format;
    start.options.title = o.title;
    start.options.page_number = !o.no_page_number;
    start.options.date_time = !o.no_date;
    start.landscape = o.landscape;
    start.fields = std::move(columns);
    const int code = RunExpertWizard(o.source, std::move(start), o.screenshot, error);
    if (code != 0) return Fail(code, error);
    return 0;
#else
    return Fail(kExitNoWindow,
                "this build has no windows for the expert's wizard: give --out TEMPLATE.htm");
#endif
}

int PrintCode(const ExpertCommandOptions& o) {
    ReportModel model;
    LoadSettings settings;
    settings.message = [](std::string_view msg, TMsgDlgType, TMsgDlgButtons) {
        std::cerr << "quillon expert: " << msg << '\n';
        return static_cast<int>(mrOk);
    };
    std::string format = o.format.empty() ? "*" : o.format;
    if (!model.LoadFormat(o.code, format, 1, settings)) return kExitTemplate;
    std::cout << "// Format " << format << " of " << o.code << '\n'
              << design::CodeTemplateText(o.name, o.class_name, design::BuildCodeTemplate(model));
    return 0;
}

const CommandRegistrar kExpert([](CLI::App& app) {
    auto* cmd = app.add_subcommand(
        "expert",
        "Write a starter template from a data source (without --out: in the wizard window), "
        "or print handler code for a template");
    auto o = std::make_shared<ExpertCommandOptions>();
    auto* data = cmd->add_option("--data", o->source.data,
                                 "Data source: .csv, .json, or an SQLite database");
    auto* code = cmd->add_option("--code", o->code, "Print the handler code for this template");
    data->excludes(code);
    auto* table = cmd->add_option("--table", o->source.table, "SQLite: the table or view to read");
    auto* query =
        cmd->add_option("--query", o->source.query, "SQLite: the SELECT statement to read");
    table->excludes(query);
    cmd->add_option("--out", o->out,
                    "The template to write (an existing one is kept as .bak); without it the "
                    "wizard window opens");
    cmd->add_option("--format", o->format, "Format name (default: Report; with --code the first)");
    cmd->add_option("--title", o->title, "Report title (default: My Report)");
    cmd->add_option("--fields", o->fields, "Columns to show, in order (default: all)")
        ->delimiter(',');
    cmd->add_flag("--no-page-number", o->no_page_number, "No page number in the page heading");
    cmd->add_flag("--no-date", o->no_date, "No print date and time in the page heading");
    cmd->add_flag("--landscape", o->landscape, "Landscape orientation");
    cmd->add_option("--name", o->name, "--code: the report component's name (default: Quillon1)");
    cmd->add_option("--class", o->class_name,
                    "--code: the class the handlers belong to (default: ReportForm)");
    cmd->add_option("--screenshot", o->screenshot,
                    "Without --out: draw the wizard's pages into PNG files (the first into this "
                    "one, the others with every field chosen into NAME-2.png .. NAME-4.png) "
                    "and close it; nothing is written");
    cmd->footer(
        "After writing a template the expert prints the quillon run command that runs it with\n"
        "page sizes for a printed page (about 45 rows on an A4 page, fewer on the first).\n"
        "Example: quillon expert --data sales.csv --out sales.htm --title Sales\n\n"
        "Exit codes: 0 done (or the wizard was cancelled); 1 neither --data nor --code;\n"
        "2 a template cannot be loaded, or a format or column name cannot stand in a template;\n"
        "3 the data source cannot be read, or --fields names an unknown column; 4 the template\n"
        "cannot be written; 5 the wizard cannot open (no display).");
    cmd->callback([o] {
        if (!o->code.empty()) {
            SetExitCode(PrintCode(*o));
        } else if (o->source.data.empty()) {
            SetExitCode(Fail(kExitUsage,
                             "give --data SOURCE (with --out TEMPLATE, or for the wizard window), "
                             "or --code TEMPLATE"));
        } else {
            SetExitCode(RunExpert(*o));
        }
    });
});

}  // namespace

}  // namespace quillon::app
