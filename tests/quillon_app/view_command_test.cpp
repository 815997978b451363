// quillon view: the built command drawing a document into a PNG without a display, and its
// exit codes.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/common/shell_command.h"
#include "tests/common/temp_dir.h"

namespace quillon::testing {
namespace {

#if defined(QUILLON_BINARY) && defined(QUILLON_HAS_VIEW)
int View(const std::string& args) {
    return RunShell("QT_QPA_PLATFORM=offscreen '" QUILLON_BINARY "' view " + args + " 2>/dev/null")
        .status;
}

TEST(ViewCommand, DrawsThePictureAndReportsWhatIsWrong) {
    TempDir dir;
    const std::string page =
        dir.Write("page.htm", "<TITLE>T</TITLE><P>Hello <A HREF=x.htm>link</A></P>").string();
    const std::string png = dir.File("shot.png");
    EXPECT_EQ(View("'" + page + "' --size 300x200 --find hello --screenshot '" + png + "'"), 0);
    EXPECT_GT(std::filesystem::file_size(png), 100u);
    EXPECT_EQ(View("'" + dir.File("missing.htm") + "' --screenshot '" + png + "'"), 1);
    EXPECT_EQ(View("'" + page + "' --screenshot '" + dir.File("no/such/dir/x.png") + "'"), 2);
    EXPECT_EQ(View("'" + page + "' --size 20x20 --screenshot '" + png + "'"), 64);
}
#endif

}  // namespace
}  // namespace quillon::testing
