// quillon render on every kind of report: RTF through the RTF reader with a sheet per
// \page, text with a sheet per form feed, and files of no report kind refused.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>
#include <string>

#include "tests/common/pdf_text.h"
#include "tests/common/shell_command.h"
#include "tests/common/temp_dir.h"

namespace quillon::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

#ifdef QUILLON_BINARY
// quillon render ARGS, with standard error after standard output.
ShellOutput RenderWithMessages(const std::string& args) {
    return RunShell("'" QUILLON_BINARY "' render " + args + " 2>&1");
}

// An RTF invoice report as the engine writes it: each invoice whole on a sheet of its own,
// with its customer's total, and no RTF left in the text.
void ExpectOneInvoicePerSheet(const std::string& rtf, const std::string& pdf, int invoices) {
    const ShellOutput r = RenderWithMessages(ShellQuote(rtf) + " --pdf " + ShellQuote(pdf));
    ASSERT_EQ(r.status, 0) << r.out;
    ASSERT_EQ(PdfPageCount(pdf), invoices);
    std::set<std::string> customers;
    const std::regex customer(R"(Customer: (\S+(?: \S+)*))");
    for (int sheet = 1; sheet <= invoices; ++sheet) {
        const std::string text = PdfText(pdf, sheet);
        std::smatch m;
        ASSERT_TRUE(std::regex_search(text, m, customer)) << text;
        customers.insert(m[1]);
        EXPECT_THAT(text, HasSubstr("Total " + m[1].str())) << "sheet " << sheet;
        EXPECT_THAT(text, HasSubstr("VAT 20%"));
        EXPECT_THAT(text,
                    HasSubstr("Page " + std::to_string(sheet) + " of " + std::to_string(invoices)));
        EXPECT_THAT(text, Not(HasSubstr("\\")));
        EXPECT_THAT(text, Not(HasSubstr("{")));
    }
    EXPECT_EQ(customers.size(), static_cast<std::size_t>(invoices));
    EXPECT_THAT(PdfText(pdf, 1), HasSubstr("Invoice"));
}

TEST(RenderKinds, RtfReportPrintsEachInvoiceOnASheetOfItsOwn) {
    const TempDir dir;
    ExpectOneInvoicePerSheet(QUILLON_TEST_DATA "/rtf/engine_invoice.rtf", dir.File("inv.pdf"), 6);
    // The columns of the fixed-pitch lines stay in line: the amounts end in one column.
    const std::string text = PdfText(dir.File("inv.pdf"), 1);
    EXPECT_TRUE(std::regex_search(
        text, std::regex(R"(2026-01-01 +Paper A4, 500 sheets +7 +4\.75 +33\.25)")))
        << text;
}

#ifdef QUILLON_EXAMPLE_DB
TEST(RenderKinds, TheInvoicesOfTheBundledExamplePrintOnePerSheet) {
    const TempDir dir;
    const std::string rtf = dir.File("invoice.rtf");
    ASSERT_EQ(RunShell("'" QUILLON_BINARY "' run " +
                       ShellQuote(QUILLON_SOURCE_DIR "/examples/invoice.rtf") + " --data " +
                       ShellQuote(QUILLON_EXAMPLE_DB) +
                       " --table sales_report --group CUSTOMER --page-per-group --out " +
                       ShellQuote(rtf) + " >/dev/null 2>&1")
                  .status,
              0);
    ExpectOneInvoicePerSheet(rtf, dir.File("invoice.pdf"), 6);
}
#endif

TEST(RenderKinds, TextReportBreaksSheetsAtFormFeeds) {
    const TempDir dir;
    // Report pages as the engine writes them: the footer, then the form feed before the
    // next page's heading; a file named .txt that starts as RTF would be RTF, this one is not.
    std::string report;
    for (int page = 1; page <= 4; ++page) {
        if (page > 1) report += "\f";
        report += "Report page " + std::to_string(page) + "\r\n";
        for (int line = 1; line <= 5; ++line) {
            report += "  line " + std::to_string(page) + "." + std::to_string(line) + "\r\n";
        }
        report += "(continued)\r\n";
    }
    const std::string txt = dir.Write("report.txt", report).string();
    const std::string pdf = dir.File("report.pdf");
    const ShellOutput r = RenderWithMessages(ShellQuote(txt) + " --pdf " + ShellQuote(pdf));
    ASSERT_EQ(r.status, 0) << r.out;
    ASSERT_EQ(PdfPageCount(pdf), 4);
    for (int page = 1; page <= 4; ++page) {
        const std::string text = PdfText(pdf, page);
        EXPECT_THAT(text, HasSubstr("Report page " + std::to_string(page)));
        EXPECT_THAT(text, HasSubstr("line " + std::to_string(page) + ".5"));
        EXPECT_THAT(text, HasSubstr("Page " + std::to_string(page) + " of 4"));
    }
}

TEST(RenderKinds, FilesOfNoReportKindAreRefused) {
    const TempDir dir;
    const std::string pdf = dir.File("x.pdf");
    // A picture: binary data, whatever its name.
    for (const char* name : {"logo.png", "logo.txt"}) {
        const std::string png =
            dir.Write(name, std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x01", 20)).string();
        const ShellOutput r = RenderWithMessages(ShellQuote(png) + " --pdf " + ShellQuote(pdf));
        EXPECT_EQ(r.status, 1) << name;
        EXPECT_THAT(r.out, HasSubstr(std::string(name) + " is binary data"));
        EXPECT_FALSE(std::filesystem::exists(pdf));
    }
    // Text under a name of no report kind.
    const std::string notes = dir.Write("notes.dat", "just text\n").string();
    ShellOutput r = RenderWithMessages(ShellQuote(notes) + " --pdf " + ShellQuote(pdf));
    EXPECT_EQ(r.status, 1);
    EXPECT_THAT(r.out, HasSubstr("notes.dat has the extension .dat, which is no report kind"));
    // An .rtf that is no RTF says so.
    const std::string fake = dir.Write("fake.rtf", "plain words\n").string();
    r = RenderWithMessages(ShellQuote(fake) + " --png " + ShellQuote(dir.File("pages")));
    EXPECT_EQ(r.status, 1);
    EXPECT_THAT(r.out, HasSubstr("fake.rtf: not an RTF document"));
    EXPECT_FALSE(std::filesystem::exists(pdf));
    // Rich text under any name is RTF.
    const std::string rich = dir.Write("letter.htm", "{\\rtf1 {\\b Dear} reader\\par}").string();
    r = RenderWithMessages(ShellQuote(rich) + " --pdf " + ShellQuote(pdf));
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_THAT(PdfText(pdf), HasSubstr("Dear reader"));
}
#endif

}  // namespace
}  // namespace quillon::testing
