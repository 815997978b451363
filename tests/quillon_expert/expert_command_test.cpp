// quillon expert: a template from a CSV or JSON source that quillon run turns into the
// expected report, the run command it prints and the pages that command makes, the wizard
// window without --out, the handler code of a template, and the exit codes of bad input.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

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
    // Runs quillon with args in the test's folder; env holds arguments of env(1) (variables
    // to set, or -u NAME to unset).
    Result Quillon(const std::string& args, const std::string& env = "") {
        const std::string err = dir_.File("stderr.txt");
        const std::string command = "cd '" + dir_.Path().string() + "' && env " + env + " '" +
                                    QUILLON_BINARY "' " + args + " 2>'" + err + "'";
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

// The run command the expert printed (its second line of output), with the built binary.
std::string PrintedRunCommand(const std::string& printed) {
    const std::size_t line = printed.find("\nquillon run ");
    if (line == std::string::npos) return {};
    std::string command = printed.substr(line + 1);
    if (!command.empty() && command.back() == '\n') command.pop_back();
    return command.substr(std::string("quillon ").size());
}

std::size_t Count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

TEST_F(ExpertCommandTest, TemplateFromCsvRunsAtOnce) {
    dir_.Write("sales.csv", "city,unit_price,qty\nRiga,12.50,3\nVilnius,7,10\n");
    const Result made = Quillon(
        "expert --data sales.csv --out sales.htm --title 'City & sums' --no-page-number --no-date");
    ASSERT_EQ(made.status, 0) << made.err;
    EXPECT_EQ(made.out,
              "Template sales.htm (format Report, 3 fields, portrait): 40 rows on the first page, "
              "45 on the others. Run it with\nquillon run sales.htm --data sales.csv --page-size "
              "287 --first-page-size 256 --out sales.pdf\n");
    const Result run = Quillon("run sales.htm --data sales.csv --out - --no-progress");
    ASSERT_EQ(run.status, 0) << run.err;
    // Headings from the column names; numbers right-aligned, with the column's decimals.
    const std::string expected =
        "<TR>\r\n  <TH ALIGN=\"LEFT\"><FONT SIZE=\"2\">City</FONT></TH>\r\n"
        "  <TH ALIGN=\"RIGHT\"><FONT SIZE=\"2\">Unit Price</FONT></TH>\r\n"
        "  <TH ALIGN=\"RIGHT\"><FONT SIZE=\"2\">Qty</FONT></TH>\r\n</TR>\r\n"
        " \r\n<TR>\r\n  <TD><FONT SIZE=\"2\">Riga   </FONT></TD>\r\n"
        "  <TD ALIGN=\"RIGHT\"><FONT SIZE=\"2\">  12.50</FONT></TD>\r\n"
        "  <TD ALIGN=\"RIGHT\"><FONT SIZE=\"2\">   3</FONT></TD>\r\n</TR>\r\n"
        " \r\n<TR>\r\n  <TD><FONT SIZE=\"2\">Vilnius</FONT></TD>\r\n"
        "  <TD ALIGN=\"RIGHT\"><FONT SIZE=\"2\">   7.00</FONT></TD>\r\n"
        "  <TD ALIGN=\"RIGHT\"><FONT SIZE=\"2\">  10</FONT></TD>\r\n</TR>\r\n";
    EXPECT_NE(run.out.find(expected), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("<H2>City &amp; sums</H2>"), std::string::npos);
}

TEST_F(ExpertCommandTest, ThePrintedRunCommandPutsAPrintedPageOfRowsOnEachPage) {
    std::string csv = "id,customerName,amount\n";
    for (int i = 1; i <= 100; ++i) {
        // Mostly one decimal as floating-point sources write money, some with two.
        csv += std::to_string(i) + ",Customer " + std::to_string(i) + "," + std::to_string(i) +
               (i % 4 == 0 ? ".25" : ".5") + "\n";
    }
    dir_.Write("big.csv", csv);
    const Result made = Quillon("expert --data big.csv --out big.htm --title Customers");
    ASSERT_EQ(made.status, 0) << made.err;
    const std::string command = PrintedRunCommand(made.out);
    ASSERT_NE(command.find("--out big.pdf"), std::string::npos) << made.out;
    const std::string t = ReadFile(dir_.File("big.htm"));
    EXPECT_NE(t.find("<TH ALIGN=\"LEFT\"><FONT SIZE=\"2\">Customer Name</FONT></TH>"),
              std::string::npos);
    EXPECT_NE(t.find("<TD ALIGN=\"RIGHT\"><FONT SIZE=\"2\"><\xC2\xBF"
                     "amount>?????^??"
                     "</FONT></TD>"),
              std::string::npos)
        << t;
    EXPECT_NE(t.find("<\xC2\xBFid>?????"
                     "</FONT>"),
              std::string::npos)
        << t;

    // The same run written as HTML: the rows between the page breaks.
    std::string html_command = command.substr(0, command.find(" --out "));
    const Result run = Quillon(html_command + " --out - --no-progress");
    ASSERT_EQ(run.status, 0) << run.err;
    std::vector<std::size_t> rows;
    std::size_t begin = 0;
    for (;;) {
        const std::size_t end = run.out.find("<PAGE>", begin);
        // Each page has the heading row of date and page number and the column headings.
        rows.push_back(Count(run.out.substr(begin, end - begin), "<TR>") - 2);
        if (end == std::string::npos) break;
        begin = end + 1;
    }
    EXPECT_EQ(rows, (std::vector<std::size_t>{40, 45, 15}));

#if defined(QUILLON_HAS_RENDER)
    // Printed to PDF, every page of the report fits on one A4 sheet.
    const Result pdf = Quillon(command + " --no-progress");
    ASSERT_EQ(pdf.status, 0) << pdf.err;
    const std::string bytes = ReadFile(dir_.File("big.pdf"));
    EXPECT_EQ(Count(bytes, "/Type /Page\n") + Count(bytes, "/Type /Page\r") +
                  Count(bytes, "/Type /Page "),
              3u);
#endif
}

TEST_F(ExpertCommandTest, LandscapeAndSqliteAreInTheRunCommand) {
    dir_.Write("a.csv", "a b,c\n1,x\n");
    const Result made = Quillon("expert --data a.csv --out 'my report.htm' --landscape --title ''");
    ASSERT_EQ(made.status, 0) << made.err;
    // Without a title the first page holds as many rows as the others.
    EXPECT_NE(made.out.find("landscape): 28 rows on the first page, 28 on the others"),
              std::string::npos)
        << made.out;
    EXPECT_NE(made.out.find("quillon run 'my report.htm' --data a.csv --page-size "),
              std::string::npos);
    EXPECT_NE(made.out.find(" --out 'my report.pdf' --landscape\n"), std::string::npos);
}

#if defined(QUILLON_HAS_EXPERT_WIZARD)
TEST_F(ExpertCommandTest, WithoutOutTheWizardOpens) {
    dir_.Write("a.csv", "a,b\n1,2\n");
    const Result shown =
        Quillon("expert --data a.csv --screenshot wizard.png", "QT_QPA_PLATFORM=offscreen");
    ASSERT_EQ(shown.status, 0) << shown.err;
    EXPECT_EQ(ReadFile(dir_.File("wizard.png")).substr(0, 4), "\x89PNG");
    EXPECT_EQ(ReadFile(dir_.File("wizard-4.png")).substr(0, 4), "\x89PNG");
    EXPECT_FALSE(std::filesystem::exists(dir_.File("a.htm")));
    const Result no_display =
        Quillon("expert --data a.csv", "-u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY");
    EXPECT_EQ(no_display.status, 5);
    EXPECT_NE(no_display.err.find("no display"), std::string::npos) << no_display.err;
}
#endif

TEST_F(ExpertCommandTest, ChosenFieldsFromJsonAndAKeptOriginal) {
    dir_.Write("p.json", R"([{"id": 1, "name": "Ann", "note": "x"}, {"id": 22, "name": "Bo"}])");
    dir_.Write("p.htm", "mine\n");
    const Result made =
        Quillon("expert --data p.json --out p.htm --fields NAME,id --format People --landscape");
    ASSERT_EQ(made.status, 0) << made.err;
    EXPECT_NE(made.out.find("2 fields, landscape)"), std::string::npos) << made.out;
    EXPECT_EQ(ReadFile(dir_.File("p.htm.bak")), "mine\n");
    const std::string t = ReadFile(dir_.File("p.htm"));
    EXPECT_NE(t.find("^^People<BR>"), std::string::npos);
    EXPECT_NE(t.find("<\xC2\xBF"
                     "name>????"
                     "</FONT></TD>\r\n  <TD ALIGN=\"RIGHT\"><FONT SIZE=\"2\"><\xC2\xBF"
                     "id>????"
                     "</FONT></TD>"),
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
