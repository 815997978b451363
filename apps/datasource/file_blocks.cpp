#include "apps/datasource/file_blocks.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "apps/datasource/data_source.h"

namespace quillon::data {

FileBlocks::FileBlocks(const std::filesystem::path& path, std::string name)
    : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)), name_(std::move(name)) {}

FileBlocks::~FileBlocks() {
    if (fd_ >= 0) ::close(fd_);
}

bool FileBlocks::IsRegular() const {
    struct stat status {};
    return fd_ >= 0 && ::fstat(fd_, &status) == 0 && S_ISREG(status.st_mode);
}

std::size_t FileBlocks::Read(char* buffer, std::size_t size) {
    for (;;) {
        const ssize_t got = ::read(fd_, buffer, size);
        if (got >= 0) return static_cast<std::size_t>(got);
        if (errno != EINTR) throw DataSourceError(name_ + ": the file cannot be read");
    }
}

void FileBlocks::Rewind() {
    if (::lseek(fd_, 0, SEEK_SET) != 0) {
        throw DataSourceError(name_ + ": the file cannot be read again from its start");
    }
}

}  // namespace quillon::data
