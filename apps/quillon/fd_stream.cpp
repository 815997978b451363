#include "apps/quillon/fd_stream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace quillon::app {

// Standard output is always written with write(), in order, at the shared file position:
// a file that others write too (a log the shell redirects several commands into) gets
// the report where it stands, and what is written after it comes after it.
FdStream::FdStream() : fd_(STDOUT_FILENO) {}

FdStream::FdStream(const std::string& path)
    : fd_(::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666)), owned_(true) {
    seekable_ = fd_ >= 0 && ::lseek(fd_, 0, SEEK_CUR) >= 0;
}

FdStream::~FdStream() {
    Close();
}

std::size_t FdStream::Read(char* buffer, std::size_t n) {
    if (fd_ < 0 || !seekable_) return 0;
    for (;;) {
        const ssize_t got = ::pread(fd_, buffer, n, static_cast<off_t>(position_));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return 0;
        position_ += static_cast<std::uint64_t>(got);
        return static_cast<std::size_t>(got);
    }
}

bool FdStream::Write(std::string_view data) {
    if (fd_ < 0) return false;
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = seekable_ ? ::pwrite(fd_, data.data() + done, data.size() - done,
                                               static_cast<off_t>(position_ + done))
                                    : ::write(fd_, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            position_ += done;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    position_ += done;
    return true;
}

bool FdStream::Seek(std::uint64_t position) {
    if (!seekable_) return position == position_;
    position_ = position;
    return true;
}

std::uint64_t FdStream::Size() const {
    struct stat st {};
    if (!seekable_ || ::fstat(fd_, &st) != 0) return position_;
    return static_cast<std::uint64_t>(st.st_size);
}

bool FdStream::Truncate(std::uint64_t size) {
    if (!seekable_ || ::ftruncate(fd_, static_cast<off_t>(size)) != 0) return false;
    if (position_ > size) position_ = size;
    return true;
}

bool FdStream::Close() {
    if (!owned_ || fd_ < 0) return true;
    const int rc = ::close(fd_);
    fd_ = -1;
    return rc == 0;
}

}  // namespace quillon::app
