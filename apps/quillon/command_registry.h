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
#include <string>

namespace quillon::app {

using CommandSetup = std::function<void(CLI::App&)>;

struct CommandRegistrar {
    explicit CommandRegistrar(CommandSetup setup);
};

// The exit code of every usage error: no or an unknown subcommand, an unknown option, a
// missing or malformed argument (sysexits' EX_USAGE).
inline constexpr int kExitUsage = 64;

// The exit code of the process once the chosen subcommand has run (0 by default).
void SetExitCode(int code);

// Values of command (expressions, NAME=VALUE) may begin with "-": an argument that is none
// of its options is taken as a value without "--" before it.
void AcceptDashPositionals(const CLI::App* command);

}  // namespace quillon::app
