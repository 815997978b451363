// Where a report run writes: nothing that looks like a report after a failed run, an
// earlier report kept, standard output written in order, a second parse to standard
// output, and message pages for templates that cannot be loaded.

#include <string>

#include "tests/quillon_run/command_runner.h"

namespace quillon::testing {
namespace {

const std::filesystem::path kData =
    std::filesystem::path(QUILLON_SOURCE_DIR) / "tests/quillon_run/data";

class ReportFilesTest : public CommandTest {
  protected:
    std::string Groups() const {
        return "run " + Quoted(kData / "groups.txt") + " --group city --group customer";
    }
};

TEST_F(ReportFilesTest, FailedRunLeavesNoReportAndKeepsAnEarlierOne) {
    WriteWhole(dir_ / "open_quote.csv",
               "city,customer,item,qty,amount\nKaunas,Alpha,Lamp,2,10.5\nKaunas,\"Beta,Lamp,3,1\n");
    CommandResult r = Quillon(Groups() + " --data open_quote.csv --out fresh.txt");
    EXPECT_EQ(r.status, 3) << r.err;
    EXPECT_EQ(Listing(), "open_quote.csv ") << "a failed run left files behind";

    WriteWhole(dir_ / "report.txt", "the earlier report\n");
    r = Quillon(Groups() + " --data open_quote.csv --out report.txt");
    EXPECT_EQ(r.status, 3) << r.err;
    EXPECT_EQ(ReadWhole(dir_ / "report.txt"), "the earlier report\n");
    EXPECT_EQ(Listing(), "open_quote.csv report.txt ");

    // A run that succeeds replaces it; multi-level runs move every level file into place.
    r = Quillon(Groups() + " --data " + Quoted(kData / "sales.csv") +
                " --multi-level --out report.txt");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadWhole(dir_ / "report.txt"), ReadWhole(kData / "groups_expected.txt"));
    EXPECT_EQ(Listing(), "open_quote.csv report.t04 report.t05 report.txt ");
}

TEST_F(ReportFilesTest, StandardOutputSharedWithOtherWritersStaysInOrder) {
    const std::string expected = ReadWhole(kData / "groups_expected.txt");
    const std::string run = Quoted(std::string(QUILLON_BINARY)) + " " + Groups() + " --data " +
                            Quoted(kData / "sales.csv") + " --out -";
    CommandResult r = Shell("{ echo before; " + run + "; echo done; } > log.txt");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadWhole(dir_ / "log.txt"), "before\n" + expected + "done\n");

    // A second parse works on a temporary file that is then copied out.
    r = Quillon(Groups() + " --data " + Quoted(kData / "sales.csv") + " --double-parse --out -");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, expected);
    EXPECT_EQ(Listing(), "log.txt ");
}

TEST_F(ReportFilesTest, MessagesOfAnUnloadableHtmlTemplateBecomeThePage) {
    WriteWhole(dir_ / "bad.htm", "no header here\r\n");
    CommandResult r = Quillon("run bad.htm --data " + Quoted(kData / "sales.csv") +
                              " --msg-to-html --out out.htm");
    EXPECT_EQ(r.status, 2) << r.err;
    const std::string page = ReadWhole(dir_ / "out.htm");
    EXPECT_NE(page.find("<h5>Format not found"), std::string::npos) << page;

    r = Quillon("run missing.htm --data " + Quoted(kData / "sales.csv") + " --msg-to-html --out -");
    EXPECT_EQ(r.status, 2) << r.err;
    EXPECT_NE(r.out.find("<h5>template not found: missing.htm"), std::string::npos) << r.out;

    // Without the option, or with a text template, messages go to standard error only.
    r = Quillon("run bad.htm --data " + Quoted(kData / "sales.csv") + " --out plain.htm");
    EXPECT_EQ(r.status, 2);
    EXPECT_FALSE(std::filesystem::exists(dir_ / "plain.htm"));

    // An error during the run still reaches the output as its page.
    WriteWhole(dir_ / "rep.htm",
               "^^R\r\n@3\r\n<P><\xC2\xBFITEM>??????"
               "</P>\r\n");
    WriteWhole(dir_ / "short.csv", "item,qty\nLamp,1\nDesk\n");
    r = Quillon("run rep.htm --data short.csv --msg-to-html --out run.htm");
    EXPECT_EQ(r.status, 3) << r.err;
    EXPECT_NE(ReadWhole(dir_ / "run.htm").find("line 3: expected 2 fields"), std::string::npos)
        << ReadWhole(dir_ / "run.htm");
}

}  // namespace
}  // namespace quillon::testing
