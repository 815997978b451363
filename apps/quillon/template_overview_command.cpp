// quillon inspect TEMPLATE [--format NAME]: loads a template and shows how it was
// understood (template_overview.h).

#include <iostream>
#include <memory>
#include <string>

#include "apps/quillon/command_registry.h"
#include "apps/quillon/template_overview.h"

namespace quillon::app {

namespace {

int Inspect(const std::string& file, std::string format_name) {
    const bool loaded = WriteTemplateOverview(
        file, nullptr, format_name, std::cout,
        [](std::string_view msg) { std::cerr << "quillon inspect: " << msg << '\n'; });
    return loaded ? 0 : 1;
}

const CommandRegistrar kInspect([](CLI::App& app) {
    auto* cmd = app.add_subcommand(
        "inspect", "Load a template and show its levels, field slots, names and texts");
    auto file = std::make_shared<std::string>();
    auto format = std::make_shared<std::string>("*");
    cmd->add_option("TEMPLATE", *file, "HTML, RTF or text template")->required();
    cmd->add_option("--format", *format, "format name inside the file (default: the first)");
    cmd->footer(
        "Exit codes:\n"
        "  0    the template was shown\n"
        "  1    the template is missing, cannot be loaded, or holds a calculated field that\n"
        "       cannot be calculated (the message says why and where)\n"
        "  64   usage error (no template, unknown option)");
    cmd->callback([file, format] { SetExitCode(Inspect(*file, *format)); });
});

}  // namespace

}  // namespace quillon::app
