// Whole report runs: record loop, group changes, sums in sum lines, page breaks, level
// files, stopping, cancelling, handler exceptions, output errors and the clean-up of every
// end of a run.

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/execution_driver.h"
#include "engine/quillon.h"
#include "platform/core/host_services.h"
#include "platform/core/stream.h"
#include "tests/common/temp_dir.h"

namespace quillon {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::TempDir;

// The name markup "<" + inverted question mark, in UTF-8.
#define NM "<\xC2\xBF"

constexpr const char* kGrouped =
    "^^R\r\n@0\r\nHEAD\r\n@1\r\nPAGE " NM "PAGENO>??\r\n@2\r\nDHEAD " NM
    "KEY>????\r\n"
    "@3\r\n" NM "KEY>???? " NM "VAL>?????\r\n@4\r\nSUM1 " NM
    "S1>?????\r\n"
    "@15\r\nEND " NM "SE>?????\r\n";

struct Row {
    std::string key;
    std::string value;
};

class RunTest : public ::testing::Test {
  protected:
    void SetUp() override {
        report_.SetOptions({prAutoSum});
        report_.SetPrnFile((dir_ / "out").string());
        report_.SetFormatName("*");
        report_.OnNext = [this](TQuillon&, bool& next) {
            ++next_calls_;
            ++cur_;
            next = cur_ < rows_.size();
        };
        report_.OnGetGroupIndex = [this](TQuillon&, TReportLevel level, std::string& idx) {
            if (level == rlSum01 && cur_ < rows_.size()) idx = rows_[cur_].key;
        };
        report_.OnGetDetailLine = [this](TQuillon& r) {
            r.FieldByName("KEY").SetAsString(rows_[cur_].key);
            r.FieldByName("VAL").SetAsString(rows_[cur_].value);
        };
        report_.OnGetDetailHeadLine = [this](TQuillon& r) {
            r.FieldByName("KEY").SetAsString(rows_[cur_].key);
        };
        report_.OnGetSumLine = [this](TQuillon& r, TReportLevel level) {
            events_.push_back("sum" + std::to_string(level));
            const double sum = r.SumByName(level, "VAL");
            r.FieldByName(level == rlEnd ? "SE" : "S1").SetAsString(std::to_string(int(sum)));
        };
        report_.OnChangeIndex = [this](TQuillon&, TReportLevel level) {
            events_.push_back("change" + std::to_string(level));
        };
    }

    void Template(const std::string& text, const std::string& name = "rep.htm") {
        const fs::path path = dir_ / name;
        std::ofstream(path, std::ios::binary) << text;
        report_.SetFormatFile(path.string());
    }
    std::string RunToStream(bool expect = true) {
        TMemoryStream stream;
        EXPECT_EQ(report_.Execute(&stream), expect) << Messages();
        return stream.Data();
    }
    std::string Messages() const {
        std::string all;
        for (const auto& m : messages_) all += m + "|";
        return all;
    }

    TempDir temp_;
    fs::path dir_ = temp_.Path();
    std::vector<std::string> messages_;
    int answer_ = mrYes;
    HeadlessHost host_{[this](const HeadlessHost::Message& m) {
        messages_.push_back(m.text);
        return answer_;
    }};
    TQuillon report_{host_};
    std::vector<Row> rows_;
    std::size_t cur_ = static_cast<std::size_t>(-1);
    int next_calls_ = 0;
    std::vector<std::string> events_;
};

TEST_F(RunTest, GroupsGetHeadingsSumLinesAndTheReportEndTheirTotals) {
    Template(kGrouped);
    rows_ = {{"A", "1"}, {"A", "2"}, {"B", "5"}};
    EXPECT_EQ(RunToStream(),
              "HEAD\r\nPAGE 1 \r\nDHEAD A   \r\nA    1    \r\nA    2    \r\nSUM1 3    \r\n"
              "DHEAD B   \r\nB    5    \r\nSUM1 5    \r\nEND 8    \r\n");
    EXPECT_EQ(events_.front(), "sum4");
    // At the end every one of the ten levels is closed, defined or not.
    EXPECT_EQ(std::count(events_.begin(), events_.end(), "change13"), 1);
    EXPECT_EQ(std::count(events_.begin(), events_.end(), "change4"), 2);
    EXPECT_TRUE(messages_.empty()) << Messages();
}

TEST_F(RunTest, WithoutRecordsOrOnNextTheReportHasHeadsSumLinesAndEnd) {
    Template(kGrouped);
    EXPECT_EQ(RunToStream(), "HEAD\r\nPAGE 1 \r\nSUM1 0    \r\nEND 0    \r\n");
    EXPECT_EQ(next_calls_, 1);
    report_.OnNext = nullptr;
    events_.clear();
    EXPECT_EQ(RunToStream(), "HEAD\r\nPAGE 1 \r\nSUM1 0    \r\nEND 0    \r\n");
    EXPECT_EQ(events_.size(), 12u);  // sum4, change4..change13, sum15
}

TEST_F(RunTest, ASingleRecordAndRunsWithoutGroupIndexes) {
    Template(kGrouped);
    rows_ = {{"A", "1"}};
    EXPECT_EQ(RunToStream(),
              "HEAD\r\nPAGE 1 \r\nDHEAD A   \r\nA    1    \r\nSUM1 1    \r\nEND 1    \r\n");
    EXPECT_EQ(std::count_if(events_.begin(), events_.end(),
                            [](const std::string& e) { return e.rfind("change", 0) == 0; }),
              10);
    // Without OnGetGroupIndex no group changes before the end of the data.
    report_.OnGetGroupIndex = nullptr;
    rows_ = {{"A", "1"}, {"B", "2"}};
    cur_ = static_cast<std::size_t>(-1);
    EXPECT_EQ(RunToStream(),
              "HEAD\r\nPAGE 1 \r\nDHEAD A   \r\nA    1    \r\nB    2    \r\nSUM1 3    \r\n"
              "END 3    \r\n");
}

TEST_F(RunTest, AChangeAtAnOuterLevelClosesEveryInnerLevelInOrder) {
    Template("^^R\r\n@2\r\nDH\r\n@3\r\nD " NM "VAL>?\r\n@4\r\nS4\r\n@5\r\nS5\r\n@6\r\nS6\r\n");
    rows_ = {{"x", "1"}, {"y", "2"}};
    report_.OnGetGroupIndex = [this](TQuillon&, TReportLevel level, std::string& idx) {
        if (level == rlSum03) idx = rows_[cur_].key;  // levels 4 and 5 keep theirs
    };
    EXPECT_EQ(RunToStream(), "DH\r\nD 1\r\nS4\r\nS5\r\nS6\r\nDH\r\nD 2\r\nS4\r\nS5\r\nS6\r\n");
}

TEST_F(RunTest, GroupKeysAreComparedWhole) {
    Template(kGrouped);
    const std::string long_key(100, 'k');
    rows_ = {{long_key, "1"}, {long_key, "2"}, {long_key + "z", "3"}};
    const std::string out = RunToStream();
    // One group of two records, then a group that differs only after character 100.
    EXPECT_NE(out.find("SUM1 3    \r\n"), std::string::npos) << out;
    EXPECT_EQ(std::count(events_.begin(), events_.end(), "sum4"), 2);
    EXPECT_EQ(report_.GetPriorIndex(rlSum01).size(), 101u);
}

TEST_F(RunTest, PNextKeepsItsValueBetweenCalls) {
    Template(kGrouped);
    rows_ = {{"A", "1"}, {"A", "2"}};
    report_.OnNext = [this](TQuillon& r, bool& next) {
        ++cur_;
        if (r.BeginOfReport()) next = true;      // the first record
        if (cur_ >= rows_.size()) next = false;  // set only at the end
    };
    EXPECT_NE(RunToStream().find("A    2    \r\nSUM1 3"), std::string::npos);
    EXPECT_FALSE(report_.BeginOfReport());
}

TEST_F(RunTest, PagesBreakWithFooterMarkerAndHeadingButNotAfterTheLastPage) {
    Template("^^R\r\n@1\r\nPAGE " NM "PAGENO>?\r\n@3\r\n" NM "VAL>?\r\n@14\r\nFOOT " NM
             "PAGENO>?\r\n@15\r\nEND\r\n");
    for (int i = 1; i <= 25; ++i) rows_.push_back({"", std::to_string(i % 10)});
    report_.SetFirstPgSize(10);
    report_.SetPgSize(12);
    const std::string out = RunToStream();
    EXPECT_EQ(std::count(out.begin(), out.end(), 'F'), 2) << out;  // two breaks
    // The footer carries the number of the page it closes.
    EXPECT_NE(out.find("9\r\nFOOT 1\r\n<PAGE>\r\nPAGE 2\r\n0\r\n"), std::string::npos) << out;
    EXPECT_EQ(out.rfind("FOOT"), out.find("FOOT 2\r\n<PAGE>\r\nPAGE 3"));
    EXPECT_EQ(out.substr(out.size() - 8), "5\r\nEND\r\n");
}

TEST_F(RunTest, PageSizesBelowTenMeanNoBreaksAndAreRestoredAfterTheRun) {
    Template("^^R\r\n@3\r\n" NM "VAL>?\r\n@14\r\nFOOT\r\n");
    for (int i = 0; i < 30; ++i) rows_.push_back({"", "1"});
    report_.SetPgSize(9);
    report_.SetFirstPgSize(20);
    EXPECT_EQ(RunToStream().find("FOOT"), std::string::npos);
    EXPECT_EQ(report_.PgSize(), 9);
    EXPECT_EQ(report_.FirstPgSize(), 20);
}

TEST_F(RunTest, AStarRunKeepsFormatNameAndWritesPrnFileWithTheTemplatesExtension) {
    Template(kGrouped, "rep.htm");
    rows_ = {{"A", "1"}};
    EXPECT_TRUE(report_.ExecAndLoad()) << Messages();  // no viewer: nothing is loaded
    EXPECT_EQ(report_.FormatName(), "*");
    EXPECT_EQ(report_.PrnFile(), (dir_ / "out.htm").string());
    EXPECT_EQ(ReadFile(dir_ / "out.htm").substr(0, 6), "HEAD\r\n");
    EXPECT_EQ(report_.Model().Levels(1), nullptr);  // format tables released
}

TEST_F(RunTest, MultiLevelFilesReceiveHeadsTheirSumsOuterSumsAndTheEnd) {
    Template("^^R\r\n@0\r\nHEAD\r\n@2\r\nDH\r\n@3\r\nD " NM "VAL>?\r\n@4\r\nS4 " NM
             "S1>?\r\n@5\r\nS5\r\n@15\r\nEND\r\n");
    rows_ = {{"A", "1"}, {"B", "2"}};
    report_.SetMultiLevel(true);
    ASSERT_TRUE(report_.Execute(nullptr)) << Messages();
    EXPECT_EQ(ReadFile(dir_ / "out.htm"),
              "HEAD\r\nDH\r\nD 1\r\nS4 1\r\nDH\r\nD 2\r\nS4 2\r\nS5\r\nEND\r\n");
    EXPECT_EQ(ReadFile(dir_ / "out.h04"), "HEAD\r\nS4 1\r\nS4 2\r\nS5\r\nEND\r\n");
    EXPECT_EQ(ReadFile(dir_ / "out.h05"), "HEAD\r\nS5\r\nEND\r\n");
    EXPECT_FALSE(fs::exists(dir_ / "out.h06"));
    EXPECT_EQ(LevelFileName("REPORT.HTM", rlSum10), "REPORT.H13");
    EXPECT_EQ(LevelFileName("R", rlSum01), "");
}

TEST_F(RunTest, LevelFileNamesThatWouldReplaceTheMainFileAreRefused) {
    Template("^^R\r\n@3\r\nD\r\n@4\r\nS4\r\n", "rep.x04");
    report_.SetMultiLevel(true);
    EXPECT_FALSE(report_.Execute(nullptr));
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0], "File Open Error " + (dir_ / "out.x04").string());
    EXPECT_EQ(report_.Model().Levels(1), nullptr);
}

TEST_F(RunTest, OnProcessingStopsTheRunWithoutReportEnd) {
    Template(kGrouped);
    rows_ = {{"A", "1"}, {"A", "2"}, {"A", "3"}};
    int calls = 0;
    bool after = false;
    report_.OnProcessing = [&](TQuillon&, int, bool& go_on) { go_on = ++calls < 3; };
    report_.AfterExecute = [&](TQuillon&) { after = true; };
    const std::string out = RunToStream(false);
    EXPECT_EQ(out.find("END"), std::string::npos);
    EXPECT_FALSE(after);
    EXPECT_EQ(report_.PgSize(), 64);
}

TEST_F(RunTest, BeforeExecuteCancelsBeforeAnythingIsLoadedOrAsked) {
    Template(kGrouped);
    report_.BeforeExecute = [](TQuillon&, bool& go_on) { go_on = false; };
    EXPECT_EQ(RunToStream(false), "");
    EXPECT_EQ(next_calls_, 0);
    EXPECT_TRUE(messages_.empty());
}

TEST_F(RunTest, HandlerExceptionsAreReportedAndTheRunCleansUp) {
    Template(kGrouped);
    rows_ = {{"A", "1"}};
    report_.SetPgSize(5);
    report_.OnGetDetailLine = [](TQuillon&) { throw std::runtime_error("no such record"); };
    EXPECT_EQ(RunToStream(false), "");  // the first page was never finished
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0], "no such record");
    EXPECT_EQ(report_.PgSize(), 5);
    EXPECT_EQ(report_.Model().Levels(1), nullptr);
    EXPECT_FALSE(report_.ProgressVisible());
}

TEST_F(RunTest, AMarginThatIsNotANumberIsReportedNotThrown) {
    const fs::path ini = dir_ / "QUILDOC.INI";
    std::ofstream(ini) << "[PAGE]\nTOP=1.5\nLEFT=2,5\n";
    const char* old = std::getenv("QUILDOC_INI");
    const std::string saved = old != nullptr ? old : "";
    ::setenv("QUILDOC_INI", ini.c_str(), 1);
    Template(kGrouped);
    EXPECT_EQ(RunToStream(false), "");
    ::setenv("QUILDOC_INI", saved.c_str(), 1);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0], "Error [PAGE] LEFT=2,5");
    EXPECT_DOUBLE_EQ(report_.Viewer().PrintMarginTop, 1.5);
}

TEST_F(RunTest, AFullDiskAsksAndEndsTheRunAsAFailure) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    Template(kGrouped, "rep");
    rows_ = {{"A", "1"}};
    report_.SetPrnFile("/dev/full");
    EXPECT_FALSE(report_.Execute(nullptr));
    ASSERT_FALSE(messages_.empty());
    EXPECT_EQ(messages_[0], "Printer error. ABORT ");
    EXPECT_EQ(report_.Model().Levels(1), nullptr);
}

TEST_F(RunTest, ClrSumOutsideTheSumLevelsIsIgnored) {
    report_.ClrSum(rlDetail);
    report_.ClrSum(rlFooter);
    report_.ClrSum(rlEnd);
    EXPECT_TRUE(events_.empty());
    report_.ClrSum(rlSum10);
    EXPECT_EQ(events_, std::vector<std::string>{"change13"});
}

TEST_F(RunTest, APageFooterKeepsARunningTotalAndTheEndGetsTheGrandTotal) {
    Template("^^R\r\n@3\r\n" NM "VAL>?\r\n@4\r\nS " NM "S1>??\r\n@14\r\nF " NM
             "S1>??\r\n"
             "@15\r\nE " NM "SE>??\r\n");
    rows_ = {{"A", "1"}, {"A", "2"}, {"B", "4"}};
    report_.SetPgSize(10);
    report_.SetFirstPgSize(10);
    std::vector<int> footer_totals;
    report_.OnGetSumLine = [&](TQuillon& r, TReportLevel level) {
        const int sum = int(r.SumByNumber(level, rlDetail, 1));
        if (level == rlFooter) footer_totals.push_back(sum);
        r.FieldByName(level == rlEnd ? "SE" : "S1").SetAsString(std::to_string(sum));
    };
    report_.OnGetDetailLine = [this](TQuillon& r) {
        r.FieldByName("VAL").SetAsString(rows_[cur_].value);
        if (cur_ == 2) r.NewPageBefore(rlDetail);
    };
    const std::string out = RunToStream();
    EXPECT_EQ(footer_totals, std::vector<int>{3});
    EXPECT_EQ(out.substr(out.size() - 6), "E 7 \r\n") << out;
}

}  // namespace
}  // namespace quillon
