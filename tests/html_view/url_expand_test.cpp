#include <filesystem>

#include <gtest/gtest.h>

#include "html/view/url_expand.h"
#include "model_test_support.h"

namespace quillon {
namespace {

TEST(UrlExpand, FileUrlsBecomeLocalPathsAndCaseIsKept) {
    EXPECT_EQ(UrlToLocalPath("file:///tmp/Reports/A.htm", ""), "/tmp/Reports/A.htm");
    EXPECT_EQ(UrlToLocalPath("FILE://localhost/tmp/My%20File.HTM", ""), "/tmp/My File.HTM");
    EXPECT_EQ(UrlToLocalPath("  Sub\\Page.HTM ", ""), "Sub/Page.HTM");
    // Server-rooted names go under ServerRoot; file URLs do not.
    EXPECT_EQ(UrlToLocalPath("/docs/x.htm", "/srv/www/"), "/srv/www/docs/x.htm");
    EXPECT_EQ(UrlToLocalPath("file:///docs/x.htm", "/srv/www"), "/docs/x.htm");
    EXPECT_EQ(NormalServerRoot("  /srv/www\\ "), "/srv/www");
}

TEST(UrlExpand, RelativeNamesResolveAgainstBaseOrTheCurrentFile) {
    ExpandContext ctx;
    ctx.CurrentFile = "/data/Reports/Main.htm";
    EXPECT_EQ(ExpandViewerFilename("Page2.HTM", ctx), "/data/Reports/Page2.HTM");
    EXPECT_EQ(ExpandViewerFilename("../img/Logo.GIF", ctx), "/data/img/Logo.GIF");
    EXPECT_EQ(ExpandViewerFilename("/abs/X.htm", ctx), "/abs/X.htm");
    ctx.Base = "file:///web/site/index.htm";
    EXPECT_EQ(ExpandViewerFilename("a/b.htm", ctx), "/web/site/a/b.htm");
    ctx.Base = "dospath";  // no base: the current file's folder again
    EXPECT_EQ(ExpandViewerFilename("b.htm", ctx), "/data/Reports/b.htm");
}

TEST(UrlExpand, SameFileComparesCanonicalPaths) {
    testing::ScratchDir dir;
    const std::string a = dir.Write("sub/Report.htm", "x");
    std::filesystem::create_symlink(dir.Path("sub"), dir.Path("link"));
    EXPECT_TRUE(SameFile(a, dir.Path("sub/../sub/Report.htm")));
    EXPECT_TRUE(SameFile(a, dir.Path("link/Report.htm")));
    EXPECT_FALSE(SameFile(a, dir.Path("sub/report.htm")));  // case matters here
    EXPECT_FALSE(SameFile("", ""));
}

TEST(UrlExpand, DestinationsAndLinkedFileKinds) {
    const FileAndDest fd = SplitDestination("page.htm#Part2");
    EXPECT_EQ(fd.File, "page.htm");
    EXPECT_EQ(fd.Dest, "Part2");
    EXPECT_EQ(SplitDestination("page.htm").Dest, "");
    EXPECT_EQ(LinkedFileKind("/a/B.Html"), TLinkedFileKind::Html);
    EXPECT_EQ(LinkedFileKind("/a/b.htm"), TLinkedFileKind::Html);
    EXPECT_EQ(LinkedFileKind("/a/pic.JPEG"), TLinkedFileKind::Image);
    EXPECT_EQ(LinkedFileKind("/a/pic.png"), TLinkedFileKind::Image);
    EXPECT_EQ(LinkedFileKind("/a/notes.txt"), TLinkedFileKind::Other);
    EXPECT_EQ(LinkedFileKind("/a/noext"), TLinkedFileKind::Other);
}

}  // namespace
}  // namespace quillon
