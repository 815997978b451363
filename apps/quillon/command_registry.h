#pragma once
// Subcommands of the quillon command register themselves here, each from its own file:
//
//   static quillon::app::CommandRegistrar reg([](CLI::App& app) {
//       auto* cmd = app.add_subcommand("calc", "Evaluate an expression");
//       ...
//       cmd->callback([=] { quillon::app::SetExitCode(Run(...)); });
//   });

#include <CLI/CLI.hpp>
#include <functional>

namespace quillon::app {

using CommandSetup = std::function<void(CLI::App&)>;

struct CommandRegistrar {
    explicit CommandRegistrar(CommandSetup setup);
};

// The exit code of the process once the chosen subcommand has run (0 by default).
void SetExitCode(int code);

}  // namespace quillon::app
