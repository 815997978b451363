#include "platform/core/stream.h"

#include <sys/types.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

namespace quillon {

std::size_t TMemoryStream::Read(char* buffer, std::size_t n) {
    if (position_ >= data_.size()) return 0;
    const std::size_t count = std::min(n, data_.size() - position_);
    std::memcpy(buffer, data_.data() + position_, count);
    position_ += count;
    return count;
}

bool TMemoryStream::Write(std::string_view data) {
    if (position_ > data_.size()) data_.resize(position_, '\0');
    const std::size_t overlap = std::min(data.size(), data_.size() - position_);
    data_.replace(position_, overlap, data);
    position_ += data.size();
    return true;
}

bool TMemoryStream::Seek(std::uint64_t position) {
    position_ = static_cast<std::size_t>(position);
    return true;
}

bool TMemoryStream::Truncate(std::uint64_t size) {
    if (size < data_.size()) data_.resize(static_cast<std::size_t>(size));
    position_ = std::min(position_, data_.size());
    return true;
}

TFileStream::TFileStream(const std::filesystem::path& path, Mode mode) {
    const char* how = mode == Mode::kRead ? "rb" : mode == Mode::kReadWrite ? "r+b" : "w+b";
    file_ = std::fopen(path.c_str(), how);
}

std::unique_ptr<TFileStream> TFileStream::Temporary() {
    std::FILE* f = std::tmpfile();
    if (f == nullptr) return nullptr;
    return std::unique_ptr<TFileStream>(new TFileStream(f));
}

TFileStream::~TFileStream() {
    Close();
}

std::size_t TFileStream::Read(char* buffer, std::size_t n) {
    if (file_ == nullptr || n == 0) return 0;
    return std::fread(buffer, 1, n, file_);
}

bool TFileStream::Write(std::string_view data) {
    if (file_ == nullptr) return false;
    if (data.empty()) return true;
    return std::fwrite(data.data(), 1, data.size(), file_) == data.size();
}

bool TFileStream::Seek(std::uint64_t position) {
    if (file_ == nullptr) return false;
    return fseeko(file_, static_cast<off_t>(position), SEEK_SET) == 0;
}

std::uint64_t TFileStream::Position() const {
    if (file_ == nullptr) return 0;
    const off_t p = ftello(file_);
    return p < 0 ? 0 : static_cast<std::uint64_t>(p);
}

std::uint64_t TFileStream::Size() const {
    if (file_ == nullptr) return 0;
    std::fflush(file_);
    const off_t here = ftello(file_);
    if (fseeko(file_, 0, SEEK_END) != 0) return 0;
    const off_t end = ftello(file_);
    fseeko(file_, here, SEEK_SET);
    return end < 0 ? 0 : static_cast<std::uint64_t>(end);
}

bool TFileStream::Truncate(std::uint64_t size) {
    if (file_ == nullptr || std::fflush(file_) != 0) return false;
    const std::uint64_t here = Position();
    if (ftruncate(fileno(file_), static_cast<off_t>(size)) != 0) return false;
    return Seek(std::min(here, size));
}

bool TFileStream::Flush() {
    return file_ != nullptr && std::fflush(file_) == 0;
}

bool TFileStream::Close() {
    if (file_ == nullptr) return true;
    const bool flushed = std::fflush(file_) == 0;
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    return flushed && closed;
}

}  // namespace quillon
