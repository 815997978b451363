// The starter template: its exact lines, page sizes, escaping, widths, the backup of an
// existing file, and that it loads back into the levels, slots and names it was made with.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "design/expert/expert_format.h"
#include "engine/report_model.h"
#include "tests/common/temp_dir.h"

namespace quillon::design {
namespace {

const std::vector<ExpertField> kTwoFields = {{"CUSTOMER", "Customer", 12, false, 0},
                                             {"AMOUNT", "Amount", 8, true, 2}};

std::vector<std::string> ExpectedTwoFieldLines(bool date_time, bool page_number) {
    std::vector<std::string> l = {"<HTML>",
                                  "^^Sales<BR>",
                                  "@0<BR>",
                                  "<BODY BGCOLOR=\"WHITE\">",
                                  "<CENTER><H2>Sales by customer</H2></CENTER>",
                                  "@1<BR>",
                                  "<TABLE WIDTH=\"100%\" BORDER=\"0\">",
                                  "<TR>"};
    if (date_time) {
        l.push_back(
            "  <TD ALIGN=\"LEFT\"><FONT SIZE=\"2\">Printed at <\xC2\xBF"
            "DATETIME>" +
            std::string(20, '?') + "</FONT></TD>");
    }
    if (page_number) {
        l.push_back(
            "  <TD ALIGN=\"RIGHT\"><FONT SIZE=\"2\">Page No <\xC2\xBFPAGENO>?????????"
            "</FONT></TD>");
    }
    const std::vector<std::string> rest = {
        "</TR>", "</TABLE>", "<P>", "<CENTER>",
        "<TABLE BORDER=\"1\" CELLSPACING=\"0\" CELLPADDING=\"1\" BORDERCOLORLIGHT=\"Black\" "
        "BORDERCOLORDARK=\"Black\">",
        "<TR>", "  <TH ALIGN=\"LEFT\"><FONT SIZE=\"2\">Customer</FONT></TH>",
        "  <TH ALIGN=\"RIGHT\"><FONT SIZE=\"2\">Amount</FONT></TH>", "</TR>", " ", "@3<BR>", "<TR>",
        "  <TD><FONT SIZE=\"2\"><\xC2\xBF"
        "CUSTOMER>????????????"
        "</FONT></TD>",
        // A number column: right-aligned, "^" where its point goes, two decimals.
        "  <TD ALIGN=\"RIGHT\"><FONT SIZE=\"2\"><\xC2\xBF"
        "AMOUNT>?????^??"
        "</FONT></TD>",
        "</TR>", " ", "@14<BR>", "</TABLE>", "</CENTER>", " ", "@15<BR>", "</BODY>", "</HTML>"};
    l.insert(l.end(), rest.begin(), rest.end());
    return l;
}

ExpertOptions SalesOptions(bool date_time, bool page_number) {
    ExpertOptions o;
    o.format_name = "Sales";
    o.title = "Sales by customer";
    o.date_time = date_time;
    o.page_number = page_number;
    return o;
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& l : lines) text += l + "\r\n";
    return text;
}

TEST(ExpertFormat, LinesForTwoFieldsWithAndWithoutTheHeadingFields) {
    for (const bool date_time : {true, false}) {
        for (const bool page_number : {true, false}) {
            SCOPED_TRACE(std::to_string(date_time) + std::to_string(page_number));
            const auto lines = ExpertFormatLines(SalesOptions(date_time, page_number), kTwoFields);
            EXPECT_EQ(lines, ExpectedTwoFieldLines(date_time, page_number));
            EXPECT_EQ(lines.size(), 29u + 2 * 2 - !date_time - !page_number);
        }
    }
}

TEST(ExpertFormat, PageSizesGrowBy34PerField) {
    EXPECT_EQ(ExpertPageSizes(1).pg_size, 88);
    EXPECT_EQ(ExpertPageSizes(1).first_pg_size, 91);
    EXPECT_EQ(ExpertPageSizes(2).pg_size, 122);
    EXPECT_EQ(ExpertPageSizes(2).first_pg_size, 125);
    EXPECT_EQ(ExpertPageSizes(0).pg_size, 54);
}

TEST(ExpertFormat, PageSizesPutTheChosenRowsOnAPage) {
    // Two fields: a record is 5 lines; the page heading 14, the report head 3, the footer
    // with its break marker 4. Each cleared check box takes a heading line away.
    const auto lines = ExpertFormatLines(SalesOptions(true, true), kTwoFields);
    EXPECT_EQ(PageSizesForRows(lines, {40, 45}).first_pg_size, 3 + 14 + 40 * 5);
    EXPECT_EQ(PageSizesForRows(lines, {40, 45}).pg_size, 4 + 14 + 45 * 5);
    const auto bare = ExpertFormatLines(SalesOptions(false, false), kTwoFields);
    EXPECT_EQ(PageSizesForRows(bare, {1, 1}).pg_size, 4 + 12 + 5);
    // More rows fit on later pages than on the first, with its title; fewer in landscape.
    EXPECT_LT(ExpertPageRows(false).first, ExpertPageRows(false).later);
    EXPECT_LT(ExpertPageRows(true).later, ExpertPageRows(false).later);
    EXPECT_GE(ExpertPageRows(false).later, 40);
}

TEST(ExpertFormat, TextThatWouldBreakTheTemplateIsEscaped) {
    EXPECT_EQ(EscapeTemplateText("R&D <new> @ 5? ^^x"),
              "R&amp;D &lt;new&gt; &#64; 5&#63; &#94;&#94;x");
    ExpertOptions o = SalesOptions(false, false);
    o.title = "Q1 @ 2024";
    const auto lines =
        ExpertFormatLines(o, {{"A", "Price? <EUR>", 300, false, 0}, {"B", "B", 0, false, 0}});
    EXPECT_EQ(lines[4], "<CENTER><H2>Q1 &#64; 2024</H2></CENTER>");
    EXPECT_EQ(lines[14],
              "  <TH ALIGN=\"LEFT\"><FONT SIZE=\"2\">Price&#63; &lt;EUR&gt;</FONT></TH>");
    // Widths are clamped to 1..255.
    EXPECT_EQ(lines[20],
              "  <TD><FONT SIZE=\"2\"><\xC2\xBF"
              "A>" +
                  std::string(255, '?') + "</FONT></TD>");
    EXPECT_EQ(lines[21],
              "  <TD><FONT SIZE=\"2\"><\xC2\xBF"
              "B>?"
              "</FONT></TD>");
}

TEST(ExpertFormat, NamesThatCannotStandInATemplateAreRefused) {
    EXPECT_EQ(CheckFormatName("Sales 2024_b"), "");
    EXPECT_NE(CheckFormatName(""), "");
    EXPECT_NE(CheckFormatName("sales-2024"), "");  // the header would read back as "sales"
    EXPECT_NE(CheckFormatName("a@b"), "");
    EXPECT_EQ(CheckFieldName("Unit price"), "");
    for (const char* bad : {"", "a>b", "mail@x", "what?", "x=1", "&second", "a\tb"}) {
        EXPECT_NE(CheckFieldName(bad), "") << bad;
    }
}

TEST(ExpertFormat, AnExistingFileIsKeptAsBak) {
    testing::TempDir dir;
    const auto path = dir.Write("report.htm", "hand-made\r\n");
    ASSERT_EQ(WriteFormatFile(path, {"<HTML>", "x"}), "");
    EXPECT_EQ(testing::ReadFile(dir.File("report.htm.bak")), "hand-made\r\n");
    EXPECT_EQ(testing::ReadFile(path), "<HTML>\r\nx\r\n");
    // A second write keeps the file it replaces, not the first original.
    ASSERT_EQ(WriteFormatFile(path, {"y"}), "");
    EXPECT_EQ(testing::ReadFile(dir.File("report.htm.bak")), "<HTML>\r\nx\r\n");
    EXPECT_NE(WriteFormatFile(dir.Path() / "missing" / "r.htm", {"y"}), "");
}

struct Loaded {
    ReportModel model;
    bool ok = false;
    std::string format_name = "*";
    std::string message;
};

void Load(Loaded& l, const std::vector<std::string>& lines) {
    LoadSettings settings;
    settings.message = [&l](std::string_view text, TMsgDlgType, TMsgDlgButtons) {
        l.message = std::string(text);
        return static_cast<int>(mrOk);
    };
    l.ok = l.model.LoadFormatText("sales.htm", Joined(lines), l.format_name, 1, settings);
}

std::string SlotName(ReportModel& m, int level, int number) {
    EXPECT_TRUE(m.ActiveNames().FindByNumber(level, number));
    return m.ActiveNames().AsName();
}

int SlotWidth(ReportModel& m, int level, int number) {
    int width = 0, decimals = 0;
    m.FormatByNumber(level, number, width, decimals);
    return width;
}

TEST(ExpertFormat, GeneratedTemplateLoadsBack) {
    Loaded l;
    ExpertOptions o = SalesOptions(true, true);
    o.title = "Totals @ year end?";  // would be a bad level marker if not escaped
    Load(l, ExpertFormatLines(o, kTwoFields));
    ASSERT_TRUE(l.ok) << l.message;
    EXPECT_EQ(l.format_name, "Sales");
    const LevelTable& levels = *l.model.ActiveLevels();
    for (int level = 0; level < 16; ++level) {
        const bool expected = level == 0 || level == 1 || level == 3 || level == 14 || level == 15;
        EXPECT_EQ(levels.Has(level), expected) << level;
    }
    EXPECT_EQ(levels.SlotCount(0), 0);
    ASSERT_EQ(levels.SlotCount(1), 2);
    EXPECT_EQ(SlotName(l.model, 1, 1), "DATETIME");
    EXPECT_EQ(SlotWidth(l.model, 1, 1), 20);
    EXPECT_EQ(SlotName(l.model, 1, 2), "PAGENO");
    EXPECT_EQ(SlotWidth(l.model, 1, 2), 9);
    ASSERT_EQ(levels.SlotCount(3), 2);
    EXPECT_EQ(SlotName(l.model, 3, 1), "CUSTOMER");
    EXPECT_EQ(SlotWidth(l.model, 3, 1), 12);
    EXPECT_EQ(SlotName(l.model, 3, 2), "AMOUNT");
    EXPECT_EQ(SlotWidth(l.model, 3, 2), 8);
    int width = 0, decimals = -1;
    l.model.FormatByNumber(3, 2, width, decimals);
    EXPECT_EQ(decimals, 2);
    l.model.FormatByNumber(3, 1, width, decimals);
    EXPECT_EQ(decimals, 0);
    EXPECT_EQ(levels.SlotCount(14), 0);
    EXPECT_EQ(levels.SlotCount(15), 0);

    Loaded bare;
    Load(bare, ExpertFormatLines(SalesOptions(false, false), kTwoFields));
    ASSERT_TRUE(bare.ok) << bare.message;
    EXPECT_EQ(bare.model.ActiveLevels()->SlotCount(1), 0);
    EXPECT_EQ(bare.model.ActiveLevels()->SlotCount(3), 2);
}

}  // namespace
}  // namespace quillon::design
