// quillon run --out REPORT.pdf: the report of an HTML, text or RTF template printed to PDF
// and read back with poppler; every record printed once; page options; failures leave no
// PDF behind.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "tests/common/pdf_text.h"
#include "tests/quillon_run/command_runner.h"

namespace quillon::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

// "<" and the inverted question mark (UTF-8): the name markup of a slot.
const std::string kName = "<\xC2\xBF";

class RunPdfOutputTest : public CommandTest {
  protected:
    void SetUp() override {
        CommandTest::SetUp();
        std::string csv = "code,name,qty\n";
        for (int i = 1; i <= kRecords; ++i) {
            const std::string n = (i < 10 ? "0" : "") + std::to_string(i);
            csv += "R" + n + ",Item " + n + "," + std::to_string(i) + "\n";
        }
        WriteWhole(dir_ / "stock.csv", csv);
        WriteWhole(dir_ / "stock.htm",
                   "^^LIST<BR>\r\n@0<BR>\r\n<HTML><BODY><H1>Stock list</H1>\r\n"
                   "@3<BR>\r\n<P>" +
                       kName + "CODE>??? " + kName + "NAME>?????????? " + kName +
                       "QTY>???"
                       "</P>\r\n"
                       "@15<BR>\r\n<P>End of list</P></BODY></HTML>\r\n");
        WriteWhole(dir_ / "stock.txt", "^^LIST\r\n@1\r\nPage " + kName + "PAGENO>???\r\n@3\r\n" +
                                           kName + "CODE>??? " + kName +
                                           "NAME>??????????\r\n"
                                           "@14\r\n(continued)\r\n");
    }

    static constexpr int kRecords = 30;

    // How often each record's code is in the text; every code must be there once.
    static void ExpectEveryRecordOnce(const std::string& text) {
        for (int i = 1; i <= kRecords; ++i) {
            const std::string code = std::string("R") + (i < 10 ? "0" : "") + std::to_string(i);
            const std::regex word("\\b" + code + "\\b");
            const auto n = std::distance(std::sregex_iterator(text.begin(), text.end(), word),
                                         std::sregex_iterator());
            EXPECT_EQ(n, 1) << code;
        }
    }
};

TEST_F(RunPdfOutputTest, HtmlTemplatePrintsEveryRecordOnceAndLeavesOnlyThePdf) {
    const CommandResult r =
        Quillon("run stock.htm --data stock.csv --out Stock.PDF --page-size 12 --no-progress");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.err, HasSubstr("written to Stock.PDF ("));
    const std::string pdf = (dir_ / "Stock.PDF").string();
    const int sheets = PdfPageCount(pdf);
    ASSERT_GE(sheets, 3);  // three report pages of twelve lines at least
    const std::string text = PdfText(pdf);
    ExpectEveryRecordOnce(text);
    EXPECT_THAT(text, HasSubstr("Stock list"));
    EXPECT_THAT(text, HasSubstr("End of list"));
    EXPECT_THAT(PdfText(pdf, 1), HasSubstr("Page 1 of " + std::to_string(sheets)));
    EXPECT_THAT(text, Not(HasSubstr("<PAGE>")));
    // The report it was printed from and the staged folder are gone.
    EXPECT_EQ(Listing(), "Stock.PDF stock.csv stock.htm stock.txt ");
}

TEST_F(RunPdfOutputTest, TextTemplatePrintsEachReportPageOnASheet) {
    const CommandResult r =
        Quillon("run stock.txt --data stock.csv --out stock.pdf --page-size 12");
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string pdf = (dir_ / "stock.pdf").string();
    const int sheets = PdfPageCount(pdf);
    ASSERT_GE(sheets, 3);
    ExpectEveryRecordOnce(PdfText(pdf));
    for (int sheet = 1; sheet <= sheets; ++sheet) {
        // Each sheet starts with its report page's heading.
        const std::string text = PdfText(pdf, sheet);
        const std::size_t first = text.find_first_not_of(" \n");
        ASSERT_NE(first, std::string::npos) << "sheet " << sheet << " is empty";
        EXPECT_TRUE(
            std::regex_search(text.substr(first), std::regex("^Page +" + std::to_string(sheet))))
            << text;
    }
    EXPECT_EQ(Listing(), "stock.csv stock.htm stock.pdf stock.txt ");
}

TEST_F(RunPdfOutputTest, RtfTemplatePrintsOneInvoicePerSheet) {
    WriteWhole(dir_ / "sales.csv",
               "saledate,customer,item,qty,price,amount\n"
               "2026-01-01,Alpha,Lamp,2,5.25,10.50\n"
               "2026-01-02,Alpha,Desk,1,100,100\n"
               "2026-01-03,Beta,Lamp,3,5.25,15.75\n"
               "2026-01-04,Gamma,Chair,4,50,200\n");
    const CommandResult r =
        Quillon("run " + Quoted(std::string(QUILLON_SOURCE_DIR "/examples/invoice.rtf")) +
                " --data sales.csv --group customer --page-per-group --out invoices.pdf"
                " --paper Letter --landscape --margins 1,1,1.5,1.5");
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string pdf = (dir_ / "invoices.pdf").string();
    ASSERT_EQ(PdfPageCount(pdf), 3);
    const char* customers[] = {"Alpha", "Beta", "Gamma"};
    for (int sheet = 1; sheet <= 3; ++sheet) {
        const std::string text = PdfText(pdf, sheet);
        const std::string customer = customers[sheet - 1];
        EXPECT_THAT(text, HasSubstr("Customer: " + customer));
        EXPECT_THAT(text, HasSubstr("Total " + customer));
        EXPECT_THAT(text, Not(HasSubstr("\\par")));
    }
    EXPECT_THAT(PdfText(pdf, 1), HasSubstr("Invoice"));
    EXPECT_THAT(PdfText(pdf, 3), HasSubstr("200.00"));
    // Letter paper sideways.
    EXPECT_THAT(RunShell("pdfinfo " + Quoted(pdf)).out, HasSubstr("792 x 612 pts"));
}

TEST_F(RunPdfOutputTest, FailuresLeaveNoPdfAndKeepAnEarlierOne) {
    // Margins that leave no page body: nothing is left.
    CommandResult r = Quillon("run stock.htm --data stock.csv --out new.pdf --margins 15,15,2,2");
    EXPECT_EQ(r.status, 64);
    EXPECT_THAT(r.err, HasSubstr("cannot be printed to new.pdf"));
    EXPECT_EQ(Listing(), "stock.csv stock.htm stock.txt ");

    // A run that fails keeps the earlier PDF as it was.
    WriteWhole(dir_ / "old.pdf", "earlier");
    r = Quillon("run stock.htm --data missing.csv --out old.pdf");
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(ReadWhole(dir_ / "old.pdf"), "earlier");
    EXPECT_EQ(Listing(), "old.pdf stock.csv stock.htm stock.txt ");

    // Usage errors, before anything is run.
    EXPECT_EQ(Quillon("run stock.htm --data stock.csv --out x.pdf --paper B7").status, 64);
    r = Quillon("run stock.htm --data stock.csv --out x.pdf --margins 1,2");
    EXPECT_EQ(r.status, 64);
    EXPECT_THAT(r.err, HasSubstr("--margins 1,2 is not four centimetre values"));
    EXPECT_EQ(Quillon("run stock.htm --data stock.csv --out x.pdf --view").status, 64);
    EXPECT_EQ(Quillon("run stock.htm --data stock.csv --out x.pdf --multi-level").status, 64);
    EXPECT_EQ(Quillon("run stock.htm --data stock.csv --out x.pdf --msg-to-html").status, 64);
    // The output folder does not exist.
    r = Quillon("run stock.htm --data stock.csv --out no/such/x.pdf");
    EXPECT_EQ(r.status, 4);
    EXPECT_THAT(r.err, HasSubstr("File Open Error no/such/x.pdf: "));
    EXPECT_EQ(Listing(), "old.pdf stock.csv stock.htm stock.txt ");

    // Page options without a .pdf output are said to be ignored.
    r = Quillon("run stock.htm --data stock.csv --out list.htm --landscape --no-progress");
    EXPECT_EQ(r.status, 0);
    EXPECT_THAT(r.err, HasSubstr("apply to a .pdf output only; ignored"));
}

}  // namespace
}  // namespace quillon::testing
