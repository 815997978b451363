// quillon calc EXPRESSION [NAME=VALUE ...]: evaluates an expression and prints its value.
//
// Exit codes: 0 success, 1 syntax error, 2 unknown function or variable, 3 arithmetic
// fault, 4 a NAME=VALUE argument that is not one, 64 usage error.

#include <charconv>
#include <iostream>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "apps/quillon/command_registry.h"
#include "calc/calc_errors.h"
#include "calc/calculate.h"
#include "calc/def_calc_proc.h"
#include "calc/number_reader.h"

namespace quillon::app {

namespace {

constexpr int kExitFault = 3;
constexpr int kExitBadArgument = 4;

std::string LowerAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

// The shortest text that reads back as the same double ("." as decimal point).
std::string ValueText(double value) {
    if (value == 0) value = 0;  // no "-0"
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

int RunCalc(const std::string& expression, const std::vector<std::string>& assignments) {
    std::unordered_map<std::string, double> vars;
    for (const std::string& arg : assignments) {
        const std::size_t eq = arg.find('=');
        const std::optional<double> value =
            eq == std::string::npos ? std::nullopt : ReadNumber(arg.substr(eq + 1));
        if (eq == 0 || !value) {
            std::cerr << "quillon calc: \"" << arg << "\" is not NAME=NUMBER\n";
            return kExitBadArgument;
        }
        vars[LowerAscii(arg.substr(0, eq))] = *value;
    }
    auto proc = [&vars](TCalcCBType kind, std::string_view name, double& value) {
        if (DefCalcProc(kind, name, value)) return true;
        if (kind == ctGetValue) {
            auto it = vars.find(std::string(name));
            if (it == vars.end()) return false;
            value = it->second;
            return true;
        }
        if (kind == ctSetValue) {
            vars[std::string(name)] = value;
            return true;
        }
        return false;
    };
    std::string last_message;
    double value = 0;
    int code = 0;
    try {
        code = Evaluate(expression, value, proc,
                        [&](int, const std::string& message) { last_message = message; });
    } catch (const ECalcArithmetic& e) {
        std::cerr << "quillon calc: " << e.what() << '\n';
        return kExitFault;
    }
    if (code != kCalcNoError) {
        std::cerr << "quillon calc: error " << code << ": " << last_message << '\n';
        return code;
    }
    std::cout << ValueText(value) << '\n';
    return 0;
}

CommandRegistrar registrar([](CLI::App& app) {
    auto* cmd = app.add_subcommand(
        "calc", "Evaluate an expression of the calculated fields' language and print its value");
    auto expression = std::make_shared<std::string>();
    auto assignments = std::make_shared<std::vector<std::string>>();
    cmd->add_option("expression", *expression,
                    "The expression, e.g. \"qty * price * 1.2\" (it may begin with \"-\")")
        ->required();
    cmd->add_option("variables", *assignments,
                    "NAME=NUMBER ...: values of the names the expression uses (a variable "
                    "without one is an unknown name)");
    cmd->footer(
        "Exit codes:\n"
        "  0    the value was printed\n"
        "  1    syntax error in the expression\n"
        "  2    unknown function or variable\n"
        "  3    arithmetic fault (division by zero, ...)\n"
        "  4    an argument after the expression is not NAME=NUMBER\n"
        "  64   usage error (no expression, unknown option)");
    AcceptDashPositionals(cmd);
    cmd->callback([expression, assignments] { SetExitCode(RunCalc(*expression, *assignments)); });
});

}  // namespace

}  // namespace quillon::app
