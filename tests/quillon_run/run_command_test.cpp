// quillon run, end to end: the built command over CSV, JSON, JSON Lines and SQLite sources compared
// with the expected report, and its exit codes and messages for broken input and output.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/common/shell_command.h"
#include "tests/common/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using quillon::testing::ReadFile;
using quillon::testing::TempDir;

const fs::path kData = fs::path(QUILLON_SOURCE_DIR) / "tests/quillon_run/data";

struct Result {
    int status = -1;
    std::string out;  // standard output
    std::string err;  // standard error
};

class RunCommandTest : public ::testing::Test {
  protected:
    // Runs "quillon run ARGS" in the test's directory.
    Result Run(const std::string& args) {
        const fs::path err = dir_ / "stderr.txt";
        const std::string command = "cd '" + dir_.string() + "' && '" QUILLON_BINARY "' run " +
                                    args + " 2>'" + err.string() + "'";
        const quillon::testing::ShellOutput shell = quillon::testing::RunShell(command);
        Result result;
        result.status = shell.status;
        result.out = shell.out;
        result.err = ReadFile(err);
        return result;
    }
    static std::string Arg(const fs::path& p) {
        std::string quoted = "'";
        quoted += p.string();
        quoted += '\'';
        return quoted;
    }

    TempDir temp_;
    fs::path dir_ = temp_.Path();
};

TEST_F(RunCommandTest, EverySourceKindGivesTheExpectedGroupedReport) {
    const fs::path db = dir_ / "sales.db";
    ASSERT_EQ(std::system(("'" SQLITE3_PROGRAM "' '" + db.string() + "' '.read " +
                           (kData / "sales.sql").string() + "'")
                              .c_str()),
              0);
    const std::string expected = ReadFile(kData / "groups_expected.txt");
    const std::string groups = " --group city --group CUSTOMER";
    const std::string tmpl = Arg(kData / "groups.txt");
    for (const std::string& source :
         {"--data " + Arg(kData / "sales.csv"), "--data " + Arg(kData / "sales.json"),
          "--data " + Arg(kData / "sales.jsonl"),
          "--data " + Arg(kData / "sales.jsonl") + " --json-lines",
          "--data " + Arg(db) + " --table sales",
          "--data " + Arg(db) + " --query 'SELECT * FROM sales ORDER BY city, customer'"}) {
        const Result r = Run(tmpl + " " + source + groups + " --out -");
        EXPECT_EQ(r.status, 0) << source << "\n" << r.err;
        EXPECT_EQ(r.out, expected) << source;
    }
    // To a file named as given, and without --out to PrnFile with the template's extension.
    Result r = Run(tmpl + " --data " + Arg(kData / "sales.csv") + groups + " --out report.txt");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadFile(dir_ / "report.txt"), expected);
    EXPECT_NE(r.err.find("4 records"), std::string::npos) << r.err;
    r = Run(tmpl + " --data " + Arg(kData / "sales.csv") + groups);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadFile(dir_ / "PRX.txt"), expected);

    // JSON Lines under any name with --json-lines, and through a named pipe (read once).
    fs::copy_file(kData / "sales.jsonl", dir_ / "sales.log");
    r = Run(tmpl + " --data sales.log --json-lines" + groups + " --out -");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, expected);
    ASSERT_EQ(::mkfifo((dir_ / "pipe.jsonl").c_str(), 0600), 0);
    r = Run(tmpl + " --data pipe.jsonl" + groups + " --out - 2>pipe.err & cat " +
            Arg(kData / "sales.jsonl") + " >" + Arg(dir_ / "pipe.jsonl") + "; wait $!");
    EXPECT_EQ(r.status, 0) << ReadFile(dir_ / "pipe.err");
    EXPECT_EQ(r.out, expected);
}

TEST_F(RunCommandTest, PageSizesAndMultiLevelFiles) {
    const std::string base = Arg(kData / "groups.txt") + " --data " + Arg(kData / "sales.csv") +
                             " --group city --group customer";
    // The last group's lines fill the first page: the closing sums and the total stay on it.
    Result r = Run(base + " --page-size 10 --out -");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\f'), 0) << r.out;
    r = Run(base + " --page-size 10 --page-per-group --out -");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\f'), 1) << r.out;
    r = Run(base + " --multi-level --out levels.txt");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadFile(dir_ / "levels.txt"), ReadFile(kData / "groups_expected.txt"));
    const std::string cities = ReadFile(dir_ / "levels.t05");
    EXPECT_NE(cities.find("city Kaunas      3 sales"), std::string::npos) << cities;
    EXPECT_EQ(cities.find("   customer "), std::string::npos) << cities;
}

TEST_F(RunCommandTest, BrokenInputAndOutputGiveClearMessagesAndExitCodes) {
    const std::string tmpl = Arg(kData / "groups.txt");
    const std::string csv = " --data " + Arg(kData / "sales.csv");

    Result r = Run(Arg(dir_ / "missing.htm") + csv);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("template not found"), std::string::npos) << r.err;

    std::ofstream(dir_ / "bad.htm") << "no header here\r\n";
    r = Run(Arg(dir_ / "bad.htm") + csv);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("Format not found"), std::string::npos) << r.err;

    r = Run(tmpl + " --data " + Arg(dir_ / "none.csv"));
    EXPECT_EQ(r.status, 3) << r.err;

    r = Run(tmpl + " --data " + Arg(kData / "short_row.csv") + " --out -");
    EXPECT_EQ(r.status, 3);
    EXPECT_NE(r.err.find("line 2"), std::string::npos) << r.err;

    r = Run(tmpl + csv + " --group town");
    EXPECT_EQ(r.status, 3);
    EXPECT_NE(r.err.find("unknown --group column town"), std::string::npos) << r.err;

    if (fs::exists("/dev/full")) {
        r = Run(tmpl + csv + " --out /dev/full");
        EXPECT_EQ(r.status, 4) << r.err;
        EXPECT_NE(r.err.find("Printer error. ABORT"), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("could not be written"), std::string::npos) << r.err;
    }
    r = Run(tmpl + csv + " --out " + Arg(dir_ / "no/such/dir/out.txt"));
    EXPECT_EQ(r.status, 4) << r.err;
    EXPECT_NE(r.err.find("File Open Error " + (dir_ / "no/such/dir/out.txt").string() +
                         ": No such file or directory"),
              std::string::npos)
        << r.err;
    // Messages about the report's own file follow --lang as the engine's messages do.
    r = Run(tmpl + csv + " --lang german --out no/such/out.txt");
    EXPECT_EQ(r.status, 4) << r.err;
    EXPECT_NE(r.err.find("quillon run: Fehler beim Öffnen der Datei no/such/out.txt: "),
              std::string::npos)
        << r.err;

    // Malformed JSON: the file, line and column; nothing is written.
    std::ofstream(dir_ / "bad.jsonl") << "{\"city\": \"Kaunas\"}\n{\"city\": Vilnius}\n";
    r = Run(tmpl + " --data bad.jsonl --out bad.txt");
    EXPECT_EQ(r.status, 3);
    EXPECT_NE(r.err.find("bad.jsonl: line 2, column 10: malformed JSON: unexpected \"Vilnius}\""),
              std::string::npos)
        << r.err;
    EXPECT_FALSE(fs::exists(dir_ / "bad.txt"));
}

TEST_F(RunCommandTest, CtrlCStopsTheRunAndReportsTheOutputAsIncomplete) {
    // An endless CSV source through a named pipe; SIGINT once the report being written has
    // content (a fixed delay raced the start of the program on a loaded machine).
    if (::mkfifo((dir_ / "endless.csv").c_str(), 0600) != 0) GTEST_SKIP() << "no mkfifo";
    const std::string command =
        "cd '" + dir_.string() +
        "' && ( (printf 'city,customer,item,qty,amount\\n'; yes 'Kaunas,Alpha,Lamp,2,10.5') "
        "> endless.csv 2>/dev/null & ) && ( '" QUILLON_BINARY "' run " +
        Arg(kData / "groups.txt") +
        " --data endless.csv --out out.txt 2>err.txt & pid=$!; i=0; "
        "while [ $i -lt 1200 ] && [ -z \"$(find . -path './.out.txt.quillon-*/out.txt' "
        "-size +0 2>/dev/null)\" ]; do sleep 0.05; i=$((i+1)); done; "
        "kill -INT $pid; wait $pid )";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 130);
    EXPECT_NE(ReadFile(dir_ / "err.txt")
                  .find("interrupted; the incomplete report is in out.incomplete.txt"),
              std::string::npos)
        << ReadFile(dir_ / "err.txt");
    // What was written is kept under a name that says so; no file looks like the report.
    EXPECT_FALSE(fs::exists(dir_ / "out.txt"));
    EXPECT_NE(ReadFile(dir_ / "out.incomplete.txt").find("Kaunas"), std::string::npos);
}

}  // namespace
