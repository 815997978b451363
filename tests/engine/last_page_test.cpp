// The last page of a run: when the data ends on a full page, the closing sum lines and the
// report end stay on that page; an explicit page break after a group still separates the
// groups but leaves no empty page at the end.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/quillon.h"
#include "platform/core/host_services.h"
#include "platform/core/stream.h"
#include "tests/engine/engine_test_support.h"

namespace quillon {
namespace {

#define NM "<\xC2\xBF"

// One line per level: report head, page heading, detail, group sum, footer, report end.
constexpr const char* kTemplate =
    "^^R\r\n@0\r\nHEAD\r\n@1\r\nPAGE " NM "PAGENO>??\r\n@3\r\nLINE " NM
    "VAL>???\r\n"
    "@4\r\nSUM " NM "KEY>???\r\n@14\r\nFOOT\r\n@15\r\nEND\r\n";

class LastPageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::WriteFile(dir_.File("rep.txt"), kTemplate);
        report_.SetFormatFile(dir_.File("rep.txt"));
        report_.SetFormatName("*");
        report_.SetPgSize(10);
        report_.SetFirstPgSize(10);
        report_.OnNext = [this](TQuillon&, bool& next) {
            ++cur_;
            next = cur_ < keys_.size();
        };
        report_.OnGetGroupIndex = [this](TQuillon&, TReportLevel level, std::string& idx) {
            if (level == rlSum01 && cur_ < keys_.size()) idx = keys_[cur_];
        };
        report_.OnGetDetailLine = [this](TQuillon& r) {
            r.FieldByName("VAL").SetAsString(std::to_string(cur_ + 1));
        };
        report_.OnGetSumLine = [this](TQuillon& r, TReportLevel level) {
            if (level != rlSum01) return;
            r.FieldByName("KEY").SetAsString(keys_[cur_ - 1]);
            if (page_after_group_) r.NewPageAfter(rlDetail);
        };
    }

    std::string Run(std::vector<std::string> keys) {
        keys_ = std::move(keys);
        cur_ = static_cast<std::size_t>(-1);
        TMemoryStream stream;
        EXPECT_TRUE(report_.Execute(&stream));
        return stream.Data();
    }
    static int Count(const std::string& s, const std::string& what) {
        int n = 0;
        for (auto at = s.find(what); at != std::string::npos; at = s.find(what, at + 1)) ++n;
        return n;
    }

    testing::TempDir dir_;
    testing::RecordingHost host_;
    TQuillon report_{host_};
    std::vector<std::string> keys_;
    std::size_t cur_ = 0;
    bool page_after_group_ = false;
};

TEST_F(LastPageTest, DataEndingOnAFullPageKeepsSumsAndEndOnThatPage) {
    // Head and page heading, then eight detail lines: the page is exactly full.
    const std::string out = Run(std::vector<std::string>(8, "A"));
    EXPECT_EQ(Count(out, "\f"), 0) << out;
    EXPECT_EQ(Count(out, "FOOT"), 0) << out;
    EXPECT_EQ(Count(out, "PAGE"), 1) << out;
    EXPECT_NE(out.find("LINE   8\r\nSUM A  \r\nEND\r\n"), std::string::npos) << out;

    // One more line still breaks the page before the last detail line.
    const std::string longer = Run(std::vector<std::string>(9, "A"));
    EXPECT_EQ(Count(longer, "\f"), 1) << longer;
    EXPECT_NE(longer.find("FOOT\r\n\f\r\nPAGE  2\r\nLINE   9\r\nSUM A  \r\nEND"), std::string::npos)
        << longer;
}

TEST_F(LastPageTest, PageAfterEachGroupLeavesNoEmptyLastPage) {
    page_after_group_ = true;
    const std::string out = Run({"A", "A", "B", "C"});
    // Three groups, three pages: the breaks come between groups only.
    EXPECT_EQ(Count(out, "\f"), 2) << out;
    EXPECT_EQ(Count(out, "FOOT"), 2) << out;
    EXPECT_NE(out.find("SUM A  \r\nFOOT\r\n\f\r\nPAGE  2\r\nLINE   3"), std::string::npos) << out;
    EXPECT_NE(out.find("SUM C  \r\nEND\r\n"), std::string::npos) << out;
}

}  // namespace
}  // namespace quillon
