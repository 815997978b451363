// A report with links, anchors and H1-H3 headings over several sheets, printed to PDF by
// quillon render and read back: link annotations with their addresses on the sheets that
// show the links, jumps landing on the sheets of their anchors, the outline nested by
// heading level, and the document's title.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/common/pdf_structure.h"
#include "tests/common/pdf_text.h"
#include "tests/common/shell_command.h"
#include "tests/common/temp_dir.h"

namespace quillon::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

#ifdef QUILLON_BINARY
constexpr const char* kReport =
    R"(<HTML><HEAD><TITLE>Ketvirtis &#261;&#269; &#8211; &#220;bersicht</TITLE></HEAD>
<BODY>
<H1>Contents</H1>
<A HREF="#north">North</A><BR>
<A HREF="#South">South</A><BR>
<A HREF="#absent">Absent</A><BR>
<A HREF="https://example.com/report?id=7">Web</A> <A HREF="mailto:sales@example.com">Mail</A>
<A HREF="other report.htm">Other</A>
<PAGE>
<H1>Regions</H1>
<H2><A NAME="north">North</A></H2>
<P>The northern region.
<H3>Vilnius</H3>
<P>Back to the <A HREF="#top">top</A>.
<PAGE>
<H2><A NAME="south">South &#261;&#382;uolas</A></H2>
<H3>Kaunas</H3>
<PAGE>
<H1><A NAME="top"></A>Appendix</H1>
<H3>Notes</H3>
</BODY></HTML>
)";

// "title @sheet" of each outline entry, indented by depth.
std::vector<std::string> Titles(const std::vector<PdfOutlineEntry>& outline) {
    std::vector<std::string> out;
    for (const PdfOutlineEntry& e : outline) {
        out.push_back(std::string(static_cast<std::size_t>(e.depth) * 2, ' ') + e.title + " @" +
                      std::to_string(e.page));
    }
    return out;
}

std::vector<std::string> Addresses(const std::vector<PdfLinkAnnot>& links) {
    std::vector<std::string> out;
    for (const PdfLinkAnnot& l : links) {
        out.push_back(std::to_string(l.page) + " " +
                      (l.uri.empty() ? "-> " + std::to_string(l.dest_page) : l.uri));
    }
    return out;
}

ShellOutput Render(const std::string& args) {
    return RunShell("'" QUILLON_BINARY "' render " + args + " 2>&1");
}

TEST(PdfNavigation, LinksJumpsOutlineAndTitleOfARenderedReport) {
    const TempDir dir;
    const std::string html = dir.Write("nav.htm", kReport).string();
    const std::string pdf = dir.File("nav.pdf");
    const ShellOutput r = Render(ShellQuote(html) + " --pdf " + ShellQuote(pdf));
    ASSERT_EQ(r.status, 0) << r.out;
    ASSERT_EQ(PdfPageCount(pdf), 4);
    const ShellOutput info = RunShell("pdfinfo " + ShellQuote(pdf) + " 2>&1");
    EXPECT_EQ(info.status, 0);
    EXPECT_THAT(info.out, HasSubstr("Ketvirtis \u0105\u010d \u2013 \u00dcbersicht"));
    EXPECT_EQ(RunShell("pdftotext " + ShellQuote(pdf) + " /dev/null 2>&1").out, "");
    if (RunShell("command -v qpdf >/dev/null").status == 0) {
        const ShellOutput check = RunShell("qpdf --check " + ShellQuote(pdf) + " 2>&1");
        EXPECT_EQ(check.status, 0) << check.out;
    }

    PdfStructure nav(pdf);
    const std::vector<PdfLinkAnnot> links = nav.Links();
    // The jump to a name the report lacks is no link; the relative file name is kept as
    // written (escaped as an address).
    EXPECT_THAT(Addresses(links),
                ElementsAre("1 -> 2", "1 -> 3", "1 https://example.com/report?id=7",
                            "1 mailto:sales@example.com", "1 other%20report.htm", "2 -> 4"));
    // Each area lies inside the body of an A4 sheet (2-cm margins), links on their lines.
    for (const PdfLinkAnnot& l : links) {
        EXPECT_GE(l.rect[0], 56);
        EXPECT_LT(l.rect[0], l.rect[2]);
        EXPECT_LT(l.rect[1], l.rect[3]);
        EXPECT_LE(l.rect[3], 842 - 56);
    }
    EXPECT_GE(links[0].rect[1], links[1].rect[3]) << "North's line is above South's";

    const std::vector<PdfOutlineEntry> outline = nav.Outline();
    EXPECT_THAT(nav.Problems, IsEmpty());
    EXPECT_THAT(Titles(outline), ElementsAre("Contents @1", "Regions @2", "  North @2",
                                             "    Vilnius @2", "  South \u0105\u017euolas @3",
                                             "    Kaunas @3", "Appendix @4", "  Notes @4"));
    EXPECT_THAT(nav.Catalog(), HasSubstr("/PageMode /UseOutlines"));
    // A jump lands where its anchor's heading is; headings further down a sheet lie lower.
    ASSERT_EQ(outline.size(), 8u);
    EXPECT_DOUBLE_EQ(links[0].dest_y, outline[2].y);
    EXPECT_DOUBLE_EQ(links[1].dest_y, outline[4].y);
    EXPECT_DOUBLE_EQ(links[5].dest_y, outline[6].y);
    EXPECT_GT(outline[1].y, outline[2].y);
    EXPECT_GT(outline[2].y, outline[3].y);
    EXPECT_LE(outline[0].y, 842 - 56);

    // Sheets 2 and 3 only: the jumps to anchors on sheets not printed go nowhere, and the
    // outline holds the headings printed.
    const std::string part = dir.File("part.pdf");
    ASSERT_EQ(Render(ShellQuote(html) + " --pdf " + ShellQuote(part) + " --from 2 --to 3").status,
              0);
    PdfStructure some(part);
    EXPECT_THAT(Addresses(some.Links()), ElementsAre("1 -> 0"));
    EXPECT_THAT(Titles(some.Outline()),
                ElementsAre("Regions @1", "  North @1", "    Vilnius @1",
                            "  South \u0105\u017euolas @2", "    Kaunas @2"));
    EXPECT_THAT(some.Problems, IsEmpty());
}

TEST(PdfNavigation, AReportWithoutLinksOrHeadingsHasNeitherAnnotationsNorOutline) {
    const TempDir dir;
    const std::string html = dir.Write("plain.htm", "<P>one<PAGE>two").string();
    const std::string pdf = dir.File("plain.pdf");
    ASSERT_EQ(Render(ShellQuote(html) + " --pdf " + ShellQuote(pdf)).status, 0);
    PdfStructure plain(pdf);
    EXPECT_EQ(plain.PageCount(), 2);
    EXPECT_THAT(plain.Links(), IsEmpty());
    EXPECT_THAT(plain.Outline(), IsEmpty());
    EXPECT_THAT(plain.Catalog(), ::testing::Not(HasSubstr("/PageMode")));
}
#endif

}  // namespace
}  // namespace quillon::testing
