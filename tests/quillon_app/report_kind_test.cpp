#include "apps/quillon/report_kind.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "tests/common/temp_dir.h"

namespace quillon::app {
namespace {

using ::testing::HasSubstr;

TEST(ReportKind, RichTextIsKnownByItsStartWhateverTheName) {
    EXPECT_EQ(ReportKindOf("a.txt", "{\\rtf1 x}"), ReportKind::Rtf);
    EXPECT_EQ(ReportKindOf("a.htm", "\xEF\xBB\xBF \r\n{\\rtf1 x}"), ReportKind::Rtf);
    EXPECT_EQ(ReportKindOf("report", "{\\rtf1 x}"), ReportKind::Rtf);
    // An .rtf that does not start so is still read as RTF: the reader says what is wrong.
    EXPECT_EQ(ReportKindOf("a.RTF", "plain"), ReportKind::Rtf);
}

TEST(ReportKind, OtherwiseTheExtensionInAnyCase) {
    EXPECT_EQ(ReportKindOf("dir.d/a.htm", "<P>x"), ReportKind::Html);
    EXPECT_EQ(ReportKindOf("a.HTML", ""), ReportKind::Html);
    EXPECT_EQ(ReportKindOf("report.h04", "x"), ReportKind::Html);  // level files
    EXPECT_EQ(ReportKindOf("a.Txt", "<HTML> as text"), ReportKind::Text);
    EXPECT_EQ(ReportKindOf("report.t13", "x"), ReportKind::Text);
    EXPECT_EQ(ReportKindOf("report.h4", "x"), std::nullopt);
    EXPECT_EQ(ReportKindOf("report.hx4", "x"), std::nullopt);
    EXPECT_EQ(ReportKindOf("a.png", "\x89PNG\r\n"), std::nullopt);
    EXPECT_EQ(ReportKindOf("README", "text"), std::nullopt);
}

TEST(ReportKind, BinaryDataIsNoReportAndTheReasonsSaySo) {
    const std::string binary("ab\0c", 4);
    EXPECT_EQ(ReportKindOf("a.txt", binary), std::nullopt);
    EXPECT_THAT(NoReportKindReason("a.txt", binary), HasSubstr("binary data (a NUL byte at "
                                                               "offset 2)"));
    EXPECT_THAT(NoReportKindReason("a.PNG", "x"), HasSubstr("the extension .png, which is no "
                                                            "report kind"));
    EXPECT_THAT(NoReportKindReason("README", "x"), HasSubstr("no extension"));
}

TEST(ReportKind, TheHeadIsTheFilesStart) {
    const testing::TempDir dir;
    const std::string big(kReportHeadBytes + 10, 'x');
    EXPECT_EQ(ReadReportHead(dir.Write("big.txt", big).string())->size(), kReportHeadBytes);
    EXPECT_EQ(*ReadReportHead(dir.Write("small.txt", "abc").string()), "abc");
    EXPECT_EQ(ReadReportHead(dir.File("missing.txt")), std::nullopt);
}

}  // namespace
}  // namespace quillon::app
