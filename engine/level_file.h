#pragma once
// An output file of a report run, written through the operating system directly so that
// every failing write is seen where it happens and can be retried from the first byte
// that did not reach the file.

#include <string>
#include <string_view>

namespace quillon {

class LevelFile {
  public:
    LevelFile() = default;
    LevelFile(const LevelFile&) = delete;
    LevelFile& operator=(const LevelFile&) = delete;
    ~LevelFile();

    // Creates (or empties) the file; false when it cannot be created.
    bool Create(const std::string& path);
    bool IsOpen() const { return fd_ >= 0; }
    const std::string& Path() const { return path_; }

    // Writes data from byte `done` on, advancing done past every byte written; false when
    // the system refused a write (done then tells how far it got).
    bool Write(std::string_view data, std::size_t& done);
    // Closes the file; false when closing reported an error.
    bool Close();

  private:
    int fd_ = -1;
    std::string path_;
};

}  // namespace quillon
