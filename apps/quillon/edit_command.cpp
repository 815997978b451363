// quillon edit [TEMPLATE] [--format NAME] [--data SOURCE [--table T | --query SQL]
// [--group COLUMN ...]]: opens a template in the template editor window: tags, slots, level
// lines and format headers in colour; File menu (New, Open, Save keeping TEMPLATE.bak, Save
// As, Close), Find and Replace; Run loads the text being edited as a template and shows its
// levels and, with --data, a preview of the report over the first 100 records (grouped as
// quillon run --group groups them) in its viewer. A TEMPLATE that does not exist yet is
// created by the first Save.

#include <QApplication>

#include <filesystem>
#include <functional>
#include <iostream>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "apps/datasource/data_source.h"
#include "apps/quillon/command_registry.h"
#include "apps/quillon/gui_application.h"
#include "apps/quillon/template_runner.h"
#include "design/template_file.h"
#include "platform/core/text_encoding.h"
#if defined(QUILLON_HAS_VIEWERS)
#include "apps/quillon/edit_preview.h"
#endif

namespace quillon::app {

namespace {

constexpr int kEditClosed = 0;
constexpr int kEditNoTemplate = 2;
constexpr int kEditNoDisplay = 3;
constexpr int kEditNoData = 4;

struct EditOptions {
    std::string file;
    std::string format = "*";
    std::string data;
    std::string query;
    std::string table;
    std::vector<std::string> groups;
};

int Fail(int code, const std::string& message) {
    std::cerr << "quillon edit: " << message << '\n';
    return code;
}

// A template that exists must be readable; one that does not needs a folder to be saved in.
int CheckTemplate(const std::string& file) {
    if (file.empty()) return kEditClosed;
    namespace fs = std::filesystem;
    std::error_code ec;
    if (fs::exists(file, ec)) {
        std::string bytes, error;
        if (!design::ReadTemplateFile(file, bytes, error)) return Fail(kEditNoTemplate, error);
        return kEditClosed;
    }
    const fs::path folder = fs::absolute(file, ec).parent_path();
    if (!fs::is_directory(folder, ec)) {
        return Fail(kEditNoTemplate, file + " does not exist and its folder " + folder.string() +
                                         " does not either, so it cannot be created");
    }
    return kEditClosed;
}

// The data source must open before the window does: a wrong path is said at once.
int CheckData(const EditOptions& o) {
    if (o.data.empty()) {
        if (!o.query.empty() || !o.table.empty() || !o.groups.empty()) {
            return Fail(kExitUsage, "--table, --query and --group need --data");
        }
        return kEditClosed;
    }
#if defined(QUILLON_HAS_VIEWERS)
    if (data::KindOf(o.data) == data::SourceKind::kSqlite && o.query.empty() && o.table.empty()) {
        return Fail(kExitUsage,
                    "an SQLite database needs --table NAME or --query SQL to say what to read");
    }
    if (o.groups.size() > 10) return Fail(kExitUsage, "at most ten --group columns");
    std::string error;
    try {
        GroupColumns(*data::Open(o.data, data::SqliteQuery{o.query, o.table}), o.groups, error);
    } catch (const std::exception& e) {
        return Fail(kEditNoData, e.what());
    }
    return error.empty() ? kEditClosed : Fail(kEditNoData, error);
#else
    return Fail(kExitUsage, "--data: this quillon was built without the viewers");
#endif
}

int Edit(const EditOptions& o) {
    if (const int code = CheckTemplate(o.file); code != kEditClosed) return code;
    if (const int code = CheckData(o); code != kEditClosed) return code;
    if (!HasDisplay()) {
        return Fail(kEditNoDisplay,
                    "no display to open the editor on (DISPLAY is not set; "
                    "QT_QPA_PLATFORM=offscreen runs it without one)");
    }
    const WidgetApplication application;

    // Run's preview: the report over the first records, in its viewer; none without --data.
    TemplatePreview show_preview;
#if defined(QUILLON_HAS_VIEWERS)
    if (!o.data.empty()) {
        auto preview =
            std::make_shared<EditPreview>(PreviewSource{o.data, o.query, o.table, 100, o.groups});
        show_preview = [preview](const std::string& file, const std::string& format,
                                 const std::string& content) {
            return preview->Show(file, format, content);
        };
    }
#endif
    const TemplateRunner runner = MakeTemplateRunner(o.format, show_preview);
    TemplateEditorWindow window(o.file, runner);
    std::string error;
    if (!window.Load(error)) return Fail(kEditNoTemplate, error);
    window.show();
    QApplication::exec();
    return kEditClosed;
}

const CommandRegistrar kEdit([](CLI::App& app) {
    auto* cmd = app.add_subcommand(
        "edit",
        "Edit a template with its tags, slots and level lines in colour; Run shows its levels "
        "and, with --data, a preview of the report");
    auto o = std::make_shared<EditOptions>();
    cmd->add_option("TEMPLATE", o->file,
                    "HTML, RTF or text template to edit; one that does not exist is created by "
                    "the first Save (none: a new, untitled template)");
    cmd->add_option("--format", o->format,
                    "format name that Run loads (default: the first of the file)");
    cmd->add_option(
        "--data", o->data,
        "data source for Run's preview (as quillon run --data: .csv, .json, .jsonl or an "
        "SQLite database); the preview shows the report over the first 100 records");
    cmd->add_option("--table", o->table, "SQLite: the table or view to read whole");
    cmd->add_option("--query", o->query, "SQLite: the SELECT statement to read");
    cmd->add_option("--group", o->groups,
                    "group the preview by this column (as quillon run --group; repeatable, "
                    "outermost first)");
    cmd->footer(
        "Keys: Ctrl+N new, Ctrl+O open, Ctrl+S save (the previous version is kept as\n"
        "TEMPLATE.bak), Ctrl+Shift+S save as, Ctrl+W close, Ctrl+F find, F3 / Shift+F3 next /\n"
        "previous match, Ctrl+H replace, Ctrl+Z undo, F9 run.\n"
        "Example: quillon edit examples/sales_report.htm --data sales.csv --group CUSTOMER\n\n"
        "Exit codes:\n"
        "  0    the editor was closed\n"
        "  2    the template exists but cannot be read, or its folder does not exist\n"
        "  3    no display to open the editor on\n"
        "  4    the --data source cannot be opened, or a --group column is not in it\n"
        "  64   usage error (unknown option, --table, --query or --group without --data, an\n"
        "       SQLite database without --table or --query, more than ten --group columns)");
    cmd->callback([o] { SetExitCode(Edit(*o)); });
});

}  // namespace

}  // namespace quillon::app
