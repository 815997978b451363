// Whole reports through the built quillon command, printed to PDF with real fonts and
// read back with pdftotext: every record of the data appears exactly once. The bundled
// grouped sales report, the report the expert makes from the sales table, and the long
// report of bench/make_report_html.py (checked by bench/check_pdf_pages.py).

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "tests/common/pdf_text.h"
#include "tests/common/shell_command.h"
#include "tests/common/temp_dir.h"

#if defined(QUILLON_BINARY) && defined(QUILLON_EXAMPLE_DB) && defined(SQLITE3_PROGRAM)

namespace quillon::testing {
namespace {

const std::filesystem::path kSource = QUILLON_SOURCE_DIR;

// Runs a command line in `dir`; fails the test with its standard error when it fails.
ShellOutput RunIn(const TempDir& dir, const std::string& line) {
    const std::string err = dir.File(".stderr");
    const ShellOutput o =
        RunShell("cd " + ShellQuote(dir.Path().string()) + " && " + line + " 2>" + ShellQuote(err));
    EXPECT_EQ(o.status, 0) << line << "\n" << ReadFile(err);
    return o;
}

std::string Quillon() {
    return ShellQuote(QUILLON_BINARY);
}

// A record as the reports print it: its sale date, then (after the item, which a narrow
// cell may wrap onto lines of its own) its quantity followed by the price, on one line.
// Several sales may look alike, so records are counted per look, "date qty".
using Records = std::map<std::string, int>;

// The records of the sales table.
Records ExpectedRecords(const TempDir& dir) {
    const ShellOutput o = RunIn(dir, ShellQuote(SQLITE3_PROGRAM) + " -separator ' ' " +
                                         ShellQuote(QUILLON_EXAMPLE_DB) +
                                         " 'SELECT saledate, qty FROM sales_report'");
    Records r;
    std::istringstream in(o.out);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty()) ++r[line];
    }
    return r;
}

// The records printed in a PDF file, and on how many sheets.
struct Printed {
    Records records;
    int sheets = 0;
};

Printed PrintedRecords(const std::string& pdf) {
    Printed p;
    p.sheets = PdfPageCount(pdf);
    static const std::regex blanks(R"(\s+)");
    static const std::regex record(R"((\d{4}-\d\d-\d\d) (?:.*? )?(\d+) \d+\.\d+)");
    std::istringstream in(PdfText(pdf));
    for (std::string line; std::getline(in, line);) {
        const std::string l = std::regex_replace(line, blanks, " ");
        for (auto it = std::sregex_iterator(l.begin(), l.end(), record);
             it != std::sregex_iterator(); ++it) {
            ++p.records[(*it)[1].str() + " " + (*it)[2].str()];
        }
    }
    return p;
}

// Every record printed as often as the data holds it.
void ExpectEveryRecordOnce(const Records& expected, const Printed& printed, const char* what) {
    int total = 0;
    for (const auto& [r, n] : expected) total += n;
    int seen = 0;
    for (const auto& [r, n] : printed.records) seen += n;
    std::string wrong;
    int wrong_count = 0;
    for (const auto& [r, n] : expected) {
        const auto it = printed.records.find(r);
        const int got = it == printed.records.end() ? 0 : it->second;
        if (got != n && ++wrong_count <= 5) {
            wrong += "  " + r + ": " + std::to_string(got) + " of " + std::to_string(n) + "\n";
        }
    }
    EXPECT_EQ(wrong_count, 0) << what << ": " << seen << " of " << total << " records printed, on "
                              << printed.sheets << " sheets; e.g.\n"
                              << wrong;
    EXPECT_EQ(seen, total) << what;
}

TEST(ReportRecordsPdf, TheBundledGroupedSalesReportPrintsEveryRecordOnce) {
    const TempDir dir;
    RunIn(dir, Quillon() + " run " + ShellQuote((kSource / "examples/sales_report.htm").string()) +
                   " --data " + ShellQuote(QUILLON_EXAMPLE_DB) +
                   " --table sales_report --group CUSTOMER --out report.htm --no-progress");
    RunIn(dir, Quillon() + " render report.htm --pdf report.pdf");
    const Printed printed = PrintedRecords(dir.File("report.pdf"));
    ExpectEveryRecordOnce(ExpectedRecords(dir), printed, "sales_report.htm");
}

TEST(ReportRecordsPdf, TheExpertsReportPrintsEveryRecordOnce) {
    const TempDir dir;
    const std::string data = " --data " + ShellQuote(QUILLON_EXAMPLE_DB) + " --table sales_report";
    RunIn(dir, Quillon() + " expert" + data + " --out template.htm");
    RunIn(dir, Quillon() + " run template.htm" + data + " --out report.htm --no-progress");
    RunIn(dir, Quillon() + " render report.htm --pdf report.pdf");
    const Printed printed = PrintedRecords(dir.File("report.pdf"));
    ExpectEveryRecordOnce(ExpectedRecords(dir), printed, "the expert's report");
}

TEST(ReportRecordsPdf, TheLongBenchReportPrintsEveryRowOnceAndWhole) {
    const TempDir dir;
    if (RunShell("command -v python3 >/dev/null").status != 0) GTEST_SKIP() << "no python3";
    const std::string bench = (kSource / "bench").string();
    RunIn(dir, "python3 " + ShellQuote(bench + "/make_report_html.py") + " 20 report.htm");
    RunIn(dir, Quillon() + " render report.htm --pdf report.pdf --landscape");
    // One line of figures, ending in OK or FAULTS.
    const ShellOutput check = RunShell("python3 " + ShellQuote(bench + "/check_pdf_pages.py") +
                                       " " + ShellQuote(dir.File("report.pdf")) + " 20");
    EXPECT_EQ(check.status, 0) << check.out;
}

}  // namespace
}  // namespace quillon::testing

#endif
