#include "engine/level_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace quillon {

LevelFile::~LevelFile() {
    Close();
}

bool LevelFile::Create(const std::string& path) {
    Close();
    fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd_ < 0) return false;
    path_ = path;
    return true;
}

bool LevelFile::Write(std::string_view data, std::size_t& done) {
    if (fd_ < 0) return false;
    while (done < data.size()) {
        const ssize_t n = ::write(fd_, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool LevelFile::Close() {
    if (fd_ < 0) return true;
    const int rc = ::close(fd_);
    fd_ = -1;
    return rc == 0;
}

}  // namespace quillon
