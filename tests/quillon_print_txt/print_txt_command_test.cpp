// quillon print-txt, end to end: what reaches a file port or standard output, and the exit
// codes and messages when the report or the port fails.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/common/shell_command.h"

namespace {

namespace fs = std::filesystem;

struct Result {
    int status = -1;
    std::string out;
    std::string err;
};

std::string ReadFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFile(const fs::path& p, const std::string& content) {
    std::ofstream(p, std::ios::binary) << content;
}

class PrintTxtCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("quillon_ptxt_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
        WriteFile(dir_ / "QUILDOC.INI",
                  "[SUBST]\nLaser=Dot\n[Dot]\n<WIDTH>=16\n<B>=&#27E\n</B>=&#27F\n");
        WriteFile(dir_ / "report.txt",
                  "<CENTER>Sales</CENTER>\r\n<b>Total</b> 5<BR>done\r\n\f\r\nŠ page 2\r\n");
    }
    void TearDown() override { fs::remove_all(dir_); }

    // Runs "quillon print-txt ARGS" in the test's directory without a print server.
    Result Run(const std::string& args) {
        const fs::path err = dir_ / "stderr.txt";
        const std::string command = "cd '" + dir_.string() +
                                    "' && CUPS_SERVER=/nonexistent/quillon/cups.sock "
                                    "QUILDOC_INI=QUILDOC.INI '" QUILLON_BINARY "' print-txt " +
                                    args + " 2>'" + err.string() + "'";
        const quillon::testing::ShellOutput shell = quillon::testing::RunShell(command);
        Result result;
        result.status = shell.status;
        result.out = shell.out;
        result.err = ReadFile(err);
        return result;
    }

    fs::path dir_;
};

TEST_F(PrintTxtCommandTest, PrintsToAFileAndToStandardOutput) {
    const std::string page1 =
        "     Sales\r\n"
        "\x1b"
        "ETotal\x1b"
        "F 5\r\ndone\r\n"
        "\f";
    const Result file = Run("report.txt --section laser --port printer.prn");
    ASSERT_EQ(file.status, 0) << file.err;
    EXPECT_EQ(file.err, "");
    EXPECT_EQ(ReadFile(dir_ / "printer.prn"), page1 + "\x8A page 2\r\n");

    const Result out = Run("report.txt --section Laser --port - --from 2 --width 30 --national");
    ASSERT_EQ(out.status, 0) << out.err;
    EXPECT_EQ(out.out, "\xF6 page 2\r\n");

    const Result first = Run("report.txt --section Dot --port - --to 1 --settings QUILDOC.INI");
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.out, page1);
}

TEST_F(PrintTxtCommandTest, FailuresHaveTheirExitCodesAndSayWhatFailed) {
    WriteFile(dir_ / "kept.prn", "kept");
    const Result missing = Run("missing.txt --port kept.prn");
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.err, "quillon print-txt: File Open Error missing.txt\n");
    EXPECT_EQ(ReadFile(dir_ / "kept.prn"), "kept");

    const Result full = Run("report.txt --port /dev/full --lang de");
    EXPECT_EQ(full.status, 4);
    EXPECT_EQ(full.err, "quillon print-txt: Druckfehler. ABBRUCH /dev/full\n");

    const Result lpt = Run("report.txt");  // no section, no port, no queue: LPT1:
    EXPECT_EQ(lpt.status, 4);
    EXPECT_NE(lpt.err.find("Printer Open Error LPT1: ("), std::string::npos) << lpt.err;
    EXPECT_FALSE(fs::exists(dir_ / "LPT1:"));

    const Result no_dir = Run("report.txt --port no/such/dir/x");
    EXPECT_EQ(no_dir.status, 4);
    EXPECT_EQ(no_dir.err,
              "quillon print-txt: Printer Open Error no/such/dir/x (No such file or directory)\n");

    EXPECT_EQ(Run("report.txt --port - --lang klingon").status, 1);
    EXPECT_EQ(Run("report.txt --port - --settings nowhere.ini").status, 1);
    const Result help = Run("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("Exit codes"), std::string::npos);
}

}  // namespace
