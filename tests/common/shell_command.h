#pragma once
// Runs a shell command line for the command-line tests and collects what it wrote to
// standard output and how it ended. Standard error goes wherever the line sends it.

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>
#include <string_view>

namespace quillon::testing {

struct ShellOutput {
    int status = -1;  // the exit code; -1 when the command did not exit normally
    std::string out;  // what it wrote to standard output
};

// `text` as one shell word: in single quotes, each quote inside written as '\''.
inline std::string ShellQuote(std::string_view text) {
    std::string quoted = "'";
    for (const char c : text) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    quoted += '\'';
    return quoted;
}

inline ShellOutput RunShell(const std::string& command_line) {
    ShellOutput result;
    FILE* pipe = ::popen(command_line.c_str(), "r");
    if (pipe == nullptr) return result;
    std::array<char, 4096> buffer{};
    for (std::size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0;) {
        result.out.append(buffer.data(), n);
    }
    const int status = ::pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

}  // namespace quillon::testing
