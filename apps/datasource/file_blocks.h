#pragma once
// A data file read in blocks through its descriptor: a pipe hands over what it has without
// waiting for a whole block, and a regular file can be read again from its start.

#include <cstddef>
#include <filesystem>
#include <string>

namespace quillon::data {

class FileBlocks {
  public:
    // name stands for the file in messages.
    FileBlocks(const std::filesystem::path& path, std::string name);
    FileBlocks(const FileBlocks&) = delete;
    FileBlocks& operator=(const FileBlocks&) = delete;
    ~FileBlocks();

    bool IsOpen() const { return fd_ >= 0; }
    // A regular file (not a pipe or device): it can be rewound.
    bool IsRegular() const;
    // Bytes read, 0 at the end; throws DataSourceError on a read error.
    std::size_t Read(char* buffer, std::size_t size);
    // Back to the start of the file; throws DataSourceError when it cannot be.
    void Rewind();

  private:
    int fd_;
    std::string name_;
};

}  // namespace quillon::data
