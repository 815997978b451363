// The command line as a user meets it: dash-led calc arguments, one exit code for every
// usage error, data errors that name where, help texts with exit codes and defaults,
// counts in words, and the date built-ins under the C locale.

#include <regex>
#include <string>

#include "tests/quillon_run/command_runner.h"

namespace quillon::testing {
namespace {

const std::filesystem::path kData =
    std::filesystem::path(QUILLON_SOURCE_DIR) / "tests/quillon_run/data";

class CommandLineTest : public CommandTest {};

TEST_F(CommandLineTest, CalcTakesExpressionsAndValuesThatBeginWithADash) {
    CommandResult r = Quillon("calc '-(2**2)'");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "-4\n");
    r = Quillon("calc -x+y x=3 y=-1");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "-4\n");
    r = Quillon("calc -- -2*x x=2");
    EXPECT_EQ(r.out, "-4\n") << r.err;
    r = Quillon("calc --help");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("Exit codes"), std::string::npos) << r.out;
}

TEST_F(CommandLineTest, EveryUsageErrorHasTheUsageExitCode) {
    const std::string tmpl = Quoted(kData / "groups.txt");
    const std::string csv = " --data " + Quoted(kData / "sales.csv");
    WriteWhole(dir_ / "sales.db", "");
    for (const std::string& args :
         {std::string(""), std::string("frobnicate"), std::string("calc"), "run " + tmpl,
          "run " + tmpl + csv + " --bogus", "run " + tmpl + csv + " --page-size x",
          "run " + tmpl + " --data sales.db", "run " + tmpl + csv + " --page-per-group",
          "run " + tmpl + csv + " --lang klingon", std::string("inspect"),
          std::string("html-dump --bogus x")}) {
        const CommandResult r = Quillon(args);
        EXPECT_EQ(r.status, 64) << args << "\n" << r.err;
        EXPECT_EQ(r.err.rfind("quillon", 0), 0u) << args << "\n" << r.err;
    }
}

TEST_F(CommandLineTest, DataErrorsSayWhatIsWrongAndWhere) {
    const std::string run = "run " + Quoted(kData / "groups.txt") + " --out - --data ";
    WriteWhole(dir_ / "open.csv",
               "city,customer,item,qty,amount\nKaunas,Alpha,Lamp,2,1\n"
               "Kaunas,\"Beta,Lamp,3,1\nKaunas,Beta,Desk,1,2\nVilnius,Gamma,Chair,4,2\n");
    CommandResult r = Quillon(run + "open.csv");
    EXPECT_EQ(r.status, 3);
    EXPECT_NE(r.err.find("open.csv: line 3: a quoted field opens here and is never closed"),
              std::string::npos)
        << r.err;
    EXPECT_EQ(r.err.find("strict"), std::string::npos) << r.err;

    WriteWhole(dir_ / "stray.csv", "city,customer\nKau\"nas\",Alpha\n");
    r = Quillon(run + "stray.csv");
    EXPECT_EQ(r.status, 3);
    EXPECT_NE(r.err.find("stray.csv: line 2: a quote"), std::string::npos) << r.err;

    WriteWhole(dir_ / "bad.json", "[\n  {\"city\": \"Kaunas\"},\n  {\"city\": Vilnius}\n]\n");
    r = Quillon(run + "bad.json");
    EXPECT_EQ(r.status, 3);
    EXPECT_NE(r.err.find("bad.json: line 3, column 12: malformed JSON"), std::string::npos)
        << r.err;

    r = Quillon("html-dump missing.htm");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("missing.htm: no such file"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("iostream"), std::string::npos) << r.err;
}

TEST_F(CommandLineTest, HelpListsExitCodesAndDefaultsInPlainWords) {
    for (const std::string command : {"run", "calc", "inspect", "html-dump"}) {
        const CommandResult r = Quillon(command + " --help");
        EXPECT_EQ(r.status, 0) << command;
        EXPECT_NE(r.out.find("Exit codes:"), std::string::npos) << command << "\n" << r.out;
        EXPECT_NE(r.out.find("64"), std::string::npos) << command;
    }
    const std::string run = Quillon("run --help").out;
    for (const char* text : {"default 64", "PRX with the template's extension", "default *",
                             "default english", "--page-per-group", "130"}) {
        EXPECT_NE(run.find(text), std::string::npos) << text << "\n" << run;
    }
    for (const char* jargon : {"PrnFile", "Second parse of & fields"}) {
        EXPECT_EQ(run.find(jargon), std::string::npos) << jargon;
    }
}

TEST_F(CommandLineTest, CountsAndDatesReadNaturally) {
    WriteWhole(dir_ / "one.csv", "item\nLamp\n");
    WriteWhole(dir_ / "dated.txt",
               "^^D\r\n@0\r\n<\xC2\xBF"
               "DATE>?????????? <\xC2\xBF"
               "DATETIME>???????????????????\r\n@3\r\n<\xC2\xBF"
               "ITEM>?????\r\n");
    for (const char* locale : {"C", "POSIX", "C.UTF-8"}) {
        const CommandResult r =
            Quillon("run dated.txt --data one.csv --out out.txt", std::string("LC_ALL=") + locale);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_NE(r.err.find("1 record, 1 page written"), std::string::npos) << r.err;
        const std::string head = ReadWhole(dir_ / "out.txt");
        EXPECT_TRUE(std::regex_search(
            head, std::regex(R"(^\d{4}-\d\d-\d\d \d{4}-\d\d-\d\d \d\d:\d\d:\d\d\r\n)")))
            << locale << ": " << head;
    }
    // Under a real locale the dates follow it (when this machine has one).
    const CommandResult de =
        Quillon("run dated.txt --data one.csv --out - 2>/dev/null", "LC_ALL=de_DE.UTF-8");
    if (de.status == 0 && Shell("locale -a | grep -qi '^de_DE'").status == 0) {
        EXPECT_TRUE(std::regex_search(de.out, std::regex(R"(^\d\d\.\d\d\.\d{4})"))) << de.out;
    }
}

}  // namespace
}  // namespace quillon::testing
