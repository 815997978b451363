// quillon expert: a template from a CSV or JSON source that quillon run turns into the
// expected report, the handler code of a template, and the exit codes of bad input.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "tests/common/temp_dir.h"

namespace {

using quillon::testing::ReadFile;
using quillon::testing::TempDir;

struct Result {
    int status = -1;
    std::string out;
    std::string err;
};

class ExpertCommandTest : public ::testing::Test {
  protected:
    Result Quillon(const std::string& args) {
        const std::string err = dir_.File("stderr.txt");
        const std::string command = "cd '" + dir_.Path().string() + "' && '" QUILLON_BINARY "' " +
                                    args + " 2>'" + err + "'";
        Result result;
        FILE* pipe = ::popen(command.c_str(), "r");
        char buffer[4096];
        std::size_t n = 0;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.out.append(buffer, n);
        const int status = ::pclose(pipe);
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.err = ReadFile(err);
        return result;
    }
    TempDir dir_;
};

TEST_F(ExpertCommandTest, TemplateFromCsvRunsAtOnce) {
    dir_.Write("sales.csv", "city,amount\nRiga,12.50\nVilnius,7\n");
    const Result made = Quillon(
        "expert --data sales.csv --out sales.htm --title 'City & sums' --no-page-number --no-date");
    ASSERT_EQ(made.status, 0) << made.err;
    EXPECT_EQ(made.out,
              "Template sales.htm (format Report, 2 fields)\nPgSize 122\nFirstPgSize 125\n"
              "Orientation portrait\n");
    const Result run = Quillon("run sales.htm --data sales.csv --out - --no-progress");
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string expected =
        "<HTML>\r\n<BODY BGCOLOR=\"WHITE\">\r\n<CENTER><H2>City &amp; sums</H2></CENTER>\r\n"
        "<TABLE WIDTH=\"100%\" BORDER=\"0\">\r\n<TR>\r\n</TR>\r\n</TABLE>\r\n<P>\r\n<CENTER>\r\n"
        "<TABLE BORDER=\"1\" CELLSPACING=\"0\" CELLPADDING=\"3\" BORDERCOLORLIGHT=\"Black\" "
        "BORDERCOLORDARK=\"Black\">\r\n<TR>\r\n  <TH>city</TH>\r\n  <TH>amount</TH>\r\n</TR>\r\n"
        " \r\n<TR>\r\n  <TD>Riga   </TD>\r\n  <TD> 12.50</TD>\r\n</TR>\r\n"
        " \r\n<TR>\r\n  <TD>Vilnius</TD>\r\n  <TD>     7</TD>\r\n</TR>\r\n";
    EXPECT_EQ(run.out.substr(0, expected.size()), expected);
}

TEST_F(ExpertCommandTest, ChosenFieldsFromJsonAndAKeptOriginal) {
    dir_.Write("p.json", R"([{"id": 1, "name": "Ann", "note": "x"}, {"id": 22, "name": "Bo"}])");
    dir_.Write("p.htm", "mine\n");
    const Result made =
        Quillon("expert --data p.json --out p.htm --fields NAME,id --format People --landscape");
    ASSERT_EQ(made.status, 0) << made.err;
    EXPECT_NE(made.out.find("PgSize 122\n"), std::string::npos);
    EXPECT_NE(made.out.find("Orientation landscape\n"), std::string::npos);
    EXPECT_EQ(ReadFile(dir_.File("p.htm.bak")), "mine\n");
    const std::string t = ReadFile(dir_.File("p.htm"));
    EXPECT_NE(t.find("^^People<BR>"), std::string::npos);
    EXPECT_NE(t.find("<\xC2\xBF"
                     "name>????"
                     "</TD>\r\n  <TD><\xC2\xBF"
                     "id>??"
                     "</TD>"),
              std::string::npos);

    const Result code = Quillon("expert --code p.htm --name Rep");
    ASSERT_EQ(code.status, 0) << code.err;
    EXPECT_NE(code.out.find("void ReportForm::RepGetDetailLine(quillon::TQuillon& Sender)\n{\n  {\n"
                            "    Sender.FieldByName(\"ID\").SetAsString(\"\");\n"
                            "    Sender.FieldByName(\"NAME\").SetAsString(\"\");\n  }\n}\n"),
              std::string::npos)
        << code.out;
    EXPECT_NE(code.out.find("RepGetNewPgLine"), std::string::npos);
}

TEST_F(ExpertCommandTest, ExitCodesAndMessages) {
    dir_.Write("a.csv", "a,b\n1,2\n");
    Result r = Quillon("expert --data a.csv --out t.htm --fields a,zz");
    EXPECT_EQ(r.status, 3);
    EXPECT_NE(r.err.find("has no column \"zz\""), std::string::npos) << r.err;
    r = Quillon("expert --data missing.csv --out t.htm");
    EXPECT_EQ(r.status, 3);
    r = Quillon("expert --data a.csv --out t.htm --format bad-name");
    EXPECT_EQ(r.status, 2);
    dir_.Write("bad.csv", "ok,mail@x\n1,2\n");
    r = Quillon("expert --data bad.csv --out t.htm");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("mail@x"), std::string::npos) << r.err;
    r = Quillon("expert --data a.csv --out no/such/dir/t.htm");
    EXPECT_EQ(r.status, 4);
    r = Quillon("expert --code none.htm");
    EXPECT_EQ(r.status, 2);
    r = Quillon("expert --out t.htm");
    EXPECT_EQ(r.status, 1);
}

}  // namespace
