#include <iostream>
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

int g_exit_code = 0;

}  // namespace

CommandRegistrar::CommandRegistrar(CommandSetup setup) {
    Setups().push_back(std::move(setup));
}

void SetExitCode(int code) {
    g_exit_code = code;
}

}  // namespace quillon::app

int main(int argc, char** argv) {
#if QUILLON_WITH_QT
    quillon::RegisterQtImageDecoder();
#endif
    CLI::App app{"Quillon report generator"};
    app.require_subcommand(1);
    for (const auto& setup : quillon::app::Setups()) setup(app);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e);
    } catch (const std::exception& e) {
        std::cerr << "quillon: " << e.what() << '\n';
        return 1;
    }
    return quillon::app::g_exit_code;
}
