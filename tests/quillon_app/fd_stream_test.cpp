// The run stream of quillon run: a file (seekable, rewritten in place by the second
// parse), a pipe on standard output (only forward), and writes that fail where they fail.

#include "apps/quillon/fd_stream.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <string>

#include "tests/common/temp_dir.h"

namespace quillon::app {
namespace {

using testing::ReadFile;
using testing::TempDir;

std::string ReadAll(FdStream& s) {
    std::string all;
    std::array<char, 3> buffer{};  // small: reads continue where the last one ended
    for (std::size_t n; (n = s.Read(buffer.data(), buffer.size())) > 0;)
        all.append(buffer.data(), n);
    return all;
}

TEST(FdStream, AFileIsWrittenReadRewrittenAndTruncatedInPlace) {
    const TempDir dir;
    const std::string path = dir.File("report.txt");
    dir.Write("report.txt", "old content that must go");
    FdStream s(path);
    ASSERT_TRUE(s.IsOpen());
    EXPECT_EQ(s.Size(), 0u);  // opening empties the file
    EXPECT_TRUE(s.Write("line one\r\n"));
    EXPECT_TRUE(s.Write("line two\r\n"));
    EXPECT_EQ(s.Position(), 20u);
    EXPECT_EQ(s.Size(), 20u);

    ASSERT_TRUE(s.Seek(5));
    EXPECT_EQ(ReadAll(s), "one\r\nline two\r\n");
    EXPECT_EQ(s.Position(), 20u);
    ASSERT_TRUE(s.Seek(5));
    EXPECT_TRUE(s.Write("ONE"));
    EXPECT_EQ(s.Position(), 8u);
    EXPECT_TRUE(s.Truncate(10));
    EXPECT_EQ(s.Position(), 8u);  // before the cut: stays
    EXPECT_TRUE(s.Truncate(4));
    EXPECT_EQ(s.Position(), 4u);  // past the cut: moves back to the end
    EXPECT_TRUE(s.Close());
    EXPECT_EQ(ReadFile(path), "line");
    EXPECT_FALSE(s.Write("x"));  // closed
}

TEST(FdStream, AFileThatCannotBeMadeIsNotOpenAndTakesNothing) {
    FdStream s("/nonexistent/dir/report.txt");
    EXPECT_FALSE(s.IsOpen());
    EXPECT_FALSE(s.Write("x"));
    EXPECT_FALSE(s.Truncate(0));
    EXPECT_TRUE(s.Close());
}

TEST(FdStream, AFullDeviceFailsTheWriteItself) {
    FdStream s("/dev/full");
    ASSERT_TRUE(s.IsOpen());
    EXPECT_FALSE(s.Write("no room for this"));
    EXPECT_TRUE(s.Write(""));  // nothing to write cannot fail
}

// Standard output redirected to a pipe for the lifetime of the object.
class StdoutToPipe {
  public:
    StdoutToPipe() {
        ok_ = ::pipe(fds_.data()) == 0;
        saved_ = ::dup(STDOUT_FILENO);
        ok_ = ok_ && saved_ >= 0 && ::dup2(fds_[1], STDOUT_FILENO) >= 0;
    }
    ~StdoutToPipe() {
        Restore();
        ::close(fds_[0]);
    }
    bool ok() const { return ok_; }
    // Puts standard output back and returns what was written to the pipe.
    std::string Restore() {
        if (saved_ < 0) return {};
        ::dup2(saved_, STDOUT_FILENO);
        ::close(saved_);
        ::close(fds_[1]);
        saved_ = -1;
        std::string all;
        std::array<char, 256> buffer{};
        for (ssize_t n; (n = ::read(fds_[0], buffer.data(), buffer.size())) > 0;) {
            all.append(buffer.data(), static_cast<std::size_t>(n));
        }
        return all;
    }

  private:
    std::array<int, 2> fds_{-1, -1};
    int saved_ = -1;
    bool ok_ = false;
};

TEST(FdStream, StandardOutputOnAPipeGoesOnlyForward) {
    StdoutToPipe pipe;
    ASSERT_TRUE(pipe.ok());
    std::string written;
    {
        FdStream s;
        ASSERT_TRUE(s.IsOpen());
        EXPECT_TRUE(s.Write("first\n"));
        EXPECT_TRUE(s.Write("second\n"));
        EXPECT_EQ(s.Position(), 13u);
        EXPECT_EQ(s.Size(), 13u);
        EXPECT_TRUE(s.Seek(13));  // where it is: fine
        EXPECT_FALSE(s.Seek(0));  // back: impossible
        char c = 0;
        EXPECT_EQ(s.Read(&c, 1), 0u);
        EXPECT_FALSE(s.Truncate(0));
        EXPECT_TRUE(s.Close());  // standard output stays open
    }
    written = pipe.Restore();
    EXPECT_EQ(written, "first\nsecond\n");
}

}  // namespace
}  // namespace quillon::app
