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

// A record as the reports print it: sale date, item and quantity, in this order on one
// line. Several sales may look alike, so records are counted per look.
using Records = std::map<std::string, int>;

std::string Collapsed(const std::string& line) {
    return std::regex_replace(line, std::regex(R"(\s+)"), " ");
}

// The records of the sales table, as "date item qty".
Records ExpectedRecords(const TempDir& dir) {
    const ShellOutput o = RunIn(dir, ShellQuote(SQLITE3_PROGRAM) + " -separator ' ' " +
                                         ShellQuote(QUILLON_EXAMPLE_DB) +
                                         " 'SELECT saledate, item, qty FROM sales_report'");
    Records r;
    std::istringstream in(o.out);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty()) ++r[line];
    }
    return r;
}

// The item names, for finding records in the printed text.
std::string ItemPattern(const TempDir& dir) {
    const ShellOutput o =
        RunIn(dir, ShellQuote(SQLITE3_PROGRAM) + " " + ShellQuote(QUILLON_EXAMPLE_DB) +
                       " 'SELECT DISTINCT item FROM sales_report'");
    std::string pattern;
    std::istringstream in(o.out);
    for (std::string item; std::getline(in, item);) {
        if (item.empty()) continue;
        if (!pattern.empty()) pattern += "|";
        pattern += std::regex_replace(item, std::regex(R"([.^$|()\[\]{}*+?\\])"), R"(\$&)");
    }
    return pattern;
}

// The records printed in a PDF file, and on how many sheets.
struct Printed {
    Records records;
    int sheets = 0;
};

Printed PrintedRecords(const std::string& pdf, const std::string& items) {
    Printed p;
    p.sheets = PdfPageCount(pdf);
    const std::regex record(R"((\d{4}-\d\d-\d\d) ()" + items + R"() (\d+)\b)");
    std::istringstream in(PdfText(pdf));
    for (std::string line; std::getline(in, line);) {
        const std::string l = Collapsed(line);
        for (auto it = std::sregex_iterator(l.begin(), l.end(), record);
             it != std::sregex_iterator(); ++it) {
            ++p.records[(*it)[1].str() + " " + (*it)[2].str() + " " + (*it)[3].str()];
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
    const Printed printed = PrintedRecords(dir.File("report.pdf"), ItemPattern(dir));
    ExpectEveryRecordOnce(ExpectedRecords(dir), printed, "sales_report.htm");
}

TEST(ReportRecordsPdf, TheExpertsReportPrintsEveryRecordOnce) {
    const TempDir dir;
    const std::string data = " --data " + ShellQuote(QUILLON_EXAMPLE_DB) + " --table sales_report";
    RunIn(dir, Quillon() + " expert" + data + " --out template.htm");
    RunIn(dir, Quillon() + " run template.htm" + data + " --out report.htm --no-progress");
    RunIn(dir, Quillon() + " render report.htm --pdf report.pdf");
    const Printed printed = PrintedRecords(dir.File("report.pdf"), ItemPattern(dir));
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
