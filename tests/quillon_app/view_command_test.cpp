// quillon view: the built command drawing a report file's viewer window into a PNG
// without a display, the viewer chosen for HTML, RTF and text, the window opened at an
// anchor or a search hit, and the exit codes; quillon run --view refusing to run without a
// display.

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

// What the command says on stderr (stdout is empty) for the picture of args.
ShellOutput ViewSaying(const std::string& args) {
    return RunShell("QT_QPA_PLATFORM=offscreen '" QUILLON_BINARY "' view " + args + " 2>&1");
}

bool ShowsRed(const std::string& png) {
    const QImage shot(QString::fromStdString(png));
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            const QColor c = shot.pixelColor(x, y);
            if (c.red() > 200 && c.green() < 60 && c.blue() < 60) return true;
        }
    }
    return false;
}

// A red band far down a long document, under the anchor "totals" and holding the text
// "grand total": the picture shows red exactly when the window opened there.
TEST(ViewCommand, OpensAtTheAnchorOrTheSearchHit) {
    TempDir dir;
    std::string lines;
    for (int i = 0; i < 80; ++i) lines += "<P>line " + std::to_string(i) + "</P>";
    const std::string band =
        "<A NAME=\"totals\"></A><TABLE WIDTH=\"100%\" BGCOLOR=\"#FF0000\"><TR><TD>grand "
        "total</TD></TR></TABLE>";
    const std::string page = dir.Write("long.htm", lines + band + lines).string();
    const std::string png = dir.File("shot.png");
    const std::string shot = " --size 400x300 --screenshot '" + png + "'";

    ASSERT_EQ(View("'" + page + "'" + shot), 0);
    EXPECT_FALSE(ShowsRed(png)) << "the top of the document";
    ASSERT_EQ(View("'" + page + "#totals'" + shot), 0);
    EXPECT_TRUE(ShowsRed(png)) << "the anchor";
    ASSERT_EQ(View("'" + page + "#TOTALS'" + shot), 0);
    EXPECT_TRUE(ShowsRed(png)) << "anchors in any case";
    ASSERT_EQ(View("'" + page + "' --find 'GRAND TOTAL'" + shot), 0);
    EXPECT_TRUE(ShowsRed(png)) << "the search hit";

    // A missing anchor is said, and the document opens at its top.
    const ShellOutput missing = ViewSaying("'" + page + "#nowhere'" + shot);
    EXPECT_EQ(missing.status, 0);
    EXPECT_NE(missing.out.find("no anchor \"nowhere\""), std::string::npos) << missing.out;
    EXPECT_FALSE(ShowsRed(png));
    const ShellOutput absent = ViewSaying("'" + page + "' --find zebra" + shot);
    EXPECT_EQ(absent.status, 0);
    EXPECT_NE(absent.out.find("\"zebra\" is not in"), std::string::npos) << absent.out;

    // A file whose name holds "#" is that file; a missing file is still an error.
    const std::string hashed = dir.Write("a#totals.htm", band).string();
    ASSERT_EQ(View("'" + hashed + "'" + shot), 0);
    EXPECT_TRUE(ShowsRed(png));
    EXPECT_EQ(View("'" + dir.File("gone.htm") + "#totals'" + shot), 1);
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
