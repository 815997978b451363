// quillon edit TEMPLATE [--format NAME]: opens a template in the template editor window:
// tags in colour, Save keeps the previous version as TEMPLATE.bak, Run loads the text being
// edited as a template and shows its levels and slots (the overview of quillon inspect).

#include <QApplication>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>

#include "apps/quillon/command_registry.h"
#include "apps/quillon/template_overview.h"
#include "design/qt/template_editor_window.h"
#include "design/template_file.h"

namespace quillon::app {

namespace {

constexpr int kEditClosed = 0;
constexpr int kEditNoTemplate = 2;
constexpr int kEditNoDisplay = 3;

bool HasDisplay() {
    const auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value != nullptr && *value != '\0';
    };
    return set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY");
}

int Edit(const std::string& file, const std::string& format_name) {
    std::string bytes, error;
    if (!design::ReadTemplateFile(file, bytes, error)) {
        std::cerr << "quillon edit: " << error << '\n';
        return kEditNoTemplate;
    }
    if (!HasDisplay()) {
        std::cerr << "quillon edit: no display to open the editor on (DISPLAY is not set; "
                     "QT_QPA_PLATFORM=offscreen runs it without one)\n";
        return kEditNoDisplay;
    }
    static int argc = 1;
    static char name[] = "quillon";
    static char* argv[] = {name, nullptr};
    QApplication application(argc, argv);

    TemplateRunner runner = [format_name](const std::string& file_name,
                                          const std::string& content) {
        TemplateRunResult result;
        std::ostringstream overview, messages;
        std::string format = format_name;
        result.loaded =
            WriteTemplateOverview(file_name, &content, format, overview,
                                  [&messages](std::string_view msg) { messages << msg << '\n'; });
        result.overview = overview.str();
        result.messages = messages.str();
        return result;
    };
    TemplateEditorWindow window(file, runner);
    if (!window.Load(error)) {
        std::cerr << "quillon edit: " << error << '\n';
        return kEditNoTemplate;
    }
    window.show();
    QApplication::exec();
    return kEditClosed;
}

const CommandRegistrar kEdit([](CLI::App& app) {
    auto* cmd = app.add_subcommand(
        "edit",
        "Edit a template with coloured tags; Save keeps TEMPLATE.bak, Run shows its levels "
        "and slots");
    auto file = std::make_shared<std::string>();
    auto format = std::make_shared<std::string>("*");
    cmd->add_option("TEMPLATE", *file, "HTML, RTF or text template to edit")->required();
    cmd->add_option("--format", *format,
                    "format name that Run loads (default: the first of the file)");
    cmd->footer(
        "Exit codes: 0 the editor was closed; 2 the template cannot be read; 3 no display.");
    cmd->callback([file, format] { SetExitCode(Edit(*file, *format)); });
});

}  // namespace

}  // namespace quillon::app
