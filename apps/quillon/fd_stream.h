#pragma once
// The run stream of "quillon run": a file descriptor written without a user-space buffer,
// so that a failing write (a full disk) is seen by the report where it happens and not
// only when the file is closed. Standard output ("--out -") is written in order and never
// sought: only the current position can be "sought", so a report that must be rewritten
// in place (second parse) is written to a file first.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/core/stream.h"

namespace quillon::app {

class FdStream : public TStream {
  public:
    // Standard output.
    FdStream();
    // Creates (empties) path; IsOpen() tells whether that worked.
    explicit FdStream(const std::string& path);
    FdStream(const FdStream&) = delete;
    FdStream& operator=(const FdStream&) = delete;
    ~FdStream() override;

    bool IsOpen() const { return fd_ >= 0; }
    std::size_t Read(char* buffer, std::size_t n) override;
    bool Write(std::string_view data) override;
    bool Seek(std::uint64_t position) override;
    std::uint64_t Position() const override { return position_; }
    std::uint64_t Size() const override;
    bool Truncate(std::uint64_t size) override;
    // Closes a file (not standard output); false when closing reported an error.
    bool Close();

  private:
    int fd_ = -1;
    bool owned_ = false;
    bool seekable_ = false;
    std::uint64_t position_ = 0;
};

}  // namespace quillon::app
