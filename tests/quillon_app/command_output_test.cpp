// What quillon inspect and quillon html-dump print: the built command run on small files,
// its standard output checked for the figures and structure it must show.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

#include "tests/common/shell_command.h"
#include "tests/common/temp_dir.h"

namespace quillon::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

struct Output {
    int status = -1;
    std::string out;
};

#ifdef QUILLON_BINARY
// Runs the command with the arguments (already quoted) and collects standard output.
Output Quillon(const std::string& args) {
    const std::string command = "'" QUILLON_BINARY "' " + args + " 2>/dev/null";
    const quillon::testing::ShellOutput shell = quillon::testing::RunShell(command);
    Output result;
    result.status = shell.status;
    result.out = shell.out;
    return result;
}

std::string Quoted(const std::filesystem::path& p) {
    std::string quoted = "'";
    quoted += p.string();
    quoted += '\'';
    return quoted;
}

// Two formats; the first has a head, a detail line with a calculated field and a sum line
// whose QTY is an alias of the detail line's.
constexpr char kTemplate[] =
    "^^SALES\r\n"
    "@0\r\nHead <\xC2\xBFTITLE>??????????\r\n"
    "@3\r\n<\xC2\xBFITEM>?????? <\xC2\xBFQTY>??? <\xC2\xBF"
    "AMOUNT>?????^?? <\xC2\xBFTOTAL=#QTY*#AMOUNT>?????^??\r\n"
    "@4\r\nSum <\xC2\xBFQTY>???\r\n"
    "@15\r\nEnd \"quoted\"\ttab\r\n"
    "^^OTHER\r\n"
    "@3\r\n??? <\xC2\xBFN>??\r\n";

TEST(QuillonInspect, ShowsEachLevelWithItsSlotsNamesAndTexts) {
    const TempDir dir;
    const Output r = Quillon("inspect " + Quoted(dir.Write("sales.txt", kTemplate)));
    ASSERT_EQ(r.status, 0) << r.out;
    const std::string& o = r.out;
    EXPECT_THAT(o, HasSubstr("Format SALES (text, UTF-8)\n"));
    // Head: text, the slot, the line end.
    EXPECT_THAT(o, HasSubstr("@0 "));
    EXPECT_THAT(o, HasSubstr("1 slot\n    text \"Head \"\n"
                             "  slot 1: width 10, decimals 0, name TITLE\n    text \"\\r\\n\"\n"));
    // Detail line: widths count the markup-free run of fill characters; "^" sets decimals.
    EXPECT_THAT(o, HasSubstr("@3 "));
    EXPECT_THAT(o, HasSubstr("4 slots\n"));
    EXPECT_THAT(o, HasSubstr("  slot 1: width 6, decimals 0, name ITEM\n    text \" \"\n"));
    EXPECT_THAT(o, HasSubstr("  slot 2: width 3, decimals 0, name QTY\n"));
    EXPECT_THAT(o, HasSubstr("  slot 3: width 8, decimals 2, name AMOUNT\n"));
    EXPECT_THAT(o, HasSubstr("  slot 4: width 8, decimals 2, name TOTAL, expression \""));
    // The sum line's QTY reuses the detail line's slot.
    EXPECT_THAT(o, HasSubstr("@4 "));
    EXPECT_THAT(o, HasSubstr("  slot 1: width 3, decimals 0, name QTY, alias of @3 slot 2\n"));
    // Quotes, tabs and line ends are escaped; levels the format lacks are left out.
    EXPECT_THAT(o, HasSubstr("@15 "));
    EXPECT_THAT(o, HasSubstr("0 slots\n    text \"End \\\"quoted\\\"\\ttab\\r\\n\"\n"));
    for (const char* absent : {"\n@1 ", "\n@2 ", "\n@5 ", "\n@14 "}) {
        EXPECT_THAT(o, Not(HasSubstr(absent)));
    }
    EXPECT_THAT(o, Not(HasSubstr("OTHER")));
}

TEST(QuillonInspect, PicksTheNamedFormatAndShowsWindows1252BytesEscaped) {
    const TempDir dir;
    const std::string path = Quoted(dir.Write("sales.txt", kTemplate));
    const Output other = Quillon("inspect " + path + " --format OTHER");
    ASSERT_EQ(other.status, 0) << other.out;
    EXPECT_THAT(other.out, HasSubstr("Format OTHER (text, UTF-8)\n"));
    EXPECT_THAT(other.out, HasSubstr("2 slots\n    text \"\"\n  slot 1: width 3, decimals 0, "
                                     "name (none)\n    text \" \"\n  slot 2: width 2, "
                                     "decimals 0, name N\n"));
    EXPECT_THAT(other.out, Not(HasSubstr("@0 ")));

    // 0xE9 is not UTF-8 here: the template is Windows-1252 and the byte is shown escaped.
    const Output latin =
        Quillon("inspect " + Quoted(dir.Write("latin.htm", "^^L\r\n@3\r\ncaf\xE9 <\xBFN>??\r\n")));
    ASSERT_EQ(latin.status, 0) << latin.out;
    EXPECT_THAT(latin.out, HasSubstr("(HTML, Windows-1252)"));
    EXPECT_THAT(latin.out,
                HasSubstr("text \"caf\\xE9 \"\n  slot 1: width 2, decimals 0, name N\n"));

    EXPECT_NE(Quillon("inspect " + path + " --format NOSUCH").status, 0);
}

// A template that would print "#####" in every line fails, naming the field and its line;
// a level given twice is allowed but said.
TEST(QuillonInspect, BadExpressionFailsAndARepeatedLevelIsSaid) {
    const TempDir dir;
    const auto inspect = [](const std::string& file) {
        return quillon::testing::RunShell("'" QUILLON_BINARY "' inspect " + Quoted(file) + " 2>&1");
    };
    const auto bad = inspect(dir.Write("bad.htm",
                                       "^^R\r\n@3\r\n<\xC2\xBFQTY>?? <\xC2\xBF"
                                       "BAD=qty*(>?????\r\n"));
    EXPECT_EQ(bad.status, 1);
    EXPECT_THAT(bad.out, HasSubstr("quillon inspect: The calculated field BAD of "));
    EXPECT_THAT(bad.out, HasSubstr("bad.htm, line 3, cannot be calculated: \"qty*(\" is not a "
                                   "valid expression."));
    const auto twice =
        inspect(dir.Write("twice.htm", "^^R\r\n@3\r\n<\xC2\xBFQTY>??\r\n@3\r\nmore\r\n"));
    EXPECT_EQ(twice.status, 0);
    EXPECT_THAT(twice.out, HasSubstr("Level @3 is given a second time in "));
    EXPECT_THAT(twice.out, HasSubstr("twice.htm, line 4: its lines are added to those of the first "
                                     "block."));
}

TEST(QuillonHtmlDump, ShowsTitleNamesAndTheDocumentModel) {
    const TempDir dir;
    const Output r =
        Quillon("html-dump " +
                Quoted(dir.Write("report.htm",
                                 "<HTML><HEAD><TITLE>Sales</TITLE><BASE HREF=\"http://x/\"></HEAD>"
                                 "<BODY><H1>Report</H1><P>Total <B>42</B><A NAME=\"end\">x</A>"
                                 "<OL START=3><LI>one<LI>two</OL>"
                                 "<TABLE BORDER=1><TR><TD>a<TD>b</TABLE></BODY></HTML>")));
    ASSERT_EQ(r.status, 0) << r.out;
    const std::string& o = r.out;
    EXPECT_EQ(o.rfind("title \"Sales\"\n", 0), 0u) << o;
    EXPECT_THAT(o, HasSubstr("base \"http://x/\"\n"));
    EXPECT_THAT(o, HasSubstr("name \"END\"\n"));
    EXPECT_THAT(o, HasSubstr("document base="));
    EXPECT_THAT(o, HasSubstr("section: {24 B} \"Report\"\n"));
    EXPECT_THAT(o, HasSubstr("section: {12} \"Total \" {12 B} \"42\" {12} \"x\"\n"));
    EXPECT_THAT(o, HasSubstr("ol 3 1 level=1: {12} \"one\"\nol 4 1 level=1: {12} \"two\"\n"));
    EXPECT_THAT(o, HasSubstr("table border"));
    EXPECT_THAT(o, HasSubstr("  row\n    cell\n      section: {12} \"a\"\n"
                             "    cell\n      section: {12} \"b\"\n"));
}

TEST(QuillonHtmlDump, PlainTextBecomesPreformattedLines) {
    const TempDir dir;
    const std::string path = Quoted(dir.Write("notes.txt", "line one\n<B>two</B>\n"));
    const Output r = Quillon("html-dump --text " + path);
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_THAT(r.out, HasSubstr("pre: {fixed 10} \"line one\"\npre: {fixed 10} \"<B>two</B>\"\n"));
    EXPECT_THAT(r.out, Not(HasSubstr("title")));
    // The same file read as HTML: the tags are markup.
    const Output html = Quillon("html-dump " + path);
    ASSERT_EQ(html.status, 0) << html.out;
    EXPECT_THAT(html.out, HasSubstr("{12 B} \"two\""));

    EXPECT_NE(Quillon("html-dump " + Quoted(dir.Path() / "missing.htm")).status, 0);
}
#endif

}  // namespace
}  // namespace quillon::testing
