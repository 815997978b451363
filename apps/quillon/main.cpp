#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "apps/quillon/command_registry.h"
#if QUILLON_WITH_QT
#include "platform/qt/qt_image_decoder.h"
#endif

namespace quillon::app {

namespace {

std::vector<CommandSetup>& Setups() {
    static std::vector<CommandSetup> setups;
    return setups;
}

std::vector<const CLI::App*>& DashPositionalCommands() {
    static std::vector<const CLI::App*> commands;
    return commands;
}

int g_exit_code = 0;

// The arguments of the command line, with "--" put before the first argument of a
// subcommand that takes dash-led values and that is none of its options ("-(2**2)",
// "-x=3"): from there on, everything is a value.
std::vector<std::string> Arguments(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) return args;
    const CLI::App* command = nullptr;
    for (const CLI::App* c : DashPositionalCommands()) {
        if (c->check_name(args[0])) command = c;
    }
    if (command == nullptr) return args;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--") break;
        if (arg.size() < 2 || arg[0] != '-') continue;
        const std::string name = arg.substr(0, arg.find('='));
        if (command->get_option_no_throw(name) != nullptr) continue;
        args.insert(args.begin() + static_cast<std::ptrdiff_t>(i), "--");
        break;
    }
    return args;
}

}  // namespace

CommandRegistrar::CommandRegistrar(CommandSetup setup) {
    Setups().push_back(std::move(setup));
}

void SetExitCode(int code) {
    g_exit_code = code;
}

void AcceptDashPositionals(const CLI::App* command) {
    DashPositionalCommands().push_back(command);
}

}  // namespace quillon::app

int main(int argc, char** argv) {
#if QUILLON_WITH_QT
    quillon::RegisterQtImageDecoder();
#endif
    CLI::App app{
        "Quillon report generator: runs report templates over data and shows how "
        "templates, expressions and HTML documents are understood."};
    app.name("quillon");
    app.require_subcommand(1);
    app.footer(
        "Run quillon COMMAND --help for the options and exit codes of a command.\n"
        "Exit code 64: usage error (no or an unknown command, an unknown option, a "
        "missing or malformed argument).");
    for (const auto& setup : quillon::app::Setups()) setup(app);
    std::vector<std::string> args = quillon::app::Arguments(argc, argv);
    // CLI11 takes the arguments last to first.
    std::reverse(args.begin(), args.end());
    try {
        app.parse(args);
    } catch (const CLI::ParseError& e) {
        // Help requests end with 0; every usage error with one exit code.
        if (e.get_exit_code() == 0) return app.exit(e);
        std::cerr << "quillon: " << e.what()
                  << "\n(quillon --help lists the commands, quillon COMMAND --help their "
                     "options)\n";
        return quillon::app::kExitUsage;
    } catch (const std::exception& e) {
        std::cerr << "quillon: " << e.what() << '\n';
        return 1;
    }
    return quillon::app::g_exit_code;
}
