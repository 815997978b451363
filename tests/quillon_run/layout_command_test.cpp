// quillon layout, end to end: the JSON of a small document with fixed metrics, the width
// option, and the exit codes for a missing file, a bad width and a table too wide.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/common/shell_command.h"

namespace {

namespace fs = std::filesystem;

struct Output {
    int status = -1;
    std::string out;
};

Output Layout(const std::string& args) {
    const std::string command = "'" QUILLON_BINARY "' layout " + args + " 2>&1";
    const quillon::testing::ShellOutput shell = quillon::testing::RunShell(command);
    Output result;
    result.status = shell.status;
    result.out = shell.out;
    return result;
}

class LayoutCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        file_ =
            fs::temp_directory_path() / ("quillon_layout_" + std::to_string(::getpid()) + ".htm");
        std::ofstream(file_) << "<P>Hello world<HR><TABLE><TR><TD>x</TD></TR></TABLE>";
    }
    void TearDown() override { fs::remove(file_); }
    fs::path file_;
};

TEST_F(LayoutCommandTest, PrintsTheLayoutAsJson) {
    const Output r =
        Layout(quillon::testing::ShellQuote(file_.string()) + " --fixed-metrics --width 64");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out.rfind("{\"width\": 64, \"height\": 89, \"sections\": [", 0), 0u) << r.out;
    EXPECT_NE(r.out.find("\"lines\": [{\"y\": 14, \"height\": 16, \"x\": 0, \"chars\": 6, "
                         "\"text\": \"Hello \"}, {\"y\": 30, \"height\": 16, \"x\": 0, "
                         "\"chars\": 5, \"text\": \"world\"}]"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("{\"kind\": \"table\", \"y\": 66, \"columns\": [12], \"body_width\": 15, "
                         "\"block_width\": 15, \"block_indent\": 0, \"row_heights\": [20], "
                         "\"height\": 23, \"cells\": [[{\"x\": 3, \"y\": 69, \"w\": 10, \"h\": 18"),
              std::string::npos)
        << r.out;
}

TEST_F(LayoutCommandTest, FailuresHaveTheirExitCodes) {
    const Output missing = Layout("/nonexistent/report.htm --fixed-metrics");
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.out.find("/nonexistent/report.htm"), std::string::npos) << missing.out;
    EXPECT_NE(
        Layout(quillon::testing::ShellQuote(file_.string()) + " --fixed-metrics --width 0").status,
        0);
    EXPECT_EQ(Layout("--help").status, 0);

    std::string wide = "<TABLE><TR>";
    for (int i = 0; i < 1001; ++i) wide += "<TD>x";
    std::ofstream(file_) << wide;
    const Output too_wide =
        Layout(quillon::testing::ShellQuote(file_.string()) + " --fixed-metrics");
    EXPECT_EQ(too_wide.status, 1);
    EXPECT_NE(too_wide.out.find("Table has too many Columns"), std::string::npos) << too_wide.out;
}

}  // namespace
