// The progress line of quillon run: nothing at all when it is off, at most one redraw per
// interval while records come, and the final figures on a line of their own.

#include "apps/quillon/progress_meter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <regex>
#include <string>
#include <thread>

namespace quillon::app {
namespace {

// A temporary file to draw into; Text() is everything drawn so far.
class Capture {
  public:
    Capture() : file_(std::tmpfile(), &std::fclose) {}
    std::FILE* get() const { return file_.get(); }
    std::string Text() const {
        std::fflush(file_.get());
        std::string all;
        std::rewind(file_.get());
        for (int c; (c = std::fgetc(file_.get())) != EOF;) all += static_cast<char>(c);
        return all;
    }

  private:
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file_;
};

// One drawn line: "\r", records, pages, records per second.
const std::regex kLine(R"(\r +(\d+) records +(\d+) pages +(\d+) records/s)");

TEST(ProgressMeter, OffDrawsNothing) {
    Capture out;
    ProgressMeter meter(false, out.get());
    for (std::size_t i = 1; i <= 5000; ++i) meter.Update(i, 1);
    meter.Finish(5000, 2);
    EXPECT_EQ(out.Text(), "");
}

TEST(ProgressMeter, FinishDrawsTheFinalFiguresAndEndsTheLine) {
    Capture out;
    ProgressMeter meter(true, out.get());
    for (std::size_t i = 1; i <= 1000; ++i) meter.Update(i, 1);
    EXPECT_EQ(out.Text(), "");  // too soon for a redraw
    meter.Finish(1234, 7);
    const std::string text = out.Text();
    std::smatch m;
    ASSERT_TRUE(std::regex_search(text, m, kLine)) << text;
    EXPECT_EQ(m.position(0), 0);
    EXPECT_EQ(m[1], "1234");
    EXPECT_EQ(m[2], "7");
    EXPECT_EQ(text.back(), '\n');
    EXPECT_EQ(text.find('\n'), text.size() - 1);
}

TEST(ProgressMeter, RedrawsInPlaceAfterTheIntervalWithTheCurrentFigures) {
    Capture out;
    ProgressMeter meter(true, out.get());
    std::this_thread::sleep_for(std::chrono::milliseconds(250));
    for (std::size_t i = 1; i <= 2048; ++i) meter.Update(i, 3);
    const std::string text = out.Text();
    std::smatch m;
    ASSERT_TRUE(std::regex_search(text, m, kLine)) << text;
    EXPECT_EQ(m[1], "1024");  // the first record count looked at after the interval
    EXPECT_EQ(m[2], "3");
    EXPECT_EQ(text.find('\n'), std::string::npos);  // the line stays open for the next redraw
    EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 1);
}

}  // namespace
}  // namespace quillon::app
