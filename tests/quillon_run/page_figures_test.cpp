// The running figures of page footers and the page after each group, over a long run.

#include <string>
#include <vector>

#include "tests/quillon_run/command_runner.h"

namespace quillon::testing {
namespace {

#define NM "<\xC2\xBF"

class PageFiguresTest : public CommandTest {
  protected:
    void SetUp() override {
        CommandTest::SetUp();
        std::string csv = "grp,amount\n";
        for (int i = 1; i <= 57; ++i) {
            csv.append(i <= 20 ? "a" : i <= 45 ? "b" : "c").append(",");
            csv.append(std::to_string(i)).append("\n");
        }
        WriteWhole(dir_ / "data.csv", csv);
        WriteWhole(dir_ / "rep.txt",
                   "^^R\r\n@1\r\nPAGE\r\n@3\r\nLINE " NM "AMOUNT>???\r\n@4\r\nSUM " NM "GRP>? " NM
                   "AMOUNT>?????\r\n@14\r\nFOOT " NM "COUNT>??? " NM
                   "AMOUNT>?????\r\n@15\r\nEND " NM "COUNT>???\r\n");
    }
    // The pages of the report, split at the form feeds.
    static std::vector<std::string> Pages(const std::string& report) {
        std::vector<std::string> pages(1);
        for (char c : report) {
            if (c == '\f') {
                pages.emplace_back();
            } else {
                pages.back().push_back(c);
            }
        }
        return pages;
    }
};

TEST_F(PageFiguresTest, FooterFiguresAreThoseOfTheRecordsPrintedBeforeIt) {
    const CommandResult r =
        Quillon("run rep.txt --data data.csv --group grp --page-size 10 --out -");
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<std::string> pages = Pages(r.out);
    ASSERT_GT(pages.size(), 3u) << r.out;
    int count = 0;
    int total = 0;
    for (std::size_t p = 0; p + 1 < pages.size(); ++p) {
        std::size_t at = 0;
        while ((at = pages[p].find("LINE ", at)) != std::string::npos) {
            ++count;
            total += std::stoi(pages[p].substr(at + 5, 3));
            at += 5;
        }
        const std::size_t foot = pages[p].find("FOOT ");
        ASSERT_NE(foot, std::string::npos) << pages[p];
        EXPECT_EQ(std::stoi(pages[p].substr(foot + 5, 3)), count) << "page " << p + 1;
        EXPECT_EQ(std::stoi(pages[p].substr(foot + 9, 5)), total) << "page " << p + 1;
    }
    EXPECT_NE(pages.back().find("END  57"), std::string::npos) << pages.back();
}

TEST_F(PageFiguresTest, PagePerGroupStartsEachGroupOnAPageOfItsOwn) {
    const CommandResult r =
        Quillon("run rep.txt --data data.csv --group grp --page-per-group --out -");
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<std::string> pages = Pages(r.out);
    ASSERT_EQ(pages.size(), 3u) << r.out;
    EXPECT_NE(pages[0].find("SUM a   210\r\nFOOT  20   210"), std::string::npos) << pages[0];
    EXPECT_EQ(pages[1].find("PAGE\r\nLINE  21"), 2u) << pages[1];
    EXPECT_NE(pages[2].find("SUM c   618\r\nEND  57\r\n"), std::string::npos) << pages[2];
}

}  // namespace
}  // namespace quillon::testing
