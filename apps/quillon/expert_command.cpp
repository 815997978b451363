// quillon expert: a starter report template from the columns of a data source, or the
// handler code for an existing template.
//
//   quillon expert --data SOURCE [--table T | --query SQL] --out TEMPLATE.htm [--format NAME]
//                  [--title TEXT] [--fields A,B,...] [--no-page-number] [--no-date]
//                  [--landscape]
//   quillon expert --code TEMPLATE [--format NAME] [--name COMPONENT] [--class CLASS]
//
// Exit codes: 0 done; 1 neither --data with --out nor --code was given; 2 a template cannot be
// loaded, or a name cannot stand in a template; 3 the data source cannot be read, or --fields names
// an unknown column; 4 the template cannot be written.

#include <algorithm>
#include <cctype>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "apps/datasource/data_source.h"
#include "apps/quillon/command_registry.h"
#include "design/expert/code_template.h"
#include "design/expert/expert_format.h"
#include "engine/report_model.h"

namespace quillon::app {

namespace {

constexpr int kExitUsage = 1;
constexpr int kExitTemplate = 2;
constexpr int kExitData = 3;
constexpr int kExitOutput = 4;
// Column widths are measured over this many records.
constexpr std::size_t kWidthSampleRecords = 1000;

struct ExpertCommandOptions {
    std::string data;
    std::string table;
    std::string query;
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
};

int Fail(int code, const std::string& message) {
    std::cerr << "quillon expert: " << message << '\n';
    return code;
}

// Characters of a UTF-8 text (bytes of any other text).
int CharacterCount(std::string_view s) {
    int count = 0;
    for (const char c : s) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
    }
    return count;
}

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

int MakeTemplate(const ExpertCommandOptions& o) {
    const std::string format = o.format.empty() ? "Report" : o.format;
    if (const std::string error = design::CheckFormatName(format); !error.empty()) {
        return Fail(kExitTemplate, error);
    }
    std::unique_ptr<data::DataSource> source;
    std::vector<int> widths;
    try {
        source = data::Open(o.data, data::SqliteQuery{o.query, o.table});
        for (const std::string& column : source->Columns())
            widths.push_back(CharacterCount(column));
        while (source->RecordNumber() < kWidthSampleRecords && source->Next()) {
            for (std::size_t i = 0; i < widths.size(); ++i) {
                widths[i] = std::max(widths[i], CharacterCount(source->Value(i)));
            }
        }
    } catch (const std::exception& e) {
        return Fail(kExitData, e.what());
    }
    const std::vector<std::string>& columns = source->Columns();
    std::vector<std::size_t> chosen;
    if (o.fields.empty()) {
        for (std::size_t i = 0; i < columns.size(); ++i) chosen.push_back(i);
    }
    for (const std::string& wanted : o.fields) {
        const auto it = std::find_if(columns.begin(), columns.end(),
                                     [&](const std::string& c) { return SameName(c, wanted); });
        if (it == columns.end()) {
            return Fail(kExitData, "--fields: " + o.data + " has no column \"" + wanted + "\"");
        }
        chosen.push_back(static_cast<std::size_t>(it - columns.begin()));
    }
    if (chosen.empty()) return Fail(kExitData, o.data + " has no columns");

    std::vector<design::ExpertField> fields;
    for (const std::size_t i : chosen) {
        if (const std::string error = design::CheckFieldName(columns[i]); !error.empty()) {
            return Fail(kExitTemplate,
                        "column " + std::to_string(i + 1) + " of " + o.data + ": " + error);
        }
        fields.push_back(
            {columns[i], columns[i],
             std::clamp(widths[i], design::kMinSlotWidth, design::kMaxExpertSlotWidth)});
    }
    design::ExpertOptions options;
    options.format_name = format;
    options.title = o.title;
    options.page_number = !o.no_page_number;
    options.date_time = !o.no_date;
    if (const std::string error =
            design::WriteFormatFile(o.out, design::ExpertFormatLines(options, fields));
        !error.empty()) {
        return Fail(kExitOutput, error);
    }
    const design::PageSizes sizes = design::ExpertPageSizes(fields.size());
    std::cout << "Template " << o.out << " (format " << format << ", " << fields.size()
              << (fields.size() == 1 ? " field" : " fields") << ")\n"
              << "PgSize " << sizes.pg_size << "\nFirstPgSize " << sizes.first_pg_size
              << "\nOrientation " << (o.landscape ? "landscape" : "portrait") << '\n';
    return 0;
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
        "expert", "Write a starter template from a data source, or print handler code for one");
    auto o = std::make_shared<ExpertCommandOptions>();
    auto* data =
        cmd->add_option("--data", o->data, "Data source: .csv, .json, or an SQLite database");
    auto* code = cmd->add_option("--code", o->code, "Print the handler code for this template");
    data->excludes(code);
    auto* table = cmd->add_option("--table", o->table, "SQLite: the table or view to read");
    auto* query = cmd->add_option("--query", o->query, "SQLite: the SELECT statement to read");
    table->excludes(query);
    cmd->add_option("--out", o->out, "The template to write (an existing one is kept as .bak)");
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
    cmd->callback([o] {
        if (!o->code.empty()) {
            SetExitCode(PrintCode(*o));
        } else if (o->data.empty() || o->out.empty()) {
            SetExitCode(
                Fail(kExitUsage, "give --data SOURCE and --out TEMPLATE, or --code TEMPLATE"));
        } else {
            SetExitCode(MakeTemplate(*o));
        }
    });
});

}  // namespace

}  // namespace quillon::app
