#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/pdf/content_stream.h"
#include "platform/pdf/pdf_writer.h"
#include "tests/common/pdf_structure.h"
#include "tests/common/pdf_text.h"
#include "tests/common/temp_dir.h"

namespace quillon::pdf {
namespace {

using quillon::testing::PdfLinkAnnot;
using quillon::testing::PdfOutlineEntry;
using quillon::testing::PdfPageCount;
using quillon::testing::PdfStructure;
using quillon::testing::RunShell;
using quillon::testing::ShellQuote;
using quillon::testing::TempDir;

std::string ReadAll(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::size_t Count(const std::string& s, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = s.find(what); at != std::string::npos; at = s.find(what, at + 1)) ++n;
    return n;
}

TEST(ContentStream, NumbersAreShortAndExactToAThousandth) {
    std::string out;
    ContentStream s(out);
    for (const double v : {0.0, -0.0001, 2.0, 1.5, -3.25, 1234.56789, 1e9}) s.Num(v);
    s.Int(-7);
    EXPECT_EQ(out, "0 0 2 1.5 -3.25 1234.568 1000000000 -7 ");
    out.clear();
    for (const double v : {-0.5, 0.05, 0.001, -0.0006, 2.0005, 659.75, 1e13, 3e15 + 0.5}) s.Num(v);
    EXPECT_EQ(out, "-0.5 0.05 0.001 -0.001 2.001 659.75 10000000000000 3000000000000000.5 ");
}

TEST(PdfWriter, PagesImagesAndTextReadBack) {
    TempDir dir;
    const std::string path = (dir.Path() / "out.pdf").string();
    RgbaImage red(4, 2, Rgba{255, 0, 0, 255});
    RgbaImage glass(3, 3, Rgba{0, 0, 255, 128});
    {
        PdfWriter w(path, 6);
        EXPECT_THROW(w.AddFont(FontInfo{"No Face", false, false, false, nullptr}), PdfError);
        for (int page = 0; page < 3; ++page) {
            w.BeginPage(595.28, 841.89);
            ContentStream s(w.Content());
            s.Transform(1, 0, 0, 1, 0, 0);
            s.Save();
            s.Transform(40, 0, 0, 20, 100, 100);
            s.Image(w.ImageResource(red));
            s.Restore();
            s.Save();
            s.Transform(30, 0, 0, 30, 200, 100);
            s.Image(w.ImageResource(glass));
            s.Restore();
            w.EndPage();
        }
        w.Finish("Quarterly \u00dcbersicht");
    }
    EXPECT_EQ(PdfPageCount(path), 3);
    const std::string info = RunShell("pdfinfo " + ShellQuote(path)).out;
    EXPECT_NE(info.find("Quarterly \u00dcbersicht"), std::string::npos) << info;
    EXPECT_NE(info.find("595.28 x 841.89 pts"), std::string::npos) << info;
    // Each picture is written once however often it is drawn; the translucent one has a
    // soft mask.
    const std::string bytes = ReadAll(path);
    EXPECT_EQ(Count(bytes, "/Subtype /Image"), 3u);
    EXPECT_EQ(Count(bytes, "/SMask"), 1u);
    const std::string images = RunShell("pdfimages -list " + ShellQuote(path)).out;
    EXPECT_EQ(Count(images, " smask "), 3u) << images;
}

TEST(PdfWriter, AFileIsEitherWholeOrNotThere) {
    TempDir dir;
    const std::string path = (dir.Path() / "dropped.pdf").string();
    {
        PdfWriter w(path);
        w.BeginPage(100, 100);
        w.Content() = "0 0 10 10 re f\n";
        w.EndPage();
        EXPECT_TRUE(std::filesystem::exists(path));
    }  // never finished
    EXPECT_FALSE(std::filesystem::exists(path));
    {
        PdfWriter w(path);
        w.BeginPage(100, 100);
        w.Abort();
    }
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_THROW(PdfWriter((dir.Path() / "no" / "such" / "folder.pdf").string()), PdfError);

    // A document with no page is no PDF file.
    {
        PdfWriter w(path);
        EXPECT_THROW(w.Finish(""), PdfError);
    }
    EXPECT_FALSE(std::filesystem::exists(path));
}

// Checks a file with qpdf when it is installed (it is not a dependency of the build).
void ExpectQpdfAccepts(const std::string& path) {
    if (RunShell("command -v qpdf >/dev/null").status != 0) return;
    const auto r = RunShell("qpdf --check " + ShellQuote(path) + " 2>&1");
    EXPECT_EQ(r.status, 0) << r.out;
}

TEST(PdfWriter, LinksJumpsAndTheOutlineLandOnTheirPages) {
    TempDir dir;
    const std::string path = (dir.Path() / "nav.pdf").string();
    {
        PdfWriter w(path);
        // Page 1: a table of contents; the jump to "LATER" is made before its place is.
        w.BeginPage(600, 800);
        w.AddOutlineItem(1, "Contents", 790);
        w.AddJumpLink(PdfRect{10, 700, 90, 712}, "LATER");
        w.AddJumpLink(PdfRect{10, 680, 90, 692}, "NOWHERE");
        w.AddUriLink(PdfRect{10, 650, 200, 662}, "https://example.com/a (b)\\c?q=\u00e4 x");
        w.AddDestination("TOP", 800);
        w.EndPage();
        // Page 2: an H3 before any H2 goes under the H1; a second place of a name is ignored.
        w.BeginPage(600, 800);
        w.AddOutlineItem(3, "Detail \u0160iauliai \U0001F600", 500);
        w.AddOutlineItem(2, "Section", 400);
        w.AddOutlineItem(3, "Sub", 300);
        w.AddDestination("TOP", 100);
        w.AddUriLink(PdfRect{10, 20, 50, 30}, "mailto:sales@example.com");
        w.EndPage();
        // Page 3: back to the top level; the place the first page jumps to.
        w.BeginPage(600, 800);
        w.AddOutlineItem(1, "Appendix", 700);
        w.AddDestination("LATER", 650.5);
        w.AddJumpLink(PdfRect{10, 20, 50, 30}, "TOP");
        w.EndPage();
        // Outside a page marks are ignored.
        w.AddUriLink(PdfRect{0, 0, 1, 1}, "https://ignored.example");
        w.Finish("Ataskaita \u2013 \u017demaitija");
    }
    EXPECT_EQ(PdfPageCount(path), 3);
    EXPECT_THAT(RunShell("pdfinfo " + ShellQuote(path)).out,
                ::testing::HasSubstr("Ataskaita \u2013 \u017demaitija"));
    ExpectQpdfAccepts(path);

    PdfStructure pdf(path);
    ASSERT_EQ(pdf.PageCount(), 3);
    const std::vector<PdfLinkAnnot> links = pdf.Links();
    ASSERT_EQ(links.size(), 5u);
    EXPECT_EQ(links[0].page, 1);
    EXPECT_EQ(links[0].dest_page, 3);
    EXPECT_DOUBLE_EQ(links[0].dest_y, 650.5);
    EXPECT_DOUBLE_EQ(links[0].rect[0], 10);
    EXPECT_DOUBLE_EQ(links[0].rect[3], 712);
    // A jump to a name that never got a place goes nowhere.
    EXPECT_EQ(links[1].dest_page, 0);
    EXPECT_EQ(links[1].uri, "");
    // Spaces and non-ASCII bytes are escaped; the string's own delimiters too.
    EXPECT_EQ(links[2].uri, "https://example.com/a%20(b)\\c?q=%C3%A4%20x");
    EXPECT_EQ(links[3].page, 2);
    EXPECT_EQ(links[3].uri, "mailto:sales@example.com");
    EXPECT_EQ(links[4].page, 3);
    EXPECT_EQ(links[4].dest_page, 1);  // the first place of TOP
    EXPECT_DOUBLE_EQ(links[4].dest_y, 800);

    const std::vector<PdfOutlineEntry> outline = pdf.Outline();
    EXPECT_THAT(pdf.Problems, ::testing::IsEmpty());
    ASSERT_EQ(outline.size(), 5u);
    const auto entry = [&](std::size_t i) {
        const PdfOutlineEntry& e = outline[i];
        return std::to_string(e.depth) + " " + e.title + " p" + std::to_string(e.page) + " " +
               std::to_string(static_cast<int>(e.y)) + " c" + std::to_string(e.count);
    };
    EXPECT_EQ(entry(0), "0 Contents p1 790 c3");
    EXPECT_EQ(entry(1), "1 Detail \u0160iauliai \U0001F600 p2 500 c0");
    EXPECT_EQ(entry(2), "1 Section p2 400 c1");
    EXPECT_EQ(entry(3), "2 Sub p2 300 c0");
    EXPECT_EQ(entry(4), "0 Appendix p3 700 c0");
    EXPECT_THAT(pdf.Catalog(), ::testing::HasSubstr("/PageMode /UseOutlines"));
}

TEST(PdfWriter, ADocumentWithoutMarksHasNoAnnotationsOrOutline) {
    TempDir dir;
    const std::string path = (dir.Path() / "plain.pdf").string();
    {
        PdfWriter w(path);
        w.BeginPage(100, 100);
        w.EndPage();
        w.Finish("");
    }
    const std::string bytes = ReadAll(path);
    EXPECT_EQ(bytes.find("/Annots"), std::string::npos);
    EXPECT_EQ(bytes.find("/Outlines"), std::string::npos);
    EXPECT_EQ(bytes.find("/PageMode"), std::string::npos);
    EXPECT_EQ(bytes.find("/Title"), std::string::npos);
    ExpectQpdfAccepts(path);
}

}  // namespace
}  // namespace quillon::pdf
