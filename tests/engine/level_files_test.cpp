// Walking a run's level files in the viewer: through the list the run remembers, and by
// name and file time for files the run list does not know.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "engine/level_files.h"
#include "engine/quillon.h"
#include "tests/engine/engine_test_support.h"

namespace quillon {
namespace {

namespace fs = std::filesystem;
using testing::FakeViewer;
using testing::TempDir;

// The name markup "<" + inverted question mark, in UTF-8.
#define NM "<\xC2\xBF"

class RunFileWalkTest : public ::testing::Test {
  protected:
    // Writes a file whose modification time is `seconds` after a fixed moment.
    std::string File(const std::string& name, double seconds = 0) {
        const fs::path path = dir_.Write(name, name);
        fs::last_write_time(path, base_ + std::chrono::duration_cast<fs::file_time_type::duration>(
                                              std::chrono::duration<double>(seconds)));
        return path.string();
    }

    TempDir dir_;
    fs::file_time_type base_ = fs::file_time_type::clock::now() - std::chrono::hours(1);
};

TEST_F(RunFileWalkTest, ASingleLevelRunHasNoFurtherFile) {
    const std::string main = File("REPORT.HTM");
    EXPECT_EQ(SecondHTMFile({}, main, kLevelFileLast), "");
    EXPECT_EQ(SecondHTMFile({}, main, kLevelFileNext), "");
    EXPECT_EQ(SecondHTMFile({}, main, kLevelFilePrior), "");
    EXPECT_EQ(SecondHTMFile({}, main, kLevelFileSame), main);
    EXPECT_EQ(SecondHTMFile({}, dir_.File("MISSING.HTM"), kLevelFileSame), "");
    EXPECT_EQ(SecondHTMFile({main}, main, kLevelFileNext), "");
}

TEST_F(RunFileWalkTest, LevelFilesOfOneRunAreWalkedByNameAndTime) {
    const std::string main = File("REPORT.HTM");
    const std::string h04 = File("REPORT.H04", 0.5);
    const std::string h06 = File("REPORT.H06", 1.0);
    File("REPORT.H05", -10);  // left over from an older run
    File("REPORT.H07", 3.0);  // 2 seconds after REPORT.H06: another run
    EXPECT_EQ(SecondHTMFile({}, main, kLevelFileNext), h04);
    EXPECT_EQ(SecondHTMFile({}, h04, kLevelFileNext), h06);
    EXPECT_EQ(SecondHTMFile({}, h06, kLevelFileNext), "");
    EXPECT_EQ(SecondHTMFile({}, h06, kLevelFilePrior), h04);
    EXPECT_EQ(SecondHTMFile({}, h04, kLevelFilePrior), main);
    EXPECT_EQ(SecondHTMFile({}, main, kLevelFileLast), h06);
}

TEST_F(RunFileWalkTest, TheMainFileIsFoundWhateverItsExtensionAndCase) {
    const std::string html = File("r.html");
    const std::string ht04 = File("r.ht04", 0.2);
    EXPECT_EQ(SecondHTMFile({}, ht04, kLevelFilePrior), html);
    EXPECT_EQ(SecondHTMFile({}, html, kLevelFileNext), ht04);

    const std::string lower = File("report.htm");
    const std::string h04 = File("report.h04");
    EXPECT_EQ(SecondHTMFile({}, h04, kLevelFilePrior), lower);

    // A main file of another run is not taken; of two of the same run, the nearer in time.
    File("x.htm", -30);
    const std::string x04 = File("x.h04");
    EXPECT_EQ(SecondHTMFile({}, x04, kLevelFilePrior), "");
    const std::string x_txt = File("x.txt", 0.1);
    File("x.tab", 1.5);
    const std::string t04 = File("x.t04");
    EXPECT_EQ(SecondHTMFile({}, t04, kLevelFilePrior), x_txt);
}

TEST_F(RunFileWalkTest, TheRunListNeedsNoTimesAndSkipsMissingFiles) {
    const std::string main = File("out.html");
    const std::string l04 = File("out.ht04", 500);  // rewritten long after the run
    const std::string l05 = dir_.File("out.ht05");  // deleted since
    const std::string l07 = File("out.ht07", -500);
    const RunFiles run{main, l04, l05, l07};
    EXPECT_EQ(SecondHTMFile(run, main, kLevelFileNext), l04);
    EXPECT_EQ(SecondHTMFile(run, l04, kLevelFileNext), l07);
    EXPECT_EQ(SecondHTMFile(run, l07, kLevelFilePrior), l04);
    EXPECT_EQ(SecondHTMFile(run, l04, kLevelFilePrior), main);
    EXPECT_EQ(SecondHTMFile(run, main, kLevelFilePrior), "");
    EXPECT_EQ(SecondHTMFile(run, main, kLevelFileLast), l07);
    EXPECT_EQ(SecondHTMFile(run, l07, kLevelFileLast), "");
    // The same file under another spelling of its path is found in the list.
    const std::string other = (dir_.Path() / "." / "out.ht04").string();
    EXPECT_EQ(SecondHTMFile(run, other, kLevelFileNext), l07);
    // A file outside the list is walked by name, with the time test.
    const std::string stray = File("other.htm");
    File("other.h04", 100);
    EXPECT_EQ(SecondHTMFile(run, stray, kLevelFileNext), "");
}

// A multi-level run into files, then the viewer walks them.
TEST(RunFileWalk, ExecAndLoadLoadsTheMainFileAndTheViewerWalksTheLevelFiles) {
    TempDir dir;
    const std::string format = dir.Write("rep.html", "^^R\r\n@0\r\nHEAD\r\n@3\r\nD " NM
                                                     "VAL>?\r\n@4\r\nS4\r\n@6\r\nS6\r\n")
                                   .string();
    std::vector<std::string> messages;
    HeadlessHost host([&](const HeadlessHost::Message& m) {
        messages.push_back(m.text);
        return mrOk;
    });
    TQuillon report(host);
    FakeViewer viewer;
    report.SetViewerExt(&viewer);
    report.SetFormatFile(format);
    report.SetFormatName("*");
    report.SetMultiLevel(true);
    report.SetPrnFile(dir.File("out"));
    int rows = 0;
    report.OnNext = [&](TQuillon&, bool& next) { next = rows++ < 2; };
    report.OnGetDetailLine = [](TQuillon& r) { r.FieldByName("VAL").SetAsString("1"); };
    ASSERT_TRUE(report.ExecAndLoad());
    ASSERT_TRUE(messages.empty()) << messages.front();

    const std::string main = dir.File("out.html");
    const std::string l04 = dir.File("out.ht04");
    const std::string l06 = dir.File("out.ht06");
    EXPECT_EQ(report.LastRunFiles(), (RunFiles{main, l04, l06}));
    EXPECT_EQ(viewer.CurrentFile(), main);

    // The files stay one run even when a level file is touched afterwards.
    fs::last_write_time(l04, fs::last_write_time(main) + std::chrono::hours(2));
    EXPECT_TRUE(report.LoadNext());
    EXPECT_EQ(viewer.CurrentFile(), l04);
    EXPECT_TRUE(report.LoadNext("D", true));
    EXPECT_EQ(viewer.CurrentFile(), l06);
    EXPECT_EQ(viewer.calls.back(), "Find D case");
    EXPECT_FALSE(report.LoadNext());
    EXPECT_EQ(viewer.CurrentFile(), l06);  // nothing else was loaded
    EXPECT_TRUE(report.LoadPrior());
    EXPECT_TRUE(report.LoadPrior());
    EXPECT_EQ(viewer.CurrentFile(), main);
    EXPECT_FALSE(report.LoadPrior());
    EXPECT_TRUE(report.LoadLast());
    EXPECT_EQ(viewer.CurrentFile(), l06);
    EXPECT_TRUE(report.LoadFirst("  "));
    EXPECT_EQ(viewer.CurrentFile(), main);
    EXPECT_NE(viewer.calls.back().rfind("LoadFromFile", 0), std::string::npos);
}

}  // namespace
}  // namespace quillon
