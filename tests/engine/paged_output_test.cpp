// Paged output: lazy page breaks, footers, markers and headings, columns, column ranges,
// routing to level files, explicit page control and checked writes.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "engine/paged_output.h"
#include "engine/run_state.h"
#include "platform/core/host_services.h"
#include "platform/core/settings_file.h"
#include "platform/core/stream.h"
#include "tests/common/temp_dir.h"

namespace quillon {
namespace {

class FakeReport : public PagedOutputClient {
  public:
    void BuildLevel(int level, EilPlist& list) override {
        const std::vector<std::string>& lines = level == rlFooter ? footer : heading;
        for (const std::string& line : lines) list.Add(static_cast<std::uint8_t>(level), 0, line);
    }
    bool HasBeforeNewPage() const override { return static_cast<bool>(before_new_page); }
    TNewPageAction BeforeNewPage(int page_no, int column) override {
        return before_new_page(page_no, column);
    }
    void ProgressStep() override { ++progress_steps; }
    int AskOutputError() override {
        ++questions;
        return answers.empty() ? mrYes
                               : answers[static_cast<std::size_t>(questions - 1) % answers.size()];
    }
    int PageSize() const override { return pg_size; }
    int FirstPageSize() const override { return first_pg_size; }
    bool OnePageReport() const override { return one_page; }

    std::vector<std::string> footer{"footer\r\n"};
    std::vector<std::string> heading{"heading\r\n"};
    std::function<TNewPageAction(int, int)> before_new_page;
    std::vector<int> answers;
    int questions = 0;
    int progress_steps = 0;
    int pg_size = 20;
    int first_pg_size = 20;
    bool one_page = false;
};

class PagedOutputTest : public ::testing::Test {
  protected:
    PagedOutputTest() : out_(run_, report_) {}

    void Start(bool rtf = false, bool txt = false) {
        out_.BeginRun(rtf, txt, text::TextEncoding::Utf8);
        out_.CreatePageList(rlDetail);
    }
    // Prints a list of n lines of level, named prefix1, prefix2, ...
    void Print(int n, const std::string& prefix = "d", int level = rlDetail) {
        EilPlist list;
        for (int i = 1; i <= n; ++i) {
            list.Add(static_cast<std::uint8_t>(level), 0, prefix + std::to_string(i) + "\r\n");
        }
        out_.PrintLine(list, rlDetail, target_);
    }
    std::string Output() {
        out_.WritePageStrings(rlDetail, &stream_);
        return stream_.Data();
    }
    static int Count(const std::string& s, const std::string& what) {
        int n = 0;
        for (std::size_t at = s.find(what); at != std::string::npos; at = s.find(what, at + 1)) ++n;
        return n;
    }

    RunState run_;
    FakeReport report_;
    PagedOutput out_;
    TMemoryStream stream_;
    TStream* target_ = &stream_;  // nullptr: the level file
};

TEST_F(PagedOutputTest, FirstPageSizeAndLaterPageSizeMakeBreaksPendingLazily) {
    report_.first_pg_size = 10;
    Start();
    Print(9);
    EXPECT_FALSE(out_.NewPagePending(rlDetail));
    Print(1);
    EXPECT_TRUE(out_.NewPagePending(rlDetail));
    EXPECT_EQ(run_.FPageNo, 1);
    EilPlist empty;
    out_.PrintLine(empty, rlDetail, &stream_);  // an empty list does not break
    EXPECT_EQ(run_.FPageNo, 1);
    EXPECT_TRUE(out_.NewPagePending(rlDetail));
    Print(1);  // breaks: footer + marker + heading count on the new page
    EXPECT_EQ(run_.FPageNo, 2);
    EXPECT_EQ(out_.LinesOnPage(rlDetail), 4);
    EXPECT_EQ(report_.progress_steps, 1);
    Print(15);
    EXPECT_FALSE(out_.NewPagePending(rlDetail));
    Print(1);
    EXPECT_TRUE(out_.NewPagePending(rlDetail));
    EXPECT_NE(Output().find("d9\r\nd1\r\nfooter\r\n<PAGE>\r\nheading\r\nd1\r\n"),
              std::string::npos);
}

TEST_F(PagedOutputTest, AListIsNeverSplitAndTheNextListStartsTheNewPage) {
    report_.footer = {"f1\r\n", "f2\r\n"};
    report_.heading = {"h1\r\n", "h2\r\n", "h3\r\n"};
    Start();
    Print(18);
    Print(5, "x");
    EXPECT_EQ(out_.LinesOnPage(rlDetail), 23);
    Print(1, "y");
    // 2 footer lines, the marker and 3 heading lines, then the list.
    EXPECT_EQ(out_.LinesOnPage(rlDetail), 7);
    Print(12, "z");
    EXPECT_FALSE(out_.NewPagePending(rlDetail));
    Print(1, "w");  // the 14th line after footer, marker and heading fills the page
    EXPECT_TRUE(out_.NewPagePending(rlDetail));
    const std::string out = Output();
    EXPECT_NE(out.find("x5\r\nf1\r\nf2\r\n<PAGE>\r\nh1\r\nh2\r\nh3\r\ny1\r\n"), std::string::npos);
}

TEST_F(PagedOutputTest, NewDetailColumnSetsLinesBesideTheFirstColumn) {
    report_.pg_size = report_.first_pg_size = 10;
    report_.before_new_page = [](int, int) { return paNewDetailColumn; };
    Start();
    EilPlist head;
    for (const char* h : {"H1\r\n", "H2\r\n", "H3\r\n"}) head.Add(rlNewPage, 0, h);
    out_.PrintLine(head, rlDetail, &stream_);
    Print(7, "a");
    ASSERT_TRUE(out_.NewPagePending(rlDetail));
    Print(2, "b");
    EXPECT_EQ(run_.FPageNo, 2);
    EXPECT_EQ(run_.FColumn, 2);
    EXPECT_EQ(report_.progress_steps, 0);
    EXPECT_EQ(Output(), "H1\r\nH2\r\nH3\r\na1b1\r\na2b2\r\na3\r\na4\r\na5\r\na6\r\na7\r\n");
}

TEST_F(PagedOutputTest, PageRowsAreTheLinesWithTheirEnds) {
    Start();
    EilPlist list;
    for (const char* line : {"a\r\n", "b", "c\r", "d\n", "e\rf\n"}) list.Add(rlDetail, 0, line);
    out_.PrintLine(list, rlDetail, &stream_);
    EXPECT_EQ(out_.PageStrings(rlDetail),
              (std::vector<std::string_view>{"a\r\n", "b\r\n", "c\r\n", "d\n\r", "e\rf\n"}));
    EXPECT_EQ(Output(), "a\r\nb\r\nc\r\nd\n\re\rf\n");
    EXPECT_TRUE(out_.PageStrings(rlDetail).empty());
}

TEST_F(PagedOutputTest, NewColumnBuildsFooterMarkerAndHeadingIntoTheRows) {
    report_.pg_size = report_.first_pg_size = 10;
    report_.before_new_page = [](int page, int column) {
        EXPECT_EQ(page, 1);
        EXPECT_EQ(column, 1);
        return paNewColumn;
    };
    Start();
    Print(10, "a");
    Print(1, "b");
    EXPECT_EQ(run_.FColumn, 2);
    const std::string expected = "a1footer\r\na2<PAGE>\r\na3heading\r\na4b1\r\na5\r\n";
    EXPECT_EQ(Output().substr(0, expected.size()), expected);
}

TEST_F(PagedOutputTest, OnePageReportAndPageSizeZeroBreakOnlyWhenAsked) {
    report_.one_page = true;
    Start();
    Print(100);
    EXPECT_FALSE(out_.NewPagePending(rlDetail));
    EXPECT_EQ(run_.FPageNo, 1);
    out_.NewPageBefore(rlDetail);
    Print(1, "y");
    EXPECT_EQ(run_.FPageNo, 2);

    report_.one_page = false;
    report_.pg_size = 0;
    Start();
    run_.FPageNo = 3;
    out_.NewPageAfter(rlDetail);
    Print(1);
    EXPECT_FALSE(out_.NewPagePending(rlDetail));
    out_.NewPageBefore(rlDetail + 128);  // the level is taken modulo 128
    EilPlist empty;
    out_.PrintLine(empty, rlDetail, &stream_);
    EXPECT_TRUE(out_.NewPagePending(rlDetail));  // still pending after an empty list
    out_.NewPageWait(rlDetail);
    EXPECT_FALSE(out_.NewPagePending(rlDetail));
    // Levels outside the targets are ignored.
    out_.NewPageBefore(rlEnd);
    out_.NewPage(-1);
    out_.NewPageWait(200);
    EXPECT_FALSE(out_.NewPagePending(rlEnd));
}

TEST_F(PagedOutputTest, LinesAreWholeUntilSetBorderCutsThem) {
    Start();
    const std::string long_line = "<td>" + std::string(1500, 'x') + "</td>\r\n";
    EilPlist list;
    list.Add(rlDetail, 0, long_line);
    list.Add(rlDetail, 0, "no line end");
    out_.PrintLine(list, rlDetail, &stream_);
    EXPECT_EQ(Output(), long_line + "no line end\r\n");

    out_.SetBorder(5, 10, 20, 22, 0, 0);
    TMemoryStream cut;
    out_.BeginRun(false, true, text::TextEncoding::Utf8);
    out_.CreatePageList(rlDetail);
    EilPlist letters;
    letters.Add(rlDetail, 0, "abcdefghijklmnopqrstuvwxyz\r\n");
    letters.Add(rlDetail, 0,
                "ab\xC3\xA4\xC3\xB6"
                "efghij\r\n");  // counted in characters
    out_.PrintLine(letters, rlDetail, &cut);
    out_.WritePageStrings(rlDetail, &cut);
    EXPECT_EQ(cut.Data(), "efghijtuv\r\nefghij\r\n");
}

TEST_F(PagedOutputTest, RtfLinesStayWholeWithTheirFurtherRanges) {
    out_.SetBorder(1, 3, 2, 3, 0, 0);
    out_.BeginRun(true, false, text::TextEncoding::Utf8);
    out_.CreatePageList(rlDetail);
    EilPlist list;
    list.Add(rlDetail, 0, "\\par abc\r\n");
    out_.PrintLine(list, rlDetail, &stream_);
    EXPECT_EQ(Output(), "\\par abcpa\r\n");
}

TEST_F(PagedOutputTest, MarkersComeFromThePageSectionOfTheSettings) {
    const SettingsFile settings = SettingsFile::Parse(
        "[PAGE]\nPageBreak=<HR class=Page>\nPAGEBREAKTXT=x\npagebreakrtf=\\sect\n");
    const PageBreakMarkers markers = ReadPageBreakMarkers(settings);
    EXPECT_EQ(markers.html, "<HR class=Page>");
    EXPECT_EQ(markers.rtf, "\\sect");
    EXPECT_EQ(markers.txt, "x");
    EXPECT_EQ(ReadPageBreakMarkers(SettingsFile()).txt, "\f");

    out_.SetPageBreakMarkers(markers);
    report_.footer.clear();
    report_.heading.clear();
    Start(false, true);
    Print(20);
    Print(1);
    EXPECT_NE(Output().find("d20\r\nx\r\nd1\r\n"), std::string::npos);
}

class LevelFilesTest : public PagedOutputTest {
  protected:
    testing::TempDir temp_;
    std::filesystem::path dir_ = temp_.Path();
};

TEST_F(LevelFilesTest, EachLevelFileReceivesHeadsItsOwnAndOuterSumsAndTheEnd) {
    out_.BeginRun(false, false, text::TextEncoding::Utf8);
    ASSERT_TRUE(out_.CreateLevelFile(rlDetail, (dir_ / "R.HTM").string()));
    ASSERT_TRUE(out_.CreateLevelFile(rlSum02, (dir_ / "R.H05").string()));
    EilPlist list;
    list.Add(rlHead, 0, "head\r\n");
    list.Add(rlNewPage, 0, "page\r\n");
    list.Add(rlDetailHead, 0, "dhead\r\n");
    list.Add(rlDetail, 0, "detail\r\n");
    list.Add(rlSum01, 0, "sum1\r\n");
    list.Add(rlSum02, 0, "sum2\r\n");
    list.Add(rlSum03, 0, "sum3\r\n");
    list.Add(rlEnd, 0, "end\r\n");
    for (int level : {int(rlDetail), int(rlSum02)}) {
        out_.PrintLine(list, level, nullptr);
        EXPECT_TRUE(out_.WritePageStrings(level, nullptr));
    }
    out_.EndRun();
    EXPECT_EQ(testing::ReadFile(dir_ / "R.HTM"),
              "head\r\npage\r\ndhead\r\ndetail\r\nsum1\r\nsum2\r\nsum3\r\nend\r\n");
    EXPECT_EQ(testing::ReadFile(dir_ / "R.H05"), "head\r\npage\r\nsum2\r\nsum3\r\nend\r\n");
}

TEST_F(LevelFilesTest, AFailedWriteStopsOnYesAndRetriesOnNo) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    out_.BeginRun(false, false, text::TextEncoding::Utf8);
    ASSERT_TRUE(out_.CreateLevelFile(rlDetail, "/dev/full"));
    target_ = nullptr;
    Print(3);
    report_.answers = {mrNo, mrNo, mrYes};
    EXPECT_FALSE(out_.WritePageStrings(rlDetail, nullptr));
    EXPECT_EQ(report_.questions, 3);
    EXPECT_EQ(run_.FStopped, kStoppedByOutputError);
    Print(3);  // a stopped run prints nothing more
    EXPECT_TRUE(out_.PageStrings(rlDetail).empty());
}

// A stream whose first writes fail.
class FlakyStream : public TMemoryStream {
  public:
    int failures = 1;
    bool Write(std::string_view data) override {
        if (failures > 0) {
            --failures;
            TMemoryStream::Write(data.substr(0, data.size() / 2));  // a partial write
            return false;
        }
        return TMemoryStream::Write(data);
    }
};

TEST_F(PagedOutputTest, ARetriedWriteLandsOnceAndClearsTheStop) {
    FlakyStream flaky;
    Start();
    EilPlist list;
    list.Add(rlDetail, 0, "one\r\n");
    list.Add(rlDetail, 0, "two\r\n");
    out_.PrintLine(list, rlDetail, &flaky);
    report_.answers = {mrNo};
    EXPECT_TRUE(out_.WritePageStrings(rlDetail, &flaky));
    EXPECT_EQ(report_.questions, 1);
    EXPECT_EQ(run_.FStopped, kNotStopped);
    EXPECT_EQ(flaky.Data(), "one\r\ntwo\r\n");
}

TEST_F(PagedOutputTest, LongPagesWithoutColumnsAreWrittenAsTheyGrow) {
    report_.pg_size = 0;
    Start();
    for (int i = 0; i < 10; ++i) Print(1000);
    EXPECT_LT(out_.PageStrings(rlDetail).size(), PagedOutput::kEarlyWriteRows);
    EXPECT_EQ(Count(Output(), "\r\n"), 10000);
}

}  // namespace
}  // namespace quillon
