// quillon view: the built command drawing a report file's viewer window into a PNG
// without a display, the viewer chosen for HTML, RTF and text, and the exit codes; quillon
// run --view refusing to run without a display.

#include <gtest/gtest.h>

#include <QImage>

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

// The picture is the whole window: its size, the tool panel's face colour along the top
// and the document's white below it.
TEST(ViewCommand, ThePictureIsTheWholeViewerWindowOfTheFilesKind) {
    TempDir dir;
    const std::string png = dir.File("shot.png");
    const std::string html = dir.Write("r.htm", "<P>one<PAGE><P>two</P>").string();
    const std::string rtf = dir.Write("r.rtf", "{\\rtf1\\ansi Hello rich}").string();
    const std::string text = dir.Write("r.txt", "plain text\r\n").string();
    for (const std::string& file : {html, rtf, text}) {
        SCOPED_TRACE(file);
        ASSERT_EQ(View("'" + file + "' --size 400x300 --screenshot '" + png + "'"), 0);
        const QImage shot(QString::fromStdString(png));
        ASSERT_FALSE(shot.isNull());
        EXPECT_EQ(shot.width(), 400);
        EXPECT_EQ(shot.height(), 300);
        EXPECT_NE(shot.pixelColor(5, 5), QColor(Qt::white)) << "the tool panel";
        EXPECT_EQ(shot.pixelColor(200, 200), QColor(Qt::white)) << "the document";
    }
    // A file the RTF reader refuses is an unreadable document.
    const std::string bad = dir.Write("bad.rtf", "{\\rtf1 {{{ ").string();
    const int status = View("'" + bad + "' --screenshot '" + png + "'");
    EXPECT_TRUE(status == 0 || status == 1) << status;
}

int RunView(const std::string& dir, const std::string& args) {
    return RunShell("cd '" + dir +
                    "' && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM '" QUILLON_BINARY
                    "' run " +
                    args + " 2>/dev/null")
        .status;
}

TEST(RunView, NeedsADisplayAndAFileBeforeAnythingRuns) {
    TempDir dir;
    dir.Write("t.htm", "<P>#Name</P>");
    dir.Write("d.csv", "Name\nAnn\n");
    EXPECT_EQ(RunView(dir.Path().string(), "t.htm --data d.csv --view"), 6);
    EXPECT_FALSE(std::filesystem::exists(dir.File("PRX.htm")));
    EXPECT_EQ(RunView(dir.Path().string(), "t.htm --data d.csv --out - --view"), 64);
}

// With a display the run writes its report and then stays in the viewer window until it
// is closed: here it is still there when the time runs out (no crash, no load error).
TEST(RunView, ShowsTheWrittenReportUntilTheWindowCloses) {
    TempDir dir;
    const std::string data = QUILLON_SOURCE_DIR "/tests/quillon_run/data/";
    const int status =
        RunShell("cd '" + dir.Path().string() + "' && QT_QPA_PLATFORM=offscreen timeout 8 '" +
                 QUILLON_BINARY + "' run '" + data + "groups.txt' --data '" + data +
                 "sales.csv' --group city --group customer --out r.txt --view 2>/dev/null")
            .status;
    EXPECT_EQ(status, 124) << "timeout ended the viewer";
    EXPECT_GT(std::filesystem::file_size(dir.File("r.txt")), 10u);
}
#endif

}  // namespace
}  // namespace quillon::testing
