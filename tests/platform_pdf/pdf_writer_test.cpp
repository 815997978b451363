#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/pdf/content_stream.h"
#include "platform/pdf/pdf_writer.h"
#include "tests/common/pdf_text.h"
#include "tests/common/temp_dir.h"

namespace quillon::pdf {
namespace {

using quillon::testing::PdfPageCount;
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

}  // namespace
}  // namespace quillon::pdf
