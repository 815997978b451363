#pragma once
// Runs the built quillon command in a fresh folder of its own and collects its exit code,
// standard output and standard error.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/common/shell_command.h"

namespace quillon::testing {

struct CommandResult {
    int status = -1;
    std::string out;  // standard output
    std::string err;  // standard error
};

inline std::string ReadWhole(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void WriteWhole(const std::filesystem::path& p, const std::string& text) {
    std::ofstream(p, std::ios::binary) << text;
}

// A single-quoted shell word.
inline std::string Quoted(const std::string& s) {
    std::string out = "'";
    for (char c : s) {
        if (c == '\'') {
            out += "'\\''";
        } else {
            out.push_back(c);
        }
    }
    return out + "'";
}
inline std::string Quoted(const std::filesystem::path& p) {
    return Quoted(p.string());
}

class CommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "quillon_cli_XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }

    // Runs "[env] quillon ARGS" in the test's folder (args are shell words).
    CommandResult Quillon(const std::string& args, const std::string& env = "") {
        return Shell(env + " " + Quoted(std::string(QUILLON_BINARY)) + " " + args);
    }
    // Runs a shell command line in the test's folder.
    CommandResult Shell(const std::string& line) {
        const std::filesystem::path err = dir_ / ".stderr";
        const std::string command =
            "cd " + Quoted(dir_) + " && { " + line + " ; } 2>" + Quoted(err);
        const quillon::testing::ShellOutput shell = quillon::testing::RunShell(command);
        CommandResult result;
        result.status = shell.status;
        result.out = shell.out;
        result.err = ReadWhole(err);
        return result;
    }
    // The names in the test's folder (hidden ones too), sorted, without the stderr file.
    std::string Listing() const {
        std::string names;
        std::vector<std::string> all;
        for (const auto& e : std::filesystem::directory_iterator(dir_)) {
            if (e.path().filename() != ".stderr") all.push_back(e.path().filename().string());
        }
        std::sort(all.begin(), all.end());
        for (const std::string& n : all) names += n + " ";
        return names;
    }

    std::filesystem::path dir_;
};

}  // namespace quillon::testing
