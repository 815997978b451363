// The README's example commands and its worked example, run as written, and what their
// reports look like: HTML pages whose tables close before each page break, one RTF invoice
// per page.

#include <regex>
#include <string>
#include <vector>

#include "tests/quillon_run/command_runner.h"

namespace quillon::testing {
namespace {

const std::filesystem::path kSource = QUILLON_SOURCE_DIR;

// The text of the fenced block that follows the first line containing marker.
std::string BlockAfter(const std::string& text, const std::string& marker) {
    const std::size_t at = text.find(marker);
    if (at == std::string::npos) return {};
    const std::size_t open = text.find("```", at);
    const std::size_t body = text.find('\n', open) + 1;
    const std::size_t close = text.find("\n```", body);
    return text.substr(body, close + 1 - body);
}

// Every line without CR and trailing blanks.
std::string Plain(const std::string& text) {
    std::string out;
    std::string line;
    for (char c : text + "\n") {
        if (c == '\r') continue;
        if (c != '\n') {
            line.push_back(c);
            continue;
        }
        line.erase(line.find_last_not_of(' ') + 1);
        out += line + "\n";
        line.clear();
    }
    return out.substr(0, out.size() - 1);
}

class ReadmeExamplesTest : public CommandTest {
  protected:
    void SetUp() override {
        CommandTest::SetUp();
        readme_ = ReadWhole(kSource / "README.md");
        ASSERT_FALSE(readme_.empty());
    }
    std::string readme_;
};

TEST_F(ReadmeExamplesTest, WorkedExamplePrintsWhatTheReadmeShows) {
    WriteWhole(dir_ / "sales.csv", BlockAfter(readme_, "with `sales.csv`"));
    WriteWhole(dir_ / "groups.txt", BlockAfter(readme_, "template `groups.txt`"));
    const std::string shown = BlockAfter(readme_, "--group city --group customer --out -` prints");
    ASSERT_FALSE(shown.empty());
    const CommandResult r =
        Quillon("run groups.txt --data sales.csv --group city --group customer --out -");
    ASSERT_EQ(r.status, 0) << r.err;
    // The README shows the lines without their CR LF ends and the blanks that fill slots,
    // and says so.
    EXPECT_EQ(Plain(r.out), shown);
    EXPECT_NE(r.out.find("\r\n"), std::string::npos);
    EXPECT_NE(readme_.find("CR LF"), std::string::npos);
}

TEST_F(ReadmeExamplesTest, ExampleCommandsRunAndTheirReportsHoldTogether) {
    ASSERT_EQ(Shell(Quoted(std::string(SQLITE3_PROGRAM)) + " sales.db '.read " +
                    (kSource / "examples/sales.sql").string() + "'")
                  .status,
              0);
    // The commands of the README, with the build folder's paths pointed at this test's.
    const std::regex command(R"(build/apps/quillon/quillon run examples/(?:[^\n]|\\\n)*[^\\]\n)");
    std::vector<std::string> commands;
    for (auto it = std::sregex_iterator(readme_.begin(), readme_.end(), command);
         it != std::sregex_iterator(); ++it) {
        std::string c = it->str();
        c.pop_back();  // the line end
        c = std::regex_replace(c, std::regex("build/apps/quillon/quillon"),
                               Quoted(std::string(QUILLON_BINARY)));
        c = std::regex_replace(c, std::regex("build/examples/sales.db"), Quoted(dir_ / "sales.db"));
        c = std::regex_replace(c, std::regex("--out build/"), "--out " + dir_.string() + "/");
        commands.push_back(c);
    }
    ASSERT_EQ(commands.size(), 4u) << readme_;
    for (const std::string& c : commands) {
        const CommandResult r = Shell("cd " + Quoted(kSource) + " && " + c);
        EXPECT_EQ(r.status, 0) << c << "\n" << r.err;
    }

    // HTML: at every page break (and at the end) no table is open, and every row is in one.
    const CommandResult html =
        Shell(Quoted(std::string(QUILLON_BINARY)) + " run " +
              Quoted(kSource / "examples/sales_report.htm") +
              " --data sales.db --table sales_report --group CUSTOMER --page-size 20 --out -");
    ASSERT_EQ(html.status, 0) << html.err;
    int depth = 0;
    int breaks = 0;
    const std::regex tag(R"(<(/?)(TABLE|TR|PAGE)\b)", std::regex::icase);
    for (auto it = std::sregex_iterator(html.out.begin(), html.out.end(), tag);
         it != std::sregex_iterator(); ++it) {
        const std::string name = (*it)[2].str();
        const bool close = (*it)[1].length() > 0;
        if (name == "TABLE" || name == "table") {
            depth += close ? -1 : 1;
            ASSERT_GE(depth, 0) << "a table closed twice";
            ASSERT_LE(depth, 1) << "a table opened inside another";
        } else if (name == "TR" || name == "tr") {
            if (!close) {
                EXPECT_EQ(depth, 1) << "a row outside a table";
            }
        } else {
            ++breaks;
            EXPECT_EQ(depth, 0) << "page break " << breaks << " inside a table";
        }
    }
    EXPECT_GT(breaks, 3);
    EXPECT_EQ(depth, 0);

    // RTF: one invoice per page, six customers.
    const std::string invoices = ReadWhole(dir_ / "invoice.rtf");
    int pages = 0;
    for (std::size_t at = invoices.find("\\page"); at != std::string::npos;
         at = invoices.find("\\page", at + 1)) {
        if (invoices.compare(at, 6, "\\pard") != 0) ++pages;
    }
    EXPECT_EQ(pages, 5) << invoices;
}

}  // namespace
}  // namespace quillon::testing
